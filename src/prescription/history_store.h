// A member's series history: every workout still stored, one per day and letter, and the
// deletion of one of them with what belongs to it (the aerobic block of the day for workout
// "A", the stretching choice and the booked assemblies of the letter and day).
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include "base/failure.h"

struct DatedWorkout {
  QDate data;
  QString letter;
  bool operator==(const DatedWorkout&) const = default;
};

// The member's dated workouts, newest day first (the letters of one day in order). Throws
// SqlError.
QList<DatedWorkout> datedWorkouts(const QSqlDatabase& workoutDb, const QString& matricula);

// Deletes the member's workout `workout` in one transaction: for "A" the aerobic rows of its day,
// then its strength rows, its stretching row and its booked assemblies of that day. It takes its
// turn with the saves of the same blocks; a workout no longer stored (deleted or never saved at
// another workstation meanwhile) deletes nothing and fails with "Nenhum resultado encontrado !"
// / "Treino"; any other failure rolls back with "Gravando na tabela !" / "Banco de Dados".
Outcome deleteDatedWorkout(const QSqlDatabase& workoutDb, const QString& matricula,
                           const DatedWorkout& workout);
