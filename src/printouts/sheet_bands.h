// The pieces both printed sheets of a series are composed of (the current series sheet and the
// reprint of a dated workout): bands stacked one below the other, columns that fill the page's
// width, a framed table drawn inside a band and the line of day names.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "printing/report.h"
#include "series/series_rules.h"

// Appends `below` under what `band` holds.
void stackBand(ReportBand& band, const ReportBand& below);

// Columns of the widths given, except column `wide`, which takes what the others leave of
// `width`. `align` for every column but the wide one, which is left aligned.
QList<ReportColumn> fillingColumns(const QList<std::pair<QString, double>>& fixed, int wide,
                                   double width, Qt::Alignment align = Qt::AlignLeft);

// The framed detail of a strength table ("Seq", "Ap", "Exercício", "Séries", "Repetições", "Peso",
// "Regulagem", "Intervalo") across `width`, cells other than the exercise's aligned by `align`.
DetailBand strengthDetail(double width, Qt::Alignment align = Qt::AlignLeft);

// A framed table drawn inside a band, titles in bold on its first line, for the short blocks
// printed above a report's detail rows.
ReportBand framedTable(const QList<ReportColumn>& cols, const QList<QStringList>& rows);

// "Dias : " and the seven day names from `left`: the days the block is done on in `onInk`
// (invalid: black), the others in silver grey.
void dayNamesLine(ReportBand& band, double left, double top, const WeekdayFlags& days,
                  const QColor& onInk = QColor());
