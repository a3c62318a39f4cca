#include "prescription/workout_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

WorkoutGrid::WorkoutGrid(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // A double click belongs to the window (delete, add); typing starts an edit.
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
  // Enter walks the cells; Tab goes on to the next field of the window.
  setTabKeyNavigation(false);
}

void WorkoutGrid::cancelEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (editor->isVisible())
      QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void WorkoutGrid::commitEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!editor->isVisible()) continue;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void WorkoutGrid::enterPressed() {
  if (!enterMove_) return;
  const QModelIndex next = enterMove_(currentIndex());
  if (next.isValid()) setCurrentIndex(next);
}

void WorkoutGrid::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Insert ||
      (key == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier))) {
    event->accept();
    return;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && enterMove_) {
    // From an editor the key only passes by: the delegate commits, then closeEditor moves on.
    if (state() != QAbstractItemView::EditingState) enterPressed();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void WorkoutGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // Enter in an editor ends the edit and moves on like Enter on the grid.
  const bool byEnter = hint == QAbstractItemDelegate::SubmitModelCache;
  QTableView::closeEditor(editor, byEnter ? QAbstractItemDelegate::NoHint : hint);
  if (byEnter) enterPressed();
}

void WorkoutGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  dragRow_ = at.isValid() && dragColumns_.contains(at.column()) ? at.row() : -1;
  QTableView::mousePressEvent(event);
}

void WorkoutGrid::mouseReleaseEvent(QMouseEvent* event) {
  const int from = dragRow_;
  dragRow_ = -1;
  QTableView::mouseReleaseEvent(event);
  const QModelIndex onto = indexAt(event->position().toPoint());
  if (from >= 0 && onto.isValid() && onto.row() != from) emit rowDropped(from, onto.row());
}

void WorkoutGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  emit cursorMoved();
}

namespace {

// Seq, Descrição, Séries, Repetições, Peso, Regulagem, Intervalo, Observação, Nova Ordem.
constexpr int kWidths[] = {48, 250, 55, 90, 80, 90, 70, 210, 90};
constexpr int kName = 1;
constexpr int kRemark = 7;
constexpr int kNameLeast = 170;
constexpr int kRemarkLeast = 120;

}  // namespace

QList<int> workoutColumnWidths(int width, const QList<bool>& hidden) {
  QList<int> widths;
  int fixed = 0;
  for (int column = 0; column < int(std::size(kWidths)); ++column) {
    const bool shown = !hidden.value(column, false);
    widths << (shown ? kWidths[column] : 0);
    if (shown && column != kName && column != kRemark) fixed += kWidths[column];
  }
  const int room = width - fixed;
  if (widths[kName] > 0)
    widths[kName] = qBound(kNameLeast, room - (widths[kRemark] > 0 ? kRemarkLeast : 0),
                           kWidths[kName]);
  if (widths[kRemark] > 0) widths[kRemark] = qMax(kRemarkLeast, room - widths[kName]);
  return widths;
}

void WorkoutGrid::fitWorkoutColumns() {
  workoutColumns_ = true;
  // The header itself gives the remark the pixels left over, to the last one, whenever the
  // grid's room changes; the widths below only decide how much the name may take.
  horizontalHeader()->setSectionResizeMode(kRemark, QHeaderView::Stretch);
  layoutWorkoutColumns();
}

void WorkoutGrid::layoutWorkoutColumns() {
  if (!model()) return;
  QList<bool> hidden;
  for (int column = 0; column < int(std::size(kWidths)); ++column)
    hidden << isColumnHidden(column);
  const QList<int> widths = workoutColumnWidths(viewport()->width(), hidden);
  for (int column = 0; column < widths.size() && column < model()->columnCount(); ++column)
    if (widths[column] > 0 && column != kRemark) setColumnWidth(column, widths[column]);
}

// The viewport, not the grid: a vertical scroll bar that appears narrows the room too.
bool WorkoutGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize && workoutColumns_) layoutWorkoutColumns();
  return QTableView::viewportEvent(event);
}

QWidget* DecimalCommaDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    QObject::connect(line, &QLineEdit::textEdited, line, [line](const QString& text) {
      if (!text.contains(QLatin1Char('.'))) return;
      const int cursor = line->cursorPosition();
      line->setText(QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
      line->setCursorPosition(cursor);
    });
  }
  return editor;
}
