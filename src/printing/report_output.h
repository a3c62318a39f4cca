// The two outputs of a report that need the window system: the preview on screen ("Vídeo") and
// a printer ("Impressora"). Kept apart from the report layer so logic and the command line never
// pull in widgets.
#pragma once

#include <functional>

#include "printing/report.h"

class QPrinter;
class QWidget;

// Prints every page of the report on `printer` (A4 in the report's orientation, drawn from the
// page's corner). False when the printer cannot start the job.
bool printReport(const Report& report, QPrinter& printer);

// Shows the report in a modal print-preview dialog from which it can also be printed. Returns
// when the dialog is closed, with the dialog's result.
int previewReport(const Report& report, QWidget* parent);

// What the windows' "Vídeo" and "Impressora" buttons do with a report: the preview, or the
// printer chosen in the print dialog. Tests put something else in its place (nullptr puts the
// real one back).
using ReportOutput = std::function<void(const Report&, bool preview, QWidget* parent)>;
void setReportOutput(ReportOutput output);
void outputReport(const Report& report, bool preview, QWidget* parent);

// The same for a printout made of several reports (an assessment's sections), with a hook of
// its own for the tests.
bool printReport(const CompositeReport& composite, QPrinter& printer);
int previewReport(const CompositeReport& composite, QWidget* parent);
using CompositeOutput = std::function<void(const CompositeReport&, bool preview, QWidget* parent)>;
void setCompositeOutput(CompositeOutput output);
void outputReport(const CompositeReport& composite, bool preview, QWidget* parent);
