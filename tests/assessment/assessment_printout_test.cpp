// The assessment printout as `vantrel assessment` writes it, read back from the PDF, on
// installations whose links name each provider and whose assessment database holds the
// demonstration assessments.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "assessment/assessment_command.h"
#include "assessment/demo_assessments.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"
#include "support/captured_stream.h"
#include "support/pdf_text.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kBruno = QStringLiteral("0000000002");
const QString kAna = QStringLiteral("0000000001");

// The pictures the PDF holds, from pdfimages: what the program draws itself is no picture.
int pdfPictureCount(const QString& file) {
  QProcess process;
  process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << "pdfimages failed";
    return -1;
  }
  // Two heading lines, then one line per picture.
  return qMax(0, int(QString::fromUtf8(process.readAllStandardOutput())
                         .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                         .size()) -
                     2);
}

QByteArray jpeg(const QColor& colour) {
  QImage image(60, 120, QImage::Format_RGB888);
  image.fill(colour);
  return encodeJpeg(image);
}

class AssessmentPrintout : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    const struct {
      DataSource source;
      TestDatabase* database;
      Database tables;
    } links[] = {{DataSource::Vantrel, &workout_, Database::Workout},
                 {DataSource::Brisca, &gym_, Database::GymManagement},
                 {DataSource::Tamsel, &assessment_, Database::Assessment}};
    for (const auto& l : links) {
      ASSERT_TRUE(writeLinkFile(linkFilePath(l.source), l.database->linkSpec()));
      auto c = l.database->connect();
      const SchemaReport schema = createMissingTables(c->database(), c->dialect(), l.tables);
      ASSERT_TRUE(schema.ok()) << schema.error.toStdString();
      if (l.tables == Database::Workout) {
        QString error;
        ASSERT_TRUE(ensureSettingsRow(
            c->database(), {{QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA DO TESTE")}},
            &error));
      }
      if (l.tables == Database::GymManagement) addDemoActivities(c->database());
      if (l.tables == Database::Assessment) addDemoAssessments(c->database());
    }
    tamsel_ = assessment_.connect(QStringLiteral("tamsel-teste"));
  }
  void TearDown() override { testPrompter().clear(); }

  void run(const QString& sql, const QVariantList& values = {}) {
    runSql(tamsel_->database(), sql, values);
  }
  QDate newest(const QString& matricula) {
    return scalarSql(tamsel_->database(),
                     QStringLiteral("SELECT MAX(DATAEXAME) FROM AVALIACAO WHERE MATRICULA = ?"),
                     {matricula})
        .toDate();
  }
  int print(const QString& matricula, const QDate& day, const QString& sections) {
    QStringList args{matricula, day.toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("--pdf"),
                     pdf()};
    if (!sections.isEmpty()) args << QStringLiteral("--sections") << sections;
    return runAssessmentCommand(args, out_.stream(), err_.stream());
  }
  // The pages of the printout of `sections`, each as its text; empty when it failed.
  QStringList pages(const QString& matricula, const QString& sections) {
    if (print(matricula, newest(matricula), sections) != 0) {
      ADD_FAILURE() << err_.text().toStdString();
      return {};
    }
    QStringList texts;
    for (int page = 1; page <= pdfPageCount(pdf()); ++page) texts << pdfText(pdf(), page, page);
    return texts;
  }
  QString pdf() const { return files_.filePath(QStringLiteral("avaliacao.pdf")); }

  TestInstallation home_;
  TestDatabase workout_{GetParam()};
  TestDatabase gym_{GetParam()};
  TestDatabase assessment_{GetParam()};
  std::unique_ptr<Connection> tamsel_;
  QTemporaryDir files_;
  Captured out_;
  Captured err_;
};

TEST_P(AssessmentPrintout, EverySectionPrintsItsFiguresFromTheAssessment) {
  const QStringList texts = pages(kBruno, QStringLiteral("all"));
  const struct {
    const char* section;
    QStringList expected;
  } cases[] = {
      {"Avaliação Física", {"ACADEMIA DO TESTE"}},
      {"DADOS PESSOAIS", {"BRUNO CARVALHO LIMA", "AV. ATLANTICA, 46", "ANALISTA"}},
      {"Exame Médico", {"Cansaço ao subir escadas", "Ectoscopia", "DR. HELIO CAMPOS"}},
      {"Prescrição", {"01-MUSCULACAO", "02-NATACAO", "03-SPINNING", "RICARDO AZEVEDO PRADO"}},
      {"Anamnese", {"Entorse de tornozelo", "Perder peso", "Hipertensão (pai)"}},
      {"Teste de Risco Cardíaco",
       {"De 31 a 40 anos", "10 cigarros ou menos por dia", "Risco na média"}},
      {"Exame Muscular - Perimetria", {"Coxa Proximal Esquerda", "Positivo", "Funcional", "5,0"}},
      {"Pollock (3 dobras", {"Composição Corporal", "Gordura Atual", "17,2 %", "Na média"}},
      {"Comparativo", {"Peso Atual", "Massa Magra", "% de Gordura"}},
      {"Pollock e Jackson", {"Axilar Média", "18,1 %"}},
      {"NHANES II Survey", {"25,4", "Sobrepeso"}},
      {"Relação Cintura Quadril", {"Resultado Cintura Quadril", "Risco baixo"}},
      {"Kendall", {"1 - Cabeça inclinada à direita", "4 - Escápula esquerda alada"}},
      {"Flextest", {"Flexão do tronco", "Média(+)"}},
      {"Ergométrico", {"Escala de Esforço", "168 Bpm", "68 Bpm", "ml/Kgxmin-1"}},
      {"Banco Wells", {"Canadian Standardized", "Alcance (cm):", "Homens"}},
      {"Teste Abdominal (1 minuto)", {"Abdominais em 1 minuto - Homens", "38"}},
      {"Teste Flexão de Braço", {"Flexões de braço em 1 minuto - Homens", "24"}},
  };
  for (const auto& c : cases) {
    const QString title = QString::fromUtf8(c.section);
    const auto page = std::find_if(texts.begin(), texts.end(),
                                   [&](const QString& t) { return t.contains(title); });
    if (page == texts.end()) {
      ADD_FAILURE() << "no page " << c.section;
      continue;
    }
    for (const QString& text : c.expected)
      EXPECT_TRUE(page->contains(text)) << c.section << ": " << text.toStdString() << "\n"
                                        << page->toStdString();
  }
  // Each page but the cover carries the member's frame.
  EXPECT_FALSE(texts.first().contains(QStringLiteral("Matrícula")));
  for (int i = 1; i < texts.size(); ++i)
    EXPECT_TRUE(texts[i].contains(QStringLiteral("BRUNO CARVALHO LIMA")) &&
                texts[i].contains(QStringLiteral("RUA DAS LARANJEIRAS, 350")))
        << i;
  EXPECT_TRUE(out_.text().contains(pdf()));
}

TEST_P(AssessmentPrintout, NineExamsCompareTheNewestSixWithWholeValues) {
  const QDate day = newest(kBruno);
  run(QStringLiteral("UPDATE CORPORAL SET G_PESO = 72.8 WHERE MATRICULA = ? AND DATAEXAME = ?"),
      {kBruno, day});
  // The comparison brings its Pollock page along.
  const QStringList texts = pages(kBruno, QStringLiteral("comparison3"));
  ASSERT_EQ(texts.size(), 2);
  const QString chart = texts[1];
  QList<qsizetype> places;
  for (int back = 0; back < 9; ++back) {
    const QString date = day.addDays(-60 * back).toString(QStringLiteral("dd/MM/yy"));
    if (back < 6)
      places.prepend(chart.indexOf(date));
    else
      EXPECT_FALSE(chart.contains(date)) << back;
  }
  // The dates under each chart run oldest to newest, left to right.
  for (int i = 0; i < places.size(); ++i) {
    ASSERT_GE(places[i], 0) << i;
    if (i > 0) {
      EXPECT_GT(places[i], places[i - 1]) << i;
    }
  }
  EXPECT_TRUE(chart.contains(QRegularExpression(QStringLiteral("\\b72\\b"))))
      << chart.toStdString();
  EXPECT_FALSE(chart.contains(QStringLiteral("73")));
  EXPECT_FALSE(chart.contains(QStringLiteral("72,8")));
}

TEST_P(AssessmentPrintout, HeadingOnTheFirstBodyPageAndResultsHiddenWhenTheSettingsSaySo) {
  run(QStringLiteral("UPDATE Savcvar SET MOSTRA_RESULTADO_CORPORAL = ?"), {QStringLiteral("Não")});
  const QStringList texts = pages(kBruno, QStringLiteral("pollock3,imc"));
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("Composição Corporal")));
  EXPECT_FALSE(texts[1].contains(QStringLiteral("Composição Corporal")));
  EXPECT_FALSE(texts[0].contains(QStringLiteral("Resultado Gordura Média")));
  EXPECT_FALSE(texts[1].contains(QStringLiteral("Resultado Índice de Massa Corporea")));
  EXPECT_TRUE(texts[1].contains(QStringLiteral("Índice de Massa Corporal (IMC)")));

  const QStringList alone = pages(kBruno, QStringLiteral("imc"));
  ASSERT_EQ(alone.size(), 1);
  EXPECT_TRUE(alone[0].contains(QStringLiteral("Composição Corporal")));
}

TEST_P(AssessmentPrintout, ScoresOutsideTheRangesAndUnknownCodesPrintADash) {
  for (double score : {11.5, 70.0}) {
    run(QStringLiteral("UPDATE CARDIACO SET R_RESULTADOATUAL = ?, R_FUMO = ?"),
        {score, QStringLiteral("9")});
    const QStringList texts = pages(kBruno, QStringLiteral("cardiac"));
    ASSERT_EQ(texts.size(), 1);
    for (const char* range : {"Risco de bem abaixo", "Risco abaixo", "Risco na", "Risco moderado",
                              "Risco no", "Perigo"})
      EXPECT_FALSE(texts[0].contains(QString::fromUtf8(range))) << score << " " << range;
    EXPECT_FALSE(texts[0].contains(QStringLiteral("cigarros")));
    EXPECT_TRUE(texts[0].contains(QRegularExpression(QStringLiteral("Fumo :\\s+-"))))
        << texts[0].toStdString();
  }
}

TEST_P(AssessmentPrintout, ElevenFrontFindingsShowTenAndTheDoctorsBandCanBeLeftOut) {
  const QDate day = newest(kAna);
  run(QStringLiteral("DELETE FROM EXAME WHERE MATRICULA = ?"), {kAna});
  for (int order = 1; order <= 11; ++order)
    run(QStringLiteral("INSERT INTO EXAME (MATRICULA, DATA, POSTURAL, POSICAO, ORDEM) "
                       "VALUES (?, ?, 'F04', '120210', ?)"),
        {kAna, day, order});
  run(QStringLiteral("UPDATE Savcvar SET MOSTRA_MEDICA = ?"), {QStringLiteral("Não")});
  run(QStringLiteral("UPDATE PRESCRICAO SET PRESCRICAO = ? WHERE MATRICULA = ?"),
      {QStringLiteral("9904"), kAna});
  const QStringList texts = pages(kAna, QStringLiteral("postural-fc,medical,prescription"));
  ASSERT_EQ(texts.size(), 3);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("Queixas")));
  EXPECT_FALSE(texts[0].contains(QStringLiteral("Ectoscopia")));
  EXPECT_TRUE(texts[1].contains(QStringLiteral("04-PILATES")));
  EXPECT_FALSE(texts[1].contains(QStringLiteral("99-")));
  EXPECT_TRUE(texts[2].contains(QStringLiteral("10 - Pés planos")));
  EXPECT_FALSE(texts[2].contains(QStringLiteral("11 - Pés planos")));
}

TEST_P(AssessmentPrintout, RefusalsSayWhyAndExitNonZero) {
  const QDate day = newest(kBruno);
  EXPECT_EQ(print(kBruno, day, QStringLiteral("cardiac,pilates")), 2);
  EXPECT_TRUE(err_.text().contains(QStringLiteral("Seção desconhecida: pilates")));
  EXPECT_EQ(
      runAssessmentCommand({kBruno, QStringLiteral("31/02/2026"), QStringLiteral("--pdf"), pdf()},
                           out_.stream(), err_.stream()),
      2);
  testPrompter().clear();
  EXPECT_EQ(print(kBruno, day.addDays(1), QString()), 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::NenhumResultadoEncontrado);
  EXPECT_EQ(print(kBruno, day, QStringLiteral("faulkner")), 1);
  EXPECT_TRUE(
      err_.text().contains(QStringLiteral("Seção não disponível nesta avaliação: faulkner")));
  EXPECT_FALSE(QFileInfo::exists(pdf()));
}

TEST_P(AssessmentPrintout, DrawnFiguresAreNoPicturesAndStoredPicturesFollowTheSex) {
  // Outlines, charts and reference tables are drawn; the demonstration has no postural photo.
  pages(kAna, QStringLiteral("perimetry,pollock3,comparison3,postural-fc,vo2,flexibility"));
  EXPECT_EQ(pdfPictureCount(pdf()), 0);
  // A woman without photographs of her own gets the gym's pictures ending in "2".
  run(QStringLiteral("UPDATE Savcvar SET VistaFrente = ?, VistaCosta = ?"),
      {jpeg(Qt::blue), jpeg(Qt::blue)});
  pages(kAna, QStringLiteral("postural-fc"));
  EXPECT_EQ(pdfPictureCount(pdf()), 0);
  run(QStringLiteral("UPDATE Savcvar SET VistaFrente2 = ?"), {jpeg(Qt::red)});
  pages(kAna, QStringLiteral("postural-fc"));
  EXPECT_EQ(pdfPictureCount(pdf()), 1);
  // Her own photograph comes first; one that does not decode leaves the default in its place.
  run(QStringLiteral("UPDATE AVALIACAO SET FOTOCOSTA2 = ?, FOTOFRENTE2 = ? WHERE MATRICULA = ?"),
      {jpeg(Qt::green), QByteArray("not a picture"), kAna});
  pages(kAna, QStringLiteral("postural-fc"));
  EXPECT_EQ(pdfPictureCount(pdf()), 2);
  pages(kBruno, QStringLiteral("postural-fc"));
  EXPECT_EQ(pdfPictureCount(pdf()), 2);  // the men's defaults
}

TEST_P(AssessmentPrintout, TheMemberComesFromTheDatabaseTheAssessmentSettingsName) {
  auto gym = gym_.connect(QStringLiteral("gym-teste"));
  runSql(gym->database(),
         QStringLiteral("INSERT INTO ALUNOS (MATRICULA, NOME, SEXO) VALUES (?, ?, 'M')"),
         {kBruno, QStringLiteral("BRUNO NO CADASTRO DA ACADEMIA")});
  gym->release();
  // The program works beside the gym-management program, whose members it reads.
  auto workout = workout_.connect(QStringLiteral("treino-teste"));
  runSql(workout->database(), QStringLiteral("UPDATE Secvar SET PATH_EXERCICIO = ?"),
         {QStringLiteral("Não")});
  workout->release();
  QStringList texts = pages(kBruno, QStringLiteral("cardiac"));
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("BRUNO CARVALHO LIMA")));
  run(QStringLiteral("UPDATE Savcvar SET PATH_AVALIA = ?"), {QStringLiteral("Não")});
  texts = pages(kBruno, QStringLiteral("cardiac"));
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("BRUNO NO CADASTRO DA ACADEMIA")));
}

TEST_P(AssessmentPrintout, AnUnreadableSectionTableIsNamed) {
  run(QStringLiteral("DROP TABLE MUSCULAR"));
  testPrompter().clear();
  EXPECT_EQ(print(kBruno, newest(kBruno), QStringLiteral("cardiac,perimetry")), 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Muscular"));
  EXPECT_FALSE(QFileInfo::exists(pdf()));
}

INSTANTIATE_TEST_SUITE_P(Providers, AssessmentPrintout, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
