// Creating an installation: the link files of four embedded databases when there are none,
// every missing table of the databases the link files name, the settings row and the
// master user; optionally a small demonstration gym.
#pragma once

#include <QString>
#include <QStringList>

#include "registry/user_store.h"

struct InitReport {
  bool ok = true;
  bool changed = false;  // false: everything was already there, nothing was touched
  QStringList lines;     // what was done, in the program's words
  QString error;
};

// Runs `vantrel init [--demo]` on the installation folder. Existing data is never changed;
// the demonstration gym only goes into a workout database created by this very call.
InitReport runInit(bool demo);

// True when the installation folder already has a workout link file.
bool installationExists();
