// The about window (the gym it is registered to, the maker's lines, the support request by
// e-mail, the site) and the news window (the release notes, the open-window count).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "app/about.h"
#include "app/about_window.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "support/shell_fixture.h"
#include "support/smtp_peer.h"
#include "support/test_env.h"

namespace {

class UrlCatcher : public QObject {
  Q_OBJECT

 public slots:
  void open(const QUrl& url) { urls.append(url); }

 public:
  QList<QUrl> urls;
};

void doubleClick(QWidget* w) {
  const QPointF at(2, 2);
  QMouseEvent event(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

class AboutWindow : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("ACADEMIA"), QStringLiteral("Academia Corpo Ágil"));
    setSetting(QStringLiteral("ENDERACADEMIA"), QStringLiteral("Rua das Palmeiras, 120"));
    setSetting(QStringLiteral("COMPLEMENTO1"), QStringLiteral("Centro - Campinas"));
    setSetting(QStringLiteral("CNPJCPF"), QStringLiteral("12.345.678/0001-95"));
    setSetting(QStringLiteral("CLIENTE"), 1001.0);
    setSetting(QStringLiteral("EMAIL_PROVEDOR"), QStringLiteral("academia@correio.teste"));
    setSetting(QStringLiteral("NOME_PROVEDOR"), QStringLiteral("Academia Corpo Ágil"));
    setSetting(QStringLiteral("USERNAME"), QVariant(QMetaType::fromType<QString>()));
    setSetting(QStringLiteral("IdSMTP_UseTLS"), QStringLiteral("utNoTLSSupport"));
  }

  std::unique_ptr<TFRMSOBRE> open() {
    testPrompter().clear();
    auto window = std::make_unique<TFRMSOBRE>(session_);
    window->show();
    QApplication::processEvents();
    return window;
  }

  static QString text(QWidget* w, const char* name) {
    auto* label = w->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_TRUE(label) << name;
    return label ? label->text() : QString();
  }
};

TEST_F(AboutWindow, ShowsTheGymAndTheMakersLinesAndClosesOnTheBackdrop) {
  auto window = open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Sobre"));
  EXPECT_EQ(window->size(), QSize(540, 230));
  EXPECT_EQ(text(window.get(), "DBTEXTACADEMIA"), QStringLiteral("Academia Corpo Ágil"));
  EXPECT_EQ(text(window.get(), "DBTEXTENDERACADEMIA"), QStringLiteral("Rua das Palmeiras, 120"));
  EXPECT_EQ(text(window.get(), "DBTEXTCOMPLEMENTO1"), QStringLiteral("Centro - Campinas"));
  EXPECT_EQ(text(window.get(), "DBTEXTCNPJCPF"), QStringLiteral("12.345.678/0001-95"));
  EXPECT_EQ(text(window.get(), "DBTEXTCLIENTE"), QStringLiteral("1001"));
  EXPECT_EQ(text(window.get(), "LBLVERSAO"), QStringLiteral("Versão: 9.30"));
  EXPECT_EQ(text(window.get(), "Label4"), makerContacts().supportAddress);
  EXPECT_EQ(text(window.get(), "Label6"), makerContacts().site);
  EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("Label4"))->toolTip(),
            QStringLiteral("Clique duplo para solicitar suporte"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  // A click on a text leaves the window open; one on the backdrop closes it.
  QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("DBTEXTACADEMIA")), Qt::LeftButton);
  EXPECT_TRUE(window->isVisible());
  QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton,
                    Qt::NoModifier, QPoint(400, 5));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(AboutWindow, ShowsWithoutTheGymWhenTheSettingsCannotBeRead) {
  runSql(workout(), QStringLiteral("DROP TABLE Secvar"));
  auto window = open();
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Controle"));
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(text(window.get(), "DBTEXTACADEMIA").isEmpty());
}

TEST_F(AboutWindow, ASupportRequestGoesToTheMakerAsTheOnlyBlindCopy) {
  SmtpPeer peer(SmtpPeer::Options{});
  ASSERT_TRUE(peer.start());
  setSetting(QStringLiteral("SMTP_PROVEDOR"), peer.provider());
  auto window = open();
  QLabel* support = window->findChild<QLabel*>(QStringLiteral("Label4"));

  testPrompter().answerNext(kAnswerNo);
  doubleClick(support);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, QStringLiteral("Solicitação de Suporte"));
  EXPECT_EQ(testPrompter().messages()[0].detail, Msg::ConfirmaEnvioEmail);
  EXPECT_TRUE(peer.received().isEmpty());

  testPrompter().clear();
  testPrompter().answerNext(kAnswerYes);
  doubleClick(support);
  EXPECT_EQ(testPrompter().texts(),
            (QStringList{QStringLiteral("Solicitação de Suporte"), Msg::EmailEnviadoComSucesso}));
  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 1);
  EXPECT_EQ(mails[0].recipients, QStringList{makerContacts().supportAddress});
  EXPECT_FALSE(mails[0].raw.contains(makerContacts().supportAddress.toLatin1()));
  EXPECT_EQ(mails[0].subject, QStringLiteral("Suporte Urgente - Vantrel !!!"));
  EXPECT_EQ(mails[0].from, QStringLiteral("Academia Corpo Ágil <academia@correio.teste>"));
  EXPECT_EQ(mails[0].text, QStringLiteral("1001 - Academia Corpo Ágil\nCentro - Campinas"));
  EXPECT_FALSE(mails[0].authenticated);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(AboutWindow, ASupportRequestThatCannotGoSaysWhyAndKeepsTheWindow) {
  struct Case {
    QString smtp;
    QString text;
    QString detailStart;
  };
  const int port = unusedPort();
  const Case cases[] = {
      {QStringLiteral("correio.academia.br"), Msg::ProblemaEmailProvedor,
       QStringLiteral("Endereço de Porta")},
      {QStringLiteral("127.0.0.1*%1").arg(port), Msg::ProblemaEmailConfiguracaoProvedor,
       QStringLiteral("Sem conexão com o provedor 127.0.0.1:%1.").arg(port)},
  };
  for (const Case& c : cases) {
    setSetting(QStringLiteral("SMTP_PROVEDOR"), c.smtp);
    auto window = open();
    testPrompter().answerNext(kAnswerYes);
    doubleClick(window->findChild<QLabel*>(QStringLiteral("Label4")));
    // The confirmation, then one message: no question of trying again here.
    ASSERT_EQ(testPrompter().messages().size(), 2) << c.smtp.toStdString();
    EXPECT_EQ(testPrompter().messages()[1].text, c.text);
    EXPECT_TRUE(testPrompter().messages()[1].detail.startsWith(c.detailStart))
        << testPrompter().messages()[1].detail.toStdString();
    EXPECT_TRUE(window->isVisible());
  }
}

TEST_F(AboutWindow, ADoubleClickOnTheSiteOpensIt) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
  auto window = open();
  doubleClick(window->findChild<QLabel*>(QStringLiteral("Label6")));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(makerContacts().siteUrl)});
}

TEST(AboutText, ClienteAsTheWindowShowsIt) {
  EXPECT_EQ(clienteText(1001.0), QStringLiteral("1001"));
  EXPECT_EQ(clienteText(7.5), QStringLiteral("7,5"));
  EXPECT_EQ(clienteText(std::nullopt), QString());
}

class NewsWindow : public ShellFixture {};

TEST_F(NewsWindow, ShowsTheNotesAndCountsAsAnOpenWindowWhileShown) {
  QToolButton shortcut;
  G().GINT_JANELAS_ABERTAS = 0;
  int countWhileShown = -1;
  bool shortcutWhileShown = true;
  QString notes;
  QString title;
  QTimer::singleShot(0, [&] {
    QWidget* news = QApplication::activeModalWidget();
    ASSERT_TRUE(news);
    title = news->windowTitle();
    notes = news->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
    countWhileShown = G().GINT_JANELAS_ABERTAS;
    shortcutWhileShown = shortcut.isEnabled();
    news->close();
  });
  showNewsWindow(session_, nullptr, &shortcut);
  EXPECT_EQ(title, QStringLiteral("Novidades"));
  EXPECT_EQ(countWhileShown, 1);
  EXPECT_FALSE(shortcutWhileShown);
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_TRUE(shortcut.isEnabled());
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  EXPECT_TRUE(notes.startsWith(
      QStringLiteral("Versão 9.27\n02 de julho de 2020.\n- Agendamento de Aula Coletiva com "
                     "controle no Acesso.\n\n"
                     "Versão 9.22\n20 de Setembro de 2018.\n- Vincula usuário ao professor;\n"
                     "- Troca de Data na  Série.\n\n")));
  EXPECT_TRUE(notes.contains(QStringLiteral(
      "Versão 9.04\n14 de Janeiro de 2016.\n- Envido de E-mail por Séries Feitas e Agendadas.\n\n"
      "Versão 9.00\n31 de Janeiro de 2015.\n- Banco de Dados SQL 2014; \n")));
  EXPECT_EQ(notes.count(QStringLiteral("Versão ")), 9);
}

}  // namespace

#include "about_window_test.moc"
