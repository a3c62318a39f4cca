#include "registry/code_listing_report.h"

namespace {

constexpr double kHeaderHeight = 26;
constexpr double kColumnHeaderHeight = 7;
constexpr double kFooterHeight = 9;

ReportFont font(double points, bool bold = false) {
  ReportFont f;
  f.points = points;
  f.bold = bold;
  return f;
}

ReportText text(const QRectF& box, const QString& value, const ReportFont& f,
                Qt::Alignment align = Qt::AlignLeft) {
  ReportText t;
  t.box = box;
  t.text = value;
  t.font = f;
  t.align = align | Qt::AlignVCenter;
  return t;
}

}  // namespace

Report codeListingReport(const CodeListing& listing,
                         const QList<std::pair<QString, QString>>& rows,
                         const ListingHeading& heading) {
  Report report;
  report.name = listing.title;
  report.pageHeader.height = kHeaderHeight;
  const double width = report.bodyWidth();
  const QDateTime at = heading.printedAt;
  report.pageHeader.texts
      << text(QRectF(0, 0, width, 8), listing.title, font(14, true), Qt::AlignHCenter)
      << text(QRectF(0, 9, width, 6), heading.gym.trimmed(), font(11, true), Qt::AlignHCenter)
      << text(QRectF(0, 18, 70, 5), QStringLiteral("%1 à %2").arg(heading.range.from, heading.range.to), font(9))
      << text(QRectF(width - 80, 18, 40, 5),
              QStringLiteral("Data : ") + at.date().toString(QStringLiteral("dd/MM/yyyy")), font(9),
              Qt::AlignRight)
      << text(QRectF(width - 38, 18, 38, 5),
              QStringLiteral("Hora : ") + at.time().toString(QStringLiteral("HH:mm:ss")), font(9),
              Qt::AlignRight);
  report.detail.rowHeight = 5;
  report.detail.font = font(9);
  report.detail.columns = {{listing.codeTitle, 25, Qt::AlignLeft},
                           {listing.nameTitle, width - 25, Qt::AlignLeft}};
  const bool filled = listing.style == ListingStyle::FilledHeader;
  report.columnHeader = columnHeaderBand(report.detail, kColumnHeaderHeight, font(10, true),
                                         filled ? QColor(210, 210, 210) : QColor());
  if (!filled)
    report.columnHeader.rules << ReportRule{QPointF(0, 0.2), QPointF(width, 0.2), 0.3}
                              << ReportRule{QPointF(0, kColumnHeaderHeight - 0.2),
                                            QPointF(width, kColumnHeaderHeight - 0.2), 0.3};
  report.pageFooter.height = kFooterHeight;
  report.pageFooter.rules << ReportRule{QPointF(0, 1), QPointF(width, 1), 0.3};
  report.pageFooter.texts << text(QRectF(width - 45, 3, 28, 5), QStringLiteral("Página:"), font(9),
                                  Qt::AlignRight);
  ReportText number = text(QRectF(width - 16, 3, 16, 5), QString(), font(9));
  number.source = TextSource::PageNumber;
  report.pageFooter.texts << number;
  for (const auto& [code, name] : rows) report.rows.append({{code, name}, QString()});
  return report;
}
