#include "scheduling/calendar_export.h"

#include <QDir>
#include <QFileDialog>

#include "base/prompter.h"
#include "forms/session.h"
#include "scheduling/member_calendar.h"

void exportMemberCalendar(Session& session, const QString& matricula, const QString& nome,
                          QWidget* parent) {
  if (matricula.isEmpty()) return;
  const QString suggested =
      QDir::home().filePath(QStringLiteral("agenda-%1.ics").arg(matricula));
  const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Exportar Agenda"),
                                                    suggested,
                                                    QStringLiteral("Agenda (*.ics)"));
  if (file.isEmpty()) return;
  if (writeMemberCalendar(session.workoutDatabase(), matricula, nome,
                          session.settings().academia.trimmed(), file)
          .okOrTell())
    MENSAGEM(QStringLiteral("!"), QStringLiteral("Agenda exportada !"), file);
}
