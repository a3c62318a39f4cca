// Today's workout of the letter given new orders, typed in "Nova Ordem" or by dragging the
// rows; once written, the reordered workout is shown as stored.
#pragma once

#include "prescription/series_block.h"

class WorkoutGrid;

// The reordered workout, read only, until "Retorna".
class WorkoutViewBlock : public SeriesBlock {
  Q_OBJECT

 public:
  WorkoutViewBlock(const BuilderContext& context, QWidget* parent);

  // The workout as stored, from its first row.
  void enter();
  void focusFirstField() override;

 private:
  void BBNRETORNAClick();

  WorkoutGrid* DBGVISUALIZA = nullptr;
};

class ReorderBlock : public SeriesBlock {
  Q_OBJECT

 public:
  // The view of the reordered workout goes into `parent` too.
  ReorderBlock(const BuilderContext& context, QWidget* parent);

  WorkoutViewBlock* view() const { return view_; }
  // "Nova Ordem": today's rows of the letter, the cursor in the first row's new order.
  void open();
  void focusFirstField() override;

 private:
  void rowDropped(int from, int onto);
  void BBNCONFIRMA_ORDEMClick();
  void BBNCANCELA_ORDEMClick();
  bool writeOrders();

  WorkoutGrid* DBGNOVA_ORDEM = nullptr;
  WorkoutViewBlock* view_ = nullptr;
};
