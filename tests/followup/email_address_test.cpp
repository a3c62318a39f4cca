// The address check, the cleaning of recipient texts, the groups of ten, the address file and
// the provider as the settings describe it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/messages.h"
#include "followup/email_address.h"
#include "followup/email_sending.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

struct AddressCase {
  const char* address;
  bool accepted;
  const char* why;
};

TEST(ValidaEMail, AcceptsAndRejectsByEveryRule) {
  const AddressCase cases[] = {
      {"", true, "an empty address passes"},
      {"joao.silva@treino.esporte.br", true, "name.surname at a three-label domain"},
      {"ana@gmail.com", true, "\"com\" far from the at sign"},
      {"ana_souza@academia.br", true, "\"_\" away from the at sign"},
      {"ana-souza@academia.br", true, "\"-\" away from the at sign"},
      {"joão@ginástica.br", true, "Latin letters Windows-1252 holds"},
      {"o'brien@academia.br", true, "an apostrophe is not refused"},
      {"ANA@COMERCIO.BR", true, "the \"com\" rule looks at lower case only"},
      {"ana.souza.academia.br", false, "rule 2: no at sign"},
      {"ana@academiabr", false, "rule 2: no dot"},
      {"@academia.br", false, "rule 3: at sign first"},
      {"ana.souza@", false, "rule 3: at sign last"},
      {".ana@academia.br", false, "rule 3: dot first"},
      {"ana@academiabr.", false, "rule 3: first dot last"},
      {"ana souza@academia.br", false, "rule 3: a blank"},
      {"ana.@academia.br", false, "rule 4: dot just before the at sign"},
      {"ana@.academia.br", false, "rule 4: dot just after the at sign"},
      {"ana@academia..br", false, "rule 6: two dots"},
      {"ana@bia@academia.br", false, "rule 7: two at signs"},
      {"ana@academia.br.", false, "rule 7: dot at the end"},
      {"_ana@academia.br", false, "rule 7: starts with _"},
      {"-ana@academia.br", false, "rule 7: starts with -"},
      {"joao.silva@comercio.esporte.br", false, "rule 8: domain begins with com"},
      {"ana@-academia.br", false, "rule 8: - right after the at sign"},
      {"ana@_academia.br", false, "rule 8: _ right after the at sign"},
      {"ana_@academia.br", false, "rule 8: the only _ just before the at sign"},
      {"ana-@academia.br", false, "rule 8: - just before the at sign"},
      {"ana@ginástic\xD0\xB0.br", false, "a Cyrillic letter is \"?\" in Windows-1252"},
      {"ana\xF0\x9F\x98\x80@academia.br", false, "an emoji is \"?\" in Windows-1252"},
      {"ana@academia.br\r\nRSET", false, "a line break would start another command"},
      {"ana@academia.br\t", false, "control characters"},
  };
  for (const AddressCase& c : cases)
    EXPECT_EQ(ValidaEMail(QString::fromUtf8(c.address)), c.accepted) << c.why << ": " << c.address;

  // Rule 5: each of the 39 refused characters, inside an otherwise good address.
  const QString refused = QStringLiteral("!#$%¨&*()+=§¬¢¹²³£´`çÇ,;:<>~^?/|[]{}ºª°");
  ASSERT_EQ(refused.size(), 39);
  for (const QChar c : refused)
    EXPECT_FALSE(ValidaEMail(QStringLiteral("an%1a@academia.br").arg(c)))
        << QString(c).toStdString();
}

TEST(RecipientText, CleaningKeepsGoodAddressesOnceAndInOrder) {
  EXPECT_EQ(cleanRecipients(QStringLiteral(
                " ana@academia.br ;;sem arroba@x.br; bia@corrida.com.br;ANA@academia.br;")),
            (QStringList{QStringLiteral("ana@academia.br"), QStringLiteral("bia@corrida.com.br")}));
  EXPECT_TRUE(cleanRecipients(QString()).isEmpty());
  EXPECT_TRUE(cleanRecipients(QStringLiteral(";;")).isEmpty());
}

TEST(RecipientText, GroupsOfTenAndTheProgressText) {
  QStringList addresses;
  for (int i = 1; i <= 25; ++i) addresses.append(QStringLiteral("aluno%1@academia.br").arg(i));
  const QList<QStringList> groups = groupsOfTen(addresses);
  ASSERT_EQ(groups.size(), 3);
  EXPECT_EQ(groups[0], addresses.mid(0, 10));
  EXPECT_EQ(groups[1], addresses.mid(10, 10));
  EXPECT_EQ(groups[2], addresses.mid(20));
  EXPECT_EQ(groupsOfTen(addresses.mid(0, 10)).size(), 1);
  EXPECT_TRUE(groupsOfTen({}).isEmpty());
  EXPECT_EQ(sendingProgressText(1, 3), QStringLiteral("Enviando e-mail... 00001/00003"));
  EXPECT_EQ(sendingProgressText(12, 120), QStringLiteral("Enviando e-mail... 00012/00120"));
}

TEST(AddressFile, ReadsEachLineOnceAndSkipsWhatIsNoAddress) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("email.doc"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "ana@academia.br;\r\n\r\nsem-arroba;\nbia@corrida.br\n  cid@natacao.br;  \n"
      "ana@academia.br;\nmaria@comercio.br;\njo\xC3\xA3o@gin\xC3\xA1stica.br;\n");
  file.close();

  const std::optional<QString> text = readAddressFile(path);
  ASSERT_TRUE(text);
  // A line without ";" does not run into the next one.
  EXPECT_EQ(*text, QStringLiteral("ana@academia.br;sem-arroba;bia@corrida.br;cid@natacao.br;"
                                  "maria@comercio.br;joão@ginástica.br;"));
  EXPECT_EQ(cleanRecipients(*text),
            (QStringList{QStringLiteral("ana@academia.br"), QStringLiteral("bia@corrida.br"),
                         QStringLiteral("cid@natacao.br"), QStringLiteral("joão@ginástica.br")}));

  EXPECT_FALSE(readAddressFile(dir.filePath(QStringLiteral("nenhum.doc"))));
}

TEST(AddressFile, IsWrittenWholeAsUtf8ForItsOwnerOnly) {
  TestInstallation home;
  ASSERT_TRUE(
      writeAddressFile({QStringLiteral("joão@ginástica.br"), QStringLiteral("ana@academia.br")}));
  QFile file(addressFilePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("jo\xC3\xA3o@gin\xC3\xA1stica.br;\nana@academia.br;\n"));
  EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  EXPECT_EQ(readAddressFile(), QStringLiteral("joão@ginástica.br;ana@academia.br;"));
  EXPECT_FALSE(writeAddressFile({}, home.path() + QStringLiteral("/sem/pasta/email.doc")));
}

TEST(Attachments, PicturesStayOutWhateverTheirFolder) {
  EXPECT_EQ(attachedFiles(
                {QStringLiteral("/home/ana.souza/ficha.pdf"), QStringLiteral("/tmp/foto.JPG"),
                 QStringLiteral("/tmp/x.jpeg"), QStringLiteral("a.gif"), QStringLiteral("b.bmp"),
                 QStringLiteral("c.ico"), QStringLiteral("d.emf"), QStringLiteral("e.wmf"),
                 QStringLiteral("/home/x.y/relatorio.final.docx"), QStringLiteral("semextensao")}),
            (QStringList{QStringLiteral("/home/ana.souza/ficha.pdf"),
                         QStringLiteral("/home/x.y/relatorio.final.docx"),
                         QStringLiteral("semextensao")}));
}

TEST(Provider, HostAndPortFromTheSettingOrThePortRefused) {
  struct Case {
    const char* smtp;
    const char* host;
    int port;  // 0: refused
  };
  const Case cases[] = {
      {"smtp.gmail.com * 587", "smtp.gmail.com", 587},
      {"correio.academia.br*25", "correio.academia.br", 25},
      {"*465", "", 465},
      {"correio.academia.br", nullptr, 0},
      {"correio.academia.br*porta", nullptr, 0},
      {"correio.academia.br*", nullptr, 0},
      {"correio.academia.br*0", nullptr, 0},
      {"correio.academia.br*70000", nullptr, 0},
  };
  for (const Case& c : cases) {
    testPrompter().clear();
    MailProvider provider;
    provider.smtp = QString::fromUtf8(c.smtp);
    const std::optional<SmtpServer> server = smtpServerFor(provider);
    if (c.port == 0) {
      EXPECT_FALSE(server) << c.smtp;
      ASSERT_EQ(testPrompter().messages().size(), 1) << c.smtp;
      EXPECT_EQ(testPrompter().messages()[0].text, Msg::ProblemaEmailProvedor);
      EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Endereço de Porta"));
      continue;
    }
    ASSERT_TRUE(server) << c.smtp;
    EXPECT_EQ(server->host, QString::fromUtf8(c.host));
    EXPECT_EQ(server->port, c.port);
    EXPECT_TRUE(testPrompter().messages().isEmpty());
  }
}

TEST(Provider, TlsModesAndTheLoginAsTheSettingsHoldThem) {
  EXPECT_EQ(smtpTlsOf(QStringLiteral("utNoTLSSupport")), SmtpTls::None);
  EXPECT_EQ(smtpTlsOf(QStringLiteral("utUseImplicitTLS")), SmtpTls::Implicit);
  EXPECT_EQ(smtpTlsOf(QStringLiteral("utUseRequireTLS")), SmtpTls::StartTlsRequired);
  EXPECT_EQ(smtpTlsOf(QStringLiteral("utUseExplicitTLS")), SmtpTls::StartTlsWhenOffered);
  EXPECT_EQ(smtpTlsOf(QString()), SmtpTls::StartTlsWhenOffered);
  EXPECT_EQ(smtpTlsOf(QStringLiteral("outro")), SmtpTls::StartTlsWhenOffered);

  QVariantMap settings{{QStringLiteral("USERNAME"), QVariant(QMetaType::fromType<QString>())}};
  EXPECT_FALSE(mailProvider(Settings::fromRow(settings)).username);
  settings.insert(QStringLiteral("USERNAME"), QString(QLatin1String("")));
  ASSERT_TRUE(mailProvider(Settings::fromRow(settings)).username);
  EXPECT_EQ(*mailProvider(Settings::fromRow(settings)).username, QString());
}

}  // namespace
