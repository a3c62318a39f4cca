// TFRMHISTORICOSERIES driven as a user drives it: finding the member, the list of dated
// workouts, the reprint, the deletion and its failure, and what closing gives back.
#include "prescription/history_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "printing/report_output.h"
#include "registry/jpeg_codec.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class HistoryWindow : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    G().GINT_JANELAS_ABERTAS = 1;
    shortcut_.setEnabled(false);
    QImage face(60, 80, QImage::Format_RGB32);
    face.fill(Qt::darkCyan);
    run("INSERT INTO Alunos (MATRICULA, NOME) VALUES ('0000000007', 'BRUNO COSTA'), "
        "('0000000012', 'ANA LIMA')");
    runSql(workout(), QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
           {QStringLiteral("0000000007"), encodeJpeg(face)});
    run("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES ('001', 'SUPINO RETO', 'N')");
    for (const char* day : {"2026-03-02", "2026-09-01"})
      for (const char* letter : {"A", "B"})
        runSql(workout(),
               QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                              "Obs, Ordem) VALUES ('0000000012', ?, '001', ?, 'USAR BANCO', 1)"),
               {QString::fromLatin1(letter), QString::fromLatin1(day)});
    setReportOutput([this](const Report& report, bool preview, QWidget*) {
      printed_ << report.name;
      for (const ReportRow& row : report.rows) printed_ << row.cells.value(2);
      EXPECT_TRUE(preview);
    });
  }

  void TearDown() override {
    setReportOutput(nullptr);
    window_.reset();
    ShellFixture::TearDown();
  }

  void run(const char* sql) { runSql(workout(), QString::fromUtf8(sql)); }

  TFRMHISTORICOSERIES* open() {
    testPrompter().clear();
    window_ = std::make_unique<TFRMHISTORICOSERIES>(session_, &shortcut_);
    window_->show();
    QApplication::processEvents();
    return window_.get();
  }

  template <typename T = QWidget>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }

  void typeEnter(const QString& text) {
    QLineEdit* field = child<QLineEdit>("EDTMATRICULA");
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
  }

  QStringList listed() {
    QStringList rows;
    const QAbstractItemModel* model = child<QTableView>("DBGTREINO")->model();
    for (int r = 0; r < model->rowCount(); ++r)
      rows << model->index(r, 0).data().toString() + QLatin1Char(' ') +
                  model->index(r, 1).data().toString();
    return rows;
  }

  bool listShown() { return !child("PNLTREINO")->isHidden(); }
  bool photoShown() { return !child<QLabel>("Image1")->pixmap().isNull(); }

  QStringList told() {
    QStringList lines;
    for (const auto& m : testPrompter().messages()) lines << m.text + QLatin1Char('|') + m.detail;
    return lines;
  }

  int stored() { return scalarSql(workout(), QStringLiteral("SELECT COUNT(*) FROM Treino")).toInt(); }

  QPushButton shortcut_;
  std::unique_ptr<TFRMHISTORICOSERIES> window_;
  QStringList printed_;
};

TEST_F(HistoryWindow, TypingANumberListsTheMembersWorkoutsNewestFirst) {
  open();
  typeEnter(QStringLiteral("7"));  // Bruno: a photo, no workout
  EXPECT_TRUE(photoShown());
  EXPECT_EQ(told(), QStringList{Msg::NenhumResultadoEncontrado + QStringLiteral("|Treino")});
  EXPECT_FALSE(listShown());

  testPrompter().clear();
  typeEnter(QStringLiteral("12"));  // eight zeros and 12: Ana, no photo row
  EXPECT_EQ(window_->selected(), QStringLiteral("0000000012"));
  EXPECT_FALSE(photoShown());
  EXPECT_TRUE(told().isEmpty()) << told().join('\n').toStdString();
  ASSERT_TRUE(listShown());
  EXPECT_EQ(listed(), (QStringList{"01/09/2026 A", "01/09/2026 B", "02/03/2026 A",
                                   "02/03/2026 B"}));
  EXPECT_FALSE(child("GBPESQUISA")->isEnabled());
  clickButton(window_.get(), "BBNRETORNA");
  EXPECT_FALSE(listShown());
  EXPECT_TRUE(child("GBPESQUISA")->isEnabled());

  typeEnter(QStringLiteral("99"));
  EXPECT_EQ(told().last(), Msg::MatriculaNaoCadastrada + QLatin1Char('|'));
}

TEST_F(HistoryWindow, ADoubleClickReprintsTheRowsWorkoutWithItsRemarkInLowerCase) {
  open();
  typeEnter(QStringLiteral("12"));
  QTableView* list = child<QTableView>("DBGTREINO");
  list->setCurrentIndex(list->model()->index(3, 0));  // 02/03/2026 B
  emit list->doubleClicked(list->currentIndex());
  ASSERT_EQ(printed_.size(), 2) << printed_.join('\n').toStdString();
  EXPECT_TRUE(printed_[0].contains(QStringLiteral("B 02/03/2026")));
  EXPECT_EQ(printed_[1], QStringLiteral("SUPINO RETO    Obs: usar banco"));
}

TEST_F(HistoryWindow, DeleteAsksRemovesTheWorkoutAndHidesTheList) {
  open();
  typeEnter(QStringLiteral("12"));
  QTableView* list = child<QTableView>("DBGTREINO");
  list->setCurrentIndex(list->model()->index(0, 0));  // 01/09/2026 A
  testPrompter().answerNext(7);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(told(), QStringList{QStringLiteral("Treino: A|Deseja excluir?")});
  EXPECT_EQ(stored(), 4);
  EXPECT_FALSE(listShown());

  typeEnter(QStringLiteral("12"));
  list->setCurrentIndex(list->model()->index(0, 0));
  testPrompter().answerNext(6);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(stored(), 3);
  EXPECT_FALSE(listShown());
  typeEnter(QStringLiteral("12"));
  EXPECT_EQ(listed(), (QStringList{"01/09/2026 B", "02/03/2026 A", "02/03/2026 B"}));
}

TEST_F(HistoryWindow, ADeletionTheDatabaseRefusesClosesTheWindowAndGivesTheShortcutBack) {
  run("CREATE TRIGGER falha_exclusao BEFORE DELETE ON Alongamento BEGIN SELECT "
      "RAISE(ABORT, 'falha forçada'); END");
  run("INSERT INTO Alongamento (Matricula, Treino, Data, Obs) VALUES ('0000000012', 'A', "
      "'2026-09-01', 'x')");
  open();
  typeEnter(QStringLiteral("12"));
  QTableView* list = child<QTableView>("DBGTREINO");
  list->setCurrentIndex(list->model()->index(0, 0));
  testPrompter().answerNext(6);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(told().last(), Msg::GravandoNaTabela + QStringLiteral("|Banco de Dados"));
  EXPECT_EQ(stored(), 4);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(shortcut_.isEnabled());
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
}

}  // namespace
