// Small routines every window shares: date arithmetic for reassessment dates and ages, blank
// filling and accent removal for the 40-column printer, and the taxpayer number (CPF) check.
// None of them keeps state between calls.
#pragma once

#include <QDate>
#include <QString>

// The date year/month/day, lowering the day until the date exists (31/02/2020 -> 29/02/2020).
// Invalid QDate when month is outside 1..12, day is below 1 or the year has no such month.
QDate AJUSTA_DIA(int year, int month, int day);

// `date` moved back `months` months, keeping its day where the target month allows it
// (31/03 - 1 -> 28/02 or 29/02). With sameDay false the result is one day later. A negative
// number of months moves forward by the same rule. Invalid in, invalid out.
QDate SUBTRAI_MESES(int months, bool sameDay, const QDate& date);

// Age in whole years on `today`; one more on the birthday itself. 0 when either date is
// invalid (a member with no birth date).
int CALCULA_IDADE(const QDate& birth, const QDate& today = QDate::currentDate());

// Right-aligns `text` in width + 1 columns (one more than asked: the receipt layout counts on
// it) by putting blanks in front; a longer text is left alone. Always true.
bool ALINHA_DIREITA(QString& text, int width);

// Pads `text` with blanks to width + 1 characters, in front when side is exactly "E", after
// it otherwise; a longer text is left alone.
void PREENCHE_BRANCOS(QString& text, int width, const QString& side);

// Replaces the accented letters the 40-column printer cannot print by their plain letters.
QString TIRA_ACENTOS(const QString& text);

// Removes the first three "." and then the first three "-" (123.456.789-09 -> 12345678909).
QString TIRA_MASCARA(const QString& text);

// True when `text`, masked or not, is an eleven-digit CPF with both check digits right and
// not all digits equal.
bool VALIDA_CPF(const QString& text);
