// The staff registry without its window: the table, the schooling codes, numbering and the
// checks of Confirm.
#pragma once

#include "registry/person_store.h"

// Funcionarios with FotosFuncionarios, every column the staff window writes.
const PersonTable& staffTable();

// The schooling codes "01" to "06" and the texts the list shows for them.
const QList<std::pair<QString, QString>>& schoolingLevels();
// The text of a code, or nullopt for a code not in the table.
std::optional<QString> schoolingText(const QString& code);
// The code of a text, or nullopt for a text not in the table.
std::optional<QString> schoolingCode(const QString& text);

// The number proposed for a new staff member: one more than the highest stored whenever the
// table has rows; for an empty table "1" when numbering is automatic, otherwise the number
// already selected (possibly none). nullopt when the highest stored is not a number.
std::optional<QString> newStaffNumber(const QSqlDatabase& db, int rows, bool sequential,
                                      const QString& selected);

// The checks of Confirm, in order; the first that fails is returned. On success the number is
// padded to ten characters.
std::optional<FieldRefusal> checkStaffForConfirm(PersonForm& form);
