// The day's agenda from the command line:
//
//   vantrel agenda DD/MM/AAAA
//       the assemblies booked on that day, in hour order: hour, member, evaluator and whether
//       the series was already assembled
//   vantrel calendar MATRICULA --ics ARQUIVO
//       the member's training weekdays and booked assemblies as an iCalendar file
//
// 0 on success, 1 when a database cannot be read (the reason on stderr), 2 for a wrong call.
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

const CommandSyntax& agendaCommand();
int runAgendaCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);

const CommandSyntax& calendarCommand();
int runCalendarCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
