#include "followup/expired_series.h"

#include <QSqlQuery>

#include "base/messages.h"
#include "base/routines.h"
#include "data/sql.h"
#include "followup/listed_people.h"
#include "printing/listing_layout.h"

namespace {

constexpr int kRegistrationWidth = 10;

Failure unreadable(const QString& table, const SqlError& e) {
  return {Msg::AberturaDeTabela, table,
          QStringLiteral("Séries vencidas, %1: %2").arg(table, e.text())};
}

// The selection's SQL and values: the columns asked, rows before the cut-off, one instructor's
// rows when one is chosen.
std::pair<QString, QVariantList> selection(const QString& columns, const QDate& cutOff,
                                           const std::optional<QString>& instructor) {
  QString sql = QStringLiteral("SELECT DISTINCT %1 FROM Treino B WHERE (B.Data < ?)").arg(columns);
  QVariantList values{cutOff};
  if (instructor) {
    sql += QStringLiteral(" AND (B.Professor = ?)");
    values << *instructor;
  }
  return {sql + QStringLiteral(" ORDER BY B.Matricula"), values};
}

}  // namespace

QDate expiryCutOff(const QDate& today, int months) {
  return SUBTRAI_MESES(months, true, today);
}

Result<QStringList> expiryInstructorEntries(const QSqlDatabase& peopleDb,
                                            const QString& staffTable) {
  QStringList entries{kAllInstructors};
  try {
    QSqlQuery query =
        runSql(peopleDb,
               QStringLiteral("SELECT MATRICULA, NOME FROM %1 WHERE CARGO LIKE ? ORDER BY NOME")
                   .arg(staffTable),
               {QStringLiteral("%PROF MUSC%")});
    while (query.next())
      entries << query.value(0).toString() + QStringLiteral(" - ") + query.value(1).toString();
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Funcionario"), e);
  }
  return entries;
}

Result<InstructorList> openInstructorList(const std::optional<Settings>& settings) {
  if (!settings) return Failure{Msg::AberturaDeTabela, QStringLiteral("Controle"), {}};
  const PeopleTables people = peopleTables(*settings);
  const QString detail = people.source == DataSource::Vantrel ? QStringLiteral("Funcionario")
                                                              : QStringLiteral(" Funcionario");
  Result<std::unique_ptr<Connection>> connection = openPeopleConnection(people, detail);
  if (!connection) return peopleTableUnavailable(people, detail, connection.failure().log);
  const Result<QStringList> entries =
      expiryInstructorEntries((*connection)->database(), people.staff);
  if (!entries) return peopleTableUnavailable(people, detail, entries.failure().log);
  return InstructorList{*settings, people, std::move(*connection), *entries};
}

std::optional<QString> instructorOfEntry(const QString& entry) {
  if (entry == kAllInstructors) return std::nullopt;
  return entry.left(kRegistrationWidth);
}

Result<QList<ExpiredRow>> expiredSeries(const QSqlDatabase& workoutDb, const QSqlDatabase& peopleDb,
                                        const PeopleTables& people, bool membersKeptHere,
                                        const QDate& cutOff,
                                        const std::optional<QString>& instructor) {
  Result<QList<ExpiredRow>> found = expiredRows(workoutDb, cutOff, instructor);
  if (!found) return found;
  QList<ExpiredRow>& rows = *found;
  const QString missing = missingMemberName(membersKeptHere);
  try {
    for (ExpiredRow& row : rows)
      row.nome = memberColumn(peopleDb, people.members, QStringLiteral("NOME"), row.matricula)
                     .value_or(missing);
  } catch (const SqlError& e) {
    return peopleUnavailable(people.source, QStringLiteral("Alunos"), e.text());
  }
  return rows;
}

Result<QList<ExpiredRow>> expiredRows(const QSqlDatabase& workoutDb, const QDate& cutOff,
                                      const std::optional<QString>& instructor) {
  QList<ExpiredRow> rows;
  try {
    const auto [sql, values] =
        selection(QStringLiteral("B.Matricula, B.Data_Reavaliacao, B.Treino"), cutOff, instructor);
    QSqlQuery query = runSql(workoutDb, sql, values);
    while (query.next())
      rows << ExpiredRow{query.value(0).toString(), QString(), query.value(1).toDate(),
                         query.value(2).toString()};
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Treino"), e);
  }
  return rows;
}

Result<ExpiredAddresses> expiredAddresses(const QSqlDatabase& workoutDb,
                                          const QSqlDatabase& peopleDb, const PeopleTables& people,
                                          const QDate& cutOff,
                                          const std::optional<QString>& instructor) {
  QStringList members;
  try {
    const auto [sql, values] = selection(QStringLiteral("B.Matricula"), cutOff, instructor);
    QSqlQuery query = runSql(workoutDb, sql, values);
    while (query.next()) members << query.value(0).toString();
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Treino"), e);
  }
  ExpiredAddresses found{int(members.size()), {}};
  QStringList& addresses = found.addresses;
  try {
    for (const QString& matricula : members) {
      const QString email =
          memberColumn(peopleDb, people.members, QStringLiteral("EMAIL"), matricula)
              .value_or(QString())
              .trimmed();
      if (!email.isEmpty()) addresses << email;
    }
  } catch (const SqlError& e) {
    return peopleUnavailable(people.source, QStringLiteral("Alunos"), e.text());
  }
  return found;
}

Report expiredSeriesReport(const QList<ExpiredRow>& rows, const ExpiryHeading& heading) {
  using namespace listing;
  Report report = portrait(QStringLiteral("Relatório de Treinos Vencidos"));
  const double width = report.bodyWidth();
  addTitles(report.pageHeader, QStringLiteral("Relatório de Séries Vencidas"), heading.gym, width);
  report.pageHeader.texts << text(QRectF(width - 45, 0, 45, 5), dateText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(width - 45, 5, 45, 5), timeText(heading.printedAt),
                                  font(9), Qt::AlignRight);
  if (heading.instructorText != kAllInstructors)
    report.pageHeader.texts << text(QRectF(0, 18, width, 5), heading.instructorText, font(9));
  report.detail.columns = {{QStringLiteral("Matrícula "), 28, Qt::AlignLeft},
                           {QStringLiteral("Nome do Aluno"), width - 88, Qt::AlignLeft},
                           {QStringLiteral("Data Reavaliação"), 42, Qt::AlignRight},
                           {QStringLiteral("Treino"), 18, Qt::AlignRight}};
  report.columnHeader = columnHeaderBand(report.detail, kColumnHeaderHeight, font(10, true));
  report.columnHeader.rules << ReportRule{QPointF(0, kColumnHeaderHeight - 0.5),
                                          QPointF(width, kColumnHeaderHeight - 0.5), 0.3};
  for (const ExpiredRow& r : rows)
    report.rows.append(
        {{r.matricula, r.nome,
          r.dataReavaliacao.isValid() ? r.dataReavaliacao.toString(QStringLiteral("dd/MM/yyyy"))
                                      : QString(),
          r.treino},
         QString()});
  return report;
}
