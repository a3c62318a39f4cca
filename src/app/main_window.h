// TFRMSEPRINCIPAL: the frame in which every function runs as a child window. It owns the
// session's standing connections, builds the menu and the shortcut bar, guards the entries by the
// user's permission flags, shows user, banner, date and time in its status bar and watches
// the workout database once a second.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <functional>

#include "app/shell_logic.h"

class ChildWindow;
class Session;
struct MenuEntry;
class QAction;
class QLabel;
class QMdiArea;
class QToolButton;

class TFRMSEPRINCIPAL : public QMainWindow {
  Q_OBJECT

 public:
  using ChildFactory = std::function<ChildWindow*()>;
  using ModalRunner = std::function<void()>;  // creates, shows modally and frees a window

  explicit TFRMSEPRINCIPAL(Session& session, QWidget* parent = nullptr);
  ~TFRMSEPRINCIPAL() override;

  // The start-up steps of a shown main window: settings, then the two connections. False
  // when a connection failed (the user has been told and the program must end).
  bool start();

  // What an entry of the menu opens. Entries without a window stay disabled.
  void setChildWindow(const QString& entry, ChildFactory factory);
  void setModalWindow(const QString& entry, ModalRunner runner);
  void setShortcutWindow(const QString& button, ModalRunner runner);
  // The absent-member test the timer runs while the program works beside the gym-management
  // program.
  void setAbsentTest(std::function<void()> test) { absentTest_ = std::move(test); }

  // Hides the entries the settings switch off (muscle groups; members and staff kept by the
  // gym-management program). Also run after the settings change.
  void applyMenuSettings();

  QAction* entry(const QString& objectName) const;
  QToolButton* shortcut(const QString& objectName) const;
  QLabel* statusPanel(int panel) const;
  QMdiArea* mdiArea() const { return mdiArea_; }
  Session& session() const { return session_; }
  QTimer* timer() { return &Timer1; }
  int exitStep() const { return exit_.step(); }

  // Chooses an entry as the user would (tests and the shortcut bar use this too).
  void openEntry(const QString& objectName);
  // One tick of the one-second timer.
  void tick();
  // The "Sair" entry.
  void requestExit();
  // Ends the program once the window that asked for it has closed (after a restore the program
  // is started again on the restored database).
  void endProgram() { ending_ = true; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void buildShortcutBar();
  void buildStatusBar();
  void openChild(const MenuEntry& def);
  void openModal(const MenuEntry& def);
  QToolButton* absencesButton() const;
  void takeEntry(QAction* action);
  void giveBackEntry(const QString& objectName);
  void reportLostDatabase();
  QString bannerText() const;

  Session& session_;
  QMdiArea* mdiArea_ = nullptr;
  QStyle* childFrameStyle_ = nullptr;  // the frames' style, owned by the window
  QTimer Timer1;
  QHash<QString, QAction*> entries_;
  QHash<QString, QToolButton*> shortcuts_;
  QHash<QString, ChildFactory> childFactories_;
  QHash<QString, ModalRunner> modalRunners_;
  QLabel* panels_[4] = {};
  QString banner_;
  ExitSequence exit_;
  std::function<void()> absentTest_;
  bool ending_ = false;
};

// The one main window while it exists (nullptr otherwise).
TFRMSEPRINCIPAL* mainWindow();
