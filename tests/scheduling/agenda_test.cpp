// The weekly agenda and its bookings: the weekday read from a day name in either language, the
// day as the calendars draw it, and booking, rebooking and cancelling on each provider, two
// workstations at once included.
#include <gtest/gtest.h>

#include <barrier>
#include <thread>

#include "base/globals.h"
#include "data/schema.h"
#include "data/sql.h"
#include "scheduling/agenda.h"
#include "scheduling/slot_choice.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QDate kMondayDate(2026, 12, 7);
const QDate kSundayDate(2026, 12, 13);
const QString kAna = QStringLiteral("0000000012");
const QString kBeto = QStringLiteral("0000000013");
const QString kEvaluator = QStringLiteral("0000000003");

QList<AgendaSlot> weeklyGrid() {
  // 08:00 has an evaluator on Monday only; 09:00 every weekday; 10:00 never on Monday.
  return {{QStringLiteral("08:00"), {kEvaluator, "", "", "", "", ""}},
          {QStringLiteral("09:00"), {kEvaluator, "0000000004", "0000000004", "0000000004",
                                     "0000000004", "0000000004"}},
          {QStringLiteral("10:00"), {"", "0000000004", "", "", "", ""}}};
}

Booking booking(const QString& matricula, const QString& hora, qint64 id = 1) {
  Booking b;
  b.id = id;
  b.matricula = matricula;
  b.hora = hora;
  return b;
}

QString plainCell(const Booking& b) {
  return bookedCell(b.matricula);
}

}  // namespace

TEST(AgendaWeekday, ShortDayNamesInPortugueseAndEnglishNameTheSameDay) {
  const struct {
    const char* name;
    std::optional<int> day;
  } cases[] = {{"DOM", 0}, {"sun", 0},  {"SEG", 1},  {"Mon", 1},  {"TER", 2},  {"TUE", 2},
               {"QUA", 3}, {"WED", 3},  {"QUI", 4},  {"THU", 4},  {"SEX", 5},  {"FRI", 5},
               {"SÁB", 6}, {"sáb", 6},  {"SAB", 6},  {"SAT", 6},  {"seg.", 1}, {"LUN", {}},
               {"", {}},   {"SEGUNDA", {}}};
  for (const auto& c : cases)
    EXPECT_EQ(weekdayOfShortName(QString::fromUtf8(c.name)), c.day) << c.name;

  for (const char* locale : {"pt_BR", "en_US", "fr_FR"}) {
    EXPECT_EQ(agendaWeekday(kMondayDate, QLocale(QString::fromLatin1(locale))), 1) << locale;
    EXPECT_EQ(agendaWeekday(kSundayDate, QLocale(QString::fromLatin1(locale))), 0) << locale;
    EXPECT_EQ(agendaWeekday(kSundayDate.addDays(-1), QLocale(QString::fromLatin1(locale))), 6)
        << locale;
  }
}

TEST(AgendaDay, AMondayShowsItsEvaluatorsAndBookingsASundayNothing) {
  QLocale::setDefault(QLocale(QStringLiteral("pt_BR")));
  const QList<Booking> bookings{booking(kAna, QStringLiteral("09:00"), 1),
                                booking(kBeto, QStringLiteral("09:00"), 2),
                                booking(kAna, QStringLiteral("07:15"), 3)};  // off the grid
  const DayGrid monday = dayGrid(weeklyGrid(), bookings, kMondayDate, plainCell);
  EXPECT_EQ(monday.heading, QStringLiteral("Segunda"));
  ASSERT_EQ(monday.hours.size(), 3);
  EXPECT_EQ(monday.hours[0].hora, QStringLiteral("08:00"));
  EXPECT_EQ(monday.hours[0].cell, kEvaluator);
  // Two members on one hour: the later booking read is the one shown.
  EXPECT_EQ(monday.hours[1].cell, QStringLiteral(" MT 0000000013"));
  EXPECT_EQ(monday.hours[2].cell, QString());
  EXPECT_EQ(slotState(monday.hours[0].cell), SlotState::Free);
  EXPECT_EQ(slotState(monday.hours[1].cell), SlotState::Booked);
  EXPECT_EQ(slotState(monday.hours[2].cell), SlotState::Empty);
  EXPECT_EQ(slotState(kChosenCell), SlotState::Chosen);

  const DayGrid sunday = dayGrid(weeklyGrid(), bookings, kSundayDate, plainCell);
  EXPECT_EQ(sunday.heading, QStringLiteral("Domingo"));
  ASSERT_EQ(sunday.hours.size(), 3);
  for (const DaySlot& slot : sunday.hours) EXPECT_EQ(slotState(slot.cell), SlotState::Empty);

  const DayGrid saturday = dayGrid(weeklyGrid(), {}, kSundayDate.addDays(-1), plainCell);
  EXPECT_EQ(saturday.heading, QStringLiteral("Sábado"));
  EXPECT_EQ(saturday.hours[1].cell, QStringLiteral("0000000004"));
  EXPECT_EQ(saturday.hours[0].cell, QString());
}

TEST(AgendaDay, TheDayViewNamesTheMemberWithinFortyCharacters) {
  EXPECT_EQ(bookedCell(kAna), QStringLiteral(" MT 0000000012"));
  EXPECT_EQ(bookedCell(kAna, QStringLiteral("ANA LIMA")),
            QStringLiteral(" MT 0000000012 - ANA LIMA"));
  const QString longName = QStringLiteral("MARIA APARECIDA DOS SANTOS FERREIRA");
  EXPECT_EQ(bookedCell(kAna, longName), QStringLiteral(" MT 0000000012 - MARIA APARECIDA DOS SAN"));
  EXPECT_EQ(bookedCell(kAna, longName).size(), 40);
}

class AgendaBookings : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    const SchemaReport report = createMissingTables(
        db_, connection_->dialect(),
        {*findTable(Database::Workout, QStringLiteral("Agenda")),
         *findTable(Database::Workout, QStringLiteral("Agendado"))});
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }
  void TearDown() override { testPrompter().clear(); }

  BookingRequest request(const QString& matricula, const QDate& day, const QString& hora,
                         const QString& treino = QStringLiteral("A")) {
    return {matricula, treino, day, hora, QStringLiteral("ANA PROF - ") + kEvaluator,
            QStringLiteral("02"), std::nullopt};
  }
  QList<Booking> all() {
    QList<QDate> days;
    QSqlQuery q = runSql(db_, QStringLiteral("SELECT DATA FROM Agendado GROUP BY DATA ORDER BY DATA"));
    while (q.next()) days << q.value(0).toDate();
    QList<Booking> list;
    for (const QDate& day : days) list << *bookingsOn(db_, day);
    return list;
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(AgendaBookings, ABookingIsPendingUntilDoneAndARebookingReplacesIt) {
  const QDate today = QDate::currentDate();
  ASSERT_TRUE(book(db_, request(kAna, today.addDays(7), QStringLiteral("09:00"))));
  std::optional<Booking> pending = *pendingBooking(db_, kAna, today);
  ASSERT_TRUE(pending);
  EXPECT_EQ(pending->data, today.addDays(7));
  EXPECT_EQ(pending->avaliador, kEvaluator);  // the registration at the end of the box's entry
  EXPECT_EQ(pending->usuario, QStringLiteral("02"));
  EXPECT_FALSE(*pendingBooking(db_, kBeto, today));
  // Not pending once the date has passed.
  EXPECT_FALSE(*pendingBooking(db_, kAna, today.addDays(8)));

  // Rebooking moves the member: the old row gives way to the new one.
  BookingRequest move = request(kAna, today.addDays(3), QStringLiteral("10:00"), "B");
  move.replaces = pending;
  ASSERT_TRUE(book(db_, move));
  QList<Booking> rows = all();
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].data, today.addDays(3));
  EXPECT_EQ(rows[0].hora, QStringLiteral("10:00"));
  EXPECT_EQ(rows[0].treino, QStringLiteral("B"));

  // A booking assembled meanwhile is never deleted by a rebooking.
  runSql(db_, QStringLiteral("UPDATE Agendado SET DATA_FEITA = ?"), {today});
  BookingRequest again = request(kAna, today.addDays(4), QStringLiteral("09:00"));
  again.replaces = rows[0];
  ASSERT_TRUE(book(db_, again));
  EXPECT_EQ(all().size(), 2);
}

TEST_P(AgendaBookings, AnHourAlreadyTakenIsRefusedAndAFailedWriteKeepsTheOldBooking) {
  const QDate day = QDate::currentDate().addDays(2);
  ASSERT_TRUE(book(db_, request(kAna, day, QStringLiteral("09:00"))));
  const Outcome taken = book(db_, request(kBeto, day, QStringLiteral("09:00")));
  ASSERT_FALSE(taken);
  EXPECT_EQ(taken.failure().text, QStringLiteral("Horário já agendado !"));
  // The member's own hour may be booked again in place.
  BookingRequest same = request(kAna, day, QStringLiteral("09:00"));
  same.replaces = all()[0];
  EXPECT_TRUE(book(db_, same));

  BookingRequest move = request(kAna, day, QStringLiteral("10:00"));
  move.replaces = all()[0];
  failWritesOf(db_, GetParam(), QStringLiteral("Agendado"));
  const Outcome failed = book(db_, move);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().text, QStringLiteral("Gravando na tabela !"));
  EXPECT_EQ(failed.failure().detail, QStringLiteral("Agendado"));
  const QList<Booking> rows = all();
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].hora, QStringLiteral("09:00"));
}

TEST_P(AgendaBookings, CancellingABookingGoneOrDoneElsewhereIsRefused) {
  const QDate day = QDate::currentDate();
  ASSERT_TRUE(book(db_, request(kAna, day, QStringLiteral("09:00"))));
  const Booking pending = **pendingBooking(db_, kAna, day);
  runSql(db_, QStringLiteral("UPDATE Agendado SET DATA_FEITA = ?"), {day});
  const Outcome done = cancelBooking(db_, pending);
  ASSERT_FALSE(done);
  EXPECT_EQ(done.failure().text, QStringLiteral("Gravando na tabela !"));
  EXPECT_EQ(all().size(), 1);

  runSql(db_, QStringLiteral("UPDATE Agendado SET DATA_FEITA = NULL"));
  EXPECT_TRUE(cancelBooking(db_, pending));
  EXPECT_TRUE(all().isEmpty());
  EXPECT_FALSE(cancelBooking(db_, pending));
}

TEST_P(AgendaBookings, TwoWorkstationsBookingOneHourAtOnceLeaveOneBooking) {
  const int trials = GetParam() == Provider::PostgreSQL ? 200 : 20;
  const QDate start = QDate::currentDate().addDays(1);
  std::barrier trial(2);
  QList<bool> booked[2];
  // Each workstation books its member on 09:00 of the same day, trial after trial, both
  // starting each trial together.
  auto workstation = [&](int n, const QString& member) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("estacao%1").arg(n));
    for (int t = 0; t < trials; ++t) {
      trial.arrive_and_wait();
      booked[n] << bool(book(own->database(), request(member, start.addDays(t), "09:00")));
    }
  };
  std::thread a(workstation, 0, kAna);
  std::thread b(workstation, 1, kBeto);
  a.join();
  b.join();
  for (int t = 0; t < trials; ++t) {
    EXPECT_EQ(bookingsOn(db_, start.addDays(t))->size(), 1) << "trial " << t;
    EXPECT_NE(booked[0][t], booked[1][t]) << "trial " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, AgendaBookings, testing::ValuesIn(testProviders()),
                         providerTestName);

TEST(AgendaChoice, AFreeHourIsChosenAndTheMarkFollowsTheRulesOfTheCalendar) {
  const QDate today = kMondayDate;
  QList<Booking> bookings{booking(kAna, QStringLiteral("09:00"))};
  int reads = 0;
  SlotChoice choice(
      [&](const QDate& day) -> Result<DayGrid> {
        ++reads;
        return dayGrid(weeklyGrid(), day == today ? bookings : QList<Booking>{}, day, plainCell);
      },
      today);
  ASSERT_TRUE(choice.refill());
  EXPECT_FALSE(choice.readyToBook());
  EXPECT_EQ(choice.readyToBook().failure().detail, QStringLiteral("\rAluno não foi agendado!"));

  // A booked hour and an hour without evaluator cannot be chosen.
  EXPECT_TRUE(choice.click(1));
  EXPECT_TRUE(choice.click(2));
  EXPECT_TRUE(choice.chosenHour().isEmpty());

  EXPECT_TRUE(choice.click(0));
  EXPECT_EQ(choice.chosenHour(), QStringLiteral("08:00"));
  EXPECT_EQ(choice.grid().hours[0].cell, kChosenCell);
  EXPECT_TRUE(choice.readyToBook());

  // A click on an empty cell elsewhere takes the mark away; the hour stays chosen.
  const int before = reads;
  EXPECT_TRUE(choice.click(2));
  EXPECT_EQ(reads, before + 1);
  EXPECT_EQ(choice.grid().hours[0].cell, kEvaluator);
  EXPECT_EQ(choice.chosenHour(), QStringLiteral("08:00"));

  // A date in the past goes back to today and forgets the hour; a later date shows its own day.
  const Outcome past = choice.setDate(today.addDays(-1));
  ASSERT_FALSE(past);
  EXPECT_EQ(past.failure().text, QStringLiteral("Dado INCORRETO !"));
  EXPECT_EQ(past.failure().detail, QStringLiteral("\rData de agendamento MENOR do que data ATUAL !"));
  EXPECT_EQ(choice.date(), today);
  EXPECT_TRUE(choice.chosenHour().isEmpty());
  ASSERT_TRUE(choice.setDate(today.addDays(7)));
  EXPECT_EQ(choice.grid().hours[1].cell, kEvaluator);  // 09:00 free next Monday
  EXPECT_TRUE(choice.click(1));
  EXPECT_EQ(choice.chosenHour(), QStringLiteral("09:00"));
}
