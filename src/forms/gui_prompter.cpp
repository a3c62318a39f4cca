#include "forms/gui_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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
  // The program speaks Portuguese whatever language the machine's Qt was installed with.
  if (question) {
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
  }
  const QPointer<QWidget> before = QApplication::activeWindow();
  const int pressed = box.exec();
  // The keyboard goes back to the window that asked, also where no window manager hands the
  // focus back (a kiosk session on the front desk).
  if (before && before->isVisible()) before->activateWindow();
  if (!question) return kAnswerOk;
  // Escape or closing the box counts as No: the caller only acts on an explicit Yes.
  return pressed == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}
