// The reassessment lists: the series assemblies done in a period ("Séries Feitas") and the
// assemblies booked for a period ("Séries Agendadas"), for every evaluator or one, read from
// the bookings (Agendado). Each list is a report grouped by evaluator and then by day, with the
// count of each group, or the address file for the e-mail window.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

#include "base/failure.h"
#include "base/field_error.h"
#include "printing/report.h"
#include "registry/people_source.h"

enum class ReassessmentList {
  Done,       // assemblies whose DATA_FEITA falls in the period
  Scheduled,  // bookings whose DATA falls in the period, pending or done
};

// --- The period, as the two date fields give it.

enum class PeriodField { Initial, Final };

struct Period {
  QDate from;
  QDate to;
};

// A refused period: the field that is cleared and takes the focus, and what the user is told.
struct PeriodRefusal {
  PeriodField field;
  FieldError error;
};

// One date field read on Enter: the date, or "Dado INCORRETO !" with "Data inicial" or
// "Data final".
std::variant<QDate, PeriodRefusal> readPeriodDate(PeriodField field, const QString& text);
// Both fields read before a list is made: each date as above, then "Intervalo Inválido !"
// ("Data final Menor que Data inicial") on the final date when it lies before the initial one.
std::variant<Period, PeriodRefusal> readPeriod(const QString& initial, const QString& final);

// --- The selection.

struct ReassessmentQuery {
  ReassessmentList list = ReassessmentList::Done;
  Period period;
  std::optional<QString> evaluator;  // a registration; nothing for every evaluator
  bool synthetic = false;            // "Séries Feitas" only: one line per day, booking and member
};

struct ReassessmentRow {
  QString avaliador;  // the evaluator's registration
  QDate data;         // the booked day
  QDate dataFeita;    // the day the series was assembled; null while pending
  QString matricula;
  QString treino;         // empty in the synthetic list
  QString hora;           // "Séries Agendadas" only
  QString nome;           // filled by nameReassessments
  QString avaliadorNome;  // filled by nameReassessments
};

// The rows of the list in evaluator order, then by day (DATA_FEITA for the done list, DATA and
// HORA for the scheduled one). The synthetic done list has one row per done day, booked day,
// member and evaluator, whatever the letters.
Result<QList<ReassessmentRow>> selectReassessments(const QSqlDatabase& workoutDb,
                                                   const ReassessmentQuery& query);

// Names the rows: the member's name from the people's table ("Inativo" when the gym-management
// database no longer has the member, "Excluido" when the program runs alone and its own table
// has none); the evaluator's from the staff table, "Excluído" when gone.
Outcome nameReassessments(const QSqlDatabase& peopleDb, const PeopleTables& people,
                          QList<ReassessmentRow>& rows);

// The members' e-mail addresses for the address file: one per row that has one, in the rows'
// order, so a member listed twice is written twice (the e-mail window sends once to each).
Result<QStringList> reassessmentAddresses(const QSqlDatabase& peopleDb, const PeopleTables& people,
                                          const QList<ReassessmentRow>& rows);

// --- The report.

// The days between the booking and the assembly: positive when the series was assembled before
// the booked day, negative when after.
int daysAhead(const ReassessmentRow& row);

struct ReassessmentHeading {
  QString gym;          // GSTR_ACADEMIA
  QDateTime printedAt;  // "Data :" and "Hora :"
  Period period;
};

// "Séries Feitas" or "Séries Agendadas", A4 portrait: groups by evaluator and by day, each with
// its count, and the count of the period.
Report reassessmentReport(const ReassessmentQuery& query, const QList<ReassessmentRow>& rows,
                          const ReassessmentHeading& heading);

// The list's window caption and report title: "Séries Feitas", "Séries Agendadas".
QString reassessmentTitle(ReassessmentList list);
