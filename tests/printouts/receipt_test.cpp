// The 40-column receipt: whole receipts as the printer's port receives them, compared with
// receipts written out by hand; the printer route's cells; and the command that prints one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "base/messages.h"
#include "data/sql.h"
#include "printing/port_writer.h"
#include "printouts/receipt.h"
#include "printouts/receipt_command.h"
#include "printouts/receipt_output.h"
#include "printouts/receipt_window.h"
#include "support/pdf_text.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

QByteArray sp(int n) {
  return QByteArray(n, ' ');
}

const QByteArray kRule(40, '-');

// The lines of a receipt as the port receives them, each ended by CR LF.
QByteArray lines(std::initializer_list<QByteArray> list) {
  QByteArray bytes;
  for (const QByteArray& line : list) bytes += line + "\r\n";
  return bytes;
}

// The bytes the port receives for this receipt.
QByteArray portBytes(const ReceiptData& data, const ReceiptLayout& layout) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("porta"));
  EXPECT_TRUE(printReceipt(data, layout, ReceiptRouteSettings{}, file));
  QFile in(file);
  EXPECT_TRUE(in.open(QIODevice::ReadOnly));
  return in.readAll();
}

ReceiptStrengthRow strength(const char* codigo, const char* exercicio, const char* abreviada,
                            const char* repeticoes, std::optional<QString> obs = std::nullopt) {
  ReceiptStrengthRow row;
  row.codigo = QString::fromUtf8(codigo);
  row.exercicio = QString::fromUtf8(exercicio);
  row.abreviada = QString::fromUtf8(abreviada);
  row.series = QStringLiteral("3");
  row.repeticoes = QString::fromUtf8(repeticoes);
  row.peso = QStringLiteral("20");
  row.regulagem = QString();
  row.intervalo = 60;
  row.obs = std::move(obs);
  return row;
}

ReceiptData member(const char* letter) {
  ReceiptData data;
  data.matricula = QStringLiteral("0000000123");
  data.nome = QStringLiteral("JOÃO DA SILVA PEREIRA DOS SANTOS MOURA");
  data.letter = QString::fromLatin1(letter);
  data.strengthDays = {false, true, false, true, false, true, false};
  return data;
}

TEST(Receipt, WorkoutAInFullWithAerobicBlockRemarksAndStretching) {
  ReceiptData data = member("A");
  data.aerobicDays = {false, true, false, true, false, false, false};
  data.aerobic << ReceiptAerobicRow{QStringLiteral("101"),
                                    QStringLiteral("ESTEIRA ELÉTRICA"),
                                    QStringLiteral("ESTEIRA"),
                                    20,
                                    6,
                                    3};
  data.strength << strength("001", "SUPINO RETO", "SUP RETO", "12")
                << strength("002", "ROSCA", "ROSCA", "10", QString())
                << strength("003", "REMADA", "REMADA", "8", QStringLiteral("CADÊNCIA LENTA"));
  data.hasStretching = true;
  data.stretchingObs = QString(40, QLatin1Char('a')) + QString(40, QLatin1Char('b'));
  const ReceiptLayout layout{QStringLiteral("Não"), false, 2};

  const QByteArray strengthNumbers =
      sp(7) + "     3" + sp(2) + "       " + "12" + sp(1) + "   20" + "    " + "   60";
  const QByteArray expected = lines({
      "",
      kRule,
      "0000000123 - JOAO DA SILVA PEREIRA DOS S",
      kRule,
      sp(12) + "ATIVIDADE AEROBICA",
      "Dias: Seg Qua ",
      "",
      "Aparelho Duracao(min) Velocidade   Nivel",
      kRule,
      "ESTEIRA ELETRICA",
      sp(16) + "   20" + sp(6) + "    6" + sp(3) + "    3",
      "",
      sp(16) + "MUSCULACAO",
      "Treino: A Dias: Seg Qua Sex ",
      "",
      "Aparelho Serie Repeticoes Peso Reg Inter",
      kRule,
      "SUPINO RETO",
      strengthNumbers,
      "ROSCA",
      sp(7) + "     3" + sp(2) + "       " + "10" + sp(1) + "   20" + "    " + "   60",
      "Obs.:",
      "REMADA",
      sp(7) + "     3" + sp(2) + "        " + "8" + sp(1) + "   20" + "    " + "   60",
      "Obs.:CADENCIA LENTA",
      "",
      sp(15) + "ALONGAMENTO",
      QByteArray(40, 'a'),
      QByteArray(40, 'b'),
      "",
      kRule,
      "",
      "",
  });
  EXPECT_EQ(portBytes(data, layout), expected);
}

TEST(Receipt, ReducedByEquipmentCodeForWorkoutBAndTheFullLayoutOfC) {
  // Workout B: no aerobic block and no stretching even when the member has them.
  ReceiptData b = member("B");
  b.aerobic << ReceiptAerobicRow{
      QStringLiteral("101"), QStringLiteral("ESTEIRA"), QStringLiteral("ESTEIRA"), 20, 6, 3};
  b.hasStretching = true;
  b.stretchingObs = QStringLiteral("ALONGAR");
  b.strengthDays = {};
  b.strength << strength("001", "SUPINO RETO", "SUP RETO", "12");
  b.strength[0].regulagem = QStringLiteral("2");
  EXPECT_EQ(portBytes(b, ReceiptLayout{QStringLiteral("Sim"), true, 0}),
            lines({"", kRule, "0000000123 - JOAO DA SILVA PEREIRA DOS S", kRule,
                   sp(16) + "MUSCULACAO", "Aparelho         Serie  Repet.  Peso Reg", kRule,
                   "SUP RETO       " + QByteArray("     3") + "       12" + "   20" + "   2", "",
                   kRule}));

  // Workout C in full by code: the rest in six places, and no blank line after the block.
  ReceiptData c = member("C");
  c.strength << strength("007", "LEG PRESS", "LEG", "15");
  EXPECT_EQ(
      portBytes(c, ReceiptLayout{QString(), true, -1}),
      lines({"", kRule, "0000000123 - JOAO DA SILVA PEREIRA DOS S", kRule, sp(16) + "MUSCULACAO",
             "Treino: C Dias: Seg Qua Sex ", "", "Aparelho Serie Repeticoes Peso Reg Inter", kRule,
             sp(3) + "007",
             sp(7) + "     3" + sp(2) + "       15" + sp(1) + "   20" + "    " + "    60", kRule}));
}

TEST(Receipt, ReducedWorkoutAByCodeCutsRepetitionsToTheirLastEight) {
  ReceiptData data = member("A");
  data.strengthDays = {};
  data.aerobic << ReceiptAerobicRow{
      QStringLiteral("101"), QStringLiteral("ESTEIRA"), QStringLiteral(" ESTEIRA "), 20, 6, 3};
  data.strength << strength("001", "SUPINO RETO", "SUPINO RETO LONGO", "10 A 12");
  EXPECT_EQ(portBytes(data, ReceiptLayout{QStringLiteral("Sim"), true, 0}),
            lines({"", kRule, "0000000123 - JOAO DA SILVA PEREIRA DOS S", kRule,
                   sp(12) + "ATIVIDADE AEROBICA", "Aparelho Duracao(min) Velocidade   Nivel", kRule,
                   "ESTEIRA" + sp(9) + "   20" + sp(6) + "    6" + sp(3) + "    3", "",
                   sp(16) + "MUSCULACAO", "Aparelho         Serie  Repet.  Peso Reg", kRule,
                   "SUPINO RETO LON" + QByteArray("     3") + "  10 A 12" + "   20" + "    ", "",
                   kRule}));
}

TEST(Receipt, ThePrinterRouteDrawsEachPieceInItsCharacterCells) {
  ReceiptData data = member("B");
  data.strength << strength("001", "SUPINO RETO", "SUP", "12");
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("recibo.pdf"));
  {
    QPdfWriter pdf(file);
    ASSERT_TRUE(drawReceipt(
        receiptItems(data, ReceiptLayout{QStringLiteral("Não"), false, 0}, ReceiptRoute::Printer),
        pdf));
  }
  const QStringList read = pdfText(file).split(QLatin1Char('\n'));
  // Whole lines: the heading, then the row of numbers in their cells below it.
  const int heading = int(read.indexOf(QRegularExpression(QStringLiteral(" *Aparelho Serie.*"))));
  ASSERT_GE(heading, 0) << pdfText(file).toStdString();
  const int row = int(read.indexOf(QRegularExpression(QStringLiteral(" *3 +12 +20 +60 *"))));
  ASSERT_GT(row, heading);
  EXPECT_EQ(pdfText(file).count(QStringLiteral("SUPINO RETO")), 1);
}

TEST(Receipt, ThePrinterRouteUsesItsOwnColumnsRuleAndBlankLines) {
  ReceiptData data = member("A");
  data.strength << strength("001", "SUPINO RETO", "SUP RETO", "12", QStringLiteral("DEVAGAR"));
  const QList<ReceiptItem> items =
      receiptItems(data, ReceiptLayout{QStringLiteral("Não"), false, 1}, ReceiptRoute::Printer);
  const QList<ReceiptItem> expected = {
      {QStringLiteral(" "), 1, true, {}},
      {QString(47, QLatin1Char('-')), 1, true, {}},
      {QStringLiteral("0000000123 - JOAO DA SILVA PEREIRA DOS S"), 1, true, {}},
      {QString(47, QLatin1Char('-')), 1, true, {}},
      {QStringLiteral("MUSCULACAO"), 16, true, {}},
      {QStringLiteral("Treino: A Dias: Seg Qua Sex "), 1, true, {}},
      {QStringLiteral(" "), 1, true, {}},
      {QStringLiteral("Aparelho Serie Repeticoes Peso Reg Inter"), 1, true, {}},
      {QString(47, QLatin1Char('-')), 1, true, {}},
      {QStringLiteral("SUPINO RETO"), 1, true, {}},
      {QStringLiteral("     3"), 8, false, {}},
      {QStringLiteral("       12"), 16, false, {}},
      {QStringLiteral("   20"), 26, false, {}},
      {QStringLiteral("    "), 31, false, {}},
      {QStringLiteral("    60"), 35, true, {}},
      {QStringLiteral("Obs.: DEVAGAR"), 1, true, {}},
      {QStringLiteral(" "), 1, true, {}},
      {QString(47, QLatin1Char('-')), 1, true, {}},
      {QStringLiteral(" "), 1, true, {}},
  };
  EXPECT_EQ(items, expected);
}

TEST(Receipt, APortThatCannotBeOpenedPrintsNothingAndSaysSo) {
  testPrompter().clear();
  ReceiptData data = member("A");
  data.strength << strength("001", "SUPINO RETO", "SUP RETO", "12");
  EXPECT_FALSE(printReceipt(data, ReceiptLayout{}, ReceiptRouteSettings{},
                            QStringLiteral("/nao/existe/porta"))
                   .okOrTell());
  EXPECT_EQ(testPrompter().texts(), QStringList{kImpressoraNaoPronta});
  // A device that opens but takes nothing (a full disk here): not printed, and said so.
  testPrompter().clear();
  EXPECT_FALSE(
      printReceipt(data, ReceiptLayout{}, ReceiptRouteSettings{}, QStringLiteral("/dev/full"))
          .okOrTell());
  EXPECT_EQ(testPrompter().texts(), QStringList{kImpressoraNaoPronta});
  EXPECT_FALSE(testPrompter().messages().value(0).detail.isEmpty());
  // The printer route without a printer name refuses before drawing anything.
  testPrompter().clear();
  EXPECT_FALSE(
      printReceipt(data, ReceiptLayout{}, ReceiptRouteSettings{QStringLiteral("USBX"), {}, {}})
          .okOrTell());
  EXPECT_EQ(testPrompter().texts(),
            QStringList{QStringLiteral("A impressora não esta pronta !\r Deseja continuar ?")});
  EXPECT_TRUE(isParallelPort(QStringLiteral("/dev/lp0")));
  EXPECT_FALSE(isParallelPort(QStringLiteral("/dev/usb/lp0")));
}

class ReceiptCommand : public ShellFixture {};

TEST_F(ReceiptCommand, PrintsTheStoredWorkoutToTheDeviceAndRefusesAMissingOne) {
  runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
         {QStringLiteral("0000000123"), QStringLiteral("ANA LIMA")});
  runSql(workout(), QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES "
                                   "('001', 'SUPINO RETO', 'N')"));
  runSql(workout(), QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, "
                                   "Data, Series, Repeticoes, Peso, Intervalo, Ordem) VALUES "
                                   "('0000000123', 'B', '001', '2026-11-02', '3', '12', '20', "
                                   "60, 1)"));
  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
  setSetting(QStringLiteral("ESPACO"), 0);
  QTemporaryDir dir;
  const QString device = dir.filePath(QStringLiteral("impressora"));
  EXPECT_EQ(runReceiptCommand(
                {QStringLiteral("123"), QStringLiteral("2"), QStringLiteral("--device"), device}),
            0);
  QFile printed(device);
  ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
  const QByteArray bytes = printed.readAll();
  EXPECT_TRUE(bytes.startsWith("\r\n" + kRule + "\r\n0000000123 - ANA LIMA\r\n"));
  EXPECT_TRUE(bytes.endsWith("\r\n" + kRule + "\r\n"));

  testPrompter().clear();
  EXPECT_EQ(runReceiptCommand(
                {QStringLiteral("123"), QStringLiteral("3"), QStringLiteral("--device"), device}),
            1);
  EXPECT_EQ(testPrompter().messages().value(0).detail,
            QStringLiteral("Nenhum TREINO 'C' Cadastrado"));
  testPrompter().clear();
  EXPECT_EQ(runReceiptCommand({QStringLiteral("999"), QStringLiteral("1")}), 1);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::MatriculaIncorreta});
  EXPECT_EQ(runReceiptCommand({QStringLiteral("123"), QStringLiteral("7")}), 2);
  EXPECT_EQ(runReceiptCommand({QStringLiteral("123"), QStringLiteral("2"),
                               QStringLiteral("--device"), QStringLiteral("/dev/full")}),
            1);
}

}  // namespace

namespace {

TEST_F(ReceiptCommand, TheWindowTakesANumberThenAWorkoutAndAlwaysComesBackToTheNumber) {
  runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
         {QStringLiteral("0000000123"), QStringLiteral("ANA LIMA")});
  runSql(workout(), QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES "
                                   "('001', 'SUPINO RETO', 'N')"));
  runSql(workout(), QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, "
                                   "Data, Series, Ordem) VALUES ('0000000123', 'A', '001', "
                                   "'2026-11-02', '3', 1)"));
  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
  TFRMIMPSERIE40COLUNAS window(session_);
  window.show();
  QApplication::processEvents();
  auto* number = window.findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
  auto* letter = window.findChild<QLineEdit*>(QStringLiteral("EDTTREINO"));
  ASSERT_TRUE(number && letter);
  EXPECT_FALSE(letter->isEnabled());
  const QRect exitPlace = window.findChild<QWidget*>(QStringLiteral("SBSAIR"))->geometry();
  const int photoFrameHeight =
      window.findChild<QWidget*>(QStringLiteral("Image1"))->parentWidget()->height();

  testPrompter().clear();
  QTest::keyClicks(number, QStringLiteral("9x9"));
  EXPECT_EQ(number->text(), QStringLiteral("99"));
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::MatriculaIncorreta});
  EXPECT_TRUE(number->text().isEmpty());

  QTest::keyClicks(number, QStringLiteral("123"));
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(number->text(), QStringLiteral("0000000123"));
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("LBLNOME"))->text(),
            QStringLiteral("ANA LIMA"));
  ASSERT_TRUE(letter->isEnabled());
  EXPECT_FALSE(number->isEnabled());
  // Esc gives up on this member.
  QTest::keyClick(letter, Qt::Key_Escape);
  EXPECT_TRUE(number->isEnabled());
  EXPECT_FALSE(letter->isEnabled());

  // Workout 3 does not exist: said, and back to the first field.
  QTest::keyClicks(number, QStringLiteral("123"));
  QTest::keyClick(number, Qt::Key_Return);
  testPrompter().clear();
  QTest::keyClicks(letter, QStringLiteral("3"));
  QTest::keyClick(letter, Qt::Key_Return);
  EXPECT_EQ(testPrompter().messages().value(0).detail,
            QStringLiteral("Nenhum TREINO 'C' Cadastrado"));
  EXPECT_TRUE(number->isEnabled());
  EXPECT_TRUE(number->text().isEmpty());
  // Back at the number the picture is hidden, yet the frame and "Sair" stay where they were.
  QApplication::processEvents();
  auto* exit = window.findChild<QWidget*>(QStringLiteral("SBSAIR"));
  auto* photo = window.findChild<QWidget*>(QStringLiteral("Image1"));
  EXPECT_FALSE(photo->isVisible());
  EXPECT_EQ(photo->parentWidget()->height(), photoFrameHeight);
  EXPECT_EQ(exit->geometry(), exitPlace);
}

}  // namespace
