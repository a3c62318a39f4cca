#include "prescription/stretching_block.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "forms/session.h"
#include "prescription/series_service.h"
#include "prescription/stretch_strip.h"
#include "series/series_store.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

StretchingBlock::StretchingBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLALONGAMENTO") {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Alongamento"), this));
  stretches_ = new StretchStripWidget(this, 1.5);
  layout->addWidget(stretches_, 0, Qt::AlignHCenter);
  DBMEMOOBS = new QPlainTextEdit(this);
  DBMEMOOBS->setObjectName(QStringLiteral("DBMEMOOBS"));
  DBMEMOOBS->setTabChangesFocus(true);
  DBMEMOOBS->setFixedHeight(DBMEMOOBS->fontMetrics().lineSpacing() * 5 + 12);
  DBMEMOOBS->installEventFilter(this);
  connect(DBMEMOOBS, &QPlainTextEdit::textChanged, this, &StretchingBlock::cutPastedRemark);
  layout->addWidget(DBMEMOOBS);
  addConfirmCancel(
      "BBNCONFIRMAALONGAMENTO", [this] { BBNCONFIRMAALONGAMENTOClick(); }, "BBNCANCELAALONGAMENTO",
      [this] { BBNCANCELAALONGAMENTOClick(); }, true);
  layout->addStretch();
}

// Pasted text is cut to what the remark column holds.
void StretchingBlock::cutPastedRemark() {
  const QString text = DBMEMOOBS->toPlainText();
  if (text.size() <= kStretchObsLength) return;
  const QSignalBlocker quiet(DBMEMOOBS);
  DBMEMOOBS->setPlainText(text.left(kStretchObsLength));
  DBMEMOOBS->moveCursor(QTextCursor::End);
}

void StretchingBlock::open() {
  std::optional<std::pair<StretchChoice, QDate>> current;
  try {
    current = currentStretching(ctx_.session.workout().database(), ctx_.series.matricula,
                                ctx_.host.letter());
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alongamento"));
    return;
  }
  const StretchChoice choice = current ? current->first : StretchChoice{};
  stretches_->setTicks(choice.stretches);
  DBMEMOOBS->setPlainText(choice.obs);
  ctx_.flags.pBooVisualiza = false;
  ctx_.host.headerBusy();
  ctx_.host.showOnly(this);
  DBMEMOOBS->setFocus();
  DBMEMOOBS->moveCursor(QTextCursor::End);
}

void StretchingBlock::focusFirstField() {
  DBMEMOOBS->setFocus();
}

void StretchingBlock::BBNCONFIRMAALONGAMENTOClick() {
  ctx_.host.headerIdle();
  hide();
  StretchChoice choice;
  choice.obs = DBMEMOOBS->toPlainText();
  choice.stretches = stretches_->ticks();
  if (!ctx_.host.saveStretching(choice)) {
    // Nothing was stored: the choice stays on screen as ticked.
    ctx_.host.headerBusy();
    ctx_.host.showOnly(this);
    DBMEMOOBS->setFocus();
  }
}

void StretchingBlock::BBNCANCELAALONGAMENTOClick() {
  ctx_.host.headerIdle();
  hide();
}

bool StretchingBlock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DBMEMOOBS && event->type() == QEvent::KeyPress)
    return memoKeyRefused(static_cast<QKeyEvent*>(event));
  return SeriesBlock::eventFilter(watched, event);
}

// Once the remark holds its lines, keys that would type are refused and said so; Delete still
// takes text away.
bool StretchingBlock::memoKeyRefused(QKeyEvent* event) {
  if (event->text().isEmpty() || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Escape ||
      event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
    return false;
  if (memoTakesKeys(DBMEMOOBS->toPlainText())) return false;
  MENSAGEM(kInfo, SeriesText::AtingiuLimite, SeriesText::QuatroLinhas);
  return true;
}
