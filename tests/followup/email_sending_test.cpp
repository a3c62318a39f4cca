// Sending to members through a real SMTP server on loopback: every TLS mode with and without a
// login, the notice copy and the groups of blind copies, attachments and the body picture,
// the retry question, certificates that do not verify, and what stops a send before it begins.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include "base/messages.h"
#include "followup/email_sending.h"
#include "support/smtp_peer.h"
#include "support/test_env.h"

namespace {

const QString kProviderAddress = QStringLiteral("academia@correio.teste");

QStringList members(int count) {
  QStringList addresses;
  for (int i = 1; i <= count; ++i)
    addresses.append(QStringLiteral("aluno%1@academia.esporte.br").arg(i, 2, 10, QLatin1Char('0')));
  return addresses;
}

class MailSending : public testing::Test {
 protected:
  void SetUp() override {
    caBefore_ = qgetenv("SSL_CERT_FILE");
    hadCa_ = qEnvironmentVariableIsSet("SSL_CERT_FILE");
    // The client trusts the test authority; nothing turns verification off.
    qputenv("SSL_CERT_FILE", testCertificates().authority.toLocal8Bit());
    testPrompter().clear();
    testPrompter().onAsk = nullptr;
  }
  void TearDown() override {
    testPrompter().onAsk = nullptr;
    testPrompter().clear();
    if (hadCa_)
      qputenv("SSL_CERT_FILE", caBefore_);
    else
      qunsetenv("SSL_CERT_FILE");
  }

  static MailProvider provider(const QString& smtp, const QString& tls,
                               std::optional<QString> username = std::nullopt,
                               const QString& password = QString()) {
    MailProvider p;
    p.smtp = smtp;
    p.name = QStringLiteral("Academia Corpo Ágil");
    p.address = kProviderAddress;
    p.username = std::move(username);
    p.password = password;
    p.tlsMode = tls;
    return p;
  }

  static EmailDraft draft(const QStringList& addresses) {
    EmailDraft d;
    d.recipients = addresses.join(QLatin1Char(';'));
    d.subject = QStringLiteral("Sentimos sua falta na academia");
    d.body = QStringLiteral("Olá!\nVolte a treinar conosco.");
    return d;
  }

  QByteArray caBefore_;
  bool hadCa_ = false;
};

struct ModeCase {
  const char* name;
  const char* setting;
  SmtpPeer::Tls server;
  bool login;
  bool encrypted;
};

class EveryTlsMode : public MailSending, public testing::WithParamInterface<ModeCase> {};

TEST_P(EveryTlsMode, SendsTheNoticeCopyAndTheMessage) {
  const ModeCase& c = GetParam();
  SmtpPeer::Options options;
  options.tls = c.server;
  if (c.login) {
    options.user = QStringLiteral("treino");
    options.password = QStringLiteral("s3nh@ forte");
  }
  SmtpPeer peer(options);
  QString error;
  ASSERT_TRUE(peer.start(&error)) << error.toStdString();

  const MailProvider p =
      provider(peer.provider(), QString::fromLatin1(c.setting),
               c.login ? std::optional<QString>(QStringLiteral("treino")) : std::nullopt,
               QStringLiteral("s3nh@ forte"));
  // What the program reports of the connection is what the server saw.
  EXPECT_EQ(sendToMembers(draft(members(2)), p),
            c.encrypted ? SendOutcome::Sent : SendOutcome::SentInClear);
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 2);
  for (const ReceivedMail& mail : mails) {
    EXPECT_EQ(!mail.tls.isEmpty(), c.encrypted) << mail.tls.toStdString();
    if (c.encrypted) {
      EXPECT_TRUE(mail.tls == QLatin1String("TLSv1.2") || mail.tls == QLatin1String("TLSv1.3"));
    }
    EXPECT_EQ(mail.authenticated, c.login);
    EXPECT_EQ(mail.login, c.login ? QStringLiteral("treino") : QString());
  }
  EXPECT_EQ(mails[0].recipients, QStringList{kProviderAddress});
  EXPECT_EQ(mails[1].recipients, members(2));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EveryTlsMode,
    testing::Values(
        ModeCase{"None", "utNoTLSSupport", SmtpPeer::Tls::Plain, false, false},
        ModeCase{"NoneWithLogin", "utNoTLSSupport", SmtpPeer::Tls::Plain, true, false},
        ModeCase{"Implicit", "utUseImplicitTLS", SmtpPeer::Tls::Implicit, false, true},
        ModeCase{"ImplicitWithLogin", "utUseImplicitTLS", SmtpPeer::Tls::Implicit, true, true},
        ModeCase{"WhenOffered", "utUseExplicitTLS", SmtpPeer::Tls::StartTls, false, true},
        ModeCase{"WhenOfferedWithLogin", "utUseExplicitTLS", SmtpPeer::Tls::StartTls, true, true},
        ModeCase{"WhenOfferedButNotOffered", "utUseExplicitTLS", SmtpPeer::Tls::Plain, false,
                 false},
        ModeCase{"UnknownSettingIsWhenOffered", "", SmtpPeer::Tls::StartTls, false, true},
        ModeCase{"Required", "utUseRequireTLS", SmtpPeer::Tls::StartTlsRequired, false, true},
        ModeCase{"RequiredWithLogin", "utUseRequireTLS", SmtpPeer::Tls::StartTlsRequired, true,
                 true}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST_F(MailSending, TwentyFiveMembersGetANoticeCopyAndThreeMessagesOfBlindCopies) {
  SmtpPeer peer(SmtpPeer::Options{});
  ASSERT_TRUE(peer.start());
  QTemporaryDir files;
  const QString pdf = files.filePath(QStringLiteral("ficha de treino.pdf"));
  const QString sheet = files.filePath(QStringLiteral("avaliação.xlsx"));
  const QString listedPicture = files.filePath(QStringLiteral("foto.jpg"));
  const QString picture = files.filePath(QStringLiteral("corpo.jpeg"));
  const QByteArray pdfBytes("%PDF-1.4\n\x01\x02\xFF fim\n");
  for (const auto& [path, bytes] : {std::pair{pdf, pdfBytes},
                                    {sheet, QByteArray("planilha")},
                                    {listedPicture, QByteArray("\xFF\xD8\xFF foto")},
                                    {picture, QByteArray("\xFF\xD8\xFF corpo")}}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  const QStringList addresses = members(25);
  EmailDraft d = draft(addresses);
  d.files = {pdf, listedPicture, sheet};
  d.picture = picture;
  QList<std::pair<int, int>> progress;
  EXPECT_EQ(sendToMembers(d, provider(peer.provider(), QStringLiteral("utNoTLSSupport")),
                          [&](int k, int n) {
                            progress.append({k, n});
                          }),
            SendOutcome::SentInClear);
  EXPECT_EQ(progress, (QList<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 4);
  const ReceivedMail& notice = mails[0];
  EXPECT_EQ(notice.recipients, QStringList{kProviderAddress});
  EXPECT_EQ(notice.to, kProviderAddress);
  EXPECT_EQ(notice.subject, QStringLiteral("Envio de e-mail para aluno. ") +
                                QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_EQ(mails[1].recipients, addresses.mid(0, 10));
  EXPECT_EQ(mails[2].recipients, addresses.mid(10, 10));
  EXPECT_EQ(mails[3].recipients, addresses.mid(20));

  for (const ReceivedMail& mail : mails) {
    EXPECT_EQ(mail.mailFrom, kProviderAddress);
    EXPECT_EQ(mail.from, QStringLiteral("Academia Corpo Ágil <academia@correio.teste>"));
    EXPECT_FALSE(mail.hasCc);
    EXPECT_FALSE(mail.hasBcc);
    // Nobody learns who else got the message.
    for (const QString& address : addresses)
      EXPECT_FALSE(mail.raw.contains(address.toLatin1())) << address.toStdString();
    EXPECT_EQ(mail.text, QStringLiteral("Olá!\nVolte a treinar conosco."));
    EXPECT_TRUE(mail.html.contains(QStringLiteral("Volte a treinar conosco.")));
    EXPECT_TRUE(mail.html.contains(QStringLiteral("cid:imagem-corpo@vantrel")));
    ASSERT_EQ(mail.parts.size(), 3);
    EXPECT_EQ(mail.parts[0].filename, QStringLiteral("corpo.jpeg"));
    EXPECT_EQ(mail.parts[0].disposition, QStringLiteral("inline"));
    EXPECT_EQ(mail.parts[0].contentId, QStringLiteral("<imagem-corpo@vantrel>"));
    EXPECT_EQ(mail.parts[0].content, QByteArray("\xFF\xD8\xFF corpo"));
    EXPECT_EQ(mail.parts[1].filename, QStringLiteral("ficha de treino.pdf"));
    EXPECT_EQ(mail.parts[1].disposition, QStringLiteral("attachment"));
    EXPECT_EQ(mail.parts[1].contentType, QStringLiteral("application/pdf"));
    EXPECT_EQ(mail.parts[1].content, pdfBytes);
    EXPECT_EQ(mail.parts[2].filename, QStringLiteral("avaliação.xlsx"));
    EXPECT_EQ(mail.parts[2].content, QByteArray("planilha"));
  }
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(mails[i].subject, QStringLiteral("Sentimos sua falta na academia"));
    EXPECT_FALSE(mails[i].rawHeaders().contains("\nTo: <")) << mails[i].rawHeaders().toStdString();
  }
}

TEST_F(MailSending, AnEmptyLoginStillLogsIn) {
  SmtpPeer::Options options;
  options.tls = SmtpPeer::Tls::StartTls;
  options.user = QString(QLatin1String(""));
  options.password = QStringLiteral("segredo");
  SmtpPeer peer(options);
  ASSERT_TRUE(peer.start());
  EXPECT_EQ(sendToMembers(draft(members(1)),
                          provider(peer.provider(), QStringLiteral("utUseRequireTLS"),
                                   QString(QLatin1String("")), QStringLiteral("segredo"))),
            SendOutcome::Sent);
  ASSERT_EQ(peer.received().size(), 2);
  EXPECT_TRUE(peer.received()[0].authenticated);
  EXPECT_TRUE(peer.received()[1].authenticated);
}

TEST_F(MailSending, ALongSubjectWithAccentsArrivesWhole) {
  SmtpPeer peer(SmtpPeer::Options{});
  ASSERT_TRUE(peer.start());
  EmailDraft d = draft(members(1));
  d.subject = QStringLiteral(
      "Avaliação física e nova série de exercícios: reserve seu horário "
      "com o professor até sexta-feira — ção ção ção ção ção ção");
  EXPECT_EQ(sendToMembers(d, provider(peer.provider(), QStringLiteral("utNoTLSSupport"))),
            SendOutcome::SentInClear);
  ASSERT_EQ(peer.received().size(), 2);
  EXPECT_EQ(peer.received()[1].subject, d.subject);
  // Folded onto lines a mail program takes without complaint.
  const QByteArray headers = peer.received()[1].rawHeaders();
  const qsizetype start = headers.indexOf("\r\nSubject: ") + 2;
  qsizetype end = start;
  while ((end = headers.indexOf("\r\n", end + 1)) >= 0 && headers.at(end + 2) == ' ') {
  }
  const QList<QByteArray> lines = headers.mid(start, end - start).split('\n');
  EXPECT_GT(lines.size(), 2);
  for (const QByteArray& line : lines) EXPECT_LE(line.trimmed().size(), 78) << line.toStdString();
}

TEST_F(MailSending, ARefusedConnectionAsksToTryAgain) {
  const int port = unusedPort();
  ASSERT_GT(port, 0);
  const MailProvider p =
      provider(QStringLiteral("127.0.0.1 * %1").arg(port), QStringLiteral("utNoTLSSupport"));

  // No: the send stops there.
  testPrompter().answerNext(kAnswerNo);
  EXPECT_EQ(sendToMembers(draft(members(3)), p), SendOutcome::Stopped);
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::ProblemaEmailProvedor);
  EXPECT_TRUE(testPrompter().messages()[0].detail.startsWith(
      QStringLiteral("Sem conexão com o provedor 127.0.0.1:%1.").arg(port)))
      << testPrompter().messages()[0].detail.toStdString();
  EXPECT_EQ(testPrompter().messages()[1].text, QStringLiteral("Deseja tentar novamente ?"));
  EXPECT_EQ(testPrompter().messages()[1].kind, PromptKind::Question);

  // Yes, once the provider is back: the same message goes, and the rest after it.
  testPrompter().clear();
  SmtpPeer::Options options;
  options.port = port;
  SmtpPeer peer(options);
  testPrompter().onAsk = [&](const ScriptedPrompter::Shown& shown) {
    if (shown.kind != PromptKind::Question) return;
    ASSERT_TRUE(peer.start());
    testPrompter().answerNext(kAnswerYes);
  };
  EXPECT_EQ(sendToMembers(draft(members(3)), p), SendOutcome::SentInClear);
  EXPECT_EQ(testPrompter().messages().size(), 2);
  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 2);
  EXPECT_EQ(mails[0].recipients, QStringList{kProviderAddress});
  EXPECT_EQ(mails[1].recipients, members(3));
}

TEST_F(MailSending, AGroupThatFailsIsSentAgainOnYesSoNobodyIsLeftOut) {
  const QStringList addresses = members(25);
  SmtpPeer::Options options;
  options.refuseOnce = {addresses[14]};
  SmtpPeer peer(options);
  ASSERT_TRUE(peer.start());
  testPrompter().answerNext(kAnswerYes);
  EXPECT_EQ(
      sendToMembers(draft(addresses), provider(peer.provider(), QStringLiteral("utNoTLSSupport"))),
      SendOutcome::SentInClear);
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_TRUE(testPrompter().messages()[0].detail.contains(QStringLiteral("451")))
      << testPrompter().messages()[0].detail.toStdString();
  const QList<ReceivedMail> mails = peer.received();
  ASSERT_EQ(mails.size(), 4);
  QStringList delivered;
  for (int i = 1; i < 4; ++i) delivered += mails[i].recipients;
  EXPECT_EQ(delivered, addresses);
}

struct RefusalCase {
  const char* name;
  SmtpPeer::Tls server;
  const char* setting;
  int certificate;  // 0: the good one, 1: another name, 2: self-signed
  bool serverLogin;
  std::optional<QString> username;
  const char* detail;
};

class Refusals : public MailSending, public testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, AreToldInTheProgramsWordsAndNothingGoes) {
  const RefusalCase& c = GetParam();
  SmtpPeer::Options options;
  options.tls = c.server;
  const TestCertificates& certificates = testCertificates();
  if (c.certificate == 1) {
    options.certificate = certificates.otherName;
    options.key = certificates.otherNameKey;
  } else if (c.certificate == 2) {
    options.certificate = certificates.selfSigned;
    options.key = certificates.selfSignedKey;
  }
  if (c.serverLogin) {
    options.user = QStringLiteral("treino");
    options.password = QStringLiteral("certa");
  }
  SmtpPeer peer(options);
  ASSERT_TRUE(peer.start());
  testPrompter().answerNext(kAnswerNo);
  EXPECT_EQ(
      sendToMembers(draft(members(1)), provider(peer.provider(), QString::fromLatin1(c.setting),
                                                c.username, QStringLiteral("errada"))),
      SendOutcome::Stopped);
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::ProblemaEmailProvedor);
  EXPECT_TRUE(testPrompter().messages()[0].detail.startsWith(QString::fromUtf8(c.detail)))
      << testPrompter().messages()[0].detail.toStdString();
  EXPECT_TRUE(peer.received().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Provider, Refusals,
    testing::Values(
        RefusalCase{"RequiredButNotOffered", SmtpPeer::Tls::Plain, "utUseRequireTLS", 0, false,
                    std::nullopt, "O provedor não oferece conexão segura (STARTTLS)."},
        RefusalCase{"SelfSignedCertificate", SmtpPeer::Tls::StartTls, "utUseExplicitTLS", 2, false,
                    std::nullopt, "Certificado do provedor recusado: certificado autoassinado."},
        RefusalCase{"CertificateOfAnotherName", SmtpPeer::Tls::Implicit, "utUseImplicitTLS", 1,
                    false, std::nullopt,
                    "Certificado do provedor recusado: o certificado não é do endereço 127.0.0.1."},
        RefusalCase{"WrongPassword", SmtpPeer::Tls::StartTls, "utUseRequireTLS", 0, true,
                    QStringLiteral("treino"), "O provedor recusou o usuário ou a senha."},
        RefusalCase{"NoLoginWhereOneIsRequired", SmtpPeer::Tls::StartTls, "utUseExplicitTLS", 0,
                    true, std::nullopt, ""}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(MailSending, NothingGoesWhenAFileIsMissingThePortDoesNotReadOrNoAddressIsLeft) {
  SmtpPeer peer(SmtpPeer::Options{});
  ASSERT_TRUE(peer.start());
  QTemporaryDir files;
  const QString present = files.filePath(QStringLiteral("ficha.pdf"));
  QFile f(present);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  const QString missing = files.filePath(QStringLiteral("sumiu.pdf"));
  const QString missingPicture = files.filePath(QStringLiteral("sumiu.jpg"));

  struct Case {
    const char* name;
    QStringList files;
    QString picture;
    QString smtp;
    QString recipients;
    SendOutcome outcome;
    QString text;
    QString detail;
  };
  const Case cases[] = {
      {"missing attachment",
       {present, missing},
       {},
       peer.provider(),
       members(3).join(';'),
       SendOutcome::MissingFile,
       QStringLiteral("Arquivo não encontrado !"),
       missing},
      {"missing picture",
       {present},
       missingPicture,
       peer.provider(),
       members(3).join(';'),
       SendOutcome::MissingFile,
       QStringLiteral("Arquivo não encontrado !"),
       missingPicture},
      {"port not a number",
       {present},
       {},
       QStringLiteral("127.0.0.1*vinte e cinco"),
       members(3).join(';'),
       SendOutcome::BadPort,
       Msg::ProblemaEmailProvedor,
       QStringLiteral("Endereço de Porta")},
      {"no star",
       {},
       {},
       QStringLiteral("127.0.0.1"),
       members(3).join(';'),
       SendOutcome::BadPort,
       Msg::ProblemaEmailProvedor,
       QStringLiteral("Endereço de Porta")},
      {"no address passes",
       {},
       {},
       peer.provider(),
       QStringLiteral(";sem arroba;ana@@x.br"),
       SendOutcome::NoRecipients,
       QStringLiteral("E-mail(s) inválidos !!!"),
       QStringLiteral("Destinatário")},
  };
  for (const Case& c : cases) {
    testPrompter().clear();
    EmailDraft d = draft({});
    d.recipients = c.recipients;
    d.files = c.files;
    d.picture = c.picture;
    EXPECT_EQ(sendToMembers(d, provider(c.smtp, QStringLiteral("utNoTLSSupport"))), c.outcome)
        << c.name;
    ASSERT_EQ(testPrompter().messages().size(), 1) << c.name;
    EXPECT_EQ(testPrompter().messages()[0].text, c.text) << c.name;
    EXPECT_EQ(testPrompter().messages()[0].detail, c.detail) << c.name;
  }
  EXPECT_TRUE(peer.received().isEmpty());
}

}  // namespace
