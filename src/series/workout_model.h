// The workout being edited in the series builder: the rows of one strength workout, kept in
// memory by the window that edits it, so no other window or workstation can ever see or
// touch them. The series grid, the reorder grid and the view grid all show this one model.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <optional>

#include "series/series_rules.h"

struct WorkoutRow {
  QString code;       // CODIGO_EXERCICIO
  QString descricao;  // Exercicios.Descricao; empty when the exercise left the catalogue
  QString series;
  QString repeticoes;
  QString peso;
  QString regulagem;
  qint16 intervalo = 0;
  QString obs;
  QString treino;  // the letter, for rows loaded from storage
  qint16 ordem = 0;
  std::optional<int> novaOrdem;  // typed or dragged in the reorder panel
  QString aparelho;
  WeekdayFlags days{};  // of stored rows
};

class WorkoutModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { Seq, Descricao, Series, Repeticoes, Peso, Regulagem, Intervalo, Obs, NovaOrdem };
  static constexpr int kColumns = NovaOrdem + 1;

  explicit WorkoutModel(QObject* parent = nullptr);

  // ZERA_TABELA: no rows, MORDEM back to 0.
  void clear();
  // A stored row as it was saved; MORDEM keeps the highest position.
  void appendStored(const WorkoutRow& row);
  // An exercise picked from the catalogue, placed after the rows there are. Returns its row.
  int appendExercise(const QString& code, const QString& descricao, const QString& aparelho);
  // A row copied from another workout: picked as by hand, then with that row's prescription
  // (series, repetitions, weight, adjustment, rest, remark). Returns its row.
  int appendCopied(const WorkoutRow& row);
  bool containsCode(const QString& code) const;
  // Deletes the row and numbers the rest 1, 2, 3 ... in their order.
  void removeAndRenumber(int row);
  // Moves the row at `row` to position `target` (dragOrders) and orders the rows again;
  // `intoNewOrder` also copies each new position into "Nova Ordem" (the reorder grid).
  // Returns where the moved row is now.
  int dragRow(int row, int target, bool intoNewOrder);
  // The position under row `row`, for a drop.
  int ordemAt(int row) const { return rows_.value(row).ordem; }

  // While false only "Nova Ordem" takes typing (rows edited in the series grid need it on).
  void setEditing(bool editing) { editing_ = editing; }
  bool editing() const { return editing_; }

  qint16 MORDEM() const { return mordem_; }
  const QList<WorkoutRow>& rows() const { return rows_; }
  QList<std::optional<int>> newOrders() const;

  // The maximum lengths of the typed columns.
  static int widthOf(Column column);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  // Before a row is posted: a row with a position of 0 takes the next one, unless it is all
  // zeros (sets, repetitions and load "0", rest 0).
  void placeOnPost(WorkoutRow& row);

  QList<WorkoutRow> rows_;
  qint16 mordem_ = 0;
  bool editing_ = false;
};
