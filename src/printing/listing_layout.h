// The look every printed listing of the program shares (catalogues, expired series, ...): A4
// portrait with 10 mm margins, the title and the gym's name centred on every page, the date
// and time it was printed, and a rule with "Página:" and the page number at the foot.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>

#include "printing/report.h"

namespace listing {

// A4 portrait with 10 mm margins leaves 190 mm of width.
inline constexpr double kHeaderHeight = 26;
inline constexpr double kColumnHeaderHeight = 7;
inline constexpr double kRowHeight = 5;
inline constexpr double kFooterHeight = 9;
inline const QColor kBarColour(210, 210, 210);

ReportFont font(double points, bool bold = false);
// A piece of text in its box, centred vertically.
ReportText text(const QRectF& box, const QString& value, const ReportFont& f,
                Qt::Alignment align = Qt::AlignLeft);

// "Data : dd/MM/yyyy" and "Hora : HH:mm:ss".
QString dateText(const QDateTime& at);
QString timeText(const QDateTime& at);

// The title and the gym's name, centred one under the other.
void addTitles(ReportBand& band, const QString& title, const QString& gym, double width);
// A rule, "Página:" and the page number.
ReportBand pageFooter(double width);
// An empty listing named `title`: page, margins, header height, footer and detail font set.
Report portrait(const QString& title);

}  // namespace listing
