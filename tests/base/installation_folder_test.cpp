// Closing a folder or a file to others takes the group's and the others' permissions away and
// never gives the owner one the owner took away.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/error_log.h"
#include "base/installation_folder.h"
#include "support/test_db.h"

namespace {

mode_t modeOf(const QString& path) {
  struct stat info;
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
  return info.st_mode & 07777;
}

TEST(PrivateFolder, OnlyTheGroupsAndOthersPermissionsAreTakenAway) {
  QTemporaryDir dir;
  for (const auto& [before, after] :
       {std::pair{mode_t(0755), mode_t(0700)}, {0555, 0500}, {0700, 0700}, {0500, 0500}}) {
    const QString folder = dir.filePath(QStringLiteral("pasta%1").arg(before, 0, 8));
    ASSERT_TRUE(QDir().mkpath(folder));
    ::chmod(QFile::encodeName(folder).constData(), before);
    EXPECT_TRUE(makePrivateFolder(folder));
    EXPECT_EQ(modeOf(folder), after) << std::oct << before;
    ::chmod(QFile::encodeName(folder).constData(), 0700);
  }
  for (const auto& [before, after] : {std::pair{mode_t(0644), mode_t(0600)}, {0444, 0400}}) {
    const QString file = dir.filePath(QStringLiteral("arquivo%1").arg(before, 0, 8));
    QFile(file).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(file).constData(), before);
    makePrivateFile(file);
    EXPECT_EQ(modeOf(file), after) << std::oct << before;
  }
}

TEST(PrivateFolder, WritingTheLogNeverOpensAFolderItsOwnerClosed) {
  TestInstallation installation;
  const QByteArray folder = QFile::encodeName(installation.path());
  ::chmod(folder.constData(), 0555);
  appendToLog(QStringLiteral("teste"));
  EXPECT_EQ(modeOf(installation.path()), mode_t(0500));
  ::chmod(folder.constData(), 0700);
}

}  // namespace
