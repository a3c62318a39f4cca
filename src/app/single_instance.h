// One copy of the program per user and installation folder: a second start asks the first
// to bring its active window to the front, then ends without showing anything. The socket
// lives in a folder only the user can enter, and only a copy run by the same user is
// believed, so nobody else can keep the program from starting.
#pragma once

#include <QLocalServer>
#include <QObject>

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when another copy answered (it has been asked to come to the front).
  bool anotherIsRunning();
  // Starts listening for later copies; false when the name cannot be taken.
  bool listen();

  // The socket's full path.
  static QString serverName();

 signals:
  void raiseRequested();

 private:
  QLocalServer server_;
};

// Brings the program's active window (a modal dialog when one is up) to the front.
void raiseActiveWindow();
