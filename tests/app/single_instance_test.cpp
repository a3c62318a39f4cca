#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "app/single_instance.h"
#include "support/test_db.h"

namespace {

// Points XDG_RUNTIME_DIR somewhere for the life of the object.
class RuntimeFolder {
 public:
  explicit RuntimeFolder(QFile::Permissions permissions) : previous_(qgetenv("XDG_RUNTIME_DIR")) {
    QFile::setPermissions(dir_.path(), permissions);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir_.path()));
  }
  ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", previous_); }
  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray previous_;
};

constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

TEST(SingleInstance, TheSocketLivesInAFolderOnlyTheUserCanEnter) {
  TestInstallation home;
  {
    RuntimeFolder runtime(kPrivate);
    EXPECT_TRUE(SingleInstance::serverName().startsWith(runtime.path() + QLatin1Char('/')));
  }
  RuntimeFolder shared(kPrivate | QFile::ReadOther | QFile::ExeOther | QFile::WriteOther);
  const QString name = SingleInstance::serverName();
  EXPECT_FALSE(name.startsWith(shared.path()));
  EXPECT_TRUE(QFileInfo(name).absolutePath() == QStringLiteral("/tmp/vantrel-%1").arg(::getuid()) ||
              name.startsWith(home.path()))
      << name.toStdString();
}

// Another local user listening on the program's socket first: the start goes on.
TEST(SingleInstance, ASocketSquattedByAnotherUserDoesNotStopTheStart) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to play another user";
  TestInstallation home;
  RuntimeFolder runtime(kPrivate);
  QTemporaryDir open;
  QFile::setPermissions(open.path(), QFile::Permissions(0x7777));
  const QString squatted = open.filePath(QStringLiteral("s"));
  QProcess squatter;
  // The squatter drops what it inherited, dies with runuser, and says its own number, so that it
  // is ended however the test ends.
  squatter.start(QStringLiteral("runuser"),
                 {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                  QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                  QStringLiteral("import ctypes, os, signal, socket, sys\n"
                                 "os.closerange(3, 65536)\n"
                                 "ctypes.CDLL(None).prctl(1, signal.SIGKILL)\n"
                                 "s = socket.socket(socket.AF_UNIX)\n"
                                 "s.bind(sys.argv[1]); s.listen(5)\n"
                                 "print(os.getpid(), flush=True)\n"
                                 "while True:\n"
                                 "    c, _ = s.accept(); c.sendall(b'ok')\n"),
                  squatted});
  pid_t squatterPid = 0;
  const auto endSquatter = qScopeGuard([&] {
    if (squatterPid > 0) ::kill(squatterPid, SIGKILL);
    squatter.kill();
    squatter.waitForFinished();
  });
  while (!squatter.canReadLine())
    ASSERT_TRUE(squatter.waitForReadyRead(10000)) << squatter.readAllStandardError().toStdString();
  squatterPid = squatter.readLine().trimmed().toInt();
  ASSERT_GT(squatterPid, 0);
  // Root moves the other user's socket to the very name this copy would use.
  ASSERT_TRUE(QFile::rename(squatted, SingleInstance::serverName()));

  SingleInstance instance;
  EXPECT_FALSE(instance.anotherIsRunning());
  EXPECT_TRUE(instance.listen());
}

}  // namespace
