#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/link_file.h"

namespace {

struct ParseCase {
  const char* name;
  const char* text;
  bool ok;
  Provider provider;
  const char* dataSource;
  const char* catalog;
  const char* user;
  const char* password;
  const char* errorPart;
};

const ParseCase kCases[] = {
    {"sqlite", "Provider=SQLite;Data Source=vantrel.db", true, Provider::SQLite, "vantrel.db", "",
     "", "", ""},
    {"oledb header and comments",
     "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
     "Provider=SQLite;Data Source=/srv/gym/vantrel.db\r\n",
     true, Provider::SQLite, "/srv/gym/vantrel.db", "", "", "", ""},
    {"postgres full",
     "Provider=PostgreSQL;Data Source=db.gym.lan:5433;Initial Catalog=vantrel;"
     "User ID=gym;Password=s3cr3t",
     true, Provider::PostgreSQL, "db.gym.lan:5433", "vantrel", "gym", "s3cr3t", ""},
    {"keys in any case, spaces around",
     "provider = postgresql ; data source= /run/pg ;"
     "initial catalog=ginastica;user id=adm",
     true, Provider::PostgreSQL, "/run/pg", "ginastica", "adm", "", ""},
    {"quoted password with semicolon and quote",
     "Provider=PostgreSQL;Data Source=h;Initial Catalog=c;User ID=u;Password=\"a;b\"\"c\"", true,
     Provider::PostgreSQL, "h", "c", "u", "a;b\"c", ""},
    {"other OLE DB items ignored", "Provider=SQLite;Persist Security Info=False;Data Source=x.db",
     true, Provider::SQLite, "x.db", "", "", "", ""},
    {"no provider", "Data Source=x.db", false, Provider::SQLite, "", "", "", "", "provedor"},
    {"unknown provider", "Provider=SQLOLEDB.1;Data Source=SERVER", false, Provider::SQLite, "", "",
     "", "", "SQLOLEDB.1"},
    {"no data source", "Provider=SQLite", false, Provider::SQLite, "", "", "", "", "Data Source"},
    {"postgres without catalog", "Provider=PostgreSQL;Data Source=h", false, Provider::SQLite, "",
     "", "", "", "Initial Catalog"},
    {"garbage", "isto não é um arquivo de conexão", false, Provider::SQLite, "", "", "", "", "="},
    {"unterminated quote", "Provider=SQLite;Data Source=\"x.db", false, Provider::SQLite, "", "",
     "", "", "aspas"},
    {"empty", "", false, Provider::SQLite, "", "", "", "", "provedor"},
    // A malformed item is named by its key and position, never by its value.
    {"item without equals", "Provider=PostgreSQL;Data Source=h;User ID academia;Password=segredo",
     false, Provider::SQLite, "", "", "", "", "item 3 (User ID) sem \"=\""},
    {"unquoted semicolon in the password",
     "Provider=PostgreSQL;Data Source=h;Initial Catalog=c;Password=abc;def", false,
     Provider::SQLite, "", "", "", "", "item 5 sem \"=\""},
    {"text after a quoted value", "Provider=SQLite;Data Source=\"x.db\" y", false, Provider::SQLite,
     "", "", "", "", "item 2 (Data Source)"},
};

class LinkParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(LinkParseTest, Parses) {
  const ParseCase& c = GetParam();
  const LinkParse parsed = parseLinkText(QString::fromUtf8(c.text));
  ASSERT_EQ(parsed.linkSpec.has_value(), c.ok) << parsed.error.toStdString();
  if (!c.ok) {
    EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.errorPart)))
        << parsed.error.toStdString();
    for (const char* secret : {"segredo", "def", "academia"})
      EXPECT_FALSE(parsed.error.contains(QString::fromLatin1(secret)))
          << parsed.error.toStdString();
    return;
  }
  EXPECT_EQ(parsed.linkSpec->provider, c.provider);
  EXPECT_EQ(parsed.linkSpec->dataSource, QString::fromUtf8(c.dataSource));
  EXPECT_EQ(parsed.linkSpec->catalog, QString::fromUtf8(c.catalog));
  EXPECT_EQ(parsed.linkSpec->user, QString::fromUtf8(c.user));
  EXPECT_EQ(parsed.linkSpec->password, QString::fromUtf8(c.password));
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkParseTest, testing::ValuesIn(kCases), [](const auto& info) {
  std::string name;
  for (char ch : std::string(info.param.name))
    name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
});

TEST(LinkSpec, HostAndPortOfTheDataSource) {
  const struct {
    const char* dataSource;
    const char* host;
    int port;
  } cases[] = {{"db.gym.lan:5433", "db.gym.lan", 5433},
               {"db.gym.lan", "db.gym.lan", 0},
               {"/tmp/pg socket", "/tmp/pg socket", 0},
               {"/tmp/pg:5432", "/tmp/pg", 5432},
               {"10.0.0.5:abc", "10.0.0.5:abc", 0}};
  for (const auto& c : cases) {
    LinkSpec linkSpec;
    linkSpec.dataSource = QString::fromUtf8(c.dataSource);
    EXPECT_EQ(linkSpec.host(), QString::fromUtf8(c.host)) << c.dataSource;
    EXPECT_EQ(linkSpec.port(), c.port) << c.dataSource;
  }
}

TEST(LinkFile, WrittenFileReadsBackAndRelativeFilesFollowTheLink) {
  QTemporaryDir dir;
  LinkSpec pg;
  pg.provider = Provider::PostgreSQL;
  pg.dataSource = QStringLiteral("servidor:5432");
  pg.catalog = QStringLiteral("vantrel");
  pg.user = QStringLiteral("academia");
  pg.password = QStringLiteral("p;a\"ss word ");
  ASSERT_TRUE(writeLinkFile(dir.filePath(QStringLiteral("Vantrel.udl")), pg));
  const LinkParse back = readLinkFile(dir.filePath(QStringLiteral("Vantrel.udl")));
  ASSERT_TRUE(back.linkSpec) << back.error.toStdString();
  EXPECT_EQ(back.linkSpec->password, pg.password);
  EXPECT_EQ(back.linkSpec->catalog, pg.catalog);

  LinkSpec lite;
  lite.dataSource = QStringLiteral("../brisca.db");
  ASSERT_TRUE(writeLinkFile(dir.filePath(QStringLiteral("SA/Brisca.udl")), lite));
  const LinkParse sa = readLinkFile(dir.filePath(QStringLiteral("SA/Brisca.udl")));
  ASSERT_TRUE(sa.linkSpec);
  EXPECT_EQ(sa.linkSpec->dataSource, QDir::cleanPath(dir.filePath(QStringLiteral("brisca.db"))));
}

TEST(LinkFile, MissingOrUnreadableFileIsAnError) {
  QTemporaryDir dir;
  const LinkParse missing = readLinkFile(dir.filePath(QStringLiteral("Nada.udl")));
  EXPECT_FALSE(missing.linkSpec);
  EXPECT_TRUE(missing.error.contains(QStringLiteral("não existe")));

  // Older tools save link files as UTF-16 with a byte-order mark.
  QFile utf16(dir.filePath(QStringLiteral("Wide.udl")));
  ASSERT_TRUE(utf16.open(QIODevice::WriteOnly));
  const QString text = QStringLiteral("[oledb]\r\nProvider=SQLite;Data Source=largo.db\r\n");
  utf16.write("\xFF\xFE");
  utf16.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  utf16.close();
  const LinkParse wide = readLinkFile(utf16.fileName());
  ASSERT_TRUE(wide.linkSpec) << wide.error.toStdString();
  EXPECT_TRUE(wide.linkSpec->dataSource.endsWith(QStringLiteral("/largo.db")));

  // Big-endian, as some editors save it, reads the same.
  QFile big(dir.filePath(QStringLiteral("Big.udl")));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write("\xFE\xFF");
  for (const QChar ch : text) {
    big.putChar(char(ch.unicode() >> 8));
    big.putChar(char(ch.unicode() & 0xFF));
  }
  big.close();
  const LinkParse bigEndian = readLinkFile(big.fileName());
  ASSERT_TRUE(bigEndian.linkSpec) << bigEndian.error.toStdString();
  EXPECT_TRUE(bigEndian.linkSpec->dataSource.endsWith(QStringLiteral("/largo.db")));
}

}  // namespace
