// Drawing reports: what lands on the page (rendered into an image) and what a reader of the PDF
// finds in it (read back with pdftotext).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "printing/report.h"
#include "support/pdf_text.h"

namespace {

constexpr double kPxPerMm = 4;

// Renders page `page` into a white image, `kPxPerMm` pixels to the millimetre.
QImage renderPage(const Report& report, int page = 0) {
  const QSizeF mm = report.pageSize();
  QImage image(qRound(mm.width() * kPxPerMm), qRound(mm.height() * kPxPerMm), QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(kPxPerMm * 1000));
  image.setDotsPerMeterY(qRound(kPxPerMm * 1000));
  image.fill(Qt::white);
  QPainter painter(&image);
  drawReportPage(painter, report, layOutReport(report), page, kPxPerMm);
  return image;
}

// Pixels that are not (nearly) white in a rectangle given in millimetres.
int inkIn(const QImage& image, const QRectF& mm) {
  const QRect px(qFloor(mm.left() * kPxPerMm), qFloor(mm.top() * kPxPerMm),
                 qFloor(mm.width() * kPxPerMm), qFloor(mm.height() * kPxPerMm));
  int ink = 0;
  for (int y = px.top(); y <= px.bottom(); ++y)
    for (int x = px.left(); x <= px.right(); ++x)
      if (qGray(image.pixel(x, y)) < 200) ++ink;
  return ink;
}

// Three 40 mm columns from the 10 mm margin; the middle one holds the text.
Report threeColumns(const QString& middle, Qt::Alignment align) {
  Report r;
  r.margins = QMarginsF(10, 10, 10, 10);
  r.detail.rowHeight = 6;
  r.detail.font.points = 12;
  r.detail.columns = {
      {QStringLiteral("A"), 40}, {QStringLiteral("B"), 40, align}, {QStringLiteral("C"), 40}};
  r.rows.append({{QString(), middle, QString()}, {}});
  return r;
}

struct ClipCase {
  const char* name;
  Qt::Alignment align;
};

const ClipCase kClipCases[] = {
    {"Left", Qt::AlignLeft}, {"Right", Qt::AlignRight}, {"Centre", Qt::AlignHCenter}};

class LongText : public testing::TestWithParam<ClipCase> {};

TEST_P(LongText, StaysInsideItsColumn) {
  const Report r = threeColumns(QStringLiteral("W").repeated(200), GetParam().align);
  const QImage page = renderPage(r);
  EXPECT_GT(inkIn(page, QRectF(51, 10, 38, 6)), 0) << "the text is drawn";
  EXPECT_EQ(inkIn(page, QRectF(10, 10, 40, 6)), 0) << "nothing in the column on the left";
  EXPECT_EQ(inkIn(page, QRectF(90, 10, 40, 6)), 0) << "nothing in the column on the right";
  EXPECT_EQ(inkIn(page, QRectF(130, 10, 70, 6)), 0) << "nothing further right";
}

INSTANTIATE_TEST_SUITE_P(Alignments, LongText, testing::ValuesIn(kClipCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportDrawing, PicturesKeepTheirShapeInsideTheirBox) {
  Report r;
  r.margins = QMarginsF(10, 10, 10, 10);
  r.pageHeader.height = 20;
  QImage red(10, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  // A 1:2 picture in a 20 x 20 mm box: 10 mm wide, centred, so 5 mm free either side.
  r.pageHeader.pictures << ReportPicture{QRectF(0, 0, 20, 20), red};
  const QImage page = renderPage(r);
  const auto colourAt = [&](double xMm, double yMm) {
    return QColor(page.pixel(qRound(xMm * kPxPerMm), qRound(yMm * kPxPerMm)));
  };
  EXPECT_EQ(colourAt(20, 20), QColor(Qt::red));
  EXPECT_EQ(colourAt(16, 12), QColor(Qt::red));
  EXPECT_EQ(colourAt(13, 20), QColor(Qt::white));
  EXPECT_EQ(colourAt(27, 20), QColor(Qt::white));
}

TEST(ReportDrawing, RulesAndFilledBoxesLandWhereTheBandIs) {
  Report r;
  r.margins = QMarginsF(10, 10, 10, 10);
  r.pageHeader.height = 20;
  r.pageHeader.rules << ReportRule{QPointF(0, 15), QPointF(100, 15), 0.5};
  ReportText bar;
  bar.box = QRectF(0, 2, 50, 5);
  bar.fill = Qt::black;
  r.pageHeader.texts << bar;
  const QImage page = renderPage(r);
  EXPECT_GT(inkIn(page, QRectF(12, 24.8, 90, 0.4)), 300) << "the rule, 25 mm from the top";
  EXPECT_EQ(inkIn(page, QRectF(12, 26, 90, 3)), 0);
  EXPECT_GT(inkIn(page, QRectF(11, 13, 48, 3)), 2000) << "the bar";
}

// --- PDF

class ReportPdf : public testing::Test {
 protected:
  QString file(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

ReportText fixedText(const QRectF& box, const QString& value, TextSource source = TextSource::Fixed,
                     Qt::Alignment align = Qt::AlignLeft) {
  ReportText t;
  t.box = box;
  t.text = value;
  t.source = source;
  t.align = align | Qt::AlignVCenter;
  return t;
}

// 130 rows in three groups, a footer with "Página: n de m" and a title on the first page.
Report groupedListing() {
  Report r;
  r.name = QStringLiteral("Teste de Páginas");
  r.pageHeader.height = 10;
  r.pageHeader.texts << fixedText(QRectF(0, 0, 190, 8), QStringLiteral("CABEÇALHO DA PÁGINA"));
  r.title.height = 10;
  r.title.texts << fixedText(QRectF(0, 0, 190, 8), QStringLiteral("TÍTULO DO RELATÓRIO"));
  r.detail.columns = {{QStringLiteral("Linha"), 40}, {QStringLiteral("Nome"), 150}};
  r.columnHeader = columnHeaderBand(r.detail, 7, ReportFont{10, true});
  r.groupHeader.height = 7;
  r.groupHeader.texts << fixedText(QRectF(0, 0, 30, 7), QStringLiteral("Grupo:"))
                      << fixedText(QRectF(30, 0, 60, 7), QString(), TextSource::GroupValue);
  r.pageFooter.height = 8;
  r.pageFooter.texts << fixedText(QRectF(120, 2, 25, 5), QStringLiteral("Página:"),
                                  TextSource::Fixed, Qt::AlignRight)
                     << fixedText(QRectF(146, 2, 10, 5), QString(), TextSource::PageNumber)
                     << fixedText(QRectF(156, 2, 8, 5), QStringLiteral("de"))
                     << fixedText(QRectF(164, 2, 10, 5), QString(), TextSource::PageCount);
  for (int i = 1; i <= 130; ++i)
    r.rows.append(
        {{QStringLiteral("L%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("NOME %1").arg(i)},
         QStringLiteral("G%1").arg((i - 1) / 50 + 1)});
  return r;
}

TEST_F(ReportPdf, EveryPageHasItsHeadersAndNumberAndEveryRowIsThereOnce) {
  const Report r = groupedListing();
  const int pages = int(layOutReport(r).pages.size());
  ASSERT_GE(pages, 3);
  ASSERT_TRUE(writePdf(r, file(QStringLiteral("grupos.pdf"))));
  EXPECT_EQ(pdfPageCount(file(QStringLiteral("grupos.pdf"))), pages);

  QStringList rows;
  for (int p = 1; p <= pages; ++p) {
    SCOPED_TRACE(testing::Message() << "page " << p);
    const QStringList lines = pdfLines(file(QStringLiteral("grupos.pdf")), p, p);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("CABEÇALHO DA PÁGINA"));
    EXPECT_EQ(lines.contains(QStringLiteral("TÍTULO DO RELATÓRIO")), p == 1);
    EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^Linha\\s+Nome$"))).size() == 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Página:\\s+%1\\s+de\\s+%2$").arg(p).arg(pages))
                    .match(lines.last())
                    .hasMatch())
        << lines.last().toStdString();
    for (const QString& line : lines)
      if (line.startsWith(QLatin1Char('L')) && line != QLatin1String("Linha  Nome"))
        rows << line.simplified();
  }
  rows.removeAll(QStringLiteral("Linha Nome"));
  ASSERT_EQ(rows.size(), 130);
  for (int i = 1; i <= 130; ++i)
    EXPECT_EQ(rows[i - 1], QStringLiteral("L%1 NOME %2").arg(i, 3, 10, QLatin1Char('0')).arg(i));

  const QString all = pdfText(file(QStringLiteral("grupos.pdf")));
  for (const char* group : {"G1", "G2", "G3"})
    EXPECT_EQ(all.count(QRegularExpression(QStringLiteral("Grupo:\\s+%1\\b").arg(group))), 1)
        << group;
}

TEST_F(ReportPdf, ALongValueShowsItsBeginningWhateverItsAlignment) {
  const QString full =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
  for (const ClipCase& c : kClipCases) {
    Report r = threeColumns(full, c.align);
    r.rows[0].cells[2] = QStringLiteral("VIZINHO");
    ASSERT_TRUE(writePdf(r, file(QStringLiteral("corte.pdf"))));
    const QString text = pdfText(file(QStringLiteral("corte.pdf"))).simplified();
    // Only the characters that fit the 38 mm between the paddings come out, then the neighbour.
    const QString cut = text.section(QLatin1Char(' '), 0, 0);
    EXPECT_GE(cut.size(), 10) << c.name << ": " << text.toStdString();
    EXPECT_LT(cut.size(), full.size()) << c.name << ": " << text.toStdString();
    EXPECT_TRUE(full.startsWith(cut)) << c.name << ": " << text.toStdString();
    EXPECT_EQ(text.section(QLatin1Char(' '), 1), QStringLiteral("VIZINHO")) << c.name;
  }
}

TEST_F(ReportPdf, LandscapePagesAreWide) {
  Report r = threeColumns(QStringLiteral("PAISAGEM"), Qt::AlignLeft);
  r.orientation = PageOrientation::Landscape;
  ASSERT_TRUE(writePdf(r, file(QStringLiteral("paisagem.pdf"))));
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {file(QStringLiteral("paisagem.pdf"))});
  ASSERT_TRUE(info.waitForFinished(30000));
  // A4 landscape is 842 x 595 points.
  const QString output = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(output.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595"))))
      << output.toStdString();
}

TEST_F(ReportPdf, AFileThatCannotBeWrittenIsReportedAndNothingIsLeftBehind) {
  const QString missingFolder = file(QStringLiteral("nao/existe/relatorio.pdf"));
  EXPECT_FALSE(writePdf(threeColumns(QStringLiteral("X"), Qt::AlignLeft), missingFolder));
  EXPECT_FALSE(QFileInfo::exists(missingFolder));
}

}  // namespace
