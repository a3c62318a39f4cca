// `vantrel backup`, `vantrel restore` and `vantrel purge`: the workout database's backups, its
// restore and the purge of old series, without a window.
//
//   vantrel backup [--copy-to PASTA]
//   vantrel restore ARQUIVO
//   vantrel purge --year AAAA
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Each prints what it did on `out`; refusals and failures go to the installed prompter
// (stderr on the command line). 0 when done, 1 when not, 2 for wrong arguments.
const CommandSyntax& backupCommand();
const CommandSyntax& restoreCommand();
const CommandSyntax& purgeCommand();
int runBackupCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
int runRestoreCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
int runPurgeCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
