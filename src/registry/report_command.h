// `vantrel report`: the catalogue listings written to PDF without a window.
//
//   vantrel report muscle-groups|exercises [--from CODE] [--to CODE]
//                  [--order code|description] --pdf FILE
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"


// Reads the installation's workout database and writes the listing of the range (both ends
// empty: the whole table) to FILE; a line saying so goes to `out`. The range is checked as the
// listing windows check it: a refused end ("Intervalo Inválido !", "Código não cadastrado !")
// goes to the installed prompter (stderr on the command line). 0 on success, 1 when the listing
// cannot be made or written, 2 for a missing or unknown option (with the usage on `err`).
const CommandSyntax& reportCommand();
int runReportCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
