// The series builder driven as an instructor drives it, through the menu, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "prescription/series_builder_window.h"
#include "prescription/workout_grid.h"
#include "prescription/workout_model.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");

class SeriesBuilderWindow : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    for (const auto& [matricula, nome, cargo] :
         {std::tuple{"0000000003", "CARLOS", "PROF MUSC"}, {"0000000004", "DANIEL", "RECEPCAO"}})
      runSql(workout(),
             QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES (?, ?, ?)"),
             {matricula, nome, cargo});
    runSql(workout(),
           QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CPF, EMAIL) VALUES (?, ?, ?, ?)"),
           {kAna, "ANA LIMA", "123.456.789-09", "ana@exemplo.com"});
    runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
           {"0000000007", "BRUNO"});
    for (const auto& [code, name] : {std::pair{"001", "SUPINO RETO"},
                                     {"002", "ROSCA DIRETA"},
                                     {"003", "LEG PRESS"},
                                     {"004", "REMADA"}})
      runSql(workout(),
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, 'N')"),
             {code, name});
  }

  void store(const char* letter, const QDate& day, const char* code, int ordem, const char* days) {
    QVariantList values{kAna, letter, day, code, ordem};
    for (int d = 0; d < kWeekdayCount; ++d) values << (days[d] == '1');
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, Codigo_exercicio, Ordem, "
                          "Dom, Seg, Ter, Qua, Qui, Sex, Sab) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                          "?, ?, ?)"),
           values);
  }

  template <typename T = QWidget>
  T* child(const char* name) {
    T* found = w_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }

  TFRMTIPOEXERCICIO* open() {
    w_ = openEntry<TFRMTIPOEXERCICIO>("MNTIPOEXERCICIO");
    return w_;
  }

  // Instructor by Enter in the list, member by number and Enter.
  void chooseMember(const QString& typed = QStringLiteral("12")) {
    auto* instructors = child<QComboBox>("CBFUNCIONARIOS");
    instructors->setFocus();
    QTest::keyClick(instructors, Qt::Key_Return);
    auto* number = child<QLineEdit>("EDTMATRICULA");
    number->setFocus();
    QTest::keyClicks(number, typed);
    QTest::keyClick(number, Qt::Key_Return);
  }

  void openLetter(const char* letter) {
    child<QComboBox>("CBTREINO")->setCurrentText(QString::fromLatin1(letter));
    child<QPushButton>("SBEXERCICIOS")->click();
  }

  // "t" ticked and locked, "x" ticked and free, "." clear.
  std::string boxes() {
    std::string s;
    for (const char* name : {"CBDOM", "CBSEG", "CBTER", "CBQUA", "CBQUI", "CBSEX", "CBSAB"}) {
      auto* box = child<QCheckBox>(name);
      s += box->isChecked() ? (box->isEnabled() ? 'x' : 't') : '.';
    }
    return s;
  }

  QStringList workoutCodes() {
    QStringList codes;
    for (const WorkoutRow& row : w_->workout()->rows()) codes << row.code;
    return codes;
  }

  QPoint cell(QTableView* grid, int row, int column) {
    return grid->visualRect(grid->model()->index(row, column)).center();
  }

  void doubleClick(QTableView* grid, int row, int column) {
    const QPoint at = cell(grid, row, column);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  }

  // Where typed keys go: the cell's editor once one is open.
  static QWidget* focused(QWidget* fallback) {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : fallback;
  }

  QString lastDetail() {
    return testPrompter().messages().isEmpty() ? QString()
                                               : testPrompter().messages().last().detail;
  }

  TFRMTIPOEXERCICIO* w_ = nullptr;
};

TEST_F(SeriesBuilderWindow,
       AnInstructorBuildsWorkoutAByFilterAndDoubleClickThenDragsDeletesAndCancels) {
  ASSERT_TRUE(open());
  EXPECT_EQ(w_->windowTitle(), QStringLiteral("Tipo de Exercício"));
  EXPECT_FALSE(window_->entry(QStringLiteral("MNTIPOEXERCICIO"))->isEnabled());
  // Only the active muscle teacher is offered.
  EXPECT_EQ(child<QComboBox>("CBFUNCIONARIOS")->count(), 1);
  chooseMember();
  EXPECT_EQ(G().GSTR_PROFESSOR.str(), QStringLiteral("0000000003"));
  EXPECT_EQ(G().GSTR_MATRICULA_ALUNO.str(), kAna);
  ASSERT_TRUE(child("PNLCABECALHO")->isVisible());
  EXPECT_EQ(child<QLabel>("LBLDATA")->text(), formatTypedDate(QDate::currentDate()));
  EXPECT_EQ(child<QLineEdit>("EDTDATATROCA")->text(),
            formatTypedDate(QDate::currentDate().addMonths(3)));
  EXPECT_TRUE(child<QPushButton>("SBAEROBICA")->isEnabled());
  EXPECT_FALSE(child<QPushButton>("BbnTamsel")->isEnabled());  // IntegracaoTamsel "Não"

  openLetter("A");
  ASSERT_TRUE(child("PNLDIAS")->isVisible());
  EXPECT_EQ(boxes(), ".......");
  EXPECT_FALSE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  EXPECT_FALSE(child<QComboBox>("CBTREINO")->isEnabled());
  child<QPushButton>("BBNSAIR")->click();
  EXPECT_EQ(lastDetail(), QStringLiteral("Nenhum dia marcado"));
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  ASSERT_TRUE(child("PNLFILTRO")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBZERA")->isEnabled());

  auto* filter = child<QLineEdit>("EDTFILTRO");
  ASSERT_TRUE(filter->hasFocus());
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(lastDetail(), QStringLiteral("Descrição"));
  QTest::keyClicks(filter, QStringLiteral("ros"));
  EXPECT_EQ(G().GSTR_EXERCICIO_VIDEO.str(), QStringLiteral("002"));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_TRUE(filter->text().isEmpty());
  auto* picking = child<WorkoutGrid>("DBGEXERCICIO_FILTRADO");
  doubleClick(picking, 0, 0);  // LEG PRESS, first by name
  QTest::keyClicks(filter, QStringLiteral("SUP"));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(workoutCodes(), (QStringList{"002", "003", "001"}));
  // The same exercise again is refused while MaisUmExercSerie is "Não".
  testPrompter().clear();
  QTest::keyClicks(filter, QStringLiteral("ROSCA"));
  QTest::keyClick(filter, Qt::Key_Return);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, QString());
  EXPECT_EQ(lastDetail(), QStringLiteral("Exercício já selecionado ! "));
  EXPECT_EQ(w_->workout()->rowCount(), 3);

  // Dragging the third onto the first.
  auto* series = child<WorkoutGrid>("DBGEXERCICIO_SERIE");
  QTest::mousePress(series->viewport(), Qt::LeftButton, {}, cell(series, 2, WorkoutModel::Seq));
  QTest::mouseRelease(series->viewport(), Qt::LeftButton, {}, cell(series, 0, WorkoutModel::Seq));
  EXPECT_EQ(workoutCodes(), (QStringList{"001", "002", "003"}));
  EXPECT_EQ(series->currentIndex().row(), 0);
  // Down on the last row adds no row.
  series->setCurrentIndex(w_->workout()->index(2, WorkoutModel::Series));
  series->setFocus();
  QTest::keyClick(series, Qt::Key_Down);
  EXPECT_EQ(w_->workout()->rowCount(), 3);

  // Deleting the second asks first; No keeps it.
  testPrompter().clear();
  testPrompter().answerNext(kAnswerNo);
  doubleClick(series, 1, WorkoutModel::Descricao);
  EXPECT_EQ(testPrompter().texts(), QStringList{QStringLiteral("Deseja apagar está Série ?")});
  EXPECT_EQ(w_->workout()->rowCount(), 3);
  testPrompter().answerNext(kAnswerYes);
  doubleClick(series, 1, WorkoutModel::Descricao);
  EXPECT_EQ(workoutCodes(), (QStringList{"001", "003"}));
  EXPECT_EQ(w_->workout()->rows()[1].ordem, 2);

  child<QPushButton>("BBNCANCELA")->click();
  EXPECT_FALSE(child("PNLFILTRO")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  EXPECT_TRUE(child<QComboBox>("CBTREINO")->isEnabled());
  // Nothing of the workout was written.
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT COUNT(*) FROM Treino")).toInt(), 0);

  child<QPushButton>("SBSAIR")->click();
  QApplication::processEvents();
  EXPECT_TRUE(window_->entry(QStringLiteral("MNTIPOEXERCICIO"))->isEnabled());
}

TEST_F(SeriesBuilderWindow, LettersNeedThePreviousOneAndLockTheDaysOfTheOthers) {
  const QDate saved(2024, 3, 5);
  store("A", saved, "002", 1, "0101000");
  store("A", saved, "099", 2, "0101000");  // deleted from the catalogue since
  ASSERT_TRUE(open());
  chooseMember();

  openLetter("C");
  EXPECT_EQ(testPrompter().messages().last().text, Msg::DadoIncorreto);
  EXPECT_EQ(lastDetail(), QStringLiteral("Treino ( B ) inexistente"));
  EXPECT_FALSE(child("PNLDIAS")->isVisible());

  openLetter("A");  // its own days stay free, and its rows load
  ASSERT_TRUE(child("PNLDIAS")->isVisible());
  EXPECT_EQ(boxes(), ".x.x...");
  EXPECT_EQ(workoutCodes(), (QStringList{"002", "099"}));
  EXPECT_TRUE(w_->workout()->rows()[1].descricao.isEmpty());
  EXPECT_TRUE(w_->workout()->rows()[1].aparelho.isEmpty());
  child<QPushButton>("BBNSAIR")->click();
  child<QPushButton>("BBNCANCELA")->click();

  store("B", saved, "001", 1, "0000010");
  openLetter("C");
  ASSERT_TRUE(child("PNLDIAS")->isVisible());
  EXPECT_EQ(boxes(), ".t.t.t.");
  EXPECT_EQ(w_->workout()->rowCount(), 0);

  // Zeroed: the next opening starts empty.
  child<QPushButton>("BBNSAIR")->click();  // no day of its own
  child<QCheckBox>("CBSAB")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  child<QPushButton>("BBNCANCELA")->click();
  child<QPushButton>("SBZERA")->click();
  EXPECT_FALSE(child<QPushButton>("SBZERA")->isEnabled());
  openLetter("A");
  EXPECT_EQ(w_->workout()->rowCount(), 0);
}

TEST_F(SeriesBuilderWindow, TheReorderPanelChecksTheNewOrdersAndWritesTodaysRows) {
  const QDate today = QDate::currentDate();
  store("A", today, "001", 1, "0100000");
  store("A", today, "002", 2, "0100000");
  store("A", today, "003", 3, "0100000");
  ASSERT_TRUE(open());
  chooseMember();
  child<QPushButton>("SBNOVA_ORDEM")->click();
  ASSERT_TRUE(child("PNLNOVA_ORDEM")->isVisible());
  EXPECT_FALSE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  auto* grid = child<WorkoutGrid>("DBGNOVA_ORDEM");
  EXPECT_EQ(grid->currentIndex().column(), WorkoutModel::NovaOrdem);

  // Typed in the grid: Enter takes the next row's "Nova Ordem".
  grid->setFocus();
  for (const char* typed : {"1", "3", "3"}) {
    QTest::keyClicks(focused(grid), QString::fromLatin1(typed));
    QTest::keyClick(focused(grid), Qt::Key_Return);
    QApplication::processEvents();
  }
  EXPECT_EQ(w_->workout()->newOrders(), (QList<std::optional<int>>{1, 3, 3}));
  testPrompter().clear();
  child<QPushButton>("BBNCONFIRMA_ORDEM")->click();
  EXPECT_EQ(testPrompter().texts(),
            QStringList{QStringLiteral(
                "Digite a NOVA ORDEM do exercício !\n\rOrdem de Valor = 3 REPETIDA!!!")});
  EXPECT_TRUE(child("PNLNOVA_ORDEM")->isVisible());

  // Dragging the last onto the first writes the new order into "Nova Ordem".
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell(grid, 2, WorkoutModel::Seq));
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell(grid, 0, WorkoutModel::Seq));
  EXPECT_EQ(workoutCodes(), (QStringList{"003", "001", "002"}));
  child<QPushButton>("BBNCONFIRMA_ORDEM")->click();
  ASSERT_TRUE(child("PNLVISUALIZA")->isVisible());
  EXPECT_FALSE(child("PNLNOVA_ORDEM")->isVisible());
  EXPECT_EQ(workoutCodes(), (QStringList{"003", "001", "002"}));
  EXPECT_EQ(scalarSql(workout(),
                      QStringLiteral("SELECT Ordem FROM Treino WHERE Codigo_exercicio = '003'"))
                .toInt(),
            1);
  child<QPushButton>("BBNRETORNA")->click();
  EXPECT_FALSE(child("PNLVISUALIZA")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBNOVA_ORDEM")->isEnabled());
}

TEST_F(SeriesBuilderWindow, TheSearchTakesOnlyItsKeysAndRefusesUnknownMembers) {
  ASSERT_TRUE(open());
  auto* number = child<QLineEdit>("EDTMATRICULA");
  number->setFocus();
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::MatriculaIncorreta});
  QTest::keyClicks(number, QStringLiteral("9a;'9"));
  EXPECT_EQ(number->text(), QStringLiteral("99"));
  EXPECT_EQ(G().GSTR_MATRICULA_ALUNO.str(), QStringLiteral("0000000099"));
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts().last(), Msg::MatriculaNaoCadastrada);
  EXPECT_TRUE(number->text().isEmpty());
  EXPECT_FALSE(child("PNLCABECALHO")->isVisible());

  child<QPushButton>("PNLNOME")->click();
  QTest::keyClicks(number, QStringLiteral("brÚno"));
  EXPECT_EQ(number->text(), QStringLiteral("BRNO"));
  number->clear();
  QTest::keyClicks(number, QStringLiteral("bru"));
  EXPECT_EQ(G().GSTR_MATRICULA_ALUNO.str(), QStringLiteral("0000000007"));
  testPrompter().clear();
  QTest::keyClick(number, Qt::Key_Return);
  // A member without CPF or e-mail is told so and still chosen.
  EXPECT_EQ(lastDetail(), QStringLiteral("CPF ou E-mail atualizar no cadastro."));
  EXPECT_TRUE(child("PNLCABECALHO")->isVisible());
  child<QPushButton>("SBSAIRCAB")->click();
  EXPECT_FALSE(child("PNLCABECALHO")->isVisible());
  EXPECT_TRUE(number->text().isEmpty());
}

TEST_F(SeriesBuilderWindow, TheAssessmentButtonFollowsItsSetting) {
  setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Sim"));
  runSql(workout(), QStringLiteral("UPDATE Alunos SET DATA_NASCIMENTO = ? WHERE MATRICULA = ?"),
         {QDate::currentDate().addYears(-30), kAna});
  ASSERT_TRUE(open());
  chooseMember();
  auto* assessment = child<QPushButton>("BbnTamsel");
  ASSERT_TRUE(assessment->isEnabled());
  testPrompter().clear();
  assessment->click();
  EXPECT_EQ(testPrompter().texts(),
            QStringList{QStringLiteral("Seleção de Avaliação Física ainda não disponível !")});
  EXPECT_EQ(G().GSTR_IDADE_ALUNO, QStringLiteral("30"));
  // Busy while a block is open, back with the idle header.
  openLetter("A");
  EXPECT_FALSE(assessment->isEnabled());
  child<QCheckBox>("CBDOM")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  child<QPushButton>("BBNCANCELA")->click();
  EXPECT_TRUE(assessment->isEnabled());
}

TEST_F(SeriesBuilderWindow, TwoBuildersKeepTheirWorkoutsApart) {
  TFRMTIPOEXERCICIO first;
  TFRMTIPOEXERCICIO second;
  first.show();
  second.show();
  QApplication::processEvents();
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  first.workout()->appendExercise(QStringLiteral("001"), QStringLiteral("SUPINO RETO"), {});
  EXPECT_EQ(second.workout()->rowCount(), 0);
  first.close();
  second.workout()->appendExercise(QStringLiteral("002"), QStringLiteral("ROSCA DIRETA"), {});
  EXPECT_EQ(second.workout()->rowCount(), 1);
}

TEST_F(SeriesBuilderWindow, WithoutTheGymDatabaseTheWindowSaysSoAndCloses) {
  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Não"));
  QFile link(linkFilePath(DataSource::Brisca));
  ASSERT_TRUE(link.open(QIODevice::WriteOnly | QIODevice::Truncate));
  link.write("Provider=SQLite;Data Source=nao-existe.db");
  link.close();
  open();
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::BriscaInativo + Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Alunos"));
  EXPECT_EQ(testPrompter().messages()[1].text, Msg::RegistroJaAlocado);
  EXPECT_FALSE(window_->findChild<TFRMTIPOEXERCICIO*>());
  EXPECT_TRUE(window_->entry(QStringLiteral("MNTIPOEXERCICIO"))->isEnabled());
}

}  // namespace
