// Storing the blocks of a member's series: the strength workout of a letter, the aerobic block
// and the stretching choice of a letter. Each save is one transaction, so the member keeps the
// old block or gets the new one whole, whatever happens in between; a failure rolls back and
// says "Gravando na tabela !" with the table that failed. Nothing is overwritten across days:
// every save writes rows dated the day of the save, and a second save on the same day replaces
// (strength) or edits (aerobic, stretching) that day's rows.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

#include "base/failure.h"
#include "series/series_rules.h"
#include "series/workout_model.h"

// A strength workout as the editing area leaves it.
struct WorkoutSave {
  QString matricula;
  QString letter;
  QString professor;  // the prescribing instructor's registration number
  QString usuario;    // the user's code, for an assembly booked by the save itself
  QDateTime moment;   // the day of the save and the time of a booked assembly
  QDate changeDate;   // Data_Reavaliacao; a save with an invalid one fails
  WeekdayBoxes boxes;
  QList<WorkoutRow> rows;  // in position order
};

// A row is stored only when something was filled in: sets, repetitions, load, remark or rest.
bool rowHasContent(const WorkoutRow& row);
// The weekday flags a save stores: ticked and not locked by the member's other workouts.
WeekdayFlags chosenDays(const WeekdayBoxes& boxes);

// Replaces the member's rows of the letter dated today with the rows that have content,
// numbered 1, 2, 3 ... in their order, and marks the pending assembly of the letter as done
// (or books one done today). Returns how many rows were stored, or what failed.
Result<int> saveWorkout(const QSqlDatabase& workoutDb, const WorkoutSave& save);

// One aerobic exercise of the catalogue with the values prescribed for it.
struct AerobicRow {
  QString code;
  QString descricao;
  QString aparelho;
  qint16 duracao = 0;  // minutes
  double velocidade = 0;
  double nivel = 0;  // difficulty level
  // A row left at 0, 0, 0 is not prescribed.
  bool prescribed() const { return duracao != 0 || velocidade != 0 || nivel != 0; }
};

// The aerobic exercises of the catalogue, by name, all at 0. Throws SqlError.
QList<AerobicRow> aerobicCatalogue(const QSqlDatabase& workoutDb);
// Copies the member's current aerobic block (the rows of the latest date) into the catalogue
// rows of the same exercise; rows of exercises no longer aerobic are skipped. Returns the
// block's weekdays, or nothing when the member has no aerobic block. Throws SqlError.
std::optional<WeekdayFlags> loadCurrentAerobic(const QSqlDatabase& workoutDb,
                                               const QString& matricula, QList<AerobicRow>& rows);
// Writes today's aerobic rows: a prescribed exercise gets today's row (added or edited), one
// left at 0 loses it. Fails with "Gravando na tabela !" ("Aerobica").
Outcome saveAerobic(const QSqlDatabase& workoutDb, const QString& matricula,
                    const QString& professor, const QDate& today, const WeekdayFlags& days,
                    const QList<AerobicRow>& rows);

inline constexpr int kStretchColumns = 23;
// The stretching choice of a workout letter: the ticked stretches and a remark.
struct StretchChoice {
  QString obs;
  std::array<bool, kStretchColumns> stretches{};
  bool operator==(const StretchChoice&) const = default;
};
inline constexpr int kStretchObsLength = 830;

// The current stretching choice of the member's letter (the row of the latest date) and its
// date, or nothing. Throws SqlError.
std::optional<std::pair<StretchChoice, QDate>> currentStretching(const QSqlDatabase& workoutDb,
                                                                 const QString& matricula,
                                                                 const QString& letter);
// Stores the choice dated today: the first save of the day adds a row, later ones edit it.
// Fails with "Gravando na tabela !" ("Alongamento").
Outcome saveStretching(const QSqlDatabase& workoutDb, const QString& matricula,
                       const QString& letter, const QDate& today, const StretchChoice& choice);

// The remark memo takes no key once it holds this many lines (four lines and the break after
// the fourth); the Delete key still removes text.
inline constexpr int kStretchObsMaxLines = 5;
bool memoTakesKeys(const QString& text);
