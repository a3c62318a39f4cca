// The printed listing of a code catalogue (users, muscle groups): a title, the gym, the range,
// date and time on every page, two columns "code" and "name", page numbers at the foot.
#pragma once

#include <QList>
#include <QString>

#include "printing/report.h"
#include "registry/catalogue_reports.h"

enum class ListingStyle {
  FilledHeader,  // the column titles on filled bars
  RuledHeader,   // the column titles between two rules
};

struct CodeListing {
  QString title;
  QString codeTitle;
  QString nameTitle;
  ListingStyle style;
};

Report codeListingReport(const CodeListing& listing,
                         const QList<std::pair<QString, QString>>& rows,
                         const ListingHeading& heading);
