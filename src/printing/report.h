// The report layer every printed report of the program is built on: a report is plain data
// (page, margins, bands of items, detail columns and rows), laid out into pages by a pure
// function and drawn with QPainter onto any paged device. Lengths are millimetres throughout;
// only the drawing turns them into device pixels.
//
// A page, top to bottom: the page header (every page), the title (first page only), the column
// header (every page), then the detail rows with their group headers and footers, the summary
// after the last row, and the page footer pinned to the bottom margin of every page.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

enum class PageOrientation { Portrait, Landscape };

struct ReportFont {
  double points = 9;
  bool bold = false;
  bool italic = false;
  QString family = QStringLiteral("Arial");
};

// What a text item shows: its own text, or a value only the layout knows.
enum class TextSource {
  Fixed,
  PageNumber,  // the number of the page being drawn, from 1
  PageCount,   // the number of pages of the report
  GroupValue,  // the group of the row a group header or footer belongs to
  GroupCount,  // the number of detail rows in the group a group header or footer stands for
  RowCell,     // the cell `cell` of the row a group header or footer belongs to
};

// A text in a box. One line by default, cut at the box's edge (whole characters first, then a
// clip) so a long value never runs into its neighbour; with `wrap`, broken into lines inside the
// box and clipped at its bottom.
struct ReportText {
  QRectF box;  // mm, from the band's top-left corner (left margin, top of the band)
  QString text;
  ReportFont font;
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
  TextSource source = TextSource::Fixed;
  bool wrap = false;
  QColor fill;    // the box's background; invalid: none
  QColor ink;     // the text's colour; invalid: black
  int cell = -1;  // RowCell: which cell; cells past the columns are shown by such items only
};

// A straight line, usually horizontal or vertical.
struct ReportRule {
  QPointF from;  // mm, band-relative
  QPointF to;
  double width = 0.3;  // mm
};

// An image scaled into its box, aspect kept, centred.
struct ReportPicture {
  QRectF box;  // mm, band-relative
  QImage image;
};

// A figure the program draws itself (an outline, a bar of a chart), in mm from the band's
// top-left corner. Drawn as vectors after the pictures and before the texts, so a PDF keeps it
// sharp and a label stays readable on top of it.
struct ReportShape {
  QPainterPath path;
  QColor fill;         // invalid: not filled
  QColor line;         // invalid: no outline
  double width = 0.3;  // mm
};

struct ReportBand {
  double height = 0;  // mm; 0: the report has no such band
  QList<ReportText> texts;
  QList<ReportRule> rules;
  QList<ReportPicture> pictures;
  QList<ReportShape> shapes;

  bool present() const { return height > 0; }
};

struct ReportColumn {
  QString title;      // the column header's text (see columnHeaderBand)
  double width = 20;  // mm; columns sit side by side from the left margin
  Qt::Alignment align = Qt::AlignLeft;
};

// One detail line: a text per column; rows with the same `group` next to each other form a
// group (only when the report has a group header or footer). `levelKeys` are the row's keys for
// the report's group levels, outermost first.
struct ReportRow {
  QStringList cells;
  QString group;
  QStringList levelKeys{};  // a row of a report without group levels leaves it out
};

// A level of grouping around the rows: a header before and a footer after each run of rows
// with the same key at this level and at every level outside it.
struct ReportGroupLevel {
  ReportBand header;
  ReportBand footer;
};

struct DetailBand {
  QList<ReportColumn> columns;
  double rowHeight = 5;  // mm
  ReportFont font;
  double padding = 1;  // mm kept free inside each cell, left and right
  bool framed = false;  // every cell drawn in a frame, so the rows form a ruled table
};

struct Report {
  QString name;  // the document's title (PDF title, print job name)
  PageOrientation orientation = PageOrientation::Portrait;
  QMarginsF margins{10, 10, 10, 10};  // mm
  ReportBand pageHeader;
  ReportBand title;
  ReportBand columnHeader;
  ReportBand groupHeader;
  ReportBand groupFooter;
  // Groups nested around the rows, outermost first, for a report grouped on several values
  // (an instructor, then a day); groupHeader and groupFooter, when present, sit inside them.
  QList<ReportGroupLevel> groupLevels;
  ReportBand summary;
  ReportBand pageFooter;
  DetailBand detail;
  QList<ReportRow> rows;

  // A4 in the report's orientation, mm.
  QSizeF pageSize() const;
  // The width between the left and right margins, mm.
  double bodyWidth() const;
};

// A font of `points`, bold when asked, in the report's family.
ReportFont reportFont(double points, bool bold = false);
// A fixed text in `box`.
ReportText reportText(const QRectF& box, const QString& value, const ReportFont& font,
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// The left edge of each detail column, mm from the left margin.
QList<double> columnLefts(const DetailBand& detail);

// A column header band: each column's title in a box as wide as the column, with the detail's
// padding, on a bar of `fill` when it is valid.
ReportBand columnHeaderBand(const DetailBand& detail, double height, const ReportFont& font,
                            const QColor& fill = QColor());

// --- Layout: which band goes where, without any device.

enum class BandKind {
  PageHeader,
  Title,
  ColumnHeader,
  GroupHeader,
  Detail,
  GroupFooter,
  Summary,
  PageFooter
};

struct PlacedBand {
  BandKind kind;
  double top = 0;  // mm from the top edge of the page
  int row = -1;    // Detail, GroupHeader, GroupFooter: the index of the row it stands for
  int level = -1;  // GroupHeader, GroupFooter: the index in groupLevels; -1 the inner group
};

struct LaidOutPage {
  QList<PlacedBand> bands;

  // The indexes of the detail rows on the page, in order.
  QList<int> rows() const;
};

struct ReportLayout {
  QList<LaidOutPage> pages;
};

// Places every band of `report` on pages. A detail row, a group footer or the summary that does
// not fit above the page footer moves whole to the next page (a group header also takes its
// first row along); a band taller than an empty page is placed anyway, cut at the page's bottom,
// so the layout always ends. A report without rows still has one page.
ReportLayout layOutReport(const Report& report);

// --- Drawing

// Draws one page of `layout` with a painter whose origin is the page's top-left corner and
// which has `pixelsPerMm` device pixels to the millimetre.
void drawReportPage(QPainter& painter, const Report& report, const ReportLayout& layout, int page,
                    double pixelsPerMm);

// Sets the device to A4 in the report's orientation without margins of its own (the report
// keeps its margins), then lays out and draws every page. False when painting cannot start.
bool renderReport(const Report& report, QPagedPaintDevice& device);

// Several reports printed as one document, one after another, each from a new page with its
// own page numbers (the sections of an assessment).
struct CompositeReport {
  QString name;
  QList<Report> parts;
};

// Renders every part in turn on the device; false when painting cannot start.
bool renderReports(const CompositeReport& composite, QPagedPaintDevice& device);

// Writes the report as a PDF file. The file is replaced only when the whole document was
// written; false when it could not be (no such folder, no permission, a full disk).
bool writePdf(const Report& report, const QString& file);
bool writePdf(const CompositeReport& composite, const QString& file);
