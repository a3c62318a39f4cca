// The booking calendar: a date, an evaluator and a free hour of that date for one member's
// series assembly. TFRMCALENDARIO_AVALIA books a due series from the series review (its letter,
// the review's instructor as evaluator); TFRMCALENDARIOAGENDAR books any member from the
// scheduling window (letter "A", the first evaluator). Confirming replaces the member's pending
// booking, if any.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "scheduling/agenda.h"
#include "scheduling/slot_choice.h"

class DayPanel;
class QComboBox;
class QPushButton;
class Session;

enum class CalendarKind { SeriesReview, Scheduling };

// What the window that opens the calendar hands it.
struct CalendarBooking {
  CalendarKind kind = CalendarKind::Scheduling;
  QString matricula;
  QString treino;                   // the letter booked
  std::optional<Booking> replaces;  // the member's pending booking found before opening
  QStringList evaluators;           // "name - registration", sorted
  QString presetEvaluator;          // the entry chosen at opening; empty: the first one
};

class BookingCalendar : public QDialog {
  Q_OBJECT

 public:
  BookingCalendar(Session& session, CalendarBooking booking, QWidget* parent = nullptr);
  ~BookingCalendar() override;

  // True once a booking was written.
  bool booked() const { return booked_; }
  const SlotChoice& choice() const { return *choice_; }
  DayPanel* day() const { return day_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void dateClicked(const QDate& date);
  void hourClicked(int row);
  void BBNCONFIRMAClick();
  void redraw();

  Session& session_;
  CalendarBooking booking_;
  std::unique_ptr<SlotChoice> choice_;
  bool opened_ = false;
  bool booked_ = false;
  QComboBox* CBAVALIADOR = nullptr;
  DayPanel* day_ = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNCANCELA = nullptr;
};

// Opens the calendar modally; true when it booked. Tests put their own opener in its place.
using CalendarOpener = std::function<bool(Session&, const CalendarBooking&, QWidget*)>;
void setCalendarOpener(CalendarOpener opener);
bool openBookingCalendar(Session& session, const CalendarBooking& booking, QWidget* parent);

// The day as the calendars read it: the weekly grid and the bookings of `date` on `db`, each
// booked hour showing " MT " and the member's registration.
Result<DayGrid> bookedDay(const QSqlDatabase& db, const QDate& date);
