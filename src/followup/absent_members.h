// Members who stayed away: those whose last entrance (the gym-management database's entrance
// log) lies exactly the configured number of days back. The main window's timer only asks
// whether there is one; the absent-members window lists them with their phones and their
// instructor. Only members with an e-mail and without a scholarship count.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include "base/failure.h"

class Session;

struct AbsentMember {
  QString matricula;
  QString nome;
  QString telefone;
  QString telefoneCom;
  QString celular;
  QString radio;
  QString email;      // at most 40 characters
  QString professor;  // the instructor of the member's latest series; "Excluído" when gone
};

// Days away as the timer counts them: the time of day of the entrance is dropped.
int absenceDaysByDate(const QDate& lastEntrance, const QDate& today);
// Days away as the window counts them: the time between the entrance and now, to the nearest
// whole day, a half to the even day.
int absenceDaysByTime(const QDateTime& lastEntrance, const QDateTime& now);

// Whether one member of `membersTable` ("ALUNOS" or "ALUNOSATIVOS") has a last entrance exactly
// `days` days before `today` (by date). Asks only that: the entrances of one day, through the
// index on the entrance date.
Result<bool> anyAbsentMember(const QSqlDatabase& gymDb, const QString& membersTable, int days,
                             const QDate& today);

// The timer's question in two halves. The visitors of `day` who have not come in since: asked
// once per day, as it reads every visitor of that day. Entrances are only ever added, so a
// visitor who came back cannot be absent for that day again; what is left is few.
Result<QStringList> unreturnedVisitors(const QSqlDatabase& gymDb, const QDate& day);
// Whether one of `candidates` counts (e-mail, no scholarship, in `membersTable`) and still has
// not come in since `day`. No statement at all when there is no candidate.
Result<bool> anyAbsentAmong(const QSqlDatabase& gymDb, const QString& membersTable,
                            const QStringList& candidates, const QDate& day);

// The absent members in name order, with the instructor of each one's latest series (workout
// database) looked up among the staff of the gym-management database. "Abertura de tabela !" /
// "TempAlunosAusentes" when the list cannot be built.
Result<QList<AbsentMember>> absentMembers(const QSqlDatabase& gymDb, const QSqlDatabase& workoutDb,
                                          const QString& membersTable, int days,
                                          const QDateTime& now);

// The list's search by name, case ignored: the first row whose name begins with `text` (as it
// is typed) or equals it (Enter); -1 when none does.
int absentRowStarting(const QList<AbsentMember>& members, const QString& text);
int absentRowNamed(const QList<AbsentMember>& members, const QString& text);

// "Todos Alunos": every listed address in list order, an address equal to the one just before
// it written once.
QStringList absentAddresses(const QList<AbsentMember>& members);

// ALUNOS_AUSENTES, run by the main window's timer: sets GBOL_TEM_AUSENTES when an absent member
// exists; nothing when GINT_DIAS_AUSENTES is 0 or less. A database that cannot be read is told
// once ("Brisca não está Ativo ..." / "Alunos Ausentes"), not again every second until it
// answers again.
//
// The visitors of the day in question are read on the first tick of that day (or after the
// number of days changed); later ticks only look at the visitors who have not come back, so a
// tick costs next to nothing while nobody is away. An entrance deleted or written with an
// earlier date is seen the next day.
class AbsentWatch {
 public:
  void ALUNOS_AUSENTES(Session& session);

 private:
  Result<bool> ask(const QSqlDatabase& gymDb, const QString& membersTable, const QDate& day);

  bool failing_ = false;
  QDate visitorsDay_;       // the day whose visitors `unreturned_` holds
  QStringList unreturned_;  // its visitors not seen since
};
