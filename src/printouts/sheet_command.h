// `vantrel sheet`: a member's series sheet written to PDF without a window.
//
//   vantrel sheet MATRICULA LETRA [--landscape] (--pdf FILE | --email)
#pragma once

#include <QStringList>
#include <cstdio>
#include <functional>

#include "base/command_line.h"

// Reads the installation's databases as the builder's print buttons do and writes the sheet of
// the member's workout LETRA (A to E) to FILE. A sheet that cannot be printed ("Nenhum TREINO
// 'C' Cadastrado") is told through the installed prompter (stderr on the command line). 0 on
// success, 1 when there is nothing to print or the file cannot be written, 2 for wrong
// arguments (with the usage on `err`).
// With --email the sheet goes to the member's e-mail through `mailer` instead (true when sent;
// otherwise it told why).
using SheetMailer =
    std::function<bool(const QString& matricula, const QString& letter, bool landscape)>;
const CommandSyntax& sheetCommand();
int runSheetCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr,
                    const SheetMailer& mailer = {});
