// The figures the assessment printout draws itself rather than taking from the assessment
// database: the body outlines (the perimetry sites, and the postural views when the assessment
// has no picture at all), and the men's and women's reference tables of the three tests.
#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

enum class BodyView { Front, Back, Side };

// A standing body seen from the front, the back or the side, fitted into `box` (mm), aspect
// kept and centred.
QPainterPath bodyOutline(BodyView view, const QRectF& box);

// Where the fourteen perimetry sites sit on the front outline fitted into `box`, in the order of
// the perimetry table (chest, waist, abdomen, hip, right and left arm, forearm, mid-thigh, leg,
// proximal thigh).
QList<QPointF> perimetrySites(const QRectF& box);

// A reference table: the classes across, the age groups down, each cell the range of the test's
// result for that class and age.
struct ReferenceTable {
  QString source;
  QStringList classes;
  struct AgeRow {
    QString ages;
    QStringList cells;
  };
  QList<AgeRow> rows;
};

enum class ReferenceTest { Flexibility, SitUp, PushUp };
const ReferenceTable& referenceTable(ReferenceTest test, bool men);
