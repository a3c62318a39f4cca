#include <gtest/gtest.h>

#include "app/messages.h"
#include "data/schema.h"
#include "data/sql.h"
#include "registry/member_store.h"
#include "registry/photo_store.h"
#include "registry/jpeg_codec.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

MemberForm validMember() {
  MemberForm f;
  f.matricula = QStringLiteral("123");
  f.nome = QStringLiteral("O'NEIL; DROP TABLE Alunos");
  f.sexo = QStringLiteral("M");
  f.endereco = QStringLiteral("RUA \"A\", 10");
  f.bairro = QStringLiteral("CENTRO");
  f.cidade = QStringLiteral("RIO DE JANEIRO");
  f.estado = QStringLiteral("RJ");
  f.cep = QStringLiteral("20000-123");
  f.nascimento = QStringLiteral("1 /2 /1990");
  f.cadastrado = QStringLiteral("10/03/2024");
  return f;
}

TEST(MemberChecks, ConfirmRefusesTheFirstFailingFieldInOrder) {
  const struct {
    const char* name;
    std::function<void(MemberForm&)> change;
    const char* field;
    QString text;
    const char* detail;
  } cases[] = {
      {"no number", [](MemberForm& f) { f.matricula.clear(); f.nome.clear(); }, "DBEDTMATRICULA", Msg::MatriculaIncorreta, ""},
      {"no name", [](MemberForm& f) { f.nome = QStringLiteral("  "); f.bairro.clear(); }, "DBEDTNOME", Msg::DadoIncorreto, "Nome"},
      {"no address", [](MemberForm& f) { f.endereco.clear(); }, "DBEDTENDERECO", Msg::DadoIncorreto, "Endereço"},
      {"no district", [](MemberForm& f) { f.bairro.clear(); }, "DBEDTBAIRRO", Msg::DadoIncorreto, "Bairro"},
      {"no city", [](MemberForm& f) { f.cidade.clear(); }, "DBEDTCIDADE", Msg::DadoIncorreto, "Cidade"},
      {"no state", [](MemberForm& f) { f.estado.clear(); f.sexo.clear(); }, "DBCBESTADO", Msg::DadoIncorreto, "Estado"},
      {"no sex", [](MemberForm& f) { f.sexo.clear(); }, "DBEDTSEXO", Msg::DadoIncorreto, "Sexo"},
      {"CEP with a blank", [](MemberForm& f) { f.cep = QStringLiteral("20000-12 "); }, "DBEDTCEP", Msg::DadoIncorreto, "CEP"},
      {"no birth date", [](MemberForm& f) { f.nascimento = QStringLiteral("  /  /    "); }, "DBEDTDATA_NASCIMENTO", Msg::DadoIncorreto, "Data de Nascimento"},
      {"impossible birth date", [](MemberForm& f) { f.nascimento = QStringLiteral("31/02/1990"); }, "DBEDTDATA_NASCIMENTO", Msg::DadoIncorreto, "Data de Nascimento"},
      {"exit in 1899", [](MemberForm& f) { f.saida = QStringLiteral("31/12/1899"); }, "DBEDTSAIDA", Msg::DadoIncorreto, "Data de Saída - Ano !"},
      {"exit before registration", [](MemberForm& f) { f.saida = QStringLiteral("09/03/2024"); }, "DBEDTSAIDA", Msg::DadoIncorreto, "Data de Saída inferior data de Cadastro"},
      {"medical in 1899", [](MemberForm& f) { f.medica = QStringLiteral("01/01/1899"); }, "DBEDTMEDICA", Msg::DadoIncorreto, "Data de Médica - Ano !"},
      {"functional in 1899", [](MemberForm& f) { f.funcional = QStringLiteral("01/01/1899"); }, "DBEDTFUNCIONAL", Msg::DadoIncorreto, "Data de Funcional - Ano !"},
  };
  for (const auto& c : cases) {
    MemberForm form = validMember();
    c.change(form);
    const std::optional<FieldRefusal> refusal = checkMemberForConfirm(form);
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(refusal->field, QString::fromLatin1(c.field)) << c.name;
    EXPECT_EQ(refusal->error.text, c.text) << c.name;
    EXPECT_EQ(refusal->error.detail, QString::fromUtf8(c.detail)) << c.name;
  }
}

TEST(MemberChecks, ConfirmAcceptsAndNormalises) {
  MemberForm form = validMember();
  form.saida = QStringLiteral("10/03/2024");  // the same day as the registration is fine
  form.medica = QStringLiteral("  /  /    ");
  ASSERT_FALSE(checkMemberForConfirm(form));
  EXPECT_EQ(form.nascimento, QStringLiteral("01/02/1990"));
  EXPECT_EQ(form.matricula, QStringLiteral("0000000123"));
}

TEST(MemberChecks, SingleFieldRules) {
  EXPECT_TRUE(checkMatriculaField(QString()));
  EXPECT_TRUE(checkMatriculaField(QStringLiteral("0")));
  EXPECT_TRUE(checkMatriculaField(QStringLiteral("000")));
  EXPECT_TRUE(checkMatriculaField(QStringLiteral("0"))->clear);
  EXPECT_FALSE(checkMatriculaField(QStringLiteral("0012")));
  EXPECT_FALSE(checkBlanksField(QStringLiteral("123.456.789-09"), QStringLiteral("CPF")));
  EXPECT_FALSE(checkBlanksField(QStringLiteral("         -  "), QStringLiteral("CPF")));
  EXPECT_EQ(checkBlanksField(QStringLiteral("12 345"), QStringLiteral("Identidade"))->detail,
            QStringLiteral("Identidade"));
  EXPECT_TRUE(checkCepField(QStringLiteral("12345-")));
  EXPECT_FALSE(checkCepField(QStringLiteral("12345-678")));
  EXPECT_EQ(padMatricula(QStringLiteral("42")), QStringLiteral("0000000042"));
  EXPECT_EQ(padMatricula(QStringLiteral("12345678901")), QStringLiteral("12345678901"));
}

class MemberStoreTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    ASSERT_TRUE(createMissingTables(db_, connection_->dialect(), Database::Workout).ok());
  }
  int count(const QString& table) {
    return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(MemberStoreTest, NumbersFollowTheHighestStored) {
  EXPECT_EQ(nextMatricula(db_, QStringLiteral("Alunos")), QStringLiteral("0000000001"));
  runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?), (?, ?)"),
         {QStringLiteral("0000000041"), QStringLiteral("A"), QStringLiteral("0000000007"), QStringLiteral("B")});
  EXPECT_EQ(nextMatricula(db_, QStringLiteral("Alunos")), QStringLiteral("0000000042"));
  runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
         {QStringLiteral("ABC"), QStringLiteral("C")});
  EXPECT_EQ(nextMatricula(db_, QStringLiteral("Alunos")), std::nullopt);
}

TEST_P(MemberStoreTest, MemberAndPhotoAreWrittenAndDeletedTogether) {
  MemberForm form = validMember();
  ASSERT_FALSE(checkMemberForConfirm(form));
  const QByteArray jpeg = encodeJpeg(QImage(8, 8, QImage::Format_RGB888));
  ASSERT_TRUE(saveMember(db_, form, jpeg, true));
  EXPECT_EQ(count(QStringLiteral("Alunos")), 1);
  EXPECT_EQ(loadPhotoRow(db_, kFotosAlunos, form.matricula)->toByteArray(), jpeg);
  QSqlQuery stored = runSql(db_, QStringLiteral("SELECT * FROM Alunos"));
  ASSERT_TRUE(stored.next());
  const MemberForm back = memberFromRecord(stored.record());
  EXPECT_EQ(back.nome, form.nome);  // quotes and semicolons as typed
  EXPECT_EQ(back.endereco, form.endereco);
  EXPECT_EQ(back.nascimento, QStringLiteral("01/02/1990"));
  EXPECT_TRUE(back.medica.isEmpty());
  EXPECT_TRUE(stored.record().value(QStringLiteral("DATA_MEDICA")).isNull());

  form.bairro = QStringLiteral("TIJUCA");
  ASSERT_TRUE(saveMember(db_, form, QVariant(), false));  // the photo was cleared
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT BAIRRO FROM Alunos")).toString(), QStringLiteral("TIJUCA"));
  EXPECT_TRUE(loadPhotoRow(db_, kFotosAlunos, form.matricula)->isNull());

  ASSERT_TRUE(deleteMember(db_, form.matricula));
  EXPECT_EQ(count(QStringLiteral("Alunos")), 0);
  EXPECT_EQ(count(QStringLiteral("FotosAlunos")), 0);
  EXPECT_TRUE(deleteMember(db_, QStringLiteral("0000009999")));  // nothing there: still fine
}

TEST_P(MemberStoreTest, AFailedWriteLeavesNeitherRow) {
  MemberForm form = validMember();
  ASSERT_FALSE(checkMemberForConfirm(form));
  ASSERT_TRUE(saveMember(db_, form, QVariant(), true));
  runSql(db_, QStringLiteral("DELETE FROM FotosAlunos"));
  // The same number again: the member row is refused after the photo row went in.
  EXPECT_FALSE(saveMember(db_, form, encodeJpeg(QImage(4, 4, QImage::Format_RGB888)), true));
  EXPECT_EQ(count(QStringLiteral("FotosAlunos")), 0);
  EXPECT_EQ(count(QStringLiteral("Alunos")), 1);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Alunos"));
}

INSTANTIATE_TEST_SUITE_P(Providers, MemberStoreTest, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
