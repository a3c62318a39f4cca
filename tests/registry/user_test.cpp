#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/window_table.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/password.h"
#include "data/sql.h"
#include "registry/access_level_window.h"
#include "registry/user_listing_window.h"
#include "registry/user_store.h"
#include "registry/user_window.h"

#include <QProcess>
#include <QTemporaryDir>
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

TEST(UserRules, MasterUserAndPasswords) {
  EXPECT_EQ(padUserCode(QStringLiteral("7")), QStringLiteral("07"));
  EXPECT_EQ(padUserCode(QStringLiteral("12")), QStringLiteral("12"));
  EXPECT_FALSE(mayDeleteUser(QStringLiteral("01"), QStringLiteral("01")));
  EXPECT_FALSE(mayDeleteUser(QStringLiteral("02"), QStringLiteral("01")));
  EXPECT_FALSE(mayDeleteUser(QStringLiteral("02"), QStringLiteral("02")));
  EXPECT_TRUE(mayDeleteUser(QStringLiteral("01"), QStringLiteral("02")));
  EXPECT_FALSE(mayChangeUser(QStringLiteral("02"), QStringLiteral("01")));
  EXPECT_TRUE(mayChangeUser(QStringLiteral("01"), QStringLiteral("01")));
  EXPECT_TRUE(mayChangeUser(QStringLiteral("02"), QStringLiteral("03")));
  EXPECT_EQ(checkNewPasswords(QStringLiteral("ABCDE"), QStringLiteral("ABCDE"))->detail,
            QStringLiteral("Senha INCORRETA"));
  EXPECT_EQ(checkNewPasswords(QStringLiteral("ABCDEF"), QStringLiteral("ABCDEG"))->text,
            Msg::SenhaNaoConfere);
  EXPECT_FALSE(checkNewPasswords(QStringLiteral("ABC123"), QStringLiteral("ABC123")));
  EXPECT_EQ(toggledFlag(QStringLiteral("Sim")), QStringLiteral("Não"));
  EXPECT_EQ(toggledFlag(QStringLiteral("Não")), QStringLiteral("Sim"));
  EXPECT_EQ(toggledFlag(QString()), QStringLiteral("Sim"));
  EXPECT_EQ(permissionFlags().size(), 17);
  EXPECT_TRUE(allPermissionColumns().contains(QStringLiteral("C_ATIVIDADE")));
}

class UserWindowTest : public FrameFixture {
 protected:
  void SetUp() override { FrameFixture::SetUp(); }
  TFRMCADASTRODEUSUARIOS* open() {
    return openEntry<TFRMCADASTRODEUSUARIOS>("MNCADASTRODEUSUARIOS");
  }
  QString flag(const QString& code, const QString& column) {
    return scalarSql(workout(),
                     QStringLiteral("SELECT %1 FROM Usuarios WHERE CODIGO = ?").arg(column), {code})
        .toString();
  }
};

TEST_F(UserWindowTest, NewUserWithFullAccessGetsEveryFlag) {
  TFRMCADASTRODEUSUARIOS* w = open();
  ASSERT_TRUE(w);
  w->findChild<QPushButton*>(QStringLiteral("SBINCLUIR"))->click();
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("7"));
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->text(), QStringLiteral("07"));
  typeEnter(w, "DBEDTNOME", QStringLiteral("carla"));
  typeEnter(w, "EDTSENHANOVA", QStringLiteral("abc12"));
  typeEnter(w, "EDTSENHANOVARE", QStringLiteral("abc12"));
  w->findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->click();
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Senha INCORRETA"));
  typeEnter(w, "EDTSENHANOVA", QStringLiteral("abc123"));
  typeEnter(w, "EDTSENHANOVARE", QStringLiteral("abc123"));
  testPrompter().answerNext(kAnswerYes);
  w->findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->click();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Usuários"));
  for (const QString& column : allPermissionColumns())
    EXPECT_EQ(flag(QStringLiteral("07"), column), QStringLiteral("Sim")) << column.toStdString();
  EXPECT_TRUE(passwordMatches(QStringLiteral("ABC123"),
                              flag(QStringLiteral("07"), QStringLiteral("SENHA"))));
  EXPECT_EQ(flag(QStringLiteral("07"), QStringLiteral("NOME")), QStringLiteral("CARLA"));
}

TEST_F(UserWindowTest, NewUserWithoutFullAccessGetsNoAndTheAccessLevelsOpen) {
  TFRMCADASTRODEUSUARIOS* w = open();
  ASSERT_TRUE(w);
  w->findChild<QPushButton*>(QStringLiteral("SBINCLUIR"))->click();
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("01"));  // taken
  EXPECT_EQ(testPrompter().texts().last(), Msg::CodigoJaCadastrado);
  typeEnter(w, "DBEDTCODIGO", QStringLiteral("05"));
  typeEnter(w, "DBEDTNOME", QStringLiteral("DIEGO"));
  typeEnter(w, "EDTSENHANOVA", QStringLiteral("DIEGO1"));
  typeEnter(w, "EDTSENHANOVARE", QStringLiteral("DIEGO1"));
  testPrompter().answerNext(kAnswerNo);
  bool levelsShown = false;
  // The access-level window comes up through its menu entry: grant two flags there.
  QTimer::singleShot(0, [&] {
    auto* levels = qobject_cast<TFRMPARAMETRIZACAODOUSUARIO*>(QApplication::activeModalWidget());
    ASSERT_TRUE(levels);
    levelsShown = true;
    // The window starts on the user just created.
    EXPECT_EQ(levels->findChild<QLabel*>(QStringLiteral("LBLCODIGO"))->text(),
              QStringLiteral("05"));
    levels->findChild<QPushButton*>(QStringLiteral("BBNALTERAR"))->click();
    for (const char* column : {"C_ALUNOS", "C_EXERCICIOS"}) {
      QComboBox* list = levels->flagList(QString::fromLatin1(column));
      QTest::mouseDClick(list, Qt::LeftButton);
    }
    levels->findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->click();
    levels->findChild<QPushButton*>(QStringLiteral("SBSAIR"))->click();
  });
  w->findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->click();
  EXPECT_TRUE(levelsShown);
  EXPECT_EQ(flag(QStringLiteral("05"), QStringLiteral("C_ATIVIDADE")), QStringLiteral("Não"));
  EXPECT_EQ(flag(QStringLiteral("05"), QStringLiteral("C_ALUNOS")), QStringLiteral("Sim"));
  EXPECT_EQ(flag(QStringLiteral("05"), QStringLiteral("C_EXERCICIOS")), QStringLiteral("Sim"));
  EXPECT_EQ(flag(QStringLiteral("05"), QStringLiteral("U_BACKUP")), QStringLiteral("Não"));
}

TEST_F(UserWindowTest, MasterAndSelfCannotBeDeletedAndWrongPasswordsClose) {
  addUser(QStringLiteral("02"), QStringLiteral("INSTRUTOR"), QStringLiteral("TREINO"));
  session_.setUser(QStringLiteral("02"));
  TFRMCADASTRODEUSUARIOS* w = open();
  ASSERT_TRUE(w);
  auto* grid = w->findChild<QTableView*>(QStringLiteral("DBGCADASTROUSUARIOS"));
  grid->setCurrentIndex(grid->model()->index(0, 0));  // 01, the master user
  w->findChild<QPushButton*>(QStringLiteral("SBEXCLUIR"))->click();
  w->findChild<QPushButton*>(QStringLiteral("SBALTERAR"))->click();
  EXPECT_EQ(testPrompter().texts(),
            (QStringList{Msg::DadoNaoPodeSerAlterado, Msg::DadoNaoPodeSerAlterado}));
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("MESTRE"));
  grid->setCurrentIndex(grid->model()->index(1, 0));  // 02, oneself
  w->findChild<QPushButton*>(QStringLiteral("SBEXCLUIR"))->click();
  EXPECT_EQ(testPrompter().texts().size(), 3);
  EXPECT_EQ(w->mode(), RegistryWindow::Mode::Browse);

  // Three wrong current passwords close the registry.
  w->findChild<QPushButton*>(QStringLiteral("SBALTERAR"))->click();
  for (int i = 0; i < 3; ++i) typeEnter(w, "EDTSENHAATUAL", QStringLiteral("ERRADA"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(window_->mdiArea()->subWindowList().isEmpty());
}

}  // namespace

namespace {

class UserListingTest : public ShellFixture {};

TEST_F(UserListingTest, TheUserListPrintsTheRange) {
  addUser(QStringLiteral("02"), QStringLiteral("BRUNA"), QStringLiteral("AAAAAA"));
  addUser(QStringLiteral("03"), QStringLiteral("CAIO"), QStringLiteral("AAAAAA"));
  G().GSTR_ACADEMIA = QStringLiteral("ACADEMIA TESTE");
  const Result<Report> report =
      userListing(workout(), {QStringLiteral("02"), QStringLiteral("03")});
  ASSERT_TRUE(report);
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("usuarios.pdf"));
  ASSERT_TRUE(writePdf(*report, pdf));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(20000));
  const QString out = QString::fromUtf8(text.readAllStandardOutput());
  for (const char* expected : {"Consulta de Usuários", "ACADEMIA TESTE", "02 à 03",
                               "Nome do Usuário", "BRUNA", "CAIO", "Página:"})
    EXPECT_TRUE(out.contains(QString::fromUtf8(expected))) << expected << "\n" << out.toStdString();
  EXPECT_FALSE(out.contains(QStringLiteral("MESTRE")));
  EXPECT_LT(out.indexOf(QStringLiteral("BRUNA")), out.indexOf(QStringLiteral("CAIO")));
}

}  // namespace
