#include "series/workout_model.h"

#include <algorithm>
#include <numeric>

WorkoutModel::WorkoutModel(QObject* parent) : QAbstractTableModel(parent) {}

void WorkoutModel::clear() {
  beginResetModel();
  rows_.clear();
  mordem_ = 0;
  endResetModel();
}

void WorkoutModel::appendStored(const WorkoutRow& row) {
  beginInsertRows(QModelIndex(), int(rows_.size()), int(rows_.size()));
  rows_.append(row);
  mordem_ = std::max(mordem_, row.ordem);
  endInsertRows();
}

int WorkoutModel::appendExercise(const QString& code, const QString& descricao,
                                 const QString& aparelho) {
  WorkoutRow row;
  row.code = code;
  row.descricao = descricao;
  row.aparelho = aparelho;
  row.ordem = qint16(rows_.size() + 1);
  const int at = int(rows_.size());
  beginInsertRows(QModelIndex(), at, at);
  rows_.append(row);
  endInsertRows();
  return at;
}

int WorkoutModel::appendCopied(const WorkoutRow& from) {
  const int at = appendExercise(from.code, from.descricao, from.aparelho);
  WorkoutRow& row = rows_[at];
  row.series = from.series;
  row.repeticoes = from.repeticoes;
  row.peso = from.peso;
  row.regulagem = from.regulagem;
  row.intervalo = from.intervalo;
  row.obs = from.obs;
  emit dataChanged(index(at, 0), index(at, kColumns - 1));
  return at;
}

bool WorkoutModel::containsCode(const QString& code) const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [&](const WorkoutRow& row) { return row.code == code; });
}

void WorkoutModel::removeAndRenumber(int row) {
  if (row < 0 || row >= rows_.size()) return;
  beginRemoveRows(QModelIndex(), row, row);
  rows_.removeAt(row);
  endRemoveRows();
  for (int i = 0; i < rows_.size(); ++i) rows_[i].ordem = qint16(i + 1);
  if (!rows_.isEmpty()) emit dataChanged(index(0, Seq), index(int(rows_.size()) - 1, Seq));
}

int WorkoutModel::dragRow(int row, int target, bool intoNewOrder) {
  if (row < 0 || row >= rows_.size() || rows_[row].ordem == target) return row;
  QList<int> orders;
  for (const WorkoutRow& r : rows_) orders << r.ordem;
  const QList<int> moved = dragOrders(orders, row, target);
  beginResetModel();
  for (int i = 0; i < rows_.size(); ++i) {
    rows_[i].ordem = qint16(moved[i]);
    if (intoNewOrder) rows_[i].novaOrdem = moved[i];
  }
  // Order the rows by their new positions, following where the moved row lands.
  QList<int> place(rows_.size());
  std::iota(place.begin(), place.end(), 0);
  std::stable_sort(place.begin(), place.end(),
                   [&](int a, int b) { return rows_[a].ordem < rows_[b].ordem; });
  QList<WorkoutRow> sorted;
  for (int i : place) sorted << rows_[i];
  rows_ = sorted;
  endResetModel();
  return int(place.indexOf(row));
}

QList<std::optional<int>> WorkoutModel::newOrders() const {
  QList<std::optional<int>> orders;
  for (const WorkoutRow& row : rows_) orders << row.novaOrdem;
  return orders;
}

int WorkoutModel::widthOf(Column column) {
  switch (column) {
    case Series:
      return 2;
    case Repeticoes:
    case Peso:
    case Regulagem:
      return 11;
    case Obs:
      return 30;
    default:
      return 0;
  }
}

int WorkoutModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int WorkoutModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant WorkoutModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const WorkoutRow& row = rows_[index.row()];
  switch (index.column()) {
    case Seq:
      return row.ordem;
    case Descricao:
      return row.descricao;
    case Series:
      return row.series;
    case Repeticoes:
      return row.repeticoes;
    case Peso:
      return row.peso;
    case Regulagem:
      return row.regulagem;
    case Intervalo:
      return row.intervalo;
    case Obs:
      return row.obs;
    case NovaOrdem:
      return row.novaOrdem ? QVariant(*row.novaOrdem) : QVariant();
  }
  return {};
}

bool WorkoutModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  WorkoutRow& row = rows_[index.row()];
  const QString text = value.toString().trimmed();
  const Column column = Column(index.column());
  if (column == Intervalo || column == NovaOrdem) {
    // Whole numbers of a small integer column only: anything else leaves the cell as it was.
    bool ok = true;
    const int number = text.isEmpty() ? 0 : text.toInt(&ok);
    if (!ok || number < -32768 || number > 32767) return false;
    if (column == Intervalo)
      row.intervalo = qint16(number);
    else
      row.novaOrdem = text.isEmpty() ? std::nullopt : std::optional<int>(number);
  } else {
    const QString cut = value.toString().left(widthOf(column));
    switch (column) {
      case Series:
        row.series = cut;
        break;
      case Repeticoes:
        row.repeticoes = cut;
        break;
      case Peso:
        row.peso = cut;
        break;
      case Regulagem:
        row.regulagem = cut;
        break;
      case Obs:
        row.obs = cut;
        break;
      default:
        return false;
    }
  }
  const qint16 before = row.ordem;
  placeOnPost(row);
  emit dataChanged(this->index(index.row(), before == row.ordem ? index.column() : 0),
                   this->index(index.row(), index.column()));
  return true;
}

void WorkoutModel::placeOnPost(WorkoutRow& row) {
  const QString zero = QStringLiteral("0");
  if (row.repeticoes == zero && row.series == zero && row.peso == zero && row.intervalo == 0)
    return;
  if (row.ordem == 0) row.ordem = ++mordem_;
}

Qt::ItemFlags WorkoutModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int column = index.column();
  if (column == NovaOrdem || (editing_ && column >= Series && column <= Obs))
    f |= Qt::ItemIsEditable;
  return f;
}

QVariant WorkoutModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const titles[kColumns] = {"Seq",        "Descrição",  "Séries",
                                               "Repetições", "Peso",       "Regulagem",
                                               "Intervalo",  "Observação", "Nova Ordem"};
  return section >= 0 && section < kColumns ? QString::fromUtf8(titles[section]) : QVariant();
}
