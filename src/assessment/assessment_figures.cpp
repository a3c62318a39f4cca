#include "assessment/assessment_figures.h"

#include <QPolygonF>
#include <QTransform>

namespace {

// The figures are drawn in a model 80 wide and 240 tall, x from the body's middle line.
constexpr double kModelWidth = 80;
constexpr double kModelHeight = 240;

// The right half of a body seen from the front, from the neck round to the crotch.
const QPointF kFrontHalf[] = {
    {5, 26},   {20, 32},  {24, 40},  {26, 70}, {27, 95}, {28, 112}, {30, 122}, {26, 126},
    {22, 118}, {21, 100}, {19, 75},  {17, 50}, {16, 48}, {14, 80},  {18, 100}, {17, 140},
    {14, 180}, {12, 222}, {16, 232}, {5, 232}, {5, 180}, {4, 140},  {2, 112},  {0, 110},
};

// A body seen from its side, facing right: the front edge down, then the back edge up.
const QPointF kSide[] = {
    {4, 26},   {10, 40},  {9, 80},   {9, 100},  {8, 140},   {6, 170}, {6, 222},  {16, 232},
    {-6, 232}, {-7, 190}, {-6, 170}, {-9, 140}, {-11, 105}, {-7, 85}, {-10, 45}, {-4, 26},
};
const QPointF kSideArm[] = {{3, 34},  {6, 36},   {5, 75},  {4, 110},
                            {1, 118}, {-2, 110}, {-2, 75}, {-1, 36}};

QTransform fitting(const QRectF& box) {
  const double scale = qMin(box.width() / kModelWidth, box.height() / kModelHeight);
  const double left = box.center().x();
  const double top = box.center().y() - kModelHeight * scale / 2;
  QTransform transform;
  transform.translate(left, top);
  transform.scale(scale, scale);
  return transform;
}

QPainterPath head() {
  QPainterPath path;
  path.addEllipse(QPointF(0, 14), 9, 12);
  return path;
}

QPainterPath polygon(const QPointF* points, int count) {
  QPolygonF shape;
  for (int i = 0; i < count; ++i) shape << points[i];
  shape << points[0];
  QPainterPath path;
  path.addPolygon(shape);
  return path;
}

QPainterPath frontBody() {
  QPolygonF shape;
  for (const QPointF& p : kFrontHalf) shape << p;
  for (int i = std::size(kFrontHalf) - 1; i >= 0; --i)
    shape << QPointF(-kFrontHalf[i].x(), kFrontHalf[i].y());
  shape << kFrontHalf[0];
  QPainterPath path;
  path.addPolygon(shape);
  return path;
}

}  // namespace

QPainterPath bodyOutline(BodyView view, const QRectF& box) {
  QPainterPath model = head();
  switch (view) {
    case BodyView::Front:
      model.addPath(frontBody());
      break;
    case BodyView::Back:
      model.addPath(frontBody());
      // The spine and the shoulder blades tell the back from the front.
      model.moveTo(0, 30);
      model.lineTo(0, 100);
      model.addEllipse(QPointF(-8, 44), 5, 7);
      model.addEllipse(QPointF(8, 44), 5, 7);
      break;
    case BodyView::Side:
      model.addPath(polygon(kSide, std::size(kSide)));
      model.addPath(polygon(kSideArm, std::size(kSideArm)));
      break;
  }
  return fitting(box).map(model);
}

QList<QPointF> perimetrySites(const QRectF& box) {
  // The member's right side is on the reader's left.
  static const QPointF kSites[] = {
      {0, 44},  {0, 80},    {0, 91},   {0, 103},  {-23, 55}, {23, 55},   {-26, 88},
      {26, 88}, {-11, 145}, {11, 145}, {-9, 190}, {9, 190},  {-12, 120}, {12, 120},
  };
  const QTransform transform = fitting(box);
  QList<QPointF> sites;
  for (const QPointF& site : kSites) sites << transform.map(site);
  return sites;
}

namespace {

ReferenceTable table(const char* source, std::initializer_list<const char*> classes,
                     std::initializer_list<std::pair<const char*, QStringList>> rows) {
  ReferenceTable result;
  result.source = QString::fromUtf8(source);
  for (const char* c : classes) result.classes << QString::fromUtf8(c);
  for (const auto& [ages, cells] : rows)
    result.rows << ReferenceTable::AgeRow{QString::fromUtf8(ages), cells};
  return result;
}

QStringList cells(std::initializer_list<const char*> values) {
  QStringList list;
  for (const char* v : values) list << QString::fromUtf8(v);
  return list;
}

const auto kClasses = {"Excelente", "Acima da Média", "Média", "Abaixo da Média", "Fraco"};

}  // namespace

const ReferenceTable& referenceTable(ReferenceTest test, bool men) {
  static const ReferenceTable flexibilityMen =
      table("Sentar e alcançar (cm) - Homens", kClasses,
            {{"15-19", cells({">= 39", "34-38", "29-33", "24-28", "<= 23"})},
             {"20-29", cells({">= 40", "34-39", "30-33", "25-29", "<= 24"})},
             {"30-39", cells({">= 38", "33-37", "28-32", "23-27", "<= 22"})},
             {"40-49", cells({">= 35", "29-34", "24-28", "18-23", "<= 17"})},
             {"50-59", cells({">= 35", "28-34", "24-27", "16-23", "<= 15"})},
             {"60-69", cells({">= 33", "25-32", "20-24", "15-19", "<= 14"})}});
  static const ReferenceTable flexibilityWomen =
      table("Sentar e alcançar (cm) - Mulheres", kClasses,
            {{"15-19", cells({">= 43", "38-42", "34-37", "29-33", "<= 28"})},
             {"20-29", cells({">= 41", "37-40", "33-36", "28-32", "<= 27"})},
             {"30-39", cells({">= 41", "36-40", "32-35", "27-31", "<= 26"})},
             {"40-49", cells({">= 38", "34-37", "30-33", "25-29", "<= 24"})},
             {"50-59", cells({">= 39", "33-38", "30-32", "25-29", "<= 24"})},
             {"60-69", cells({">= 35", "31-34", "27-30", "23-26", "<= 22"})}});
  static const ReferenceTable sitUpMen =
      table("Abdominais em 1 minuto - Homens", kClasses,
            {{"20-29", cells({">= 43", "37-42", "33-36", "29-32", "<= 28"})},
             {"30-39", cells({">= 36", "31-35", "27-30", "22-26", "<= 21"})},
             {"40-49", cells({">= 31", "26-30", "22-25", "17-21", "<= 16"})},
             {"50-59", cells({">= 26", "22-25", "18-21", "13-17", "<= 12"})},
             {"60-69", cells({">= 23", "17-22", "12-16", "7-11", "<= 6"})}});
  static const ReferenceTable sitUpWomen =
      table("Abdominais em 1 minuto - Mulheres", kClasses,
            {{"20-29", cells({">= 36", "31-35", "25-30", "21-24", "<= 20"})},
             {"30-39", cells({">= 29", "24-28", "20-23", "15-19", "<= 14"})},
             {"40-49", cells({">= 25", "20-24", "15-19", "7-14", "<= 6"})},
             {"50-59", cells({">= 19", "12-18", "5-11", "3-4", "<= 2"})},
             {"60-69", cells({">= 16", "12-15", "4-11", "2-3", "<= 1"})}});
  static const ReferenceTable pushUpMen =
      table("Flexões de braço em 1 minuto - Homens", kClasses,
            {{"15-19", cells({">= 39", "29-38", "23-28", "18-22", "<= 17"})},
             {"20-29", cells({">= 36", "29-35", "22-28", "17-21", "<= 16"})},
             {"30-39", cells({">= 30", "22-29", "17-21", "12-16", "<= 11"})},
             {"40-49", cells({">= 25", "17-24", "13-16", "10-12", "<= 9"})},
             {"50-59", cells({">= 21", "13-20", "10-12", "7-9", "<= 6"})},
             {"60-69", cells({">= 18", "11-17", "8-10", "5-7", "<= 4"})}});
  static const ReferenceTable pushUpWomen =
      table("Flexões de braço em 1 minuto - Mulheres", kClasses,
            {{"15-19", cells({">= 33", "25-32", "18-24", "12-17", "<= 11"})},
             {"20-29", cells({">= 30", "21-29", "15-20", "10-14", "<= 9"})},
             {"30-39", cells({">= 27", "20-26", "13-19", "8-12", "<= 7"})},
             {"40-49", cells({">= 24", "15-23", "11-14", "5-10", "<= 4"})},
             {"50-59", cells({">= 21", "11-20", "7-10", "2-6", "<= 1"})},
             {"60-69", cells({">= 17", "12-16", "5-11", "2-4", "<= 1"})}});
  switch (test) {
    case ReferenceTest::Flexibility:
      return men ? flexibilityMen : flexibilityWomen;
    case ReferenceTest::SitUp:
      return men ? sitUpMen : sitUpWomen;
    case ReferenceTest::PushUp:
      break;
  }
  return men ? pushUpMen : pushUpWomen;
}
