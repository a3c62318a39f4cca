#include "series/aerobic_model.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

const QLocale& brazil() {
  static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
  return locale;
}

}  // namespace

std::optional<double> readDecimal(const QString& text) {
  QString typed = text.trimmed();
  if (typed.isEmpty()) return 0.0;
  typed.replace(QLatin1Char('.'), QLatin1Char(','));
  static const QRegularExpression decimal(QStringLiteral("^-?\\d*(,\\d*)?$"));
  if (!decimal.match(typed).hasMatch() || typed == QStringLiteral(",") ||
      typed == QStringLiteral("-"))
    return std::nullopt;
  bool ok = false;
  const double value = brazil().toDouble(typed, &ok);
  if (!ok) return std::nullopt;
  return value;
}

QString showDecimal(double value) {
  return brazil().toString(value, 'g', 10);
}

AerobicModel::AerobicModel(QObject* parent) : QAbstractTableModel(parent) {}

void AerobicModel::setRows(QList<AerobicRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int AerobicModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int AerobicModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant AerobicModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const AerobicRow& row = rows_[index.row()];
  switch (index.column()) {
    case Descricao:
      return row.descricao;
    case Duracao:
      return QString::number(row.duracao);
    case Velocidade:
      return showDecimal(row.velocidade);
    case Nivel:
      return showDecimal(row.nivel);
  }
  return {};
}

bool AerobicModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  AerobicRow& row = rows_[index.row()];
  const QString text = value.toString().trimmed();
  if (index.column() == Duracao) {
    // Minutes of a small integer column: anything else leaves the cell as it was.
    bool ok = true;
    const int minutes = text.isEmpty() ? 0 : text.toInt(&ok);
    if (!ok || minutes < -32768 || minutes > 32767) return false;
    row.duracao = qint16(minutes);
  } else {
    const std::optional<double> number = readDecimal(text);
    if (!number) return false;
    (index.column() == Velocidade ? row.velocidade : row.nivel) = *number;
  }
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags AerobicModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() != Descricao) f |= Qt::ItemIsEditable;
  return f;
}

QVariant AerobicModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const titles[kColumns] = {"Descrição", "Duração (mim)", "Velocidade",
                                               "NÍvel de Dificuldade"};
  return section >= 0 && section < kColumns ? QString::fromUtf8(titles[section]) : QVariant();
}
