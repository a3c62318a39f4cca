// The backup, restore and purge windows as the gym uses them: the work runs on a worker while
// the window shows it, a restore ends the program, and a purge empties nothing before its backup
// has been made.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "base/globals.h"
#include "base/installation_folder.h"
#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "maintenance/backup_job.h"
#include "maintenance/backup_window.h"
#include "maintenance/purge_window.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

class BackupWindows : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    installPrompter(&boxes_);
    setBackupPlaceSource([this] {
      return QList<BackupPlace>{
          {QStringLiteral("Pasta de Backup"), backupFolder(), true},
          {QStringLiteral("PENDRIVE"), pendrive_.path(), false},
          {QStringLiteral("DISCO REMOVIDO"), QStringLiteral("/nao/existe/mais"), false}};
    });
  }
  void TearDown() override {
    installPrompter(&testPrompter());
    setBackupPlaceSource(nullptr);
    TFRMRESTAURACAODOBACKUP::setFileChooser(nullptr);
    FrameFixture::TearDown();
  }

  void addWorkout(const QDate& date) {
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, Ordem) VALUES "
                          "('0000000001', 'A', ?, 1)"),
           {date});
  }
  // Counted on a connection of its own: the standing ones may be closed by then.
  int workouts() {
    Connection fresh(DataSource::Vantrel, QStringLiteral("contagem"));
    EXPECT_TRUE(fresh.open());
    const int n =
        scalarSql(fresh.database(), QStringLiteral("SELECT COUNT(*) FROM Treino")).toInt();
    fresh.release();
    return n;
  }
  QStringList backups() const { return QDir(backupFolder()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir pendrive_;
  WindowPrompter boxes_;
};

template <typename T>
T* child(QWidget* w, const char* name) {
  T* found = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_TRUE(found) << name;
  return found;
}

TEST_F(BackupWindows, TheBackupIsMadeOnAWorkerCopiedToTheChosenVolumeAndAGoneVolumeIsTold) {
  addWorkout(QDate(2026, 3, 4));
  TFRMBACKUP window;
  window.show();
  auto* places = child<QComboBox>(&window, "CBDRIVE");
  auto* confirm = child<QPushButton>(&window, "BBNCONFIRMA");
  places->setCurrentIndex(1);
  places->setFocus();
  QTest::keyClick(places, Qt::Key_Return);
  EXPECT_EQ(window.focusWidget(), confirm);

  QTest::keyClick(confirm, Qt::Key_Return);
  EXPECT_TRUE(window.running());
  EXPECT_FALSE(child<QPushButton>(&window, "BBNRETORNA")->isEnabled());
  QTest::keyClick(&window, Qt::Key_Escape);  // the way out waits for the backup
  EXPECT_TRUE(window.isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!window.running(), 20000);
  EXPECT_EQ(boxes_.texts(), QStringList{Msg::BackupRealizado});
  ASSERT_EQ(backups().size(), 1);
  EXPECT_EQ(window.lastBackup(), QDir(backupFolder()).filePath(backups().first()));
  EXPECT_TRUE(QFileInfo::exists(QDir(pendrive_.path()).filePath(backups().first())));
  EXPECT_TRUE(confirm->isEnabled());

  boxes_.clear();
  places->setCurrentIndex(2);
  confirm->click();
  EXPECT_FALSE(window.running());
  ASSERT_EQ(boxes_.messages().size(), 1);
  EXPECT_EQ(boxes_.messages()[0].text, Msg::ErroBackup);
  EXPECT_EQ(boxes_.messages()[0].detail, QStringLiteral("\rUnidade inválida -> /nao/existe/mais"));
  EXPECT_EQ(backups().size(), 1);
}

// From the menu, as the user meets it: a file chooser cancelled does nothing, a file not named
// like a backup is refused, and a backup brings the database back to its moment and ends the
// program.
TEST_F(BackupWindows, ARestoreFromTheMenuBringsBackTheBackupsMomentAndEndsTheProgram) {
  addWorkout(QDate(2026, 3, 4));
  const BackupOutcome backup = backUpWorkoutDatabase({});
  ASSERT_TRUE(backup.file) << backup.detail.toStdString();
  runSql(workout(), QStringLiteral("DELETE FROM Treino"));

  QStringList chosen{QString(), QDir(pendrive_.path()).filePath(QStringLiteral("copia.bak")),
                     *backup.file};
  QString folderOffered;
  TFRMRESTAURACAODOBACKUP::setFileChooser([&](QWidget*, const QString& folder) {
    folderOffered = folder;
    return chosen.takeFirst();
  });
  QStringList steps;
  QTimer::singleShot(0, [&] {
    auto* window = qobject_cast<TFRMRESTAURACAODOBACKUP*>(QApplication::activeModalWidget());
    ASSERT_TRUE(window);
    auto* confirm = child<QPushButton>(window, "BBNCONFIRMA");
    confirm->click();
    steps << QStringLiteral("%1 mensagens").arg(boxes_.messages().size());
    confirm->click();
    steps << boxes_.messages().value(0).detail;
    boxes_.clear();
    confirm->click();
    steps << (window->running() ? QStringLiteral("restaurando") : QStringLiteral("parado"));
    steps << (session_.workout().isOpen() ? QStringLiteral("conectado")
                                          : QStringLiteral("desconectado"));
  });
  window_->openEntry(QStringLiteral("MNRESTAURACAODOBACKUP"));

  EXPECT_EQ(steps, QStringList({QStringLiteral("0 mensagens"), QStringLiteral("Extensão Inaválida"),
                                QStringLiteral("restaurando"), QStringLiteral("desconectado")}));
  EXPECT_EQ(folderOffered, backupFolder());
  EXPECT_EQ(boxes_.texts(), QStringList{Msg::RestoreRealizado});
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->timer()->isActive());
  EXPECT_EQ(workouts(), 1);
}

class PurgeWindow : public BackupWindows {
 protected:
  QLineEdit* year(QWidget* w) { return child<QLineEdit>(w, "EDTANO"); }
};

TEST_F(PurgeWindow, RefusesToWorkBesideAnotherWindow) {
  G().GINT_JANELAS_ABERTAS = 2;
  TFRMREESVAZIARARQUIVOS window;
  window.show();
  QTRY_VERIFY(!window.isVisible());
  EXPECT_EQ(boxes_.texts(), QStringList{Msg::FecheTodasAsJanelas});
}

TEST_F(PurgeWindow, TheYearIsCheckedThenTheBackupIsMadeAndOnlyThenTheSeriesAreEmptied) {
  const int thisYear = QDate::currentDate().year();
  addWorkout(QDate(thisYear - 3, 12, 31));
  addWorkout(QDate(thisYear - 2, 1, 1));
  G().GINT_JANELAS_ABERTAS = 1;
  TFRMREESVAZIARARQUIVOS window;
  window.show();
  QLineEdit* field = year(&window);
  EXPECT_EQ(field->text(), QString::number(thisYear - 2));
  EXPECT_EQ(window.focusWidget(), field);

  // Two digits are this century's year; Enter moves on to "Confirma".
  field->clear();
  QTest::keyClicks(field, QStringLiteral("1a9"));
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), QStringLiteral("2019"));
  EXPECT_EQ(window.focusWidget(), child<QPushButton>(&window, "BBNCONFIRMA"));

  field->setText(QString::number(thisYear - 1));
  clickButton(&window, "BBNCONFIRMA");
  EXPECT_EQ(boxes_.messages().value(0).detail,
            QStringLiteral("Ano selecionado não pode ser esvaziado"));
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_FALSE(child<QGroupBox>(&window, "PNLBACKUP")->isVisible());

  boxes_.clear();
  field->setText(QString::number(thisYear - 3));
  clickButton(&window, "BBNCONFIRMA");
  EXPECT_TRUE(child<QGroupBox>(&window, "PNLBACKUP")->isVisible());
  EXPECT_FALSE(field->isEnabled());
  EXPECT_FALSE(child<QPushButton>(&window, "BBNCANCELA")->isEnabled());
  clickButton(&window, "BBNBACKUP");
  EXPECT_TRUE(window.running());
  QTRY_VERIFY_WITH_TIMEOUT(!window.running(), 20000);
  EXPECT_EQ(boxes_.texts(), QStringList({Msg::BackupRealizado, Msg::FimDeProcesso}));
  ASSERT_EQ(backups().size(), 1);
  EXPECT_TRUE(backups().first().endsWith(QStringLiteral("-%1.bak").arg(thisYear - 3)));
  EXPECT_EQ(workouts(), 1);
  EXPECT_TRUE(field->isEnabled());
  EXPECT_FALSE(child<QGroupBox>(&window, "PNLBACKUP")->isVisible());
}

TEST_F(PurgeWindow, AFailedPurgeDeletesNothingAndClosesTheWindowAndAGoneVolumeRunsNothing) {
  const int thisYear = QDate::currentDate().year();
  addWorkout(QDate(thisYear - 3, 6, 1));
  G().GINT_JANELAS_ABERTAS = 1;
  TFRMREESVAZIARARQUIVOS window;
  window.show();
  year(&window)->setText(QString::number(thisYear - 3));
  clickButton(&window, "BBNCONFIRMA");
  child<QComboBox>(&window, "CBDRIVE")->setCurrentIndex(2);
  clickButton(&window, "BBNBACKUP");
  EXPECT_EQ(boxes_.messages().value(0).text, Msg::ErroBackup);
  EXPECT_FALSE(child<QGroupBox>(&window, "PNLBACKUP")->isVisible());
  EXPECT_TRUE(child<QPushButton>(&window, "BBNCONFIRMA")->isEnabled());
  EXPECT_TRUE(backups().isEmpty());

  boxes_.clear();
  runSql(workout(), QStringLiteral("CREATE TRIGGER falha BEFORE DELETE ON Treino BEGIN SELECT "
                                   "RAISE(ABORT, 'falha forçada'); END"));
  clickButton(&window, "BBNCONFIRMA");
  child<QComboBox>(&window, "CBDRIVE")->setCurrentIndex(0);
  clickButton(&window, "BBNBACKUP");
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 20000);
  ASSERT_EQ(boxes_.messages().size(), 2);
  EXPECT_EQ(boxes_.messages()[1].text, Msg::GravandoNaTabela);
  EXPECT_EQ(boxes_.messages()[1].detail, QStringLiteral("Banco de Dados"));
  EXPECT_EQ(backups().size(), 1);
  EXPECT_EQ(workouts(), 1);
}

TEST(BackupPlaces, OnlyVolumesForAUsersFilesAreOffered) {
  const auto volume = [](const char* root, const char* type, bool readOnly, bool writable) {
    return VolumeFacts{QString::fromLatin1(root),
                       QString::fromLatin1(type),
                       QString(),
                       true,
                       true,
                       readOnly,
                       writable};
  };
  const QList<VolumeFacts> offered = volumesOffered({
      volume("/", "ext4", false, false),               // the system's, not this user's
      volume("/proc", "proc", false, true),            // the kernel's
      volume("/run/user/1000", "tmpfs", false, true),  // gone at the next start
      volume("/media/ana/CD", "iso9660", true, true),  // read-only
      volume("/media/ana/PENDRIVE", "vfat", false, true),
      volume("/home", "ext4", false, true),
  });
  QStringList roots;
  for (const VolumeFacts& v : offered) roots << v.rootPath;
  EXPECT_EQ(roots, QStringList({QStringLiteral("/media/ana/PENDRIVE"), QStringLiteral("/home")}));
}

}  // namespace
