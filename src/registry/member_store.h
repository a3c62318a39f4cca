// The member registry without its window: numbering, the checks of a member as typed, the
// dates as typed, and the writes of the member row together with its photo row.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <optional>

#include "app/field_error.h"
#include "app/typed_date.h"

// A registration number left-padded with "0" to ten characters.
QString padMatricula(const QString& matricula);

// The number the next member gets when numbering is automatic: one more than the highest
// stored, "0000000001" for an empty table. nullopt when the highest stored is not a number.
// Throws SqlError when the table cannot be read.
std::optional<QString> nextMatricula(const QSqlDatabase& db, const QString& table);

// The member as the window's fields hold it. Dates are the typed texts.
struct MemberForm {
  QString matricula, nome, sexo, endereco, bairro, cidade, estado, cep, nascimento, identidade,
      cpf, telefone, telefoneCom, celular, radio, profissao, responsavel, cadastrado, saida, email,
      medica, funcional;
};

MemberForm memberFromRecord(const QSqlRecord& record);

// A refused field: the objectName of the field that takes the focus, and the message.
struct FieldRefusal {
  QString field;
  FieldError error;
};

// The checks of Enter in single fields.
std::optional<FieldError> checkMatriculaField(const QString& text);
std::optional<FieldError> checkRequiredField(const QString& text, const QString& label);
std::optional<FieldError> checkCepField(const QString& text);
// Identidade and CPF: no blank inside, except the empty mask of nine blanks, a hyphen and two
// blanks that older records carry.
std::optional<FieldError> checkBlanksField(const QString& text, const QString& label);

// The checks of Confirm, in order; the first that fails is returned. On success the birth
// date is written back as "dd/mm/yyyy" and the registration number padded to ten characters.
std::optional<FieldRefusal> checkMemberForConfirm(MemberForm& form);

// Stores the member and its photo row in one transaction (inserting or changing). A
// failure rolls both back and tells the user which table failed; false then.
bool saveMember(const QSqlDatabase& db, const MemberForm& form, const QVariant& photo,
                bool inserting);

// Deletes the member and its photo row in one transaction; false (and the message) on failure.
bool deleteMember(const QSqlDatabase& db, const QString& matricula);

// The 27 state abbreviations, in alphabetical order.
const QStringList& brazilianStates();
