// TFRMREAGENDA, "Agenda Montagem de Série": the weekly grid of hours and the evaluator on duty
// at each hour from Monday to Saturday, edited in place. A row is stored as the cursor leaves
// it; Enter walks the row and, past Saturday, goes on to the next row (a new one after the
// last); Insert adds a row, Delete removes the row under the cursor at once.
#pragma once

#include <QAbstractTableModel>

#include "forms/child_window.h"
#include "scheduling/weekly_agenda.h"

class QPushButton;
class QTableView;

// The grid's rows as the editor holds them, stored or not yet.
class WeeklyAgendaModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setRows(QList<AgendaRow> rows);
  const QList<AgendaRow>& rows() const { return rows_; }
  AgendaRow& row(int r) { return rows_[r]; }
  void insertBlank(int at);
  void removeAt(int at);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  QList<AgendaRow> rows_;
};

class TFRMREAGENDA : public ChildWindow {
  Q_OBJECT

 public:
  explicit TFRMREAGENDA(Session& session, QWidget* parent = nullptr);

  QTableView* grid() const { return DBGAGENDA; }
  WeeklyAgendaModel* model() const { return model_; }
  // Stores the row under the cursor when it changed; false when it could not be stored.
  bool postCurrent();

 protected:
  bool ABRE_TABELAS() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool reload(int keepRow);
  // What is being typed in the cell under the cursor counts as typed.
  void commitTyping();
  bool post(int row);
  void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
  void enterPressed();
  void insertPressed();
  void deletePressed();
  void BBNRETORNAClick();

  WeeklyAgendaModel* model_ = nullptr;
  bool moving_ = false;  // the window moves the cursor itself: no store on the way
  QTableView* DBGAGENDA = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};
