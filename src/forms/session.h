// The logged-in user's session: who is working, the settings row, the standing connections
// to the workout and gym-management databases, the users table of the guarded entries, and
// what a window may ask of the frame around it. The program makes one when it starts and
// hands it to every window, job and command; nothing reaches it from anywhere else.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <memory>

#include "data/connection.h"
#include "data/settings_record.h"
#include "data/users_table.h"

// What a window may ask of the frame without knowing it. A session without a frame (commands,
// tests) does nothing for each of them.
struct ShellHooks {
  // Writes a status panel (1: user, 2: banner, 3: date, 4: time).
  std::function<void(int panel, const QString& text)> writeStatusPanel;
  // Lets another user authorise one opening (the re-authentication dialog). It may move the
  // users table to the authorising user's row, or close it after too many failures.
  std::function<void()> reauthenticate;
  // Chooses a menu entry as the user would.
  std::function<void(const QString& entry)> openEntry;
  // Hides or shows the entries the settings switch.
  std::function<void()> applyMenuSettings;
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The standing connections, opened when the program starts and closed when it ends (or
  // before a restore replaces the database under them).
  bool connect();
  void disconnect();
  Connection& workout() { return *workout_; }
  Connection& management() { return *management_; }
  QSqlDatabase workoutDatabase() const { return workout_->database(); }

  // A connection of the session's own, for a job that must not share the standing one (a
  // transaction of its own, a database the standing connections do not reach). Not opened.
  static std::unique_ptr<Connection> newConnection(DataSource source, const QString& purpose);

  // The registration of the user who logged in (GSTR_USUARIO follows it).
  const QString& user() const { return user_; }
  void setUser(const QString& code);

  // The settings row as last read: at start-up, at each login and when the configuration
  // window saves.
  const Settings& settings() const { return settings_; }
  // Reads the row again and keeps it; nothing (the last values kept) when it cannot be read.
  std::optional<Settings> rereadSettings();
  void setSettings(const Settings& settings) { settings_ = settings; }

  // The main window's users table (TBLUSUARIOS), read on the workout connection.
  UsersTable& TBLUSUARIOS() { return users_; }

  // The frame sets these while it exists.
  ShellHooks& shell() { return shell_; }
  void writeStatusPanel(int panel, const QString& text) const;
  void reauthenticate() const;
  // False (and nothing done) when no frame is there to open it.
  bool openMenuEntry(const QString& entry) const;
  void reapplyMenuSettings() const;

 private:
  std::unique_ptr<Connection> workout_;
  std::unique_ptr<Connection> management_;
  UsersTable users_;
  Settings settings_;
  QString user_;
  ShellHooks shell_;
};

// Opens the main window's users table when it is not open; shows "Abertura de tabela !"
// ("Usuarios") and returns false when it cannot.
bool ABRE_USUARIOS(Session& session);

// Called by every child window when it closes: one window fewer, and when none is left the
// logged-in user's name goes back to the first status panel. False when the users table
// cannot be opened (the caller then shows "Registro já alocado").
bool VOLTA_USUARIO(Session& session);

// A menu entry guarded by a permission column of the users table.
struct GuardedEntry {
  QString permissionColumn;    // e.g. "C_ALUNOS"
  QString deniedDetail;        // detail of "Usuário sem acesso !" (usually empty)
  bool probeSettings = false;  // the member and staff entries check the settings row too
};

enum class Permission { Granted, Refused, UsersUnavailable };

// Whether the logged-in user may do what `column` guards: when the flag is "Não" another user
// may authorise this once (the logged-in user stays the same); anything but "Sim" on the row
// reached is refused with "Usuário sem acesso !" (and `deniedDetail`). Leaves the users table
// open on that row, except after a refusal.
Permission checkPermission(Session& session, const QString& column,
                           const QString& deniedDetail = QString());

// Writes the logged-in user's name back into the first status panel (after someone else
// authorised an action). False when the users table cannot be read.
bool restoreUserPanel(Session& session);

// The permission steps before a guarded window is created: open the users table, let another
// user authorise when the logged-in user's flag is "Não", refuse unless the flag of the row
// reached is "Sim", probe the settings when asked. True when the window may open.
bool authoriseEntry(Session& session, const GuardedEntry& entry);
