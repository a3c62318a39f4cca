// How the member lists (expired series, absent members, reassessments) read the people they
// print: a member's row in the people's table, and what they print for a member or an
// instructor that table no longer has.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// One column (NOME, EMAIL) of the member's row in the people's `table`; nothing when the table
// has no such member. Throws SqlError when the table cannot be read.
std::optional<QString> memberColumn(const QSqlDatabase& peopleDb, const QString& table,
                                    const QString& column, const QString& matricula);

// What stands for the name of a member the people's table no longer has: "Excluido" when the
// program runs alone (the member was deleted here), "Inativo" beside the gym-management program.
QString missingMemberName(bool membersKeptHere);

// The name of the staff member `registration` in `staffTable`; "Excluído" when there is none.
// Throws SqlError when the table cannot be read.
QString staffName(const QSqlDatabase& peopleDb, const QString& staffTable,
                  const QString& registration);
