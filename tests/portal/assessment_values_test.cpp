// The assessment values of a whole bulk run, read at once, are the values each member's own
// reading gives: the latest anamnesis, the latest body assessment when it is of the three- or
// seven-fold kind, and the blank values for a member never assessed.
#include <gtest/gtest.h>

#include "data/schema.h"
#include "data/sql.h"
#include "portal/assessment_values.h"
#include "support/test_db.h"

namespace {

class RunAssessments : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect(QStringLiteral("avaliacao"));
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name : {"ANAMNESE", "CORPORAL"})
      tables << *findTable(Database::Assessment, QString::fromLatin1(name));
    ASSERT_TRUE(createMissingTables(db_, connection_->dialect(), tables).ok());
  }

  void anamnese(const char* matricula, const QDate& day, const char* objective) {
    runSql(db_,
           QStringLiteral("INSERT INTO ANAMNESE (MATRICULA, DATAEXAME, %1, A_OBJOUTROS, A_OBJQUAL) "
                          "VALUES (?, ?, ?, ?, 'CORRIDA')")
               .arg(QString::fromLatin1(objective)),
           {QString::fromLatin1(matricula), day, true, qstrcmp(objective, "A_OBJPERDA") == 0});
  }

  void body(const char* matricula, const QDate& day, const char* kind, double weight) {
    runSql(
        db_,
        QStringLiteral("INSERT INTO CORPORAL (MATRICULA, DATAEXAME, G_TIPO, G_PESO, "
                       "G_3DOBRASGORDURA_A, G_7DOBRASGORDURA_A) VALUES (?, ?, ?, ?, 18.25, 21.5)"),
        {QString::fromLatin1(matricula), day, QString::fromLatin1(kind), weight});
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(RunAssessments, EachMemberHasTheValuesOfTheirOwnReading) {
  anamnese("0000000001", QDate(2025, 1, 10), "A_OBJGANHO");
  anamnese("0000000001", QDate(2025, 6, 10), "A_OBJPERDA");  // the later one counts
  body("0000000001", QDate(2025, 6, 12), "3", 72.5);
  body("0000000002", QDate(2025, 2, 1), "7", 80);              // body assessment only
  anamnese("0000000003", QDate(2025, 3, 3), "A_OBJPOSTURAL");  // anamnesis only
  body("0000000004", QDate(2025, 1, 1), "3", 60);
  body("0000000004", QDate(2025, 4, 1), "1", 61);  // the latest is of another kind: no values
  constexpr int kMonths = 3;

  const QHash<QString, SheetAssessment> all = readAllAssessments(db_, kMonths);
  EXPECT_EQ(all.size(), 4);
  for (const char* matricula :
       {"0000000001", "0000000002", "0000000003", "0000000004", "0000000005"}) {
    const SheetAssessment own = readSheetAssessment(db_, QString::fromLatin1(matricula), kMonths);
    const SheetAssessment atOnce = all.value(QString::fromLatin1(matricula));
    EXPECT_EQ(atOnce.objetivos, own.objetivos) << matricula;
    EXPECT_EQ(atOnce.peso, own.peso) << matricula;
    EXPECT_EQ(atOnce.gordura, own.gordura) << matricula;
    EXPECT_EQ(atOnce.proximaReavaliacao, own.proximaReavaliacao) << matricula;
  }
  // The fixture shows what it means to: values that tell the members apart.
  EXPECT_EQ(all.value(QStringLiteral("0000000001")).objetivos,
            QStringLiteral("Perda de Gordura - CORRIDA"));
  EXPECT_EQ(all.value(QStringLiteral("0000000001")).peso, QStringLiteral("72,5"));
  EXPECT_EQ(all.value(QStringLiteral("0000000002")).gordura, QStringLiteral("21,5"));
  EXPECT_EQ(all.value(QStringLiteral("0000000001")).proximaReavaliacao, QDate(2025, 9, 12));
  EXPECT_TRUE(all.value(QStringLiteral("0000000004")).peso.isEmpty());
}

TEST_P(RunAssessments, ADatabaseWithoutTheTablesFails) {
  runSql(db_, QStringLiteral("DROP TABLE CORPORAL"));
  EXPECT_THROW(readAllAssessments(db_, 3), SqlError);
}

INSTANTIATE_TEST_SUITE_P(Providers, RunAssessments, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
