// The 40-column series receipt: a member's current workout of one letter as the short lines a
// narrow text printer prints at the gym floor. The lines are worked out here as a list of
// pieces of text, each at a start column and perhaps ending its line, the same list for both
// ways out: the bytes written to the printer's port, or cells drawn on a system printer. What
// differs between the two (columns, rule width, blank lines, number formats) is decided here.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "series/series_rules.h"

enum class ReceiptRoute { Port, Printer };

// One piece of a line: `text` from `column` (character cells from the left), after `efeito`
// (sent before the blanks, not counted as columns; port only), ending the line or not.
struct ReceiptItem {
  QString text;
  int column = 0;
  bool lineEnd = false;
  QString efeito;
  bool operator==(const ReceiptItem&) const = default;
};

struct ReceiptAerobicRow {
  QString codigo;
  QString exercicio;
  QString abreviada;
  double duracao = 0;
  double velocidade = 0;
  double nivel = 0;
};

struct ReceiptStrengthRow {
  QString codigo;
  QString exercicio;
  QString abreviada;
  QString series;
  QString repeticoes;
  QString peso;
  QString regulagem;
  int intervalo = 0;
  std::optional<QString> obs;  // nothing when the remark is null
};

// What the receipt prints for one member and workout letter.
struct ReceiptData {
  QString matricula;  // ten digits
  QString nome;
  QString letter;
  WeekdayFlags aerobicDays{};
  QList<ReceiptAerobicRow> aerobic;  // workout "A" only
  WeekdayFlags strengthDays{};
  QList<ReceiptStrengthRow> strength;
  bool hasStretching = false;
  std::optional<QString> stretchingObs;  // nothing when the remark is null
};

// The settings that shape it.
struct ReceiptLayout {
  QString impressaoReduzida;  // "Sim": reduced; "Não": full by name; anything else: full
  bool porCodigoAparelho = false;
  int espaco = 0;  // blank lines fed after the receipt
};

// "Dom Seg Qua " for the days ticked, Sunday first, each with its trailing blank.
QString receiptDayList(const WeekdayFlags& days);

// A typed registration number as stored: ten digits with leading zeros ("123" is 0000000123);
// blanks are ignored. Nothing when it is not a number of at most ten digits.
std::optional<QString> typedRegistration(const QString& typed);

// The workout letter of a typed workout number, "1" → "A" ... "5" → "E"; empty otherwise.
QString receiptLetter(const QString& number);

// Every piece of the receipt, in printing order.
QList<ReceiptItem> receiptItems(const ReceiptData& data, const ReceiptLayout& layout,
                                ReceiptRoute route);

// Reads the member's current rows of `letter` (and the aerobic block and stretching row for
// "A"); the member's name is left to the caller. Throws SqlError.
ReceiptData readReceiptData(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& letter);
