// TFRMCONSULTAAGENDADETREINOS, "Consulta Agenda Montagem de Séries": the assemblies booked on
// a day, today or later, each hour with its evaluator or the member booked on it. Nothing can
// be chosen or written here. Opened modally from the "Consulta Agenda de Séries" shortcut.
#pragma once

#include <QDate>

#include "scheduling/agenda.h"
#include "scheduling/agenda_dialog.h"

class DayPanel;
class QPushButton;
class Session;

class TFRMCONSULTAAGENDADETREINOS : public AgendaDialog {
  Q_OBJECT

 public:
  explicit TFRMCONSULTAAGENDADETREINOS(Session& session, QWidget* parent = nullptr);
  ~TFRMCONSULTAAGENDADETREINOS() override;

  DayPanel* day() const { return day_; }
  const QDate& date() const { return date_; }
  // As a click on `date` in the month calendar.
  void showDay(const QDate& date);

 protected:
  Outcome opened() override;

 private:
  Outcome fill();

  QDate date_;
  DayPanel* day_ = nullptr;
  QPushButton* BBNCANCELA = nullptr;
};

// The day as the day view shows it: each booked hour names the member (" MT 0000000012 - ANA
// LIMA", cut to 40), or gives the registration alone when the member table does not have it.
Result<DayGrid> namedDay(const QSqlDatabase& workoutDb, const AgendaSources& sources,
                         const QDate& date);
