// What the series builder reads and writes in the databases: the instructors it offers, the
// member's stored workouts, the catalogue it picks from and the new order of a workout saved
// today. Reading functions throw SqlError; the window turns that into its messages.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "base/failure.h"
#include "data/paged_table_model.h"
#include "series/series_rules.h"
#include "series/workout_model.h"

// The texts the builder shows besides the shared messages.
namespace SeriesText {
inline const QString ProfessorOuAlunoNaoInformado =
    QStringLiteral("Professor ou Aluno não informado");
inline const QString ProfessorNaoInformado = QStringLiteral("Professor não informado");
inline const QString CpfOuEmail = QStringLiteral("CPF ou E-mail atualizar no cadastro.");
inline const QString TodosOsDias = QStringLiteral("Todos os dias já selecionados");
inline const QString NenhumDia = QStringLiteral("Nenhum dia marcado");
inline const QString ExercicioJaSelecionado = QStringLiteral("Exercício já selecionado ! ");
inline const QString DesejaApagarSerie = QStringLiteral("Deseja apagar está Série ?");
inline const QString ProblemaBancoInternet =
    QStringLiteral("Problema no Banco de Dados ou Problema na Internet!");
// Said by the assessment button until the assessment selection exists.
inline const QString AvaliacaoIndisponivel =
    QStringLiteral("Seleção de Avaliação Física ainda não disponível !");
inline const QString DesejaAlterarOrdem = QStringLiteral("Deseja alterar ordem dos exercícios?");
inline const QString DataTroca = QStringLiteral("Data troca");
inline const QString AtingiuLimite = QStringLiteral("Atingiu o limite Máximo");
inline const QString QuatroLinhas = QStringLiteral(" 4 linhas");
inline const QString NenhumExercicioComeca = QStringLiteral("Nenhum exercício começa com");
inline const QString SemVideo = QStringLiteral("Exercício sem vídeo cadastrado");
inline const QString Professor = QStringLiteral("Professor : ");
}  // namespace SeriesText

// The instructor filter: a staff row whose CARGO contains "PROF MUSC" and that has no
// dismissal date; when users are linked to staff (`linkedMatricula` given), only the row of
// that registration number.
bool instructorAccepted(const QString& cargo, const QVariant& dataDemissao,
                        const QString& matricula, const std::optional<QString>& linkedMatricula);

// The instructor list's entries, "MATRICULA - NOME", ordered by `orderColumn` ("MATRICULA" or
// "NOME").
QStringList instructorEntries(const QSqlDatabase& peopleDb, const QString& staffTable,
                              const QString& orderColumn,
                              const std::optional<QString>& linkedMatricula);

// The staff registration number linked to the user `userCode` in Usuarios (empty when none).
QString linkedStaffMatricula(const QSqlDatabase& workoutDb, const QString& userCode);

// The instructor entry to start on: the logged-in user's own staff entry when the list has it
// (a save must never credit another instructor by accident), else the first; -1 for an empty
// list.
int preferredInstructor(const QStringList& entries, const QString& userStaff);

// The name part of an instructor entry ("0000000003 - CARLOS" → "CARLOS").
QString instructorName(const QString& entry);

// The member's current workout of `letter`: the rows of its latest date, by position, each
// with its exercise's name and equipment from the catalogue (empty for an exercise the
// catalogue no longer has).
QList<WorkoutRow> currentWorkout(const QSqlDatabase& workoutDb, const QString& matricula,
                                 const QString& letter);
// What "Copiar de" brings from another member: the current workout of `letter`. Refused with
// "Nenhum TREINO 'X' Cadastrado" when there is none, and with "Exercício fora do cadastro !"
// (the codes) when one of its exercises left the catalogue: a copy never brings an exercise
// nobody could pick.
Result<QList<WorkoutRow>> workoutToCopy(const QSqlDatabase& workoutDb, const QString& matricula,
                                        const QString& letter);
// The rows of the member's workout of `letter` saved on `day`.
QList<WorkoutRow> workoutOfDay(const QSqlDatabase& workoutDb, const QString& matricula,
                               const QString& letter, const QDate& day);
// The day flags Dom .. Sab of a stored series row.
WeekdayFlags storedWeekdays(const QSqlRecord& row);

// The weekdays of the member's current workout of `letter` (its first row), or nothing when
// there is none.
std::optional<WeekdayFlags> storedDays(const QSqlDatabase& workoutDb, const QString& matricula,
                                       const QString& letter);

// Gives each stored row of the member's workout of `letter` saved on `day` the new order of
// the first scratch row with its exercise code; rows whose code is not there keep theirs.
// `table` is "Treino", or "Portal_Treino" with the gym's `cliente`. Runs inside the caller's
// transaction, after the workout's writers' turn is taken; throws SqlError, and WorkoutChanged
// when a scratch row's exercise is no longer among the stored rows (the workout was saved again
// at another workstation since the panel read it): then nothing is renumbered.
struct WorkoutChanged {};
void renumberStored(const QSqlDatabase& db, const QString& table, const QString& matricula,
                    const QString& letter, const QDate& day, const std::optional<int>& cliente,
                    const QList<WorkoutRow>& scratch);

// The picking list: the strength exercises ordered by name (`Descricao`, then `Codigo`), of one
// muscle group when `groupCode` is given, read a page at a time like every grid over a table.
// Not yet read: refresh() it. Its records hold Codigo, Descricao and Aparelho.
PagedTableModel* pickingModel(const QSqlDatabase& workoutDb, const Dialect& dialect,
                              const std::optional<QString>& groupCode, QObject* parent);

// The video of an exercise (Caminho_Video), or empty when it has none. Throws SqlError.
QString exerciseVideoPath(const QSqlDatabase& workoutDb, const QString& code);

// The muscle-group list's entries, "CODIGO - DESCRICAO", ordered by code.
QStringList muscleGroupEntries(const QSqlDatabase& workoutDb);

// The writes of the reorder panel's confirmation, once the new orders passed their checks:
// the member's rows of `letter` saved on `day` in Treino, in one transaction ("Gravando na
// tabela !" / "Treino" when it fails, and nothing more is written); then, when
// `portalCliente` is given, the same rows in Portal_Treino of the portal database, in a
// transaction of its own. What the portal refused is in `portalFailure`; the stored order
// stays either way. The reorder takes turns with the saves of the same workout, and a workout
// saved again meanwhile with other exercises is not renumbered: "Gravando na tabela !" says so.
Outcome writeNewOrder(const QSqlDatabase& workoutDb, const QString& matricula,
                      const QString& letter, const QDate& day, const QList<WorkoutRow>& scratch,
                      const std::optional<int>& portalCliente,
                      std::optional<Failure>* portalFailure = nullptr);

// AlunosAtivos of the assessment database's settings (Savcvar), on a connection opened and
// closed here; "Tamsel não está Ativo ..." when it cannot be read.
Result<QString> assessmentActiveMembers();
