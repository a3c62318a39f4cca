// The printer ("Impressora") and preview ("Vídeo") outputs: a QPrinter writing a PDF file stands
// in for a real printer, and the preview dialog is read while it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QPainterPath>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "printing/report_output.h"
#include "support/pdf_text.h"

namespace {

// 70 numbered rows of 8 mm (32 to a page), a page number in the footer: three A4 pages.
Report numberedRows() {
  Report r;
  r.name = QStringLiteral("Linhas numeradas");
  r.detail.rowHeight = 8;
  r.detail.columns = {{QStringLiteral("N"), 40}};
  r.pageFooter.height = 8;
  ReportText number;
  number.box = QRectF(0, 0, 40, 8);
  number.source = TextSource::PageNumber;
  r.pageFooter.texts << number;
  for (int i = 1; i <= 70; ++i) r.rows.append({{QStringLiteral("LINHA %1").arg(i)}, {}});
  return r;
}

TEST(ReportPrinter, PrintsEveryPageFromThePageCorner) {
  const Report r = numberedRows();
  const int pages = int(layOutReport(r).pages.size());
  ASSERT_EQ(pages, 3);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("impressora.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  ASSERT_TRUE(printReport(r, printer));
  EXPECT_EQ(pdfPageCount(file), pages);
  EXPECT_EQ(pdfLines(file, 1, 1).first(), QStringLiteral("LINHA 1"));
  EXPECT_EQ(pdfLines(file, 3, 3).last(), QStringLiteral("3"));
  EXPECT_EQ(printer.docName(), r.name);
}

// Runs `show` (which opens a preview) and reads the preview while it is up: the pages it shows
// and its title; -1 pages when no preview came up.
int previewedPages(const std::function<void()>& show, QString* title = nullptr) {
  int shownPages = -1;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (title) *title = dialog->windowTitle();
    if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
      preview->updatePreview();
      shownPages = preview->pageCount();
    }
    dialog->reject();
  });
  show();
  return shownPages;
}

TEST(ReportPreview, ShowsEveryPageAndReturnsWhenClosed) {
  const Report r = numberedRows();
  QString title;
  EXPECT_EQ(previewedPages([&] { previewReport(r, nullptr); }, &title), 3);
  EXPECT_EQ(title, r.name);
}

// Two reports as one document: the second starts on a page of its own, numbered from 1, and
// what it draws itself is no picture.
TEST(CompositeReport, PartsFollowEachOtherFromANewPage) {
  Report bars;
  bars.name = QStringLiteral("Barras");
  bars.orientation = PageOrientation::Landscape;
  bars.title.height = 60;
  bars.title.texts << reportText(QRectF(0, 0, 80, 8), QStringLiteral("GRAFICO"), reportFont(10));
  QPainterPath bar;
  bar.addRect(QRectF(10, 20, 8, 36));
  bars.title.shapes << ReportShape{bar, Qt::blue, Qt::black, 0.3};
  bars.pageFooter = numberedRows().pageFooter;
  const CompositeReport composite{QStringLiteral("Composto"), {numberedRows(), bars}};
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("composto.pdf"));
  ASSERT_TRUE(writePdf(composite, file));
  ASSERT_EQ(pdfPageCount(file), 4);
  EXPECT_EQ(pdfLines(file, 3, 3).last(), QStringLiteral("3"));
  EXPECT_EQ(pdfLines(file, 4, 4), QStringList({QStringLiteral("GRAFICO"), QStringLiteral("1")}));

  EXPECT_EQ(previewedPages([&] { previewReport(composite, nullptr); }), 4);

  const QString nothing = dir.filePath(QStringLiteral("vazio.pdf"));
  EXPECT_FALSE(writePdf(CompositeReport{QStringLiteral("Vazio"), {}}, nothing));
  EXPECT_FALSE(QFileInfo::exists(nothing));
}

}  // namespace
