// The stretching picture strip of the series windows: the 23 stretches drawn by the program,
// each with its tick box (DBCB01 .. DBCB13 along the top row, DBCB14 .. DBCB23 below).
#pragma once

#include <QList>
#include <QWidget>
#include <array>

#include "series/series_save.h"

class QCheckBox;

class StretchStripWidget : public QWidget {
  Q_OBJECT

 public:
  // `scale` enlarges the strip's natural size where the window has room for it.
  explicit StretchStripWidget(QWidget* parent = nullptr, double scale = 1.0);

  std::array<bool, kStretchColumns> ticks() const;
  void setTicks(const std::array<bool, kStretchColumns>& ticks);
  // For windows that only show a series: the boxes cannot be changed.
  void setReadOnly(bool readOnly);
  QCheckBox* box(int number) const { return boxes_.value(number - 1); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QList<QCheckBox*> boxes_;
};
