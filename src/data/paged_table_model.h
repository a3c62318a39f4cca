// A grid model over a table of any size: it counts the rows, fetches them a page at a time
// in the chosen order, and finds the row where a value would sit with an indexed query, so
// a registry of 100,000 members opens and searches at once.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
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

  // Orders the rows by `columns` (then by the key). Resets the model.
  void setOrder(const QStringList& columns);
  const QStringList& order() const { return order_; }
  const QStringList& key() const { return key_; }

  // Reads the table again (rows added or removed elsewhere count). False when it cannot be read.
  bool refresh();
  bool isValid() const { return valid_; }
  const QString& lastError() const { return lastError_; }

  // The row where the first order column reaches `value` (rows before it compare lower), or -1
  // when every row is lower. With `prefixOnly`, -1 also when that row's value does not begin
  // with `value` (ignoring case).
  int rowAtOrAfter(const QString& value, bool prefixOnly) const;
  // The row whose key column equals `value` exactly, or -1.
  int rowOfKey(const QVariant& value) const;

  // Every column of the row (not only the shown ones); empty when out of range.
  QSqlRecord record(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  static constexpr int kPageSize = 200;

  QString orderBy() const;
  bool loadPage(int page) const;
  int countWhere(const QString& condition, const QVariantList& values) const;

  QSqlDatabase db_;
  const Dialect& dialect_;
  QString table_;
  QList<Column> columns_;
  QStringList key_;
  QStringList order_;
  int rows_ = 0;
  bool valid_ = false;
  QString lastError_;
  mutable QHash<int, QList<QSqlRecord>> pages_;
};
