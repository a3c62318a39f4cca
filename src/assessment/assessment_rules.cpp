#include "assessment/assessment_rules.h"

#include <cmath>

namespace {

struct SectionInfo {
  Section section;
  const char* name;
  const char* caption;
  const char* enabledBy;  // the settings switch, or the protocol letter for body composition
};

const SectionInfo kSections[] = {
    {Section::Cover, "cover", "Folha de Rosto", nullptr},
    {Section::Introduction, "intro", "Introdução", nullptr},
    {Section::Medical, "medical", "Exame Médico", "EXAME_MEDICO"},
    {Section::Prescription, "prescription", "Prescrição de Atividades", "PRESCRICAO_ATIVIDADE"},
    {Section::Anamnesis, "anamnesis", "Anamnese", "ANAMNESE"},
    {Section::Cardiac, "cardiac", "Teste de Risco Cardíaco", "TESTE_CARDIACO"},
    {Section::Perimetry, "perimetry", "Exame Muscular - Perimetria", "EXAME_MUSCULAR"},
    {Section::Pollock3, "pollock3", "Pollock (3 dobras)", "3"},
    {Section::Comparison3, "comparison3", "Comparativo", "3"},
    {Section::Pollock7, "pollock7", "Pollock /Jackson (7 dobras)", "7"},
    {Section::Comparison7, "comparison7", "Comparativo", "7"},
    {Section::BodyMassIndex, "imc", "Índice de Massa Corporal (IMC)", "I"},
    {Section::Children, "children", "Protocolo para Crianças (7 a 17 anos)", "C"},
    {Section::WaistHip, "waist-hip", "Relação Cintura Quadril", "Q"},
    {Section::Faulkner, "faulkner", "Faulkner", "F"},
    {Section::Lohman, "lohman", "Lohman", "L"},
    {Section::TransWeltman, "trans-weltman", "Trans && Weltman ", "T"},
    {Section::PosturalFrontBack, "postural-fc", "Exame Postural (F/C)", "EXAME_POSTURAL"},
    {Section::PosturalSides, "postural-de", "Exame Postural (D/E)", "EXAME_POSTURAL"},
    {Section::FlexTest, "flextest", "Flex Teste", "FLEX_TESTE"},
    {Section::Ergometric, "vo2", "Vo2 Max", "VOZ"},
    {Section::Flexibility, "flexibility", "Flexibilidade - Banco de Wells", "FLEXIBILIDADE"},
    {Section::SitUp, "situp", "Teste Abdominal (1 minuto)", "TESTE_ABDOMINAL"},
    {Section::PushUp, "pushup", "Teste Flexão de Braço (1 minuto)", "TESTE_FLEXAO"},
};

const SectionInfo& infoOf(Section section) {
  for (const SectionInfo& info : kSections)
    if (info.section == section) return info;
  return kSections[0];
}

const char* const kBodySwitches[] = {
    "CORPORAL_POLLOCK3",        "CORPORAL_POLLOCK7", "CORPORAL_IMC",    "CORPORAL_SLAUGHTER",
    "CORPORAL_CINTURA_QUADRIL", "CORPORAL_FAULKNER", "CORPORAL_LOHMAN", "CORPORAL_TRANS_WELTMAN"};

struct CodeTable {
  const char* column;
  const char* caption;
  const char* texts[6];
};

const CodeTable kCardiac[] = {
    {"R_IDADE",
     "Idade",
     {"De 10 a 20 anos", "De 21 a 30 anos", "De 31 a 40 anos", "De 41 a 50 anos", "De 51 a 60 anos",
      "De 61 a 70 anos"}},
    {"R_DOENCA",
     "Hereditariedade",
     {"Nenhum parente", "1 Parente com mais de 60 anos", "2 Parentes com mais de 60 anos",
      "1 Parente com menos de 60 anos", "2 Parentes com menos de 60 anos",
      "3 Parentes com menos de 60 anos"}},
    {"R_PESO1",
     "Peso",
     {"Mais de 2,3 Kg abaixo", "Entre 2,3 Kg abaixo e 2,3 Kg acima", "Excesso de 2,4 Kg a 9 Kg",
      "Excesso de 9,1 Kg a 16,1 Kg", "Excesso de 16,2 Kg a 22,9 Kg", "Excesso de 23 Kg ou mais"}},
    {"R_FUMO",
     "Fumo",
     {"Não fumante", "Charuto com ou cachimbo", "10 cigarros ou menos por dia",
      "20 cigarros por dia", "30 cigarros por dia", "40 cigarros ou mais por dia"}},
    {"R_TRABALHO",
     "Exercício",
     {"Esforço ocupacional e recreativo intenso", "Esforço ocupacional e recreativo moderado",
      "Trabalho sedentário e esforço recreativo intenso",
      "Trabalho sedentário e esforço recreativo leve",
      "Trabalho sedentário e esforço recreativo moderado",
      "Ausência completa de qualquer exercício"}},
    {"R_COLESTEROL",
     "Colesterol",
     {"Colesterol abaixo de 180 mg% (ausência de gordura animal ou sólida na dieta)",
      "Colesterol de 181 a 205 mg% (10% de gordura animal ou sólida na dieta)",
      "Colesterol de 206 a 230 mg% (20% de gordura animal ou sólida na dieta)",
      "Colesterol de 231 a 255 mg% (30% de gordura animal ou sólida na dieta)",
      "Colesterol de 256 a 280 mg% (40% de gordura animal ou sólida na dieta)",
      "Colesterol acima de 281 mg% (50% ou mais de gordura animal ou sólida na dieta)"}},
    {"R_PRESSAOARTERIAL1",
     "Pressão Arterial",
     {"Pressão sistólica <= 100 mmHg", "Pressão sistólica   > 100 mmHg e <= 120 mmHg",
      "Pressão sistólica   > 120 mmHg e <= 140 mmHg",
      "Pressão sistólica   > 140 mmHg e <= 160 mmHg",
      "Pressão sistólica   > 160 mmHg e <= 180 mmHg", "Pressão sistólica   > 180 mmHg"}},
    {"R_SEXO1",
     "Sexo",
     {"Mulher com menos de 40 anos", "Mulher entre 40 a 50 anos", "Mulher com mais de 50 anos",
      "Homem", "Homem atarracado(GORDO E BAIXO)", "Homem calvo e atarracado"}},
};

const QString kNoClass = QStringLiteral(" - ");

}  // namespace

const QList<Section>& allSections() {
  static const QList<Section> sections = [] {
    QList<Section> list;
    for (const SectionInfo& info : kSections) list << info.section;
    return list;
  }();
  return sections;
}

QString sectionName(Section section) {
  return QString::fromLatin1(infoOf(section).name);
}

std::optional<Section> sectionNamed(const QString& name) {
  for (const SectionInfo& info : kSections)
    if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0) return info.section;
  return std::nullopt;
}

QString sectionCaption(Section section) {
  return QString::fromUtf8(infoOf(section).caption);
}

bool isBodyComposition(Section section) {
  return section >= Section::Pollock3 && section <= Section::TransWeltman;
}

QSet<Section> availableSections(const SectionSwitches& switches, const QString& protocol) {
  const QString yes = QStringLiteral("Sim");
  bool anyBody = false;
  for (const char* name : kBodySwitches)
    anyBody = anyBody || switches.value(QString::fromLatin1(name)) == yes;
  QSet<Section> available;
  for (const SectionInfo& info : kSections) {
    if (!info.enabledBy) {
      available << info.section;
    } else if (isBodyComposition(info.section)) {
      if (anyBody && protocol.contains(QLatin1String(info.enabledBy))) available << info.section;
    } else if (switches.value(QString::fromLatin1(info.enabledBy)) == yes) {
      available << info.section;
    }
  }
  return available;
}

QString cardiacFactorText(const QString& column, const QString& code) {
  for (const CodeTable& table : kCardiac) {
    if (column != QLatin1String(table.column)) continue;
    if (code.size() != 1 || code[0] < QLatin1Char('1') || code[0] > QLatin1Char('6')) break;
    return QString::fromUtf8(table.texts[code[0].unicode() - '1']);
  }
  return kNoClass;
}

const QList<CardiacFactor>& cardiacFactors() {
  static const QList<CardiacFactor> factors = [] {
    QList<CardiacFactor> list;
    for (const CodeTable& table : kCardiac)
      list << CardiacFactor{QString::fromLatin1(table.column), QString::fromUtf8(table.caption)};
    return list;
  }();
  return factors;
}

QString cardiacResultText(double r) {
  struct Range {
    double low, high;
    const char* text;
  };
  static const Range ranges[] = {
      {6, 11, "Risco de bem abaixo da média"},
      {12, 17, "Risco abaixo da média"},
      {18, 24, "Risco na média"},
      {25, 31, "Risco moderado (procure um médico!!!)"},
      {32, 40, "Risco no nível perigoso(procure um médico!!!)"},
      {41, 62, "Perigo urgente(procure um médico!!!)"},
  };
  for (const Range& range : ranges)
    if (r >= range.low && r <= range.high) return QString::fromUtf8(range.text);
  return kNoClass;
}

QString flexTestClass(double result) {
  if (result >= 13) return QStringLiteral("Muito Grande");
  if (result >= 11 && result <= 12) return QStringLiteral("Grande");
  if (result >= 9 && result <= 10) return QStringLiteral("Média(+)");
  if (result >= 7 && result <= 8) return QStringLiteral("Média(-)");
  if (result >= 5 && result <= 6) return QStringLiteral("Pequena");
  return QStringLiteral("Muito Pequena");
}

std::optional<QPoint> markerPosition(const QString& position) {
  const QString digits = position.trimmed();
  if (digits.size() != 6) return std::nullopt;
  for (const QChar c : digits)
    if (!c.isDigit()) return std::nullopt;
  const int x = digits.left(3).toInt();
  const int y = digits.mid(3).toInt();
  // In whole hundredths, so the integer part is exact: 90.37 and 100.87 per hundred.
  return QPoint((x - 20) * 9037 / 10000 + 28, (y - 110) * 10087 / 10000 + 120);
}

QList<PlacedFinding> placeFindings(const QList<PosturalFinding>& findings, QChar picture) {
  QList<PlacedFinding> placed;
  for (const PosturalFinding& finding : findings) {
    if (!finding.code.startsWith(picture, Qt::CaseInsensitive)) continue;
    if (placed.size() == kFindingsPerPicture) break;
    const QString order = QString::number(finding.order);
    placed << PlacedFinding{order + QStringLiteral(" - ") + finding.description, order,
                            markerPosition(finding.position)};
  }
  return placed;
}

QStringList prescribedActivities(const QString& prescription,
                                 const QMap<QString, QString>& activities) {
  QStringList lines;
  for (qsizetype i = 0; i < prescription.size() && lines.size() < kPrescribedActivities; i += 2) {
    const QString code = prescription.mid(i, 2);
    const auto found = activities.constFind(code);
    if (found != activities.constEnd()) lines << code + QLatin1Char('-') + *found;
  }
  return lines;
}

QList<BodyPage> bodyCompositionPages(const QSet<Section>& chosen, bool hasComparisonRows) {
  QList<BodyPage> pages;
  bool headingPrinted = false;
  for (Section section : allSections()) {
    if (!isBodyComposition(section) || !chosen.contains(section)) continue;
    if (section == Section::Comparison3 || section == Section::Comparison7) {
      const Section pollock =
          section == Section::Comparison3 ? Section::Pollock3 : Section::Pollock7;
      if (chosen.contains(pollock) && hasComparisonRows) pages << BodyPage{section, false};
      continue;
    }
    pages << BodyPage{section, !headingPrinted};
    headingPrinted = true;
  }
  return pages;
}

int wholeUnits(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int>(std::trunc(value));
}

ChartBar chartBar(int value, int barTop, int labelTop) {
  return ChartBar{barTop + 200 - value, value, labelTop + 200 - value,
                  QStringLiteral(" ") + QString::number(value)};
}

bool comparedProtocol(const QString& protocol) {
  return protocol.startsWith(QLatin1Char('3')) ||
         (protocol.size() > 1 && protocol[1] == QLatin1Char('7'));
}

QList<std::optional<ComparisonColumn>> comparisonColumns(const QList<ComparisonRow>& rows,
                                                         QChar letter) {
  QList<std::optional<ComparisonColumn>> columns(kComparedAssessments);
  int column = kComparedAssessments - 1;
  for (qsizetype i = rows.size() - 1; i >= 0 && column >= 0; --i, --column) {
    const ComparisonRow& row = rows[i];
    ComparisonColumn drawn;
    drawn.date = row.date;
    drawn.weight = wholeUnits(row.weight);
    // A row measured by another protocol has no figures of this one: its weight only.
    if (row.protocol.contains(letter)) {
      const bool three = letter == QLatin1Char('3');
      drawn.idealWeight = wholeUnits(three ? row.idealWeight3 : row.idealWeight7);
      drawn.leanMass = wholeUnits(three ? row.leanMass3 : row.leanMass7);
      drawn.fat = wholeUnits(three ? row.fat3 : row.fat7);
    }
    columns[column] = drawn;
  }
  return columns;
}
