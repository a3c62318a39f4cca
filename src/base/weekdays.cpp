#include "base/weekdays.h"

#include <QHash>

std::optional<int> weekdayOfShortName(const QString& name) {
  static const QHash<QString, int> days{
      {QStringLiteral("DOM"), 0}, {QStringLiteral("SUN"), 0}, {QStringLiteral("SEG"), 1},
      {QStringLiteral("MON"), 1}, {QStringLiteral("TER"), 2}, {QStringLiteral("TUE"), 2},
      {QStringLiteral("QUA"), 3}, {QStringLiteral("WED"), 3}, {QStringLiteral("QUI"), 4},
      {QStringLiteral("THU"), 4}, {QStringLiteral("SEX"), 5}, {QStringLiteral("FRI"), 5},
      {QStringLiteral("SÁB"), 6}, {QStringLiteral("SAB"), 6}, {QStringLiteral("SAT"), 6}};
  // Some locales end a short name with a full stop ("seg.").
  QString key = name.trimmed().toUpper();
  if (key.endsWith(QLatin1Char('.'))) key.chop(1);
  const auto found = days.constFind(key);
  if (found == days.cend()) return std::nullopt;
  return *found;
}

int weekdayOf(const QDate& date, const QLocale& locale) {
  const int counted = date.dayOfWeek() % 7;  // Qt counts Monday 1 … Sunday 7
  return weekdayOfShortName(locale.dayName(date.dayOfWeek(), QLocale::ShortFormat))
      .value_or(counted);
}

Week weekOf(const QDate& date, const QLocale& locale) {
  const QDate first = date.addDays(-weekdayOf(date, locale));
  return {first, first.addDays(6)};
}
