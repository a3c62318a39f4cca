// The aerobic block being edited in the series builder: one row per aerobic exercise of the
// catalogue, its duration, speed and difficulty level typed in the grid. Held in memory by the
// window that edits it.
#pragma once

#include <QAbstractTableModel>
#include <optional>

#include "series/series_save.h"

// A decimal number as typed here: a comma or a point before the decimals ("5,5", "5.5"), no
// thousands separator; empty is 0. Nothing when the text is not such a number.
std::optional<double> readDecimal(const QString& text);
// How a decimal is shown: "5,5", "12", "0".
QString showDecimal(double value);

class AerobicModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { Descricao, Duracao, Velocidade, Nivel };
  static constexpr int kColumns = Nivel + 1;

  explicit AerobicModel(QObject* parent = nullptr);

  void setRows(QList<AerobicRow> rows);
  const QList<AerobicRow>& rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QList<AerobicRow> rows_;
};
