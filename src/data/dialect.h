// The few places where SQLite and PostgreSQL differ, chosen by provider.
// Everything else is written once in portable SQL.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

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

class Dialect {
 public:
  virtual ~Dialect() = default;

  static const Dialect& of(Provider provider);

  virtual Provider provider() const = 0;
  virtual QString qtDriver() const = 0;

  // The column's type as written in CREATE TABLE / ALTER TABLE ADD.
  virtual QString columnType(ColumnType type, int size = 0) const = 0;

  // An integer expression giving the year of a date column.
  virtual QString yearOf(const QString& column) const = 0;

  // A query returning one row per user table, its name in column 0.
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
};
