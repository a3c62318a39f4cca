// The member search as the lists type it: the keys each search takes, where a keystroke leaves
// the list and what it remembers, and what Enter finds, over a handful of members.
#include "registry/member_lookup.h"

#include <gtest/gtest.h>

#include "base/messages.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "support/test_db.h"

namespace {

TEST(MemberSearchKeys, EachKeyTakesItsOwnCharacters) {
  const struct {
    MemberKey key;
    const char16_t* taken;
    const char16_t* refused;
  } cases[] = {
      {MemberKey::Matricula, u"0123456789 ", u"AaZz-.,/ÇçÁ"},
      {MemberKey::Nome, u"ABCXYZabcxyz ", u"0479-.'ÁÉÍÓÚÇçãõ"},
  };
  for (const auto& c : cases) {
    for (const QChar ch : QString::fromUtf16(c.taken))
      EXPECT_TRUE(searchFieldAccepts(c.key, ch)) << QString(ch).toStdString();
    for (const QChar ch : QString::fromUtf16(c.refused))
      EXPECT_FALSE(searchFieldAccepts(c.key, ch)) << QString(ch).toStdString();
  }
  EXPECT_EQ(searchFieldLength(MemberKey::Matricula), 10);
  EXPECT_EQ(searchFieldLength(MemberKey::Nome), 35);
}

// Four members whose registration order (BRUNO, ANA, CARLA, DANIEL) is not their name order.
class MemberLookup : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect();
    db_ = connection_->database();
    runSql(db_, QStringLiteral("CREATE TABLE Alunos (MATRICULA VARCHAR(10), NOME VARCHAR(35))"));
    for (const auto& [matricula, nome] : {std::pair{"0000000007", "BRUNO COSTA"},
                                          {"0000000012", "ANA LIMA"},
                                          {"0000000042", "CARLA DIAS"},
                                          {"0000000420", "DANIEL REIS"}})
      runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
             {matricula, nome});
  }

  std::unique_ptr<PagedTableModel> members(const QString& order, bool empty = false) {
    auto m = std::make_unique<PagedTableModel>(
        db_, connection_->dialect(), QStringLiteral("Alunos"),
        QList<PagedTableModel::Column>{{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
                                       {QStringLiteral("NOME"), QStringLiteral("Nome")}},
        QStringList{QStringLiteral("MATRICULA")});
    if (empty) m->setFilter(QStringLiteral("MATRICULA = ?"), {QStringLiteral("nenhum")});
    m->setOrder({order});
    EXPECT_TRUE(m->refresh());
    return m;
  }

  static QString matriculaAt(const PagedTableModel& m, int row) {
    return row < 0 ? QString() : m.record(row).value(QStringLiteral("MATRICULA")).toString();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(MemberLookup, AKeystrokeMovesTheListAndRemembersWhomEnterLooksFor) {
  const auto keep = UnmatchedName::KeepCurrent;
  const auto forget = UnmatchedName::Forget;
  const struct {
    MemberKey key;
    const char* order;     // the list's order before the key
    const char* standing;  // the member the list stands on; "" none
    const char* typed;
    UnmatchedName unmatched;
    const char* landsOn;  // "" on no row
    std::optional<const char*> remembered;
    bool empty = false;
  } cases[] = {
      // By registration: padded to ten, the first registration beginning with it.
      {MemberKey::Matricula, "MATRICULA", "0000000007", "42", keep, "0000000042", "0000000042"},
      {MemberKey::Matricula, "MATRICULA", "0000000007", "0000000042", keep, "0000000042",
       "0000000042"},
      {MemberKey::Matricula, "MATRICULA", "0000000007", "420", forget, "0000000420", "0000000420"},
      // No registration begins with it: the list stays, the padded text is remembered anyway.
      {MemberKey::Matricula, "MATRICULA", "0000000012", "4", keep, "0000000012", "0000000004"},
      {MemberKey::Matricula, "MATRICULA", "0000000012", "", keep, "0000000012", std::nullopt},
      {MemberKey::Matricula, "MATRICULA", "0000000012", "12345678901", keep, "0000000012",
       std::nullopt},
      // Back from a name search: the list goes to registration order on its member.
      {MemberKey::Matricula, "NOME", "0000000042", "99", keep, "0000000042", "0000000099"},
      // By name.
      {MemberKey::Nome, "NOME", "0000000007", "CAR", keep, "0000000042", "0000000042"},
      {MemberKey::Nome, "NOME", "0000000007", "DA", forget, "0000000420", "0000000420"},
      {MemberKey::Nome, "MATRICULA", "0000000007", "ANA", keep, "0000000012", "0000000012"},
      // A name no member begins with: the list stays; the lists differ in what they remember.
      {MemberKey::Nome, "NOME", "0000000012", "ANX", keep, "0000000012", "0000000012"},
      {MemberKey::Nome, "NOME", "0000000012", "ANX", forget, "0000000012", ""},
      {MemberKey::Nome, "MATRICULA", "0000000042", "ZE", keep, "0000000042", "0000000042"},
      {MemberKey::Nome, "NOME", "", "ZE", keep, "", std::nullopt},
      // An empty list remembers nothing new.
      {MemberKey::Nome, "NOME", "", "ANA", keep, "", std::nullopt, true},
      {MemberKey::Nome, "NOME", "", "ANA", forget, "", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.order) + " on '" + c.standing + "' typed '" + c.typed + "'");
    auto list = members(QString::fromLatin1(c.order), c.empty);
    const int current = *c.standing ? list->rowOfKey(QString::fromLatin1(c.standing)) : -1;
    const SearchStep step =
        searchTyped(*list, c.key, QString::fromLatin1(c.typed), current, c.unmatched);
    EXPECT_EQ(list->order(), QStringList{c.key == MemberKey::Matricula ? QStringLiteral("MATRICULA")
                                                                       : QStringLiteral("NOME")});
    EXPECT_EQ(matriculaAt(*list, step.row), QString::fromLatin1(c.landsOn));
    if (c.remembered)
      EXPECT_EQ(step.remembered, QString::fromLatin1(*c.remembered));
    else
      EXPECT_EQ(step.remembered, std::nullopt);
  }
}

TEST_P(MemberLookup, EnterFindsTheRememberedMemberOrSaysWhyNot) {
  const struct {
    MemberKey key;
    const char* typed;
    const char* remembered;
    const char* found;  // "" when it fails
    QString message;
    QString detail;
  } cases[] = {
      {MemberKey::Matricula, "42", "0000000042", "0000000042", {}, {}},
      {MemberKey::Nome, "ANX", "0000000012", "0000000012", {}, {}},
      {MemberKey::Matricula, "", "0000000042", "", Msg::MatriculaIncorreta, {}},
      {MemberKey::Nome, "", "0000000042", "", Msg::DadoIncorreto, QStringLiteral("Nome")},
      {MemberKey::Matricula, "99", "0000000099", "", Msg::MatriculaNaoCadastrada, {}},
      {MemberKey::Nome, "ZE", "", "", Msg::MatriculaNaoCadastrada, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("typed '") + c.typed + "' remembering '" + c.remembered + "'");
    auto list = members(QStringLiteral("NOME"));
    const Result<int> row = searchEntered(*list, c.key, QString::fromLatin1(c.typed),
                                          QString::fromLatin1(c.remembered));
    if (*c.found) {
      ASSERT_TRUE(row.ok());
      EXPECT_EQ(list->order(), QStringList{QStringLiteral("MATRICULA")});
      EXPECT_EQ(matriculaAt(*list, *row), QString::fromLatin1(c.found));
    } else {
      ASSERT_FALSE(row.ok());
      EXPECT_EQ(row.failure().text, c.message);
      EXPECT_EQ(row.failure().detail, c.detail);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, MemberLookup, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
