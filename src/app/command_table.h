// The subcommands of `vantrel`, one row each: what the program's usage says of it and what
// runs it. main() reads this table alone, to know a subcommand and to run it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "base/command_line.h"

struct Subcommand {
  const CommandSyntax& (*syntax)();
  int (*run)(const QStringList& args);  // exit status: 0 done, 1 failed, 2 wrong call
  const char* summary;                  // under its usage in the program's help; may be empty
};

const QList<Subcommand>& subcommands();
const Subcommand* findSubcommand(const QString& name);

// The program's usage: the window program, then every subcommand.
QString programUsage();

// `vantrel init [--demo]`.
const CommandSyntax& initCommand();
int runInitCommand(const QStringList& args);
