// A window's buttons switched off while a report or a list is being made, with the hourglass
// showing; both come back however the work ends.
#pragma once

#include <QApplication>
#include <QList>
#include <QPushButton>
#include <initializer_list>

class ButtonsOff {
 public:
  explicit ButtonsOff(std::initializer_list<QPushButton*> buttons) : buttons_(buttons) {
    for (QPushButton* b : buttons_) b->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~ButtonsOff() {
    endHourglass();
    for (QPushButton* b : buttons_) b->setEnabled(true);
  }
  ButtonsOff(const ButtonsOff&) = delete;
  ButtonsOff& operator=(const ButtonsOff&) = delete;

  // The reading is over: the user is asked or shown something next, with the buttons still off.
  void endHourglass() {
    if (hourglass_) QApplication::restoreOverrideCursor();
    hourglass_ = false;
  }

 private:
  QList<QPushButton*> buttons_;
  bool hourglass_ = true;
};
