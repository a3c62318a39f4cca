#include "prescription/history_store.h"

#include <QSqlQuery>
#include <stdexcept>

#include "base/messages.h"
#include "data/sql.h"

namespace {

// Thrown inside the transaction when the workout is gone: the transaction rolls back.
struct WorkoutGone : std::runtime_error {
  WorkoutGone() : std::runtime_error("treino não está mais gravado") {}
};

}  // namespace

QList<DatedWorkout> datedWorkouts(const QSqlDatabase& workoutDb, const QString& matricula) {
  QSqlQuery query = runSql(workoutDb,
                           QStringLiteral("SELECT DISTINCT DATA, TREINO FROM TREINO WHERE "
                                          "MATRICULA = ? ORDER BY DATA DESC, TREINO"),
                           {matricula});
  QList<DatedWorkout> list;
  while (query.next()) list << DatedWorkout{query.value(0).toDate(), query.value(1).toString()};
  return list;
}

Outcome deleteDatedWorkout(const QSqlDatabase& workoutDb, const QString& matricula,
                           const DatedWorkout& workout) {
  const QString banco = QStringLiteral("Banco de Dados");
  const QVariantList letterOfDay{matricula, workout.letter, workout.data};
  bool gone = false;
  const Outcome deleted = writeInTransaction(workoutDb, banco, [&] {
    // The same turns the saves of these blocks take, in one order, so a save of the day's
    // workout never lands half before and half after the deletion.
    lockForNumbering(workoutDb, QStringLiteral("Treino"));
    const bool letterA = workout.letter == QStringLiteral("A");
    if (letterA) lockForNumbering(workoutDb, QStringLiteral("Aerobica"));
    lockForNumbering(workoutDb, QStringLiteral("Alongamento"));
    if (letterA)
      runSql(workoutDb, QStringLiteral("DELETE FROM AEROBICA WHERE MATRICULA = ? AND DATA = ?"),
             {matricula, workout.data});
    const QSqlQuery strength = runSql(
        workoutDb,
        QStringLiteral("DELETE FROM TREINO WHERE MATRICULA = ? AND TREINO = ? AND DATA = ?"),
        letterOfDay);
    if (strength.numRowsAffected() <= 0) {
      gone = true;
      throw WorkoutGone{};
    }
    runSql(workoutDb,
           QStringLiteral("DELETE FROM ALONGAMENTO WHERE MATRICULA = ? AND TREINO = ? AND DATA = ?"),
           letterOfDay);
    runSql(workoutDb,
           QStringLiteral("DELETE FROM Agendado WHERE MATRICULA = ? AND TREINO = ? AND DATA = ?"),
           letterOfDay);
  });
  if (gone)
    return Failure{Msg::NenhumResultadoEncontrado, QStringLiteral("Treino"),
                   QStringLiteral("Histórico de séries: o treino %1 de %2 de %3 não está mais "
                                  "gravado")
                       .arg(workout.letter, workout.data.toString(QStringLiteral("dd/MM/yyyy")),
                            matricula)};
  return deleted;
}
