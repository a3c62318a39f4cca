#include "base/typed_date.h"

std::optional<QDate> parseTypedDate(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('/'));
  if (parts.size() != 3) return std::nullopt;
  int values[3];
  for (int i = 0; i < 3; ++i) {
    const QString part = parts[i].trimmed().remove(QLatin1Char('_'));
    bool ok = false;
    values[i] = part.toInt(&ok);
    if (!ok || part.isEmpty()) return std::nullopt;
  }
  int year = values[2];
  if (parts[2].trimmed().size() <= 2) {
    const int now = QDate::currentDate().year();
    year += (now / 100) * 100;
    if (year > now) year -= 100;
  }
  const QDate date(year, values[1], values[0]);
  if (!date.isValid()) return std::nullopt;
  return date;
}

QString formatTypedDate(const QDate& date) {
  return date.toString(QStringLiteral("dd/MM/yyyy"));
}

bool isBlankDate(const QString& text) {
  for (QChar c : text)
    if (c != QLatin1Char('/') && c != QLatin1Char(' ') && c != QLatin1Char('_')) return false;
  return true;
}
