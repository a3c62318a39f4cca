// What the main window does that can be said without a widget: reading the settings into
// the process-wide values, the exit steps, the banner and the connection probe. The
// permission steps and the user's session live with the window kit (forms/session.h).
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

class Session;

// Reads the settings row into the session and the process-wide values. False (and GBOL_CONTROLE_OK
// false, nothing shown) when the row cannot be read.
bool ABRE_CONTROLE(Session& session);

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
bool probeWorkoutDatabase(Session& session);
// Why the probe fails (for the log), or nothing when the database answers.
std::optional<QString> workoutProbeFailure(Session& session);

enum class Reconnection {
  Done,         // opened, and the probe answers again
  Unreachable,  // the database could not be opened (network, server, missing file)
  Damaged,      // it opens but does not answer the probe (the cause is in the log)
};

// One reconnection attempt of the workout connection from its link file.
Reconnection reconnectWorkoutDatabase(Session& session);

// Reconnects the workout connection, insisting (with the technical assistance message after
// every failed try) while it cannot be reached. The gym-management connection is not
// touched. False when the database opens but does not answer: trying again would never end,
// and the program must stop.
bool ReSetBanco(Session& session);
