#include <gtest/gtest.h>

#include "base/messages.h"
#include "data/schema.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"
#include "registry/member_store.h"
#include "registry/photo_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

// What the member window does with a save that did not happen: tell the user why.
PersonSave toldSave(PersonSave saved) {
  if (saved.outcome != PersonSave::Saved) tell(saved.failure);
  return saved;
}

PersonForm validMember() {
  return {{"MATRICULA", "123"},
          {"NOME", "O'NEIL; DROP TABLE Alunos"},
          {"SEXO", "M"},
          {"ENDERECO", "RUA \"A\", 10"},
          {"BAIRRO", "CENTRO"},
          {"CIDADE", "RIO DE JANEIRO"},
          {"ESTADO", "RJ"},
          {"CEP", "20000-123"},
          {"DATA_NASCIMENTO", "1 /2 /1990"},
          {"DATA_CADASTRADO", "10/03/2024"}};
}

TEST(MemberChecks, ConfirmRefusesTheFirstFailingFieldInOrder) {
  const struct {
    const char* name;
    std::function<void(PersonForm&)> change;
    const char* field;
    QString text;
    const char* detail;
  } cases[] = {
      {"no number",
       [](PersonForm& f) {
         f["MATRICULA"].clear();
         f["NOME"].clear();
       },
       "DBEDTMATRICULA", Msg::MatriculaIncorreta, ""},
      {"no name",
       [](PersonForm& f) {
         f["NOME"] = QStringLiteral("  ");
         f["BAIRRO"].clear();
       },
       "DBEDTNOME", Msg::DadoIncorreto, "Nome"},
      {"no address", [](PersonForm& f) { f["ENDERECO"].clear(); }, "DBEDTENDERECO",
       Msg::DadoIncorreto, "Endereço"},
      {"no district", [](PersonForm& f) { f["BAIRRO"].clear(); }, "DBEDTBAIRRO", Msg::DadoIncorreto,
       "Bairro"},
      {"no city", [](PersonForm& f) { f["CIDADE"].clear(); }, "DBEDTCIDADE", Msg::DadoIncorreto,
       "Cidade"},
      {"no state",
       [](PersonForm& f) {
         f["ESTADO"].clear();
         f["SEXO"].clear();
       },
       "DBCBESTADO", Msg::DadoIncorreto, "Estado"},
      {"no sex", [](PersonForm& f) { f["SEXO"].clear(); }, "DBEDTSEXO", Msg::DadoIncorreto, "Sexo"},
      {"CEP with a blank", [](PersonForm& f) { f["CEP"] = QStringLiteral("20000-12 "); },
       "DBEDTCEP", Msg::DadoIncorreto, "CEP"},
      {"no birth date", [](PersonForm& f) { f["DATA_NASCIMENTO"] = QStringLiteral("  /  /    "); },
       "DBEDTDATA_NASCIMENTO", Msg::DadoIncorreto, "Data de Nascimento"},
      {"impossible birth date",
       [](PersonForm& f) { f["DATA_NASCIMENTO"] = QStringLiteral("31/02/1990"); },
       "DBEDTDATA_NASCIMENTO", Msg::DadoIncorreto, "Data de Nascimento"},
      {"exit in 1899", [](PersonForm& f) { f["SAIDA"] = QStringLiteral("31/12/1899"); },
       "DBEDTSAIDA", Msg::DadoIncorreto, "Data de Saída - Ano !"},
      {"exit before registration", [](PersonForm& f) { f["SAIDA"] = QStringLiteral("09/03/2024"); },
       "DBEDTSAIDA", Msg::DadoIncorreto, "Data de Saída inferior data de Cadastro"},
      {"medical in 1899", [](PersonForm& f) { f["DATA_MEDICA"] = QStringLiteral("01/01/1899"); },
       "DBEDTMEDICA", Msg::DadoIncorreto, "Data de Médica - Ano !"},
      {"functional in 1899",
       [](PersonForm& f) { f["DATA_FUNCIONAL"] = QStringLiteral("01/01/1899"); }, "DBEDTFUNCIONAL",
       Msg::DadoIncorreto, "Data de Funcional - Ano !"},
  };
  for (const auto& c : cases) {
    PersonForm form = validMember();
    c.change(form);
    const std::optional<FieldRefusal> refusal = checkMemberForConfirm(form);
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(refusal->field, QString::fromLatin1(c.field)) << c.name;
    EXPECT_EQ(refusal->error.text, c.text) << c.name;
    EXPECT_EQ(refusal->error.detail, QString::fromUtf8(c.detail)) << c.name;
  }
}

TEST(MemberChecks, ConfirmAcceptsAndNormalises) {
  PersonForm form = validMember();
  form["SAIDA"] = QStringLiteral("10/03/2024");  // the same day as the registration is fine
  form["DATA_MEDICA"] = QStringLiteral("  /  /    ");
  ASSERT_FALSE(checkMemberForConfirm(form));
  EXPECT_EQ(form["DATA_NASCIMENTO"], QStringLiteral("01/02/1990"));
  EXPECT_EQ(form["MATRICULA"], QStringLiteral("0000000123"));
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
         {QStringLiteral("0000000041"), QStringLiteral("A"), QStringLiteral("0000000007"),
          QStringLiteral("B")});
  EXPECT_EQ(nextMatricula(db_, QStringLiteral("Alunos")), QStringLiteral("0000000042"));
  runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
         {QStringLiteral("ABC"), QStringLiteral("C")});
  EXPECT_EQ(nextMatricula(db_, QStringLiteral("Alunos")), std::nullopt);
}

TEST_P(MemberStoreTest, MemberAndPhotoAreWrittenAndDeletedTogether) {
  PersonForm form = validMember();
  ASSERT_FALSE(checkMemberForConfirm(form));
  const QByteArray jpeg = encodeJpeg(QImage(8, 8, QImage::Format_RGB888));
  ASSERT_EQ(savePerson(db_, memberTable(), form, jpeg, true).outcome, PersonSave::Saved);
  EXPECT_EQ(count(QStringLiteral("Alunos")), 1);
  EXPECT_EQ(loadPhotoRow(db_, kFotosAlunos, form["MATRICULA"])->toByteArray(), jpeg);
  QSqlQuery stored = runSql(db_, QStringLiteral("SELECT * FROM Alunos"));
  ASSERT_TRUE(stored.next());
  PersonForm back = personFromRecord(memberTable(), stored.record());
  EXPECT_EQ(back["NOME"], form["NOME"]);  // quotes and semicolons as typed
  EXPECT_EQ(back["ENDERECO"], form["ENDERECO"]);
  EXPECT_EQ(back["DATA_NASCIMENTO"], QStringLiteral("01/02/1990"));
  EXPECT_TRUE(back["DATA_MEDICA"].isEmpty());
  EXPECT_TRUE(stored.record().value(QStringLiteral("DATA_MEDICA")).isNull());

  form["BAIRRO"] = QStringLiteral("TIJUCA");
  ASSERT_EQ(savePerson(db_, memberTable(), form, QVariant(), false).outcome,
            PersonSave::Saved);  // the photo was cleared
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT BAIRRO FROM Alunos")).toString(),
            QStringLiteral("TIJUCA"));
  EXPECT_TRUE(loadPhotoRow(db_, kFotosAlunos, form["MATRICULA"])->isNull());

  ASSERT_TRUE(deletePerson(db_, memberTable(), form["MATRICULA"]));
  EXPECT_EQ(count(QStringLiteral("Alunos")), 0);
  EXPECT_EQ(count(QStringLiteral("FotosAlunos")), 0);
  EXPECT_TRUE(
      deletePerson(db_, memberTable(), QStringLiteral("0000009999")));  // nothing there: still fine
}

// What another workstation did between "Incluir" or "Alterar" and "Confirma".
TEST_P(MemberStoreTest, ANumberTakenOrAPersonDeletedMeanwhile) {
  const QByteArray jpeg = encodeJpeg(QImage(4, 4, QImage::Format_RGB888));
  PersonForm form = validMember();
  ASSERT_EQ(savePerson(db_, memberTable(), form, QVariant(), true).outcome, PersonSave::Saved);
  PersonForm other = validMember();
  other["NOME"] = QStringLiteral("OUTRA PESSOA");

  // A proposed number gives way to the next free one; the form is stored whole.
  const PersonSave next = savePerson(db_, memberTable(), other, jpeg, true, TakenNumber::TakeNext);
  EXPECT_EQ(next.outcome, PersonSave::Saved);
  EXPECT_EQ(next.matricula, padMatricula(QString::number(form["MATRICULA"].toInt() + 1)));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT NOME FROM Alunos WHERE MATRICULA = ?"),
                      {next.matricula})
                .toString(),
            other["NOME"]);
  EXPECT_EQ(loadPhotoRow(db_, kFotosAlunos, next.matricula)->toByteArray(), jpeg);
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  // A typed number is refused and nothing is written.
  EXPECT_EQ(
      toldSave(savePerson(db_, memberTable(), other, jpeg, true, TakenNumber::Refuse)).outcome,
      PersonSave::NumberTaken);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::MatriculaJaCadastrada);
  EXPECT_EQ(count(QStringLiteral("Alunos")), 2);

  // A change to a member deleted elsewhere is a failed write, and no photo row is left.
  testPrompter().clear();
  runSql(db_, QStringLiteral("DELETE FROM Alunos WHERE MATRICULA = ?"), {form["MATRICULA"]});
  runSql(db_, QStringLiteral("DELETE FROM FotosAlunos WHERE MATRICULA = ?"), {form["MATRICULA"]});
  EXPECT_EQ(toldSave(savePerson(db_, memberTable(), form, jpeg, false)).outcome,
            PersonSave::Failed);
  EXPECT_FALSE(loadPhotoRow(db_, kFotosAlunos, form["MATRICULA"]));
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Alunos"));
}

TEST_P(MemberStoreTest, AFailedPhotoRowLeavesNeitherRow) {
  runSql(db_, QStringLiteral("DROP TABLE FotosAlunos"));
  EXPECT_EQ(toldSave(savePerson(db_, memberTable(), validMember(),
                                encodeJpeg(QImage(4, 4, QImage::Format_RGB888)), true))
                .outcome,
            PersonSave::Failed);
  EXPECT_EQ(count(QStringLiteral("Alunos")), 0);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("FotosAlunos"));
}

INSTANTIATE_TEST_SUITE_P(Providers, MemberStoreTest, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
