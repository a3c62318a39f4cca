// The exercise catalogue (table Exercicios of the workout database): what the exercise window
// and its listing do that needs no widget. The window keeps its mode, its fields and the
// "Aeróbica" list; the checks return the refusal for the window to show, the writes and the
// opening check show their own messages.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "base/field_error.h"
#include "forms/code_range.h"
#include "registry/catalogue_edit.h"

inline const QString kExerciseTable = QStringLiteral("Exercicios");
inline constexpr int kExerciseCodeWidth = 3;
inline constexpr int kMachineWidth = 3;
inline constexpr int kExerciseDescriptionWidth = 35;
inline constexpr int kShortDescriptionWidth = 15;

inline const QString kTipoSim = QStringLiteral("Sim");
inline const QString kTipoNao = QStringLiteral("Não");

struct Exercise {
  QString code;
  QString machine;                     // Aparelho; may be empty
  QString description;                 // Descricao
  QString shortDescription;            // DESCRICAOABREVIADA, for 40-column lines
  QString tipo = QStringLiteral("N");  // "S": aerobic; "N": any other
  QString videoPath;                   // Caminho_Video; may be empty
  QString groupCode;                   // CODIGO_G; used only while muscle groups are on
};

// --- Rules

// An exercise code as stored: a code of one or two characters is left-padded with "0" to three
// ("7" -> "007"). Surrounding blanks are dropped; empty stays empty; anything else is left as it
// is.
QString padExerciseCode(const QString& typed);

// Aparelho as stored: empty stays empty, digits become their integer value in three digits
// ("5" -> "005", "05" -> "005"). Nothing for a text that is not digits.
std::optional<QString> machineText(const QString& typed);

// Descriptions as stored: upper case, cut to their columns (35 and 15 characters).
QString exerciseDescriptionText(const QString& typed);
QString shortDescriptionText(const QString& typed);

// Tipo both ways: the "Aeróbica" list shows "Sim" for a stored value beginning with "S" and
// "Não" for anything else (a new exercise included); "Sim" is stored as "S", anything else "N".
QString tipoShown(const QString& stored);
QString tipoStored(const QString& shown);

// Only the setting's value "Sim" switches the muscle-group handling on.
bool muscleGroupsOn(const QString& groupSetting);

// The listing's order of exercise codes: as text (codes are three digits).
bool exerciseCodeSortsBefore(const QString& a, const QString& b);

// The listing's range rules for exercises (see code_range.h).
const CodeCatalogue& exerciseCatalogue();

// --- Opening

// ABRE_TABELAS's checks: Exercicios and GrupamentoMuscular must be readable ("Abertura de
// tabela !" with the table's name), and with muscle groups on at least one group must exist
// ("Tabela vazia !" / "GrupamentoMuscular"). A failure closes the window.
Outcome exerciseTablesUsable(const QSqlDatabase& db, const QString& groupSetting);

// --- Enter in the window's fields (the window writes back the padded values when accepted)

// DBEDTCODIGO: empty or not digits gives "Código INCORRETO !"; a code that, padded, is taken
// gives "Código já Cadastrado !" (cleared).
std::optional<FieldError> checkExerciseCodeField(const QSqlDatabase& db, const QString& text);

// DBEDTAPARELHO: empty is allowed; a text that is not up to three digits gives "Dado INCORRETO !"
// / "Aparelho" (the field takes digits only, so only a pasted text gets here).
std::optional<FieldError> checkMachineField(const QString& text);

// DBEDTDESCRICAO, and the description tested again on Enter in "Descrição 40 colunas" and
// "Caminho de Video": empty gives "Dado INCORRETO !" / "Descrição".
std::optional<FieldError> checkExerciseDescriptionField(const QString& description);

// DBEDTCODIGO_G: empty gives "Código INCORRETO !"; a code that, padded, names no group gives
// "Código INCORRETO !" (cleared). Accepted: the group's description for the label.
std::optional<FieldError> checkExerciseGroupField(const QSqlDatabase& db, const QString& text,
                                                  QString* description = nullptr);

// --- Confirm: the checks, then the write

// The checks of Confirm in the window's order, on what the fields show (in Change and Delete
// mode the current row's, its code as stored): the code ("Código INCORRETO !"); in insert mode
// a taken code ("Código já Cadastrado !", cleared); Aparelho; the description ("Dado INCORRETO
// !" / "Descrição"); with muscle groups on, in every mode, the group ("Código INCORRETO !").
// On success the values are put in their stored form and `groupDescription` gets the group's
// description (groups on). A look-up that fails gives "Abertura de tabela !" with its table.
std::optional<ConfirmRefusal> checkExerciseForConfirm(const QSqlDatabase& db, EditMode mode,
                                                      Exercise& form, bool groupsOn,
                                                      QString* groupDescription = nullptr);

// Inserts, changes or deletes the exercise in one transaction; `storedCode` is the code of the
// row being changed or deleted as it stands in the table. The window sets `exercise.tipo` from
// the "Aeróbica" list (tipoStored). With groups off CODIGO_G is not written (a new row has
// none). A code taken meanwhile is Duplicate ("Código já Cadastrado !"); a change of a row
// that is gone is Failed. Deleting never asks whether series use the exercise.
ConfirmResult saveExercise(const QSqlDatabase& db, EditMode mode, const QString& storedCode,
                           const Exercise& exercise, bool groupsOn);

// --- Reading (throw SqlError)

// The exercise with exactly this code, or nothing.
std::optional<Exercise> findExercise(const QSqlDatabase& db, const QString& code);

enum class ListingOrder { Code, Description };

struct ExerciseListRow {
  QString code;
  QString description;
  QString tipo;  // as stored
};

// The exercises of the listing: codes from `range.from` to `range.to`, ordered by code or by
// description (equal descriptions by code).
QList<ExerciseListRow> listExercises(const QSqlDatabase& db, const CodeRange& range,
                                     ListingOrder order);
