#include "data/sql.h"

#include <QMutex>
#include <memory>
#include <unordered_map>

#include <QSqlError>

#include "base/error_log.h"
#include "base/messages.h"
#include "data/dialect.h"

namespace {

[[noreturn]] void fail(const QSqlQuery& query, const QString& sql) {
  throw SqlError(query.lastError().text() + QStringLiteral(" [") + sql + QLatin1Char(']'));
}

}  // namespace

QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (values.isEmpty()) {
    // Statements without values run as they are: PostgreSQL cannot prepare DDL or VACUUM.
    if (!query.exec(sql)) fail(query, sql);
    return query;
  }
  if (!query.prepare(sql)) fail(query, sql);
  for (const QVariant& v : values) query.addBindValue(v);
  if (!query.exec()) fail(query, sql);
  return query;
}

QVariant scalarSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery query = runSql(db, sql, values);
  return query.next() ? query.value(0) : QVariant();
}

bool sqlRuns(const QSqlDatabase& db, const QString& sql) {
  QSqlQuery query(db);
  return query.exec(sql);
}

Transaction::Transaction(const QSqlDatabase& db) : db_(db) {
  Dialect::of(db_).beginWrite(db_);
}

Transaction::~Transaction() {
  if (!done_) db_.rollback();
}

void Transaction::commit() {
  if (!db_.commit()) throw SqlError(db_.lastError().text());
  done_ = true;
}

namespace {

// The statements kept per connection name. Each connection is used by one thread at a time, so
// the lock only guards the map, never a statement's run; a statement lives on the heap, so a
// reference to it stays good while other statements join the map.
struct PreparedStatements {
  QMutex lock;
  std::unordered_map<QString, std::unordered_map<QString, std::unique_ptr<QSqlQuery>>> byConnection;
};

PreparedStatements& prepared() {
  static PreparedStatements statements;
  return statements;
}

QSqlQuery& keptStatement(const QSqlDatabase& db, const QString& sql) {
  PreparedStatements& kept = prepared();
  {
    QMutexLocker locker(&kept.lock);
    auto connection = kept.byConnection.find(db.connectionName());
    if (connection != kept.byConnection.end()) {
      auto found = connection->second.find(sql);
      if (found != connection->second.end()) return *found->second;
    }
  }
  auto query = std::make_unique<QSqlQuery>(db);
  query->setForwardOnly(true);
  if (!query->prepare(sql))
    throw SqlError(query->lastError().text() + QStringLiteral(" [") + sql + QLatin1Char(']'));
  QMutexLocker locker(&kept.lock);
  auto& slot = kept.byConnection[db.connectionName()][sql];
  slot = std::move(query);
  return *slot;
}

void forgetStatement(const QSqlDatabase& db, const QString& sql) {
  std::unique_ptr<QSqlQuery> gone;
  PreparedStatements& kept = prepared();
  QMutexLocker locker(&kept.lock);
  auto connection = kept.byConnection.find(db.connectionName());
  if (connection == kept.byConnection.end()) return;
  auto found = connection->second.find(sql);
  if (found == connection->second.end()) return;
  gone = std::move(found->second);
  connection->second.erase(found);
}

}  // namespace

QSqlQuery& runPrepared(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery& query = keptStatement(db, sql);
  for (int i = 0; i < values.size(); ++i) query.bindValue(i, values[i]);
  if (!query.exec()) {
    const QString error = query.lastError().text();
    forgetStatement(db, sql);  // prepared anew next time, on a connection that may be new
    throw SqlError(error + QStringLiteral(" [") + sql + QLatin1Char(']'));
  }
  return query;
}

void forgetPrepared(const QString& connectionName) {
  std::unordered_map<QString, std::unique_ptr<QSqlQuery>> statements;
  {
    PreparedStatements& kept = prepared();
    QMutexLocker locker(&kept.lock);
    auto connection = kept.byConnection.find(connectionName);
    if (connection == kept.byConnection.end()) return;
    statements.swap(connection->second);
    kept.byConnection.erase(connection);
  }
  // Destroyed here, outside the lock, while the connection is still open.
}

void lockForNumbering(const QSqlDatabase& db, const QString& table) {
  waitForTurn(db, QStringLiteral("numeracao:") + table);
}

void waitForTurn(const QSqlDatabase& db, const QString& key) {
  Dialect::of(db).waitForTurn(db, key);
}

Failure writeFailure(const QString& table, const QString& cause) {
  return {Msg::GravandoNaTabela, table,
          QStringLiteral("Gravando na tabela %1: %2").arg(table, cause)};
}

Outcome writeTablesInTransaction(const QSqlDatabase& db, const QString& fallback,
                                 const std::function<void(QString& table)>& work) {
  QString detail = fallback;
  try {
    Transaction transaction(db);
    work(detail);
    detail = fallback;
    transaction.commit();
    return Done{};
  } catch (const std::exception& e) {
    return writeFailure(detail, QString::fromUtf8(e.what()));
  }
}

Outcome writeInTransaction(const QSqlDatabase& db, const QString& detail,
                           const std::function<void()>& work) {
  return writeTablesInTransaction(db, detail, [&](QString&) { work(); });
}
