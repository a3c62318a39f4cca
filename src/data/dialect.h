// The few places where SQLite and PostgreSQL differ, chosen by provider: the SQL each spells its
// own way, and the few jobs each engine does its own way (starting a write, taking a turn, loading
// many rows, copying and restoring a whole database). Everything else is written once in portable
// SQL, and nothing outside the dialects asks which engine it is on.
#pragma once

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

#include "data/link_file.h"

// Column types of the program's tables. Text sizes are characters.
enum class ColumnType {
  Text,      // VARCHAR(n)
  Memo,      // long text
  Date,      // a calendar date
  DateTime,  // date and time
  Bit,       // yes/no flag
  SmallInt,
  Int,
  Float,
  Decimal,   // fixed-point money
  Image,     // bytes (JPEG photos, logos)
  Identity,  // integer numbered by the server, the row's primary key
};

// Why a copy of a database may not replace it, from the row count of every table of the copy and
// of the database; empty when it may.
using CopyRefusal = std::function<QString(const QMap<QString, qint64>& copy,
                                          const QMap<QString, qint64>& database)>;

class Dialect {
 public:
  virtual ~Dialect() = default;

  static const Dialect& of(Provider provider);
  // The dialect of an open connection, told by its driver.
  static const Dialect& of(const QSqlDatabase& db);

  virtual Provider provider() const = 0;
  virtual QString qtDriver() const = 0;

  // The column's type as written in CREATE TABLE / ALTER TABLE ADD.
  virtual QString columnType(ColumnType type, int size = 0) const = 0;

  // An integer expression giving the year of a date column.
  virtual QString yearOf(const QString& column) const = 0;

  // A query returning one row per user table, its name in column 0. Every listing of the
  // program's tables (upkeep, backups, restores) goes through this one query: on PostgreSQL the
  // tables of the session's current schema.
  virtual QString listTablesSql() const = 0;

  // A query returning the name of every index of the current schema in column 0.
  virtual QString listIndexesSql() const = 0;

  // A query returning the database's size in bytes in column 0 of its one row.
  virtual QString sizeSql() const = 0;

  // Statements that give free space back to the system (run outside a transaction).
  virtual QStringList shrinkSql() const = 0;

  // A query returning a random sample of the table's rows, `columns` only, in no order;
  // `sampleValues` gives its bound values for about `rows` rows, `share` of the table.
  virtual QString sampleSql(const QString& table, const QString& columns) const = 0;
  virtual QVariantList sampleValues(int rows, double share) const = 0;

  // A query returning the engine's own idea of how many rows the table holds, without reading
  // it: an estimate that may be off after many changes, or null (or negative) when the engine
  // has none. `estimatedRowsValues` gives its bound values.
  virtual QString estimatedRowsSql(const QString& table) const = 0;
  virtual QVariantList estimatedRowsValues(const QString& table) const = 0;

  // A query returning, in order, the bounds of the engine's own histogram of `column` (its
  // one-column statistics, taken when the table is analysed), one per row, with `table` and
  // `column` as its two parameters; empty when the engine keeps none.
  virtual QString histogramSql() const = 0;

  // Whether rows without a value come first in an ascending order.
  virtual bool nullsSortFirst() const = 0;

  // A query counting the unique indexes named as its one parameter (0 or 1).
  virtual QString uniqueIndexCountSql() const = 0;

  // "ALTER TABLE t ADD c type" in the dialect's spelling.
  virtual QString addColumnSql(const QString& table, const QString& column,
                               const QString& type) const = 0;

  // The width in characters the engine holds the text column to; nothing when it keeps text of
  // any length in any text column (or the column has no limit). Throws SqlError.
  virtual std::optional<int> enforcedTextWidth(const QSqlDatabase& db, const QString& table,
                                               const QString& column) const = 0;

  // --- Connecting ------------------------------------------------------------------------------

  // Points `db` at the database `link` names, with the engine's own options; an embedded
  // database that does not exist yet is made (empty and private) when `create` allows. Why it
  // cannot be, when it cannot.
  virtual std::optional<QString> prepareConnection(QSqlDatabase& db, const LinkSpec& link,
                                                   bool create) const = 0;
  // What a freshly opened session needs before the program uses it.
  virtual void startSession(const QSqlDatabase& db) const = 0;
  // Why an open connection's database is gone although the handle still answers; nothing while
  // it is there.
  virtual std::optional<QString> databaseGone(const QSqlDatabase& db) const = 0;

  // --- Writing ---------------------------------------------------------------------------------

  // Begins a transaction on `db` that is going to write. Throws SqlError.
  virtual void beginWrite(const QSqlDatabase& db) const = 0;

  // Inside a write transaction: waits until no other transaction holds the turn named `key`, and
  // holds it until this one ends. Throws SqlError.
  virtual void waitForTurn(const QSqlDatabase& db, const QString& key) const = 0;

  // --- Many rows at once -----------------------------------------------------------------------

  // Adds `rows` (values in the order of `columns`) to `table` in a few large statements, never a
  // round trip per row, and lets the engine learn what the table now holds. Throws SqlError.
  virtual void bulkLoad(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                        const QList<QVariantList>& rows) const = 0;

  // Whether the rows of a query on `from` can go into a table of `to` (this dialect's) server to
  // server, without the program reading them.
  virtual bool streamsBetween(const QSqlDatabase& from, const QSqlDatabase& to) const;
  // The rows of `select` (no parameters), run on `from`, into `columns` of `table` on `to`, when
  // streamsBetween says they can. Throws SqlError.
  virtual void stream(const QSqlDatabase& from, const QString& select, const QSqlDatabase& to,
                      const QString& table, const QStringList& columns) const;

  // A condition true when the row value `now` (a list of expressions) differs from `then`, a
  // null differing from any value and equal to another null.
  virtual QString differsSql(const QString& now, const QString& then) const = 0;

  // A query giving `columns` of one row (any one) of each set of rows of `from` (a table or a
  // subquery, with its alias) alike in `keys`.
  virtual QString onePerKeySql(const QString& columns, const QString& keys,
                               const QString& from) const = 0;

  // A statement deleting the rows of `table` dated (`dateColumn`) before the latest date of their
  // group (the rows alike in `groupColumns`), among the rows `scope` admits: a condition on the
  // table's own columns, whose parameters are the statement's.
  virtual QString deleteBeforeLatestSql(const QString& table, const QStringList& groupColumns,
                                        const QString& dateColumn, const QString& scope) const = 0;

  // --- Whole-database copies -------------------------------------------------------------------

  // Every table listTablesSql names and its row count, by name. Throws SqlError.
  QMap<QString, qint64> rowCounts(const QSqlDatabase& db) const;

  // Writes a copy of the whole database open as `db` (reached through `link`) into the new file
  // `file`, and checks it: the copy must hold, in every table, the rows the database held at the
  // moment the copy was taken. The engine's own programs, when it needs them, are looked for
  // under `libraryRoot`. Throws SqlError with the reason; the file may be left behind.
  virtual void writeCheckedCopy(const QSqlDatabase& db, const LinkSpec& link, const QString& file,
                                const QString& libraryRoot) const = 0;

  // Puts the database of `link` back to the copy `file` made by writeCheckedCopy, once the copy
  // proves whole and `refusal` finds nothing against it; otherwise the database stays as it was.
  // The program's connections to the database must be closed first. False with the reason.
  virtual bool restoreCopy(const LinkSpec& link, const QString& file, const QString& libraryRoot,
                           const CopyRefusal& refusal, QString* why) const = 0;
};
