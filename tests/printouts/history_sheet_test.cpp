// The reprint of a dated workout, read back from the PDF the history command writes, and the
// command's listing.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "base/messages.h"
#include "data/sql.h"
#include "prescription/history_command.h"
#include "printouts/history_sheet.h"
#include "support/pdf_text.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

TEST(HistoryRemarks, OnlyTheLettersAToZAreLowered) {
  const struct {
    const char* obs;
    const char* shown;
  } cases[] = {
      {"USAR BANCO", "SUPINO    Obs: usar banco"},
      {"CARGA MÁXIMA 10%", "SUPINO    Obs: carga mÁxima 10%"},
      {"Já Ç ok", "SUPINO    Obs: já Ç ok"},
      {"", "SUPINO"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exerciseWithRemark(QStringLiteral("SUPINO"), QString::fromUtf8(c.obs)),
              QString::fromUtf8(c.shown))
        << c.obs;
}

class HistorySheetTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("ImprimeDiasSerie"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("Imp_Alongamento"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("3"));
    setSetting(QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA TESTE"));
    run("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES ('0000000003', 'CARLOS "
        "PROFESSOR', 'PROF MUSC')");
    run("INSERT INTO Alunos (MATRICULA, NOME) VALUES ('0000000012', 'ANA LIMA')");
    for (const auto& [code, name, tipo] : {std::tuple{"001", "SUPINO RETO", "N"},
                                           {"002", "ROSCA DIRETA", "N"},
                                           {"101", "ESTEIRA", "S"},
                                           {"102", "BICICLETA", "S"}})
      runSql(workout(),
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Aparelho) VALUES "
                            "(?, ?, ?, '007')"),
             {code, name, tipo});
  }

  void run(const char* sql) { runSql(workout(), QString::fromUtf8(sql)); }

  void store(const char* letter, const char* day, const char* code, const char* obs,
             const char* professor = "0000000003") {
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Series, Repeticoes, Obs, Professor, Ordem, Seg) "
                          "VALUES ('0000000012', ?, ?, ?, '2027-02-02', '3', '12', ?, ?, 1, 1)"),
           {QString::fromLatin1(letter), QString::fromLatin1(code), QString::fromLatin1(day),
            QString::fromUtf8(obs), QString::fromLatin1(professor)});
  }

  void aerobic(const char* day, const char* code) {
    runSql(workout(),
           QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao, "
                          "Velocidade, Nivel_dificuldade) VALUES ('0000000012', ?, ?, 20, 6.5, 2)"),
           {QString::fromLatin1(code), QString::fromLatin1(day)});
  }

  // The command's status, and what it wrote to its output and (for --print) to the PDF.
  int command(const QStringList& args, QString* output) {
    std::FILE* out = std::tmpfile();
    const int status = runHistoryCommand(args, out, stderr);
    std::rewind(out);
    QByteArray bytes;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, out)) bytes.append(buffer, n);
    std::fclose(out);
    *output = QString::fromUtf8(bytes);
    return status;
  }

  QString reprint(const char* day, const char* letter, int* status = nullptr) {
    const QString file = dir_.filePath(QStringLiteral("historico.pdf"));
    QFile::remove(file);
    QString output;
    const int result = command({QStringLiteral("12"), QStringLiteral("--print"),
                                QString::fromLatin1(day), QString::fromLatin1(letter),
                                QStringLiteral("--pdf"), file},
                               &output);
    if (status) *status = result;
    return result == 0 ? pdfText(file) : QString();
  }

  QTemporaryDir dir_;
};

TEST_F(HistorySheetTest, AnOldWorkoutAPrintsWithTheAerobicBlockOfItsOwnDay) {
  store("A", "2026-03-02", "001", "USAR BANCO");
  aerobic("2026-03-02", "101");
  store("A", "2026-09-01", "002", "");
  aerobic("2026-09-01", "102");
  const QString text = reprint("02/03/2026", "A");
  EXPECT_EQ(text.count(QStringLiteral("Aluno(a) :")), 1) << text.toStdString();
  for (const char* expected : {"ACADEMIA TESTE", "0000000012 - ANA LIMA", "CARLOS PROFESSOR",
                               "02 / março / 2026", "ATIVIDADE AERÓBICA", "MUSCULAÇÃO",
                               "Treino : A", "Troca Série : 02/02/2027", "6,5"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("SUPINO RETO +Obs: usar banco"))));
  EXPECT_LT(text.indexOf(QStringLiteral("ESTEIRA")), text.indexOf(QStringLiteral("SUPINO RETO")));
  EXPECT_FALSE(text.contains(QStringLiteral("BICICLETA")));
  EXPECT_FALSE(text.contains(QStringLiteral("ROSCA DIRETA")));
}

TEST_F(HistorySheetTest, TheSettingsAndAMissingInstructorShapeTheReprint) {
  store("C", "2026-03-02", "002", "", "0000000099");
  run("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, Alogamento_01) VALUES "
      "('0000000012', 'C', '2026-03-02', 'SEGURAR 20 S', 1)");
  QString text = reprint("02/03/2026", "C");
  EXPECT_TRUE(text.contains(QStringLiteral("Excluído"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("DOMINGO")));
  EXPECT_TRUE(text.contains(QStringLiteral("ALONGAMENTO")));
  EXPECT_TRUE(text.contains(QStringLiteral("SEGURAR 20 S")));
  EXPECT_FALSE(text.contains(QStringLiteral("AERÓBICA")));
  setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("0"));
  setSetting(QStringLiteral("ImprimeDiasSerie"), QStringLiteral("Não"));
  setSetting(QStringLiteral("Imp_Alongamento"), QStringLiteral("Não"));
  text = reprint("02/03/2026", "C");
  EXPECT_FALSE(text.contains(QStringLiteral("02/02/2027")));
  EXPECT_FALSE(text.contains(QStringLiteral("DOMINGO")));
  EXPECT_TRUE(text.contains(QStringLiteral("SEGURAR 20 S")));
}

TEST_F(HistorySheetTest, TheCommandListsTheDaysAndRefusesADayWithoutTheWorkout) {
  store("B", "2026-03-02", "001", "");
  store("B", "2026-09-01", "001", "");
  store("A", "2026-03-02", "002", "");
  QString output;
  EXPECT_EQ(command({QStringLiteral("12")}, &output), 0);
  EXPECT_EQ(output, QStringLiteral("01/09/2026 B\n02/03/2026 A\n02/03/2026 B\n"));

  testPrompter().clear();
  int status = 0;
  reprint("01/09/2026", "A", &status);
  EXPECT_EQ(status, 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::DadoIncorreto);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Nenhum TREINO 'A' Cadastrado"));

  testPrompter().clear();
  EXPECT_EQ(command({QStringLiteral("99")}, &output), 1);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::NenhumResultadoEncontrado});
  EXPECT_EQ(command({QStringLiteral("12"), QStringLiteral("--print"), QStringLiteral("31/02/2026"),
                     QStringLiteral("A"), QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
                    &output),
            2);
}

}  // namespace
