// Running statements: every value is a bound parameter, every failure an exception
// that the writing and opening patterns turn into the program's messages.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>
#include <functional>
#include <stdexcept>

#include "base/failure.h"

class SqlError : public std::runtime_error {
 public:
  explicit SqlError(const QString& what) : std::runtime_error(what.toStdString()), text_(what) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

// Prepares `sql`, binds `values` to its "?" or ":name" placeholders in order and runs it.
// Throws SqlError on any failure.
QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// The same as runSql, through a statement prepared once per connection and kept until the
// connection closes: on PostgreSQL one round trip a run instead of a prepare, an execute and a
// deallocate. For the statements a window or a save runs again and again. The query returned
// is the kept statement itself: read it (or finish() it) before the same statement runs again,
// and never past the connection's closing.
QSqlQuery& runPrepared(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});
// Lets go of the statements kept for the connection `connectionName` (it is closing).
void forgetPrepared(const QString& connectionName);

// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalarSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// True when `sql` can be prepared and run (a probe); the failure is not reported.
bool sqlRuns(const QSqlDatabase& db, const QString& sql);

// A transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(const QSqlDatabase& db);  // throws SqlError when it cannot begin
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();  // throws SqlError

 private:
  QSqlDatabase db_;
  bool done_ = false;
};

// Inside a write transaction: waits until no other transaction is numbering `table`, so two
// workstations never pick the same next number. (A SQLite write transaction already holds
// the whole database.)
void lockForNumbering(const QSqlDatabase& db, const QString& table);

// Inside a write transaction: waits until no other transaction holds the turn named `key`, and
// holds it until this one ends. Two workstations writing the same rows (the same member's
// series, say) then write one after the other instead of into each other. (A SQLite write
// transaction already holds the whole database.)
void waitForTurn(const QSqlDatabase& db, const QString& key);

// The writing pattern of every confirm: `work` runs in one transaction; any failure rolls
// back and comes back as "Gravando na tabela !" with `detail` (the table's or function's
// name) and the cause for the log. Done when committed.
Outcome writeInTransaction(const QSqlDatabase& db, const QString& detail,
                           const std::function<void()>& work);
// The failure a write reports when `cause` stopped it while writing `table`.
Failure writeFailure(const QString& table, const QString& cause);

// The same pattern for writes that touch several tables: `work` sets `table` before each
// statement, so the message names the table that failed; `fallback` names failures outside
// them (beginning, commit).
Outcome writeTablesInTransaction(const QSqlDatabase& db, const QString& fallback,
                                 const std::function<void(QString& table)>& work);
