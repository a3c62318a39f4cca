#include "prescription/stretch_strip.h"

#include <QCheckBox>
#include <QPainter>

#include "printing/stretch_figures.h"

StretchStripWidget::StretchStripWidget(QWidget* parent, double scale) : QWidget(parent) {
  setFixedSize((QSizeF(kStretchStripSize) * scale).toSize());
  for (int number = 1; number <= kStretchColumns; ++number) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("DBCB%1").arg(number, 2, 10, QLatin1Char('0')));
    box->setToolTip(QStringLiteral("Alongamento %1").arg(number, 2, 10, QLatin1Char('0')));
    box->move(stretchTickArea(number, QSizeF(size())).topLeft().toPoint());
    boxes_ << box;
  }
}

std::array<bool, kStretchColumns> StretchStripWidget::ticks() const {
  std::array<bool, kStretchColumns> ticks{};
  for (int i = 0; i < kStretchColumns; ++i) ticks[i] = boxes_[i]->isChecked();
  return ticks;
}

void StretchStripWidget::setTicks(const std::array<bool, kStretchColumns>& ticks) {
  for (int i = 0; i < kStretchColumns; ++i) boxes_[i]->setChecked(ticks[i]);
}

void StretchStripWidget::setReadOnly(bool readOnly) {
  for (QCheckBox* box : boxes_) {
    box->setAttribute(Qt::WA_TransparentForMouseEvents, readOnly);
    box->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
  }
}

void StretchStripWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  drawStretchStrip(painter, QRectF(rect()));
}
