#include "maintenance/backup_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/background.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "maintenance/backup_rules.h"

namespace {

const QString kInfo = QStringLiteral("!");

QString chooseWithDialog(QWidget* parent, const QString& folder) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Restauração do Backup"), folder,
                                      QStringLiteral("Backup (*.bak)"));
}

TFRMRESTAURACAODOBACKUP::FileChooser& fileChooser() {
  static TFRMRESTAURACAODOBACKUP::FileChooser chooser = chooseWithDialog;
  return chooser;
}

std::function<QList<BackupPlace>()>& placeSource() {
  static std::function<QList<BackupPlace>()> source = backupPlaces;
  return source;
}

}  // namespace

QComboBox* makePlaceList(QWidget* parent, QWidget* next) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QStringLiteral("CBDRIVE"));
  list->setEditable(false);
  for (const BackupPlace& place : placeSource()())
    list->addItem(place.label, QVariant::fromValue(place));
  onFieldKeys(list, [next] { next->setFocus(); }, {});
  return list;
}

void setBackupPlaceSource(std::function<QList<BackupPlace>()> source) {
  placeSource() = source ? std::move(source) : std::function<QList<BackupPlace>()>(backupPlaces);
}

std::optional<BackupPlace> chosenPlace(const QComboBox* list) {
  const QVariant place = list->currentData();
  if (!place.canConvert<BackupPlace>()) return std::nullopt;
  return place.value<BackupPlace>();
}

void runBackupInBackground(QObject* window, BusyWork& busy, const BackupRequest& request,
                           std::function<void(BackupOutcome)> done) {
  const JobStage stage = busy.stageReporter(window);
  runInBackground<BackupOutcome>(
      window, [request, stage] { return backUpWorkoutDatabase(request, stage); }, std::move(done));
}

// ---- the frame both windows share ----

BackupFrameDialog::BackupFrameDialog(QWidget* parent, const QString& caption,
                                     const QString& placeCaption, const QString& workingText)
    : QDialog(parent), workingText_(workingText) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  BBNCONFIRMA =
      namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(placeCaption, this));
  CBDRIVE = makePlaceList(this, BBNCONFIRMA);
  row->addWidget(CBDRIVE, 1);
  layout->addLayout(row);
  LBLBACKUPRESTORE = new QLabel(workingText, this);
  LBLBACKUPRESTORE->setObjectName(QStringLiteral("LBLBACKUPRESTORE"));
  LBLBACKUPRESTORE->hide();
  layout->addWidget(LBLBACKUPRESTORE);
  PBPROGRESSO = new QProgressBar(this);
  PBPROGRESSO->setObjectName(QStringLiteral("PBPROGRESSO"));
  PBPROGRESSO->setTextVisible(false);
  PBPROGRESSO->hide();
  layout->addWidget(PBPROGRESSO);
  layout->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BBNCONFIRMA);
  buttons->addWidget(BBNRETORNA);
  layout->addLayout(buttons);
  busy_.emplace(LBLBACKUPRESTORE, PBPROGRESSO);
  connect(BBNRETORNA, &QPushButton::clicked, this, &BackupFrameDialog::reject);
  resize(520, 170);
  CBDRIVE->setFocus();
}

void BackupFrameDialog::setWorking(bool working) {
  for (QWidget* w : std::initializer_list<QWidget*>{BBNCONFIRMA, BBNRETORNA, CBDRIVE})
    w->setEnabled(!working);
  if (working)
    busy_->start(workingText_);
  else
    busy_->stop();
}

void BackupFrameDialog::reject() {
  if (busy_->busy()) return;  // the work finishes first: nothing is left halfway
  QDialog::reject();
}

// ---- TFRMBACKUP ----

TFRMBACKUP::TFRMBACKUP(QWidget* parent)
    : BackupFrameDialog(parent, QStringLiteral("Backup do Sistema"), QStringLiteral("Gravar em"),
                        QStringLiteral("Aguarde... Backup sendo processado")) {
  setObjectName(QStringLiteral("TFRMBACKUP"));
  LBLARQUIVO = new QLabel(this);
  LBLARQUIVO->setObjectName(QStringLiteral("LBLARQUIVO"));
  LBLARQUIVO->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout()->addWidget(LBLARQUIVO);
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMBACKUP::BBNCONFIRMAClick);
}

void TFRMBACKUP::BBNCONFIRMAClick() {
  if (busy_->busy()) return;
  const std::optional<BackupPlace> place = chosenPlace(CBDRIVE);
  // A removable disk chosen when the window opened may have gone since.
  if (!place || !placeUsable(*place)) {
    MENSAGEM(kInfo, Msg::ErroBackup,
             unusablePlaceDetail(place ? place->path : CBDRIVE->currentText()));
    return;
  }
  BackupRequest request;
  if (!place->backupFolder) request.copyTo = place->path;
  setWorking(true);
  runBackupInBackground(this, *busy_, request,
                        [this](BackupOutcome outcome) { finished(outcome); });
}

void TFRMBACKUP::finished(const BackupOutcome& outcome) {
  setWorking(false);
  if (!outcome.file) {
    MENSAGEM(kInfo, Msg::ErroBackup, outcome.detail);
    BBNCONFIRMA->setFocus();
    return;
  }
  lastBackup_ = *outcome.file;
  LBLARQUIVO->setText(
      outcome.copy.isEmpty()
          ? QStringLiteral("Backup: %1").arg(*outcome.file)
          : QStringLiteral("Backup: %1\nCópia: %2").arg(*outcome.file, outcome.copy));
  MENSAGEM(kInfo, Msg::BackupRealizado);
  BBNRETORNA->setFocus();
}

// ---- TFRMRESTAURACAODOBACKUP ----

TFRMRESTAURACAODOBACKUP::TFRMRESTAURACAODOBACKUP(Session& session, QWidget* parent)
    : BackupFrameDialog(parent, QStringLiteral("Restauração do Backup"),
                        QStringLiteral("Origem em"),
                        QStringLiteral("Aguarde... Restore sendo processado")),
      session_(session) {
  setObjectName(QStringLiteral("TFRMRESTAURACAODOBACKUP"));
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMRESTAURACAODOBACKUP::BBNCONFIRMAClick);
}

void TFRMRESTAURACAODOBACKUP::setFileChooser(FileChooser chooser) {
  fileChooser() = chooser ? std::move(chooser) : FileChooser(chooseWithDialog);
}

void TFRMRESTAURACAODOBACKUP::BBNCONFIRMAClick() {
  if (busy_->busy()) return;
  const std::optional<BackupPlace> place = chosenPlace(CBDRIVE);
  const QString file = fileChooser()(this, place ? place->path : backupFolder());
  if (file.isEmpty()) return;
  if (!restorableName(file)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kExtensaoInvalida);
    return;
  }
  setWorking(true);
  // The database is about to be replaced: this program lets go of it first.
  session_.disconnect();
  runInBackground<std::pair<bool, QString>>(
      this,
      [this, file] {
        QString why;
        const bool restored = restoreWorkoutDatabase(file, &why, busy_->stageReporter(this));
        return std::pair<bool, QString>{restored, why};
      },
      [this](std::pair<bool, QString> result) { finished(result.first, result.second); });
}

void TFRMRESTAURACAODOBACKUP::finished(bool restored, const QString& why) {
  setWorking(false);
  if (restored)
    MENSAGEM(kInfo, Msg::RestoreRealizado);
  else
    MENSAGEM(kInfo, Msg::ErroRestore, why);
  programEnds_ = true;
  QDialog::accept();
}
