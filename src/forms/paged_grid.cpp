#include "forms/paged_grid.h"

#include <QHeaderView>
#include <QTableView>

void makePagedGrid(QTableView* grid) {
  QHeaderView* rows = grid->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  rows->hide();
  grid->setWordWrap(false);
}
