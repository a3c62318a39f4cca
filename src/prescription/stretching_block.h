// The stretching choice of a workout letter: the stretches ticked on the picture strip and a
// remark of four lines at most.
#pragma once

#include "prescription/series_block.h"

class QKeyEvent;
class QPlainTextEdit;
class StretchStripWidget;

class StretchingBlock : public SeriesBlock {
  Q_OBJECT

 public:
  StretchingBlock(const BuilderContext& context, QWidget* parent);

  // "Alongamento": the letter's current choice, ready to be edited.
  void open();
  void focusFirstField() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void cutPastedRemark();
  void BBNCONFIRMAALONGAMENTOClick();
  void BBNCANCELAALONGAMENTOClick();
  bool memoKeyRefused(QKeyEvent* event);

  StretchStripWidget* stretches_ = nullptr;
  QPlainTextEdit* DBMEMOOBS = nullptr;
};
