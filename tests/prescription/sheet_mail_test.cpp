// The series sheet sent to the member: the PDF reaches a real SMTP server as an attachment,
// from the command line too, and a member without an address is told so.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "data/sql.h"
#include "prescription/sheet_mail.h"
#include "printouts/sheet_command.h"
#include "support/shell_fixture.h"
#include "support/smtp_peer.h"
#include "support/test_env.h"

namespace {

class SheetMailTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Não"));
    setSetting(QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA TESTE"));
    setSetting(QStringLiteral("EMAIL_PROVEDOR"), QStringLiteral("academia@correio.teste"));
    setSetting(QStringLiteral("NOME_PROVEDOR"), QStringLiteral("Academia Teste"));
    setSetting(QStringLiteral("USERNAME"), QVariant(QMetaType::fromType<QString>()));
    setSetting(QStringLiteral("IdSMTP_UseTLS"), QStringLiteral("utNoTLSSupport"));
    ASSERT_TRUE(peer_.start());
    setSetting(QStringLiteral("SMTP_PROVEDOR"), peer_.provider());
    runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, EMAIL) VALUES "
                                     "('0000000012', 'ANA LIMA', 'ana@exemplo.teste'), "
                                     "('0000000013', 'BETO', NULL)"));
    runSql(workout(), QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES "
                                     "('001', 'SUPINO RETO', 'N')"));
    for (const char* member : {"0000000012", "0000000013"})
      runSql(workout(),
             QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                            "Data_Reavaliacao, Series, Ordem, Seg) VALUES (?, 'A', '001', "
                            "'2026-11-02', '2027-02-02', '3', 1, 1)"),
             {member});
  }
  Settings settings() { return *session_.rereadSettings(); }

  SmtpPeer peer_{SmtpPeer::Options{}};
};

TEST_F(SheetMailTest, TheSheetReachesTheMemberAsAPdfAttachment) {
  ASSERT_TRUE(mailSeriesSheet(settings(), {QStringLiteral("0000000012"), QStringLiteral("A"), false}));
  const QList<ReceivedMail> mails = peer_.received();
  ASSERT_EQ(mails.size(), 2);  // the notice copy to the gym, then the member's
  const ReceivedMail& mail = mails[1];
  EXPECT_EQ(mail.recipients, QStringList{QStringLiteral("ana@exemplo.teste")});
  EXPECT_EQ(mail.subject, QStringLiteral("Série de treino A - ACADEMIA TESTE"));
  ASSERT_EQ(mail.parts.size(), 1);
  EXPECT_EQ(mail.parts[0].filename, QStringLiteral("serie-A-0000000012.pdf"));
  EXPECT_TRUE(mail.parts[0].content.startsWith("%PDF"));

  // The same from the command line.
  FILE* devnull = fopen("/dev/null", "w");
  EXPECT_EQ(runSheetCommand({QStringLiteral("12"), QStringLiteral("A"), QStringLiteral("--email")},
                            devnull, devnull, mailSheetFromCommandLine),
            0);
  EXPECT_EQ(peer_.received().size(), 4);
  EXPECT_EQ(runSheetCommand({QStringLiteral("12"), QStringLiteral("A"), QStringLiteral("--email"),
                             QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
                            devnull, devnull, mailSheetFromCommandLine),
            2);
  fclose(devnull);
}

TEST_F(SheetMailTest, AMemberWithoutAnAddressIsToldSoAndNothingGoes) {
  EXPECT_FALSE(mailSeriesSheet(settings(), {QStringLiteral("0000000013"), QStringLiteral("A"), false}));
  ASSERT_EQ(testPrompter().texts(), QStringList{QStringLiteral("E-mail do aluno não cadastrado !")});
  EXPECT_TRUE(peer_.received().isEmpty());
  testPrompter().clear();
  // A letter with nothing stored says the sheet's own refusal.
  EXPECT_FALSE(mailSeriesSheet(settings(), {QStringLiteral("0000000012"), QStringLiteral("D"), false}));
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::DadoIncorreto});
  EXPECT_TRUE(peer_.received().isEmpty());
}

}  // namespace
