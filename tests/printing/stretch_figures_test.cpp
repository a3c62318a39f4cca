// The stretch drawings and their strip: each figure stays in the box it is given, no two look
// alike, and the strip's cells and tick boxes are where windows and printed sheets expect them.
#include <gtest/gtest.h>

#include <QImage>
#include <QList>
#include <QPainter>

#include <algorithm>

#include "printing/stretch_figures.h"

namespace {

constexpr QRgb kWhite = 0xffffffff;

QImage whiteImage(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage figureImage(const QSize& imageSize, const QRectF& area, int number) {
  QImage image = whiteImage(imageSize);
  QPainter painter(&image);
  drawStretchFigure(painter, area, number);
  painter.end();
  return image;
}

bool isInk(QRgb pixel) {
  return qGray(pixel) < 128;
}

// Pixels of `image` inside `rect` (whole pixels) that pass `test`.
template <typename Test>
int countPixels(const QImage& image, const QRect& rect, Test test) {
  int count = 0;
  const QRect clipped = rect & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) count += test(image.pixel(x, y));
  }
  return count;
}

int countInk(const QImage& image, const QRect& rect) {
  return countPixels(image, rect, [](QRgb p) { return isInk(p); });
}

int countNonWhite(const QImage& image, const QRect& rect) {
  return countPixels(image, rect, [](QRgb p) { return p != kWhite; });
}

int countNonWhite(const QImage& image) {
  return countNonWhite(image, image.rect());
}

TEST(StretchFigures, EachFigureDrawsOnlyInsideTheSquareCentredInItsArea) {
  struct Case {
    QSize image;
    QRectF area;
    QRect square;  // the largest square centred in `area`
  };
  const Case cases[] = {
      {{100, 90}, {20, 10, 60, 60}, {20, 10, 60, 60}},
      {{160, 80}, {10, 15, 130, 50}, {50, 15, 50, 50}},
      {{70, 140}, {5, 20, 40, 100}, {5, 50, 40, 40}},
  };
  for (int number = 1; number <= kStretchCount; ++number) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message()
                   << "figure " << number << " in " << c.area.width() << "x" << c.area.height());
      const QImage image = figureImage(c.image, c.area, number);
      const int inside = countInk(image, c.square);
      EXPECT_GT(inside, c.square.width() * c.square.height() / 40);
      QImage outside = image;
      QPainter(&outside).fillRect(c.square, Qt::white);
      EXPECT_EQ(countNonWhite(outside), 0);
    }
  }
}

// A figure copied from another and barely moved would pass for a new one in a review of the
// table; here it has to differ from every other in a good part of its ink.
TEST(StretchFigures, NoTwoFiguresLookAlike) {
  constexpr int kSide = 60;
  const QRect all(0, 0, kSide, kSide);
  QList<QImage> images;
  QList<int> ink;
  for (int number = 1; number <= kStretchCount; ++number) {
    images.append(figureImage(all.size(), all, number));
    ink.append(countInk(images.last(), all));
  }
  for (int a = 0; a < kStretchCount; ++a) {
    for (int b = a + 1; b < kStretchCount; ++b) {
      int differing = 0;
      for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
          differing += isInk(images[a].pixel(x, y)) != isInk(images[b].pixel(x, y));
        }
      }
      EXPECT_GE(differing, std::min(ink[a], ink[b]) / 6) << "figures " << a + 1 << ", " << b + 1;
    }
  }
}

TEST(StretchFigures, NumbersOutsideTheRangeHaveNoAreaNoDrawingAndNoName) {
  for (int number : {-1, 0, kStretchCount + 1, 100}) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(stretchCellArea(number, QSizeF(kStretchStripSize)).isNull());
    EXPECT_TRUE(stretchTickArea(number, QSizeF(kStretchStripSize)).isNull());
    EXPECT_TRUE(stretchName(number).isEmpty());
    EXPECT_EQ(countNonWhite(figureImage({60, 60}, QRectF(0, 0, 60, 60), number)), 0);
  }
  for (int number = 1; number <= kStretchCount; ++number) {
    EXPECT_FALSE(stretchName(number).isEmpty()) << number;
  }
}

TEST(StretchStrip, CellsAndTickBoxesTileTheStripInNumberOrder) {
  for (const QSizeF size :
       {QSizeF(kStretchStripSize), QSizeF(2106, 357), QSizeF(1000, 300), QSizeF(130, 41)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    const QRectF strip(QPointF(0, 0), size);
    const double width = size.width() / kStretchesOnTop;
    const double height = size.height() / 2;
    double bottomLeft = 0;
    double bottomRight = 0;
    for (int number = 1; number <= kStretchCount; ++number) {
      SCOPED_TRACE(number);
      const QRectF cell = stretchCellArea(number, size);
      const bool top = number <= kStretchesOnTop;
      EXPECT_DOUBLE_EQ(cell.top(), top ? 0 : height);
      EXPECT_DOUBLE_EQ(cell.height(), height);
      EXPECT_DOUBLE_EQ(cell.width(), width);
      EXPECT_TRUE(strip.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(cell));
      if (number == kStretchesOnTop + 1) bottomLeft = cell.left();
      if (number == kStretchCount) bottomRight = size.width() - cell.right();
      // Left to right, edge to edge, within a row.
      if (number != 1 && number != kStretchesOnTop + 1) {
        EXPECT_NEAR(cell.left(), stretchCellArea(number - 1, size).right(), 1e-9);
      }

      const QRectF tick = stretchTickArea(number, size);
      EXPECT_FALSE(tick.isEmpty());
      EXPECT_DOUBLE_EQ(tick.width(), tick.height());
      EXPECT_TRUE(cell.contains(tick));
      EXPECT_LT(tick.center().x(), cell.center().x());
      EXPECT_LT(tick.center().y(), cell.center().y());
    }
    EXPECT_NEAR(bottomLeft, bottomRight, 1e-9);  // the bottom row is centred
    EXPECT_DOUBLE_EQ(stretchCellArea(1, size).left(), 0);
    EXPECT_NEAR(stretchCellArea(kStretchesOnTop, size).right(), size.width(), 1e-9);
  }
}

TEST(StretchStrip, ImageHasEveryFigureAndKeepsTheTickBoxesAndMarginsBlank) {
  EXPECT_EQ(stretchStrip().size(), kStretchStripSize);
  for (const QSize& pixels : {kStretchStripSize, kStretchStripSize * 3}) {
    SCOPED_TRACE(testing::Message() << pixels.width() << "x" << pixels.height());
    const QImage strip = stretchStrip(pixels);
    ASSERT_EQ(strip.size(), pixels);
    const QSizeF size(pixels);
    for (int number = 1; number <= kStretchCount; ++number) {
      SCOPED_TRACE(number);
      const QRect tick = stretchTickArea(number, size).toAlignedRect();
      EXPECT_EQ(countNonWhite(strip, tick), 0);
      const QRect cell = stretchCellArea(number, size).toAlignedRect();
      EXPECT_GT(countInk(strip, cell), cell.width() * cell.height() / 30);
    }
    // Beside the shorter bottom row there is nothing.
    const QRectF firstBottom = stretchCellArea(kStretchesOnTop + 1, size);
    const QRect leftOfBottom(0, int(firstBottom.top()) + 1, int(firstBottom.left()) - 1,
                             int(firstBottom.height()) - 1);
    EXPECT_EQ(countNonWhite(strip, leftOfBottom), 0);
  }

  // Drawn anywhere on a page, the strip is the same picture, moved.
  QImage page = whiteImage(kStretchStripSize + QSize(40, 30));
  QPainter painter(&page);
  drawStretchStrip(painter, QRectF(QPointF(25, 12), QSizeF(kStretchStripSize)));
  painter.end();
  EXPECT_EQ(page.copy(QRect(QPoint(25, 12), kStretchStripSize)), stretchStrip());
}

}  // namespace
