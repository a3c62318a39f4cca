#include "printing/report_output.h"

#include <QPrintDialog>
#include <QPrinter>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include "base/prompter.h"

bool printReport(const Report& report, QPrinter& printer) {
  // The report keeps its own margins; the printer must not add its own to them.
  printer.setFullPage(true);
  printer.setDocName(report.name);
  return renderReport(report, printer);
}

namespace {

// The preview of a document named `name` that `print` draws on a printer and `save` writes as
// a PDF file.
int previewDocument(const QString& name, const std::function<bool(QPrinter&)>& print,
                    const std::function<bool(const QString&)>& save, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(name);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(name);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&print](QPrinter* target) { print(*target); });
  // Besides the printer, the report can be kept as a PDF file.
  if (auto* tools = dialog.findChild<QToolBar*>()) {
    QAction* saveAction = tools->addAction(QStringLiteral("Salvar PDF"));
    saveAction->setObjectName(QStringLiteral("SalvarPDF"));
    saveAction->setToolTip(QStringLiteral("Salvar PDF"));
    QObject::connect(saveAction, &QAction::triggered, &dialog, [&name, &save, &dialog] {
      QString file = QFileDialog::getSaveFileName(
          &dialog, QStringLiteral("Salvar PDF"),
          QDir::home().filePath(name + QStringLiteral(".pdf")), QStringLiteral("PDF (*.pdf)"));
      if (file.isEmpty()) return;
      if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
      if (!save(file))
        MENSAGEM(QStringLiteral("!"), QStringLiteral("Arquivo não pôde ser gravado !"), file);
    });
  }
  return dialog.exec();
}

}  // namespace

int previewReport(const Report& report, QWidget* parent) {
  return previewDocument(
      report.name, [&report](QPrinter& printer) { return printReport(report, printer); },
      [&report](const QString& file) { return writePdf(report, file); }, parent);
}

namespace {

// What "Vídeo" and "Impressora" do with a report or a composite of reports.
template <typename Document>
void showOrPrint(const Document& document, bool preview, QWidget* parent) {
  if (preview) {
    previewReport(document, parent);
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() == QDialog::Accepted) printReport(document, printer);
}

ReportOutput& currentOutput() {
  static ReportOutput output = showOrPrint<Report>;
  return output;
}

}  // namespace

void setReportOutput(ReportOutput output) {
  currentOutput() = output ? std::move(output) : showOrPrint<Report>;
}

void outputReport(const Report& report, bool preview, QWidget* parent) {
  currentOutput()(report, preview, parent);
}

bool printReport(const CompositeReport& composite, QPrinter& printer) {
  printer.setFullPage(true);
  printer.setDocName(composite.name);
  return renderReports(composite, printer);
}

int previewReport(const CompositeReport& composite, QWidget* parent) {
  return previewDocument(
      composite.name, [&composite](QPrinter& printer) { return printReport(composite, printer); },
      [&composite](const QString& file) { return writePdf(composite, file); }, parent);
}

namespace {

CompositeOutput& currentCompositeOutput() {
  static CompositeOutput output = showOrPrint<CompositeReport>;
  return output;
}

}  // namespace

void setCompositeOutput(CompositeOutput output) {
  currentCompositeOutput() = output ? std::move(output) : showOrPrint<CompositeReport>;
}

void outputReport(const CompositeReport& composite, bool preview, QWidget* parent) {
  currentCompositeOutput()(composite, preview, parent);
}
