// A grid model over a table of any size. Rows are read by key: a page is the rows that follow
// (or precede) a known row in the chosen order, over an index that covers that order, so a
// page costs the same at the top of a million rows as at the bottom, and no keystroke counts
// the rows before a position.
//
// A search lands in one statement: the rows from the first one at or after the typed text and
// the page before it, read together. The rows are kept as plain values in one flat buffer, and
// every statement is prepared once per connection and run again with new values, by this grid
// and by the next one opened over the same table.
//
// Opening costs the same on any size of table: the number of rows is the engine's own estimate
// (a small table is counted), and it is counted exactly only when the grid reaches the end of
// the table, the one place where a row's number depends on it. Row numbers near the top are
// exact; elsewhere the number of a row the grid jumps to is an estimate from a small sample of
// the order (counted when the estimate puts it near an end), and its neighbours are read by
// key from it, so the rows around it are always exactly its neighbours. When reading on from
// an estimate meets an end of the table, the rows are renumbered (the current row stays on
// its record).
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <functional>
#include <optional>

#include "data/dialect.h"

class PagedTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Column {
    QString name;                                         // column of the table
    QString title;                                        // header shown on the grid
    std::function<QString(const QVariant&)> format = {};  // display text; plain text by default
  };

  // `key` names the column(s) that identify a row; they complete every order so that the
  // row positions are stable.
  PagedTableModel(const QSqlDatabase& db, const Dialect& dialect, const QString& table,
                  QList<Column> columns, QStringList key, QObject* parent = nullptr);

  // Only the rows that pass `where` (a condition on the table's columns with "?" for each of
  // `values`) are shown; no filter by default. Takes effect at the next refresh().
  void setFilter(const QString& where, const QVariantList& values);

  // Orders the rows by `columns` (then by the key). Rows without a value in the first order
  // column come first, on every server. Resets the model.
  void setOrder(const QStringList& columns);
  const QStringList& order() const { return order_; }
  const QStringList& key() const { return key_; }

  // Reads the table again (rows added or removed elsewhere count) and keeps the rows around
  // the one in view where they were. False when it cannot be read.
  bool refresh();
  bool isValid() const { return valid_; }
  const QString& lastError() const { return lastError_; }

  // The row where the first order column reaches `value` (rows before it compare lower). When
  // every row is lower: the last row, or -1 with `prefixOnly`; with `prefixOnly` also -1 when
  // that row's value does not begin with `value` (ignoring case).
  int rowAtOrAfter(const QString& value, bool prefixOnly) const;
  // The row whose key column equals `value` exactly, or -1.
  int rowOfKey(const QVariant& value) const;

  // Every column of the row (not only the shown ones); empty when out of range.
  QSqlRecord record(int row) const;

  // How many rows from either end of the table get exact row numbers (tests make it small).
  void setExactReach(int rows) { reach_ = rows; }
  // Tables estimated at up to this many rows are counted at every refresh (tests make it small).
  void setCountedUpTo(int rows) { countedUpTo_ = rows; }
  // How many statements the model has run since it was made: what a keystroke costs.
  int statementsRun() const { return statementsRun_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  // The values of the order columns (then the key) of one row: its place in the order.
  using Place = QVariantList;
  // The order read as parts: the rows without a value in the first column, then the rest.
  struct Part {
    QString where;
    QStringList columns;  // the order inside the part
  };
  // Rows as read: every column of each row, one row after another.
  struct Rows {
    QVariantList cells;
    int count = 0;
  };
  // One SELECT of a read: rows of a part from a bound on, in the part's order or against it.
  struct Branch {
    int part = 0;
    QString bound;
    QVariantList values;
    bool descending = false;
  };

  void buildParts();
  void sampleAhead() const;
  QString partWhere(int part) const;
  Place placeOf(const QVariantList& cells, int row) const;
  int partOf(const Place& place) const;
  QVariantList valuesIn(int part, const Place& place) const;

  QSqlQuery& run(const QString& sql, const QVariantList& values) const;
  // Up to `limit` rows of each branch, all read by one statement: rows[i] holds branch i's.
  QList<Rows> fetch(const QList<Branch>& branches, int limit) const;
  void learnColumns(const QSqlRecord& record, int offset) const;

  // The rows of a landing on the first row whose first order column is at or after `value`:
  // [0] from it on, [1] and [2] before it, nearest first.
  QList<Rows> landing(const QVariant& value) const;
  // The branches that read on after `from` (from the top when null), and back before it.
  QList<Branch> branchesAfter(const Place* from, bool inclusive) const;
  QList<Branch> branchesBefore(const Place* from) const;
  // Up to `count` rows after `from` (ascending); from the top when `from` is null.
  Rows readAfter(const Place* from, bool inclusive, int count) const;
  // Up to `count` rows before `from` (ascending); the last rows when `from` is null.
  Rows readBefore(const Place* from, int count) const;
  // How many rows sort before (after) `place`, counting no further than `cap`.
  int countBefore(const Place& place, int cap) const;
  int countAfter(const Place& place, int cap) const;
  int cappedCount(int part, const QString& bound, const QVariantList& values, int cap,
                  bool descending) const;

  void takeSample() const;
  int estimatedRow(const Place& place) const;
  // The rows of the table, counted; the count waits to be shown until the view is done.
  int exactTotal() const;

  // Takes `after` (from the place on) and `before` (nearest first) as the rows in memory and
  // numbers the place: exactly near the ends, else `wish` (or the estimate when `wish` < 0).
  // Returns its row, -1 when there is no row at or after it.
  int placeRun(const Place& place, Rows after, Rows before, int wish, bool countEnds) const;
  int placeRun(const Place& place, int wish, bool countEnds) const;
  bool ensureRow(int row) const;
  void anchorAt(int row) const;
  void extendForward(int count) const;
  void extendBackward(int count) const;
  void trimRun(bool keepEnd) const;
  int runIndexOfKey(const QVariant& value) const;
  int runEnd() const { return runStart_ + runCount_; }
  const QVariant& cell(int runRow, int column) const { return run_[runRow * width_ + column]; }
  int settleShift() const;
  void scheduleSettle() const;
  void settle();
  void clearRun() const;

  QSqlDatabase db_;
  const Dialect& dialect_;
  QString table_;
  QList<Column> columns_;
  QStringList key_;
  QStringList order_;
  QStringList orderColumns_;  // order_ then the key
  QList<Part> parts_;
  QString filter_;
  QVariantList filterValues_;
  int rows_ = 0;  // estimated or counted at refresh; counted again at the end of the table
  mutable std::optional<int> exact_;  // the count taken since, not shown yet when it differs
  int reach_ = 1000;  // a row whose estimate falls this near an end is counted
  int countedUpTo_ = 50000;
  bool valid_ = false;
  QString lastError_;

  // The table's columns as a query returns them, and where the shown and order columns are.
  mutable QSqlRecord shape_;
  mutable int width_ = 0;
  mutable QList<int> shown_;
  mutable QList<int> placeColumns_;
  mutable int statementsRun_ = 0;

  // The rows in memory: one run of neighbours, numbered from runStart_.
  mutable QVariantList run_;
  mutable int runCount_ = 0;
  mutable int runStart_ = 0;
  mutable bool runAtTop_ = false;     // nothing sorts before the run
  mutable bool runAtBottom_ = false;  // nothing sorts after it
  mutable bool runExact_ = false;     // its numbers are counted, not estimated
  mutable bool settlePending_ = false;
  mutable QList<Place> sample_;  // sorted; taken once per order and refresh
  mutable bool sampled_ = false;
};
