// `vantrel publish`: the bulk publishing to the members' portal without a window.
//
//   vantrel publish --from DD/MM/AAAA --to DD/MM/AAAA
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Publishes every member whose series has a row dated within the period and prints a summary
// (members published, skipped for their CPF, rows written, rows removed). Refusals and failures
// go to the installed prompter (stderr on the command line). 0 when published, 1 when not, 2
// for wrong arguments (with the usage on `err`).
const CommandSyntax& publishCommand();
int runPublishCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
