// The reassessment lists from the command line:
//
//   vantrel report done|scheduled --from DD/MM/AAAA --to DD/MM/AAAA [--evaluator MATRICULA]
//                  [--synthetic] --pdf ARQUIVO
//       "Séries Feitas" (done) or "Séries Agendadas" (scheduled) of the period in PDF;
//       --synthetic (done only) lists one line per day, booking and member
//
// 0 on success; 1 when the period is refused ("Dado INCORRETO !", "Intervalo Inválido !"),
// nothing is found, a database cannot be read or the file cannot be written (the reason on
// stderr); 2 for a wrong call (with the usage).
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// The lists the command knows: "done" and "scheduled".
bool isReassessmentList(const QString& name);

const CommandSyntax& reassessmentReportCommand();
int runReassessmentReportCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
