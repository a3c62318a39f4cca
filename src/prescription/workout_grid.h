// The grids of the series builder: Enter moves the cursor by the grid's own rule (also when it
// ends an edit), a row is moved by pressing on one of its drag columns and releasing on
// another row, and Insert and Ctrl+Delete do nothing.
#pragma once

#include <QSet>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class WorkoutGrid : public QTableView {
  Q_OBJECT

 public:
  explicit WorkoutGrid(QWidget* parent = nullptr);

  // Where Enter takes the cursor from `from` (an invalid index: it stays).
  void setEnterMove(std::function<QModelIndex(const QModelIndex& from)> move) {
    enterMove_ = std::move(move);
  }
  // The columns a press starts a drag from; none: rows are not dragged.
  void setDragColumns(QSet<int> columns) { dragColumns_ = std::move(columns); }
  // Drops an edit in progress without keeping what was typed.
  void cancelEdit();
  // Keeps what is being typed in the cell and ends the edit, the cursor staying where it is.
  void commitEdit();
  // Enter, as the keyboard gives it.
  void enterPressed();
  // For a grid of a workout: the position column narrow, the exercise's name wide enough
  // to read, the remark taking what is left of the grid's width, as the window changes size.
  void fitWorkoutColumns();

 signals:
  void rowDropped(int from, int onto);
  void cursorMoved();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void layoutWorkoutColumns();

  bool workoutColumns_ = false;
  std::function<QModelIndex(const QModelIndex&)> enterMove_;
  QSet<int> dragColumns_;
  int dragRow_ = -1;
};

// The widths of a workout grid's columns (Seq, Descrição, Séries, Repetições, Peso, Regulagem,
// Intervalo, Observação, Nova Ordem) for a grid `width` pixels wide, 0 for a hidden column: the
// small columns keep their widths, the name gets its reading width as long as the remark keeps
// its least, and the remark takes the rest. Only a grid too narrow for both minimums scrolls.
QList<int> workoutColumnWidths(int width, const QList<bool>& hidden);

// The editor of a decimal cell: a point typed goes in as the comma of Brazilian numbers.
class DecimalCommaDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
};
