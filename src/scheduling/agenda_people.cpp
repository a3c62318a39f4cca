#include "scheduling/agenda_people.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>

#include "base/messages.h"
#include "data/sql.h"
#include "followup/expired_series.h"
#include "followup/listed_people.h"

namespace {

constexpr int kRegistrationWidth = 10;
const QString kBetween = QStringLiteral(" - ");

}  // namespace

Result<QList<Instructor>> agendaInstructors(const QSqlDatabase& peopleDb, const QString& staffTable,
                                            Employment employment) {
  QString sql = QStringLiteral("SELECT MATRICULA, NOME FROM %1 WHERE CARGO LIKE ?").arg(staffTable);
  if (employment == Employment::Current) sql += QStringLiteral(" AND DATA_DEMISSAO IS NULL");
  QList<Instructor> instructors;
  try {
    QSqlQuery query =
        runSql(peopleDb, sql + QStringLiteral(" ORDER BY MATRICULA"), {QStringLiteral("%PROF MUSC%")});
    while (query.next()) instructors << Instructor{query.value(0).toString(), query.value(1).toString()};
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Funcionario"),
                   QStringLiteral("Agenda, %1: %2").arg(staffTable, e.text())};
  }
  return instructors;
}

QStringList reviewInstructorEntries(const QList<Instructor>& instructors) {
  QStringList entries{kAllInstructors};
  for (const Instructor& i : instructors) entries << i.matricula + kBetween + i.nome;
  return entries;
}

QStringList evaluatorEntries(const QList<Instructor>& instructors) {
  QStringList entries;
  for (const Instructor& i : instructors) entries << i.nome + kBetween + i.matricula;
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::optional<QString> evaluatorEntryFor(const QString& reviewEntry) {
  if (reviewEntry == kAllInstructors) return std::nullopt;
  return reviewEntry.mid(kRegistrationWidth + kBetween.size()) + kBetween +
         reviewEntry.left(kRegistrationWidth);
}

QString evaluatorOfEntry(const QString& evaluatorEntry) {
  return evaluatorEntry.right(kRegistrationWidth);
}

Result<QHash<QString, QString>> namesIn(const QSqlDatabase& db, const QString& table,
                                        const QStringList& matriculas, const QString& detail) {
  QHash<QString, QString> names;
  QSet<QString> asked;
  try {
    for (const QString& matricula : matriculas) {
      if (asked.contains(matricula)) continue;
      asked.insert(matricula);
      if (std::optional<QString> nome = memberColumn(db, table, QStringLiteral("NOME"), matricula))
        names.insert(matricula, *nome);
    }
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, detail,
                   QStringLiteral("Agenda, %1: %2").arg(table, e.text())};
  }
  return names;
}

Result<QHash<QString, QString>> memberNames(const QSqlDatabase& peopleDb, const PeopleTables& people,
                                            const QStringList& matriculas) {
  Result<QHash<QString, QString>> names =
      namesIn(peopleDb, people.members, matriculas, QStringLiteral("ALUNOS"));
  if (!names) return peopleTableUnavailable(people, QStringLiteral("ALUNOS"), names.failure().log);
  return names;
}
