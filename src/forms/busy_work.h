// What a window shows while long work runs off its thread: the hourglass, a label saying what
// is being done and a bar that moves (or counts the steps when their number is known). While
// it is busy the window refuses to close and its buttons refuse a second start, so nothing is
// ever left halfway. Which controls come back afterwards is the window's own business.
#pragma once

#include <QString>
#include <functional>

class QLabel;
class QObject;
class QProgressBar;

class BusyWork {
 public:
  enum class Cursor { Hourglass, Unchanged };

  // Either widget may be null; `cursor` says whether the hourglass shows while busy.
  BusyWork(QLabel* label, QProgressBar* bar, Cursor cursor = Cursor::Hourglass);
  ~BusyWork();
  BusyWork(const BusyWork&) = delete;
  BusyWork& operator=(const BusyWork&) = delete;

  bool busy() const { return busy_; }

  // Busy from now on: the label shows `text` (when given; otherwise it shows with the first
  // stage) and the bar moves without an end, or counts up to `steps` when that is more than 0.
  void start(const QString& text = QString(), int steps = 0);
  // What the label says while the work goes on.
  void stage(const QString& text);
  // No longer busy: the hourglass goes, and the label and bar go back to how start() found
  // them (hidden, or shown as before).
  void stop();

  // What the work calls from its own thread to say where it is; the window shows it when its
  // thread gets to it. `window` must outlive the work (it refuses to close meanwhile).
  std::function<void(const QString& stage)> stageReporter(QObject* window);
  std::function<void(int done)> stepReporter(QObject* window);

 private:
  QLabel* label_;
  QProgressBar* bar_;
  Cursor cursor_;
  bool busy_ = false;
  bool labelWasHidden_ = false;
  bool barWasHidden_ = false;
};
