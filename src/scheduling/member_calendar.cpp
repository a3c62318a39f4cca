#include "scheduling/member_calendar.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlQuery>

#include "base/messages.h"
#include "data/schema.h"
#include "data/sql.h"

namespace {

const char* const kByDay[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// Text values escape backslash, semicolon, comma and line ends.
QString escaped(QString text) {
  text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text.replace(QLatin1Char(';'), QStringLiteral("\\;"));
  text.replace(QLatin1Char(','), QStringLiteral("\\,"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return text;
}

// A content line folded at 75 octets, never inside a UTF-8 character.
QByteArray folded(const QString& line) {
  const QByteArray utf8 = line.toUtf8();
  QByteArray out;
  int width = 0;
  for (int i = 0; i < utf8.size(); ++i) {
    const bool continuation = (uchar(utf8[i]) & 0xC0) == 0x80;
    if (width >= 75 && !continuation) {
      out += "\r\n ";
      width = 1;
    }
    out += utf8[i];
    ++width;
  }
  return out + "\r\n";
}

QString dayText(const QDate& d) {
  return d.toString(QStringLiteral("yyyyMMdd"));
}

QString timeText(const QDateTime& t) {
  return t.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

// The first day on or after `from` that the workout is done on.
QDate firstTrainingDay(const TrainingWeek& week) {
  for (int i = 0; i < 7; ++i) {
    const QDate day = week.from.addDays(i);
    if (week.days[size_t(day.dayOfWeek() % 7)]) return day;
  }
  return week.from;
}

}  // namespace

Result<MemberCalendar> memberCalendar(const QSqlDatabase& workoutDb, const QString& matricula,
                                      const QDate& today) {
  MemberCalendar calendar;
  calendar.matricula = matricula;
  try {
    const QString sql = QStringLiteral("SELECT Data, Data_Reavaliacao, %1 FROM Treino WHERE "
                                       "Matricula = ? AND Treino = ? ORDER BY Data DESC, Ordem")
                            .arg(weekdayColumns().join(QStringLiteral(", ")));
    for (const char* letter : {"A", "B", "C", "D", "E"}) {
      QSqlQuery& q = runPrepared(workoutDb, sql, {matricula, QString::fromLatin1(letter)});
      if (q.next()) {
        TrainingWeek week{QString::fromLatin1(letter), q.value(0).toDate(), q.value(1).toDate(), {}};
        for (int d = 0; d < 7; ++d) week.days[size_t(d)] = q.value(2 + d).toBool();
        if (std::find(week.days.begin(), week.days.end(), true) != week.days.end())
          calendar.training << week;
      }
      q.finish();
    }
    QSqlQuery& booked = runPrepared(
        workoutDb,
        QStringLiteral("SELECT ID, TREINO, DATA, HORA, AVALIADOR FROM Agendado WHERE MATRICULA = ? "
                       "AND DATA >= ? AND DATA_FEITA IS NULL ORDER BY DATA, HORA"),
        {matricula, today});
    while (booked.next()) {
      Booking b;
      b.id = booked.value(0).toLongLong();
      b.matricula = matricula;
      b.treino = booked.value(1).toString();
      b.data = booked.value(2).toDate();
      b.hora = booked.value(3).toString();
      b.avaliador = booked.value(4).toString();
      calendar.assemblies << b;
    }
    booked.finish();
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Treino"),
                   QStringLiteral("Agenda do aluno: %1").arg(e.text())};
  }
  return calendar;
}

QByteArray icsOf(const MemberCalendar& calendar, const QDateTime& stamp) {
  const QString dtstamp = QStringLiteral("DTSTAMP:") + timeText(stamp.toUTC()) + QLatin1Char('Z');
  const QString who = calendar.nome.isEmpty() ? calendar.matricula : calendar.nome;
  QByteArray out;
  const auto line = [&](const QString& text) { out += folded(text); };
  line(QStringLiteral("BEGIN:VCALENDAR"));
  line(QStringLiteral("VERSION:2.0"));
  line(QStringLiteral("PRODID:-//Vantrel//Agenda do Aluno//PT-BR"));
  line(QStringLiteral("CALSCALE:GREGORIAN"));
  line(QStringLiteral("X-WR-CALNAME:") + escaped(QStringLiteral("Treinos de ") + who));
  for (const TrainingWeek& week : calendar.training) {
    QStringList byDay;
    for (int d = 0; d < 7; ++d)
      if (week.days[size_t(d)]) byDay << QString::fromLatin1(kByDay[d]);
    const QDate first = firstTrainingDay(week);
    line(QStringLiteral("BEGIN:VEVENT"));
    line(QStringLiteral("UID:treino-%1-%2-%3@vantrel")
             .arg(calendar.matricula, week.letter, dayText(week.from)));
    line(dtstamp);
    line(QStringLiteral("DTSTART;VALUE=DATE:") + dayText(first));
    line(QStringLiteral("DTEND;VALUE=DATE:") + dayText(first.addDays(1)));
    QString rule = QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=") + byDay.join(QLatin1Char(','));
    if (week.until.isValid()) rule += QStringLiteral(";UNTIL=") + dayText(week.until);
    line(rule);
    line(QStringLiteral("SUMMARY:") + escaped(QStringLiteral("Treino %1").arg(week.letter)));
    line(QStringLiteral("DESCRIPTION:") +
         escaped(QStringLiteral("Série de %1%2").arg(who, calendar.gym.isEmpty()
                                                            ? QString()
                                                            : QStringLiteral(", ") + calendar.gym)));
    line(QStringLiteral("TRANSP:TRANSPARENT"));
    line(QStringLiteral("END:VEVENT"));
  }
  for (const Booking& b : calendar.assemblies) {
    const QTime hour = QTime::fromString(b.hora, QStringLiteral("HH:mm"));
    const QDateTime start(b.data, hour.isValid() ? hour : QTime(0, 0));
    line(QStringLiteral("BEGIN:VEVENT"));
    line(QStringLiteral("UID:montagem-%1-%2@vantrel").arg(calendar.matricula).arg(b.id));
    line(dtstamp);
    line(QStringLiteral("DTSTART:") + timeText(start));
    line(QStringLiteral("DTEND:") + timeText(start.addSecs(3600)));
    line(QStringLiteral("SUMMARY:") +
         escaped(QStringLiteral("Montagem de série (treino %1)").arg(b.treino)));
    if (!calendar.gym.isEmpty()) line(QStringLiteral("LOCATION:") + escaped(calendar.gym));
    line(QStringLiteral("END:VEVENT"));
  }
  line(QStringLiteral("END:VCALENDAR"));
  return out;
}

Outcome writeMemberCalendar(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& nome, const QString& gym, const QString& file) {
  Result<MemberCalendar> calendar = memberCalendar(workoutDb, matricula, QDate::currentDate());
  if (!calendar) return calendar.failure();
  MemberCalendar filled = *calendar;
  filled.nome = nome;
  filled.gym = gym;
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(icsOf(filled, QDateTime::currentDateTime())) < 0 || !out.commit())
    return Failure{QStringLiteral("Arquivo não pôde ser gravado !"), file, out.errorString()};
  return Done{};
}
