#include "data/paged_table_model.h"

#include <QSqlError>
#include <QSqlField>
#include <algorithm>

#include "data/sql.h"

namespace {

constexpr int kPageSize = 200;
// A search lands on a page around its row, half read before it and half from it on: what the
// grid shows and room to move, and no more rows than the engine itself would hand a page.
constexpr int kLandingSide = kPageSize / 2;
// However far the user scrolls, no more rows than this stay in memory.
constexpr int kRunLimit = 16 * kPageSize;
// A row this close to the rows in memory is reached by reading on from them.
constexpr int kNear = 3 * kPageSize;
// Enough sampled rows to place a row of a million within a few percent of the scroll bar,
// few enough to read in a couple of milliseconds.
constexpr int kSampleRows = 1000;
// The column that tells, in a statement made of several SELECTs, which one a row came from.
const QString kBranchColumn = QStringLiteral("vantrel_ramo");

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

void PagedTableModel::setFilter(const QString& where, const QVariantList& values) {
  filter_ = where;
  filterValues_ = values;
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
  placeColumns_.clear();  // found again in the next rows read
}

QString PagedTableModel::partWhere(int part) const {
  if (filter_.isEmpty()) return parts_[part].where;
  return QStringLiteral("%1 AND (%2)").arg(parts_[part].where, filter_);
}

void PagedTableModel::clearRun() const {
  run_.clear();
  runCount_ = 0;
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
  if (runCount_ > 0 && !placeColumns_.isEmpty()) {
    anchorRow = runStart_ + runCount_ / 2;
    for (const QModelIndex& index : persistentIndexList())
      if (index.row() >= runStart_ && index.row() < runEnd()) {
        anchorRow = index.row();
        break;
      }
    anchor = placeOf(run_, anchorRow - runStart_);
  }
  beginResetModel();
  clearRun();
  sample_.clear();
  sampled_ = false;
  exact_.reset();
  try {
    // The engine's own idea of the size costs nothing on any table; a small table (or a
    // filtered list) is counted, so its rows are exactly those it has.
    std::optional<qint64> estimate;
    if (filter_.isEmpty()) {
      const QVariant value =
          scalarSql(db_, dialect_.estimatedRowsSql(table_), dialect_.estimatedRowsValues(table_));
      if (!value.isNull() && value.toLongLong() > countedUpTo_) estimate = value.toLongLong();
    }
    rows_ = estimate ? int(qMin<qint64>(*estimate, INT_MAX)) : exactTotal();
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

int PagedTableModel::exactTotal() const {
  if (exact_) return *exact_;
  QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(table_);
  if (!filter_.isEmpty()) sql += QStringLiteral(" WHERE ") + filter_;
  QSqlQuery& query = run(sql, filterValues_);
  const int counted = query.next() ? query.value(0).toInt() : 0;
  query.finish();
  exact_ = counted;
  return counted;
}

PagedTableModel::Place PagedTableModel::placeOf(const QVariantList& cells, int row) const {
  Place place;
  for (int column : placeColumns_) place << cells[row * width_ + column];
  return place;
}

int PagedTableModel::partOf(const Place& place) const {
  return place.first().isNull() ? 0 : 1;
}

QVariantList PagedTableModel::valuesIn(int part, const Place& place) const {
  return part == 0 ? place.mid(1) : place;
}

QSqlQuery& PagedTableModel::run(const QString& sql, const QVariantList& values) const {
  // The connection's own kept statement: a window opened again, or another grid over the same
  // table, runs what the last one prepared.
  ++statementsRun_;
  return runPrepared(db_, sql, values);
}

void PagedTableModel::learnColumns(const QSqlRecord& record, int offset) const {
  if (!placeColumns_.isEmpty()) return;
  shape_.clear();
  for (int i = offset; i < record.count(); ++i) {
    QSqlField field = record.field(i);
    field.clear();
    shape_.append(field);
  }
  width_ = shape_.count();
  shown_.clear();
  for (const Column& c : columns_) shown_ << int(shape_.indexOf(c.name));
  for (const QString& c : orderColumns_) placeColumns_ << int(shape_.indexOf(c));
}

QList<PagedTableModel::Rows> PagedTableModel::fetch(const QList<Branch>& branches,
                                                    int limit) const {
  const bool several = branches.size() > 1;
  QStringList selects;
  QVariantList values;
  for (int i = 0; i < branches.size(); ++i) {
    const Branch& b = branches[i];
    // A branch of no part reads wherever its bound finds the row.
    const QString where = b.part >= 0 ? partWhere(b.part)
                                      : (filter_.isEmpty() ? QStringLiteral("1 = 1") : filter_);
    QString sql = several ? QStringLiteral("SELECT %1 AS %2, * FROM %3 WHERE %4")
                                .arg(QString::number(i), kBranchColumn, table_, where)
                          : QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table_, where);
    values += filterValues_;
    if (!b.bound.isEmpty()) sql += QStringLiteral(" AND ") + b.bound;
    values += b.values;
    QStringList order;
    for (const QString& c : b.part >= 0 ? parts_[b.part].columns : QStringList())
      order << (b.descending ? c + QStringLiteral(" DESC") : c);
    if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    sql += QStringLiteral(" LIMIT ?");
    values << limit;
    selects << (several ? QStringLiteral("SELECT * FROM (%1) AS r%2").arg(sql).arg(i) : sql);
  }
  // One statement for all of them: each SELECT keeps its own order, and the engine hands the
  // SELECTs of a UNION ALL back one after the other.
  QSqlQuery& query = run(selects.join(QStringLiteral(" UNION ALL ")), values);
  const int offset = several ? 1 : 0;
  QList<Rows> rows(branches.size());
  bool first = true;
  while (query.next()) {
    if (first) {
      learnColumns(query.record(), offset);
      first = false;
    }
    Rows& into = rows[several ? query.value(0).toInt() : 0];
    for (int c = 0; c < width_; ++c) into.cells << query.value(offset + c);
    ++into.count;
  }
  query.finish();
  return rows;
}

QList<PagedTableModel::Branch> PagedTableModel::branchesAfter(const Place* from,
                                                              bool inclusive) const {
  QList<Branch> branches;
  int part = from ? partOf(*from) : 0;
  if (from) {
    const QStringList& columns = parts_[part].columns;
    // Without columns to order by, the rows of a part cannot be told apart: go on after it.
    if (!columns.isEmpty())
      branches << Branch{part, comparison(columns, inclusive ? ">=" : ">"), valuesIn(part, *from),
                         false};
    ++part;
  }
  for (; part < parts_.size(); ++part) branches << Branch{part, {}, {}, false};
  return branches;
}

QList<PagedTableModel::Branch> PagedTableModel::branchesBefore(const Place* from) const {
  QList<Branch> branches;  // nearest first
  int part = from ? partOf(*from) : int(parts_.size()) - 1;
  if (from) {
    const QStringList& columns = parts_[part].columns;
    if (!columns.isEmpty())
      branches << Branch{part, comparison(columns, "<"), valuesIn(part, *from), true};
    --part;
  }
  for (; part >= 0; --part) branches << Branch{part, {}, {}, true};
  return branches;
}

namespace {

// The rows of consecutive branches as one list, no more than `count` of them.
template <typename RowsT>
RowsT joined(const QList<RowsT>& parts, int from, int to, int count, int width) {
  RowsT all;
  for (int i = from; i < to && all.count < count; ++i) {
    const int take = qMin(parts[i].count, count - all.count);
    all.cells += parts[i].cells.mid(0, take * width);
    all.count += take;
  }
  return all;
}

// Rows read nearest first, put in the table's order.
template <typename RowsT>
void reverseRows(RowsT& rows, int width) {
  for (int a = 0, b = rows.count - 1; a < b; ++a, --b)
    for (int c = 0; c < width; ++c) rows.cells.swapItemsAt(a * width + c, b * width + c);
}

}  // namespace

PagedTableModel::Rows PagedTableModel::readAfter(const Place* from, bool inclusive,
                                                 int count) const {
  const QList<Branch> branches = branchesAfter(from, inclusive);
  if (branches.isEmpty()) return {};
  const QList<Rows> read = fetch(branches, count);
  return joined(read, 0, int(read.size()), count, width_);
}

PagedTableModel::Rows PagedTableModel::readBefore(const Place* from, int count) const {
  const QList<Branch> branches = branchesBefore(from);
  if (branches.isEmpty()) return {};
  const QList<Rows> read = fetch(branches, count);
  Rows rows = joined(read, 0, int(read.size()), count, width_);
  reverseRows(rows, width_);
  return rows;
}

int PagedTableModel::cappedCount(int part, const QString& bound, const QVariantList& values,
                                 int cap, bool descending) const {
  QString inner = QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(table_, partWhere(part));
  if (!bound.isEmpty()) inner += QStringLiteral(" AND ") + bound;
  // Counted in the grid's order from the bound: the server walks the order's index for at most
  // `cap` rows. Without the order a reused plan may scan the table until it has found them.
  QStringList order;
  for (const QString& c : parts_[part].columns)
    order << (descending ? c + QStringLiteral(" DESC") : c);
  if (!order.isEmpty()) inner += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
  QVariantList bindings = filterValues_ + values;
  bindings << cap;
  QSqlQuery& query =
      run(QStringLiteral("SELECT COUNT(*) FROM (%1 LIMIT ?) AS counted").arg(inner), bindings);
  const int counted = query.next() ? query.value(0).toInt() : 0;
  query.finish();
  return counted;
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
  // The engine's histogram of the first order column, where it keeps one, is an evenly spread
  // sample that costs no read of the table.
  const QString histogram = dialect_.histogramSql();
  if (!histogram.isEmpty()) {
    QSqlQuery bounds = runSql(db_, histogram, {table_, orderColumns_.first()});
    while (bounds.next()) sample_ << Place{bounds.value(0)};
    if (sample_.size() >= 10) {
      std::sort(sample_.begin(), sample_.end(), placeLess);
      return;
    }
    sample_.clear();
  }
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
  QList<Branch> branches = branchesAfter(&place, true);
  const int afterBranches = int(branches.size());
  branches += branchesBefore(&place);
  // The rows on both sides of the place in one statement.
  const QList<Rows> read = fetch(branches, kLandingSide);
  Rows after = joined(read, 0, afterBranches, kLandingSide, width_);
  Rows before = joined(read, afterBranches, int(read.size()), kLandingSide, width_);
  return placeRun(place, std::move(after), std::move(before), wish, countEnds);
}

int PagedTableModel::placeRun(const Place& place, Rows after, Rows before, int wish,
                              bool countEnds) const {
  if (after.count == 0) return -1;
  reverseRows(before, width_);
  const int nBefore = before.count;
  const int nAfter = after.count;
  int at = -1;
  if (nBefore < kLandingSide) {
    at = nBefore;
  } else if (nAfter < kLandingSide) {
    at = exactTotal() - nAfter;
  } else if (countEnds) {
    // Counting is for rows near an end; a row the estimate puts in the middle of a large
    // table is numbered by the estimate alone.
    const bool small = rows_ <= 2 * (reach_ + 2 * kPageSize);
    const int estimate = small ? -1 : estimatedRow(place);
    if (small || estimate < reach_ + 2 * kPageSize) {
      const int head = countBefore(place, reach_);
      if (head < reach_) at = head;
    }
    if (at < 0 && (small || estimate > rows_ - reach_ - 2 * kPageSize)) {
      const int tail = countAfter(place, reach_);
      if (tail < reach_) at = exactTotal() - 1 - tail;
    }
  }
  runExact_ = at >= 0;
  if (at < 0) {
    // Far from both ends: an estimate, kept clear of the rows numbered exactly.
    at = wish >= 0 ? wish : estimatedRow(place);
    at = qBound(qMin(reach_, rows_ - 1), at, qMax(0, rows_ - 1 - reach_));
  }
  // A count taken before rows came or went elsewhere must not push rows off either end.
  at = qMax(at, nBefore);
  run_ = std::move(before.cells);
  run_ += after.cells;
  runCount_ = nBefore + nAfter;
  runStart_ = at - nBefore;
  runAtTop_ = nBefore < kLandingSide;
  runAtBottom_ = nAfter < kLandingSide;
  scheduleSettle();
  return at;
}

void PagedTableModel::anchorAt(int row) const {
  clearRun();
  if (row < reach_ + kPageSize) {
    Rows rows = readAfter(nullptr, false, row + kPageSize);
    run_ = std::move(rows.cells);
    runCount_ = rows.count;
    runAtTop_ = true;
    runAtBottom_ = runCount_ < row + kPageSize;
    runExact_ = true;
    trimRun(true);
  } else if (row >= rows_ - reach_ - kPageSize) {
    const int wanted = rows_ - row + kPageSize;
    Rows rows = readBefore(nullptr, wanted);
    run_ = std::move(rows.cells);
    runCount_ = rows.count;
    runStart_ = exactTotal() - runCount_;
    runAtBottom_ = true;
    runAtTop_ = runCount_ < wanted;
    runExact_ = true;
    trimRun(false);
  } else {
    // A jump into the middle (the scroll bar dragged): the first row at the sampled value
    // nearest that share of the table, placed where the user asked for it.
    takeSample();
    if (sample_.isEmpty()) return;
    int pick = int(qint64(row) * sample_.size() / rows_);
    while (pick + 1 < sample_.size() && sample_[pick].first().isNull()) ++pick;
    const QList<Rows> read = landing(sample_[pick].first());
    if (read[0].count == 0) return;
    placeRun(placeOf(read[0].cells, 0), read[0], joined(read, 1, 3, kLandingSide, width_), row,
             false);
  }
  scheduleSettle();
}

void PagedTableModel::trimRun(bool keepEnd) const {
  const int extra = runCount_ - kRunLimit;
  if (extra <= 0) return;
  if (keepEnd) {
    run_.remove(0, extra * width_);
    runStart_ += extra;
    runAtTop_ = false;
  } else {
    run_.remove((runCount_ - extra) * width_, extra * width_);
    runAtBottom_ = false;
  }
  runCount_ -= extra;
}

void PagedTableModel::extendForward(int count) const {
  const Place last = placeOf(run_, runCount_ - 1);
  const Rows more = readAfter(&last, false, count);
  run_ += more.cells;
  runCount_ += more.count;
  runAtBottom_ = more.count < count;
  trimRun(true);
  scheduleSettle();
}

void PagedTableModel::extendBackward(int count) const {
  const Place first = placeOf(run_, 0);
  Rows more = readBefore(&first, count);
  more.cells += run_;
  run_ = std::move(more.cells);
  runCount_ += more.count;
  runStart_ -= more.count;
  runAtTop_ = more.count < count;
  trimRun(false);
  scheduleSettle();
}

bool PagedTableModel::ensureRow(int row) const {
  if (row >= runStart_ && row < runEnd()) return true;
  try {
    if (runCount_ == 0) {
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
  if (runCount_ == 0) return 0;
  if (runAtTop_) return -runStart_;
  if (runAtBottom_) return exactTotal() - runEnd();
  const int total = exact_.value_or(rows_);
  if (runStart_ < 0) return -runStart_;
  if (runEnd() > total) return total - runEnd();
  // An estimate read on toward an end that is not there yet: make room to read on.
  if (!runExact_ && runStart_ < kPageSize) return qMax(0, qMin(reach_, total - runEnd()));
  if (!runExact_ && runEnd() > total - kPageSize) return -qMax(0, qMin(reach_, runStart_));
  return 0;
}

void PagedTableModel::scheduleSettle() const {
  if (settlePending_) return;
  if (settleShift() == 0 && (!exact_ || *exact_ == rows_)) return;
  settlePending_ = true;
  // The view may be painting: the rows are renumbered, and the count shown, once it is done.
  QMetaObject::invokeMethod(const_cast<PagedTableModel*>(this), &PagedTableModel::settle,
                            Qt::QueuedConnection);
}

void PagedTableModel::settle() {
  settlePending_ = false;
  // More rows than shown: room for them first, so that the run can move down into it.
  if (exact_ && *exact_ > rows_) {
    beginInsertRows(QModelIndex(), rows_, *exact_ - 1);
    rows_ = *exact_;
    endInsertRows();
  }
  const int shift = settleShift();
  if (shift != 0) {
    emit layoutAboutToBeChanged();
    for (const QModelIndex& index : persistentIndexList())
      changePersistentIndex(index,
                            this->index(qBound(0, index.row() + shift, rows_ - 1), index.column()));
    runStart_ += shift;
    runExact_ = runExact_ || runAtTop_ || runAtBottom_;
    emit layoutChanged();
    // Room made for an estimate is made a step at a time: go on while it is still short, the
    // same way (never back, so a run as long as the table cannot swing between its ends).
    const int more = settleShift();
    if (more != 0 && (more < 0) == (shift < 0)) scheduleSettle();
  }
  // Fewer rows than shown: the run has moved up out of the rows that go.
  if (exact_ && *exact_ < rows_) {
    beginRemoveRows(QModelIndex(), *exact_, rows_ - 1);
    rows_ = *exact_;
    endRemoveRows();
  }
}

QSqlRecord PagedTableModel::record(int row) const {
  if (!valid_ || row < 0 || row >= rows_) return {};
  if (!ensureRow(row)) return {};
  QSqlRecord record = shape_;
  const int at = row - runStart_;
  for (int c = 0; c < width_; ++c) record.setValue(c, cell(at, c));
  return record;
}

int PagedTableModel::runIndexOfKey(const QVariant& value) const {
  if (placeColumns_.isEmpty()) return -1;
  const int key = int(shape_.indexOf(key_.first()));
  if (key < 0) return -1;
  const QString wanted = value.toString();
  for (int i = 0; i < runCount_; ++i)
    if (cell(i, key).toString() == wanted) return i;
  return -1;
}

QList<PagedTableModel::Rows> PagedTableModel::landing(const QVariant& value) const {
  // In one statement: the first row at or after the value and the rows from it on, and the rows
  // before it. Rows with no value sort first; they are never what a search is after, but they
  // come before the others.
  const QString column = orderColumns_.first();
  return fetch({Branch{1, QStringLiteral("%1 >= ?").arg(column), {value}, false},
                Branch{1, QStringLiteral("%1 < ?").arg(column), {value}, true},
                Branch{0, {}, {}, true}},
               kLandingSide);
}

int PagedTableModel::rowAtOrAfter(const QString& value, bool prefixOnly) const {
  if (!valid_ || rows_ == 0) return -1;
  try {
    const QList<Rows> read = landing(value);
    if (read[0].count == 0) {
      if (prefixOnly) return -1;
      const int last = exactTotal() - 1;
      if (last < 0) return -1;
      anchorAt(last);
      return last;
    }
    const int firstColumn = placeColumns_.first();
    const QString found = read[0].cells[firstColumn].toString();
    if (prefixOnly && !found.startsWith(value, Qt::CaseInsensitive)) return -1;
    const int key = int(shape_.indexOf(key_.first()));
    const int inRun = runIndexOfKey(read[0].cells[key]);
    if (inRun >= 0) return runStart_ + inRun;
    return placeRun(placeOf(read[0].cells, 0), read[0], joined(read, 1, 3, kLandingSide, width_),
                    -1, true);
  } catch (const SqlError&) {
    return -1;
  }
}

int PagedTableModel::rowOfKey(const QVariant& value) const {
  if (!valid_ || rows_ == 0 || key_.isEmpty()) return -1;
  const int inRun = runIndexOfKey(value);
  if (inRun >= 0) return runStart_ + inRun;
  try {
    const QList<Rows> found =
        fetch({Branch{-1, QStringLiteral("%1 = ?").arg(key_.first()), {value}, false}}, 1);
    if (found[0].count == 0) return -1;
    return placeRun(placeOf(found[0].cells, 0), -1, true);
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
  if (!valid_ || index.row() >= rows_ || !ensureRow(index.row())) return {};
  const Column& column = columns_[index.column()];
  const int at = shown_.value(index.column(), -1);
  const QVariant value = at >= 0 ? cell(index.row() - runStart_, at) : QVariant();
  if (column.format) return column.format(value);
  return value.toString();
}

QVariant PagedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal && section >= 0 && section < columns_.size())
    return columns_[section].title;
  return {};
}
