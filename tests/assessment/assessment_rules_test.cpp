// The rules of the assessment printout that need neither a database nor a page.
#include <gtest/gtest.h>

#include "assessment/assessment_report.h"
#include "assessment/assessment_rules.h"

namespace {

TEST(CardiacRisk, CodesPrintTheirTextsAndAnythingElseADash) {
  const struct {
    const char* column;
    const char* code;
    const char* text;
  } cases[] = {
      {"R_IDADE", "1", "De 10 a 20 anos"},
      {"R_IDADE", "6", "De 61 a 70 anos"},
      {"R_DOENCA", "4", "1 Parente com menos de 60 anos"},
      {"R_PESO1", "2", "Entre 2,3 Kg abaixo e 2,3 Kg acima"},
      {"R_FUMO", "2", "Charuto com ou cachimbo"},
      {"R_TRABALHO", "6", "Ausência completa de qualquer exercício"},
      {"R_COLESTEROL", "3",
       "Colesterol de 206 a 230 mg% (20% de gordura animal ou sólida na dieta)"},
      {"R_PRESSAOARTERIAL1", "2", "Pressão sistólica   > 100 mmHg e <= 120 mmHg"},
      {"R_SEXO1", "5", "Homem atarracado(GORDO E BAIXO)"},
      {"R_SEXO1", "7", " - "},
      {"R_SEXO1", "0", " - "},
      {"R_FUMO", "", " - "},
      {"R_FUMO", "12", " - "},
      {"R_OUTRO", "1", " - "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(cardiacFactorText(QString::fromLatin1(c.column), QString::fromLatin1(c.code)),
              QString::fromUtf8(c.text))
        << c.column << " " << c.code;
}

TEST(CardiacRisk, ScoresFallInTheirRangesAndBetweenRangesPrintADash) {
  const struct {
    double score;
    const char* text;
  } cases[] = {
      {5.9, " - "},
      {6, "Risco de bem abaixo da média"},
      {11, "Risco de bem abaixo da média"},
      {11.5, " - "},
      {12, "Risco abaixo da média"},
      {24, "Risco na média"},
      {24.5, " - "},
      {31, "Risco moderado (procure um médico!!!)"},
      {40, "Risco no nível perigoso(procure um médico!!!)"},
      {41, "Perigo urgente(procure um médico!!!)"},
      {62, "Perigo urgente(procure um médico!!!)"},
      {62.5, " - "},
      {70, " - "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(cardiacResultText(c.score), QString::fromUtf8(c.text)) << c.score;
}

TEST(FlexTest, ResultsGetTheirClassAndGapsKeepTheSmallest) {
  const struct {
    double result;
    const char* text;
  } cases[] = {{0, "Muito Pequena"},    {4, "Muito Pequena"}, {4.5, "Muito Pequena"},
               {5, "Pequena"},          {6, "Pequena"},       {6.5, "Muito Pequena"},
               {7, "Média(-)"},         {8, "Média(-)"},      {9, "Média(+)"},
               {10, "Média(+)"},        {11, "Grande"},       {12, "Grande"},
               {12.5, "Muito Pequena"}, {13, "Muito Grande"}, {20, "Muito Grande"}};
  for (const auto& c : cases)
    EXPECT_EQ(flexTestClass(c.result), QString::fromUtf8(c.text)) << c.result;
}

TEST(PosturalMarkers, ThePositionGivesTheMarkersPlace) {
  const struct {
    const char* position;
    std::optional<QPoint> place;
  } cases[] = {
      {"120210", QPoint(118, 220)},
      {"020110", QPoint(28, 120)},
      {"021111", QPoint(28, 121)},  // 0.9037 and 1.0087 lose their fractions
      {"420510", QPoint(389, 523)},
      {"010100", QPoint(19, 110)},  // left of the picture: the fraction goes towards zero
      {"12021", std::nullopt},
      {"12a210", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(markerPosition(QString::fromLatin1(c.position)), c.place) << c.position;
}

TEST(PosturalMarkers, EachPictureShowsItsOwnFindingsTenAtMost) {
  QList<PosturalFinding> findings;
  for (int i = 1; i <= 11; ++i)
    findings << PosturalFinding{QStringLiteral("F%1").arg(i, 2, 10, QLatin1Char('0')),
                                QStringLiteral("120210"), i, QStringLiteral("ACHADO %1").arg(i)};
  findings.insert(3, PosturalFinding{QStringLiteral("C01"), QStringLiteral("bad"), 40,
                                     QStringLiteral("ESCOLIOSE")});
  const QList<PlacedFinding> front = placeFindings(findings, QLatin1Char('F'));
  ASSERT_EQ(front.size(), 10);
  EXPECT_EQ(front.first().legend, QStringLiteral("1 - ACHADO 1"));
  EXPECT_EQ(front.first().marker, QStringLiteral("1"));
  EXPECT_EQ(front.first().place, QPoint(118, 220));
  EXPECT_EQ(front.last().legend, QStringLiteral("10 - ACHADO 10"));
  const QList<PlacedFinding> back = placeFindings(findings, QLatin1Char('C'));
  ASSERT_EQ(back.size(), 1);
  EXPECT_EQ(back[0].legend, QStringLiteral("40 - ESCOLIOSE"));
  EXPECT_FALSE(back[0].place);  // listed, but not marked where no one can tell
  EXPECT_TRUE(placeFindings(findings, QLatin1Char('D')).isEmpty());
}

TEST(Prescription, CodesFoundListInTextOrderAndMissingOnesAreSkipped) {
  const QMap<QString, QString> activities{{QStringLiteral("01"), QStringLiteral("MUSCULACAO")},
                                          {QStringLiteral("02"), QStringLiteral("NATACAO")},
                                          {QStringLiteral("03"), QStringLiteral("SPINNING")}};
  EXPECT_EQ(prescribedActivities(QStringLiteral("0201"), activities),
            QStringList({QStringLiteral("02-NATACAO"), QStringLiteral("01-MUSCULACAO")}));
  EXPECT_EQ(prescribedActivities(QStringLiteral("9902"), activities),
            QStringList({QStringLiteral("02-NATACAO")}));
  EXPECT_EQ(prescribedActivities(QStringLiteral("010"), activities),
            QStringList({QStringLiteral("01-MUSCULACAO")}));
  EXPECT_EQ(prescribedActivities(QString(), activities), QStringList());
  // Nine places: a tenth activity found is not shown.
  EXPECT_EQ(prescribedActivities(QStringLiteral("01").repeated(10), activities).size(), 9);
}

TEST(Sections, SwitchesAndTheProtocolDecideWhatAnAssessmentOffers) {
  const QString sim = QStringLiteral("Sim");
  // The body-mass index switch alone opens the body composition; the protocol "37" picks.
  QSet<Section> offered =
      availableSections({{QStringLiteral("CORPORAL_IMC"), sim}}, QStringLiteral("37"));
  EXPECT_EQ(offered,
            QSet<Section>({Section::Cover, Section::Introduction, Section::Pollock3,
                           Section::Comparison3, Section::Pollock7, Section::Comparison7}));
  // No body-composition switch: no protocol page, whatever the protocol.
  offered = availableSections(
      {{QStringLiteral("EXAME_POSTURAL"), sim}, {QStringLiteral("VOZ"), QStringLiteral("sim")}},
      QStringLiteral("37IQCFLT"));
  EXPECT_EQ(offered, QSet<Section>({Section::Cover, Section::Introduction,
                                    Section::PosturalFrontBack, Section::PosturalSides}));
  offered = availableSections(
      {{QStringLiteral("CORPORAL_LOHMAN"), sim}, {QStringLiteral("ANAMNESE"), sim}},
      QStringLiteral("ICQFLT"));
  EXPECT_TRUE(offered.contains(Section::Anamnesis));
  EXPECT_FALSE(offered.contains(Section::Medical));
  for (Section s : {Section::BodyMassIndex, Section::Children, Section::WaistHip, Section::Faulkner,
                    Section::Lohman, Section::TransWeltman})
    EXPECT_TRUE(offered.contains(s)) << sectionName(s).toStdString();
  EXPECT_FALSE(offered.contains(Section::Pollock3));
}

TEST(Sections, CommandLineNamesGoBothWays) {
  for (Section section : allSections())
    EXPECT_EQ(sectionNamed(sectionName(section)), section) << sectionName(section).toStdString();
  EXPECT_FALSE(sectionNamed(QStringLiteral("todos")));
}

TEST(BodyCompositionPages, TheHeadingPrintsAboveTheFirstPageOnly) {
  QList<BodyPage> pages =
      bodyCompositionPages({Section::Cover, Section::Pollock3, Section::BodyMassIndex}, false);
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0].section, Section::Pollock3);
  EXPECT_TRUE(pages[0].heading);
  EXPECT_EQ(pages[1].section, Section::BodyMassIndex);
  EXPECT_FALSE(pages[1].heading);

  pages = bodyCompositionPages({Section::BodyMassIndex}, true);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].heading);

  // A comparison follows its Pollock page when there are rows to compare.
  const QSet<Section> both{Section::Pollock7, Section::Comparison7, Section::TransWeltman};
  pages = bodyCompositionPages(both, true);
  ASSERT_EQ(pages.size(), 3);
  EXPECT_EQ(pages[1].section, Section::Comparison7);
  EXPECT_FALSE(pages[2].heading);
  EXPECT_EQ(bodyCompositionPages(both, false).size(), 2);
}

ComparisonRow row(const QDate& date, const QString& protocol, double weight) {
  ComparisonRow r;
  r.date = date;
  r.protocol = protocol;
  r.weight = weight;
  r.idealWeight3 = weight - 5.5;
  r.leanMass3 = weight - 12.9;
  r.fat3 = 18.7;
  r.idealWeight7 = weight - 4;
  r.leanMass7 = weight - 11;
  r.fat7 = 21.2;
  return r;
}

TEST(Comparison, TheNewestSixAreDrawnNewestAtTheRight) {
  QList<ComparisonRow> rows;
  for (int i = 0; i < 9; ++i)
    rows << row(QDate(2026, 1, 1).addMonths(i), QStringLiteral("3"), 70 + i);
  const auto columns = comparisonColumns(rows, QLatin1Char('3'));
  ASSERT_EQ(columns.size(), 6);
  for (int c = 0; c < 6; ++c) {
    ASSERT_TRUE(columns[c]);
    EXPECT_EQ(columns[c]->date, QDate(2026, 4, 1).addMonths(c));
    EXPECT_EQ(columns[c]->weight, 73 + c);
  }
  EXPECT_EQ(columns[5]->idealWeight, 72);
  EXPECT_EQ(columns[5]->leanMass, 65);
  EXPECT_EQ(columns[5]->fat, 18);
}

TEST(Comparison, FewRowsLeaveTheLeftColumnsEmptyAndOtherProtocolsShowTheWeightOnly) {
  const QList<ComparisonRow> rows{row(QDate(2026, 2, 1), QStringLiteral("37"), 72.8),
                                  row(QDate(2026, 5, 1), QStringLiteral("I7"), 70.2)};
  const auto three = comparisonColumns(rows, QLatin1Char('3'));
  for (int c = 0; c < 4; ++c) EXPECT_FALSE(three[c]) << c;
  EXPECT_EQ(three[4]->weight, 72);
  EXPECT_EQ(three[4]->fat, 18);
  EXPECT_EQ(three[5]->weight, 70);
  EXPECT_FALSE(three[5]->idealWeight);
  EXPECT_FALSE(three[5]->fat);
  const auto seven = comparisonColumns(rows, QLatin1Char('7'));
  EXPECT_EQ(seven[5]->fat, 21);
  EXPECT_TRUE(comparisonColumns({}, QLatin1Char('7')).first() == std::nullopt);
}

TEST(Comparison, OnlyProtocolsBeginningWithThreeOrWithSevenSecondAreCompared) {
  const struct {
    const char* protocol;
    bool compared;
  } cases[] = {{"3", true},  {"37", true},  {"3I", true}, {"I7", true},
               {"7", false}, {"I3", false}, {"", false},  {"IQ7", false}};
  for (const auto& c : cases)
    EXPECT_EQ(comparedProtocol(QString::fromLatin1(c.protocol)), c.compared) << c.protocol;
}

TEST(Charts, ABarStandsOnTheBaseLineAsTallAsItsWholeValue) {
  const ChartBar weight = chartBar(wholeUnits(72.8), 42, 22);
  EXPECT_EQ(weight.height, 72);
  EXPECT_EQ(weight.top, 170);
  EXPECT_EQ(weight.top + weight.height, 242);
  EXPECT_EQ(weight.labelTop, 150);
  EXPECT_EQ(weight.label, QStringLiteral(" 72"));
  const ChartBar heart = chartBar(wholeUnits(155.9), 106, 85);
  EXPECT_EQ(heart.top + heart.height, 306);
  EXPECT_EQ(heart.labelTop, 130);
  EXPECT_EQ(heart.label, QStringLiteral(" 155"));
  EXPECT_EQ(wholeUnits(-0.5), 0);
  EXPECT_EQ(wholeUnits(std::nan("")), 0);
}

TEST(Memos, RichTextLosesItsMarkupAndPlainTextStaysAsItIs) {
  const struct {
    const char* stored;
    const char* shown;
  } cases[] = {
      {"Texto simples {com chaves}", "Texto simples {com chaves}"},
      {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red0\\green0\\blue0;}"
       "\\viewkind4\\uc1\\pard\\f0\\fs20 Ol\\'e1, seja bem-vindo\\par Segunda linha\\par}",
       "Olá, seja bem-vindo\nSegunda linha"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(memoText(QString::fromUtf8(c.stored)), QString::fromUtf8(c.shown)) << c.stored;
}

}  // namespace
