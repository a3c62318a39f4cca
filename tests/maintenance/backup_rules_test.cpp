// The backup file names, the restore's name check, the fifteen-day clean-up and the scratch
// tables a backup drops.
#include <gtest/gtest.h>

#include "maintenance/backup_rules.h"

namespace {

TEST(BackupRules, NamesAndTheRestoreCheck) {
  EXPECT_EQ(backupFileName(QDateTime(QDate(2021, 1, 15), QTime(9, 5, 7))),
            QStringLiteral("Vantrel20210115090507.bak"));
  const struct {
    const char* path;
    bool restorable;
  } cases[] = {{"/backup/Vantrel20210115090507.bak", true},
               {"/backup/VANTREL20210115090507.BAK", true},
               {"/backup/Vantrel20210115090507-2019.bak", false},  // a purge's backup
               {"/backup/copia.bak", false},
               {"/backup/Vantrel20210115090507.zip", false},
               {"", false}};
  for (const auto& c : cases) EXPECT_EQ(restorableName(QString::fromLatin1(c.path)), c.restorable) << c.path;
}

TEST(BackupRules, TheCleanUpRemovesOnlyBackupsOlderThanFifteenDays) {
  const QString december = QStringLiteral("Vantrel20201231235959.bak");
  EXPECT_TRUE(removedByCleanup(december, QDate(2021, 1, 15)));   // cut-off 31/12/2020
  EXPECT_FALSE(removedByCleanup(december, QDate(2021, 1, 14)));  // cut-off 30/12/2020
  for (const char* kept : {"Vantrel20201231235959-2019.bak", "Vantrel20201231.bak",
                           "vantrel20201231235959.bak", "Vantrel2020123123595X.zip",
                           "VantrelABCDEFGH235959.bak", "notas.txt"})
    EXPECT_FALSE(removedByCleanup(QString::fromLatin1(kept), QDate(2021, 6, 1))) << kept;
}

TEST(BackupRules, ScratchTablesAreThoseBeginningWithTempInAnyCase) {
  EXPECT_EQ(scratchTables({QStringLiteral("TempExercicio133458"), QStringLiteral("tempX"),
                           QStringLiteral("Treino"), QStringLiteral("ATEMP"),
                           QStringLiteral("TEMPAEROBICA1")}),
            (QStringList{"TempExercicio133458", "tempX", "TEMPAEROBICA1"}));
}

}  // namespace

namespace {

TEST(PurgeRules, YearsAndTheBackupName) {
  EXPECT_EQ(purgeBackupFileName(QDateTime(QDate(2021, 3, 1), QTime(8, 0)), 2019),
            QStringLiteral("Vantrel20210301080000-2019.bak"));
  EXPECT_FALSE(restorableName(purgeBackupFileName(QDateTime(QDate(2021, 3, 1), QTime(8, 0)), 2019)));
  EXPECT_EQ(typedYear(QStringLiteral("2019")), 2019);
  EXPECT_EQ(typedYear(QStringLiteral(" 2019 ")), 2019);
  EXPECT_FALSE(typedYear(QStringLiteral("20x9")));
  EXPECT_FALSE(typedYear(QStringLiteral("201")));
  EXPECT_EQ(typedYear(QStringLiteral("19")), QDate::currentDate().year() / 100 * 100 + 19);
  const QDate today(2021, 6, 1);
  EXPECT_TRUE(purgeAllowed(2019, today));
  EXPECT_FALSE(purgeAllowed(2020, today));
  EXPECT_FALSE(purgeAllowed(2021, today));
}

}  // namespace
