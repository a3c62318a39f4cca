#include "app/gui_prompter.h"

#include <QApplication>
#include <QMessageBox>

void GuiPrompter::beep() {
  QApplication::beep();
}

int GuiPrompter::ask(PromptKind kind, const QString& caption, const QString& body) {
  const bool question = kind == PromptKind::Question;
  // No parent: the box belongs to no window, and application modality keeps every window of
  // the program blocked until it is answered.
  QMessageBox box(question ? QMessageBox::Question : QMessageBox::Information, caption, body,
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  const int pressed = box.exec();
  if (!question) return kAnswerOk;
  // Escape or closing the box counts as No: the caller only acts on an explicit Yes.
  return pressed == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}
