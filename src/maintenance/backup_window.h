// TFRMBACKUP ("Backup do Sistema") and TFRMRESTAURACAODOBACKUP ("Restauração do Backup"): the
// workout database copied to a checked backup (and to another volume), and put back from one.
// The work runs off the window's thread, so the window keeps painting and shows where the work
// is; neither window closes while it runs.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "forms/busy_work.h"
#include "maintenance/backup_job.h"

class Session;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

// "Gravar em" / "Origem em": the backup folder first, then the volumes of this machine. Only
// Enter is typed in it (it moves on to `next`); choosing is by the arrows or the mouse.
QComboBox* makePlaceList(QWidget* parent, QWidget* next);
// Where the lists take their places from (backupPlaces() by default, and again after nullptr).
void setBackupPlaceSource(std::function<QList<BackupPlace>()> source);
std::optional<BackupPlace> chosenPlace(const QComboBox* list);

// The backup job on a worker, its stages shown by `busy`; `done` gets the outcome on the
// window's thread.
void runBackupInBackground(QObject* window, BusyWork& busy, const BackupRequest& request,
                           std::function<void(BackupOutcome)> done);

// What the backup and restore windows share: the place list, the working label and bar, the
// two buttons, and a way out that waits while the work runs.
class BackupFrameDialog : public QDialog {
  Q_OBJECT

 public:
  bool running() const { return busy_->busy(); }

 protected:
  BackupFrameDialog(QWidget* parent, const QString& caption, const QString& placeCaption,
                    const QString& workingText);
  void setWorking(bool working);
  void reject() override;

  QString workingText_;
  std::optional<BusyWork> busy_;
  QComboBox* CBDRIVE = nullptr;
  QLabel* LBLBACKUPRESTORE = nullptr;
  QProgressBar* PBPROGRESSO = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

class TFRMBACKUP : public BackupFrameDialog {
  Q_OBJECT

 public:
  explicit TFRMBACKUP(QWidget* parent = nullptr);

  // The file of the last backup made in this window.
  const QString& lastBackup() const { return lastBackup_; }

 private:
  void BBNCONFIRMAClick();
  void finished(const BackupOutcome& outcome);

  QString lastBackup_;
  QLabel* LBLARQUIVO = nullptr;
};

class TFRMRESTAURACAODOBACKUP : public BackupFrameDialog {
  Q_OBJECT

 public:
  explicit TFRMRESTAURACAODOBACKUP(Session& session, QWidget* parent = nullptr);

  // Chooses the backup file in a folder (a file dialog by default, and again after nullptr).
  using FileChooser = std::function<QString(QWidget* parent, const QString& folder)>;
  static void setFileChooser(FileChooser chooser);

  // After a restore, right or wrong, the program ends: it is started again on the database as it
  // now is.
  bool programEnds() const { return programEnds_; }

 private:
  void BBNCONFIRMAClick();
  void finished(bool restored, const QString& why);

  Session& session_;  // its standing connections let go of the database before it is replaced
  bool programEnds_ = false;
};
