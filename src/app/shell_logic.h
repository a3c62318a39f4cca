// What the main window does that can be said without a widget: reading the settings into
// the process-wide values, the permission steps of a guarded entry, putting the user back
// when windows close, the exit steps, the banner and the connection probe.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

// Reads the settings row into the process-wide values. False (and GBOL_CONTROLE_OK false,
// nothing shown) when the row cannot be read.
bool ABRE_CONTROLE();

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

// The exit entry: with windows open it first asks to close them, then asks to be sure.
class ExitSequence {
 public:
  // True when the main window should close now.
  bool request(int openWindows);
  int step() const { return step_; }

 private:
  int step_ = 0;  // 0, 1, 2; never goes back
};

// The banner scrolls by nine characters when it does not fit the space left in a window
// of `windowWidth` pixels.
QString rotateBanner(const QString& banner, int windowWidth);

// Opens and closes the probe table on the workout connection; false when the database is gone.
bool probeWorkoutDatabase();

// Reconnects the workout connection from its link file, insisting (with the technical
// assistance message after every failed try) until it succeeds. The gym-management
// connection is not touched.
void ReSetBanco();

// One reconnection attempt of the workout connection from its link file.
bool reconnectWorkoutDatabase();
