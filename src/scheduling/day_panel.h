// The day as the booking calendars and the day view show it: the month calendar
// (MonthCalendar1), the panels "Data da Reavaliação:" and the date written out, and the slot
// grid SGAGENDA ("Hora" and the weekday), free hours white on green, booked and chosen ones
// white on red.
#pragma once

#include <QDate>
#include <QWidget>

#include "scheduling/agenda.h"

class QCalendarWidget;
class QLabel;
class QTableWidget;

class DayPanel : public QWidget {
  Q_OBJECT

 public:
  // `slotWidth`: the width of the weekday column (the day view names the members there).
  explicit DayPanel(int slotWidth, QWidget* parent = nullptr);

  // Shows `date` on the calendar and in the panel.
  void showDate(const QDate& date);
  void showGrid(const DayGrid& grid);
  QTableWidget* slotGrid() const { return grid_; }
  QCalendarWidget* calendar() const { return calendar_; }

 signals:
  // The user clicked a day of the month calendar.
  void dateClicked(const QDate& date);
  // The user clicked the weekday column of the hour at `row`.
  void hourClicked(int row);

 private:
  QCalendarWidget* calendar_ = nullptr;
  QLabel* dateText_ = nullptr;
  QTableWidget* grid_ = nullptr;
};

// 'dd "de" mmmm "de" yyyy': "09 de dezembro de 2026".
QString spelledDate(const QDate& date);
