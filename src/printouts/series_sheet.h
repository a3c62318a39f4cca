// The series sheet: a member's current workout of one letter printed on A4, portrait or
// landscape, from what is stored (the latest save of the letter), with the member header, the
// aerobic block before workout "A", the strength table and the stretching choice of the letter.
// Reading the databases and composing the report are kept apart so the composition can be
// checked without any database.
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariantMap>
#include <optional>

#include "printing/report.h"
#include "series/member_assessment.h"
#include "series/series_rules.h"
#include "series/series_save.h"

struct SheetStrengthRow {
  int ordem = 0;
  QString aparelho;
  QString exercicio;
  QString obs;
  QString series;
  QString repeticoes;
  QString peso;
  QString regulagem;
  int intervalo = 0;
  QString professor;
  QString codigo;  // the exercise's code, for what is shown of it besides its name
};

struct SheetAerobicRow {
  QString codigo;
  QString aparelho;
  QString exercicio;
  int duracao = 0;
  double velocidade = 0;
  double nivel = 0;
};

// What the assessment integration adds to the header; blank without it.
struct SeriesSheet {
  QString academia;
  QString letter;
  bool landscape = false;
  QString matricula;
  QString nome;
  QDate nascimento;
  QString professor;  // the instructor's name, or "Excluído"
  SheetAssessment assessment;

  QDate strengthDate;
  WeekdayFlags strengthDays{};
  QDate changeDate;
  QList<SheetStrengthRow> strength;

  QDate aerobicDate;
  WeekdayFlags aerobicDays{};
  QList<SheetAerobicRow> aerobic;  // workout "A" only

  std::optional<StretchChoice> stretching;

  bool printDays = true;        // ImprimeDiasSerie
  bool printStretches = true;   // Imp_Alongamento
  bool noReassessment = false;  // TEMPO_REAVALIACAO is 0: the change date is left blank
};

// The stretch pictures of the stretching section, in the band's layout units (a 96th of an
// inch): where picture number `index` (0 = the first one printed) of `count` printed ones goes,
// and where the remark starts.
QPointF stretchPictureAt(int index, const QList<int>& printed);
double stretchRemarkTop(const QList<int>& printed);
inline constexpr double kSheetUnitMm = 25.4 / 96;

// The message detail when the letter has no stored workout: "Nenhum TREINO 'C' Cadastrado".
QString noWorkoutDetail(const QString& letter);

// Reads the member's stored series of `letter` into `sheet` (strength, aerobic for "A",
// stretching). Throws SqlError.
void readSheetSeries(const QSqlDatabase& workoutDb, const QString& matricula, const QString& letter,
                     SeriesSheet& sheet);

// Everything the sheet needs, read from the installation's databases as the builder's print
// buttons do, or why it cannot be printed.
Result<SeriesSheet> prepareSeriesSheet(const QString& matricula, const QString& letter,
                                       bool landscape);

// The sheet as a report of the report layer.
Report seriesSheetReport(const SeriesSheet& sheet);
