// The two catalogue listings as printed reports: "Consulta de Grupamento Muscular" and
// "Consulta de Exercícios". The listing windows preview or print them; `vantrel report` writes
// them to PDF.
#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "forms/code_range.h"
#include "printing/report.h"
#include "registry/exercise_store.h"
#include "registry/muscle_group_store.h"

// What every page header of a listing shows besides its title.
struct ListingHeading {
  QString gym;  // GSTR_ACADEMIA
  CodeRange range;
  QDateTime printedAt;  // "Data :" and "Hora :"
};

enum class ListingStyle {
  FilledHeader,  // the column titles on filled bars
  RuledHeader,   // the column titles between two rules
};

// A listing of a code catalogue in two columns, "code" and "name".
struct CodeListing {
  QString title;
  QString codeTitle;
  QString nameTitle;
  ListingStyle style;
};

// A4 portrait: title, gym, range, date and time on every page; the two column titles; one line
// per row; a rule, "Página:" and the page number.
Report codeListingReport(const CodeListing& listing, const QList<std::pair<QString, QString>>& rows,
                         const ListingHeading& heading);

// The heading of a listing printed now for the logged-in gym.
ListingHeading currentHeading(const CodeRange& range);

// A4 portrait: title, gym, range, date and time on every page; "Código" and "Grupamento
// Muscular" on filled bars; one line per group; a rule, "Página:" and the page number.
Report muscleGroupListingReport(const QList<MuscleGroup>& groups, const ListingHeading& heading);

// A4 portrait: title, gym, date and time at the right, the range; "Código", "Descrição", "Tipo
// Aeróbica"; one line per exercise (the code centred, Tipo as stored); a rule, "Página:" and
// the page number.
Report exerciseListingReport(const QList<ExerciseListRow>& rows, const ListingHeading& heading);

// Runs the listing query of the range and builds the report. When the table cannot be read:
// "Abertura de tabela !" with its name, and nothing.
Result<Report> muscleGroupListing(const QSqlDatabase& db, const ListingHeading& heading);
Result<Report> exerciseListing(const QSqlDatabase& db, const ListingHeading& heading,
                               ListingOrder order);
