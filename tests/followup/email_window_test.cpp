// TFRMONLINE as the windows that open it use it: the recipients of each source, the presets
// for absent members, the keys and the attachment list, and the three ways a send ends
// (success and closing, "No" to trying again, a port that does not read).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "base/messages.h"
#include "data/sql.h"
#include "followup/email_address.h"
#include "followup/email_window.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/smtp_peer.h"
#include "support/test_env.h"

namespace {

class EmailWindow : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    installPrompter(&boxes_);
    setSetting(QStringLiteral("EMAIL_PROVEDOR"), QStringLiteral("academia@correio.teste"));
    setSetting(QStringLiteral("NOME_PROVEDOR"), QStringLiteral("Academia Corpo Ágil"));
    setSetting(QStringLiteral("USERNAME"), QVariant(QMetaType::fromType<QString>()));
    setSetting(QStringLiteral("IdSMTP_UseTLS"), QStringLiteral("utNoTLSSupport"));
  }

  void TearDown() override {
    installPrompter(&testPrompter());
    ShellFixture::TearDown();
  }

  // Presses "Enviar" and waits for the send, which runs off the window's thread.
  static void send(TFRMONLINE* window) {
    clickButton(window, "BBNENVIAR");
    EXPECT_TRUE(window->sending());
    window->reject();  // closing waits for the send
    EXPECT_TRUE(window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->sending(), 60000);
  }

  // Opens the window as its caller would and lets it run its opening.
  std::unique_ptr<TFRMONLINE> open(const EmailRecipients& recipients) {
    boxes_.clear();
    auto window = std::make_unique<TFRMONLINE>(session_, recipients);
    window->show();
    QApplication::processEvents();
    QApplication::processEvents();
    return window;
  }

  template <typename T>
  static T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }

  static QString recipients(QWidget* w) { return child<QLineEdit>(w, "EDTDESTINO")->text(); }

  static QStringList listed(QWidget* w) {
    QStringList files;
    auto* list = child<QListWidget>(w, "TLBARQUIVOS");
    for (int i = 0; i < list->count(); ++i) files.append(list->item(i)->text());
    return files;
  }

  // Fills the form as a user would before sending.
  static void fill(TFRMONLINE* w, const QString& to, const QStringList& files,
                   const QString& picture) {
    child<QLineEdit>(w, "EDTDESTINO")->setText(to);
    child<QLineEdit>(w, "EDTASSUNTO")->setText(QStringLiteral("Nova série"));
    child<QPlainTextEdit>(w, "MemMensagem")
        ->setPlainText(QStringLiteral("Sua série mudou.\nAté logo!"));
    for (const QString& file : files) w->addAttachment(file);
    w->setBodyPicture(picture);
  }

  QString makeFile(const QString& name, const QByteArray& bytes) {
    const QString path = files_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir files_;
  WindowPrompter boxes_;
};

TEST_F(EmailWindow, OpensWithTheRecipientsOfEachSource) {
  auto member = open(EmailRecipients::member(QStringLiteral("ana@academia.br")));
  EXPECT_EQ(member->windowTitle(), QStringLiteral("Enviar e-mail "));
  EXPECT_EQ(recipients(member.get()), QStringLiteral("ana@academia.br"));
  EXPECT_TRUE(child<QLineEdit>(member.get(), "EDTASSUNTO")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(member.get(), "EDTASSUNTO"));
  EXPECT_FALSE(child<QLabel>(member.get(), "LBLEMAIL")->isVisible());

  // An address the check refuses is left out, silently.
  auto refused = open(EmailRecipients::member(QStringLiteral("ana@comercio.br")));
  EXPECT_EQ(recipients(refused.get()), QString());
  EXPECT_TRUE(boxes_.messages().isEmpty());

  ASSERT_TRUE(
      writeAddressFile({QStringLiteral("ana@academia.br"), QStringLiteral("sem arroba"),
                        QStringLiteral("bia@corrida.br"), QStringLiteral("ana@academia.br")}));
  auto report = open(EmailRecipients::report());
  EXPECT_EQ(recipients(report.get()), QStringLiteral("ana@academia.br;bia@corrida.br"));
  EXPECT_TRUE(child<QLineEdit>(report.get(), "EDTASSUNTO")->text().isEmpty());

  // Absent members start from the presets of the settings.
  setSetting(QStringLiteral("ASSUNTO_AUSENTE"), QStringLiteral("Sentimos sua falta"));
  setSetting(QStringLiteral("TEXTO_AUSENTE"),
             QStringLiteral("Volte a treinar!\nEstamos esperando."));
  setSetting(QStringLiteral("IMAGEM_CORPO_AUSENTE"), QStringLiteral("/srv/academia/volte.jpg"));
  auto absent = open(EmailRecipients::absentMember(QStringLiteral("cid@natacao.br")));
  EXPECT_EQ(recipients(absent.get()), QStringLiteral("cid@natacao.br"));
  EXPECT_EQ(child<QLineEdit>(absent.get(), "EDTASSUNTO")->text(),
            QStringLiteral("Sentimos sua falta"));
  EXPECT_EQ(child<QPlainTextEdit>(absent.get(), "MemMensagem")->toPlainText(),
            QStringLiteral("Volte a treinar!\nEstamos esperando."));
  EXPECT_EQ(child<QLabel>(absent.get(), "LBLCORPOEMAIL")->text(),
            QStringLiteral("/srv/academia/volte.jpg"));
  auto allAbsent = open(EmailRecipients::allAbsentMembers());
  EXPECT_EQ(recipients(allAbsent.get()), QStringLiteral("ana@academia.br;bia@corrida.br"));
  EXPECT_EQ(child<QLineEdit>(allAbsent.get(), "EDTASSUNTO")->text(),
            QStringLiteral("Sentimos sua falta"));
}

TEST_F(EmailWindow, AReportListOfThousandsIsKeptWhole) {
  QStringList addresses;
  for (int i = 0; i < 3000; ++i)
    addresses.append(QStringLiteral("aluno%1@academia.esporte.br").arg(i));
  ASSERT_TRUE(writeAddressFile(addresses));
  auto window = open(EmailRecipients::report());
  EXPECT_EQ(recipients(window.get()), addresses.join(QLatin1Char(';')));
}

TEST_F(EmailWindow, ClosesWhenTheAddressFileOrTheSettingsCannotBeRead) {
  QFile::remove(addressFilePath());
  auto noFile = open(EmailRecipients::allAbsentMembers());
  EXPECT_EQ(boxes_.texts(), QStringList{QStringLiteral("E-mail(s) inválidos !!!")});
  EXPECT_FALSE(noFile->isVisible());
  EXPECT_EQ(noFile->result(), QDialog::Rejected);

  runSql(workout(), QStringLiteral("DROP TABLE Secvar"));
  auto noSettings = open(EmailRecipients::member(QStringLiteral("ana@academia.br")));
  ASSERT_EQ(boxes_.messages().size(), 2);
  EXPECT_EQ(boxes_.messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(boxes_.messages()[0].detail, QStringLiteral("Controle"));
  EXPECT_EQ(boxes_.messages()[1].text, Msg::RegistroJaAlocado);
  EXPECT_FALSE(noSettings->isVisible());
}

TEST_F(EmailWindow, EnterWalksTheFieldsAndADoubleClickRemovesAnAttachmentOnYes) {
  auto window = open(EmailRecipients::member(QStringLiteral("ana@academia.br")));
  auto* to = child<QLineEdit>(window.get(), "EDTDESTINO");
  to->setFocus();
  QTest::keyClick(to, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(window.get(), "EDTASSUNTO"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), child<QPlainTextEdit>(window.get(), "MemMensagem"));
  EXPECT_TRUE(window->isVisible());

  window->addAttachment(QStringLiteral("/tmp/ficha.pdf"));
  window->addAttachment(QStringLiteral("/tmp/planilha.xlsx"));
  auto* list = child<QListWidget>(window.get(), "TLBARQUIVOS");
  auto doubleClick = [&](int row) { emit list->itemDoubleClicked(list->item(row)); };
  boxes_.answerNext(kAnswerNo);
  doubleClick(0);
  EXPECT_EQ(listed(window.get()).size(), 2);
  boxes_.answerNext(kAnswerYes);
  doubleClick(0);
  EXPECT_EQ(listed(window.get()), QStringList{QStringLiteral("/tmp/planilha.xlsx")});
  EXPECT_EQ(boxes_.texts(), (QStringList{QStringLiteral("Excluir este arquivo da lista ?"),
                                         QStringLiteral("Excluir este arquivo da lista ?")}));

  window->setBodyPicture(QStringLiteral("/tmp/corpo.jpg"));
  EXPECT_EQ(child<QLabel>(window.get(), "LBLCORPOEMAIL")->text(), QStringLiteral("/tmp/corpo.jpg"));
  window->setBodyPicture(QString());  // the picture dialog cancelled
  EXPECT_EQ(child<QLabel>(window.get(), "LBLCORPOEMAIL")->text(),
            QStringLiteral("Imagem no corpo do e-mail"));
}

TEST_F(EmailWindow, ACompleteSendClearsTheFormSaysSoAndCloses) {
  SmtpPeer peer(SmtpPeer::Options{});
  ASSERT_TRUE(peer.start());
  setSetting(QStringLiteral("SMTP_PROVEDOR"), peer.provider());
  auto window = open(EmailRecipients::member(QString()));
  QStringList addresses;
  for (int i = 1; i <= 12; ++i)
    addresses.append(QStringLiteral("aluno%1@academia.esporte.br").arg(i));
  const QString pdf = makeFile(QStringLiteral("ficha.pdf"), "%PDF-1.4");
  const QString photo = makeFile(QStringLiteral("foto.jpg"), "\xFF\xD8\xFF");
  fill(window.get(), addresses.join(QLatin1Char(';')), {pdf, photo}, QString());

  send(window.get());
  EXPECT_EQ(boxes_.texts(), QStringList{Msg::EmailEnviadoComSucesso});
  // The provider here offers no encryption, and the user is told the mail went in clear.
  EXPECT_EQ(boxes_.messages().value(0).detail, Msg::EmailSemCriptografia);
  EXPECT_EQ(window->result(), QDialog::Accepted);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(recipients(window.get()).isEmpty());
  EXPECT_TRUE(child<QLineEdit>(window.get(), "EDTASSUNTO")->text().isEmpty());
  EXPECT_TRUE(child<QPlainTextEdit>(window.get(), "MemMensagem")->toPlainText().isEmpty());
  EXPECT_TRUE(listed(window.get()).isEmpty());

  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 3);
  EXPECT_EQ(mails[1].recipients, addresses.mid(0, 10));
  EXPECT_EQ(mails[2].recipients, addresses.mid(10));
  EXPECT_EQ(mails[1].text, QStringLiteral("Sua série mudou.\nAté logo!"));
  ASSERT_EQ(mails[1].parts.size(), 1);  // the listed photo stays out
  EXPECT_EQ(mails[1].parts[0].filename, QStringLiteral("ficha.pdf"));
}

TEST_F(EmailWindow, NoToTryingAgainLeavesTheFormAsItWas) {
  setSetting(QStringLiteral("SMTP_PROVEDOR"), QStringLiteral("127.0.0.1*%1").arg(unusedPort()));
  auto window = open(EmailRecipients::member(QString()));
  const QString pdf = makeFile(QStringLiteral("ficha.pdf"), "%PDF-1.4");
  const QString picture = makeFile(QStringLiteral("corpo.jpg"), "\xFF\xD8\xFF");
  fill(window.get(), QStringLiteral("ana@academia.br; sem arroba"), {pdf}, picture);

  boxes_.answerNext(kAnswerNo);
  send(window.get());
  ASSERT_EQ(boxes_.messages().size(), 2);
  EXPECT_EQ(boxes_.messages()[0].text, Msg::ProblemaEmailProvedor);
  EXPECT_EQ(boxes_.messages()[1].text, QStringLiteral("Deseja tentar novamente ?"));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(recipients(window.get()), QStringLiteral("ana@academia.br; sem arroba"));
  EXPECT_EQ(child<QLineEdit>(window.get(), "EDTASSUNTO")->text(), QStringLiteral("Nova série"));
  EXPECT_EQ(child<QPlainTextEdit>(window.get(), "MemMensagem")->toPlainText(),
            QStringLiteral("Sua série mudou.\nAté logo!"));
  EXPECT_EQ(listed(window.get()), QStringList{pdf});
  EXPECT_EQ(child<QLabel>(window.get(), "LBLCORPOEMAIL")->text(), picture);
  EXPECT_TRUE(child<QPushButton>(window.get(), "BBNARQUIVOS")->isEnabled());
  EXPECT_TRUE(child<QPushButton>(window.get(), "BBNENVIAR")->isEnabled());
  EXPECT_FALSE(child<QPushButton>(window.get(), "BBNCORPOEMAIL")->isEnabled());
  EXPECT_FALSE(child<QLabel>(window.get(), "LBLEMAIL")->isVisible());
}

TEST_F(EmailWindow, APortThatDoesNotReadLeavesOnlyRetorna) {
  setSetting(QStringLiteral("SMTP_PROVEDOR"), QStringLiteral("correio.academia.br"));
  auto window = open(EmailRecipients::member(QStringLiteral("ana@academia.br")));
  send(window.get());
  ASSERT_EQ(boxes_.messages().size(), 1);
  EXPECT_EQ(boxes_.messages()[0].detail, QStringLiteral("Endereço de Porta"));
  for (const char* name : {"BBNARQUIVOS", "BBNCORPOEMAIL", "BBNENVIAR"})
    EXPECT_FALSE(child<QPushButton>(window.get(), name)->isEnabled()) << name;
  EXPECT_TRUE(child<QPushButton>(window.get(), "BBNCANCELA")->isEnabled());
  clickButton(window.get(), "BBNCANCELA");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
}

}  // namespace
