// Pagination of the report layer, without any device: which band lands on which page, where.
#include <gtest/gtest.h>

#include "printing/report.h"

namespace {

constexpr double kMargin = 10;
constexpr double kHeader = 20;
constexpr double kTitle = 10;
constexpr double kColumnHeader = 7;
constexpr double kFooter = 10;
constexpr double kEps = 1e-6;

ReportBand band(double height) {
  ReportBand b;
  b.height = height;
  return b;
}

Report sampleReport(PageOrientation orientation, int rows, double rowHeight) {
  Report r;
  r.orientation = orientation;
  r.margins = QMarginsF(kMargin, kMargin, kMargin, kMargin);
  r.pageHeader = band(kHeader);
  r.title = band(kTitle);
  r.columnHeader = band(kColumnHeader);
  r.pageFooter = band(kFooter);
  r.detail.rowHeight = rowHeight;
  r.detail.columns = {{QStringLiteral("A"), 50}, {QStringLiteral("B"), 50}};
  for (int i = 0; i < rows; ++i) r.rows.append({{QString::number(i), QStringLiteral("x")}, {}});
  return r;
}

double heightOf(const Report& r, BandKind kind) {
  switch (kind) {
    case BandKind::PageHeader:
      return r.pageHeader.height;
    case BandKind::Title:
      return r.title.height;
    case BandKind::ColumnHeader:
      return r.columnHeader.height;
    case BandKind::GroupHeader:
      return r.groupHeader.height;
    case BandKind::Detail:
      return r.detail.rowHeight;
    case BandKind::GroupFooter:
      return r.groupFooter.height;
    case BandKind::Summary:
      return r.summary.height;
    case BandKind::PageFooter:
      return r.pageFooter.height;
  }
  return 0;
}

// What must hold on every page of every report: the page header first at the top margin, the
// title on the first page only, the column header on every page, nothing overlapping, nothing
// but the footer below the footer's top, the footer last and flush with the bottom margin, and
// every row exactly once, in order.
void expectSoundPages(const Report& r, const ReportLayout& layout) {
  ASSERT_FALSE(layout.pages.isEmpty());
  const double footerTop = r.pageSize().height() - r.margins.bottom() - r.pageFooter.height;
  QList<int> seen;
  for (int p = 0; p < layout.pages.size(); ++p) {
    SCOPED_TRACE(testing::Message() << "page " << p + 1);
    const QList<PlacedBand>& bands = layout.pages[p].bands;
    ASSERT_GE(bands.size(), 3);
    EXPECT_EQ(bands.first().kind, BandKind::PageHeader);
    EXPECT_NEAR(bands.first().top, r.margins.top(), kEps);
    EXPECT_EQ(bands.last().kind, BandKind::PageFooter);
    EXPECT_NEAR(bands.last().top, footerTop, kEps);
    int titles = 0;
    int columnHeaders = 0;
    double bottom = 0;
    for (const PlacedBand& b : bands) {
      if (b.kind == BandKind::Title) ++titles;
      if (b.kind == BandKind::ColumnHeader) ++columnHeaders;
      EXPECT_GE(b.top + kEps, bottom) << "bands overlap";
      bottom = b.top + heightOf(r, b.kind);
      if (b.kind != BandKind::PageFooter) {
        EXPECT_LE(bottom, footerTop + kEps) << "band cut";
      }
    }
    EXPECT_EQ(titles, p == 0 ? 1 : 0);
    EXPECT_EQ(columnHeaders, 1);
    seen += layout.pages[p].rows();
  }
  QList<int> all;
  for (int i = 0; i < r.rows.size(); ++i) all << i;
  EXPECT_EQ(seen, all);
}

QList<int> rowsPerPage(const ReportLayout& layout) {
  QList<int> counts;
  for (const LaidOutPage& page : layout.pages) counts << int(page.rows().size());
  return counts;
}

// A4 portrait: the footer starts at 297 - 10 - 10 = 277 mm; the rows start at 10 + 20 + 10 + 7
// = 47 mm on the first page (title) and at 37 mm on the others: 230 mm and 240 mm of rows.
// Landscape: the footer at 190 mm, 143 mm and 153 mm of rows.
struct PaginationCase {
  const char* name;
  PageOrientation orientation;
  int rows;
  double rowHeight;
  QList<int> perPage;
};

const PaginationCase kPagination[] = {
    {"NoRowsStillOnePage", PageOrientation::Portrait, 0, 5, {0}},
    {"FirstPageFull", PageOrientation::Portrait, 46, 5, {46}},
    {"OneRowOver", PageOrientation::Portrait, 47, 5, {46, 1}},
    {"ThreePages", PageOrientation::Portrait, 100, 5, {46, 48, 6}},
    {"Landscape", PageOrientation::Landscape, 60, 5, {28, 30, 2}},
    // 100 x 2.3 mm add up to 230 mm give or take a rounding error: still exactly one page.
    {"FractionalHeightsFillExactly", PageOrientation::Portrait, 100, 2.3, {100}},
    {"FractionalHeightsOneOver", PageOrientation::Portrait, 101, 2.3, {100, 1}},
};

class Pagination : public testing::TestWithParam<PaginationCase> {};

TEST_P(Pagination, RowsPerPageAndHeadersOnEveryPage) {
  const PaginationCase& c = GetParam();
  const Report r = sampleReport(c.orientation, c.rows, c.rowHeight);
  const ReportLayout layout = layOutReport(r);
  EXPECT_EQ(rowsPerPage(layout), c.perPage);
  expectSoundPages(r, layout);
}

INSTANTIATE_TEST_SUITE_P(Cases, Pagination, testing::ValuesIn(kPagination),
                         [](const auto& info) { return std::string(info.param.name); });

QList<BandKind> kindsOf(const LaidOutPage& page) {
  QList<BandKind> kinds;
  for (const PlacedBand& b : page.bands) kinds << b.kind;
  return kinds;
}

Report groupedReport(const QList<int>& groupSizes) {
  Report r = sampleReport(PageOrientation::Portrait, 0, 5);
  r.groupHeader = band(6);
  int n = 0;
  for (int g = 0; g < groupSizes.size(); ++g)
    for (int i = 0; i < groupSizes[g]; ++i)
      r.rows.append({{QString::number(n++)}, QStringLiteral("G%1").arg(g)});
  return r;
}

TEST(ReportGroups, HeaderBeforeEachGroupAndFooterAfterIt) {
  Report r = groupedReport({2, 1});
  r.groupFooter = band(4);
  r.summary = band(12);
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 1);
  using K = BandKind;
  EXPECT_EQ(kindsOf(layout.pages[0]),
            (QList<BandKind>{K::PageHeader, K::Title, K::ColumnHeader, K::GroupHeader, K::Detail,
                             K::Detail, K::GroupFooter, K::GroupHeader, K::Detail, K::GroupFooter,
                             K::Summary, K::PageFooter}));
  // Group bands know the row they belong to, so they can show its group.
  const QList<PlacedBand>& bands = layout.pages[0].bands;
  EXPECT_EQ(bands[3].row, 0);
  EXPECT_EQ(bands[6].row, 1);
  EXPECT_EQ(bands[7].row, 2);
  EXPECT_EQ(bands[9].row, 2);
  expectSoundPages(r, layout);
}

TEST(ReportGroups, AGroupHeaderNeverEndsAPage) {
  // 6 + 43 x 5 = 221 of the 230 mm: 9 mm are left, room for the next header (6) but not for
  // the header and its first row (11).
  const Report r = groupedReport({43, 5});
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 2);
  EXPECT_EQ(rowsPerPage(layout), (QList<int>{43, 5}));
  const QList<PlacedBand>& second = layout.pages[1].bands;
  ASSERT_GE(second.size(), 4);
  EXPECT_EQ(second[2].kind, BandKind::GroupHeader);
  EXPECT_EQ(second[2].row, 43);
  EXPECT_NE(layout.pages[0].bands[layout.pages[0].bands.size() - 2].kind, BandKind::GroupHeader);
  expectSoundPages(r, layout);
}

TEST(ReportGroups, NestedLevelsCloseInsideOutAndAnOuterChangeRestartsTheInnerGroup) {
  Report r = sampleReport(PageOrientation::Portrait, 0, 5);
  r.groupLevels = {{band(8), band(6)}, {band(5), band(4)}};
  r.summary = band(6);
  // The second level's key repeats across the change of the first: still a new group.
  const char* const keys[][2] = {{"E1", "D1"}, {"E1", "D1"}, {"E1", "D2"}, {"E2", "D2"}};
  for (const auto& k : keys) r.rows.append({{QStringLiteral("x")}, {}, {k[0], k[1]}});
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 1);
  struct Placed {
    BandKind kind;
    int row;
    int level;
    bool operator==(const Placed&) const = default;
  };
  QList<Placed> placed;
  double bottom = 0;
  for (const PlacedBand& b : layout.pages[0].bands) {
    EXPECT_GE(b.top + kEps, bottom) << "bands overlap";
    const bool group = b.kind == BandKind::GroupHeader || b.kind == BandKind::GroupFooter;
    const ReportGroupLevel* level = group ? &r.groupLevels[b.level] : nullptr;
    bottom =
        b.top + (level ? (b.kind == BandKind::GroupHeader ? level->header : level->footer).height
                       : heightOf(r, b.kind));
    if (b.kind == BandKind::Detail || group) placed.append({b.kind, b.row, b.level});
  }
  using K = BandKind;
  EXPECT_EQ(placed, (QList<Placed>{{K::GroupHeader, 0, 0},
                                   {K::GroupHeader, 0, 1},
                                   {K::Detail, 0, -1},
                                   {K::Detail, 1, -1},
                                   {K::GroupFooter, 1, 1},
                                   {K::GroupHeader, 2, 1},
                                   {K::Detail, 2, -1},
                                   {K::GroupFooter, 2, 1},
                                   {K::GroupFooter, 2, 0},
                                   {K::GroupHeader, 3, 0},
                                   {K::GroupHeader, 3, 1},
                                   {K::Detail, 3, -1},
                                   {K::GroupFooter, 3, 1},
                                   {K::GroupFooter, 3, 0}}));
}

TEST(ReportGroups, AnOuterHeaderTakesTheInnerHeaderAndTheFirstRowAlong) {
  // 40 rows of 5 mm under headers of 8 and 5 mm use 213 of the 230 mm: the 17 mm left hold the
  // next outer header and a row (13), not the inner header as well (18).
  Report r = sampleReport(PageOrientation::Portrait, 0, 5);
  r.groupLevels = {{band(8), ReportBand()}, {band(5), ReportBand()}};
  for (int i = 0; i < 42; ++i)
    r.rows.append({{QString::number(i)}, {}, {i < 40 ? "E1" : "E2", "D1"}});
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 2);
  EXPECT_EQ(rowsPerPage(layout), (QList<int>{40, 2}));
  const QList<PlacedBand>& second = layout.pages[1].bands;
  ASSERT_GE(second.size(), 4);
  EXPECT_EQ(second[2].kind, BandKind::GroupHeader);
  EXPECT_EQ(second[2].level, 0);
  EXPECT_EQ(second[3].level, 1);
}

TEST(ReportSummary, MovesWholeToANewPageWhenTheLastOneIsFull) {
  Report r = sampleReport(PageOrientation::Portrait, 46, 5);
  r.summary = band(12);
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 2);
  EXPECT_EQ(rowsPerPage(layout), (QList<int>{46, 0}));
  using K = BandKind;
  EXPECT_EQ(kindsOf(layout.pages[1]),
            (QList<BandKind>{K::PageHeader, K::ColumnHeader, K::Summary, K::PageFooter}));
  expectSoundPages(r, layout);
}

TEST(ReportLayout, BandsTallerThanThePageStillEnd) {
  // A header taller than the page leaves no room for any row: each row goes on a fresh page of
  // its own (cut at the bottom) instead of looking for room forever.
  Report r = sampleReport(PageOrientation::Portrait, 3, 5);
  r.pageHeader = band(400);
  const ReportLayout layout = layOutReport(r);
  EXPECT_EQ(rowsPerPage(layout), (QList<int>{1, 1, 1}));
}

TEST(ReportLayout, AbsentBandsTakeNoRoom) {
  Report r = sampleReport(PageOrientation::Portrait, 10, 5);
  r.title = ReportBand();
  r.pageFooter = ReportBand();
  const ReportLayout layout = layOutReport(r);
  ASSERT_EQ(layout.pages.size(), 1);
  const QList<PlacedBand>& bands = layout.pages[0].bands;
  EXPECT_EQ(bands.first().kind, BandKind::PageHeader);
  EXPECT_EQ(bands[1].kind, BandKind::ColumnHeader);
  EXPECT_NEAR(bands[2].top, kMargin + kHeader + kColumnHeader, kEps);
  EXPECT_EQ(bands.last().kind, BandKind::Detail);
}

TEST(ReportColumns, SitSideBySideAndTheHeaderFollowsThem) {
  DetailBand detail;
  detail.columns = {{QStringLiteral("Código"), 25},
                    {QStringLiteral("Nome"), 100},
                    {QStringLiteral("Tipo"), 30, Qt::AlignRight}};
  detail.padding = 1.5;
  EXPECT_EQ(columnLefts(detail), (QList<double>{0, 25, 125}));

  const ReportBand header = columnHeaderBand(detail, 7, ReportFont(), QColor(Qt::lightGray));
  // One bar as wide as its column, then the title inside the padding, per column.
  ASSERT_EQ(header.texts.size(), 6);
  EXPECT_EQ(header.texts[2].box, QRectF(25, 0, 100, 7));
  EXPECT_TRUE(header.texts[2].fill.isValid());
  EXPECT_EQ(header.texts[3].box, QRectF(26.5, 0, 97, 7));
  EXPECT_EQ(header.texts[3].text, QStringLiteral("Nome"));
  EXPECT_EQ(header.texts[5].align, Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(columnHeaderBand(detail, 7, ReportFont()).texts.size(), 3);
}

}  // namespace
