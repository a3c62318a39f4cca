#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/gui_prompter.h"

namespace {

// Each test talks to a prompter of its own and puts the previous one back afterwards.
class MensagemTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = &currentPrompter();
    installPrompter(&prompter_);
  }
  void TearDown() override { installPrompter(previous_); }

  ScriptedPrompter prompter_;
  Prompter* previous_ = nullptr;
};

TEST_F(MensagemTest, BuildsTheBoxFromKindTextAndDetail) {
  struct Case {
    QString kind, text, detail;
    int scripted;  // queued answer, 0 for none
    PromptKind shownAs;
    QString body;
    int answer;
  } cases[] = {
      {"!", Msg::TabelaVazia, "", 0, PromptKind::Information, "Tabela vazia !", 1},
      {"!", Msg::TabelaVazia, "Usuarios", 0, PromptKind::Information, "Tabela vazia !\n\rUsuarios",
       1},
      {"?", Msg::DesejaEnviarEmails, "", 6, PromptKind::Question, "Deseja Enviar e-mail(s) ?", 6},
      {"?", Msg::DesejaEnviarEmails, "", 7, PromptKind::Question, "Deseja Enviar e-mail(s) ?", 7},
      {"?", Msg::AgendarAluno, Msg::AgendamentoDeAula, 6, PromptKind::Question,
       "Agendar Aluno(a) ?\n\rAgendamento de Aula", 6},
      // Only exactly "!" is information; anything else asks.
      {"", "x", "", 6, PromptKind::Question, "x", 6},
      {"!!", "x", "", 6, PromptKind::Question, "x", 6},
      {" !", "x", "", 6, PromptKind::Question, "x", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("kind '" + c.kind.toStdString() + "' text '" + c.text.toStdString() + "'");
    prompter_.clear();
    if (c.scripted) prompter_.answerNext(c.scripted);

    EXPECT_EQ(MENSAGEM(c.kind, c.text, c.detail), c.answer);

    ASSERT_EQ(prompter_.messages().size(), 1);
    const ScriptedPrompter::Shown& shown = prompter_.messages().front();
    EXPECT_EQ(shown.kind, c.shownAs);
    EXPECT_EQ(shown.caption, QStringLiteral("Vantrel"));
    EXPECT_EQ(shown.body, c.body);
    EXPECT_EQ(shown.text, c.text);
    EXPECT_EQ(shown.detail, c.detail);
    EXPECT_EQ(shown.answer, c.answer);
    EXPECT_FALSE(shown.unscripted);
    EXPECT_EQ(prompter_.beeps(), 1);
    EXPECT_EQ(prompter_.pendingAnswers(), 0);
  }
}

TEST_F(MensagemTest, BeepsBeforeTheBoxIsShown) {
  int beepsWhileShown = -1;
  prompter_.onAsk = [&](const ScriptedPrompter::Shown&) { beepsWhileShown = prompter_.beeps(); };
  MENSAGEM("!", Msg::FimDeProcesso);
  EXPECT_EQ(beepsWhileShown, 1);
}

TEST_F(MensagemTest, UnscriptedQuestionsAnswerNoAndInformationLeavesTheQueueAlone) {
  EXPECT_EQ(MENSAGEM("?", Msg::ConfirmaEnvioEmail), 7);
  EXPECT_TRUE(prompter_.messages().back().unscripted);
  EXPECT_EQ(prompter_.unscriptedQuestions(), 1);

  prompter_.answerNext(6);
  EXPECT_EQ(MENSAGEM("!", Msg::EmailEnviadoComSucesso), 1);
  EXPECT_EQ(prompter_.pendingAnswers(), 1);
  EXPECT_EQ(MENSAGEM("?", Msg::ConfirmaEnvioEmail), 6);
  EXPECT_EQ(prompter_.unscriptedQuestions(), 1);
  EXPECT_EQ(prompter_.texts(), QStringList({Msg::ConfirmaEnvioEmail, Msg::EmailEnviadoComSucesso,
                                            Msg::ConfirmaEnvioEmail}));
  EXPECT_EQ(prompter_.beeps(), 3);

  prompter_.clear();
  EXPECT_TRUE(prompter_.messages().isEmpty());
  EXPECT_EQ(prompter_.beeps(), 0);
  EXPECT_EQ(prompter_.unscriptedQuestions(), 0);
}

TEST_F(MensagemTest, OnAskCanAnswerTheBoxAndShowAnotherWhileItIsUp) {
  prompter_.onAsk = [&](const ScriptedPrompter::Shown& shown) {
    if (shown.text == Msg::AgendarAluno) {
      prompter_.answerNext(6);
      MENSAGEM("!", Msg::AulaColetivaSemVaga, Msg::AgendamentoDeAula);
    }
  };
  EXPECT_EQ(MENSAGEM("?", Msg::AgendarAluno, Msg::AgendamentoDeAula), 6);

  ASSERT_EQ(prompter_.messages().size(), 2);
  EXPECT_EQ(prompter_.messages()[0].text, Msg::AgendarAluno);
  EXPECT_EQ(prompter_.messages()[0].answer, 6);
  EXPECT_EQ(prompter_.messages()[1].text, Msg::AulaColetivaSemVaga);
  EXPECT_EQ(prompter_.messages()[1].detail, Msg::AgendamentoDeAula);
  EXPECT_EQ(prompter_.messages()[1].answer, 1);
}

TEST_F(MensagemTest, DirectAskRecordsTheBodyAsText) {
  EXPECT_EQ(prompter_.ask(PromptKind::Information, "c", "body"), 1);
  EXPECT_EQ(prompter_.messages().back().text, QStringLiteral("body"));
  EXPECT_TRUE(prompter_.messages().back().detail.isEmpty());
}

// A prompter that shows windows, as the desktop program's does.
class WindowPrompter : public ScriptedPrompter {
 public:
  bool boundToProgramThread() const override { return true; }
};

TEST(Mensagem, AWorkerThreadsQuestionIsAskedByTheProgramsThreadAndAnswered) {
  WindowPrompter prompter_;
  Prompter* previous = &currentPrompter();
  installPrompter(&prompter_);
  prompter_.answerNext(6);
  std::atomic<int> answer = 0;
  std::atomic<bool> askedOnMainThread = false;
  prompter_.onAsk = [&](const ScriptedPrompter::Shown&) {
    askedOnMainThread = QThread::currentThread() == qApp->thread();
  };
  QThread* worker = QThread::create([&] { answer = MENSAGEM("?", Msg::ConfirmaEnvioEmail); });
  worker->start();
  // The question waits for this thread's event loop; the worker waits for the answer.
  while (!worker->wait(10)) QCoreApplication::processEvents();
  delete worker;
  EXPECT_EQ(answer, 6);
  EXPECT_TRUE(askedOnMainThread);
  EXPECT_EQ(prompter_.texts(), QStringList{Msg::ConfirmaEnvioEmail});
  installPrompter(previous);
}

TEST(Prompter, NullRestoresTheConsoleDefault) {
  Prompter* previous = &currentPrompter();
  installPrompter(nullptr);
  EXPECT_NE(dynamic_cast<ConsolePrompter*>(&currentPrompter()), nullptr);
  installPrompter(previous);
  EXPECT_EQ(&currentPrompter(), previous);
}

TEST(ConsolePrompter, WritesTheBodyAndNeverAgrees) {
  FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ConsolePrompter console(out);
  EXPECT_EQ(console.ask(PromptKind::Information, "Vantrel", Msg::FimDeProcesso), 1);
  EXPECT_EQ(console.ask(PromptKind::Question, "Vantrel", Msg::ConfirmaEnvioEmail), 7);

  std::rewind(out);
  char buffer[256] = {};
  const size_t size = std::fread(buffer, 1, sizeof buffer - 1, out);
  std::fclose(out);
  const QString written = QString::fromLocal8Bit(buffer, qsizetype(size));
  EXPECT_TRUE(written.contains(Msg::FimDeProcesso)) << written.toStdString();
  EXPECT_TRUE(written.contains(Msg::ConfirmaEnvioEmail)) << written.toStdString();
}

TEST(GuiPrompter, ShowsAnApplicationModalBoxAndReturnsTheButton) {
  struct Case {
    PromptKind kind;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;  // NoButton: press Escape
    int answer;
  } cases[] = {
      {PromptKind::Information, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, 1},
      {PromptKind::Question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Yes, 6},
      {PromptKind::Question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::No, 7},
      {PromptKind::Question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::NoButton, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.press));
    bool inspected = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      inspected = true;
      EXPECT_EQ(box->windowTitle(), QStringLiteral("Vantrel"));
      EXPECT_EQ(box->text(), QStringLiteral("Tabela vazia !\n\rUsuarios"));
      EXPECT_EQ(box->icon(), c.icon);
      EXPECT_EQ(box->standardButtons(), c.buttons);
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
      EXPECT_EQ(box->parentWidget(), nullptr);
      if (c.press == QMessageBox::NoButton) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->button(c.press)->click();
      }
    });
    poll.start();

    GuiPrompter gui;
    EXPECT_EQ(gui.ask(c.kind, "Vantrel", "Tabela vazia !\n\rUsuarios"), c.answer);
    EXPECT_TRUE(inspected);
  }
}

}  // namespace
