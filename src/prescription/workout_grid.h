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
  // to read.
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

 private:
  std::function<QModelIndex(const QModelIndex&)> enterMove_;
  QSet<int> dragColumns_;
  int dragRow_ = -1;
};

// The editor of a decimal cell: a point typed goes in as the comma of Brazilian numbers.
class DecimalCommaDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
};
