// The exercise catalogue (table Exercicios of the workout database): what the exercise window
// and its listing do that needs no widget. The window keeps its mode, its fields and the
// "Aeróbica" list; these functions take the typed values, speak through MENSAGEM and say what
// to do next.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "registry/catalogue_edit.h"
#include "registry/code_range.h"

class QSqlQueryModel;

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
// ("Tabela vazia !" / "GrupamentoMuscular"). False: the window closes itself.
bool exerciseTablesUsable(const QSqlDatabase& db, const QString& groupSetting);

// --- Field entry (Enter in the window's fields)

// The code: empty or not digits gives "Código INCORRETO !"; a taken code "Código já Cadastrado
// !". Both give nothing and the window clears the field and keeps the focus; otherwise the
// padded code, the field is fixed and the focus goes to Aparelho.
std::optional<QString> enterExerciseCode(const QSqlDatabase& db, const QString& typed);

// Aparelho: the stored form (empty allowed); a text that is not digits gives "Dado INCORRETO !"
// / "Aparelho" and nothing.
std::optional<QString> enterMachine(const QString& typed);

// Descrição (also tested again on Enter in "Descrição 40 colunas" and "Caminho de Video"):
// empty gives "Dado INCORRETO !" / "Descrição" and false.
bool enterExerciseDescription(const QString& description);

struct GroupEntry {
  bool ok = false;  // false: "Código INCORRETO !" was shown; the window clears the field
  QString code;
  QString description;  // for the label beside the field
};

// The muscle-group code: empty or unknown gives "Código INCORRETO !"; a one-character code is
// prefixed with "0".
GroupEntry enterExerciseGroup(const QSqlDatabase& db, const QString& typed);

// --- Confirm

enum class ExerciseField { None, Code, Machine, Description, Group };

struct ExerciseConfirm {
  ConfirmResult result = ConfirmResult::Refused;
  ExerciseField focus = ExerciseField::None;  // Refused or Duplicate: the field to focus
  bool clearField = false;                    // ...and whether to clear it first
  Exercise saved;                             // Written: the row as stored
  QString groupDescription;                   // for the group label, when a group was checked
};

// The window's Confirm in `mode` on what its fields show (in Change and Delete mode the code is
// the current row's, as stored), with `aerobicShown` the text of the "Aeróbica" list. Runs the
// checks in the window's order (code; in insert mode the taken code; Aparelho; description; with
// muscle groups on the group, in every mode) and then inserts, changes or deletes the row in one
// transaction. With groups off CODIGO_G is not written. Deleting never asks whether series use
// the exercise.
ExerciseConfirm confirmExercise(const QSqlDatabase& db, EditMode mode, const Exercise& typed,
                                bool groupsOn, const QString& aerobicShown);

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

// Fills the window's grid: "Código", "Aparelho", "Descrição", "40 Colunas", ordered by code.
// When the table cannot be read: "Abertura de tabela !" / "Exercicios" and false.
bool loadExerciseGrid(QSqlQueryModel& model, const QSqlDatabase& db);
