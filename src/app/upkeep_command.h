// `vantrel upkeep`: the start-up upkeep of the workout database run from the command line.
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Opens the workout database named by the installation's link file, brings it up to date and
// checks its size, writing what was done to `out` and the program's messages to stderr (through
// the installed prompter). 0 when everything went well, 1 on any failure, 2 for a bad option.
const CommandSyntax& upkeepCommand();
int runUpkeepCommand(const QStringList& args, FILE* out = stdout);
