#include "registry/catalogue_reports.h"

#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "printing/listing_layout.h"

namespace {

using listing::addTitles;
using listing::dateText;
using listing::font;
using listing::kBarColour;
using listing::kColumnHeaderHeight;
using listing::text;
using listing::timeText;

QString rangeText(const CodeRange& range) {
  return QStringLiteral("%1 à %2").arg(range.from, range.to);
}

Report portraitListing(const QString& title) {
  return listing::portrait(title);
}

Failure unreadable(const QString& table, const SqlError& e) {
  return {Msg::AberturaDeTabela, table,
          QStringLiteral("Abertura de tabela %1: %2").arg(table, e.text())};
}

}  // namespace

ListingHeading currentHeading(const CodeRange& range) {
  return ListingHeading{G().GSTR_ACADEMIA.str(), range, QDateTime::currentDateTime()};
}

Report codeListingReport(const CodeListing& listing, const QList<std::pair<QString, QString>>& rows,
                         const ListingHeading& heading) {
  Report report = portraitListing(listing.title);
  const double width = report.bodyWidth();
  addTitles(report.pageHeader, report.name, heading.gym, width);
  report.pageHeader.texts << text(QRectF(0, 18, 70, 5), rangeText(heading.range), font(9))
                          << text(QRectF(width - 80, 18, 40, 5), dateText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(width - 38, 18, 38, 5), timeText(heading.printedAt),
                                  font(9), Qt::AlignRight);
  report.detail.columns = {{listing.codeTitle, 25, Qt::AlignLeft},
                           {listing.nameTitle, width - 25, Qt::AlignLeft}};
  const bool filled = listing.style == ListingStyle::FilledHeader;
  report.columnHeader = columnHeaderBand(report.detail, kColumnHeaderHeight, font(10, true),
                                         filled ? kBarColour : QColor());
  if (!filled)
    report.columnHeader.rules << ReportRule{QPointF(0, 0.2), QPointF(width, 0.2), 0.3}
                              << ReportRule{QPointF(0, kColumnHeaderHeight - 0.2),
                                            QPointF(width, kColumnHeaderHeight - 0.2), 0.3};
  for (const auto& [code, name] : rows) report.rows.append({{code, name}, QString()});
  return report;
}

Report muscleGroupListingReport(const QList<MuscleGroup>& groups, const ListingHeading& heading) {
  QList<std::pair<QString, QString>> rows;
  for (const MuscleGroup& g : groups) rows.append({g.code, g.description});
  return codeListingReport(
      {QStringLiteral("Consulta de Grupamento Muscular"), QStringLiteral("Código"),
       QStringLiteral("Grupamento Muscular"), ListingStyle::FilledHeader},
      rows, heading);
}

Report exerciseListingReport(const QList<ExerciseListRow>& rows, const ListingHeading& heading) {
  Report report = portraitListing(QStringLiteral("Consulta de Exercícios"));
  const double width = report.bodyWidth();
  addTitles(report.pageHeader, report.name, heading.gym, width);
  report.pageHeader.texts << text(QRectF(width - 45, 0, 45, 5), dateText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(width - 45, 5, 45, 5), timeText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(0, 18, 70, 5), rangeText(heading.range), font(9));

  report.detail.columns = {{QStringLiteral("Código"), 20, Qt::AlignHCenter},
                           {QStringLiteral("Descrição"), width - 55, Qt::AlignLeft},
                           {QStringLiteral("Tipo Aeróbica"), 35, Qt::AlignLeft}};
  report.columnHeader = columnHeaderBand(report.detail, kColumnHeaderHeight, font(10, true));
  report.columnHeader.rules << ReportRule{QPointF(0, kColumnHeaderHeight - 0.5),
                                          QPointF(width, kColumnHeaderHeight - 0.5), 0.3};
  for (const ExerciseListRow& r : rows)
    report.rows.append({{r.code, r.description, r.tipo}, QString()});
  return report;
}

Result<Report> muscleGroupListing(const QSqlDatabase& db, const ListingHeading& heading) {
  try {
    return muscleGroupListingReport(listMuscleGroups(db, heading.range), heading);
  } catch (const SqlError& e) {
    return unreadable(kMuscleGroupTable, e);
  }
}

Result<Report> exerciseListing(const QSqlDatabase& db, const ListingHeading& heading,
                               ListingOrder order) {
  try {
    return exerciseListingReport(listExercises(db, heading.range, order), heading);
  } catch (const SqlError& e) {
    return unreadable(kExerciseTable, e);
  }
}
