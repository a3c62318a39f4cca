// Group-class booking: the rules as tables of cases (the member's situation, the weekly limit,
// the week around a date, the class list's lines and typed times), and the bookings on each
// provider, receptionists racing for the last places included, with the attendance report.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <barrier>
#include <thread>

#include "base/globals.h"
#include "classes/attendance.h"
#include "classes/class_rules.h"
#include "classes/class_store.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/pdf_text.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

GroupClass spinning(int capacity = 10) {
  GroupClass c;
  c.codigo = QStringLiteral("07");
  c.descricao = QStringLiteral("SPINNING");
  c.atividade = QStringLiteral("03-CICLISMO");
  c.codigoAtividade = QStringLiteral("03");
  c.maximoAlunos = capacity;
  c.funcionario = QStringLiteral("CARLA");
  c.horaInicial = QTime(7, 0);
  c.horaFinal = QTime(8, 0);
  return c;
}

}  // namespace

TEST(ClassRules, TheMembersSituationWarnsButNeverRefuses) {
  const QDate day(2026, 3, 11);  // the 11th
  struct Case {
    const char* what;
    MemberStanding member;
    std::array<bool, 3> paid;  // previous, this, next month
    int situation;
  };
  const Case cases[] = {
      {"gympass, nothing else asked", {true, day, {}, false, {}, 0}, {false, false, false}, 1},
      {"frozen", {false, QDate(2026, 1, 1), {}, false, {}, 0}, {true, true, true}, 3},
      {"transfer still running", {false, {}, day.addDays(1), false, {}, 0}, {}, 1},
      {"transfer ended", {false, {}, day, false, {}, 0}, {true, true, true}, 4},
      {"scholarship without end", {false, {}, {}, true, {}, 0}, {}, 1},
      {"scholarship ended", {false, {}, {}, true, day, 0}, {}, 5},
      {"paid this month", {false, {}, {}, false, {}, 10}, {false, true, false}, 1},
      {"paid next month", {false, {}, {}, false, {}, 10}, {false, false, true}, 1},
      {"paid last month, due on the 10th", {false, {}, {}, false, {}, 10}, {true, false, false}, 2},
      {"paid last month, due on the 11th", {false, {}, {}, false, {}, 11}, {true, false, false}, 1},
      {"nothing paid", {false, {}, {}, false, {}, 31}, {false, false, false}, 2},
  };
  for (const Case& c : cases) {
    const int situation =
        memberSituation(c.member, day, [&](int offset) { return c.paid[size_t(offset + 1)]; });
    EXPECT_EQ(situation, c.situation) << c.what;
  }
  EXPECT_EQ(situationWarning(2), QStringLiteral("Aluno Inadimplente!"));
  EXPECT_EQ(situationWarning(1), QString());
}

TEST(ClassRules, TheWeeklyLimitAndTheWeekAroundADay) {
  const GroupDays mwf{false, true, false, true, false, true, false};
  const auto lookUp = [&](const QString& group) -> std::optional<GroupDays> {
    if (group == QStringLiteral("MWF")) return mwf;
    return std::nullopt;
  };
  EXPECT_EQ(allowedDays({"MWF", "", "XX", "", "", ""}, lookUp), 3);
  EXPECT_EQ(allowedDays({"MWF", "MWF", "", "", "", ""}, lookUp), 6);  // named twice counts twice
  EXPECT_EQ(allowedDays({"", "", "", "", "", ""}, lookUp), 0);

  const QStringList groups{"MWF", "", "", "", "", ""};
  const struct {
    int allowed;
    int booked;
    QString reminder;
    WeeklyLimit expected;
  } limits[] = {{3, 2, "ZZ", WeeklyLimit::Pass},      {3, 3, "ZZ", WeeklyLimit::Reached},
                {3, 4, "ZZ", WeeklyLimit::Pass},      {3, 2, "MWF", WeeklyLimit::Remind},
                {3, 2, "", WeeklyLimit::Remind},      {0, 5, "MWF", WeeklyLimit::Pass},
                {3, 0, "MWF", WeeklyLimit::Pass}};
  for (const auto& l : limits)
    EXPECT_EQ(weeklyLimit(l.allowed, l.booked, groups, l.reminder), l.expected)
        << l.allowed << "/" << l.booked << "/" << l.reminder.toStdString();

  // The week of each day of 8–14 March 2026 (a Sunday to a Saturday), in either language.
  for (const char* locale : {"pt_BR", "en_US"})
    for (int d = 8; d <= 14; ++d) {
      const Week week = weekOf(QDate(2026, 3, d), QLocale(QString::fromLatin1(locale)));
      EXPECT_EQ(week.first, QDate(2026, 3, 8)) << locale << d;
      EXPECT_EQ(week.last, QDate(2026, 3, 14)) << locale << d;
    }

  EXPECT_EQ(weekBookingList({{"07", "SPINNING", QDate(2026, 3, 9)},
                             {"07", "SPINNING", QDate(2026, 3, 11)},
                             {"12", "YOGA", QDate(2026, 3, 10)}}),
            QStringLiteral("\n\r07  SPINNING\n\r  09/03  11/03\n\r\n\r12  YOGA\n\r  10/03\n\r"));
}

TEST(ClassRules, ListLinesCodesAndTimesAsTyped) {
  EXPECT_EQ(classListLine(spinning(), 3),
            QStringLiteral("07 - SPINNING                       Horário: 07:00 à 08:00 Vagas : 3"));
  GroupClass longName = spinning();
  longName.descricao = QStringLiteral("TREINAMENTO FUNCIONAL AVANCADO TURMA B");
  EXPECT_EQ(classListLine(longName),
            QStringLiteral("07 - TREINAMENTO FUNCIONAL AVANCADO Horário: 07:00 à 08:00"));
  EXPECT_EQ(classCodeOfLine(classListLine(spinning(), 0)), QStringLiteral("07"));
  EXPECT_EQ(freePlaces(10, 10), 0);
  EXPECT_EQ(freePlaces(10, 12), 0);
  EXPECT_EQ(freePlaces(10, 3), 7);
  EXPECT_EQ(typedClassCode(QStringLiteral("7")), QStringLiteral("07"));
  EXPECT_EQ(typedClassCode(QStringLiteral("12")), QStringLiteral("12"));

  const struct {
    const char* typed;
    const char* time;  // "" none; nullptr refused
  } times[] = {{"8:3", "08:30"}, {"8.30", "08:30"}, {"10:00", "10:00"}, {"", ""},
               {"8:", "08:00"},  {"25:00", nullptr}, {"ab", nullptr}};
  for (const auto& t : times) {
    const Result<std::optional<QTime>> read = typedClassTime(QString::fromLatin1(t.typed));
    if (!t.time) {
      ASSERT_FALSE(read) << t.typed;
      EXPECT_EQ(read.failure().text, QStringLiteral("Intervalo Inválido !"));
      continue;
    }
    ASSERT_TRUE(read) << t.typed;
    EXPECT_EQ(read->has_value() ? (*read)->toString(QStringLiteral("HH:mm")) : QString(),
              QString::fromLatin1(t.time))
        << t.typed;
  }
}

TEST(ClassRules, TheAttendancePeriodIsReadAsTyped) {
  const struct {
    const char* from;
    const char* to;
    const char* refused;  // nullptr: accepted
    bool endField;
  } cases[] = {{"01/03/2026", "01/03/2026", nullptr, false},
               {"1 /3 /2026", "31/03/2026", nullptr, false},
               {"32/03/2026", "01/04/2026", "Data Inicial", false},
               {"01/03/2026", "  /  /    ", "Data Final", true},
               {"02/03/2026", "01/03/2026", "Data final Menor que Data inicial", true}};
  for (const auto& c : cases) {
    const auto period = attendancePeriod(QString::fromLatin1(c.from), QString::fromLatin1(c.to));
    const auto* refused = std::get_if<PeriodRefused>(&period);
    if (!c.refused) {
      EXPECT_FALSE(refused) << c.from << " " << c.to;
      continue;
    }
    ASSERT_TRUE(refused) << c.from << " " << c.to;
    EXPECT_EQ(refused->detail, QString::fromUtf8(c.refused));
    EXPECT_EQ(refused->endField, c.endField);
  }
}

class ClassBookings : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    connection_ = database_.connect();
    db_ = connection_->database();
    const SchemaReport report =
        createMissingTables(db_, connection_->dialect(), Database::GymManagement);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }
  ClassBooking booking(int member, const GroupClass& c, const QDate& day) {
    return {c, day, number(member), QStringLiteral("ALUNO %1").arg(member), QStringLiteral("02"),
            kCliente, false};
  }
  GroupClass stored(const GroupClass& c) {
    EXPECT_TRUE(saveClass(db_, c, {QStringLiteral("02"), QStringLiteral("01"), kCliente, false}));
    return readClasses(db_, kCliente)->constLast();
  }

  static constexpr double kCliente = 42;
  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(ClassBookings, ACapacityOfTenTakesTenAndTheSameMemberOnce) {
  const GroupClass c = stored(spinning(10));
  EXPECT_EQ(c.horaInicial, QTime(7, 0));
  EXPECT_EQ(c.codigoAtividade, QStringLiteral("03"));
  const QDate day(2026, 3, 11);
  for (int m = 1; m <= 10; ++m) ASSERT_EQ(bookMember(db_, booking(m, c, day)), BookingOutcome::Booked);
  EXPECT_EQ(bookMember(db_, booking(11, c, day)), BookingOutcome::Full);
  EXPECT_EQ(bookMember(db_, booking(3, c, day.addDays(1))), BookingOutcome::Booked);
  EXPECT_EQ(bookMember(db_, booking(3, c, day.addDays(1))), BookingOutcome::AlreadyBooked);
  EXPECT_EQ(freePlaces(c.maximoAlunos, *bookedCount(db_, c.codigo, day, kCliente)), 0);
  EXPECT_EQ(freePlaces(c.maximoAlunos, *bookedCount(db_, c.codigo, day.addDays(1), kCliente)), 9);
  EXPECT_EQ(*bookedCount(db_, c.codigo, day, kCliente + 1), 0);  // another gym's count

  // Cancelling gives the place back; cancelling again says it is gone.
  EXPECT_TRUE(cancelMemberBooking(db_, c.codigo, day, number(4), kCliente));
  EXPECT_EQ(*bookedCount(db_, c.codigo, day, kCliente), 9);
  EXPECT_FALSE(cancelMemberBooking(db_, c.codigo, day, number(4), kCliente));

  // The member's week, and a code taken as the class is inserted.
  const QList<WeekBooking> week = *weekBookings(db_, number(3), weekOf(day), kCliente);
  EXPECT_EQ(week.size(), 2);
  GroupClass twin = spinning();
  const Outcome taken = saveClass(db_, twin, {QStringLiteral("02"), {}, kCliente, false});
  ASSERT_FALSE(taken);
  EXPECT_EQ(taken.failure().text, QStringLiteral("Código já Cadastrado !"));
}

TEST_P(ClassBookings, ReceptionistsRacingForTheLastPlacesNeverOverbook) {
  const GroupClass c = stored(spinning(10));
  const int trials = GetParam() == Provider::PostgreSQL ? 100 : 10;
  constexpr int kDesks = 4;
  constexpr int kEach = 5;  // 20 bookings racing for the last 3 places
  std::barrier start(kDesks);
  for (int t = 0; t < trials; ++t) {
    const QDate day = QDate(2026, 1, 1).addDays(t);
    for (int m = 1; m <= 7; ++m) ASSERT_EQ(bookMember(db_, booking(m, c, day)), BookingOutcome::Booked);
  }
  std::vector<std::thread> desks;
  for (int d = 0; d < kDesks; ++d)
    desks.emplace_back([&, d] {
      std::unique_ptr<Connection> own = database_.connect(QStringLiteral("recepcao%1").arg(d));
      for (int t = 0; t < trials; ++t) {
        start.arrive_and_wait();
        const QDate day = QDate(2026, 1, 1).addDays(t);
        for (int k = 0; k < kEach; ++k)
          static_cast<void>(bookMember(own->database(), booking(100 + d * kEach + k, c, day)));
      }
    });
  for (std::thread& desk : desks) desk.join();
  for (int t = 0; t < trials; ++t)
    EXPECT_EQ(*bookedCount(db_, c.codigo, QDate(2026, 1, 1).addDays(t), kCliente), 10) << t;
}

TEST_P(ClassBookings, TwoDesksAddingTheSameClassCodeStoreItOnce) {
  const int trials = GetParam() == Provider::PostgreSQL ? 50 : 10;
  std::barrier together(2);
  auto desk = [&](int d) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("cadastro%1").arg(d));
    for (int t = 0; t < trials; ++t) {
      together.arrive_and_wait();
      GroupClass c = spinning();
      c.codigo = QStringLiteral("%1").arg(t + 10, 2, 10, QLatin1Char('0'));
      static_cast<void>(saveClass(own->database(), c, {QStringLiteral("0%1").arg(d), {}, kCliente, false}));
    }
  };
  std::thread a(desk, 0);
  std::thread b(desk, 1);
  a.join();
  b.join();
  EXPECT_EQ(readClasses(db_, kCliente)->size(), trials);
}

TEST_P(ClassBookings, TheAttendanceReportCountsPerClassAndMember) {
  const GroupClass spin = stored(spinning(30));
  GroupClass yoga = spinning(30);
  yoga.codigo = QStringLiteral("12");
  yoga.descricao = QStringLiteral("YOGA");
  yoga.horaInicial = QTime(19, 30);
  yoga.horaFinal = QTime(20, 30);
  yoga = stored(yoga);
  const QDate day(2026, 3, 9);
  for (int d = 0; d < 3; ++d) ASSERT_TRUE(bookMember(db_, booking(1, spin, day.addDays(d))));
  ClassBooking byOther = booking(2, spin, day);
  byOther.usuario = QStringLiteral("05");
  ASSERT_TRUE(bookMember(db_, byOther));
  ASSERT_TRUE(bookMember(db_, booking(2, spin, day.addDays(1))));
  ASSERT_TRUE(bookMember(db_, booking(1, yoga, day)));
  ASSERT_TRUE(bookMember(db_, booking(1, spin, day.addDays(30))));  // after the period

  const QList<AttendanceRow> all =
      *attendance(db_, {std::nullopt, day, day.addDays(6), kCliente, false});
  ASSERT_EQ(all.size(), 4);
  EXPECT_EQ(all[0].matricula, number(1));
  EXPECT_EQ(all[0].frequencia, 3);
  EXPECT_EQ(all[1].usuario, QStringLiteral("02"));  // the member booked by two users: two lines
  EXPECT_EQ(all[2].usuario, QStringLiteral("05"));
  EXPECT_EQ(all[3].codigoAula, QStringLiteral("12"));
  EXPECT_EQ(attendance(db_, {QStringLiteral("12"), day, day, kCliente, true})->size(), 1);
  EXPECT_FALSE(classOfReportLine(kAllClassesLine));
  EXPECT_EQ(classOfReportLine(classListLine(yoga)), QStringLiteral("12"));

  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath(QStringLiteral("frequencia.pdf"));
  ASSERT_TRUE(writePdf(attendanceReport(all, {QStringLiteral("ACADEMIA TESTE"), "09/03/2026",
                                              "15/03/2026", QDateTime(day, QTime(10, 0)), false}),
                       file));
  QStringList lines;
  for (const QString& line : pdfLines(file)) lines << line.simplified();
  const QString text = lines.join(QLatin1Char('\n'));
  EXPECT_TRUE(text.contains(QStringLiteral("Relatório de Agenda de Aula(s) Coletiva(s)")));
  EXPECT_TRUE(text.contains(QStringLiteral("09/03/2026 à 15/03/2026")));
  EXPECT_TRUE(text.contains(QStringLiteral("Aula SPINNING 07:00 Prof. CARLA")));
  EXPECT_TRUE(text.contains(QStringLiteral("Frequência Usuário")));
  EXPECT_TRUE(text.contains(number(1) + QStringLiteral(" ALUNO 1 3 02")));
  EXPECT_TRUE(text.contains(QStringLiteral("Total de Aluno(s) por Aula Coletiva: 3")));
  EXPECT_TRUE(text.contains(QStringLiteral("Aula YOGA 19:30 Prof. CARLA")));
  EXPECT_TRUE(text.contains(QStringLiteral("Total de Aluno(s) por Aula Coletiva: 1")));

  // One class: only its group, its members by name, the receptionist's column when so set.
  const QString one = QDir(dir.path()).filePath(QStringLiteral("yoga.pdf"));
  ASSERT_TRUE(writePdf(
      attendanceReport(*attendance(db_, {QStringLiteral("12"), day, day.addDays(6), kCliente, true}),
                       {QStringLiteral("ACADEMIA TESTE"), "09/03/2026", "15/03/2026",
                        QDateTime(day, QTime(10, 0)), true}),
      one));
  const QString yogaText = pdfLines(one).join(QLatin1Char('\n'));
  EXPECT_TRUE(yogaText.contains(QStringLiteral("YOGA")));
  EXPECT_FALSE(yogaText.contains(QStringLiteral("SPINNING")));
  EXPECT_TRUE(yogaText.contains(QStringLiteral("Operador")));
}

INSTANTIATE_TEST_SUITE_P(Providers, ClassBookings, testing::ValuesIn(testProviders()),
                         providerTestName);
