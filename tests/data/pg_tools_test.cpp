// Finding a dump or restore program at least as new as the server, in a library folder laid
// out as Debian lays it out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/pg_tools.h"

namespace {

void program(const QTemporaryDir& root, const char* version, const char* tool, bool executable) {
  const QString folder = root.filePath(QStringLiteral("%1/bin").arg(QString::fromLatin1(version)));
  ASSERT_TRUE(QDir().mkpath(folder));
  QFile file(folder + QLatin1Char('/') + QString::fromLatin1(tool));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\n");
  file.close();
  QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
  if (executable) permissions |= QFile::ExeOwner;
  file.setPermissions(permissions);
}

TEST(PostgresTools, VersionsAreReadFromEitherForm) {
  EXPECT_EQ(postgresMajor(QStringLiteral("150018")), 15);
  EXPECT_EQ(postgresMajor(QStringLiteral("90624")), 9);
  EXPECT_EQ(postgresMajor(QStringLiteral("pg_dump (PostgreSQL) 16.2 (Debian 16.2-1)")), 16);
  EXPECT_EQ(postgresMajor(QStringLiteral("qualquer coisa")), 0);
}

TEST(PostgresTools, TheNewestProgramAtLeastAsNewAsTheServerIsChosen) {
  QTemporaryDir root;
  program(root, "13", "pg_dump", true);
  program(root, "15", "pg_dump", true);
  program(root, "17", "pg_dump", false);  // not executable: not a program
  program(root, "15", "pg_restore", true);
  QString why;
  EXPECT_EQ(findPostgresTool(QStringLiteral("pg_dump"), 14, root.path(), &why),
            root.filePath(QStringLiteral("15/bin/pg_dump")));
  EXPECT_EQ(findPostgresTool(QStringLiteral("pg_dump"), 15, root.path(), &why),
            root.filePath(QStringLiteral("15/bin/pg_dump")));
  EXPECT_FALSE(findPostgresTool(QStringLiteral("pg_dump"), 16, root.path(), &why));
  EXPECT_EQ(why, QStringLiteral("pg_dump versão 15 é mais antigo que o servidor PostgreSQL 16"));
  EXPECT_FALSE(findPostgresTool(QStringLiteral("pg_restore"), 16, root.path(), &why));
  EXPECT_FALSE(findPostgresTool(QStringLiteral("pg_upgrade"), 15, root.path(), &why));
  EXPECT_EQ(why, QStringLiteral("pg_upgrade não encontrado (servidor PostgreSQL 15)"));
}

}  // namespace
