#include "printing/stretch_figures.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <array>

namespace {

// Every figure is drawn in a box of kBox x kBox units, y pointing down, and scaled from there.
constexpr double kBox = 100;

// A point of the unit box; the default one means "not there".
struct Pt {
  double x = -1;
  double y = -1;

  bool present() const { return x >= 0; }
  QPointF point() const { return {x, y}; }
};

// An arm (shoulder, elbow, hand, fingers) or a leg (hip, knee, ankle, toes). Without a tip the
// limb ends at `end`.
struct Limb {
  constexpr Limb(Pt root, Pt joint, Pt end, Pt tip = {})
      : root(root), joint(joint), end(end), tip(tip) {}

  Pt root, joint, end, tip;
};

struct Line {
  Pt from, to;
};

// Seen from the side, the trunk is narrow and the far limbs pass behind it; seen from the front,
// it is broad, with shoulders, and both arms are in front of it.
enum class View { Side, Front };

// A figure: the trunk runs from the neck to the hip, through `arch` at its middle when given.
// `head` only says which way the head sits from the neck: it is drawn at a fixed distance, so
// every figure gets the same neck. Every figure stands, sits or lies on the ground line; `props`
// are a wall or the like.
struct Pose {
  const char* name;  // as the instructor knows the stretch
  View view;
  Pt head, neck, hip;
  Limb nearArm, farArm, nearLeg, farLeg;
  Pt arch = {};
  std::array<Line, 2> props = {};
};

constexpr double kGroundY = 93;

// Sizes in units. A trunk thicker than the limbs reads as a body even at 40 pixels.
constexpr double kHeadRadius = 6.5;
constexpr double kSideTrunkWidth = 11;
constexpr double kFrontTrunkWidth = 12;
constexpr double kShoulderWidth = 8;
constexpr double kThighWidth = 7;
constexpr double kShinWidth = 6;
constexpr double kUpperArmWidth = 5.5;
constexpr double kForearmWidth = 5;
constexpr double kTipWidth = 4.5;
constexpr double kPropWidth = 2.5;
// From the neck to the head's centre: from the side the head hides the round end of the trunk;
// from the front it rests on the trunk's flat top, between the shoulders.
constexpr double kSideHeadDistance = 7.5;
constexpr double kFrontHeadDistance = 6;
// The white rim of a limb drawn over the body; it starts a little away from the limb's root, or
// it would cut the limb off the body.
constexpr double kHaloWidth = 2;
constexpr double kHaloStart = 4;

const QColor kInk(0x23, 0x2b, 0x36);
const QColor kFrame(0xc4, 0xc9, 0xd0);

constexpr View kSide = View::Side;
constexpr View kFront = View::Front;

// Side views face right, lying figures have their head on the left.
// clang-format off
constexpr std::array<Pose, kStretchCount> kPoses = {{
    // 01 neck, side tilt: head down to one shoulder, arms hanging.
    {.name = "Pescoço lateral", .view = kFront,
     .head = {61, 19}, .neck = {50, 26}, .hip = {50, 53},
     .nearArm = {{56.5, 30}, {58, 44}, {59, 57}},
     .farArm = {{43.5, 30}, {42, 44}, {41, 57}},
     .nearLeg = {{53.5, 55}, {54.5, 72}, {55, 89}, {59, 89}},
     .farLeg = {{46.5, 55}, {45.5, 72}, {45, 89}, {41, 89}}},
    // 02 neck, forward: chin down to the chest, arms hanging.
    {.name = "Pescoço à frente", .view = kSide,
     .head = {63, 21}, .neck = {50, 26}, .hip = {49, 54},
     .nearArm = {{50, 30}, {51, 44}, {53, 58}},
     .farArm = {{49, 30}, {48, 44}, {47, 58}},
     .nearLeg = {{49, 54}, {53, 71}, {56, 89}, {62, 89}},
     .farLeg = {{49, 54}, {45, 71}, {40, 89}, {46, 89}},
     .arch = {50, 40}},
    // 03 shoulder: one arm straight across the chest, the other forearm pressing it in.
    {.name = "Ombro cruzado", .view = kFront,
     .head = {50, 12}, .neck = {50, 26}, .hip = {50, 53},
     .nearArm = {{56.5, 30}, {66, 43}, {61, 29}},
     .farArm = {{43.5, 31}, {57, 34}, {72, 34}},
     .nearLeg = {{53.5, 55}, {54.5, 72}, {55, 89}, {59, 89}},
     .farLeg = {{46.5, 55}, {45.5, 72}, {45, 89}, {41, 89}}},
    // 04 triceps: elbow up beside the head, hand down the back, the other hand on the elbow,
    // both behind the head.
    {.name = "Tríceps", .view = kFront,
     .head = {50, 12}, .neck = {50, 26}, .hip = {50, 53},
     .nearArm = {{43.5, 30}, {38, 13}, {57, 7}},
     .farArm = {{56.5, 30}, {60, 9}, {45, 21}},
     .nearLeg = {{53.5, 55}, {54.5, 72}, {55, 89}, {59, 89}},
     .farLeg = {{46.5, 55}, {45.5, 72}, {45, 89}, {41, 89}}},
    // 05 chest: hands joined behind the back, arms straight and raised, chest forward.
    {.name = "Peitoral", .view = kSide,
     .head = {53, 12}, .neck = {52, 26}, .hip = {49, 54},
     .nearArm = {{51, 30}, {41, 40}, {32, 48}},
     .farArm = {{51, 30}, {40, 39}, {31, 47}},
     .nearLeg = {{49, 54}, {53, 71}, {56, 89}, {62, 89}},
     .farLeg = {{49, 54}, {45, 71}, {40, 89}, {46, 89}},
     .arch = {53.5, 40}},
    // 06 wrists and forearms: palms pressed together before the chest, elbows out.
    {.name = "Punho e antebraço", .view = kFront,
     .head = {50, 12}, .neck = {50, 26}, .hip = {50, 53},
     .nearArm = {{56.5, 30}, {66, 42}, {52, 40}, {52, 31}},
     .farArm = {{43.5, 30}, {34, 42}, {48, 40}, {48, 31}},
     .nearLeg = {{53.5, 55}, {54.5, 72}, {55, 89}, {59, 89}},
     .farLeg = {{46.5, 55}, {45.5, 72}, {45, 89}, {41, 89}}},
    // 07 side bend: one arm arched over the head, the other hand down the thigh.
    {.name = "Lateral do tronco", .view = kFront,
     .head = {65.5, 16}, .neck = {57, 27}, .hip = {50, 53},
     .nearArm = {{60.8, 33.6}, {64, 47}, {62, 60}},
     .farArm = {{49.4, 27.4}, {47, 10}, {64, 3.5}},
     .nearLeg = {{53.5, 55}, {57, 72}, {59, 89}, {63, 89}},
     .farLeg = {{46.5, 55}, {43, 72}, {41, 89}, {37, 89}},
     .arch = {50.5, 40}},
    // 08 whole body: both arms reaching up.
    {.name = "Alongamento total", .view = kFront,
     .head = {50, 12}, .neck = {50, 26}, .hip = {50, 53},
     .nearArm = {{56.5, 29}, {60, 16}, {63.5, 4}},
     .farArm = {{43.5, 29}, {40, 16}, {36.5, 4}},
     .nearLeg = {{53.5, 55}, {53.5, 72}, {53.5, 89}, {57.5, 89}},
     .farLeg = {{46.5, 55}, {46.5, 72}, {46.5, 89}, {42.5, 89}}},
    // 09 quadriceps, standing: heel held to the buttock, the other arm forward for balance.
    {.name = "Quadríceps em pé", .view = kSide,
     .head = {51, 12}, .neck = {50, 26}, .hip = {50, 54},
     .nearArm = {{50, 30}, {45, 43}, {41, 57}},
     .farArm = {{50, 30}, {63, 30}, {76, 29}},
     .nearLeg = {{50, 54}, {52, 71}, {41, 58}, {36, 57}},
     .farLeg = {{50, 54}, {49, 72}, {50, 89}, {56, 89}}},
    // 10 hamstring, standing: front heel down and toes up, back knee bent, hinged at the hips.
    {.name = "Posterior da coxa em pé", .view = kSide,
     .head = {67.5, 40}, .neck = {56, 48}, .hip = {35, 64},
     .nearArm = {{54, 49.5}, {51.5, 61}, {48, 72}},
     .farArm = {{53, 50}, {50, 61.5}, {46.5, 72.5}},
     .nearLeg = {{35, 64}, {47, 76.5}, {59, 89}, {61, 82}},
     .farLeg = {{35, 64}, {33, 77.5}, {24, 89}, {30, 89}}},
    // 11 calf: leaning on a wall, back leg straight with the heel down.
    {.name = "Panturrilha na parede", .view = kSide,
     .head = {76, 27.4}, .neck = {66.8, 38.2}, .hip = {47, 58},
     .nearArm = {{65, 40}, {77.5, 36.4}, {90, 33}},
     .farArm = {{64, 41}, {76.5, 37.4}, {89, 34}},
     .nearLeg = {{47, 58}, {37.5, 73}, {28, 88}, {34, 89}},
     .farLeg = {{47, 58}, {62, 68}, {60, 88}, {66, 89}},
     .arch = {57, 48},
     .props = {{{{94, 10}, {94, 94}}}}},
    // 12 side lunge: one knee bent, the other leg straight out to the side.
    {.name = "Afundo lateral", .view = kFront,
     .head = {48, 20}, .neck = {47, 34}, .hip = {44, 61},
     .nearArm = {{53.5, 38}, {58, 51}, {61, 64}},
     .farArm = {{40.5, 38}, {36, 51}, {34, 64}},
     .nearLeg = {{47.5, 63}, {63, 72}, {66, 89}, {70, 89}},
     .farLeg = {{40.5, 63}, {28, 75}, {16, 88}, {12, 89}},
     .arch = {45.5, 48}},
    // 13 hip flexor: kneeling lunge, trunk upright, hands on the front knee.
    {.name = "Flexor do quadril", .view = kSide,
     .head = {46, 30}, .neck = {45, 44}, .hip = {44, 72},
     .nearArm = {{45, 48}, {53, 58}, {61, 66}},
     .farArm = {{45, 48}, {52, 59}, {59, 66}},
     .nearLeg = {{44, 72}, {62, 70}, {62, 88}, {68, 89}},
     .farLeg = {{44, 72}, {36, 88}, {20, 89}, {17, 86}}},
    // 14 hamstring, seated: legs straight ahead, reaching for the feet.
    {.name = "Posterior da coxa sentado", .view = kSide,
     .head = {65.7, 56.3}, .neck = {55.8, 66.2}, .hip = {36, 85},
     .nearArm = {{53.7, 68.3}, {63, 75}, {71, 81}},
     .farArm = {{53, 69}, {62, 76}, {70, 82}},
     .nearLeg = {{36, 86}, {54, 87}, {71, 87}, {72, 80}},
     .farLeg = {{36, 86}, {54, 87}, {71, 87}, {72, 80}}},
    // 15 butterfly: soles together, knees out, hands on the feet.
    {.name = "Borboleta", .view = kFront,
     .head = {50, 41}, .neck = {50, 55}, .hip = {50, 82},
     .nearArm = {{56.5, 59}, {62, 71}, {54, 85}},
     .farArm = {{43.5, 59}, {38, 71}, {46, 85}},
     .nearLeg = {{53.5, 84}, {73, 82}, {53, 88}},
     .farLeg = {{46.5, 84}, {27, 82}, {47, 88}}},
    // 16 legs apart, seated: legs straight out to the sides, hands on the floor between them.
    {.name = "Afastamento sentado", .view = kFront,
     .head = {50, 49}, .neck = {50, 63}, .hip = {50, 83},
     .nearArm = {{56.5, 67}, {60, 77}, {61, 88}},
     .farArm = {{43.5, 67}, {40, 77}, {39, 88}},
     .nearLeg = {{53.5, 86}, {72, 86}, {89, 87}, {89, 80}},
     .farLeg = {{46.5, 86}, {28, 86}, {11, 87}, {11, 80}}},
    // 17 spinal twist, seated: one knee up, the opposite elbow against it, a hand behind.
    {.name = "Torção sentado", .view = kSide,
     .head = {29, 44}, .neck = {36, 56}, .hip = {37, 84},
     .nearArm = {{37, 60}, {50, 63}, {53, 51}},
     .farArm = {{36, 60}, {29, 72}, {23, 87}},
     .nearLeg = {{37, 84}, {50, 66}, {56, 88}, {62, 89}},
     .farLeg = {{37, 86}, {55, 87}, {72, 87}, {73, 81}}},
    // 18 cat: on all fours, back rounded up, head down.
    {.name = "Gato", .view = kSide,
     .head = {78, 74}, .neck = {70, 63}, .hip = {42, 70},
     .nearArm = {{66, 66}, {65.5, 77}, {65, 88}, {69, 89}},
     .farArm = {{65, 66}, {63.5, 77}, {62, 88}, {66, 89}},
     .nearLeg = {{42, 70}, {43, 88}, {25, 88}, {22, 87}},
     .farLeg = {{42, 70}, {41, 88}, {23, 88}, {20, 87}},
     .arch = {56, 57}},
    // 19 child's pose: sitting back on the heels, trunk down on the thighs, arms forward.
    {.name = "Postura da criança", .view = kSide,
     .head = {69, 86}, .neck = {58, 78}, .hip = {30, 74},
     .nearArm = {{57, 79}, {72, 88}, {88, 89}},
     .farArm = {{56, 80}, {71, 88}, {87, 89}},
     .nearLeg = {{30, 74}, {48, 84}, {31, 88}, {26, 88}},
     .farLeg = {{30, 74}, {48, 85}, {31, 89}, {26, 89}},
     .arch = {45, 71}},
    // 20 cobra: hips on the floor, arms straight, chest and head up.
    {.name = "Cobra", .view = kSide,
     .head = {65, 50}, .neck = {60, 63}, .hip = {40, 84},
     .nearArm = {{59, 66}, {61, 77}, {62, 88}, {66, 88}},
     .farArm = {{58, 66}, {59, 77}, {59, 88}, {63, 88}},
     .nearLeg = {{40, 84}, {24, 87}, {8, 88}, {5, 86}},
     .farLeg = {{40, 84}, {24, 87}, {8, 88}, {5, 86}},
     .arch = {53, 76}},
    // 21 knee to the chest: lying on the back, hugging one knee, the other leg long.
    {.name = "Joelho ao peito", .view = kSide,
     .head = {11, 85}, .neck = {25, 84}, .hip = {53, 84},
     .nearArm = {{28, 84}, {35, 72}, {46, 67}},
     .farArm = {{27, 84}, {34, 73}, {45, 68}},
     .nearLeg = {{53, 84}, {43, 69}, {59, 62}, {61, 56}},
     .farLeg = {{53, 85}, {71, 86}, {88, 86}, {89, 80}}},
    // 22 gluteus, pigeon: front leg folded under the hips, back leg long behind, hands down.
    {.name = "Glúteo (pombo)", .view = kSide,
     .head = {52, 40}, .neck = {49, 55}, .hip = {44, 81},
     .nearArm = {{48.5, 58.5}, {53, 72}, {57, 86}},
     .farArm = {{48, 59}, {49, 73}, {49, 86}},
     .nearLeg = {{44, 81}, {62, 84}, {52, 88}, {47, 88}},
     .farLeg = {{44, 83}, {26, 86}, {9, 88}, {5, 88}}},
    // 23 hamstring, lying: one leg straight up held at the calf, the other long on the floor.
    {.name = "Posterior da coxa deitado", .view = kSide,
     .head = {11, 85}, .neck = {25, 84}, .hip = {53, 84},
     .nearArm = {{28, 84}, {39, 77}, {50, 70}},
     .farArm = {{27, 84}, {38, 78}, {49, 71}},
     .nearLeg = {{53, 84}, {54, 66.5}, {55, 49}, {49, 48}},
     .farLeg = {{53, 85}, {71, 86}, {88, 86}, {89, 80}}},
}};
// clang-format on

bool validNumber(int number) {
  return number >= 1 && number <= kStretchCount;
}

QPen roundPen(const QColor& color, double width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The trunk passes through `arch` at its middle: the control point of that quadratic curve.
QPainterPath trunkPath(const Pose& pose) {
  QPainterPath path(pose.neck.point());
  if (pose.arch.present()) {
    const QPointF control = 2 * pose.arch.point() - (pose.neck.point() + pose.hip.point()) / 2;
    path.quadTo(control, pose.hip.point());
  } else {
    path.lineTo(pose.hip.point());
  }
  return path;
}

// A limb drawn over the body gets a white rim, so it stays readable where it crosses the trunk
// or another limb.
void drawLimb(QPainter& painter, const Limb& limb, double upperWidth, double lowerWidth,
              bool overBody) {
  struct Segment {
    QLineF line;
    double width;
  };
  QList<Segment> segments = {{QLineF(limb.root.point(), limb.joint.point()), upperWidth},
                             {QLineF(limb.joint.point(), limb.end.point()), lowerWidth}};
  if (limb.tip.present()) segments.append({QLineF(limb.end.point(), limb.tip.point()), kTipWidth});
  if (overBody) {
    for (int i = 0; i < segments.size(); ++i) {
      QLineF line = segments[i].line;
      const double rim = segments[i].width / 2 + kHaloWidth;
      if (i == 0) {
        // Keep the rim off the body where the limb grows from it.
        const double skip = kHaloStart + rim;
        if (line.length() <= skip) continue;
        line.setP1(line.pointAt(skip / line.length()));
      }
      painter.setPen(roundPen(Qt::white, 2 * rim));
      painter.drawLine(line);
    }
  }
  for (const Segment& segment : segments) {
    painter.setPen(roundPen(kInk, segment.width));
    painter.drawLine(segment.line);
  }
}

QPointF headCentre(const Pose& pose) {
  const QLineF line(pose.neck.point(), pose.head.point());
  const double distance = pose.view == View::Front ? kFrontHeadDistance : kSideHeadDistance;
  return line.length() > 0 ? line.pointAt(distance / line.length()) : line.p1();
}

// Back to front, the head last (no arm of these stretches passes in front of the face); the
// ground and props after that, so that a white rim does not cut the line a foot stands on.
void drawPose(QPainter& painter, const Pose& pose) {
  const bool front = pose.view == View::Front;
  const double trunkWidth = front ? kFrontTrunkWidth : kSideTrunkWidth;
  painter.setBrush(Qt::NoBrush);
  drawLimb(painter, pose.farLeg, kThighWidth, kShinWidth, false);
  if (front) {
    drawLimb(painter, pose.nearLeg, kThighWidth, kShinWidth, false);
  } else {
    drawLimb(painter, pose.farArm, kUpperArmWidth, kForearmWidth, false);
  }

  QPen trunkPen = roundPen(kInk, trunkWidth);
  if (front) {
    // Flat on top and with shoulders broader than the trunk, from one arm to the other: a round
    // top would read as a second head. Only the hips stay round.
    trunkPen.setCapStyle(Qt::FlatCap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(pose.hip.point(), trunkWidth / 2, trunkWidth / 2);
    painter.setBrush(Qt::NoBrush);
  }
  painter.setPen(trunkPen);
  painter.drawPath(trunkPath(pose));
  if (front) {
    painter.setPen(roundPen(kInk, kShoulderWidth));
    painter.drawLine(QLineF(pose.nearArm.root.point(), pose.farArm.root.point()));
  }

  if (front) {
    drawLimb(painter, pose.farArm, kUpperArmWidth, kForearmWidth, true);
  } else {
    drawLimb(painter, pose.nearLeg, kThighWidth, kShinWidth, true);
  }
  drawLimb(painter, pose.nearArm, kUpperArmWidth, kForearmWidth, true);

  painter.setPen(Qt::NoPen);
  painter.setBrush(kInk);
  painter.drawEllipse(headCentre(pose), kHeadRadius, kHeadRadius);
  painter.setBrush(Qt::NoBrush);

  painter.setPen(roundPen(kInk, kPropWidth));
  painter.drawLine(QLineF(3, kGroundY, kBox - 3, kGroundY));
  for (const Line& prop : pose.props) {
    if (prop.from.present()) painter.drawLine(QLineF(prop.from.point(), prop.to.point()));
  }
}

// Cell geometry, in fractions of the cell's height.
constexpr double kTickMargin = 0.05;
constexpr double kTickSide = 0.2;
constexpr double kFigureMargin = 0.04;
constexpr double kNumberHeight = 0.15;
constexpr double kFrameWidth = 0.012;
constexpr double kTileGap = 0.025;
constexpr double kTileRadius = 0.04;

// Each cell a tile of its own, a hair apart from its neighbours.
void drawTile(QPainter& painter, const QRectF& cell) {
  const double h = cell.height();
  const double frame = kFrameWidth * h;
  const double inset = kTileGap * h / 2 + frame / 2;
  painter.setPen(QPen(kFrame, frame));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(cell.adjusted(inset, inset, -inset, -inset), kTileRadius * h,
                          kTileRadius * h);
}

// The number goes in the cell's bottom-right corner, on a patch of white where the ground line
// would run under it. It is laid out at a large pixel size and scaled down, so it comes out the
// same on a 100-pixel strip and on a 600 dpi page.
void drawCellNumber(QPainter& painter, const QRectF& cell, int number) {
  constexpr int kLayoutPixels = 100;
  constexpr double kClearance = 15;  // layout pixels of white before the first digit
  const double scale = kNumberHeight * cell.height() / kLayoutPixels;
  const double margin = kFigureMargin * cell.height();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kLayoutPixels);
  font.setBold(true);
  painter.save();
  painter.translate(cell.right() - margin, cell.bottom() - margin);
  painter.scale(scale, scale);
  painter.setFont(font);
  const QRectF box(-4 * kLayoutPixels, -kLayoutPixels, 4 * kLayoutPixels, kLayoutPixels);
  const int flags = Qt::AlignRight | Qt::AlignBottom;
  const QString text = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
  painter.fillRect(painter.boundingRect(box, flags, text).adjusted(-kClearance, 0, 0, 0),
                   Qt::white);
  painter.setPen(kInk);
  painter.drawText(box, flags, text);
  painter.restore();
}

}  // namespace

QString stretchName(int number) {
  return validNumber(number) ? QString::fromUtf8(kPoses[number - 1].name) : QString();
}

void drawStretchFigure(QPainter& painter, const QRectF& area, int number) {
  if (!validNumber(number) || area.isEmpty()) return;
  const double side = std::min(area.width(), area.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(area.center() - QPointF(side / 2, side / 2));
  painter.scale(side / kBox, side / kBox);
  drawPose(painter, kPoses[number - 1]);
  painter.restore();
}

QRectF stretchCellArea(int number, const QSizeF& size) {
  if (!validNumber(number) || size.isEmpty()) return {};
  const double width = size.width() / kStretchesOnTop;
  const double height = size.height() / 2;
  if (number <= kStretchesOnTop) return QRectF((number - 1) * width, 0, width, height);
  const int bottomCount = kStretchCount - kStretchesOnTop;
  const double left = (size.width() - bottomCount * width) / 2;
  return QRectF(left + (number - 1 - kStretchesOnTop) * width, height, width, height);
}

QRectF stretchTickArea(int number, const QSizeF& size) {
  const QRectF cell = stretchCellArea(number, size);
  if (cell.isEmpty()) return {};
  const double margin = kTickMargin * cell.height();
  const double side = std::min(kTickSide * cell.height(), cell.width() - 2 * margin);
  return QRectF(cell.left() + margin, cell.top() + margin, side, side);
}

void drawStretchStrip(QPainter& painter, const QRectF& area) {
  if (area.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (int number = 1; number <= kStretchCount; ++number) {
    const QRectF cell = stretchCellArea(number, area.size()).translated(area.topLeft());
    drawTile(painter, cell);
    const double margin = kFigureMargin * cell.height();
    drawStretchFigure(painter, cell.adjusted(margin, margin, -margin, -margin), number);
    drawCellNumber(painter, cell, number);
  }
  painter.restore();
}

QImage stretchStrip(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  drawStretchStrip(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return image;
}
