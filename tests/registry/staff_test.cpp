#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/window_table.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "registry/staff_store.h"
#include "registry/staff_window.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

PersonForm validStaff() {
  return {{"MATRICULA", "5"},
          {"NOME", "LUIZA"},
          {"SEXO", "F"},
          {"ENDERECO", "RUA B"},
          {"BAIRRO", "CENTRO"},
          {"CIDADE", "RIO DE JANEIRO"},
          {"ESTADO", "RJ"},
          {"CEP", "20000-000"},
          {"DATA_NASCIMENTO", "2/3/1990"},
          {"DATA_ADMISSAO", "01/02/2020"}};
}

TEST(StaffChecks, ConfirmRefusesInOrderWithItsOwnDetails) {
  const struct {
    std::function<void(PersonForm&)> change;
    const char* field;
    const char* detail;
  } cases[] = {
      {[](PersonForm& f) { f["NOME"].clear(); }, "DBEDTNOME", "Nome!"},
      {[](PersonForm& f) {
         f["ESTADO"].clear();
         f["SEXO"].clear();
       },
       "DBCBESTADO", "Estado!"},
      {[](PersonForm& f) { f["SEXO"].clear(); }, "DBEDTSEXO", "Sexo"},
      {[](PersonForm& f) { f["CEP"] = "2000-000"; }, "DBEDTCEP", "CEP!"},
      {[](PersonForm& f) { f["DATA_NASCIMENTO"] = "  /  /    "; }, "DBEDTDATA_NASCIMENTO",
       "Data de Nascimento !"},
      {[](PersonForm& f) { f["DATA_ADMISSAO"].clear(); }, "DBEDTADMISSAO", "Data de Admissão !"},
      {[](PersonForm& f) {
         f["DATA_NASCIMENTO"] = "01/01/1899";
         f["DATA_ADMISSAO"] = "01/01/1800";
       },
       "DBEDTDATA_NASCIMENTO", "Data de Nascimento - Ano !"},
      {[](PersonForm& f) { f["DATA_ADMISSAO"] = "01/01/1899"; }, "DBEDTADMISSAO",
       "Data de Admissão - Ano !"},
      {[](PersonForm& f) { f["DATA_DEMISSAO"] = "01/01/1899"; }, "DBEDTDEMISSAO",
       "Data de Demissão - Ano !"},
      // A day the month does not have: the year is not to blame.
      {[](PersonForm& f) { f["DATA_NASCIMENTO"] = "31/02/1990"; }, "DBEDTDATA_NASCIMENTO",
       "Data de Nascimento"},
      {[](PersonForm& f) { f["DATA_ADMISSAO"] = "31/ 4/2020"; }, "DBEDTADMISSAO",
       "Data de Admissão"},
  };
  for (const auto& c : cases) {
    PersonForm form = validStaff();
    c.change(form);
    const std::optional<FieldRefusal> refusal = checkStaffForConfirm(form);
    ASSERT_TRUE(refusal) << c.detail;
    EXPECT_EQ(refusal->field, QString::fromLatin1(c.field));
    EXPECT_EQ(refusal->error.detail, QString::fromUtf8(c.detail));
  }
  PersonForm ok = validStaff();
  ok["DATA_DEMISSAO"] = "  /  /    ";  // no dismissal: stored as no date
  ASSERT_FALSE(checkStaffForConfirm(ok));
  EXPECT_EQ(ok["MATRICULA"], QStringLiteral("0000000005"));
  EXPECT_EQ(ok["DATA_NASCIMENTO"], QStringLiteral("02/03/1990"));
}

TEST(StaffChecks, SchoolingCodesBothWays) {
  EXPECT_EQ(schoolingText(QStringLiteral("04")), QStringLiteral("2º grau completo"));
  EXPECT_EQ(schoolingCode(QStringLiteral("3º grau completo")), QStringLiteral("06"));
  EXPECT_EQ(schoolingText(QStringLiteral("07")), std::nullopt);
  EXPECT_EQ(schoolingCode(QStringLiteral("Pós-graduação")), std::nullopt);
  for (const auto& [code, text] : schoolingLevels()) EXPECT_EQ(schoolingCode(text), code);
}

class StaffWindowTest : public FrameFixture {
 protected:
  void SetUp() override { FrameFixture::SetUp(); }
  void addStaff(const char* matricula, const char* name, const char* schooling) {
    runSql(
        workout(),
        QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, ESCOLARIDADE) VALUES (?, ?, ?)"),
        {QString::fromLatin1(matricula), QString::fromLatin1(name),
         QString::fromLatin1(schooling)});
  }
  TFRMREFUNCIONARIO* open() { return openEntry<TFRMREFUNCIONARIO>("MNFUNCIONARIO"); }
};

TEST_F(StaffWindowTest, NumberingDefaultsAndSchooling) {
  setSetting(QStringLiteral("CODIGOSEQ"), QStringLiteral("Não"));
  addStaff("0000000007", "ANA", "04");
  addStaff("0000000912", "BETO", "09");
  TFRMREFUNCIONARIO* w = open();
  ASSERT_TRUE(w);
  auto* schooling = w->findChild<QComboBox*>(QStringLiteral("CBESCOLARIDADE"));
  EXPECT_EQ(schooling->currentText(), QStringLiteral("2º grau completo"));

  w->findChild<QPushButton*>(QStringLiteral("SBINCLUIR"))->click();
  auto text = [w](const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  };
  // Numbered even though automatic numbering is off, since the table has rows.
  EXPECT_EQ(text("DBEDTMATRICULA"), QStringLiteral("0000000913"));
  EXPECT_EQ(text("DBEDTCIDADE"), QStringLiteral("RIO DE JANEIRO"));
  EXPECT_EQ(w->findChild<QComboBox*>(QStringLiteral("DBCBESTADO"))->currentText(),
            QStringLiteral("RJ"));
  for (const auto& [name, value] :
       {std::pair{"DBEDTNOME", "CARLA"}, std::pair{"DBEDTSEXO", "F"},
        std::pair{"DBEDTENDERECO", "RUA C"}, std::pair{"DBEDTBAIRRO", "FLAMENGO"},
        std::pair{"DBEDTCEP", "22210-030"}, std::pair{"DBEDTDATA_NASCIMENTO", "01/01/1995"},
        std::pair{"DBEDTADMISSAO", "02/01/2023"}}) {
    auto* line = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    line->setFocus();
    QTest::keyClicks(line, QString::fromUtf8(value));
  }
  schooling->setCurrentText(QStringLiteral("3º grau completo"));
  w->findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->click();
  EXPECT_TRUE(testPrompter().messages().isEmpty())
      << testPrompter().texts().join(QLatin1Char('|')).toStdString();
  QSqlQuery row =
      runSql(workout(),
             QStringLiteral("SELECT ESCOLARIDADE, DATA_DEMISSAO, CIDADE FROM Funcionarios "
                            "WHERE MATRICULA = ?"),
             {QStringLiteral("0000000913")});
  ASSERT_TRUE(row.next());
  EXPECT_EQ(row.value(0).toString(), QStringLiteral("06"));
  EXPECT_TRUE(row.value(1).isNull());
  EXPECT_EQ(row.value(2).toString(), QStringLiteral("RIO DE JANEIRO"));
}

TEST_F(StaffWindowTest, SearchByNumberPadsUnlessItStartsWithNine) {
  addStaff("0000000012", "ANA", "01");
  addStaff("912", "BETO", "01");
  TFRMREFUNCIONARIO* w = open();
  ASSERT_TRUE(w);
  w->findChild<QPushButton*>(QStringLiteral("SBPROCURA"))->click();
  w->findChild<QPushButton*>(QStringLiteral("PNLMATRICULA"))->click();
  auto* search = w->findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
  QTest::keyClicks(search, QStringLiteral("912"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("912"));
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTNOME"))->text(), QStringLiteral("BETO"));
  w->findChild<QPushButton*>(QStringLiteral("SBPROCURA"))->click();
  w->findChild<QPushButton*>(QStringLiteral("PNLMATRICULA"))->click();
  QTest::keyClicks(search, QStringLiteral("12"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("0000000012"));
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTNOME"))->text(), QStringLiteral("ANA"));
}

// Enter on an empty search text says what the staff window says, in both orders.
TEST_F(StaffWindowTest, EnterOnAnEmptySearch) {
  addStaff("0000000012", "ANA", "01");
  TFRMREFUNCIONARIO* w = open();
  ASSERT_TRUE(w);
  auto* search = w->findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
  for (const char* tab : {"PNLMATRICULA", "PNLNOME"}) {
    w->findChild<QPushButton*>(QStringLiteral("SBPROCURA"))->click();
    w->findChild<QPushButton*>(QString::fromLatin1(tab))->click();
    QTest::keyClick(search, Qt::Key_Return);
  }
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::MatriculaNaoCadastrada);
  EXPECT_EQ(testPrompter().messages()[1].text, Msg::DadoIncorreto);
  EXPECT_EQ(testPrompter().messages()[1].detail, QStringLiteral("Nome!"));
}

}  // namespace
