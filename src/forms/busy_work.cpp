#include "forms/busy_work.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include "forms/background.h"

BusyWork::BusyWork(QLabel* label, QProgressBar* bar, Cursor cursor)
    : label_(label), bar_(bar), cursor_(cursor) {}

BusyWork::~BusyWork() {
  // A window torn down while busy must not leave the hourglass over the program.
  if (busy_ && cursor_ == Cursor::Hourglass) QApplication::restoreOverrideCursor();
}

void BusyWork::start(const QString& text, int steps) {
  if (busy_) return;
  busy_ = true;
  if (cursor_ == Cursor::Hourglass) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (label_) {
    labelWasHidden_ = label_->isHidden();
    if (!text.isEmpty()) stage(text);
  }
  if (bar_) {
    barWasHidden_ = bar_->isHidden();
    // Without a number of steps no share of the work can be told: the bar keeps moving.
    bar_->setRange(0, qMax(0, steps));
    bar_->setValue(0);
    bar_->show();
  }
}

void BusyWork::stage(const QString& text) {
  if (!label_) return;
  label_->setText(text);
  label_->show();
}

void BusyWork::stop() {
  if (!busy_) return;
  busy_ = false;
  if (cursor_ == Cursor::Hourglass) QApplication::restoreOverrideCursor();
  if (label_ && labelWasHidden_) label_->hide();
  if (bar_ && barWasHidden_) bar_->hide();
}

std::function<void(const QString&)> BusyWork::stageReporter(QObject* window) {
  return
      [this, window](const QString& text) { postToWindow(window, [this, text] { stage(text); }); };
}

std::function<void(int)> BusyWork::stepReporter(QObject* window) {
  return [this, window](int done) {
    postToWindow(window, [this, done] {
      if (bar_) bar_->setValue(done);
    });
  };
}
