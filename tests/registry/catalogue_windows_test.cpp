#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "registry/exercise_window.h"
#include "registry/muscle_group_window.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class CatalogueWindowsTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    setSetting(QStringLiteral("GrupamentoMuscular"), QStringLiteral("Sim"));
    ASSERT_TRUE(ABRE_CONTROLE(session_));
    window_->applyMenuSettings();
    runSql(
        workout(),
        QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?), (?, ?)"),
        {QStringLiteral("04"), QStringLiteral("BICEPS"), QStringLiteral("10"),
         QStringLiteral("ABDOMEN")});
    RangeListingWindow::setReportOutput([this](const Report& report, bool preview, QWidget*) {
      printed_ << QStringLiteral("%1:%2:%3")
                      .arg(report.name, preview ? "video" : "impressora")
                      .arg(report.rows.size());
    });
  }
  void TearDown() override {
    RangeListingWindow::setReportOutput(nullptr);
    TFRMCADASTROEXERCICIOS::setVideoFileChooser(nullptr);
    FrameFixture::TearDown();
  }

  QStringList printed_;
};

// On a 1366 x 768 screen the window opens whole inside the frame.
TEST_F(CatalogueWindowsTest, TheExerciseWindowOpensInsideASmallFrame) {
  window_->setGeometry(0, 0, 1366, 768);
  QCoreApplication::processEvents();
  auto* w = openEntry<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
  ASSERT_TRUE(frame);
  const QRect room = window_->mdiArea()->viewport()->rect();
  EXPECT_TRUE(room.contains(frame->geometry()))
      << frame->geometry().width() << "x" << frame->geometry().height() << " in " << room.width()
      << "x" << room.height();
}

TEST_F(CatalogueWindowsTest, MuscleGroupInsertAndARefusedDuplicate) {
  auto* w = openEntry<TFRMGRUPAMENTOMUSCULAR>("MNGrupamentoMuscular");
  ASSERT_TRUE(w);
  clickButton(w, "SBINCLUIR");
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("7"));
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->text(), QStringLiteral("07"));
  typeEnter(w, "DBEDTDESCRICAO", QStringLiteral("gluteos"));
  clickButton(w, "BBNCONFIRMA");
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Grupamentos Musculares"));
  EXPECT_EQ(scalarSql(workout(),
                      QStringLiteral("SELECT DESCRICAO FROM GrupamentoMuscular WHERE CODIGO = ?"),
                      {QStringLiteral("07")})
                .toString(),
            QStringLiteral("GLUTEOS"));

  clickButton(w, "SBINCLUIR");
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("4"));
  typeEnter(w, "DBEDTDESCRICAO", QStringLiteral("OUTRO"));
  clickButton(w, "BBNCONFIRMA");
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  // Ready for a new insert at once.
  EXPECT_EQ(w->mode(), RegistryWindow::Mode::Insert);
  EXPECT_TRUE(w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->hasFocus());
}

TEST_F(CatalogueWindowsTest, MuscleGroupListingPreviewsTheRange) {
  auto* w = openEntry<TFRMGRUPAMENTOMUSCULAR>("MNGrupamentoMuscular");
  ASSERT_TRUE(w);
  QTimer::singleShot(0, [this] {
    auto* listing = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(listing);
    typeEnter(listing, "EDTCODIGOINICIAL", QStringLiteral("10"));
    typeEnter(listing, "EDTCODIGOFINAL", QStringLiteral("4"));  // "04" is before "10"
    EXPECT_EQ(testPrompter().texts().last(), Msg::IntervaloInvalido);
    typeEnter(listing, "EDTCODIGOFINAL", QString());  // the last code
    clickButton(listing, "BBNVIDEO");
    typeEnter(listing, "EDTCODIGOINICIAL", QString());
    typeEnter(listing, "EDTCODIGOFINAL", QString());
    clickButton(listing, "BBNIMPRIME");
    clickButton(listing, "BBNRETORNA");
  });
  clickButton(w, "SBCONSULTAR");
  EXPECT_EQ(printed_, (QStringList{"Consulta de Grupamento Muscular:video:1",
                                   "Consulta de Grupamento Muscular:impressora:2"}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Grupamento Muscular"));
}

TEST_F(CatalogueWindowsTest, ExerciseInsertTheChainAndTheDuplicate) {
  runSql(workout(),
         QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, ?)"),
         {QStringLiteral("007"), QStringLiteral("REMADA"), QStringLiteral("N")});
  auto* w = openEntry<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  clickButton(w, "SBINCLUIR");
  auto* code = w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"));
  code->setFocus();
  QTest::keyClicks(code, QStringLiteral("a7b"));  // only digits go in
  EXPECT_EQ(code->text(), QStringLiteral("7"));
  QTest::keyClick(code, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  EXPECT_TRUE(code->text().isEmpty());
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("12"));
  typeEnter(w, "DBEDTAPARELHO", QStringLiteral("5"));
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTAPARELHO"))->text(),
            QStringLiteral("005"));
  typeEnter(w, "DBEDTDESCRICAO", QStringLiteral("rosca scott"));
  typeEnter(w, "DBEDTDESCRICAOABREVIADA", QStringLiteral("rosca"));
  auto* tipo = w->findChild<QComboBox*>(QStringLiteral("DBEDTTIPOAEROBICO"));
  EXPECT_EQ(tipo->currentText(), QStringLiteral("Não"));
  QTest::keyClick(tipo, Qt::Key_Return);
  typeEnter(w, "DBEDTCAMINHO_VIDEO", QString());
  typeEnter(w, "DBEDTCODIGO_G", QStringLiteral("9"));  // no group 09
  EXPECT_EQ(testPrompter().texts().last(), Msg::CodigoIncorreto);
  typeEnter(w, "DBEDTCODIGO_G", QStringLiteral("4"));
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("LBLDESCRICAOMUSCULAR"))->text(),
            QStringLiteral("BICEPS"));
  clickButton(w, "BBNCONFIRMA");
  QSqlQuery row =
      runSql(workout(),
             QStringLiteral("SELECT Aparelho, Descricao, Tipo, CODIGO_G FROM Exercicios "
                            "WHERE Codigo = ?"),
             {QStringLiteral("012")});
  ASSERT_TRUE(row.next());
  EXPECT_EQ(row.value(0).toString(), QStringLiteral("005"));
  EXPECT_EQ(row.value(1).toString(), QStringLiteral("ROSCA SCOTT"));
  EXPECT_EQ(row.value(2).toString(), QStringLiteral("N"));
  EXPECT_EQ(row.value(3).toString(), QStringLiteral("04"));
}

TEST_F(CatalogueWindowsTest, AVideoThatCannotPlayGoesAwayAtTheNextTick) {
  runSql(workout(),
         QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Caminho_Video) VALUES "
                        "(?, ?, ?, ?), (?, ?, ?, ?)"),
         {QStringLiteral("001"), QStringLiteral("SEM VIDEO"), QStringLiteral("N"), QVariant(),
          QStringLiteral("002"), QStringLiteral("VIDEO FALSO"), QStringLiteral("N"),
          QStringLiteral("/nao/existe.avi")});
  auto* w = openEntry<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  clickButton(w, "SBALTERAR");
  clickButton(w, "BBNVIDEO");
  ASSERT_FALSE(testPrompter().messages().isEmpty());
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Exercício sem Vídeo"));
  clickButton(w, "BBNCANCELA");
  w->findChild<QTableView*>(QStringLiteral("DBGEXERCICIOS"))
      ->setCurrentIndex(w->model()->index(1, 0));
  clickButton(w, "SBALTERAR");
  clickButton(w, "BBNVIDEO");
  EXPECT_TRUE(w->videoTimer()->isActive());
  EXPECT_FALSE(w->findChild<QPushButton*>(QStringLiteral("BBNVIDEO"))->isEnabled());
  w->videoTimer()->setInterval(20);  // the next tick, sooner
  for (int i = 0; i < 300 && w->videoTimer()->isActive(); ++i) QTest::qWait(10);
  EXPECT_FALSE(w->videoTimer()->isActive());
  EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("BBNVIDEO"))->isEnabled());
  EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("MEDIAPLAYER"))->isVisible());
}

TEST_F(CatalogueWindowsTest, WithGroupsOnAndNoneStoredTheExerciseWindowDoesNotOpen) {
  runSql(workout(), QStringLiteral("DELETE FROM GrupamentoMuscular"));
  ASSERT_TRUE(ABRE_CONTROLE(session_));
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(window_->mdiArea()->subWindowList().isEmpty());
  ASSERT_FALSE(testPrompter().messages().isEmpty());
  EXPECT_EQ(testPrompter().messages().first().text, Msg::TabelaVazia);
  EXPECT_EQ(testPrompter().messages().first().detail, QStringLiteral("GrupamentoMuscular"));
  EXPECT_TRUE(window_->entry(QStringLiteral("MNEXERCICIOS"))->isEnabled());
}

}  // namespace
