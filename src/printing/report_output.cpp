#include "printing/report_output.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

bool printReport(const Report& report, QPrinter& printer) {
  // The report keeps its own margins; the printer must not add its own to them.
  printer.setFullPage(true);
  printer.setDocName(report.name);
  return renderReport(report, printer);
}

int previewReport(const Report& report, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(report.name);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(report.name);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&report](QPrinter* target) { printReport(report, *target); });
  return dialog.exec();
}
