// A member's calendar as an iCalendar file (RFC 5545) any calendar program imports: the
// weekdays of each workout of the current series, every week until the series falls due, and
// the series assemblies booked from today on, at their hour.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <array>

#include "base/failure.h"
#include "scheduling/agenda.h"

struct TrainingWeek {
  QString letter;
  QDate from;                 // the day the workout was saved
  QDate until;                // the day it falls due; null when it has none
  std::array<bool, 7> days{};  // Sunday … Saturday
};

struct MemberCalendar {
  QString matricula;
  QString nome;
  QString gym;
  QList<TrainingWeek> training;
  QList<Booking> assemblies;  // pending, dated today or later
};

// The member's current workouts (latest saved date of each letter) and booked assemblies.
Result<MemberCalendar> memberCalendar(const QSqlDatabase& workoutDb, const QString& matricula,
                                      const QDate& today);

// The calendar as an iCalendar file, lines folded at 75 octets and ended CRLF. `stamp` is when
// it was written (DTSTAMP).
QByteArray icsOf(const MemberCalendar& calendar, const QDateTime& stamp);

// Writes the member's calendar to `file`, whole or not at all; the failure says why.
Outcome writeMemberCalendar(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& nome, const QString& gym, const QString& file);
