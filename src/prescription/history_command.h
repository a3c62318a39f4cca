// `vantrel history`: a member's series history without a window.
//
//   vantrel history MATRICULA
//   vantrel history MATRICULA --print DD/MM/AAAA LETRA --pdf ARQUIVO
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Lists the member's dated workouts, newest first, one "dd/mm/yyyy LETRA" a line; with --print,
// writes the reprint of the workout LETRA of that day to ARQUIVO instead. What cannot be done
// ("Nenhum resultado encontrado !", "Nenhum TREINO 'C' Cadastrado") is told through the
// installed prompter (stderr on the command line). 0 on success, 1 when there is nothing to
// list or print or the file cannot be written, 2 for wrong arguments (with the usage on `err`).
const CommandSyntax& historyCommand();
int runHistoryCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
