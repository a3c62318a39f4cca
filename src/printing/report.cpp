#include "printing/report.h"

#include <array>
#include <functional>
#include <map>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScopeGuard>

namespace {

// Positions are sums of decimal millimetres: a row that fits exactly must not be pushed to the
// next page by a rounding error.
constexpr double kEpsilon = 1e-6;

// PDF coordinates need no more precision than this: a twelfth of a millimetre.
constexpr int kPdfResolution = 300;

QSizeF a4(PageOrientation orientation) {
  const QSizeF portrait = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  return orientation == PageOrientation::Portrait ? portrait : portrait.transposed();
}

const ReportBand* bandOf(const Report& report, BandKind kind, int level = -1) {
  switch (kind) {
    case BandKind::PageHeader:
      return &report.pageHeader;
    case BandKind::Title:
      return &report.title;
    case BandKind::ColumnHeader:
      return &report.columnHeader;
    case BandKind::GroupHeader:
      return level < 0 ? &report.groupHeader : &report.groupLevels[level].header;
    case BandKind::GroupFooter:
      return level < 0 ? &report.groupFooter : &report.groupLevels[level].footer;
    case BandKind::Summary:
      return &report.summary;
    case BandKind::PageFooter:
      return &report.pageFooter;
    case BandKind::Detail:
      break;
  }
  return nullptr;
}

double heightOf(const Report& report, BandKind kind, int level = -1) {
  if (kind == BandKind::Detail) return report.detail.rowHeight;
  return bandOf(report, kind, level)->height;
}

// The rows' grouping, outermost first: the report's group levels, then the inner group when
// the report has its bands. Depth d stands for groupLevels[d], or for the inner group (level -1).
class Grouping {
 public:
  explicit Grouping(const Report& report)
      : report_(report),
        levels_(int(report.groupLevels.size())),
        depth_(levels_ + (report.groupHeader.present() || report.groupFooter.present() ? 1 : 0)) {}

  int depth() const { return depth_; }
  int level(int d) const { return d < levels_ ? d : -1; }

  // The outermost depth at which row `row` starts a new group; depth() when it starts none.
  int firstChange(int row) const {
    if (row == 0) return 0;
    for (int d = 0; d < depth_; ++d)
      if (key(row, d) != key(row - 1, d)) return d;
    return depth_;
  }

  // The number of rows in the group of `row` at `level` (-1: the inner group).
  int count(int row, int level) const {
    const int d = level < 0 ? depth_ - 1 : level;
    if (row < 0 || row >= report_.rows.size() || d < 0) return 0;
    const auto same = [&](int other) {
      for (int k = 0; k <= d; ++k)
        if (key(other, k) != key(row, k)) return false;
      return true;
    };
    int first = row;
    while (first > 0 && same(first - 1)) --first;
    int last = row;
    while (last + 1 < report_.rows.size() && same(last + 1)) ++last;
    return last - first + 1;
  }

 private:
  QString key(int row, int d) const {
    const ReportRow& r = report_.rows[row];
    return d < levels_ ? r.levelKeys.value(d) : r.group;
  }

  const Report& report_;
  const int levels_;
  const int depth_;
};

// Fills pages band by band. A page is "fresh" until something other than its headers is on
// it; a band that does not fit a fresh page is placed anyway, which is what guarantees an end.
class Paginator {
 public:
  explicit Paginator(const Report& report)
      : report_(report),
        pageHeight_(report.pageSize().height()),
        footerTop_(pageHeight_ - report.margins.bottom() - report.pageFooter.height) {}

  ReportLayout run() {
    startPage();
    const Grouping grouping(report_);
    const int depth = grouping.depth();
    const int count = int(report_.rows.size());
    for (int i = 0; i < count; ++i) {
      const int from = grouping.firstChange(i);
      if (i > 0)
        for (int d = depth - 1; d >= from; --d)
          place(BandKind::GroupFooter, i - 1, 0, grouping.level(d));
      for (int d = from; d < depth; ++d) {
        // A header keeps the headers inside it and the first row on its page.
        double keepWith = report_.detail.rowHeight;
        for (int inner = d + 1; inner < depth; ++inner)
          keepWith += heightOf(report_, BandKind::GroupHeader, grouping.level(inner));
        place(BandKind::GroupHeader, i, keepWith, grouping.level(d));
      }
      place(BandKind::Detail, i);
    }
    if (count > 0)
      for (int d = depth - 1; d >= 0; --d)
        place(BandKind::GroupFooter, count - 1, 0, grouping.level(d));
    place(BandKind::Summary);
    finishPage();
    return layout_;
  }

 private:
  void startPage() {
    layout_.pages.append(LaidOutPage());
    y_ = report_.margins.top();
    put(BandKind::PageHeader);
    if (layout_.pages.size() == 1) put(BandKind::Title);
    put(BandKind::ColumnHeader);
    fresh_ = true;
  }

  void finishPage() {
    if (!report_.pageFooter.present()) return;
    layout_.pages.last().bands.append({BandKind::PageFooter, footerTop_, -1});
  }

  // Places a band that flows with the rows; `keepWith` is room that must remain below it.
  void place(BandKind kind, int row = -1, double keepWith = 0, int level = -1) {
    const double height = heightOf(report_, kind, level);
    if (height <= 0) return;
    if (!fresh_ && y_ + height + keepWith > footerTop_ + kEpsilon) {
      finishPage();
      startPage();
    }
    put(kind, row, level);
    fresh_ = false;
  }

  void put(BandKind kind, int row = -1, int level = -1) {
    const double height = heightOf(report_, kind, level);
    if (height <= 0) return;
    layout_.pages.last().bands.append({kind, y_, row, level});
    y_ += height;
  }

  const Report& report_;
  const double pageHeight_;
  const double footerTop_;
  ReportLayout layout_;
  double y_ = 0;
  bool fresh_ = true;
};

// --- Drawing

QFont toQFont(const ReportFont& wanted) {
  QFont font(wanted.family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(wanted.points);
  font.setBold(wanted.bold);
  font.setItalic(wanted.italic);
  return font;
}

// The fonts of a document and their measures on its device, made once per document instead of
// once per text.
class Fonts {
 public:
  struct Entry {
    QFont font;
    QFontMetricsF metrics;
  };
  explicit Fonts(const QPaintDevice* device) : device_(device) {}
  const Entry& of(const ReportFont& wanted) {
    const QString key = QStringLiteral("%1|%2|%3%4")
                            .arg(wanted.family)
                            .arg(wanted.points)
                            .arg(wanted.bold ? 'b' : '-')
                            .arg(wanted.italic ? 'i' : '-');
    auto found = cache_.find(key);
    if (found == cache_.end()) {
      const QFont font = toQFont(wanted);
      found = cache_.emplace(key, Entry{font, QFontMetricsF(font, device_)}).first;
    }
    return found->second;
  }

 private:
  const QPaintDevice* device_;
  std::map<QString, Entry> cache_;
};

QRectF scaled(const QRectF& mm, double s) {
  return QRectF(mm.left() * s, mm.top() * s, mm.width() * s, mm.height() * s);
}

// The longest beginning of `text` that fits `width`, in whole characters.
QString cutToWidth(const QString& text, const QFontMetricsF& metrics, double width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  qsizetype lo = 0;
  qsizetype hi = text.size();
  while (lo < hi) {  // the largest n with advance(left(n)) <= width
    const qsizetype mid = (lo + hi + 1) / 2;
    if (metrics.horizontalAdvance(text.left(mid)) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  if (lo > 0 && text.at(lo - 1).isHighSurrogate()) --lo;
  return text.left(lo);
}

// A line that fits its box needs neither a clip nor a text layout: it goes on the baseline
// where the rectangle form would put it. Saving the painter and clipping around every text is
// what made long listings slow.
void drawOnBaseline(QPainter& painter, const QRectF& box, const QString& value,
                    const QFontMetricsF& metrics, Qt::Alignment align, double advance) {
  double x = box.left();
  if (align & Qt::AlignRight)
    x = box.right() - advance;
  else if (align & Qt::AlignHCenter)
    x = box.center().x() - advance / 2;
  double y = box.top() + metrics.ascent();
  if (align & Qt::AlignBottom)
    y = box.bottom() - metrics.descent();
  else if (align & Qt::AlignVCenter)
    y = box.center().y() + (metrics.ascent() - metrics.descent()) / 2;
  painter.drawText(QPointF(x, y), value);
}

void drawText(QPainter& painter, Fonts& fonts, const QRectF& boxMm, const QString& value,
              const ReportFont& font, Qt::Alignment align, bool wrap, const QColor& fill,
              double s, const QColor& ink = QColor()) {
  const QRectF box = scaled(boxMm, s);
  if (fill.isValid()) painter.fillRect(box, fill);
  if (value.isEmpty()) return;
  const Fonts::Entry& entry = fonts.of(font);
  painter.setFont(entry.font);
  if (ink.isValid()) painter.setPen(ink);
  // Black again for whatever is drawn next.
  const auto black = qScopeGuard([&] {
    if (ink.isValid()) painter.setPen(Qt::black);
  });
  const QFontMetricsF& metrics = entry.metrics;
  if (!wrap) {
    const double advance = metrics.horizontalAdvance(value);
    if (metrics.height() <= box.height() && advance <= box.width()) {
      drawOnBaseline(painter, box, value, metrics, align, advance);
      return;
    }
  }
  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  if (wrap) {
    painter.drawText(box, int(align) | Qt::TextWordWrap, value);
  } else {
    painter.drawText(box, int(align) | Qt::TextSingleLine, cutToWidth(value, metrics, box.width()));
  }
  painter.restore();
}

QString textValue(const ReportText& text, const Report& report, const ReportLayout& layout,
                  int page, const PlacedBand& band) {
  const int row = band.row;
  const bool hasRow = row >= 0 && row < report.rows.size();
  switch (text.source) {
    case TextSource::Fixed:
      return text.text;
    case TextSource::PageNumber:
      return QString::number(page + 1);
    case TextSource::PageCount:
      return QString::number(layout.pages.size());
    case TextSource::GroupValue:
      if (!hasRow) return QString();
      return band.level < 0 ? report.rows[row].group : report.rows[row].levelKeys.value(band.level);
    case TextSource::GroupCount:
      return hasRow ? QString::number(Grouping(report).count(row, band.level)) : QString();
    case TextSource::RowCell:
      return hasRow ? report.rows[row].cells.value(text.cell) : QString();
  }
  return QString();
}

QRectF fitted(const QSize& image, const QRectF& box) {
  QSizeF size = QSizeF(image).scaled(box.size(), Qt::KeepAspectRatio);
  return QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void drawBand(QPainter& painter, Fonts& fonts, const ReportBand& band, const QPointF& origin,
              const Report& report, const ReportLayout& layout, int page, const PlacedBand& placed,
              double s) {
  for (const ReportPicture& picture : band.pictures) {
    if (picture.image.isNull()) continue;
    const QRectF box = scaled(picture.box.translated(origin), s);
    painter.drawImage(fitted(picture.image.size(), box), picture.image);
  }
  for (const ReportShape& shape : band.shapes) {
    painter.save();
    painter.translate(origin * s);
    painter.scale(s, s);
    if (shape.line.isValid()) {
      QPen pen(shape.line, shape.width);
      pen.setJoinStyle(Qt::RoundJoin);
      painter.setPen(pen);
    } else {
      painter.setPen(Qt::NoPen);
    }
    painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
    painter.drawPath(shape.path);
    painter.restore();
  }
  for (const ReportText& text : band.texts)
    drawText(painter, fonts, text.box.translated(origin),
             textValue(text, report, layout, page, placed), text.font, text.align, text.wrap,
             text.fill, s, text.ink);
  for (const ReportRule& rule : band.rules) {
    QPen pen(Qt::black, rule.width * s);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine((rule.from + origin) * s, (rule.to + origin) * s);
  }
}

// What every cell of the detail rows shares, worked out once a page instead of once a cell.
struct DetailPen {
  DetailPen(const DetailBand& detail, const QPaintDevice* device, double s)
      : font(toQFont(detail.font)),
        metrics(font, device),
        lefts(columnLefts(detail)),
        fitsHeight(metrics.height() <= detail.rowHeight * s),
        widest(metrics.maxWidth()) {
    latin1.fill(-1);
  }
  // The width of a cell's text. Latin-1 texts (nearly all of them) add up the widths of their
  // characters, each measured once, instead of shaping the whole text: shaping every cell is
  // what a long listing spent most of its time on. Kerning only narrows such texts.
  double advance(const QString& text) const {
    double sum = 0;
    for (const QChar c : text) {
      if (c.unicode() > 0xFF) return metrics.horizontalAdvance(text);
      double& width = latin1[c.unicode()];
      if (width < 0) width = metrics.horizontalAdvance(c);
      sum += width;
    }
    return sum;
  }
  QFont font;
  QFontMetricsF metrics;
  QList<double> lefts;
  bool fitsHeight;  // a line of text stays inside the row
  double widest;    // no character is wider: short texts fit without being measured
  mutable std::array<double, 256> latin1;  // measured character widths, -1 until measured
};

void drawRow(QPainter& painter, Fonts& fonts, const Report& report, const DetailPen& pen,
             int row, const QPointF& origin, double s) {
  const DetailBand& detail = report.detail;
  const QStringList& cells = report.rows[row].cells;
  if (detail.framed) {
    painter.setPen(QPen(Qt::black, 0.2 * s));
    for (int c = 0; c < detail.columns.size(); ++c)
      painter.drawRect(scaled(QRectF(origin.x() + pen.lefts[c], origin.y(),
                                     detail.columns[c].width, detail.rowHeight),
                              s));
  }
  for (int c = 0; c < detail.columns.size() && c < cells.size(); ++c) {
    const ReportColumn& column = detail.columns[c];
    const QRectF cell(origin.x() + pen.lefts[c] + detail.padding, origin.y(),
                      qMax(0.0, column.width - 2 * detail.padding), detail.rowHeight);
    const QString& value = cells[c];
    if (value.isEmpty()) continue;
    const Qt::Alignment align = column.align | Qt::AlignVCenter;
    // Most cells fit: they need no clip, and saving the painter around each one is what
    // made long listings slow.
    const QRectF box = scaled(cell, s);
    const bool leftAligned = !(align & (Qt::AlignRight | Qt::AlignHCenter));
    const double advance = leftAligned && value.size() * pen.widest <= box.width()
                               ? 0
                               : pen.advance(value);
    if (!pen.fitsHeight || advance > box.width()) {
      drawText(painter, fonts, cell, value, detail.font, align, false, QColor(), s);
      continue;
    }
    drawOnBaseline(painter, box, value, pen.metrics, align, advance);
  }
}

}  // namespace

QSizeF Report::pageSize() const {
  return a4(orientation);
}

double Report::bodyWidth() const {
  return pageSize().width() - margins.left() - margins.right();
}

ReportFont reportFont(double points, bool bold) {
  ReportFont font;
  font.points = points;
  font.bold = bold;
  return font;
}

ReportText reportText(const QRectF& box, const QString& value, const ReportFont& font,
                      Qt::Alignment align) {
  ReportText text;
  text.box = box;
  text.text = value;
  text.font = font;
  text.align = align;
  return text;
}

QList<double> columnLefts(const DetailBand& detail) {
  QList<double> lefts;
  double x = 0;
  for (const ReportColumn& column : detail.columns) {
    lefts << x;
    x += column.width;
  }
  return lefts;
}

ReportBand columnHeaderBand(const DetailBand& detail, double height, const ReportFont& font,
                            const QColor& fill) {
  ReportBand band;
  band.height = height;
  const QList<double> lefts = columnLefts(detail);
  for (int c = 0; c < detail.columns.size(); ++c) {
    const ReportColumn& column = detail.columns[c];
    if (fill.isValid()) {
      // The bar spans the whole column; the title keeps the cell's padding.
      ReportText bar;
      bar.box = QRectF(lefts[c], 0, column.width, height);
      bar.fill = fill;
      band.texts << bar;
    }
    ReportText title;
    title.box =
        QRectF(lefts[c] + detail.padding, 0, qMax(0.0, column.width - 2 * detail.padding), height);
    title.text = column.title;
    title.font = font;
    title.align = column.align | Qt::AlignVCenter;
    band.texts << title;
  }
  return band;
}

QList<int> LaidOutPage::rows() const {
  QList<int> result;
  for (const PlacedBand& band : bands)
    if (band.kind == BandKind::Detail) result << band.row;
  return result;
}

ReportLayout layOutReport(const Report& report) {
  return Paginator(report).run();
}

namespace {

void drawPage(QPainter& painter, Fonts& fonts, const DetailPen& pen, const Report& report,
              const ReportLayout& layout, int page, double pixelsPerMm) {
  painter.save();
  painter.setPen(Qt::black);
  bool detailFont = false;  // the other bands set fonts of their own
  for (const PlacedBand& placed : layout.pages[page].bands) {
    const QPointF origin(report.margins.left(), placed.top);
    if (placed.kind == BandKind::Detail) {
      if (!detailFont) painter.setFont(pen.font);
      detailFont = true;
      drawRow(painter, fonts, report, pen, placed.row, origin, pixelsPerMm);
      continue;
    }
    detailFont = false;
    drawBand(painter, fonts, *bandOf(report, placed.kind, placed.level), origin, report, layout,
             page, placed, pixelsPerMm);
  }
  painter.restore();
}

}  // namespace

void drawReportPage(QPainter& painter, const Report& report, const ReportLayout& layout, int page,
                    double pixelsPerMm) {
  if (page < 0 || page >= layout.pages.size()) return;
  Fonts fonts(painter.device());
  const DetailPen pen(report.detail, painter.device(), pixelsPerMm);
  drawPage(painter, fonts, pen, report, layout, page, pixelsPerMm);
}

bool renderReport(const Report& report, QPagedPaintDevice& device) {
  QPageLayout page(QPageSize(QPageSize::A4),
                   report.orientation == PageOrientation::Portrait ? QPageLayout::Portrait
                                                                   : QPageLayout::Landscape,
                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  page.setMode(QPageLayout::FullPageMode);
  device.setPageLayout(page);

  const ReportLayout layout = layOutReport(report);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  const double pixelsPerMm = device.logicalDpiX() / 25.4;
  // A device that insists on margins of its own (some printers) paints from their corner.
  const QRectF paint = device.pageLayout().paintRect(QPageLayout::Millimeter);
  painter.translate(-paint.left() * pixelsPerMm, -paint.top() * pixelsPerMm);
  Fonts fonts(&device);
  const DetailPen pen(report.detail, &device, pixelsPerMm);
  for (int p = 0; p < layout.pages.size(); ++p) {
    if (p > 0 && !device.newPage()) return false;
    drawPage(painter, fonts, pen, report, layout, p, pixelsPerMm);
  }
  return painter.end();
}

namespace {

void setPage(QPagedPaintDevice& device, PageOrientation orientation) {
  QPageLayout page(
      QPageSize(QPageSize::A4),
      orientation == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  page.setMode(QPageLayout::FullPageMode);
  device.setPageLayout(page);
}

}  // namespace

bool renderReports(const CompositeReport& composite, QPagedPaintDevice& device) {
  if (composite.parts.isEmpty()) return false;
  setPage(device, composite.parts.first().orientation);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  const double pixelsPerMm = device.logicalDpiX() / 25.4;
  Fonts fonts(&device);
  bool first = true;
  for (const Report& report : composite.parts) {
    const ReportLayout layout = layOutReport(report);
    const DetailPen pen(report.detail, &device, pixelsPerMm);
    for (int p = 0; p < layout.pages.size(); ++p) {
      if (!first) {
        if (p == 0) setPage(device, report.orientation);
        if (!device.newPage()) return false;
      }
      first = false;
      // A device that insists on margins of its own (some printers) paints from their corner.
      const QRectF paint = device.pageLayout().paintRect(QPageLayout::Millimeter);
      painter.resetTransform();
      painter.translate(-paint.left() * pixelsPerMm, -paint.top() * pixelsPerMm);
      drawPage(painter, fonts, pen, report, layout, p, pixelsPerMm);
    }
  }
  return painter.end();
}

namespace {

// Writes the PDF titled `title` that `render` paints; the file is replaced only when the whole
// document was written.
bool writePdfOf(const QString& file, const QString& title,
                const std::function<bool(QPagedPaintDevice&)>& render) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  {
    QPdfWriter pdf(&out);
    pdf.setResolution(kPdfResolution);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Vantrel"));
    if (!render(pdf)) {
      out.cancelWriting();
      return false;
    }
  }
  return out.commit();
}

}  // namespace

bool writePdf(const Report& report, const QString& file) {
  return writePdfOf(file, report.name,
                    [&report](QPagedPaintDevice& device) { return renderReport(report, device); });
}

bool writePdf(const CompositeReport& composite, const QString& file) {
  return writePdfOf(file, composite.name, [&composite](QPagedPaintDevice& device) {
    return renderReports(composite, device);
  });
}
