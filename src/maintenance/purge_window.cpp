#include "maintenance/purge_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "forms/background.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "maintenance/backup_rules.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kWorking = QStringLiteral("Aguarde... Backup sendo processado");

QLabel* warning(QWidget* parent, const QString& text, bool strong = false) {
  auto* label = new QLabel(text, parent);
  if (strong) label->setStyleSheet(QStringLiteral("font-weight: bold; color: #b00000;"));
  return label;
}

}  // namespace

TFRMREESVAZIARARQUIVOS::TFRMREESVAZIARARQUIVOS(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRMREESVAZIARARQUIVOS"));
  setWindowTitle(QStringLiteral("Esvaziar Arquivos"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(warning(this, QStringLiteral("ATENÇÃO ! ! !"), true));
  for (const char* line :
       {"É extremamente importante gerar um arquivo de backup antes de executar",
        "o ESVAZIAMENTO DE ARQUIVOS, pois não  terá como recuperar os dados",
        "após esta operação de limpeza de arquivos.",
        "Todos os arquivos de Séries serão esvaziados que sejam inferior ao ano informado."})
    layout->addWidget(warning(this, QString::fromUtf8(line)));

  auto* yearRow = new QHBoxLayout;
  yearRow->addWidget(new QLabel(QStringLiteral("Informe o Ano"), this));
  EDTANO = new QLineEdit(this);
  EDTANO->setObjectName(QStringLiteral("EDTANO"));
  EDTANO->setMaxLength(4);
  EDTANO->setFixedWidth(70);
  // Digits, "/" and blanks: the year is read as the year of "1/1/" followed by the field.
  EDTANO->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/ ]*")), EDTANO));
  onFieldKeys(EDTANO, [this] { yearEntered(); }, {});
  yearRow->addWidget(EDTANO);
  yearRow->addStretch();
  BBNCONFIRMA =
      namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNCANCELA = namedButton(this, "BBNCANCELA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  yearRow->addWidget(BBNCONFIRMA);
  yearRow->addWidget(BBNCANCELA);
  layout->addLayout(yearRow);

  PNLBACKUP = new QGroupBox(QStringLiteral("Backup"), this);
  PNLBACKUP->setObjectName(QStringLiteral("PNLBACKUP"));
  auto* panel = new QGridLayout(PNLBACKUP);
  BBNBACKUP =
      namedButton(PNLBACKUP, "BBNBACKUP", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  CBDRIVE = makePlaceList(PNLBACKUP, BBNBACKUP);
  panel->addWidget(new QLabel(QStringLiteral("Gravar em"), PNLBACKUP), 0, 0);
  panel->addWidget(CBDRIVE, 0, 1);
  panel->addWidget(BBNBACKUP, 0, 2);
  LBLBACKUPRESTORE = new QLabel(kWorking, PNLBACKUP);
  LBLBACKUPRESTORE->setObjectName(QStringLiteral("LBLBACKUPRESTORE"));
  LBLBACKUPRESTORE->hide();
  panel->addWidget(LBLBACKUPRESTORE, 1, 0, 1, 3);
  PBPROGRESSO = new QProgressBar(PNLBACKUP);
  PBPROGRESSO->setObjectName(QStringLiteral("PBPROGRESSO"));
  PBPROGRESSO->setTextVisible(false);
  PBPROGRESSO->hide();
  panel->addWidget(PBPROGRESSO, 2, 0, 1, 3);
  PNLBACKUP->hide();
  layout->addWidget(PNLBACKUP);
  LBLRESULTADO = new QLabel(this);
  LBLRESULTADO->setObjectName(QStringLiteral("LBLRESULTADO"));
  layout->addWidget(LBLRESULTADO);
  layout->addStretch();
  busy_.emplace(LBLBACKUPRESTORE, PBPROGRESSO);

  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMREESVAZIARARQUIVOS::BBNCONFIRMAClick);
  connect(BBNCANCELA, &QPushButton::clicked, this, &TFRMREESVAZIARARQUIVOS::reject);
  connect(BBNBACKUP, &QPushButton::clicked, this, &TFRMREESVAZIARARQUIVOS::BBNBACKUPClick);
  resize(617, 204);
}

void TFRMREESVAZIARARQUIVOS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  // Series are emptied only when nobody is working on one in this program.
  if (G().GINT_JANELAS_ABERTAS >= 2) {
    MENSAGEM(kInfo, Msg::FecheTodasAsJanelas);
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  BBNCONFIRMA->setEnabled(true);
  EDTANO->setText(QString::number(QDate::currentDate().year() - 2));
  EDTANO->setFocus();
  EDTANO->selectAll();
}

// The field rewritten as a four-digit year ("19" becomes "2019"); nothing, after the message and
// with the field emptied, when it is not a year.
std::optional<int> TFRMREESVAZIARARQUIVOS::normalisedYear() {
  const std::optional<int> year = typedYear(EDTANO->text());
  if (!year) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Ano"));
    EDTANO->clear();
    EDTANO->setFocus();
    return std::nullopt;
  }
  EDTANO->setText(QString::number(*year));
  return year;
}

void TFRMREESVAZIARARQUIVOS::yearEntered() {
  if (normalisedYear()) BBNCONFIRMA->setFocus();
}

void TFRMREESVAZIARARQUIVOS::BBNCONFIRMAClick() {
  LBLBACKUPRESTORE->hide();
  const std::optional<int> year = normalisedYear();
  if (!year) return;
  if (!purgeAllowed(*year, QDate::currentDate())) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kAnoNaoPodeSerEsvaziado);
    EDTANO->clear();
    EDTANO->setFocus();
    return;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{EDTANO, BBNCONFIRMA, BBNCANCELA})
    w->setEnabled(false);
  PNLBACKUP->show();
  BBNBACKUP->setEnabled(true);
  CBDRIVE->setFocus();
}

void TFRMREESVAZIARARQUIVOS::setWorking(bool working) {
  CBDRIVE->setEnabled(!working);
  BBNBACKUP->setEnabled(!working);
  if (working)
    busy_->start(kWorking);
  else
    busy_->stop();
}

void TFRMREESVAZIARARQUIVOS::BBNBACKUPClick() {
  if (busy_->busy()) return;
  const int year = EDTANO->text().toInt();
  const std::optional<BackupPlace> place = chosenPlace(CBDRIVE);
  if (!place || !placeUsable(*place)) {
    MENSAGEM(kInfo, Msg::ErroBackup,
             unusablePlaceDetail(place ? place->path : CBDRIVE->currentText()));
    PNLBACKUP->hide();
    BBNCONFIRMA->setEnabled(true);
    BBNCANCELA->setEnabled(true);
    BBNCONFIRMA->setFocus();
    return;
  }
  // The purge's backup carries its year and is kept for good: no clean-up here.
  BackupRequest request;
  request.purgeYear = year;
  request.cleanUp = false;
  if (!place->backupFolder) request.copyTo = place->path;
  setWorking(true);
  runBackupInBackground(this, *busy_, request,
                        [this, year](BackupOutcome outcome) { backupFinished(outcome, year); });
}

void TFRMREESVAZIARARQUIVOS::backupFinished(const BackupOutcome& outcome, int year) {
  if (!outcome.file) {
    setWorking(false);
    MENSAGEM(kInfo, Msg::ErroBackup, outcome.detail);
    // A copy that could not be made may be tried on another volume at once.
    if (!outcome.copyFailed) PNLBACKUP->hide();
    BBNCONFIRMA->setEnabled(true);
    BBNCANCELA->setEnabled(true);
    if (PNLBACKUP->isVisible())
      CBDRIVE->setFocus();
    else
      BBNCONFIRMA->setFocus();
    return;
  }
  LBLRESULTADO->setText(QStringLiteral("Backup: %1").arg(*outcome.file));
  MENSAGEM(kInfo, Msg::BackupRealizado);
  // Only now, with the backup checked, is anything emptied.
  busy_->stage(QStringLiteral("Esvaziando as séries até %1...").arg(year));
  runInBackground<std::optional<Result<int>>>(
      this,
      [year, stage = busy_->stageReporter(this)] {
        return std::optional<Result<int>>(purgeWorkoutDatabase(year, stage));
      },
      [this, year](std::optional<Result<int>> deleted) { purgeFinished(deleted, year); });
}

void TFRMREESVAZIARARQUIVOS::purgeFinished(const std::optional<Result<int>>& deleted, int year) {
  setWorking(false);
  // The deletes were rolled back (the user is told why, unless the work broke off); the window
  // has done its part.
  if (!deleted || !deleted->okOrTell()) {
    QDialog::reject();
    return;
  }
  LBLRESULTADO->setText(
      LBLRESULTADO->text() +
      QStringLiteral("\n%1 linha(s) removida(s) até 31/12/%2").arg(**deleted).arg(year));
  MENSAGEM(kInfo, Msg::FimDeProcesso);
  backToYearEntry();
}

void TFRMREESVAZIARARQUIVOS::backToYearEntry() {
  PNLBACKUP->hide();
  for (QWidget* w : std::initializer_list<QWidget*>{EDTANO, BBNCONFIRMA, BBNCANCELA})
    w->setEnabled(true);
  EDTANO->setFocus();
}

void TFRMREESVAZIARARQUIVOS::reject() {
  if (busy_->busy()) return;  // neither the backup nor the purge is left halfway
  QDialog::reject();
}
