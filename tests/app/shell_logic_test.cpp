#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include "app/application.h"
#include "app/shell_logic.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "data/users_table.h"
#include "forms/session.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

TEST(Banner, RotatesByNineCharactersOnlyWhenItDoesNotFit) {
  const QString banner = QStringLiteral("0123456789ABCDEFGHIJ");  // 20 characters
  EXPECT_EQ(rotateBanner(banner, 400), banner);                   // 20 places left: fits exactly
  EXPECT_EQ(rotateBanner(banner, 399), QStringLiteral("9ABCDEFGHIJ012345678"));
  EXPECT_EQ(rotateBanner(banner, 100), QStringLiteral("9ABCDEFGHIJ012345678"));
  // Twenty steps of nine bring it back: the text is only ever rotated, never lost.
  QString rotating = banner;
  for (int i = 0; i < 20; ++i) rotating = rotateBanner(rotating, 0);
  EXPECT_EQ(rotating, banner);
}

TEST(ExitSequence, AsksToCloseWindowsThenToBeSure) {
  ScriptedPrompter& prompter = testPrompter();
  prompter.clear();
  ExitSequence none;
  EXPECT_TRUE(none.request(0));
  EXPECT_TRUE(prompter.messages().isEmpty());

  ExitSequence open;
  EXPECT_FALSE(open.request(1));
  EXPECT_EQ(prompter.texts(), QStringList{Msg::FecheJanelasAbertas});
  EXPECT_EQ(open.step(), 1);
  prompter.answerNext(kAnswerNo);
  EXPECT_FALSE(open.request(1));
  EXPECT_EQ(open.step(), 1);
  prompter.answerNext(kAnswerYes);
  EXPECT_TRUE(open.request(1));
  EXPECT_EQ(open.step(), 2);
  EXPECT_EQ(prompter.texts(),
            (QStringList{Msg::FecheJanelasAbertas, Msg::TemCertezaFormulariosFechados,
                         Msg::TemCertezaFormulariosFechados}));
}

class ShellLogicTest : public ShellFixture {};

TEST_F(ShellLogicTest, SettingsGoIntoTheProcessValues) {
  setSetting(QStringLiteral("ACADEMIA"),
             QStringLiteral("ACADEMIA COM UM NOME BEM MAIS LONGO QUE O CAMPO"));
  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Não"));
  setSetting(QStringLiteral("Alunos_Ausentes"), 15);
  setSetting(QStringLiteral("CLIENTE"), 4321.0);
  setSetting(QStringLiteral("SMTP_PROVEDOR"), QStringLiteral("smtp.exemplo.com.br * 587"));
  ASSERT_TRUE(ABRE_CONTROLE(session_));
  const Globals& g = G();
  EXPECT_EQ(g.GSTR_ACADEMIA.str(), QStringLiteral("ACADEMIA COM UM NOME BEM MAIS LONGO"));  // 35
  EXPECT_FALSE(g.GBOL_SISTEMA_LOCAL);
  EXPECT_EQ(g.GINT_DIAS_AUSENTES, 15);
  EXPECT_EQ(g.GFLT_CLIENTE, 4321.0);
  EXPECT_EQ(g.GSTR_SMTP_PROVEDOR.str(), QStringLiteral("smtp.exemplo.com.br * 587"));
  EXPECT_EQ(g.GSTR_GRUPAMENTO_MUSCULAR, QStringLiteral("Não"));

  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("qualquer"));
  ASSERT_TRUE(ABRE_CONTROLE(session_));
  EXPECT_TRUE(G().GBOL_SISTEMA_LOCAL);

  runSql(workout(), QStringLiteral("DROP TABLE Secvar"));
  EXPECT_FALSE(ABRE_CONTROLE(session_));
  EXPECT_FALSE(G().GBOL_CONTROLE_OK);
  EXPECT_TRUE(testPrompter().messages().isEmpty());  // silent: the login reports it
}

TEST_F(ShellLogicTest, GuardedEntryFollowsTheFlags) {
  addUser(QStringLiteral("02"), QStringLiteral("INSTRUTOR"), QStringLiteral("TREINO"),
          {QStringLiteral("C_ALUNOS")});
  setFlag(QStringLiteral("02"), QStringLiteral("AGENDA"), QString());
  const GuardedEntry members{QStringLiteral("C_ALUNOS"), QString(), true};
  const GuardedEntry agenda{QStringLiteral("AGENDA"), QStringLiteral("MONTAGEM DE SÉRIE"), false};

  EXPECT_TRUE(authoriseEntry(session_, members));  // the master user has every flag
  EXPECT_FALSE(session_.TBLUSUARIOS().isOpen());

  session_.setUser(QStringLiteral("02"));
  int asked = 0;
  session_.shell().reauthenticate = ([&] { ++asked; });
  EXPECT_FALSE(authoriseEntry(session_, members));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::UsuarioSemAcesso});

  // Neither "Sim" nor "Não": refused without asking anybody, with the entry's detail.
  testPrompter().clear();
  EXPECT_FALSE(authoriseEntry(session_, agenda));
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("MONTAGEM DE SÉRIE"));

  // Another user authorises one opening; the logged-in user stays the same.
  session_.shell().reauthenticate = ([&] {
    G().GSTR_USUARIO = QStringLiteral("01");
    session_.TBLUSUARIOS().locate(QStringLiteral("01"));
  });
  EXPECT_TRUE(authoriseEntry(session_, members));
  EXPECT_EQ(G().GSTR_USUARIO.str(), QStringLiteral("02"));

  // Too many failures in the dialog close the table: nothing opens.
  session_.shell().reauthenticate = ([this] { session_.TBLUSUARIOS().close(); });
  testPrompter().clear();
  EXPECT_FALSE(authoriseEntry(session_, members));
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::UsuarioSemAcesso});
}

TEST_F(ShellLogicTest, GuardedEntryWithoutUsersOrSettingsTables) {
  runSql(workout(), QStringLiteral("DROP TABLE Secvar"));
  EXPECT_FALSE(authoriseEntry(session_, {QStringLiteral("C_ALUNOS"), QString(), true}));
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Controle"));
  EXPECT_TRUE(authoriseEntry(session_, {QStringLiteral("C_EXERCICIOS"), QString(), false}));

  testPrompter().clear();
  runSql(workout(), QStringLiteral("DROP TABLE Usuarios"));
  EXPECT_FALSE(authoriseEntry(session_, {QStringLiteral("C_EXERCICIOS"), QString(), false}));
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::AberturaDeTabela, Msg::RegistroJaAlocado}));
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Usuarios"));
}

TEST_F(ShellLogicTest, ClosingTheLastWindowPutsTheUserBack) {
  QStringList written;
  session_.shell().writeStatusPanel = ([&](int panel, const QString& text) {
    written << QStringLiteral("%1:%2").arg(panel).arg(text);
  });
  G().GINT_JANELAS_ABERTAS = 2;
  EXPECT_TRUE(VOLTA_USUARIO(session_));
  EXPECT_TRUE(written.isEmpty());  // one window still open
  EXPECT_TRUE(VOLTA_USUARIO(session_));
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_EQ(written, QStringList{QStringLiteral("1:Usuário: MESTRE")});

  runSql(workout(), QStringLiteral("DROP TABLE Usuarios"));
  G().GINT_JANELAS_ABERTAS = 1;
  EXPECT_FALSE(VOLTA_USUARIO(session_));
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::AberturaDeTabela});
}

}  // namespace

namespace {

// The file dialog of a restore and the buttons of Qt's own boxes speak the program's language.
TEST(QtTranslation, QtsOwnWindowsSpeakPortuguese) {
  ASSERT_TRUE(installQtTranslation(*QCoreApplication::instance()));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
            QStringLiteral("&Nome do arquivo:"));
  for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace
