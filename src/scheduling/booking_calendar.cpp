#include "scheduling/booking_calendar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "scheduling/agenda_people.h"
#include "scheduling/day_panel.h"

namespace {

CalendarOpener& calendarOpener() {
  static CalendarOpener opener;
  return opener;
}

}  // namespace

Result<DayGrid> bookedDay(const QSqlDatabase& db, const QDate& date) {
  const Result<QList<AgendaSlot>> agenda = readAgenda(db);
  if (!agenda) return agenda.failure();
  const Result<QList<Booking>> bookings = bookingsOn(db, date);
  if (!bookings) return bookings.failure();
  return dayGrid(*agenda, *bookings, date,
                 [](const Booking& b) { return bookedCell(b.matricula); });
}

void setCalendarOpener(CalendarOpener opener) {
  calendarOpener() = std::move(opener);
}

bool openBookingCalendar(Session& session, const CalendarBooking& booking, QWidget* parent) {
  if (calendarOpener()) return calendarOpener()(session, booking, parent);
  BookingCalendar calendar(session, booking, parent);
  calendar.exec();
  return calendar.booked();
}

BookingCalendar::BookingCalendar(Session& session, CalendarBooking booking, QWidget* parent)
    : QDialog(parent), session_(session), booking_(std::move(booking)) {
  setObjectName(booking_.kind == CalendarKind::SeriesReview
                    ? QStringLiteral("TFRMCALENDARIO_AVALIA")
                    : QStringLiteral("TFRMCALENDARIOAGENDAR"));
  setWindowTitle(QStringLiteral("Calendário"));
  setModal(true);
  const QSqlDatabase db = session_.workoutDatabase();
  choice_ = std::make_unique<SlotChoice>(
      [db](const QDate& date) { return bookedDay(db, date); }, QDate::currentDate());

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Avaliador"), this), 0, 0);
  CBAVALIADOR = new QComboBox(this);
  CBAVALIADOR->setObjectName(QStringLiteral("CBAVALIADOR"));
  chooseOnlyList(CBAVALIADOR);  // chosen from the list, never typed
  CBAVALIADOR->addItems(booking_.evaluators);
  const int preset = booking_.presetEvaluator.isEmpty()
                         ? 0
                         : int(booking_.evaluators.indexOf(booking_.presetEvaluator));
  CBAVALIADOR->setCurrentIndex(preset < 0 ? 0 : preset);
  layout->addWidget(CBAVALIADOR, 0, 1, 1, 3);
  day_ = new DayPanel(160, this);
  layout->addWidget(day_, 1, 0, 1, 4);
  BBNCONFIRMA = namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNCANCELA = namedButton(this, "BBNCANCELA", QStringLiteral("Cancela"), QStringLiteral("Cancela"));
  layout->addWidget(BBNCONFIRMA, 2, 2);
  layout->addWidget(BBNCANCELA, 2, 3);
  layout->setColumnStretch(1, 1);
  connect(day_, &DayPanel::dateClicked, this, &BookingCalendar::dateClicked);
  connect(day_, &DayPanel::hourClicked, this, &BookingCalendar::hourClicked);
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &BookingCalendar::BBNCONFIRMAClick);
  connect(BBNCANCELA, &QPushButton::clicked, this, &QDialog::reject);
  resize(620, 420);
}

BookingCalendar::~BookingCalendar() = default;

void BookingCalendar::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  const Result<QList<AgendaSlot>> agenda = readAgenda(session_.workoutDatabase());
  std::optional<Failure> failure;
  if (!agenda)
    failure = agenda.failure();
  else if (agenda->isEmpty())
    failure = Failure{Msg::GradeDaAgendaNaoMontada, {}, {}};
  else if (Outcome read = choice_->refill(); !read)
    failure = read.failure();
  if (failure) {
    tell(*failure);
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  redraw();
}

void BookingCalendar::redraw() {
  day_->showDate(choice_->date());
  day_->showGrid(choice_->grid());
}

void BookingCalendar::dateClicked(const QDate& date) {
  const Outcome set = choice_->setDate(date);
  redraw();
  set.okOrTell();
}

void BookingCalendar::hourClicked(int row) {
  choice_->click(row).okOrTell();
  day_->showGrid(choice_->grid());
}

void BookingCalendar::BBNCONFIRMAClick() {
  if (!choice_->readyToBook().okOrTell()) return;
  const BookingRequest request{booking_.matricula,
                               booking_.treino,
                               choice_->date(),
                               choice_->chosenHour(),
                               evaluatorOfEntry(CBAVALIADOR->currentText()),
                               session_.user(),
                               booking_.replaces};
  const Outcome written = book(session_.workoutDatabase(), request);
  if (!written && written.failure().text == Msg::HorarioJaAgendado) {
    // Another workstation took the hour: the day as it now stands, to choose again.
    tell(written.failure());
    choice_->setDate(choice_->date()).okOrTell();
    redraw();
    return;
  }
  booked_ = written.okOrTell();
  accept();
}
