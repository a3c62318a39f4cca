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
#include <memory>
#include <optional>

#include "base/command_line.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "registry/people_source.h"

// What a list command reads, opened first: the workout database, its settings row and the
// database of the people (its connection's failure told with `peopleDetail`). Nothing after
// saying what could not be opened.
struct ListSources {
  std::unique_ptr<Connection> workout;
  Settings settings;
  PeopleTables people{};
  std::unique_ptr<Connection> peopleDb;
};
std::optional<ListSources> openListSources(const QString& purpose, const QString& peopleDetail,
                                           FILE* err);

const CommandSyntax& absentCommand();
int runAbsentCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);

const CommandSyntax& expiredCommand();
int runExpiredCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
