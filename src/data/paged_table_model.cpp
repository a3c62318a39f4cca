#include "data/paged_table_model.h"

#include <QSqlError>
#include <QSqlQuery>

#include "data/sql.h"

namespace {
// Only a handful of pages stay in memory, however far the user scrolls.
constexpr int kPagesKept = 16;
}  // namespace

PagedTableModel::PagedTableModel(const QSqlDatabase& db, const Dialect& dialect,
                                 const QString& table, QList<Column> columns, QStringList key,
                                 QObject* parent)
    : QAbstractTableModel(parent),
      db_(db),
      dialect_(dialect),
      table_(table),
      columns_(std::move(columns)),
      key_(std::move(key)),
      order_(key_) {}

QString PagedTableModel::orderBy() const {
  QStringList columns = order_;
  for (const QString& k : key_)
    if (!columns.contains(k, Qt::CaseInsensitive)) columns << k;
  return columns.join(QStringLiteral(", "));
}

void PagedTableModel::setOrder(const QStringList& columns) {
  beginResetModel();
  order_ = columns.isEmpty() ? key_ : columns;
  pages_.clear();
  endResetModel();
}

bool PagedTableModel::refresh() {
  beginResetModel();
  pages_.clear();
  try {
    rows_ = scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table_)).toInt();
    valid_ = true;
    lastError_.clear();
  } catch (const SqlError& e) {
    rows_ = 0;
    valid_ = false;
    lastError_ = e.text();
  }
  endResetModel();
  return valid_;
}

bool PagedTableModel::loadPage(int page) const {
  if (pages_.contains(page)) return true;
  if (pages_.size() >= kPagesKept) pages_.clear();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(
      QStringLiteral("SELECT * FROM %1 ORDER BY %2 LIMIT ? OFFSET ?").arg(table_, orderBy()));
  query.addBindValue(kPageSize);
  query.addBindValue(page * kPageSize);
  if (!query.exec()) return false;
  QList<QSqlRecord> records;
  records.reserve(kPageSize);
  while (query.next()) records.append(query.record());
  pages_.insert(page, records);
  return true;
}

QSqlRecord PagedTableModel::record(int row) const {
  if (row < 0 || row >= rows_) return {};
  const int page = row / kPageSize;
  if (!loadPage(page)) return {};
  const QList<QSqlRecord>& records = pages_.value(page);
  const int at = row % kPageSize;
  return at < records.size() ? records[at] : QSqlRecord();
}

int PagedTableModel::countWhere(const QString& condition, const QVariantList& values) const {
  return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table_, condition),
                   values)
      .toInt();
}

int PagedTableModel::rowAtOrAfter(const QString& value, bool prefixOnly) const {
  if (!valid_ || rows_ == 0) return -1;
  const QString column = order_.first();
  try {
    // Rows with no value sort apart on each server; they are never what a search is after.
    int before = countWhere(QStringLiteral("%1 < ?").arg(column), {value});
    if (dialect_.nullsSortFirst())
      before += countWhere(QStringLiteral("%1 IS NULL").arg(column), {});
    if (before >= rows_) return -1;
    if (prefixOnly &&
        !record(before).value(column).toString().startsWith(value, Qt::CaseInsensitive))
      return -1;
    return before;
  } catch (const SqlError&) {
    return -1;
  }
}

int PagedTableModel::rowOfKey(const QVariant& value) const {
  if (!valid_ || rows_ == 0 || key_.isEmpty()) return -1;
  try {
    const QString key = key_.first();
    QSqlQuery found =
        runSql(db_, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table_, key), {value});
    if (!found.next()) return -1;
    const QSqlRecord target = found.record();
    // Its position in the current order: the rows that sort before it.
    QStringList conditions;
    QVariantList values;
    QStringList columns = order_;
    for (const QString& k : key_)
      if (!columns.contains(k, Qt::CaseInsensitive)) columns << k;
    // (a < x) OR (a = x AND b < y) OR ...
    for (int i = 0; i < columns.size(); ++i) {
      QStringList parts;
      for (int j = 0; j < i; ++j) {
        parts << QStringLiteral("%1 = ?").arg(columns[j]);
        values << target.value(columns[j]);
      }
      parts << QStringLiteral("%1 < ?").arg(columns[i]);
      values << target.value(columns[i]);
      conditions << QLatin1Char('(') + parts.join(QStringLiteral(" AND ")) + QLatin1Char(')');
    }
    return countWhere(conditions.join(QStringLiteral(" OR ")), values);
  } catch (const SqlError&) {
    return -1;
  }
}

int PagedTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int PagedTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(columns_.size());
}

QVariant PagedTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  const Column& column = columns_[index.column()];
  const QVariant value = record(index.row()).value(column.name);
  if (column.format) return column.format(value);
  return value.toString();
}

QVariant PagedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal && section >= 0 && section < columns_.size())
    return columns_[section].title;
  return {};
}
