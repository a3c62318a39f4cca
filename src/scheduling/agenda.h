// The evaluators' weekly agenda and the series assemblies booked on it.
//
// The weekly grid (`Agenda`) has one row per hour with the evaluator on duty at that hour on
// each weekday from Monday to Saturday; Sunday has no hours. A booking (`Agendado`) puts one
// member on one hour of one date; it is pending until the member's series of that letter is
// saved, which fills DATA_FEITA.
//
// The windows draw a day as a list of hours, each with what its cell shows: the evaluator on
// duty (a free hour), " MT " and the booked member, the hour just chosen, or nothing.
#pragma once

#include <QDate>
#include <QList>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "base/failure.h"
#include "base/weekdays.h"

// The weekday of `date` (0 Sunday … 6 Saturday, see base/weekdays.h).
int agendaWeekday(const QDate& date, const QLocale& locale = QLocale());
// The day's heading over the slot column: "Domingo", "Segunda" … "Sábado".
QString weekdayHeading(int weekday);

// One hour of the weekly grid: the evaluator's registration on Monday … Saturday (empty: no
// evaluator, no booking at that hour on that day).
struct AgendaSlot {
  QString hora;
  std::array<QString, 6> evaluators;
  // The evaluator on duty on `weekday` (0 Sunday … 6 Saturday); empty on Sunday.
  QString evaluatorOn(int weekday) const;
  bool operator==(const AgendaSlot&) const = default;
};

// AVALIADOR_SEGUNDA … AVALIADOR_SABADO, in weekday order.
const QStringList& agendaEvaluatorColumns();

// The weekly grid in hour order.
Result<QList<AgendaSlot>> readAgenda(const QSqlDatabase& db);

struct Booking {
  qint64 id = 0;
  QString matricula;
  QString treino;
  QDate data;
  QString hora;
  QString avaliador;
  QString usuario;
  QDate dataFeita;  // null while pending
  bool pending() const { return dataFeita.isNull(); }
};

// The bookings of `date`, in the order they were made.
Result<QList<Booking>> bookingsOn(const QSqlDatabase& db, const QDate& date);
// The member's pending booking as the booking windows look for it: dated `today` or later and
// not yet assembled; the earliest when there are several.
Result<std::optional<Booking>> pendingBooking(const QSqlDatabase& db, const QString& matricula,
                                              const QDate& today);

// A booking date before `today` is refused ("Dado INCORRETO !"): the calendars go back to today.
std::optional<Failure> pastDateRefused(const QDate& date, const QDate& today);

// What a slot cell holds.
inline const QString kChosenCell = QStringLiteral("A G E N D A D O");
inline const QString kBookedPrefix = QStringLiteral(" MT ");
enum class SlotState {
  Empty,   // no evaluator that day: nothing to choose
  Free,    // the evaluator's registration: white on green
  Booked,  // " MT " and the member: white on red
  Chosen,  // the hour just chosen: white on red
};
SlotState slotState(const QString& cell);

// A booked cell: " MT " and the registration, and the member's name when given (cut to 40).
QString bookedCell(const QString& matricula, const std::optional<QString>& nome = std::nullopt);

struct DaySlot {
  QString hora;
  QString cell;
};
struct DayGrid {
  QString heading;  // the weekday
  QList<DaySlot> hours;
};

// The day `date` as the calendars show it: every hour of the grid with that weekday's evaluator,
// then each booking of the day on its hour's cell (a later booking of the same hour overwrites
// an earlier one). On Sunday every cell is empty. `cellOf` writes a booking's cell.
DayGrid dayGrid(const QList<AgendaSlot>& agenda, const QList<Booking>& bookings, const QDate& date,
                const std::function<QString(const Booking&)>& cellOf);

// A booking about to be written. `replaces` is the member's pending booking found before the
// calendar opened: it gives way to the new one when it is still pending.
struct BookingRequest {
  QString matricula;
  QString treino;
  QDate data;
  QString hora;
  QString avaliador;
  QString usuario;
  std::optional<Booking> replaces;
};

// Books the member in one transaction: the pending booking it replaces is deleted and the new
// row written together, so a failure keeps the old booking. Bookings take turns, and an hour
// another workstation booked on that date meanwhile is refused ("Horário já agendado !").
Outcome book(const QSqlDatabase& db, const BookingRequest& request);

// Deletes the member's pending booking; refused when another workstation deleted it or the
// series was assembled meanwhile.
Outcome cancelBooking(const QSqlDatabase& db, const Booking& booking);
