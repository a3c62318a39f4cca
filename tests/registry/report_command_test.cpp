// `vantrel report`: exit codes, refusals and the PDF it writes, on an installation whose
// workout link names each provider.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "base/globals.h"
#include "base/messages.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/report_command.h"
#include "support/captured_stream.h"
#include "support/pdf_text.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

class ReportCommand : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Vantrel), database_.linkSpec()));
    connection_ = database_.connect();
    db_ = connection_->database();
    const SchemaReport schema = createMissingTables(db_, connection_->dialect(), Database::Workout);
    ASSERT_TRUE(schema.ok()) << schema.error.toStdString();
    QString error;
    ASSERT_TRUE(ensureSettingsRow(
        db_, {{QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA DO TESTE")}}, &error))
        << error.toStdString();
    for (const char* code : {"01", "02", "03"})
      runSql(db_,
             QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
             {code, QStringLiteral("GRUPO %1").arg(code)});
    const char* const exercises[][2] = {{"001", "SUPINO"}, {"002", "ABDOMINAL"}, {"003", "MESA"}};
    for (const auto& e : exercises)
      runSql(db_,
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, ?)"),
             {e[0], e[1], QStringLiteral("N")});
  }
  void TearDown() override { testPrompter().clear(); }

  int run(const QStringList& args) { return runReportCommand(args, out_.stream(), err_.stream()); }
  QString pdf() const { return files_.filePath(QStringLiteral("consulta.pdf")); }

  TestInstallation home_;
  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
  QTemporaryDir files_;
  Captured out_;
  Captured err_;
};

TEST_P(ReportCommand, BadArgumentsShowTheUsageAndExitWithTwo) {
  const QString file = pdf();
  const QList<QStringList> cases = {
      {},
      {"members", "--pdf", file},
      {"exercises"},
      {"exercises", "--pdf"},
      {"exercises", "--pdf", file, "--size", "3"},
      {"exercises", "--from", "1", "--pdf", file, "--to"},
      {"exercises", "--order", "name", "--pdf", file},
      {"muscle-groups", "--order", "description", "--pdf", file},
  };
  for (const QStringList& args : cases) {
    EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
    EXPECT_TRUE(err_.text().contains(QStringLiteral("vantrel report muscle-groups|exercises")));
  }
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(ReportCommand, ARefusedRangeSaysWhyAndWritesNothing) {
  const struct {
    const char* listing;
    const char* from;
    const char* to;
    QString message;
  } cases[] = {{"muscle-groups", "3", "1", Msg::IntervaloInvalido},
               {"exercises", "3", "1", Msg::IntervaloInvalido},
               {"exercises", "9", "", Msg::CodigoNaoCadastrado}};
  for (const auto& c : cases) {
    testPrompter().clear();
    EXPECT_EQ(run({c.listing, "--from", c.from, "--to", c.to, "--pdf", pdf()}), 1) << c.listing;
    EXPECT_EQ(testPrompter().texts(), QStringList{c.message}) << c.listing;
    EXPECT_FALSE(QFileInfo::exists(pdf()));
  }
}

TEST_P(ReportCommand, WritesTheListingWithTheGymOfTheSettings) {
  ASSERT_EQ(run({"exercises", "--order", "description", "--to", "2", "--pdf", pdf()}), 0)
      << err_.text().toStdString();
  const QStringList lines = pdfLines(pdf());
  ASSERT_GE(lines.size(), 8) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[3], QStringLiteral("ACADEMIA DO TESTE"));
  EXPECT_EQ(lines[4], QStringLiteral("001 à 002"));
  EXPECT_TRUE(lines[6].startsWith(QStringLiteral("002"))) << "by description";
  EXPECT_TRUE(lines[7].startsWith(QStringLiteral("001")));
  EXPECT_TRUE(lines[8].startsWith(QStringLiteral("Página:")));
  EXPECT_TRUE(out_.text().contains(pdf()));
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  ASSERT_EQ(run({"muscle-groups", "--pdf", pdf()}), 0) << err_.text().toStdString();
  EXPECT_TRUE(pdfText(pdf()).contains(QStringLiteral("01 à 03")));
}

TEST_P(ReportCommand, APdfThatCannotBeWrittenFails) {
  EXPECT_EQ(run({"muscle-groups", "--pdf", files_.filePath(QStringLiteral("no/such/dir.pdf"))}), 1);
  EXPECT_TRUE(err_.text().contains(QStringLiteral("no/such/dir.pdf")));
}

TEST_P(ReportCommand, AMissingWorkoutDatabaseFails) {
  QFile::remove(linkFilePath(DataSource::Vantrel));
  EXPECT_EQ(run({"exercises", "--pdf", pdf()}), 1);
  EXPECT_TRUE(err_.text().contains(QStringLiteral("Vantrel")));
  EXPECT_FALSE(QFileInfo::exists(pdf()));
}

INSTANTIATE_TEST_SUITE_P(Providers, ReportCommand, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
