// The member follow-up from the command line:
//
//   vantrel absent
//       the absent members (registration, name, phones, instructor), one per line
//   vantrel expired [--instructor MATRICULA] (--pdf ARQUIVO | --emails ARQUIVO)
//       the expired-series report in PDF, or the address file of the expired members
//
// 0 on success, 1 when a database cannot be read or the file cannot be written (the reason on
// stderr), 2 for a wrong call (with the usage).
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

const CommandSyntax& absentCommand();
int runAbsentCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);

const CommandSyntax& expiredCommand();
int runExpiredCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
