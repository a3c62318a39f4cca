// The shape every child window of the main window shares: it opens its tables when first
// shown and closes itself when it cannot; when it closes it closes its tables, gives its
// menu entry back and puts the logged-in user back (VOLTA_USUARIO).
#pragma once

#include <QWidget>

class Session;

class ChildWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ChildWindow(Session& session, QWidget* parent = nullptr);

  Session& session() const { return session_; }

  // Closes the window together with the frame around it.
  void closeWindow();

  // Windows left only through their own "Sair" have no close box.
  virtual bool hasCloseBox() const { return true; }

  // The size the window opens with inside the main window's frame.
  void setPreferredSize(const QSize& size) { preferredSize_ = size; }
  QSize preferredSize() const { return preferredSize_; }

 signals:
  // Emitted once, when the window has closed (the main window re-enables its entry).
  void windowClosed();

 protected:
  // Opens the window's tables; false after telling the user which one failed.
  virtual bool ABRE_TABELAS() = 0;
  virtual void closeTables() {}

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

  Session& session_;

 private:
  bool opened_ = false;
  bool closed_ = false;
  QSize preferredSize_;
};
