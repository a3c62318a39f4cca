#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/window_table.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "registry/exercise_window.h"
#include "registry/muscle_group_window.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class CatalogueWindowsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("GrupamentoMuscular"), QStringLiteral("Sim"));
    runSql(workout(), QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?), (?, ?)"),
           {QStringLiteral("04"), QStringLiteral("BICEPS"), QStringLiteral("10"), QStringLiteral("ABDOMEN")});
    window_ = std::make_unique<TFRMSEPRINCIPAL>();
    installWindows(*window_);
    window_->show();
    ASSERT_TRUE(window_->start());
    RangeListingWindow::setReportOutput([this](const Report& report, bool preview, QWidget*) {
      printed_ << QStringLiteral("%1:%2:%3").arg(report.name, preview ? "video" : "impressora").arg(report.rows.size());
    });
  }
  void TearDown() override {
    RangeListingWindow::setReportOutput(nullptr);
    TFRMCADASTROEXERCICIOS::setVideoFileChooser(nullptr);
    window_.reset();
    ShellFixture::TearDown();
  }
  template <typename T>
  T* open(const char* entry) {
    window_->openEntry(QString::fromLatin1(entry));
    return window_->findChild<T*>();
  }
  void type(QWidget* w, const char* name, const QString& text) {
    auto* line = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_TRUE(line && line->isEnabled()) << name;
    line->setFocus();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  }
  void click(QWidget* w, const char* name) {
    auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_TRUE(b) << name;
    b->click();
  }

  std::unique_ptr<TFRMSEPRINCIPAL> window_;
  QStringList printed_;
};

TEST_F(CatalogueWindowsTest, MuscleGroupInsertAndARefusedDuplicate) {
  auto* w = open<TFRMGRUPAMENTOMUSCULAR>("MNGrupamentoMuscular");
  ASSERT_TRUE(w);
  click(w, "SBINCLUIR");
  type(w, "DBEDTCODIGO", QStringLiteral("7"));
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->text(), QStringLiteral("07"));
  type(w, "DBEDTDESCRICAO", QStringLiteral("gluteos"));
  click(w, "BBNCONFIRMA");
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Grupamentos Musculares"));
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT DESCRICAO FROM GrupamentoMuscular WHERE CODIGO = ?"),
                      {QStringLiteral("07")}).toString(),
            QStringLiteral("GLUTEOS"));

  click(w, "SBINCLUIR");
  type(w, "DBEDTCODIGO", QStringLiteral("4"));
  type(w, "DBEDTDESCRICAO", QStringLiteral("OUTRO"));
  click(w, "BBNCONFIRMA");
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  // Ready for a new insert at once.
  EXPECT_EQ(w->mode(), RegistryWindow::Mode::Insert);
  EXPECT_TRUE(w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->hasFocus());
}

TEST_F(CatalogueWindowsTest, MuscleGroupListingPreviewsTheRange) {
  auto* w = open<TFRMGRUPAMENTOMUSCULAR>("MNGrupamentoMuscular");
  ASSERT_TRUE(w);
  QTimer::singleShot(0, [this] {
    auto* listing = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(listing);
    type(listing, "EDTCODIGOINICIAL", QStringLiteral("10"));
    type(listing, "EDTCODIGOFINAL", QStringLiteral("4"));  // "04" is before "10"
    EXPECT_EQ(testPrompter().texts().last(), Msg::IntervaloInvalido);
    type(listing, "EDTCODIGOFINAL", QString());  // the last code
    click(listing, "BBNVIDEO");
    type(listing, "EDTCODIGOINICIAL", QString());
    type(listing, "EDTCODIGOFINAL", QString());
    click(listing, "BBNIMPRIME");
    click(listing, "BBNRETORNA");
  });
  click(w, "SBCONSULTAR");
  EXPECT_EQ(printed_, (QStringList{"Consulta de Grupamento Muscular:video:1",
                                    "Consulta de Grupamento Muscular:impressora:2"}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Grupamento Muscular"));
}

TEST_F(CatalogueWindowsTest, ExerciseInsertTheChainAndTheDuplicate) {
  runSql(workout(), QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, ?)"),
         {QStringLiteral("007"), QStringLiteral("REMADA"), QStringLiteral("N")});
  auto* w = open<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  click(w, "SBINCLUIR");
  auto* code = w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"));
  code->setFocus();
  QTest::keyClicks(code, QStringLiteral("a7b"));  // only digits go in
  EXPECT_EQ(code->text(), QStringLiteral("7"));
  QTest::keyClick(code, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  EXPECT_TRUE(code->text().isEmpty());
  type(w, "DBEDTCODIGO", QStringLiteral("12"));
  type(w, "DBEDTAPARELHO", QStringLiteral("5"));
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTAPARELHO"))->text(), QStringLiteral("005"));
  type(w, "DBEDTDESCRICAO", QStringLiteral("rosca scott"));
  type(w, "DBEDTDESCRICAOABREVIADA", QStringLiteral("rosca"));
  auto* tipo = w->findChild<QComboBox*>(QStringLiteral("DBEDTTIPOAEROBICO"));
  EXPECT_EQ(tipo->currentText(), QStringLiteral("Não"));
  QTest::keyClick(tipo, Qt::Key_Return);
  type(w, "DBEDTCAMINHO_VIDEO", QString());
  type(w, "DBEDTCODIGO_G", QStringLiteral("9"));  // no group 09
  EXPECT_EQ(testPrompter().texts().last(), Msg::CodigoIncorreto);
  type(w, "DBEDTCODIGO_G", QStringLiteral("4"));
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("LBLDESCRICAOMUSCULAR"))->text(), QStringLiteral("BICEPS"));
  click(w, "BBNCONFIRMA");
  QSqlQuery row = runSql(workout(), QStringLiteral("SELECT Aparelho, Descricao, Tipo, CODIGO_G FROM Exercicios "
                                                   "WHERE Codigo = ?"), {QStringLiteral("012")});
  ASSERT_TRUE(row.next());
  EXPECT_EQ(row.value(0).toString(), QStringLiteral("005"));
  EXPECT_EQ(row.value(1).toString(), QStringLiteral("ROSCA SCOTT"));
  EXPECT_EQ(row.value(2).toString(), QStringLiteral("N"));
  EXPECT_EQ(row.value(3).toString(), QStringLiteral("04"));
}

TEST_F(CatalogueWindowsTest, AVideoThatCannotPlayGoesAwayAtTheNextTick) {
  runSql(workout(), QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Caminho_Video) VALUES (?, ?, ?, ?), (?, ?, ?, ?)"),
         {QStringLiteral("001"), QStringLiteral("SEM VIDEO"), QStringLiteral("N"), QVariant(),
          QStringLiteral("002"), QStringLiteral("VIDEO FALSO"), QStringLiteral("N"), QStringLiteral("/nao/existe.avi")});
  auto* w = open<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  click(w, "SBALTERAR");
  click(w, "BBNVIDEO");
  ASSERT_FALSE(testPrompter().messages().isEmpty());
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Exercício sem Vídeo"));
  click(w, "BBNCANCELA");
  w->findChild<QTableView*>(QStringLiteral("DBGEXERCICIOS"))->setCurrentIndex(w->model()->index(1, 0));
  click(w, "SBALTERAR");
  click(w, "BBNVIDEO");
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
  ASSERT_TRUE(ABRE_CONTROLE());
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(window_->mdiArea()->subWindowList().isEmpty());
  ASSERT_FALSE(testPrompter().messages().isEmpty());
  EXPECT_EQ(testPrompter().messages().first().text, Msg::TabelaVazia);
  EXPECT_EQ(testPrompter().messages().first().detail, QStringLiteral("GrupamentoMuscular"));
  EXPECT_TRUE(window_->entry(QStringLiteral("MNEXERCICIOS"))->isEnabled());
}

}  // namespace
