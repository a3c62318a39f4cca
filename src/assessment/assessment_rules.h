// The rules of the assessment printout that hold without a database or a page: which sections an
// assessment offers, the texts of the stored codes, the classes of the scores, where a postural
// finding is marked, which activities a prescription lists, which body-composition pages print
// under the heading, and the geometry of the bar charts.
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// The sections of the printout, in the order the composite prints them; each Pollock page is
// followed by its comparison.
enum class Section {
  Cover,
  Introduction,
  Medical,
  Prescription,
  Anamnesis,
  Cardiac,
  Perimetry,
  Pollock3,
  Comparison3,
  Pollock7,
  Comparison7,
  BodyMassIndex,
  Children,
  WaistHip,
  Faulkner,
  Lohman,
  TransWeltman,
  PosturalFrontBack,
  PosturalSides,
  FlexTest,
  Ergometric,
  Flexibility,
  SitUp,
  PushUp,
};

// Every section in printing order.
const QList<Section>& allSections();
// The name a section has on the command line ("cardiac", "pollock3", ...).
QString sectionName(Section section);
std::optional<Section> sectionNamed(const QString& name);
// The caption of the section's box in the selection window.
QString sectionCaption(Section section);
// The eight body-composition protocols and the two comparisons.
bool isBodyComposition(Section section);

// The section switches of the assessment program's settings (`Savcvar`), by column name,
// each "Sim" or "Não".
using SectionSwitches = QMap<QString, QString>;

// The sections an assessment can print: the cover and the introduction always; the others when
// their switch is exactly "Sim"; the body-composition pages when any body-composition switch is
// "Sim" and the assessment's protocol text (`G_TIPOPROTOCOLO`) holds their letter.
QSet<Section> availableSections(const SectionSwitches& switches, const QString& protocol);

// The texts of the cardiac-risk factors, by column (`R_IDADE` ... `R_SEXO1`) and stored code
// "1" to "6"; any other code is " - ".
QString cardiacFactorText(const QString& column, const QString& code);
// The columns of the eight factors, in printing order, with their captions.
struct CardiacFactor {
  QString column;
  QString caption;
};
const QList<CardiacFactor>& cardiacFactors();
// The class of a cardiac-risk score; a score outside every range (below 6, above 62, or
// between two ranges) is " - ".
QString cardiacResultText(double score);

// The class of a flex-test result: at most 4 "Muito Pequena" ... 13 or more "Muito Grande"; a
// value between two ranges keeps "Muito Pequena".
QString flexTestClass(double result);

// One postural finding as the examination stores it.
struct PosturalFinding {
  QString code;      // `POSTURAL`: its first letter names the picture (F, C, D, E)
  QString position;  // `POSICAO`: x in the first three digits, y in the last three
  int order = 0;     // `ORDEM`
  QString description;
};

// The place of a marker, in report units, from the stored position; nothing when the position
// is not six digits.
std::optional<QPoint> markerPosition(const QString& position);

// A finding as a picture shows it: its legend line and, when its position can be read, its
// marker.
struct PlacedFinding {
  QString legend;               // ORDEM + " - " + DESCRICAO
  QString marker;               // ORDEM
  std::optional<QPoint> place;  // report units
};
inline constexpr int kFindingsPerPicture = 10;
// The findings of one picture (those whose code begins with `picture`), in the order given,
// at most ten.
QList<PlacedFinding> placeFindings(const QList<PosturalFinding>& findings, QChar picture);

// The activities of a prescription text made of two-character codes: each code found in
// `activities` (code -> description) as code + "-" + description, in the order of the text,
// at most nine; codes not found are skipped.
inline constexpr int kPrescribedActivities = 9;
QStringList prescribedActivities(const QString& prescription,
                                 const QMap<QString, QString>& activities);

// The body-composition pages of a printout, in order, and whether each prints the heading
// "Composição Corporal" (the first page only). A comparison follows its Pollock page only when
// both are chosen and there are comparison rows.
struct BodyPage {
  Section section;
  bool heading;
};
QList<BodyPage> bodyCompositionPages(const QSet<Section>& chosen, bool hasComparisonRows);

// The whole units of a figure: its digits before the decimal separator (72,8 is 72).
int wholeUnits(double value);

// A bar of a chart in report units: it stands on the base line `barTop + 200`, `value` tall,
// with its label `labelTop + 200 - value` and the text " " + value.
struct ChartBar {
  int top = 0;
  int height = 0;
  int labelTop = 0;
  QString label;
};
ChartBar chartBar(int value, int barTop, int labelTop);

// A body-composition assessment as the comparison reads it.
struct ComparisonRow {
  QDate date;
  QString protocol;  // `G_TIPOPROTOCOLO`
  double weight = 0;
  double idealWeight3 = 0, leanMass3 = 0, fat3 = 0;
  double idealWeight7 = 0, leanMass7 = 0, fat7 = 0;
};

// Whether a stored row belongs to the comparisons: its protocol text begins with "3" or has
// "7" in second place.
bool comparedProtocol(const QString& protocol);

// One column of a comparison chart: the date and the four series (weight, ideal weight, lean
// mass, fat percentage), each as whole units; a row without the chart's protocol shows its
// weight only.
struct ComparisonColumn {
  QDate date;
  int weight = 0;
  std::optional<int> idealWeight, leanMass, fat;
};
inline constexpr int kComparedAssessments = 6;
// The six columns of the chart of protocol `letter` ('3' or '7') from rows in date order: the
// newest row in the last column, the older ones to its left; columns without a row stay empty.
QList<std::optional<ComparisonColumn>> comparisonColumns(const QList<ComparisonRow>& rows,
                                                         QChar letter);
