// `vantrel receipt`: the 40-column receipt of a member's workout, printed as the receipt window
// prints it, without a window.
//
//   vantrel receipt MATRICULA NUMERO_DO_TREINO [--device CAMINHO]
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Prints the receipt of workout NUMERO (1 = A ... 5 = E) of the member on the configured
// printer, or sends the port's bytes to CAMINHO (no status check) with --device. Refusals
// ("Matrícula INCORRETA !", "Nenhum TREINO 'C' Cadastrado", a printer that is not ready) go to
// the installed prompter (stderr on the command line). 0 when printed, 1 when not, 2 for wrong
// arguments (with the usage on `err`).
const CommandSyntax& receiptCommand();
int runReceiptCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
