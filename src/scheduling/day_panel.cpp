#include "scheduling/day_panel.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

void paint(QTableWidgetItem* item, SlotState state) {
  switch (state) {
    case SlotState::Free:
      item->setBackground(QColor(0, 128, 0));
      item->setForeground(Qt::white);
      break;
    case SlotState::Booked:
    case SlotState::Chosen:
      item->setBackground(QColor(200, 0, 0));
      item->setForeground(Qt::white);
      break;
    case SlotState::Empty:
      break;
  }
}

}  // namespace

QString spelledDate(const QDate& date) {
  return QLocale(QLocale::Portuguese, QLocale::Brazil)
      .toString(date, QStringLiteral("dd 'de' MMMM 'de' yyyy"));
}

DayPanel::DayPanel(int slotWidth, QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* left = new QVBoxLayout;
  calendar_ = new QCalendarWidget(this);
  calendar_->setObjectName(QStringLiteral("MonthCalendar1"));
  calendar_->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  calendar_->setFirstDayOfWeek(Qt::Sunday);
  left->addWidget(calendar_);
  auto* caption = new QLabel(QStringLiteral("Data da Reavaliação:"), this);
  caption->setObjectName(QStringLiteral("PNLTITULODATA"));
  dateText_ = new QLabel(this);
  dateText_->setObjectName(QStringLiteral("PNLDATA"));
  dateText_->setFrameShape(QFrame::Panel);
  dateText_->setFrameShadow(QFrame::Sunken);
  QFont bold = dateText_->font();
  bold.setBold(true);
  dateText_->setFont(bold);
  left->addWidget(caption);
  left->addWidget(dateText_);
  left->addStretch();
  layout->addLayout(left);

  grid_ = new QTableWidget(0, 2, this);
  grid_->setObjectName(QStringLiteral("SGAGENDA"));
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setFocusPolicy(Qt::StrongFocus);
  grid_->setColumnWidth(0, 60);
  grid_->setColumnWidth(1, slotWidth);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setMinimumWidth(60 + slotWidth + 24);
  layout->addWidget(grid_, 1);

  connect(calendar_, &QCalendarWidget::clicked, this, &DayPanel::dateClicked);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == 1) emit hourClicked(row);
  });
}

void DayPanel::showDate(const QDate& date) {
  const QSignalBlocker quiet(calendar_);
  calendar_->setSelectedDate(date);
  dateText_->setText(spelledDate(date));
}

void DayPanel::showGrid(const DayGrid& grid) {
  grid_->setHorizontalHeaderLabels({QStringLiteral("Hora"), grid.heading});
  grid_->setRowCount(int(grid.hours.size()));
  for (int row = 0; row < grid.hours.size(); ++row) {
    const DaySlot& hour = grid.hours[row];
    grid_->setItem(row, 0, new QTableWidgetItem(hour.hora));
    auto* cell = new QTableWidgetItem(hour.cell);
    paint(cell, slotState(hour.cell));
    grid_->setItem(row, 1, cell);
  }
}
