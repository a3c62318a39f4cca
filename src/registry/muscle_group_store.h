// The muscle groups (table GrupamentoMuscular of the workout database): what the muscle-group
// window and its listing do that needs no widget. The window keeps its mode and its fields;
// these functions take the typed values, speak through MENSAGEM and say what to do next.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "registry/catalogue_edit.h"
#include "registry/code_range.h"

class QSqlQueryModel;

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

// --- Field entry (Enter in the window's fields)

// The code field: empty gives "Código INCORRETO !" and nothing (the window clears the field and
// keeps the focus); otherwise the padded code (the window fixes the field and moves on).
std::optional<QString> enterGroupCode(const QString& typed);

// The description field: empty (or only blanks) gives "Dado INCORRETO !" / "Descrição" and
// false (the window clears it); true moves the focus to Confirm.
bool enterGroupDescription(const QString& typed);

// --- Confirm

enum class GroupField { None, Code, Description };

struct GroupConfirm {
  ConfirmResult result = ConfirmResult::Refused;
  GroupField focus = GroupField::None;  // Refused: the field to focus
  MuscleGroup saved;                    // Written: the row as stored
};

// The window's Confirm in `mode`, on the values its fields show (in Change and Delete mode the
// code is the current row's, as stored). Checks the code (empty, or a new one longer than two
// characters: "Código INCORRETO !") and the description ("Dado INCORRETO !" / "Descrição"),
// then inserts, changes the description of, or deletes the group in one transaction. A taken code
// on insert gives Duplicate: the window cancels and starts a new insert with the focus on the code.
// Deleting never asks whether exercises use the group.
GroupConfirm confirmGroup(const QSqlDatabase& db, EditMode mode, const MuscleGroup& typed);

// --- Reading (throw SqlError)

bool hasMuscleGroups(const QSqlDatabase& db);

// The description of the group with exactly this code, or nothing.
std::optional<QString> muscleGroupDescription(const QSqlDatabase& db, const QString& code);

// The groups of the listing: codes from `range.from` to `range.to`, ordered by code.
QList<MuscleGroup> listMuscleGroups(const QSqlDatabase& db, const CodeRange& range);

// Fills the window's grid: "Código", "Descrição", ordered by code. When the table cannot be
// read: "Abertura de tabela !" / "GrupamentoMuscular" and false (ABRE_TABELAS).
bool loadMuscleGroupGrid(QSqlQueryModel& model, const QSqlDatabase& db);
