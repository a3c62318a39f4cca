#include "scheduling/agenda_dialog.h"

#include <QApplication>
#include <QTimer>

#include "base/messages.h"
#include "base/prompter.h"

AgendaDialog::AgendaDialog(Session& session, const char* objectName, const QString& caption,
                           InstructorsWanted instructors, bool sayAllocated, QWidget* parent)
    : QDialog(parent),
      session_(session),
      instructors_(instructors),
      sayAllocated_(sayAllocated) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(caption);
  setModal(true);
}

void AgendaDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Result<AgendaSources> sources = openAgendaSources(session_, instructors_);
  Outcome ready = sources ? Outcome(Done{}) : Outcome(sources.failure());
  if (sources) {
    sources_ = std::move(*sources);
    ready = opened();
  }
  QApplication::restoreOverrideCursor();
  if (ready) return;
  tell(ready.failure());
  if (sayAllocated_) MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
  QTimer::singleShot(0, this, &QDialog::reject);
}
