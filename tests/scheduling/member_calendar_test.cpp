// A member's calendar, written as iCalendar and read back by a real iCalendar reader (Python's
// icalendar, from Debian): the workouts' weekly recurrences until the series falls due, the
// assemblies booked from today on, long lines folded and text escaped.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "data/schema.h"
#include "data/sql.h"
#include "scheduling/member_calendar.h"
#include "support/test_db.h"

namespace {

// The events as the reader sees them: "SUMMARY|DTSTART|RRULE" per line.
QStringList readBack(const QString& file) {
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import icalendar,sys\n"
                               "c=icalendar.Calendar.from_ical(open(sys.argv[1],'rb').read())\n"
                               "for e in c.walk('VEVENT'):\n"
                               "  r=e.get('RRULE')\n"
                               "  print('%s|%s|%s|%s'%(e['SUMMARY'],e['DTSTART'].dt.isoformat(),"
                               "r.to_ical().decode() if r else '',e.get('DESCRIPTION','')))\n"),
                file});
  EXPECT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class MemberCalendarFile : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect();
    db_ = connection_->database();
    ASSERT_TRUE(createMissingTables(db_, connection_->dialect(),
                                    {*findTable(Database::Workout, QStringLiteral("Treino")),
                                     *findTable(Database::Workout, QStringLiteral("Agendado"))})
                    .ok());
  }
  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(MemberCalendarFile, WorkoutsRecurWeeklyAndAssembliesKeepTheirHour) {
  const QDate today = QDate::currentDate();
  const QString ana = QStringLiteral("0000000012");
  const auto series = [&](const char* letter, const QDate& day, bool mon, bool wed) {
    runSql(db_,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Ordem, Dom, Seg, Ter, Qua, Qui, Sex, Sab) VALUES "
                          "(?, ?, '001', ?, ?, 1, ?, ?, ?, ?, ?, ?, ?)"),
           {ana, letter, day, day.addMonths(3), false, mon, false, wed, false, false, false});
  };
  series("A", QDate(2026, 3, 4), true, false);   // an older A
  series("A", QDate(2026, 9, 2), true, true);    // the current A, a Wednesday
  series("B", QDate(2026, 9, 2), false, false);  // no day chosen: not on the calendar
  const auto booking = [&](const QDate& day, const char* hour, bool done) {
    runSql(db_,
           QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, DATA_FEITA) "
                          "VALUES (?, 'A', ?, ?, ?)"),
           {ana, day, hour, done ? QVariant(day) : QVariant(QMetaType(QMetaType::QDate))});
  };
  booking(today.addDays(3), "09:30", false);
  booking(today.addDays(4), "10:00", true);   // already done
  booking(today.addDays(-2), "10:00", false);  // in the past

  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath(QStringLiteral("agenda.ics"));
  const QString longName = QStringLiteral("MARIA APARECIDA DOS SANTOS FERREIRA DE ALBUQUERQUE, SÓ");
  ASSERT_TRUE(writeMemberCalendar(db_, ana, longName, QStringLiteral("ACADEMIA; CENTRO"), file));
  QFile raw(file);
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  for (const QByteArray& line : raw.readAll().split('\n')) EXPECT_LE(line.size(), 76);

  const QStringList events = readBack(file);
  ASSERT_EQ(events.size(), 2);
  EXPECT_EQ(events[0], QStringLiteral("Treino A|2026-09-02|FREQ=WEEKLY;UNTIL=20261202;BYDAY=MO,WE|"
                                      "Série de %1, ACADEMIA; CENTRO")
                           .arg(longName));
  EXPECT_EQ(events[1], QStringLiteral("Montagem de série (treino A)|%1T09:30:00||")
                           .arg(today.addDays(3).toString(Qt::ISODate)));
}

INSTANTIATE_TEST_SUITE_P(Providers, MemberCalendarFile, testing::ValuesIn(testProviders()),
                         providerTestName);
