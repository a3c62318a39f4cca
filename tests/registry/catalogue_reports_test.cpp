// The two catalogue listings read back from their PDF, on each provider.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "base/messages.h"
#include "catalogue_fixture.h"
#include "registry/catalogue_reports.h"
#include "support/pdf_text.h"

namespace {

const QDateTime kPrintedAt(QDate(2026, 3, 5), QTime(14, 7, 9));

class CatalogueReports : public CatalogueTest {
 protected:
  QString pdf() const { return dir_.filePath(QStringLiteral("listagem.pdf")); }
  QTemporaryDir dir_;
};

bool matches(const QString& line, const QString& pattern) {
  return QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$"))
      .match(line)
      .hasMatch();
}

TEST_P(CatalogueReports, MuscleGroupListing) {
  const char* const groups[][2] = {{"01", "PEITORAL"}, {"02", "COSTAS"},  {"04", "BICEPS"},
                                   {"05", "TRICEPS"},  {"07", "GLUTEOS"}, {"10", "ABDOMEN"}};
  for (const auto& g : groups) addGroup(g[0], g[1]);
  const ListingHeading heading{QStringLiteral("ACADEMIA DO TESTE"),
                               {QStringLiteral("02"), QStringLiteral("07")},
                               kPrintedAt};
  const Result<Report> report = muscleGroupListing(db_, heading);
  ASSERT_TRUE(report);
  ASSERT_TRUE(writePdf(*report, pdf()));

  const QStringList lines = pdfLines(pdf());
  ASSERT_EQ(lines.size(), 9) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0], QStringLiteral("Consulta de Grupamento Muscular"));
  EXPECT_EQ(lines[1], QStringLiteral("ACADEMIA DO TESTE"));
  EXPECT_TRUE(matches(lines[2], QStringLiteral("02 à 07\\s+Data : 05/03/2026\\s+Hora : 14:07:09")))
      << lines[2].toStdString();
  EXPECT_TRUE(matches(lines[3], QStringLiteral("Código\\s+Grupamento Muscular")));
  EXPECT_TRUE(matches(lines[4], QStringLiteral("02\\s+COSTAS")));
  EXPECT_TRUE(matches(lines[5], QStringLiteral("04\\s+BICEPS")));
  EXPECT_TRUE(matches(lines[6], QStringLiteral("05\\s+TRICEPS")));
  EXPECT_TRUE(matches(lines[7], QStringLiteral("07\\s+GLUTEOS")));
  EXPECT_TRUE(matches(lines[8], QStringLiteral("Página:\\s+1")));
}

TEST_P(CatalogueReports, ExerciseListingByDescriptionOverSeveralPages) {
  // 120 exercises whose descriptions run backwards against their codes.
  for (int i = 1; i <= 120; ++i)
    addExercise(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')),
                QStringLiteral("EXERCICIO %1").arg(1000 - i), i % 4 ? "N" : "S");
  const ListingHeading heading{QStringLiteral("ACADEMIA DO TESTE"),
                               {QStringLiteral("001"), QStringLiteral("120")},
                               kPrintedAt};
  const Result<Report> report = exerciseListing(db_, heading, ListingOrder::Description);
  ASSERT_TRUE(report);
  ASSERT_TRUE(writePdf(*report, pdf()));

  const int pages = pdfPageCount(pdf());
  ASSERT_GE(pages, 3);
  QStringList rows;
  for (int p = 1; p <= pages; ++p) {
    SCOPED_TRACE(testing::Message() << "page " << p);
    const QStringList lines = pdfLines(pdf(), p, p);
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(matches(lines[0], QStringLiteral("Data : 05/03/2026")));
    EXPECT_TRUE(matches(lines[1], QStringLiteral("Consulta de Exercícios")));
    EXPECT_TRUE(matches(lines[2], QStringLiteral("Hora : 14:07:09")));
    EXPECT_EQ(lines[3], QStringLiteral("ACADEMIA DO TESTE"));
    EXPECT_EQ(lines[4], QStringLiteral("001 à 120"));
    EXPECT_TRUE(matches(lines[5], QStringLiteral("Código\\s+Descrição\\s+Tipo Aeróbica")));
    EXPECT_TRUE(matches(lines.last(), QStringLiteral("Página:\\s+%1").arg(p)));
    rows += lines.mid(6, lines.size() - 7);
  }
  ASSERT_EQ(rows.size(), 120);
  for (int k = 0; k < 120; ++k) {
    const int i = 120 - k;  // the highest code has the lowest description
    EXPECT_TRUE(matches(rows[k], QStringLiteral("%1\\s+EXERCICIO %2\\s+%3")
                                     .arg(i, 3, 10, QLatin1Char('0'))
                                     .arg(1000 - i)
                                     .arg(i % 4 ? "N" : "S")))
        << rows[k].toStdString();
  }
}

TEST_P(CatalogueReports, TheHeadingOfAListingPrintedNowIsTheLoggedInGyms) {
  G().GSTR_ACADEMIA = QStringLiteral("ACADEMIA CORPO EM FORMA");
  const QDateTime before = QDateTime::currentDateTime();
  const ListingHeading heading = currentHeading({QStringLiteral("01"), QStringLiteral("02")});
  EXPECT_EQ(heading.gym, QStringLiteral("ACADEMIA CORPO EM FORMA"));
  EXPECT_GE(heading.printedAt, before.addSecs(-1));
  EXPECT_LE(heading.printedAt, QDateTime::currentDateTime());
}

TEST_P(CatalogueReports, AListingThatCannotBeReadSaysWhichTable) {
  runSql(db_, QStringLiteral("DROP TABLE GrupamentoMuscular"));
  const Result<Report> report = muscleGroupListing(db_, ListingHeading{});
  ASSERT_FALSE(report);
  EXPECT_EQ(report.failure().text, Msg::AberturaDeTabela);
  EXPECT_EQ(report.failure().detail, QStringLiteral("GrupamentoMuscular"));
  EXPECT_TRUE(report.failure().log.contains(QStringLiteral("GrupamentoMuscular")));
}

INSTANTIATE_TEST_SUITE_P(Providers, CatalogueReports, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
