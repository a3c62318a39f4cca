// The people the agenda windows show: the instructors who assemble series (staff whose job
// contains "PROF MUSC"), as the boxes list them, and the members' names by registration.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/failure.h"
#include "registry/people_source.h"

struct Instructor {
  QString matricula;
  QString nome;
};

// Which instructors a window lists: everyone whose job says so, or only those still employed.
enum class Employment { Any, Current };

// The instructors in registration order.
Result<QList<Instructor>> agendaInstructors(const QSqlDatabase& peopleDb, const QString& staffTable,
                                            Employment employment);

// The series review's instructor box: "TODOS", then "registration - name" in registration order.
QStringList reviewInstructorEntries(const QList<Instructor>& instructors);
// The calendars' evaluator box: "name - registration", sorted.
QStringList evaluatorEntries(const QList<Instructor>& instructors);
// The evaluator entry that stands for the review box's entry ("0000000003 - ANA" gives
// "ANA - 0000000003"); nothing for "TODOS".
std::optional<QString> evaluatorEntryFor(const QString& reviewEntry);
// The registration at the end of an evaluator entry.
QString evaluatorOfEntry(const QString& evaluatorEntry);

// The names `table` gives `matriculas` (each read once); a registration the table does not have
// is left out. Fails with "Abertura de tabela !" and `detail`.
Result<QHash<QString, QString>> namesIn(const QSqlDatabase& db, const QString& table,
                                        const QStringList& matriculas, const QString& detail);
// The members' names for `matriculas`, from the member table.
Result<QHash<QString, QString>> memberNames(const QSqlDatabase& peopleDb, const PeopleTables& people,
                                            const QStringList& matriculas);
