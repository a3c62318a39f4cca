#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolButton>

#include "app/main_window.h"
#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "forms/child_window.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

// A window whose tables open or fail as the test says.
class ProbeWindow : public ChildWindow {
 public:
  ProbeWindow(Session& session, bool opens) : ChildWindow(session), opens_(opens) {
    setWindowTitle(QStringLiteral("Teste"));
  }

 protected:
  bool ABRE_TABELAS() override { return opens_; }

 private:
  bool opens_;
};

class MainWindowTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    window_ = std::make_unique<TFRMSEPRINCIPAL>(session_);
    window_->resize(1000, 600);
    window_->show();
    ASSERT_TRUE(window_->start());
  }
  void TearDown() override {
    window_.reset();
    ShellFixture::TearDown();
  }

  QStringList namesIn(const QString& menu) const {
    QStringList names;
    for (QAction* a : window_->findChild<QMenu*>(menu)->actions())
      if (a->isVisible()) names << a->objectName();
    return names;
  }

  int openChildren() const { return int(window_->mdiArea()->subWindowList().size()); }

  std::unique_ptr<TFRMSEPRINCIPAL> window_;
};

TEST_F(MainWindowTest, MenuInItsOrderWithItsCaptions) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Sistema de Exercício "));
  QStringList top;
  for (QAction* a : window_->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, (QStringList{"&Cadastro", "&Exercícios", "&Relatórios",
                              "&Agendar Montagem de Série", "&Utilitários", "S&obre", "&Sair"}));
  EXPECT_EQ(namesIn(QStringLiteral("MNEXERCICIOSMENU")),
            (QStringList{"MNTIPOEXERCICIO", "N9", "MNImpressodeSrie"}));
  EXPECT_EQ(
      namesIn(QStringLiteral("MNRELATORIOS")),
      (QStringList{"MnSeriesVencidas", "N1", "MnAvaliaesFeitas", "N11", "MnAvaliaesAgendadas"}));
  EXPECT_EQ(namesIn(QStringLiteral("MNUTILITARIOS")),
            (QStringList{"MNBACKUP", "N4", "MNRESTAURACAODOBACKUP", "N2", "MNAgendadeTreinos",
                         "N12", "MNAtualizaTreinosWeb", "N7", "MNPARAMETRIZACAODOUSUARIO", "N8",
                         "MNESVAZIARARQUIVOS", "N6", "MNREPARAMETRIZACAODOSISTEMA"}));
  EXPECT_EQ(window_->shortcut(QStringLiteral("SBAGENDA"))->toolTip(),
            QStringLiteral("Muda Usuário"));
}

TEST_F(MainWindowTest, SettingsHideTheEntriesTheySwitchOff) {
  const struct {
    const char* groups;
    const char* local;
    QStringList visible;
  } cases[] = {
      {"Não",
       "Sim",
       {"MNALUNOS", "MNEXERCICIOS", "N3", "MNFUNCIONARIO", "N5", "MNCADASTRODEUSUARIOS", "N10"}},
      {"Sim",
       "Sim",
       {"MNALUNOS", "N13", "MNGrupamentoMuscular", "N3", "MNEXERCICIOS", "N5", "MNFUNCIONARIO",
        "N10", "MNCADASTRODEUSUARIOS"}},
      {"Sim",
       "Não",
       {"N13", "MNGrupamentoMuscular", "MNEXERCICIOS", "N10", "MNCADASTRODEUSUARIOS"}},
      {"Não",
       "qualquer outro",
       {"MNALUNOS", "MNEXERCICIOS", "N3", "MNFUNCIONARIO", "N5", "MNCADASTRODEUSUARIOS", "N10"}},
  };
  for (const auto& c : cases) {
    setSetting(QStringLiteral("GrupamentoMuscular"), QString::fromUtf8(c.groups));
    setSetting(QStringLiteral("PATH_EXERCICIO"), QString::fromUtf8(c.local));
    ASSERT_TRUE(ABRE_CONTROLE(session_));
    window_->applyMenuSettings();
    QStringList visible = namesIn(QStringLiteral("MNCADASTRO"));
    QStringList expected = c.visible;
    visible.sort();
    expected.sort();
    EXPECT_EQ(visible, expected) << c.groups << " / " << c.local;
  }
  EXPECT_FALSE(window_->entry(QStringLiteral("MNGrupamentoMuscular"))->isEnabled());
  EXPECT_TRUE(window_->entry(QStringLiteral("MNGrupamentoMuscular"))->isChecked());
}

TEST_F(MainWindowTest, AGuardedWindowCountsTakesItsEntryAndGivesItBack) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  QAction* entry = window_->entry(QStringLiteral("MNEXERCICIOS"));
  ASSERT_TRUE(entry->isEnabled());
  window_->statusPanel(1)->clear();

  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 1);
  EXPECT_EQ(openChildren(), 1);
  EXPECT_FALSE(entry->isEnabled());
  EXPECT_TRUE(entry->isChecked());

  window_->mdiArea()->closeAllSubWindows();
  QCoreApplication::processEvents();
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_TRUE(entry->isEnabled());
  EXPECT_FALSE(entry->isChecked());
  EXPECT_EQ(window_->statusPanel(1)->text(), QStringLiteral("Usuário: MESTRE"));
}

TEST_F(MainWindowTest, AMaximisedWindowLeavesTheShortcutBarInPlace) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  QMdiSubWindow* frame = window_->mdiArea()->subWindowList().value(0);
  ASSERT_TRUE(frame);
  frame->showMaximized();
  QCoreApplication::processEvents();
  QWidget* bar = window_->findChild<QWidget*>(QStringLiteral("PNLATALHO"));
  ASSERT_TRUE(bar);
  EXPECT_EQ(window_->menuBar()->cornerWidget(Qt::TopRightCorner), bar);
  EXPECT_TRUE(bar->isVisible());
  frame->showNormal();
  QCoreApplication::processEvents();
  EXPECT_TRUE(bar->isVisible());
}

TEST_F(MainWindowTest, AWindowWhoseTablesFailClosesItselfAndFreesItsEntry) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, false); });
  window_->setChildWindow(QStringLiteral("MnSeriesVencidas"),
                          [this] { return new ProbeWindow(session_, false); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  EXPECT_TRUE(G().GBOL_FALHA_ABERTURA);
  EXPECT_TRUE(window_->entry(QStringLiteral("MNEXERCICIOS"))->isEnabled());
  // Some entries do not give themselves back at once; their window's close does.
  window_->openEntry(QStringLiteral("MnSeriesVencidas"));
  EXPECT_FALSE(window_->entry(QStringLiteral("MnSeriesVencidas"))->isEnabled());
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(openChildren(), 0);
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_TRUE(window_->entry(QStringLiteral("MnSeriesVencidas"))->isEnabled());
}

TEST_F(MainWindowTest, ARefusedEntryOpensNothing) {
  addUser(QStringLiteral("02"), QStringLiteral("INSTRUTOR"), QStringLiteral("TREINO"),
          {QStringLiteral("C_EXERCICIOS")});
  session_.setUser(QStringLiteral("02"));
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  EXPECT_EQ(openChildren(), 0);
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_TRUE(window_->entry(QStringLiteral("MNEXERCICIOS"))->isEnabled());
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::UsuarioSemAcesso});
}

TEST_F(MainWindowTest, LostDatabaseClosesTheWindowsAndInsistsOnReconnecting) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  ASSERT_EQ(openChildren(), 1);

  const QString file = QDir(home_.path()).filePath(QStringLiteral("vantrel.db"));
  const QString away = file + QStringLiteral(".fora");
  ASSERT_TRUE(QFile::rename(file, away));
  // The server comes back while the second message (the first failed reconnection) is up.
  testPrompter().onAsk = [&](const ScriptedPrompter::Shown&) {
    if (testPrompter().messages().size() == 2) QFile::rename(away, file);
  };
  window_->tick();
  QCoreApplication::processEvents();

  EXPECT_EQ(openChildren(), 0);
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  ASSERT_EQ(testPrompter().messages().size(), 2);
  for (const auto& shown : testPrompter().messages()) {
    EXPECT_EQ(shown.text, Msg::EntreEmContato);
    EXPECT_EQ(shown.detail, Msg::DetalheBancoRede);
  }
  EXPECT_TRUE(window_->timer()->isActive());
  EXPECT_TRUE(probeWorkoutDatabase(session_));
}

// A workout database that opens but does not answer is told once and the program ends:
// at start-up (a file of garbage) and while running (a table gone).
TEST_F(MainWindowTest, ADamagedWorkoutDatabaseIsToldOnceAndEndsTheProgram) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  runSql(workout(), QStringLiteral("DROP TABLE Agenda"));
  window_->tick();
  QCoreApplication::processEvents();
  EXPECT_EQ(openChildren(), 0);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->timer()->isActive());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::EntreEmContato);

  window_.reset();
  testPrompter().clear();
  const QString file = QDir(home_.path()).filePath(QStringLiteral("vantrel.db"));
  session_.disconnect();
  QFile garbage(file);
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
  garbage.write(QByteArray(8192, 'x'));
  garbage.close();
  TFRMSEPRINCIPAL frame(session_);
  EXPECT_FALSE(frame.start());
  EXPECT_FALSE(frame.timer()->isActive());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::EntreEmContato);
  QFile log(logFilePath());
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(log.readAll()).count(QStringLiteral("aberto mas sem resposta")), 2);
}

TEST_F(MainWindowTest, TickShowsBannerDateAndTimeAndKeepsTheAbsentButtonOffWhenAlone) {
  window_->tick();
  EXPECT_FALSE(window_->statusPanel(2)->text().isEmpty());
  EXPECT_EQ(window_->statusPanel(3)->text(),
            QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
  EXPECT_EQ(window_->statusPanel(4)->text().size(), 8);
  EXPECT_FALSE(window_->shortcut(QStringLiteral("SBAUSENTES"))->isEnabled());

  // Beside the gym-management program, absent members make the button blink.
  G().GBOL_SISTEMA_LOCAL = false;
  int tests = 0;
  window_->setAbsentTest([&] {
    ++tests;
    G().GBOL_TEM_AUSENTES = true;
  });
  QToolButton* absent = window_->shortcut(QStringLiteral("SBAUSENTES"));
  window_->tick();
  EXPECT_TRUE(absent->isEnabled());
  window_->tick();
  EXPECT_FALSE(absent->isEnabled());
  EXPECT_EQ(tests, 1);  // found once, not searched again
}

TEST_F(MainWindowTest, ExitWithAWindowOpenAsksTwice) {
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new ProbeWindow(session_, true); });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  window_->requestExit();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::FecheJanelasAbertas});
  testPrompter().answerNext(kAnswerYes);
  window_->requestExit();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(session_.workout().isOpen());
  EXPECT_EQ(window_->exitStep(), 2);
}

}  // namespace
