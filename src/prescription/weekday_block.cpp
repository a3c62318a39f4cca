#include "prescription/weekday_block.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/named_button.h"
#include "series/series_store.h"

namespace {

const char* const kDayBoxes[kWeekdayCount] = {"CBDOM", "CBSEG", "CBTER", "CBQUA",
                                              "CBQUI", "CBSEX", "CBSAB"};
const char* const kDayCaptions[kWeekdayCount] = {"Domingo", "Segunda", "Terça", "Quarta",
                                                 "Quinta",  "Sexta",   "Sábado"};

}  // namespace

WeekdayBlock::WeekdayBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLDIAS") {
  auto* outer = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral(" Dias da Semana "), this);
  auto* row = new QHBoxLayout(group);
  for (int d = 0; d < kWeekdayCount; ++d) {
    auto* box = new QCheckBox(QString::fromUtf8(kDayCaptions[d]), group);
    box->setObjectName(QString::fromLatin1(kDayBoxes[d]));
    days_ << box;
    row->addWidget(box);
  }
  outer->addWidget(group);
  QPushButton* confirm = namedButton(this, "BBNSAIR", QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, &WeekdayBlock::confirm);
  outer->addWidget(confirm, 0, Qt::AlignRight);
  // Esc leaves the days unchosen and the letter unopened, as a block's Cancela does.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  connect(escape, &QShortcut::activated, this, &WeekdayBlock::cancelled);
  outer->addStretch();
}

WeekdayBoxes WeekdayBlock::boxes() const {
  WeekdayBoxes boxes;
  for (int d = 0; d < kWeekdayCount; ++d) boxes[d] = {days_[d]->isChecked(), days_[d]->isEnabled()};
  return boxes;
}

void WeekdayBlock::showBoxes(const WeekdayBoxes& boxes) {
  for (int d = 0; d < kWeekdayCount; ++d) {
    days_[d]->setChecked(boxes[d].checked);
    days_[d]->setEnabled(boxes[d].enabled);
  }
}

WeekdayFlags WeekdayBlock::ticked() const {
  WeekdayFlags days{};
  for (int d = 0; d < kWeekdayCount; ++d) days[d] = days_[d]->isChecked();
  return days;
}

void WeekdayBlock::tick(const WeekdayFlags& days) {
  for (int d = 0; d < kWeekdayCount; ++d) days_[d]->setChecked(days[d]);
}

void WeekdayBlock::focusFirstField() {
  for (QCheckBox* day : days_)
    if (day->isEnabled()) {
      day->setFocus();
      break;
    }
}

void WeekdayBlock::confirm() {
  if (!anyDayChosen(boxes())) {
    MENSAGEM(QStringLiteral("!"), Msg::DadoIncorreto, SeriesText::NenhumDia);
    return;
  }
  emit confirmed();
}
