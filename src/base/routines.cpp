#include "base/routines.h"

#include <limits>

QDate AJUSTA_DIA(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return QDate();
  // No month has more than 31 days, so starting there gives the same date as counting down
  // from a larger day, without the long walk.
  for (int d = qMin(day, 31); d >= 1; --d) {
    if (QDate::isValid(year, month, d)) return QDate(year, month, d);
  }
  return QDate();  // a year QDate does not have (year 0)
}

QDate SUBTRAI_MESES(int months, bool sameDay, const QDate& date) {
  if (!date.isValid()) return QDate();
  // Months counted from year 0 with floor division: for a non-negative `months` this is the
  // year/month borrow of the usual rule; for a negative one it carries forward instead of
  // leaving a month above 12.
  const qint64 total = qint64(date.year()) * 12 + (date.month() - 1) - months;
  const qint64 year = total >= 0 ? total / 12 : -((-total + 11) / 12);
  const int month = int(total - year * 12) + 1;
  if (year < std::numeric_limits<int>::min() || year > std::numeric_limits<int>::max()) {
    return QDate();
  }
  const QDate result = AJUSTA_DIA(int(year), month, date.day());
  return sameDay ? result : result.addDays(1);
}

int CALCULA_IDADE(const QDate& birth, const QDate& today) {
  if (!birth.isValid() || !today.isValid()) return 0;
  int age = today.year() - birth.year();
  if (today.month() < birth.month() ||
      (today.month() == birth.month() && today.day() < birth.day())) {
    --age;
  }
  return age;
}

bool ALINHA_DIREITA(QString& text, int width) {
  if (text.size() <= width) text.prepend(QString(width - text.size() + 1, QLatin1Char(' ')));
  return true;
}

void PREENCHE_BRANCOS(QString& text, int width, const QString& side) {
  if (text.size() > width) return;
  const QString blanks(width - text.size() + 1, QLatin1Char(' '));
  if (side == QStringLiteral("E")) {
    text.prepend(blanks);
  } else {
    text.append(blanks);
  }
}

QString TIRA_ACENTOS(const QString& text) {
  static const QString accented = QStringLiteral("àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜ");
  static const QString plain = QStringLiteral("aaeouaoaeioucuAAEOUAOAEIOUCU");
  QString result = text;
  for (QChar& c : result) {
    const qsizetype at = accented.indexOf(c);
    if (at >= 0) c = plain.at(at);
  }
  return result;
}

QString TIRA_MASCARA(const QString& text) {
  QString result = text;
  for (const QChar mark : {QLatin1Char('.'), QLatin1Char('-')}) {
    for (int i = 0; i < 3; ++i) {
      const qsizetype at = result.indexOf(mark);
      if (at < 0) break;
      result.remove(at, 1);
    }
  }
  return result;
}

namespace {

// Check digit of the first `count` digits, weighted count + 1 down to 2.
int cpfCheckDigit(const QString& digits, int count) {
  int sum = 0;
  for (int i = 0; i < count; ++i) sum += digits.at(i).digitValue() * (count + 1 - i);
  const int r = sum % 11;
  return r < 2 ? 0 : 11 - r;
}

}  // namespace

bool VALIDA_CPF(const QString& text) {
  const QString cpf = TIRA_MASCARA(text);
  if (cpf.size() != 11) return false;
  for (const QChar c : cpf) {
    // Only ASCII digits: QChar::isDigit would also let other scripts' digits through.
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  if (cpf == QString(11, cpf.at(0))) return false;  // 000.000.000-00 .. 999.999.999-99
  return cpfCheckDigit(cpf, 9) == cpf.at(9).digitValue() &&
         cpfCheckDigit(cpf, 10) == cpf.at(10).digitValue();
}
