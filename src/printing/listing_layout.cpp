#include "printing/listing_layout.h"

namespace listing {

ReportFont font(double points, bool bold) {
  return reportFont(points, bold);
}

ReportText text(const QRectF& box, const QString& value, const ReportFont& f, Qt::Alignment align) {
  return reportText(box, value, f, align | Qt::AlignVCenter);
}

QString dateText(const QDateTime& at) {
  return QStringLiteral("Data : ") + at.date().toString(QStringLiteral("dd/MM/yyyy"));
}

QString timeText(const QDateTime& at) {
  return QStringLiteral("Hora : ") + at.time().toString(QStringLiteral("HH:mm:ss"));
}

void addTitles(ReportBand& band, const QString& title, const QString& gym, double width) {
  band.texts << text(QRectF(0, 0, width, 8), title, font(14, true), Qt::AlignHCenter)
             << text(QRectF(0, 9, width, 6), gym.trimmed(), font(11, true), Qt::AlignHCenter);
}

ReportBand pageFooter(double width) {
  ReportBand band;
  band.height = kFooterHeight;
  band.rules << ReportRule{QPointF(0, 1), QPointF(width, 1), 0.3};
  band.texts << text(QRectF(width - 45, 3, 28, 5), QStringLiteral("Página:"), font(9),
                     Qt::AlignRight);
  ReportText number = text(QRectF(width - 16, 3, 16, 5), QString(), font(9));
  number.source = TextSource::PageNumber;
  band.texts << number;
  return band;
}

Report portrait(const QString& title) {
  Report report;
  report.name = title;
  report.orientation = PageOrientation::Portrait;
  report.margins = QMarginsF(10, 10, 10, 10);
  report.pageHeader.height = kHeaderHeight;
  report.pageFooter = pageFooter(report.bodyWidth());
  report.detail.rowHeight = kRowHeight;
  report.detail.font = font(9);
  return report;
}

}  // namespace listing
