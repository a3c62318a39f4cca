// The series builder driven as an instructor drives it, through the menu, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/sql.h"
#include "prescription/copy_from_dialog.h"
#include "prescription/series_builder_window.h"
#include "prescription/strength_block.h"
#include "prescription/workout_grid.h"
#include "series/aerobic_model.h"
#include "series/series_store.h"
#include "series/workout_model.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"
#include "support/test_video.h"

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

  // Types each text into the grid's current cell and presses Enter after it.
  void typeCells(WorkoutGrid* grid, const QStringList& texts) {
    grid->setFocus();
    for (const QString& text : texts) {
      // Key by key: the first one opens the cell's editor, which takes the rest.
      for (const QChar c : text) QTest::keyClicks(focused(grid), QString(c));
      QTest::keyClick(focused(grid), Qt::Key_Return);
      QApplication::processEvents();
    }
  }

  int count(const QString& sql) { return scalarSql(workout(), sql).toInt(); }

  TFRMTIPOEXERCICIO* w_ = nullptr;
};

TEST_F(SeriesBuilderWindow, AWorkoutTypedAtTheKeyboardIsSavedAndOfferedForReordering) {
  setSetting(QStringLiteral("TrocaDataSerie"), QStringLiteral("Sim"));
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QCheckBox>("CBQUA")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  auto* filter = child<QLineEdit>("EDTFILTRO");
  for (const char* name : {"SUP", "ROS", "LEG"}) {
    QTest::keyClicks(filter, QString::fromLatin1(name));
    QTest::keyClick(filter, Qt::Key_Return);
  }
  // The second row is left empty: it is not stored and the third takes its place.
  auto* series = child<WorkoutGrid>("DBGEXERCICIO_SERIE");
  series->setCurrentIndex(w_->workout()->index(0, WorkoutModel::Series));
  typeCells(series, {"3", "12", "20 KG", "FURO 4", "60", "LENTO"});
  series->setCurrentIndex(w_->workout()->index(2, WorkoutModel::Series));
  typeCells(series, {"4", "10"});

  // A change date that is not a date is refused in its field.
  auto* change = child<QLineEdit>("EDTDATATROCA");
  const QDate due = QDate::currentDate().addDays(45);
  change->setFocus();
  change->selectAll();
  QTest::keyClicks(change, QStringLiteral("31029999"));
  testPrompter().clear();
  QTest::keyClick(change, Qt::Key_Return);
  EXPECT_EQ(lastDetail(), QStringLiteral("Data troca"));
  EXPECT_TRUE(change->hasFocus());
  change->selectAll();
  QTest::keyClicks(change, due.toString(QStringLiteral("ddMMyyyy")));
  QTest::keyClick(change, Qt::Key_Return);
  EXPECT_EQ(change->text(), formatTypedDate(due));

  testPrompter().clear();
  testPrompter().answerNext(kAnswerYes);
  child<QPushButton>("BBNCONFIRMA")->click();
  EXPECT_EQ(testPrompter().texts(),
            QStringList{QStringLiteral("Deseja alterar ordem dos exercícios?")});
  ASSERT_TRUE(child("PNLNOVA_ORDEM")->isVisible());
  EXPECT_EQ(workoutCodes(), (QStringList{"001", "003"}));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Treino WHERE Matricula = '0000000012' AND "
                                 "Treino = 'A' AND Seg = 1 AND Qua = 1 AND Dom = 0")),
            2);
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT Data_Reavaliacao FROM Treino WHERE "
                                                "Codigo_exercicio = '003'"))
                .toDate(),
            due);
  EXPECT_EQ(
      scalarSql(workout(), QStringLiteral("SELECT Peso FROM Treino WHERE Ordem = 1")).toString(),
      QStringLiteral("20 KG"));
  EXPECT_EQ(count(QStringLiteral("SELECT Ordem FROM Treino WHERE Codigo_exercicio = '003'")), 2);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE DATA_FEITA IS NOT NULL")), 1);
  child<QPushButton>("BBNCANCELA_ORDEM")->click();

  // One exercise only: saved without the question.
  openLetter("A");
  child<QPushButton>("BBNSAIR")->click();
  series->setCurrentIndex(w_->workout()->index(1, WorkoutModel::Series));
  testPrompter().clear();
  testPrompter().answerNext(kAnswerYes);
  doubleClick(series, 1, WorkoutModel::Descricao);
  testPrompter().clear();
  child<QPushButton>("BBNCONFIRMA")->click();
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  EXPECT_FALSE(child("PNLFILTRO")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Treino")), 1);
}

TEST_F(SeriesBuilderWindow, CopyingAnotherMembersWorkoutBringsItsPrescriptionAsIfPickedByHand) {
  // BRUNO's current B: LEG PRESS and SUPINO RETO with their prescription; his C holds an
  // exercise the catalogue no longer has.
  for (auto [code, ordem, series, peso] : {std::tuple{"003", 1, "4", "80 KG"}, {"001", 2, "3", "20 KG"}})
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, Codigo_exercicio, Ordem, "
                          "Series, Repeticoes, Peso, Intervalo, Obs, Seg) VALUES ('0000000007', 'B', "
                          "?, ?, ?, ?, '12', ?, 60, 'LENTO', ?)"),
           {QDate::currentDate().addDays(-10), code, ordem, series, peso, true});
  runSql(workout(), QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, Codigo_exercicio, "
                                   "Ordem, Seg) VALUES ('0000000007', 'C', ?, '999', 1, ?)"),
         {QDate::currentDate().addDays(-10), true});
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  ASSERT_TRUE(child("PNLFILTRO")->isVisible());
  auto* filter = child<QLineEdit>("EDTFILTRO");
  QTest::keyClicks(filter, QStringLiteral("SUPINO"));
  QTest::keyClick(filter, Qt::Key_Return);
  ASSERT_EQ(workoutCodes(), QStringList{"001"});

  auto* strength = w_->findChild<StrengthBlock*>();
  ASSERT_NE(strength, nullptr);
  testPrompter().clear();
  strength->copyWorkout(QStringLiteral("0000000007"), QStringLiteral("B"));
  // SUPINO RETO was there already: refused as a second pick is.
  EXPECT_EQ(lastDetail(), QStringLiteral("Exercício já selecionado ! "));
  ASSERT_EQ(workoutCodes(), (QStringList{"001", "003"}));
  const WorkoutRow& copied = w_->workout()->rows()[1];
  EXPECT_EQ(copied.series, QStringLiteral("4"));
  EXPECT_EQ(copied.peso, QStringLiteral("80 KG"));
  EXPECT_EQ(copied.intervalo, 60);
  EXPECT_EQ(copied.obs, QStringLiteral("LENTO"));
  EXPECT_EQ(copied.ordem, 2);

  testPrompter().clear();
  strength->copyWorkout(QStringLiteral("0000000007"), QStringLiteral("C"));
  EXPECT_EQ(testPrompter().texts(), QStringList{QStringLiteral("Exercício fora do cadastro !")});
  EXPECT_EQ(lastDetail(), QStringLiteral("999"));
  strength->copyWorkout(QStringLiteral("0000000007"), QStringLiteral("D"));
  EXPECT_EQ(lastDetail(), QStringLiteral("Nenhum TREINO 'D' Cadastrado"));
  EXPECT_EQ(w_->workout()->rowCount(), 2);

  // The dialog finds the member and the letter.
  TFRMCOPIARDE dialog(peopleTables(true, false), w_);
  dialog.show();
  QApplication::processEvents();
  ASSERT_TRUE(dialog.search()->locate(QStringLiteral("0000000007")));
  dialog.letters()->setCurrentText(QStringLiteral("B"));
  EXPECT_EQ(dialog.matricula(), QStringLiteral("0000000007"));
  EXPECT_EQ(dialog.letter(), QStringLiteral("B"));
  dialog.reject();

  // Saved, the copy is stored like any workout (the hand-picked row, left blank, is not).
  child<QPushButton>("BBNCONFIRMA")->click();
  QStringList stored;
  for (const WorkoutRow& row : currentWorkout(workout(), kAna, QStringLiteral("A"))) stored << row.code;
  EXPECT_EQ(stored, QStringList{"003"});
}

TEST_F(SeriesBuilderWindow, AFailedSaveKeepsTheTypedWorkoutOnScreen) {
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEX")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  auto* filter = child<QLineEdit>("EDTFILTRO");
  QTest::keyClicks(filter, QStringLiteral("REM"));
  QTest::keyClick(filter, Qt::Key_Return);
  auto* series = child<WorkoutGrid>("DBGEXERCICIO_SERIE");
  series->setCurrentIndex(w_->workout()->index(0, WorkoutModel::Series));
  typeCells(series, {"3"});
  runSql(workout(), QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Treino BEGIN SELECT "
                                   "RAISE(ABORT, 'falha forçada'); END"));
  testPrompter().clear();
  child<QPushButton>("BBNCONFIRMA")->click();
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(lastDetail(), QStringLiteral("Treino"));
  EXPECT_TRUE(child("PNLFILTRO")->isVisible());
  EXPECT_FALSE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  ASSERT_EQ(w_->workout()->rowCount(), 1);
  EXPECT_EQ(w_->workout()->rows()[0].series, QStringLiteral("3"));

  runSql(workout(), QStringLiteral("DROP TRIGGER falha"));
  child<QPushButton>("BBNCONFIRMA")->click();
  EXPECT_FALSE(child("PNLFILTRO")->isVisible());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Treino WHERE Sex = 1")), 1);
}

TEST_F(SeriesBuilderWindow, TheAerobicBlockTakesBrazilianDecimalsAndItsOwnWeekdays) {
  for (const auto& [code, name] : {std::pair{"101", "ESTEIRA"}, {"102", "BICICLETA"}})
    runSql(workout(),
           QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, 'S')"),
           {code, name});
  ASSERT_TRUE(open());
  chooseMember();
  child<QComboBox>("CBTREINO")->setCurrentText(QStringLiteral("B"));
  child<QComboBox>("CBTREINO")->activated(1);
  EXPECT_FALSE(child<QPushButton>("SBAEROBICA")->isEnabled());
  child<QComboBox>("CBTREINO")->setCurrentText(QStringLiteral("A"));
  child<QComboBox>("CBTREINO")->activated(0);
  ASSERT_TRUE(child<QPushButton>("SBAEROBICA")->isEnabled());
  child<QPushButton>("SBAEROBICA")->click();
  ASSERT_TRUE(child("PNLDIAS")->isVisible());
  EXPECT_EQ(boxes(), ".......");
  EXPECT_FALSE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  child<QCheckBox>("CBTER")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  ASSERT_TRUE(child("PNLAEROBICA")->isVisible());
  auto* grid = child<WorkoutGrid>("DBGAEROBICA");
  EXPECT_EQ(grid->currentIndex(), w_->aerobic()->index(0, AerobicModel::Duracao));
  // BICICLETA first by name: 20 minutes at 5.5, level 2; the treadmill's level only.
  typeCells(grid, {"20", "5.5", "2", "", "", "1,5"});
  EXPECT_EQ(w_->aerobic()->index(0, AerobicModel::Velocidade).data().toString(),
            QStringLiteral("5,5"));
  child<QPushButton>("BBNCONFIRMAAEROBICA")->click();
  EXPECT_FALSE(child("PNLAEROBICA")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Aerobica WHERE Ter = 1 AND Seg = 0 AND "
                                 "Professor = '0000000003'")),
            2);
  EXPECT_DOUBLE_EQ(scalarSql(workout(), QStringLiteral("SELECT Velocidade FROM Aerobica WHERE "
                                                       "Codigo_exercicio = '102'"))
                       .toDouble(),
                   5.5);

  // Opened again: the stored block and its day; Esc cancels and stores nothing.
  child<QPushButton>("SBAEROBICA")->click();
  EXPECT_EQ(boxes(), "..x....");
  child<QPushButton>("BBNSAIR")->click();
  EXPECT_EQ(w_->aerobic()->rows()[0].duracao, 20);
  typeCells(grid, {"45"});
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_FALSE(child("PNLAEROBICA")->isVisible());
  EXPECT_EQ(count(QStringLiteral("SELECT Duracao FROM Aerobica WHERE Codigo_exercicio = '102'")),
            20);
}

TEST_F(SeriesBuilderWindow, TheStretchingChoiceIsTickedAndItsRemarkKeepsToFourLines) {
  ASSERT_TRUE(open());
  chooseMember();
  child<QPushButton>("SBALONGAMENTO")->click();
  ASSERT_TRUE(child("PNLALONGAMENTO")->isVisible());
  EXPECT_FALSE(child<QPushButton>("SBALONGAMENTO")->isEnabled());
  auto* memo = child<QPlainTextEdit>("DBMEMOOBS");
  EXPECT_TRUE(memo->hasFocus());
  child<QCheckBox>("DBCB01")->setChecked(true);
  child<QCheckBox>("DBCB23")->setChecked(true);
  for (const char* line : {"um", "dois", "tres", "quatro"}) {
    QTest::keyClicks(memo, QString::fromLatin1(line));
    QTest::keyClick(memo, Qt::Key_Return);
  }
  testPrompter().clear();
  QTest::keyClick(memo, Qt::Key_X);
  QTest::keyClick(memo, Qt::Key_Backspace);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("um\ndois\ntres\nquatro\n"));
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, QStringLiteral("Atingiu o limite Máximo"));
  EXPECT_EQ(lastDetail(), QStringLiteral(" 4 linhas"));
  memo->moveCursor(QTextCursor::Start);
  QTest::keyClick(memo, Qt::Key_Delete);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("m\ndois\ntres\nquatro\n"));
  child<QPushButton>("BBNCONFIRMAALONGAMENTO")->click();
  EXPECT_FALSE(child("PNLALONGAMENTO")->isVisible());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alongamento WHERE Treino = 'A' AND "
                                 "Alogamento_01 = 1 AND Alogamento_23 = 1 AND Alogamento_02 = 0")),
            1);

  // Opened again on the same day: the stored choice, edited in place.
  child<QPushButton>("SBALONGAMENTO")->click();
  EXPECT_TRUE(child<QCheckBox>("DBCB23")->isChecked());
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("m\ndois\ntres\nquatro\n"));
  child<QCheckBox>("DBCB23")->setChecked(false);
  child<QPushButton>("BBNCONFIRMAALONGAMENTO")->click();
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alongamento")), 1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alongamento WHERE Alogamento_23 = 0")), 1);
  // Another letter has a choice of its own.
  child<QComboBox>("CBTREINO")->setCurrentText(QStringLiteral("B"));
  child<QPushButton>("SBALONGAMENTO")->click();
  EXPECT_FALSE(child<QCheckBox>("DBCB01")->isChecked());
  QTest::keyClick(memo, Qt::Key_Escape);
  EXPECT_FALSE(child("PNLALONGAMENTO")->isVisible());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alongamento")), 1);
}

TEST_F(SeriesBuilderWindow,
       AnInstructorBuildsWorkoutAByFilterAndDoubleClickThenDragsDeletesAndCancels) {
  ASSERT_TRUE(open());
  EXPECT_EQ(w_->windowTitle(), QStringLiteral("Tipo de Exercício"));
  EXPECT_FALSE(window_->entry(QStringLiteral("MNTIPOEXERCICIO"))->isEnabled());
  // Only the active muscle teacher is offered.
  EXPECT_EQ(child<QComboBox>("CBFUNCIONARIOS")->count(), 1);
  chooseMember();
  EXPECT_EQ(w_->series().professor, QStringLiteral("0000000003"));
  EXPECT_EQ(w_->series().matricula, kAna);
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
  EXPECT_EQ(w_->series().exerciseVideo, QStringLiteral("002"));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_TRUE(filter->text().isEmpty());
  auto* picking = child<WorkoutGrid>("DBGEXERCICIO_FILTRADO");
  doubleClick(picking, 0, 0);  // LEG PRESS, first by name
  QTest::keyClicks(filter, QStringLiteral("SUP"));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(workoutCodes(), (QStringList{"002", "003", "001"}));
  // A text no exercise starts with adds nothing, whatever the cursor was left on.
  testPrompter().clear();
  QTest::keyClicks(filter, QStringLiteral("REMX"));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{SeriesText::NenhumExercicioComeca});
  EXPECT_EQ(lastDetail(), QStringLiteral("REMX"));
  EXPECT_EQ(workoutCodes(), (QStringList{"002", "003", "001"}));
  EXPECT_TRUE(filter->hasFocus());
  filter->clear();
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
  // Ctrl+Down and Ctrl+Up move the exercise one place, renumbering; the cursor follows it.
  series->setCurrentIndex(w_->workout()->index(0, WorkoutModel::Series));
  QTest::keyClick(series, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(workoutCodes(), (QStringList{"002", "001", "003"}));
  EXPECT_EQ(series->currentIndex().row(), 1);
  EXPECT_EQ(w_->workout()->rows()[1].ordem, 2);
  child<QPushButton>("SBSOBE")->click();
  EXPECT_EQ(workoutCodes(), (QStringList{"001", "002", "003"}));
  child<QPushButton>("SBSOBE")->click();  // already first: nothing moves
  EXPECT_EQ(workoutCodes(), (QStringList{"001", "002", "003"}));
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

TEST_F(SeriesBuilderWindow, TheReorderAlsoRenumbersTheGymsPortalCopy) {
  setSetting(QStringLiteral("Portal_Cenection"), QStringLiteral("Sim"));
  setSetting(QStringLiteral("CLIENTE"), 7.0);
  const QDate today = QDate::currentDate();
  store("A", today, "001", 1, "0100000");
  store("A", today, "002", 2, "0100000");
  Connection portal(DataSource::Ondrel, QStringLiteral("portal-teste"));
  ASSERT_TRUE(portal.open());
  for (const auto& [code, ordem, cliente] : {std::tuple{"001", 1, 7}, {"002", 2, 7}, {"001", 1, 8}})
    runSql(portal.database(),
           QStringLiteral("INSERT INTO Portal_Treino (cliente, Matricula, Treino, Data, "
                          "Codigo_exercicio, Ordem) VALUES (?, ?, 'A', ?, ?, ?)"),
           {cliente, kAna, today, code, ordem});
  ASSERT_TRUE(open());
  chooseMember();
  child<QPushButton>("SBNOVA_ORDEM")->click();
  typeCells(child<WorkoutGrid>("DBGNOVA_ORDEM"), {"2", "1"});
  child<QPushButton>("BBNCONFIRMA_ORDEM")->click();
  ASSERT_TRUE(child("PNLVISUALIZA")->isVisible());
  const auto ordem = [&](const char* code, int cliente) {
    return scalarSql(portal.database(),
                     QStringLiteral("SELECT Ordem FROM Portal_Treino WHERE Codigo_exercicio = ? "
                                    "AND cliente = ?"),
                     {code, cliente})
        .toInt();
  };
  EXPECT_EQ(ordem("001", 7), 2);
  EXPECT_EQ(ordem("002", 7), 1);
  EXPECT_EQ(ordem("001", 8), 1);  // another gym's copy
  portal.release();
}

TEST_F(SeriesBuilderWindow, ASavedWorkoutIsPublishedOnTheGymsPortal) {
  setSetting(QStringLiteral("Portal_Cenection"), QStringLiteral("Sim"));
  setSetting(QStringLiteral("CLIENTE"), 7.0);
  // Without the assessment integration the member's objective on the portal is left alone.
  setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Não"));
  {
    Connection portal(DataSource::Ondrel, QStringLiteral("portal-antes"));
    ASSERT_TRUE(portal.open());
    runSql(portal.database(),
           QStringLiteral("INSERT INTO Alunos (cliente, CPF, Matricula, Objetivo) VALUES (7, "
                          "'12345678909', ?, 'HIPERTROFIA')"),
           {kAna});
    portal.release();
  }
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBTER")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  auto* filter = child<QLineEdit>("EDTFILTRO");
  QTest::keyClicks(filter, QStringLiteral("LEG"));
  QTest::keyClick(filter, Qt::Key_Return);
  auto* series = child<WorkoutGrid>("DBGEXERCICIO_SERIE");
  series->setCurrentIndex(w_->workout()->index(0, WorkoutModel::Series));
  typeCells(series, {"3"});
  child<QPushButton>("BBNCONFIRMA")->click();
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  Connection portal(DataSource::Ondrel, QStringLiteral("portal-publicado"));
  ASSERT_TRUE(portal.open());
  EXPECT_EQ(scalarSql(portal.database(),
                      QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE cliente = 7 AND "
                                     "Codigo_exercicio = '003' AND Descricao = 'LEG PRESS' AND "
                                     "CPF = '12345678909' AND Ordem = 1"))
                .toInt(),
            1);
  EXPECT_EQ(
      scalarSql(portal.database(),
                QStringLiteral("SELECT Email FROM Alunos WHERE Matricula = ? AND cliente = 7"),
                {kAna})
          .toString(),
      QStringLiteral("ana@exemplo.com"));
  EXPECT_EQ(scalarSql(portal.database(),
                      QStringLiteral("SELECT Objetivo FROM Alunos WHERE Matricula = ?"), {kAna})
                .toString(),
            QStringLiteral("HIPERTROFIA"));
  EXPECT_EQ(scalarSql(portal.database(),
                      QStringLiteral("SELECT COUNT(*) FROM Clientes WHERE cod_cliente = 7"))
                .toInt(),
            1);
  portal.release();
}

TEST_F(SeriesBuilderWindow, TheLoggedInInstructorIsPreselectedAndNamedInTheHeader) {
  runSql(workout(),
         QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES (?, ?, ?)"),
         {"0000000001", "ALICE", "PROF MUSC"});
  setFlag(QStringLiteral("01"), QStringLiteral("Matricula"), QStringLiteral("0000000003"));
  ASSERT_TRUE(open());
  auto* instructors = child<QComboBox>("CBFUNCIONARIOS");
  ASSERT_EQ(instructors->count(), 2);
  EXPECT_EQ(instructors->currentText(), QStringLiteral("0000000003 - CARLOS"));
  chooseMember();
  EXPECT_EQ(w_->series().professor, QStringLiteral("0000000003"));
  EXPECT_EQ(child<QLabel>("LBLPROFESSOR")->text(), QStringLiteral("Professor : CARLOS"));
}

TEST(InstructorChoice, TheUsersOwnEntryElseTheFirst) {
  const QStringList entries{"0000000001 - ALICE", "0000000003 - CARLOS"};
  EXPECT_EQ(preferredInstructor(entries, QStringLiteral("0000000003")), 1);
  EXPECT_EQ(preferredInstructor(entries, QStringLiteral("0000000009")), 0);
  EXPECT_EQ(preferredInstructor(entries, QString()), 0);
  EXPECT_EQ(preferredInstructor({}, QStringLiteral("0000000003")), -1);
  EXPECT_EQ(instructorName(entries[1]), QStringLiteral("CARLOS"));
}

TEST(WorkoutColumns, TheRemarkTakesWhatIsLeftAndTheNameStaysReadable) {
  const QList<bool> strength{false, false, false, false, false, false, false, false, true};
  // Seq, name, series, repetitions, weight, setting, interval, remark, new order.
  struct Case {
    int width;
    QList<int> widths;
  } cases[] = {
      {1200, {48, 250, 55, 90, 80, 90, 70, 517, 0}},  // wide: the remark grows
      {800, {48, 247, 55, 90, 80, 90, 70, 120, 0}},   // the remark at its least
      {760, {48, 207, 55, 90, 80, 90, 70, 120, 0}},   // the name gives way
      {500, {48, 170, 55, 90, 80, 90, 70, 120, 0}},   // too narrow: both least, the grid scrolls
  };
  for (const Case& c : cases)
    EXPECT_EQ(workoutColumnWidths(c.width, strength), c.widths) << c.width;
  // The reorder grid shows no remark: the name alone fills up to its width.
  QList<bool> reorder(9, true);
  reorder[0] = reorder[1] = reorder[8] = false;
  EXPECT_EQ(workoutColumnWidths(300, reorder), (QList<int>{48, 170, 0, 0, 0, 0, 0, 0, 90}));
}

TEST_F(SeriesBuilderWindow, TheSeriesGridFitsTheWindowWithTheNameInView) {
  ASSERT_TRUE(open());
  w_->parentWidget()->resize(1200, 700);
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  QApplication::processEvents();
  auto* series = child<WorkoutGrid>("DBGEXERCICIO_SERIE");
  const int remarkEnd =
      series->columnViewportPosition(WorkoutModel::Obs) + series->columnWidth(WorkoutModel::Obs);
  EXPECT_LE(remarkEnd, series->viewport()->width());
  EXPECT_GE(remarkEnd, series->viewport()->width() - 1);
  EXPECT_GE(series->columnWidth(WorkoutModel::Descricao), 170);
  EXPECT_EQ(series->horizontalScrollBar()->maximum(), 0);
}

TEST_F(SeriesBuilderWindow, KeysAndButtonsThatUsedToLeadNowhere) {
  setSetting(QStringLiteral("GrupamentoMuscular"), QStringLiteral("Sim"));
  runSql(workout(), QStringLiteral("INSERT INTO GrupamentoMuscular (Codigo, Descricao) VALUES "
                                   "('01', 'PEITO'), ('02', 'BRACO')"));
  ASSERT_TRUE(open());
  chooseMember();
  // Esc on the weekdays goes back to the letters.
  openLetter("A");
  ASSERT_TRUE(child("PNLDIAS")->isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(child("PNLDIAS")->isVisible());
  EXPECT_TRUE(child<QPushButton>("SBEXERCICIOS")->isEnabled());
  EXPECT_TRUE(child<QComboBox>("CBTREINO")->hasFocus());

  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  // A group chosen from its list: the keyboard goes on in the name filter.
  auto* groups = child<QComboBox>("CBGRUPAMENTOMUSCULAR");
  groups->setFocus();
  emit groups->activated(1);
  EXPECT_TRUE(child<QLineEdit>("EDTFILTRO")->hasFocus());
  // Arrows in the closed list only look: the focus stays until Enter.
  groups->setFocus();
  QTest::keyClick(groups, Qt::Key_Up);
  EXPECT_TRUE(groups->hasFocus());
  QTest::keyClick(groups, Qt::Key_Return);
  EXPECT_TRUE(child<QLineEdit>("EDTFILTRO")->hasFocus());

  // "Vídeo" on an exercise without one says so.
  testPrompter().clear();
  child<WorkoutGrid>("DBGEXERCICIO_FILTRADO")
      ->setCurrentIndex(child<WorkoutGrid>("DBGEXERCICIO_FILTRADO")->model()->index(0, 0));
  child<QPushButton>("BBNVIDEO")->click();
  EXPECT_EQ(testPrompter().texts(), QStringList{SeriesText::SemVideo});
}

TEST_F(SeriesBuilderWindow, TheVideoOfTheExerciseUnderTheCursorPlaysAndThePlayerGoesWhenItEnds) {
  const QString file = testVideo();
  ASSERT_FALSE(file.isEmpty());
  runSql(workout(), QStringLiteral("UPDATE Exercicios SET Caminho_Video = ?"), {file});
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  testPrompter().clear();
  auto* picking = child<WorkoutGrid>("DBGEXERCICIO_FILTRADO");
  picking->setCurrentIndex(picking->model()->index(0, 0));
  child<QPushButton>("BBNVIDEO")->click();
  QWidget* player = child("WindowsMediaPlayer");
  EXPECT_TRUE(player->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!player->isVisible(), 30000);
  EXPECT_TRUE(child<QPushButton>("BBNVIDEO")->isEnabled());
  EXPECT_TRUE(testPrompter().texts().isEmpty()) << testPrompter().texts().join('|').toStdString();
}

TEST_F(SeriesBuilderWindow, MuscleGroupsFollowTheSettingsTheBuilderOpenedWith) {
  setSetting(QStringLiteral("GrupamentoMuscular"), QStringLiteral("Não"));
  runSql(workout(), QStringLiteral("INSERT INTO GrupamentoMuscular (Codigo, Descricao) VALUES "
                                   "('01', 'PEITO')"));
  // A process-wide copy saying otherwise is not the builder's to read.
  G().GSTR_GRUPAMENTO_MUSCULAR = QStringLiteral("Sim");
  ASSERT_TRUE(open());
  chooseMember();
  openLetter("A");
  child<QCheckBox>("CBSEG")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  ASSERT_TRUE(child("PNLFILTRO")->isVisible());
  EXPECT_FALSE(child("CBGRUPAMENTOMUSCULAR")->isVisible());
  EXPECT_FALSE(child("LBLGRUPAMENTO")->isVisible());
  EXPECT_EQ(child<QComboBox>("CBGRUPAMENTOMUSCULAR")->count(), 0);
  EXPECT_EQ(child<WorkoutGrid>("DBGEXERCICIO_FILTRADO")->model()->rowCount(), 4);
}

TEST_F(SeriesBuilderWindow, ADoubleClickOnTheInstructorNeedsAMemberTyped) {
  ASSERT_TRUE(open());
  auto* instructors = child<QComboBox>("CBFUNCIONARIOS");
  QTest::mouseDClick(instructors, Qt::LeftButton);
  EXPECT_EQ(lastDetail(), QStringLiteral("Professor ou Aluno não informado"));
  EXPECT_FALSE(child("PNLCABECALHO")->isVisible());
  auto* number = child<QLineEdit>("EDTMATRICULA");
  number->setFocus();
  QTest::keyClicks(number, QStringLiteral("12"));
  QTest::mouseDClick(instructors, Qt::LeftButton);
  EXPECT_EQ(w_->series().professor, QStringLiteral("0000000003"));
  EXPECT_TRUE(child("PNLCABECALHO")->isVisible());
}

TEST_F(SeriesBuilderWindow, TheSearchTakesOnlyItsKeysAndRefusesUnknownMembers) {
  ASSERT_TRUE(open());
  auto* number = child<QLineEdit>("EDTMATRICULA");
  number->setFocus();
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::MatriculaIncorreta});
  QTest::keyClicks(number, QStringLiteral("9a;'9"));
  EXPECT_EQ(number->text(), QStringLiteral("99"));
  EXPECT_EQ(w_->series().matricula, QStringLiteral("0000000099"));
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts().last(), Msg::MatriculaNaoCadastrada);
  EXPECT_TRUE(number->text().isEmpty());
  EXPECT_FALSE(child("PNLCABECALHO")->isVisible());

  child<QPushButton>("PNLNOME")->click();
  QTest::keyClicks(number, QStringLiteral("brÚno"));
  EXPECT_EQ(number->text(), QStringLiteral("BRNO"));
  number->clear();
  QTest::keyClicks(number, QStringLiteral("bru"));
  EXPECT_EQ(w_->series().matricula, QStringLiteral("0000000007"));
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
  int listed = -1;
  QTimer::singleShot(0, [&listed] {
    auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("TFRMSELECAO"));
    listed = window->findChild<QTableWidget*>(QStringLiteral("DBGAVALIACAO"))->rowCount();
    window->reject();
  });
  assessment->click();
  EXPECT_TRUE(testPrompter().texts().isEmpty());
  EXPECT_EQ(listed, 0);  // a member without assessments: nothing to choose
  EXPECT_EQ(w_->series().age, QStringLiteral("30"));
  // Busy while a block is open, back with the idle header.
  openLetter("A");
  EXPECT_FALSE(assessment->isEnabled());
  child<QCheckBox>("CBDOM")->setChecked(true);
  child<QPushButton>("BBNSAIR")->click();
  child<QPushButton>("BBNCANCELA")->click();
  EXPECT_TRUE(assessment->isEnabled());
}

TEST_F(SeriesBuilderWindow, TwoBuildersKeepTheirWorkoutsApart) {
  TFRMTIPOEXERCICIO first(session_);
  TFRMTIPOEXERCICIO second(session_);
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
