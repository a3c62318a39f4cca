// Where the windows read members, their photos and staff: the workout database when the
// program runs alone, the gym-management database beside its program (its active-members
// table when the settings say so).
#pragma once

#include <QString>
#include <memory>

#include "base/failure.h"
#include "data/connection.h"
#include "data/settings_record.h"

struct PeopleTables {
  DataSource source;
  QString members;  // "Alunos", "ALUNOS" or "ALUNOSATIVOS"
  QString photos;   // "FotosAlunos"
  QString staff;    // "Funcionarios"
};

PeopleTables peopleTables(bool membersKeptHere, bool activeMembersOnly);
PeopleTables peopleTables(const QString& pathExercicio, const QString& alunosAtivos);
PeopleTables peopleTables(const Settings& settings);

// Opens a private connection to the database holding the people. When it cannot be opened,
// the gym-management database's unavailability text for that database, or "Abertura de
// tabela !" for the workout one.
Result<std::unique_ptr<Connection>> openPeopleConnection(const PeopleTables& tables,
                                                         const QString& detail);

// That `source` cannot be reached, in the words used for that database; `cause` goes to the log.
Failure peopleUnavailable(DataSource source, const QString& detail,
                          const QString& cause = QString());
// A people's table that a list cannot open, in the words of the lists that open it: "Abertura
// de tabela !", after the unavailability text of the gym-management database when the people
// are kept there. `cause` goes to the log.
Failure peopleTableUnavailable(const PeopleTables& tables, const QString& detail,
                               const QString& cause = QString());
// For windows: tells the user so.
void reportUnavailable(DataSource source, const QString& detail);
