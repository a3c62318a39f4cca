// TFRMREESVAZIARARQUIVOS ("Esvaziar Arquivos"): removes for good the series and scheduled
// assemblies of a year and every year before it, after a backup that must succeed first, and
// gives the space back. It works only as the one window open, so nobody is in the middle of a
// series while it runs.
#pragma once

#include <QDialog>
#include <optional>

#include "maintenance/backup_job.h"
#include "maintenance/backup_window.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TFRMREESVAZIARARQUIVOS : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMREESVAZIARARQUIVOS(QWidget* parent = nullptr);

  bool running() const { return busy_->busy(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  std::optional<int> normalisedYear();
  void yearEntered();
  void BBNCONFIRMAClick();
  void BBNBACKUPClick();
  void backupFinished(const BackupOutcome& outcome, int year);
  void purgeFinished(const std::optional<Result<int>>& deleted, int year);
  void backToYearEntry();
  void setWorking(bool working);

  bool opened_ = false;
  std::optional<BusyWork> busy_;
  QLineEdit* EDTANO = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNCANCELA = nullptr;
  QGroupBox* PNLBACKUP = nullptr;
  QComboBox* CBDRIVE = nullptr;
  QLabel* LBLBACKUPRESTORE = nullptr;
  QProgressBar* PBPROGRESSO = nullptr;
  QPushButton* BBNBACKUP = nullptr;
  QLabel* LBLRESULTADO = nullptr;
};
