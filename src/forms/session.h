// The logged-in user's session as every window meets it: the users table of the guarded
// entries, the permission steps, putting the user back when windows close, and the hooks
// through which the shell shows the user in its status bar and asks another user to
// authorise an opening.
#pragma once

#include <QString>
#include <functional>

// Opens the main window's users table when it is not open; shows "Abertura de tabela !"
// ("Usuarios") and returns false when it cannot.
bool ABRE_USUARIOS();

// Called by every child window when it closes: one window fewer, and when none is left the
// logged-in user's name goes back to the first status panel. False when the users table
// cannot be opened (the caller then shows "Registro já alocado").
bool VOLTA_USUARIO();

// Where the shell writes its status panels (1: user, 2: banner, 3: date, 4: time). The main
// window installs its status bar here; without one nothing is written.
using StatusWriter = std::function<void(int panel, const QString& text)>;
void installStatusWriter(StatusWriter writer);
void writeStatusPanel(int panel, const QString& text);

// How another user authorises one opening (the re-authentication dialog). It may move
// TBLUSUARIOS to the authorising user's row, or close it after too many failures.
using Reauthenticator = std::function<void()>;
void installReauthenticator(Reauthenticator reauthenticate);

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
Permission checkPermission(const QString& column, const QString& deniedDetail = QString());

// Writes the logged-in user's name back into the first status panel (after someone else
// authorised an action). False when the users table cannot be read.
bool restoreUserPanel();

// The permission steps before a guarded window is created: open the users table, let another
// user authorise when the logged-in user's flag is "Não", refuse unless the flag of the row
// reached is "Sim", probe the settings when asked. True when the window may open.
bool authoriseEntry(const GuardedEntry& entry);

// What a window may ask of the frame without knowing it: choose a menu entry as the user
// would, and hide or show the entries the settings switch. The main window installs them
// while it exists.
struct ShellHooks {
  std::function<void(const QString& entry)> openEntry;
  std::function<void()> applyMenuSettings;
};
void installShellHooks(ShellHooks hooks);

// False (and nothing done) when no frame is there to open it.
bool openMenuEntry(const QString& entry);
void reapplyMenuSettings();
