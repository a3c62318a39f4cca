// A dated workout printed again: any workout a member saved, as it was stored on its day, laid
// out on A4 with the member header, the aerobic block of the same day before workout "A", the
// strength table and the stretching choice of the letter and day. The same reading serves the
// series shown on screen at the gym floor, which is the member's current series.
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "base/failure.h"
#include "printing/report.h"
#include "printouts/series_sheet.h"
#include "series/series_rules.h"
#include "series/series_save.h"

// The rows are those of the current series sheet, read by day.
using DatedStrengthRow = SheetStrengthRow;
using DatedAerobicRow = SheetAerobicRow;

// One workout letter of a member as stored: strength rows with their day flags and change date,
// the aerobic block (letter "A" only) and the stretching choice.
struct DatedSeries {
  QString matricula;
  QString letter;
  QDate strengthDate;
  WeekdayFlags strengthDays{};
  QDate changeDate;
  QList<DatedStrengthRow> strength;  // by position
  QDate aerobicDate;
  WeekdayFlags aerobicDays{};
  QList<DatedAerobicRow> aerobic;
  std::optional<StretchChoice> stretching;
};

// The member's workout `letter` saved on `day`, with the aerobic block and the stretching row
// of that same day; without a day, the current one (each block at its own latest date). Throws
// SqlError.
DatedSeries readDatedSeries(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& letter, const std::optional<QDate>& day);

// A remark as the reprint shows it: the letters A to Z in lower case, everything else (accented
// capitals included) as typed.
QString remarkInLowerCase(const QString& obs);
// The exercise's cell: its name, and "    Obs: " with the remark when there is one.
QString exerciseWithRemark(const QString& exercicio, const QString& obs);

struct HistorySheet {
  QString academia;
  QString nome;
  QString professor;  // the instructor's name, or "Excluído"
  DatedSeries series;
  bool printDays = true;        // ImprimeDiasSerie
  bool printStretches = true;   // Imp_Alongamento
  bool noReassessment = false;  // TEMPO_REAVALIACAO is 0: the change date is left for the pen
};

// Everything the reprint of the member's workout `letter` of `day` needs, read from the
// installation's databases, or why it cannot be printed ("Dado INCORRETO !" / "Nenhum TREINO
// 'B' Cadastrado" when that day has no such workout).
Result<HistorySheet> prepareHistorySheet(const QString& matricula, const QString& letter,
                                         const QDate& day);

// The reprint as a report of the report layer.
Report historySheetReport(const HistorySheet& sheet);
