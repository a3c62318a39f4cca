#include "forms/paged_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// One line of plain text per cell, drawn straight: the selection and focus as the style paints
// them, the text cut at the cell's edge. The general delegate lays every cell's text out for
// wrapping, icons and check boxes these grids never have, at every paint; eliding would shape
// each text twice, once to measure it and once to draw it.
class LineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem panel = option;
    panel.index = index;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) return;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled
            ? (option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive)
            : QPalette::Disabled;
    painter->save();
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText
                                                         : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
  }
};

}  // namespace

void makePagedGrid(QTableView* grid) {
  QHeaderView* rows = grid->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  rows->hide();
  grid->setWordWrap(false);
  grid->setItemDelegate(new LineDelegate(grid));
}
