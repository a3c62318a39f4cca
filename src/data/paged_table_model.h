// A grid model over a table of any size. Rows are read by key: a page is the rows that follow
// (or precede) a known row in the chosen order, over an index that covers that order, so a
// page costs the same at the top of a million rows as at the bottom, and no keystroke counts
// the rows before a position.
//
// Row numbers near either end of the table are exact; in the middle of a large table the
// number of a row the grid jumps to is an estimate from a small sample of the order, and its
// neighbours are read by key from it, so the rows around it are always exactly its
// neighbours. When reading on from an estimate meets an end of the table, the rows are
// renumbered (the current row stays on its record).
#pragma once

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <functional>

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

  void buildParts();
  void sampleAhead() const;
  Place placeOf(const QSqlRecord& record) const;
  int partOf(const Place& place) const;
  QVariantList valuesIn(int part, const Place& place) const;
  QList<QSqlRecord> select(int part, const QString& bound, const QVariantList& values,
                           bool descending, int limit) const;
  // Up to `count` rows from `from` on (ascending); from the top when `from` is null.
  QList<QSqlRecord> readAfter(const Place* from, bool inclusive, int count) const;
  // Up to `count` rows before `from` (ascending); the last rows when `from` is null.
  QList<QSqlRecord> readBefore(const Place* from, int count) const;
  // How many rows sort before (after) `place`, counting no further than `cap`.
  int countBefore(const Place& place, int cap) const;
  int countAfter(const Place& place, int cap) const;
  int cappedCount(int part, const QString& bound, const QVariantList& values, int cap,
                  bool descending) const;

  void takeSample() const;
  int estimatedRow(const Place& place) const;

  // Reads the rows around `place` and numbers it: exactly near the ends, else `wish` (or the
  // estimate when `wish` < 0). Returns its row, -1 when no row is at or after it.
  int placeRun(const Place& place, int wish, bool countEnds) const;
  bool ensureRow(int row) const;
  void anchorAt(int row) const;
  void extendForward(int count) const;
  void extendBackward(int count) const;
  void trimRun(bool keepEnd) const;
  int runIndexOfKey(const QVariant& value) const;
  int runEnd() const { return runStart_ + int(run_.size()); }
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
  int rows_ = 0;      // counted at refresh
  int reach_ = 1000;  // each search counts up to this many rows either way
  bool valid_ = false;
  QString lastError_;

  // The rows in memory: one run of neighbours, numbered from runStart_.
  mutable QList<QSqlRecord> run_;
  mutable int runStart_ = 0;
  mutable bool runAtTop_ = false;     // nothing sorts before the run
  mutable bool runAtBottom_ = false;  // nothing sorts after it
  mutable bool runExact_ = false;     // its numbers are counted, not estimated
  mutable bool settlePending_ = false;
  mutable QList<Place> sample_;  // sorted; taken once per order and refresh
  mutable bool sampled_ = false;
};
