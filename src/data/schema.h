// The tables of the four databases the program works with, described as plain data,
// and the one place that creates them.
//
// Identifiers are written unquoted, spelled as the program spells them everywhere else:
// PostgreSQL folds them to lower case and SQLite ignores case, so any later statement may
// write `SECVAR` or `Secvar` alike. The only exception are names that cannot be written
// unquoted at all (the prescription's `2X` ... `5X`): those are created quoted in lower
// case, which is what an unquoted name would have become.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "data/dialect.h"

struct ColumnDef {
  QString name;
  ColumnType type;
  int size = 0;  // characters, for Text
};

struct IndexDef {
  QString name;
  QStringList columns;
  bool unique = false;
};

struct TableDef {
  QString name;
  QList<ColumnDef> columns;
  QList<IndexDef> indexes;

  // The column called `name` (case-insensitive), or nullptr.
  const ColumnDef* column(const QString& name) const;
};

enum class Database {
  Workout,        // the program's own database
  GymManagement,  // the tables of the gym-management database the program touches
  Portal,         // the members' web portal
  Assessment,     // the tables of the physical-assessment database the program reads
};

const QList<TableDef>& tablesOf(Database database);

// The column lists the series tables (and their portal copies) share: the weekday flags,
// Sunday first, and the 23 stretches ("Alogamento_01" … "Alogamento_23", as stored data
// spells them).
const QStringList& weekdayColumns();
const QStringList& stretchColumns();

// The table called `name` in `database` (case-insensitive), or nullptr.
const TableDef* findTable(Database database, const QString& name);

// The identifier as it goes into SQL: unquoted when SQL allows it, else quoted lower case.
QString sqlIdentifier(const QString& name);

// A value read from a column, as the C++ type of the column's type: SQLite hands flags back
// as numbers and dates as text. A null stays an invalid QVariant.
QVariant typedValue(const QVariant& raw, ColumnType type);

QString createTableSql(const TableDef& table, const Dialect& dialect);
QStringList createIndexSql(const TableDef& table, const Dialect& dialect);

// The names of the database's tables, lower-cased. Throws SqlError when they cannot be listed.
QStringList existingTables(const QSqlDatabase& db, const Dialect& dialect);

// The indexes the grids read their pages by: every order a grid offers, ties broken by the
// grid's key. A new workout database gets them with its tables; the start-up upkeep adds the
// missing ones to an older database.
struct GridIndex {
  QString table;
  IndexDef index;
};
const QList<GridIndex>& gridIndexes();
// CREATE INDEX IF NOT EXISTS: a plain index, even where the table's own index of that name
// is unique.
QString createGridIndexSql(const GridIndex& grid);

// The names of the database's indexes, lower-cased. Throws SqlError when they cannot be listed.
QStringList existingIndexes(const QSqlDatabase& db, const Dialect& dialect);

struct SchemaReport {
  QStringList created;  // tables created by the call, as the definitions spell them
  QString error;        // what failed; empty on success
  bool ok() const { return error.isEmpty(); }
};

// Creates, with their indexes, the tables of `database` that do not exist yet, all in one
// transaction. Existing tables are never altered or dropped. On any failure nothing of the
// call remains and `error` says what failed.
SchemaReport createMissingTables(const QSqlDatabase& db, const Dialect& dialect, Database database);
SchemaReport createMissingTables(const QSqlDatabase& db, const Dialect& dialect,
                                 const QList<TableDef>& tables);
