// "Exportar Agenda": asks where to save the member's calendar (an .ics file any calendar
// program imports) and writes it, saying so when done.
#pragma once

#include <QString>

class QWidget;
class Session;

void exportMemberCalendar(Session& session, const QString& matricula, const QString& nome,
                          QWidget* parent);
