#include "followup/listed_people.h"

#include <QSqlQuery>

#include "data/sql.h"

std::optional<QString> memberColumn(const QSqlDatabase& peopleDb, const QString& table,
                                    const QString& column, const QString& matricula) {
  QSqlQuery& query = runPrepared(
      peopleDb, QStringLiteral("SELECT %1 FROM %2 WHERE MATRICULA = ?").arg(column, table),
      {matricula});
  std::optional<QString> value;
  if (query.next()) value = query.value(0).toString();
  query.finish();
  return value;
}

QString missingMemberName(bool membersKeptHere) {
  return membersKeptHere ? QStringLiteral("Excluido") : QStringLiteral("Inativo");
}

QString staffName(const QSqlDatabase& peopleDb, const QString& staffTable,
                  const QString& registration) {
  QSqlQuery& query = runPrepared(
      peopleDb, QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(staffTable),
      {registration});
  const QString name = query.next() ? query.value(0).toString() : QStringLiteral("Excluído");
  query.finish();
  return name;
}
