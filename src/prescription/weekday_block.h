// The weekdays of the block being opened, ticked before its exercises: a strength letter locks
// the days the other letters take; the aerobic block has days of its own.
#pragma once

#include "prescription/series_block.h"
#include "series/series_rules.h"

class QCheckBox;

class WeekdayBlock : public SeriesBlock {
  Q_OBJECT

 public:
  WeekdayBlock(const BuilderContext& context, QWidget* parent);

  WeekdayBoxes boxes() const;
  void showBoxes(const WeekdayBoxes& boxes);
  // The days ticked, locked or not.
  WeekdayFlags ticked() const;
  void tick(const WeekdayFlags& days);
  void focusFirstField() override;

 signals:
  // "Confirma" with a day of this block ticked.
  void confirmed();
  // Esc: the days left unchosen.
  void cancelled();

 private:
  void confirm();

  QList<QCheckBox*> days_;
};
