// The series sheet: where the stretch pictures go, what the printed page says (read back from
// the PDF), and the pictures seen on the rendered page.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QTemporaryDir>

#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "printouts/series_sheet.h"
#include "printouts/sheet_command.h"
#include "support/pdf_text.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");

QList<int> numbers(std::initializer_list<int> list) {
  return QList<int>(list);
}

TEST(StretchPictures, PackLeftToRightAndStartTheSecondRowFromFourteenOn) {
  const struct {
    QList<int> printed;
    QList<QPointF> places;
    double remark;
  } cases[] = {
      {{}, {}, 5},
      {numbers({1, 2, 14}), {{13, 11}, {60, 11}, {107, 11}}, 50},
      {numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 23}),
       {{13, 11},
        {60, 11},
        {107, 11},
        {154, 11},
        {201, 11},
        {248, 11},
        {295, 11},
        {342, 11},
        {389, 11},
        {436, 11},
        {483, 11},
        {530, 11},
        {577, 11},
        {13, 52},
        {60, 52}},
       100},
      {numbers({14, 15, 16, 17, 18, 19, 20, 21, 22, 23}),
       {{13, 11},
        {60, 11},
        {107, 11},
        {154, 11},
        {201, 11},
        {248, 11},
        {295, 11},
        {342, 11},
        {389, 11},
        {436, 11}},
       50},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < c.places.size(); ++i)
      EXPECT_EQ(stretchPictureAt(i, c.printed), c.places[i]) << c.printed.size() << " #" << i;
    EXPECT_EQ(stretchRemarkTop(c.printed), c.remark) << c.printed.size();
  }
}

class SeriesSheetTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Não"));
    setSetting(QStringLiteral("ImprimeDiasSerie"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("Imp_Alongamento"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("3"));
    setSetting(QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA TESTE"));
    run("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES ('0000000003', 'CARLOS "
        "PROFESSOR', 'PROF MUSC')");
    run("INSERT INTO Alunos (MATRICULA, NOME, DATA_NASCIMENTO) VALUES ('0000000012', 'ANA "
        "LIMA', '1990-05-17')");
    for (const auto& [code, name, tipo] : {std::tuple{"001", "SUPINO RETO", "N"},
                                           {"002", "ROSCA DIRETA", "N"},
                                           {"101", "ESTEIRA", "S"}})
      runSql(workout(),
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Aparelho) VALUES "
                            "(?, ?, ?, '007')"),
             {code, name, tipo});
  }

  void run(const char* sql) { runSql(workout(), QString::fromUtf8(sql)); }

  void store(const char* letter, const char* code, int ordem, const char* obs,
             const char* professor = "0000000003") {
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Series, Repeticoes, Peso, Intervalo, Obs, "
                          "Professor, Ordem, Seg, Qua) VALUES (?, ?, ?, '2026-11-02', "
                          "'2027-02-02', '3', '12', '20 KG', 60, ?, ?, ?, 1, 1)"),
           {kAna, letter, code, obs, professor, ordem});
  }

  // Writes the sheet through the command and reads it back; the status in `status`.
  QString sheetText(const char* letter, int* status = nullptr) {
    const QString file = dir_.filePath(QStringLiteral("ficha.pdf"));
    QFile::remove(file);
    const int result = runSheetCommand(
        {QStringLiteral("12"), QString::fromLatin1(letter), QStringLiteral("--pdf"), file}, stdout,
        stderr);
    if (status) *status = result;
    return result == 0 ? pdfText(file) : QString();
  }

  QTemporaryDir dir_;
};

TEST_F(SeriesSheetTest, WorkoutAWithItsAerobicBlockPrintsTheMemberHeaderOnce) {
  store("A", "001", 1, "");
  store("A", "002", 2, "LENTO");
  run("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao, Velocidade, "
      "Nivel_dificuldade, Seg) VALUES ('0000000012', '101', '2026-11-02', 20, 6.5, 2, 1)");
  const QString text = sheetText("A");
  EXPECT_EQ(text.count(QStringLiteral("Aluno(a) :")), 1) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("0000000012 - ANA LIMA")));
  EXPECT_TRUE(text.contains(QStringLiteral("ACADEMIA TESTE")));
  EXPECT_TRUE(text.contains(QStringLiteral("CARLOS PROFESSOR")));
  EXPECT_TRUE(text.contains(QStringLiteral("17/05/1990")));
  EXPECT_TRUE(text.contains(QStringLiteral("02 / novembro / 2026")));
  EXPECT_TRUE(text.contains(QStringLiteral("ATIVIDADE AERÓBICA")));
  EXPECT_TRUE(text.contains(QStringLiteral("6,5")));
  EXPECT_TRUE(text.contains(QStringLiteral("Troca Série : 02/02/2027")));
  EXPECT_TRUE(text.contains(QStringLiteral("ROSCA DIRETA LENTO")));
  // The aerobic block comes before the strength table.
  EXPECT_LT(text.indexOf(QStringLiteral("ESTEIRA")), text.indexOf(QStringLiteral("SUPINO RETO")));
}

TEST_F(SeriesSheetTest, RemarksFollowTheLetterAndAMissingLetterIsRefused) {
  store("B", "001", 1, "CARGA LEVE");
  store("C", "002", 1, "SEM PAUSA");
  EXPECT_TRUE(sheetText("B").contains(QStringLiteral("SUPINO RETO CARGA LEVE")));
  EXPECT_TRUE(
      sheetText("C").contains(QRegularExpression(QStringLiteral("ROSCA DIRETA +Obs: SEM PAUSA"))));
  testPrompter().clear();
  int status = 0;
  sheetText("D", &status);
  EXPECT_EQ(status, 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::DadoIncorreto);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Nenhum TREINO 'D' Cadastrado"));
  // Without a reassessment period the change date is left for the pen.
  setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("0"));
  EXPECT_FALSE(sheetText("B").contains(QStringLiteral("02/02/2027")));
}

TEST_F(SeriesSheetTest, AnInstructorNoLongerOnTheStaffPrintsAsExcluido) {
  store("A", "001", 1, "", "0000000099");
  EXPECT_TRUE(sheetText("A").contains(QStringLiteral("Excluído")));
}

TEST_F(SeriesSheetTest, TheAssessmentGivesObjectivesWeightFatAndTheNextReassessment) {
  setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Sim"));
  store("A", "001", 1, "");
  Connection assessment(DataSource::Tamsel, QStringLiteral("avaliacao-teste"));
  ASSERT_TRUE(assessment.open());
  const QSqlDatabase db = assessment.database();
  runSql(db, QStringLiteral("DELETE FROM Savcvar"));
  runSql(db, QStringLiteral("INSERT INTO Savcvar (TEMPO_REAVALIACAO) VALUES (4)"));
  runSql(db,
         QStringLiteral("INSERT INTO Anamnese (MATRICULA, DATAEXAME, A_OBJPERDA, "
                        "A_OBJESTETICO, A_OBJGANHO) VALUES (?, '2026-01-10', 1, 1, 0)"),
         {kAna});
  runSql(db,
         QStringLiteral("INSERT INTO CORPORAL (MATRICULA, DATAEXAME, G_TIPO, G_PESO, "
                        "G_3DOBRASGORDURA_A, G_7DOBRASGORDURA_A) VALUES (?, '2026-03-15', "
                        "'7', 72.5, 30, 21.5)"),
         {kAna});
  assessment.release();
  const QString text = sheetText("A");
  EXPECT_TRUE(text.contains(QStringLiteral("Perda de Gordura - Estético -"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("72,5")));
  EXPECT_TRUE(text.contains(QStringLiteral("21,5")));
  EXPECT_TRUE(text.contains(QStringLiteral("15/07/2026")));  // the exam plus four months
}

TEST_F(SeriesSheetTest, TheSettingsLeaveOutTheDayNamesAndTheStretchPictures) {
  store("B", "001", 1, "");
  run("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, Alogamento_01) VALUES "
      "('0000000012', 'B', '2026-11-02', 'SEGURAR 20 S', 1)");
  EXPECT_TRUE(sheetText("B").contains(QStringLiteral("DOMINGO")));
  setSetting(QStringLiteral("ImprimeDiasSerie"), QStringLiteral("Não"));
  setSetting(QStringLiteral("Imp_Alongamento"), QStringLiteral("Não"));
  const QString text = sheetText("B");
  EXPECT_FALSE(text.contains(QStringLiteral("DOMINGO")));
  EXPECT_TRUE(text.contains(QStringLiteral("SEGURAR 20 S")));
  const Result<SeriesSheet> sheet = prepareSeriesSheet(kAna, QStringLiteral("B"), true);
  ASSERT_TRUE(sheet);
  const Report report = seriesSheetReport(*sheet);
  EXPECT_EQ(report.orientation, PageOrientation::Landscape);
  EXPECT_TRUE(report.summary.pictures.isEmpty());
  ASSERT_EQ(report.summary.texts.size(), 1);
  EXPECT_DOUBLE_EQ(report.summary.texts[0].box.top(), 5 * kSheetUnitMm);
}

// The page drawn as a picture: ink where each printed stretch's picture goes, none where an
// unprinted one would be.
TEST_F(SeriesSheetTest, TheStretchPicturesStandWhereTheirPlacesSay) {
  store("B", "001", 1, "");
  run("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, Alogamento_01, Alogamento_02, "
      "Alogamento_14) VALUES ('0000000012', 'B', '2026-11-02', 'SEGURAR 20 S', 1, 1, 1)");
  const Result<SeriesSheet> sheet = prepareSeriesSheet(kAna, QStringLiteral("B"), false);
  ASSERT_TRUE(sheet);
  const Report report = seriesSheetReport(*sheet);
  const ReportLayout layout = layOutReport(report);
  ASSERT_EQ(layout.pages.size(), 1);
  double summaryTop = -1;
  for (const PlacedBand& band : layout.pages[0].bands)
    if (band.kind == BandKind::Summary) summaryTop = band.top;
  ASSERT_GE(summaryTop, 0);

  constexpr double kPixelsPerMm = 8;
  const QSizeF page = report.pageSize();
  QImage image((page * kPixelsPerMm).toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  drawReportPage(painter, report, layout, 0, kPixelsPerMm);
  painter.end();

  const auto inkIn = [&](double leftUnits, double topUnits) {
    const QRectF box(report.margins.left() + leftUnits * kSheetUnitMm,
                     summaryTop + topUnits * kSheetUnitMm, 45 * kSheetUnitMm, 38 * kSheetUnitMm);
    const QRect pixels = QRectF(box.topLeft() * kPixelsPerMm, box.size() * kPixelsPerMm)
                             .toRect()
                             .adjusted(6, 6, -6, -6);
    int dark = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
      for (int x = pixels.left(); x <= pixels.right(); ++x)
        if (qGray(image.pixel(x, y)) < 128) ++dark;
    return dark;
  };
  for (const double left : {13.0, 60.0, 107.0}) EXPECT_GT(inkIn(left, 11), 200) << left;
  EXPECT_EQ(inkIn(154, 11), 0);
  EXPECT_EQ(inkIn(13, 52), 0);
}

}  // namespace
