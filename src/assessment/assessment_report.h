// The assessment printout: one report per chosen section, printed one after another as a
// single document, each with the member's page frame and the gym's footer.
#pragma once

#include <QDateTime>
#include <QSet>

#include "assessment/assessment_data.h"
#include "printing/report.h"

// Report units of the assessment program (marker places, chart bars), in millimetres.
inline constexpr double kReportUnit = 0.25;

// The sections of `sections` that `data` prints, in printing order, each as its report.
// `printedAt` is the date and time the page frames show.
CompositeReport assessmentReport(const AssessmentData& data, const QSet<Section>& sections,
                                 const QDateTime& printedAt);

// A stored memo as plain text: rich text loses its markup, plain text stays as it is.
QString memoText(const QString& stored);
