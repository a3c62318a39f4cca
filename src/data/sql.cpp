#include "data/sql.h"

#include <QSqlError>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"

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

// On SQLite a transaction starts as a writer: one that began by reading would be refused at
// its first write while another workstation writes, without the busy wait ever applying.
Transaction::Transaction(const QSqlDatabase& db) : db_(db) {
  if (db_.driverName() == QLatin1String("QSQLITE")) {
    QSqlQuery begin(db_);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) throw SqlError(begin.lastError().text());
    return;
  }
  if (!db_.transaction()) throw SqlError(db_.lastError().text());
}

Transaction::~Transaction() {
  if (!done_) db_.rollback();
}

void Transaction::commit() {
  if (!db_.commit()) throw SqlError(db_.lastError().text());
  done_ = true;
}

void lockForNumbering(const QSqlDatabase& db, const QString& table) {
  waitForTurn(db, QStringLiteral("numeracao:") + table);
}

void waitForTurn(const QSqlDatabase& db, const QString& key) {
  if (db.driverName() != QLatin1String("QPSQL")) return;
  runSql(db, QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"), {key});
}

bool writeTablesInTransaction(const QSqlDatabase& db, const QString& fallback,
                              const std::function<void(QString& table)>& work) {
  QString detail = fallback;
  try {
    Transaction transaction(db);
    work(detail);
    detail = fallback;
    transaction.commit();
    return true;
  } catch (const std::exception& e) {
    appendToLog(
        QStringLiteral("Gravando na tabela %1: %2").arg(detail, QString::fromUtf8(e.what())));
    MENSAGEM(QStringLiteral("!"), Msg::GravandoNaTabela, detail);
    return false;
  }
}

bool writeInTransaction(const QSqlDatabase& db, const QString& detail,
                        const std::function<void()>& work) {
  return writeTablesInTransaction(db, detail, [&](QString&) { work(); });
}
