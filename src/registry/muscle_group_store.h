// The muscle groups (table GrupamentoMuscular of the workout database): what the muscle-group
// window and its listing do that needs no widget. The window keeps its mode and its fields; the
// checks return the refusal for the window to show, the writes show their own messages.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "base/field_error.h"
#include "registry/catalogue_edit.h"
#include "forms/code_range.h"

inline const QString kMuscleGroupTable = QStringLiteral("GrupamentoMuscular");
inline constexpr int kGroupCodeWidth = 2;
inline constexpr int kGroupDescriptionWidth = 35;

struct MuscleGroup {
  QString code;
  QString description;
};

// --- Rules

// A group code as stored: upper case, a one-character code prefixed with "0" ("4" -> "04").
// Codes are not limited to digits. Surrounding blanks are dropped; empty stays empty; a longer
// code is left as it is (the window's field takes two characters).
QString padGroupCode(const QString& typed);

// A description as stored: upper case, at most 35 characters.
QString groupDescriptionText(const QString& typed);

// The listing's order of group codes: by integer value when both are numbers, otherwise as
// text (the order in which the listing query compares them).
bool groupCodeSortsBefore(const QString& a, const QString& b);

// The listing's range rules for muscle groups (see code_range.h).
const CodeCatalogue& muscleGroupCatalogue();

// --- Enter in the window's fields (the window pads the code with padGroupCode when accepted)

// DBEDTCODIGO: empty gives "Código INCORRETO !" (cleared).
std::optional<FieldError> checkGroupCodeField(const QString& text);

// DBEDTDESCRICAO: empty or only blanks gives "Dado INCORRETO !" / "Descrição" (cleared).
std::optional<FieldError> checkGroupDescriptionField(const QString& text);

// --- Confirm: the checks, then the write

// The checks of Confirm on what the fields show (in Change and Delete mode the current row's,
// its code as stored): an empty code, or a new one longer than two characters, gives "Código
// INCORRETO !" (DBEDTCODIGO); an empty description "Dado INCORRETO !" / "Descrição"
// (DBEDTDESCRICAO). On success a new code is padded and the description put in upper case.
std::optional<ConfirmRefusal> checkGroupForConfirm(EditMode mode, MuscleGroup& form);

// Inserts the group, changes its description, or deletes it, in one transaction. A taken code
// on insert is Duplicate ("Código já Cadastrado !"): the window cancels and starts a new insert
// with the focus on the code. Deleting never asks whether exercises use the group. A change of
// a row that is gone is Failed, never a silent success.
ConfirmResult saveGroup(const QSqlDatabase& db, EditMode mode, const MuscleGroup& group);

// --- Reading (throw SqlError)

bool hasMuscleGroups(const QSqlDatabase& db);

// The description of the group with exactly this code, or nothing.
std::optional<QString> muscleGroupDescription(const QSqlDatabase& db, const QString& code);

// The groups of the listing: codes from `range.from` to `range.to`, ordered by code.
QList<MuscleGroup> listMuscleGroups(const QSqlDatabase& db, const CodeRange& range);
