#include "data/paged_table_model.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

#include "data/sql.h"

namespace {

constexpr int kPageSize = 200;
// However far the user scrolls, no more rows than this stay in memory.
constexpr int kRunLimit = 16 * kPageSize;
// A row this close to the rows in memory is reached by reading on from them.
constexpr int kNear = 3 * kPageSize;
// Enough sampled rows to place a row of a million within a few percent of the scroll bar,
// few enough to read in a couple of milliseconds.
constexpr int kSampleRows = 1000;

// Rows without a value first; numbers as numbers; text as text. Only used to estimate, so
// a server collation that differs in detail costs precision, never a wrong row.
int compareValues(const QVariant& a, const QVariant& b) {
  if (a.isNull() || b.isNull()) return int(b.isNull()) - int(a.isNull());
  const auto numeric = [](const QVariant& v) {
    const int type = v.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double ||
           type == QMetaType::UInt || type == QMetaType::ULongLong;
  };
  if (numeric(a) && numeric(b)) {
    const double x = a.toDouble();
    const double y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return QString::compare(a.toString(), b.toString());
}

bool placeLess(const QVariantList& a, const QVariantList& b) {
  for (int i = 0; i < a.size() && i < b.size(); ++i)
    if (const int c = compareValues(a[i], b[i])) return c < 0;
  return false;
}

// "a > ?" or "(a, b) > (?, ?)".
QString comparison(const QStringList& columns, const char* op) {
  const QString marks = QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "));
  if (columns.size() == 1) return QStringLiteral("%1 %2 ?").arg(columns.first(), QLatin1String(op));
  return QStringLiteral("(%1) %2 (%3)")
      .arg(columns.join(QStringLiteral(", ")), QLatin1String(op), marks);
}

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
      order_(key_) {
  buildParts();
}

void PagedTableModel::buildParts() {
  orderColumns_ = order_;
  for (const QString& k : key_)
    if (!orderColumns_.contains(k, Qt::CaseInsensitive)) orderColumns_ << k;
  // The rows without a value in the first column come first. Comparing with NULL is never
  // true, so those rows form a part of their own, read before the others on either server.
  const QString first = orderColumns_.first();
  parts_ = {{QStringLiteral("%1 IS NULL").arg(first), orderColumns_.mid(1)},
            {QStringLiteral("%1 IS NOT NULL").arg(first), orderColumns_}};
}

void PagedTableModel::clearRun() const {
  run_.clear();
  runStart_ = 0;
  runAtTop_ = runAtBottom_ = runExact_ = false;
}

void PagedTableModel::setOrder(const QStringList& columns) {
  beginResetModel();
  order_ = columns.isEmpty() ? key_ : columns;
  buildParts();
  clearRun();
  sample_.clear();
  sampled_ = false;
  sampleAhead();
  endResetModel();
}

// The sample is read when the order or the data is set, never on a keystroke: a search
// that lands in the middle of a large table then only reads its own rows.
void PagedTableModel::sampleAhead() const {
  if (!valid_ || rows_ <= 2 * (reach_ + kPageSize)) return;
  try {
    takeSample();
  } catch (const SqlError&) {
    sample_.clear();  // the estimates fall back on the middle of the table
  }
}

bool PagedTableModel::refresh() {
  // The row in view (the grid's current row when it is in memory) keeps its number.
  int anchorRow = -1;
  Place anchor;
  if (!run_.isEmpty()) {
    anchorRow = runStart_ + int(run_.size()) / 2;
    for (const QModelIndex& index : persistentIndexList())
      if (index.row() >= runStart_ && index.row() < runEnd()) {
        anchorRow = index.row();
        break;
      }
    anchor = placeOf(run_[anchorRow - runStart_]);
  }
  beginResetModel();
  clearRun();
  sample_.clear();
  sampled_ = false;
  try {
    rows_ = scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table_)).toInt();
    valid_ = true;
    lastError_.clear();
    sampleAhead();
  } catch (const SqlError& e) {
    rows_ = 0;
    valid_ = false;
    lastError_ = e.text();
  }
  endResetModel();
  if (valid_ && anchorRow >= 0 && rows_ > 0) {
    try {
      if (placeRun(anchor, qMin(anchorRow, rows_ - 1), true) < 0) anchorAt(rows_ - 1);
    } catch (const SqlError&) {
      clearRun();
    }
  }
  return valid_;
}

PagedTableModel::Place PagedTableModel::placeOf(const QSqlRecord& record) const {
  Place place;
  for (const QString& c : orderColumns_) place << record.value(c);
  return place;
}

int PagedTableModel::partOf(const Place& place) const {
  return place.first().isNull() ? 0 : 1;
}

QVariantList PagedTableModel::valuesIn(int part, const Place& place) const {
  return part == 0 ? place.mid(1) : place;
}

QList<QSqlRecord> PagedTableModel::select(int part, const QString& bound,
                                          const QVariantList& values, bool descending,
                                          int limit) const {
  const Part& p = parts_[part];
  QStringList order;
  for (const QString& c : p.columns) order << (descending ? c + QStringLiteral(" DESC") : c);
  QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table_, p.where);
  if (!bound.isEmpty()) sql += QStringLiteral(" AND ") + bound;
  if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
  sql += QStringLiteral(" LIMIT ?");
  QVariantList bindings = values;
  bindings << limit;
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.prepare(sql)) throw SqlError(query.lastError().text());
  for (const QVariant& v : bindings) query.addBindValue(v);
  if (!query.exec()) throw SqlError(query.lastError().text());
  QList<QSqlRecord> records;
  while (query.next()) records.append(query.record());
  return records;
}

QList<QSqlRecord> PagedTableModel::readAfter(const Place* from, bool inclusive, int count) const {
  QList<QSqlRecord> rows;
  int part = from ? partOf(*from) : 0;
  if (from) {
    const QStringList& columns = parts_[part].columns;
    // Without columns to order by, the rows of a part cannot be told apart: go on after it.
    if (!columns.isEmpty())
      rows = select(part, comparison(columns, inclusive ? ">=" : ">"), valuesIn(part, *from), false,
                    count);
    ++part;
  }
  for (; part < parts_.size() && rows.size() < count; ++part)
    rows += select(part, {}, {}, false, count - int(rows.size()));
  return rows;
}

QList<QSqlRecord> PagedTableModel::readBefore(const Place* from, int count) const {
  QList<QSqlRecord> rows;  // nearest first
  int part = from ? partOf(*from) : int(parts_.size()) - 1;
  if (from) {
    const QStringList& columns = parts_[part].columns;
    if (!columns.isEmpty())
      rows = select(part, comparison(columns, "<"), valuesIn(part, *from), true, count);
    --part;
  }
  for (; part >= 0 && rows.size() < count; --part)
    rows += select(part, {}, {}, true, count - int(rows.size()));
  std::reverse(rows.begin(), rows.end());
  return rows;
}

int PagedTableModel::cappedCount(int part, const QString& bound, const QVariantList& values,
                                 int cap, bool descending) const {
  QString inner = QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(table_, parts_[part].where);
  if (!bound.isEmpty()) inner += QStringLiteral(" AND ") + bound;
  // Counted in the grid's order from the bound: the server walks the order's index for at most
  // `cap` rows. Without the order a reused plan may scan the table until it has found them.
  QStringList order;
  for (const QString& c : parts_[part].columns)
    order << (descending ? c + QStringLiteral(" DESC") : c);
  if (!order.isEmpty()) inner += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
  QVariantList bindings = values;
  bindings << cap;
  return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM (%1 LIMIT ?) AS counted").arg(inner),
                   bindings)
      .toInt();
}

int PagedTableModel::countBefore(const Place& place, int cap) const {
  const int part = partOf(place);
  const QStringList& columns = parts_[part].columns;
  int counted = columns.isEmpty()
                    ? 0
                    : cappedCount(part, comparison(columns, "<"), valuesIn(part, place), cap, true);
  for (int p = part - 1; p >= 0 && counted < cap; --p)
    counted += cappedCount(p, {}, {}, cap - counted, true);
  return counted;
}

int PagedTableModel::countAfter(const Place& place, int cap) const {
  const int part = partOf(place);
  const QStringList& columns = parts_[part].columns;
  int counted = columns.isEmpty() ? 0
                                  : cappedCount(part, comparison(columns, ">"),
                                                valuesIn(part, place), cap, false);
  for (int p = part + 1; p < parts_.size() && counted < cap; ++p)
    counted += cappedCount(p, {}, {}, cap - counted, false);
  return counted;
}

void PagedTableModel::takeSample() const {
  if (sampled_) return;
  sampled_ = true;
  sample_.clear();
  const QString columns = orderColumns_.join(QStringLiteral(", "));
  const double share = rows_ > 0 ? double(kSampleRows) / rows_ : 1.0;
  QSqlQuery query =
      runSql(db_, dialect_.sampleSql(table_, columns), dialect_.sampleValues(kSampleRows, share));
  while (query.next()) {
    Place place;
    for (int i = 0; i < orderColumns_.size(); ++i) place << query.value(i);
    sample_ << place;
  }
  std::sort(sample_.begin(), sample_.end(), placeLess);
}

int PagedTableModel::estimatedRow(const Place& place) const {
  takeSample();
  if (sample_.isEmpty()) return rows_ / 2;
  const auto at = std::lower_bound(sample_.cbegin(), sample_.cend(), place, placeLess);
  return int(qint64(at - sample_.cbegin()) * rows_ / sample_.size());
}

int PagedTableModel::placeRun(const Place& place, int wish, bool countEnds) const {
  const QList<QSqlRecord> after = readAfter(&place, true, kPageSize);
  if (after.isEmpty()) return -1;
  const QList<QSqlRecord> before = readBefore(&place, kPageSize);
  const int nBefore = int(before.size());
  const int nAfter = int(after.size());
  int at = -1;
  if (nBefore < kPageSize) {
    at = nBefore;
  } else if (nAfter < kPageSize) {
    at = rows_ - nAfter;
  } else if (countEnds) {
    const int head = countBefore(place, reach_);
    if (head < reach_) at = head;
    const int tail = at < 0 ? countAfter(place, reach_) : reach_;
    if (tail < reach_) at = rows_ - 1 - tail;
  }
  runExact_ = at >= 0;
  if (at < 0) {
    // Far from both ends: an estimate, kept clear of the rows numbered exactly.
    at = wish >= 0 ? wish : estimatedRow(place);
    at = qBound(qMin(reach_, rows_ - 1), at, qMax(0, rows_ - 1 - reach_));
  }
  // A count taken before rows came or went elsewhere must not push rows off either end.
  at = qMax(at, nBefore);
  run_ = before + after;
  runStart_ = at - nBefore;
  runAtTop_ = nBefore < kPageSize;
  runAtBottom_ = nAfter < kPageSize;
  scheduleSettle();
  return at;
}

void PagedTableModel::anchorAt(int row) const {
  clearRun();
  if (row < reach_ + kPageSize) {
    run_ = readAfter(nullptr, false, row + kPageSize);
    runAtTop_ = true;
    runAtBottom_ = run_.size() < row + kPageSize;
    runExact_ = true;
    trimRun(true);
  } else if (row >= rows_ - reach_ - kPageSize) {
    const int wanted = rows_ - row + kPageSize;
    run_ = readBefore(nullptr, wanted);
    runStart_ = rows_ - int(run_.size());
    runAtBottom_ = true;
    runAtTop_ = run_.size() < wanted;
    runExact_ = true;
    trimRun(false);
  } else {
    // A jump into the middle (the scroll bar dragged): the sampled row nearest that share of
    // the table, placed where the user asked for it.
    takeSample();
    if (sample_.isEmpty()) return;
    const Place place = sample_[int(qint64(row) * sample_.size() / rows_)];
    placeRun(place, row, false);
  }
  scheduleSettle();
}

void PagedTableModel::trimRun(bool keepEnd) const {
  const int extra = int(run_.size()) - kRunLimit;
  if (extra <= 0) return;
  if (keepEnd) {
    run_.remove(0, extra);
    runStart_ += extra;
    runAtTop_ = false;
  } else {
    run_.remove(run_.size() - extra, extra);
    runAtBottom_ = false;
  }
}

void PagedTableModel::extendForward(int count) const {
  const Place last = placeOf(run_.last());
  const QList<QSqlRecord> more = readAfter(&last, false, count);
  run_ += more;
  runAtBottom_ = more.size() < count;
  trimRun(true);
  scheduleSettle();
}

void PagedTableModel::extendBackward(int count) const {
  const Place first = placeOf(run_.first());
  const QList<QSqlRecord> more = readBefore(&first, count);
  run_ = more + run_;
  runStart_ -= int(more.size());
  runAtTop_ = more.size() < count;
  trimRun(false);
  scheduleSettle();
}

bool PagedTableModel::ensureRow(int row) const {
  if (row >= runStart_ && row < runEnd()) return true;
  try {
    if (run_.isEmpty()) {
      anchorAt(row);
    } else if (row >= runEnd()) {
      if (runAtBottom_) return false;  // numbered too high; the renumbering is on its way
      if (row - runEnd() < kNear)
        extendForward(row - runEnd() + kPageSize);
      else
        anchorAt(row);
    } else {
      if (runAtTop_) return false;
      if (runStart_ - row < kNear)
        extendBackward(runStart_ - row + kPageSize);
      else
        anchorAt(row);
    }
  } catch (const SqlError&) {
    clearRun();
    return false;
  }
  return row >= runStart_ && row < runEnd();
}

// How far the run must move so that it meets the ends of the table where the table ends.
int PagedTableModel::settleShift() const {
  if (run_.isEmpty()) return 0;
  if (runAtTop_) return -runStart_;
  if (runAtBottom_) return rows_ - runEnd();
  if (runStart_ < 0) return -runStart_;
  if (runEnd() > rows_) return rows_ - runEnd();
  // An estimate read on toward an end that is not there yet: make room to read on.
  if (!runExact_ && runStart_ < kPageSize) return qMax(0, qMin(reach_, rows_ - runEnd()));
  if (!runExact_ && runEnd() > rows_ - kPageSize) return -qMax(0, qMin(reach_, runStart_));
  return 0;
}

void PagedTableModel::scheduleSettle() const {
  if (settlePending_ || settleShift() == 0) return;
  settlePending_ = true;
  // The view may be painting: the rows are renumbered once it is done.
  QMetaObject::invokeMethod(const_cast<PagedTableModel*>(this), &PagedTableModel::settle,
                            Qt::QueuedConnection);
}

void PagedTableModel::settle() {
  settlePending_ = false;
  const int shift = settleShift();
  if (shift == 0) return;
  emit layoutAboutToBeChanged();
  for (const QModelIndex& index : persistentIndexList())
    changePersistentIndex(index,
                          this->index(qBound(0, index.row() + shift, rows_ - 1), index.column()));
  runStart_ += shift;
  runExact_ = runExact_ || runAtTop_ || runAtBottom_;
  emit layoutChanged();
}

QSqlRecord PagedTableModel::record(int row) const {
  if (!valid_ || row < 0 || row >= rows_) return {};
  if (!ensureRow(row)) return {};
  return run_[row - runStart_];
}

int PagedTableModel::runIndexOfKey(const QVariant& value) const {
  const QString key = key_.first();
  const QString wanted = value.toString();
  for (int i = 0; i < run_.size(); ++i)
    if (run_[i].value(key).toString() == wanted) return i;
  return -1;
}

int PagedTableModel::rowAtOrAfter(const QString& value, bool prefixOnly) const {
  if (!valid_ || rows_ == 0) return -1;
  const QString column = orderColumns_.first();
  try {
    // Rows with no value sort first; they are never what a search is after.
    const QList<QSqlRecord> found =
        select(1, QStringLiteral("%1 >= ?").arg(column), {value}, false, 1);
    if (found.isEmpty()) {
      if (prefixOnly) return -1;
      anchorAt(rows_ - 1);
      return rows_ - 1;
    }
    const QSqlRecord& row = found.first();
    if (prefixOnly && !row.value(column).toString().startsWith(value, Qt::CaseInsensitive))
      return -1;
    const int inRun = runIndexOfKey(row.value(key_.first()));
    if (inRun >= 0) return runStart_ + inRun;
    return placeRun(placeOf(row), -1, true);
  } catch (const SqlError&) {
    return -1;
  }
}

int PagedTableModel::rowOfKey(const QVariant& value) const {
  if (!valid_ || rows_ == 0 || key_.isEmpty()) return -1;
  const int inRun = runIndexOfKey(value);
  if (inRun >= 0) return runStart_ + inRun;
  try {
    QSqlQuery found = runSql(
        db_, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table_, key_.first()), {value});
    if (!found.next()) return -1;
    return placeRun(placeOf(found.record()), -1, true);
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
