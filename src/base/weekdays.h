// Weekdays as the agenda and the class bookings count them: 0 Sunday … 6 Saturday, read from a
// date's short day name in Portuguese or in English, as the gym's machines may run either.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

constexpr int kSunday = 0;
constexpr int kSaturday = 6;

// The weekday a short day name stands for, in Portuguese or in English, any case ("SEG",
// "Mon", "sáb", "SAB", "SAT" …); nothing for any other text.
std::optional<int> weekdayOfShortName(const QString& name);
// The weekday of `date` read from its short day name in `locale`; a locale whose names are
// neither Portuguese nor English falls back to the calendar's own count.
int weekdayOf(const QDate& date, const QLocale& locale = QLocale());

// The Sunday and the Saturday of the week `date` falls in.
struct Week {
  QDate first;
  QDate last;
};
Week weekOf(const QDate& date, const QLocale& locale = QLocale());
