// The series shown on screen at the gym floor instead of the 40-column receipt, when the gym
// has chosen so: what the receipt window prepares for the series window, read from the
// member's current series of one letter.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

#include "data/settings_record.h"
#include "printouts/history_sheet.h"

class QWidget;
class Session;

struct SeriesOnScreen {
  QString matricula;
  QString nome;
  QString professor;     // the instructor's name, or "Excluído"
  QString dataInicio;    // the workout's date, "02 / março / 2026"
  QString reavaliacao;   // the change date "dd/mm/yyyy", or "    /       /" without reassessment
  int tempoSerie = 60;   // seconds the window stays up (counted again after each video)
  DatedSeries series;    // the current series of the letter; the aerobic block with "A"
};

// Reads the member's current series of `letter` and its instructor's name (from `staff` on
// `peopleDb`). Throws SqlError; the series' strength rows are empty when the letter has none.
SeriesOnScreen readSeriesOnScreen(const QSqlDatabase& workoutDb, const QSqlDatabase& peopleDb,
                                  const QString& staff, const Settings& settings,
                                  const QString& matricula, const QString& nome,
                                  const QString& letter);

// How the receipt window shows a series on screen; the window that does it lives above the
// printouts and is handed over by whoever opens the receipt window.
using SeriesOnScreenOpener =
    std::function<void(Session& session, const SeriesOnScreen& series, QWidget* parent)>;
