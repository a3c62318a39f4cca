// Members and staff as the registry windows keep them: a person row keyed by MATRICULA with
// one photo row beside it, written and deleted together.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <optional>

#include "base/field_error.h"
#include "base/typed_date.h"

// Column -> text as typed (dates as "dd/mm/yyyy", blank for none).
using PersonForm = QHash<QString, QString>;

struct PersonTable {
  QString table;       // "Alunos", "Funcionarios"
  QString photoTable;  // "FotosAlunos", "FotosFuncionarios"
  QStringList texts;   // text columns, MATRICULA excluded
  QStringList dates;
  QStringList dateTimes;
};

// A registration number left-padded with "0" to ten characters.
QString padMatricula(const QString& matricula);

// One more than the highest number stored in `table`, ten digits; "0000000001" for an empty
// table. nullopt when the highest stored is not a number. Throws SqlError.
std::optional<QString> nextMatricula(const QSqlDatabase& db, const QString& table);

PersonForm personFromRecord(const PersonTable& table, const QSqlRecord& record);

// The person row and its photo row in one transaction (inserting or changing). A failure
// rolls both back and names the table that failed; false then.
bool savePerson(const QSqlDatabase& db, const PersonTable& table, const PersonForm& form,
                const QVariant& photo, bool inserting);

// Deletes the person and its photo row in one transaction; false (and the message) on failure.
bool deletePerson(const QSqlDatabase& db, const PersonTable& table, const QString& matricula);

// A column Confirm requires, the field that takes the focus and the detail of its refusal.
struct RequiredColumn {
  const char* column;
  const char* field;
  const char* detail;
};

// "Dado INCORRETO !" for the first of `required` left empty (or blank), in their order.
std::optional<FieldRefusal> firstMissing(const PersonForm& form,
                                         std::initializer_list<RequiredColumn> required);

// The checks of Enter in single fields, shared by the person windows.
std::optional<FieldError> checkMatriculaField(const QString& text);
std::optional<FieldError> checkRequiredField(const QString& text, const QString& label);
std::optional<FieldError> checkCepField(const QString& text,
                                        const QString& label = QStringLiteral("CEP"));
// Identidade and CPF: no blank inside, except the empty mask of nine blanks, a hyphen and two
// blanks that older records carry.
std::optional<FieldError> checkBlanksField(const QString& text, const QString& label);
