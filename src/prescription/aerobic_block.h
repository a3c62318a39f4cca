// The aerobic block of workout A: each aerobic exercise with its duration, speed and level,
// typed in Brazilian decimals, on the weekdays ticked for it.
#pragma once

#include "prescription/series_block.h"

class WorkoutGrid;

class AerobicBlock : public SeriesBlock {
  Q_OBJECT

 public:
  AerobicBlock(const BuilderContext& context, QWidget* parent);

  // The weekdays chosen: the grid from the first exercise's duration.
  void enter();
  void focusFirstField() override;

 private:
  void cellClicked(const QModelIndex& index);
  void BBNCONFIRMAAEROBICAClick();
  void BBNCANCELAAEROBICAClick();

  WorkoutGrid* DBGAEROBICA = nullptr;
};
