// Members and staff as the registry windows keep them: a person row keyed by MATRICULA with
// one photo row beside it, written and deleted together.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <optional>

#include "base/failure.h"
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

// What an insert does with a number found taken inside its transaction: a number the window
// proposed gives way to the next free one; a number the user typed is refused with
// "Matrícula já Cadastrada !" and the form stays.
enum class TakenNumber { TakeNext, Refuse };

struct PersonSave {
  enum Outcome { Saved, NumberTaken, Failed } outcome;
  QString matricula;  // the number stored (another than the form's after TakeNext)
  Failure failure;    // what the user is told when not saved
};

// The person row and then its photo row in one transaction (inserting or changing). A
// failure rolls both back and names the table that failed ("Gravando na tabela !"); a change
// to a person deleted meanwhile is such a failure.
PersonSave savePerson(const QSqlDatabase& db, const PersonTable& table, const PersonForm& form,
                      const QVariant& photo, bool inserting,
                      TakenNumber taken = TakenNumber::Refuse);

// Deletes the person and its photo row in one transaction.
Outcome deletePerson(const QSqlDatabase& db, const PersonTable& table, const QString& matricula);

// A column Confirm requires, the field that takes the focus and the detail of its refusal.
struct RequiredColumn {
  const char* column;
  const char* field;
  const char* detail;
};

// "Dado INCORRETO !" for the first of `required` left empty (or blank), in their order.
std::optional<FieldRefusal> firstMissing(const PersonForm& form,
                                         std::initializer_list<RequiredColumn> required);

// "Data de Nascimento - Ano !" without its last words: the detail for a date that is not
// one (31/02), whose year may well be right.
QString withoutYearBlame(const QString& detail);

// The checks of Enter in single fields, shared by the person windows.
std::optional<FieldError> checkMatriculaField(const QString& text);
std::optional<FieldError> checkRequiredField(const QString& text, const QString& label);
std::optional<FieldError> checkCepField(const QString& text,
                                        const QString& label = QStringLiteral("CEP"));
// Identidade and CPF: no blank inside, except the empty mask of nine blanks, a hyphen and two
// blanks that older records carry.
std::optional<FieldError> checkBlanksField(const QString& text, const QString& label);
