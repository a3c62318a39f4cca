#include "followup/absent_members.h"

#include <QSqlQuery>
#include <cmath>

#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "followup/listed_people.h"
#include "forms/session.h"

namespace {

constexpr int kEmailWidth = 40;
constexpr qsizetype kCandidatesPerStatement = 500;

Failure timerFailure(const SqlError& e) {
  return {Msg::BriscaInativo, QStringLiteral("Alunos Ausentes"),
          QStringLiteral("Alunos ausentes: %1").arg(e.text())};
}
constexpr double kMsecsPerDay = 24.0 * 60 * 60 * 1000;

QDateTime midnight(const QDate& day) {
  return QDateTime(day, QTime(0, 0));
}

// The members with an entrance in [from, to) and none from `to` on, with that last entrance.
QString lastEntranceSql(const QString& membersTable) {
  return QStringLiteral(
             "SELECT A.MATRICULA, A.NOME, A.TELEFONE, A.TELEFONECOM, A.TELEFONE_CELULAR, "
             "A.RADIO, A.EMAIL, MAX(B.DATA) FROM ACESSO B JOIN %1 A ON A.MATRICULA = B.MATRICULA "
             "WHERE B.DATA >= ? AND B.DATA < ? AND A.EMAIL IS NOT NULL AND A.BOLSISTA = ? "
             "AND NOT EXISTS (SELECT 1 FROM ACESSO C WHERE C.MATRICULA = B.MATRICULA AND "
             "C.DATA >= ?) GROUP BY A.MATRICULA, A.NOME, A.TELEFONE, A.TELEFONECOM, "
             "A.TELEFONE_CELULAR, A.RADIO, A.EMAIL ORDER BY A.NOME, A.MATRICULA")
      .arg(membersTable);
}

// The instructor's registration of the member's latest series; empty without a series.
QString latestInstructor(const QSqlDatabase& workoutDb, const QString& matricula) {
  QSqlQuery& query = runPrepared(
      workoutDb,
      QStringLiteral("SELECT Professor FROM Treino WHERE Matricula = ? ORDER BY Data DESC, ID DESC "
                     "LIMIT 1"),
      {matricula});
  const QString professor = query.next() ? query.value(0).toString() : QString();
  query.finish();
  return professor;
}

}  // namespace

int absenceDaysByDate(const QDate& lastEntrance, const QDate& today) {
  return int(lastEntrance.daysTo(today));
}

int absenceDaysByTime(const QDateTime& lastEntrance, const QDateTime& now) {
  // nearbyint rounds in the default mode, to the nearest and a half to the even number.
  return int(std::nearbyint(double(lastEntrance.msecsTo(now)) / kMsecsPerDay));
}

Result<bool> anyAbsentMember(const QSqlDatabase& gymDb, const QString& membersTable, int days,
                             const QDate& today) {
  const QDate day = today.addDays(-days);
  try {
    QSqlQuery& query = runPrepared(
        gymDb,
        QStringLiteral("SELECT 1 FROM ACESSO B JOIN %1 A ON A.MATRICULA = B.MATRICULA WHERE "
                       "B.DATA >= ? AND B.DATA < ? AND A.EMAIL IS NOT NULL AND A.BOLSISTA = ? "
                       "AND NOT EXISTS (SELECT 1 FROM ACESSO C WHERE C.MATRICULA = B.MATRICULA "
                       "AND C.DATA >= ?) LIMIT 1")
            .arg(membersTable),
        {midnight(day), midnight(day.addDays(1)), false, midnight(day.addDays(1))});
    const bool found = query.next();
    query.finish();
    return found;
  } catch (const SqlError& e) {
    return timerFailure(e);
  }
}

Result<QStringList> unreturnedVisitors(const QSqlDatabase& gymDb, const QDate& day) {
  const QDateTime next = midnight(day.addDays(1));
  QStringList visitors;
  try {
    QSqlQuery& query = runPrepared(
        gymDb,
        QStringLiteral("SELECT DISTINCT B.MATRICULA FROM ACESSO B WHERE B.DATA >= ? AND "
                       "B.DATA < ? AND NOT EXISTS (SELECT 1 FROM ACESSO C WHERE C.MATRICULA = "
                       "B.MATRICULA AND C.DATA >= ?)"),
        {midnight(day), next, next});
    while (query.next()) visitors << query.value(0).toString();
    query.finish();
  } catch (const SqlError& e) {
    return timerFailure(e);
  }
  return visitors;
}

Result<bool> anyAbsentAmong(const QSqlDatabase& gymDb, const QString& membersTable,
                            const QStringList& candidates, const QDate& day) {
  const QDateTime next = midnight(day.addDays(1));
  try {
    for (qsizetype start = 0; start < candidates.size(); start += kCandidatesPerStatement) {
      const QStringList chunk = candidates.mid(start, kCandidatesPerStatement);
      QVariantList values;
      for (const QString& m : chunk) values << m;
      values << false << next;
      QSqlQuery query = runSql(
          gymDb,
          QStringLiteral("SELECT 1 FROM %1 A WHERE A.MATRICULA IN (?%2) AND A.EMAIL IS NOT NULL "
                         "AND A.BOLSISTA = ? AND NOT EXISTS (SELECT 1 FROM ACESSO C WHERE "
                         "C.MATRICULA = A.MATRICULA AND C.DATA >= ?) LIMIT 1")
              .arg(membersTable, QStringLiteral(", ?").repeated(chunk.size() - 1)),
          values);
      if (query.next()) return true;
    }
  } catch (const SqlError& e) {
    return timerFailure(e);
  }
  return false;
}

Result<QList<AbsentMember>> absentMembers(const QSqlDatabase& gymDb, const QSqlDatabase& workoutDb,
                                          const QString& membersTable, int days,
                                          const QDateTime& now) {
  // Rounded to `days`, the time away lies within half a day of it: a day either side holds
  // every candidate, and the exact count decides.
  const QDateTime from = now.addDays(-(days + 1));
  const QDateTime to = now.addDays(-(days - 1));
  QList<AbsentMember> members;
  try {
    QSqlQuery query = runSql(gymDb, lastEntranceSql(membersTable), {from, to, false, to});
    while (query.next()) {
      if (absenceDaysByTime(query.value(7).toDateTime(), now) != days) continue;
      AbsentMember m;
      m.matricula = query.value(0).toString();
      m.nome = query.value(1).toString();
      m.telefone = query.value(2).toString();
      m.telefoneCom = query.value(3).toString();
      m.celular = query.value(4).toString();
      m.radio = query.value(5).toString();
      m.email = query.value(6).toString().left(kEmailWidth);
      members << m;
    }
    for (AbsentMember& m : members) {
      const QString instructor = latestInstructor(workoutDb, m.matricula);
      if (!instructor.isEmpty())
        m.professor = staffName(gymDb, QStringLiteral("FUNCIONARIOS"), instructor);
    }
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("TempAlunosAusentes"),
                   QStringLiteral("Alunos ausentes: %1").arg(e.text())};
  }
  return members;
}

int absentRowStarting(const QList<AbsentMember>& members, const QString& text) {
  for (int i = 0; i < members.size(); ++i)
    if (members[i].nome.startsWith(text, Qt::CaseInsensitive)) return i;
  return -1;
}

int absentRowNamed(const QList<AbsentMember>& members, const QString& text) {
  for (int i = 0; i < members.size(); ++i)
    if (members[i].nome.compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QStringList absentAddresses(const QList<AbsentMember>& members) {
  QStringList addresses;
  QString previous;
  bool first = true;
  for (const AbsentMember& m : members) {
    if (!first && m.email == previous) continue;
    addresses << m.email;
    previous = m.email;
    first = false;
  }
  return addresses;
}

Result<bool> AbsentWatch::ask(const QSqlDatabase& gymDb, const QString& membersTable,
                              const QDate& day) {
  if (day != visitorsDay_) {
    const Result<QStringList> visitors = unreturnedVisitors(gymDb, day);
    if (!visitors) return visitors.failure();
    unreturned_ = *visitors;
    visitorsDay_ = day;
  }
  return anyAbsentAmong(gymDb, membersTable, unreturned_, day);
}

void AbsentWatch::ALUNOS_AUSENTES(Session& session) {
  Globals& g = G();
  if (g.GINT_DIAS_AUSENTES <= 0) return;
  const QString members = session.settings().activeMembersOnly() ? QStringLiteral("ALUNOSATIVOS")
                                                                 : QStringLiteral("ALUNOS");
  const Result<bool> found = ask(session.management().database(), members,
                                 QDate::currentDate().addDays(-g.GINT_DIAS_AUSENTES));
  if (!found) {
    // The box holds the event loop while the timer keeps ticking: the flag goes first.
    const bool toldAlready = failing_;
    failing_ = true;
    if (!toldAlready) tell(found.failure());
    return;
  }
  failing_ = false;
  if (*found) g.GBOL_TEM_AUSENTES = true;
}
