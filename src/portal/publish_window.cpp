#include "portal/publish_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "data/settings_record.h"
#include "forms/background.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "portal/bulk_run.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

TFRMATUALIZARTREINOSWEB::TFRMATUALIZARTREINOSWEB(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMATUALIZARTREINOSWEB"));
  setWindowTitle(QStringLiteral("Atualizar Treinos na Web"));
  auto* layout = new QVBoxLayout(this);
  auto* period = new QGroupBox(QStringLiteral(" Período "), this);
  auto* dates = new QGridLayout(period);
  EDTDATAINICIAL = new QLineEdit(period);
  EDTDATAINICIAL->setObjectName(QStringLiteral("EDTDATAINICIAL"));
  EDTDATAFINAL = new QLineEdit(period);
  EDTDATAFINAL->setObjectName(QStringLiteral("EDTDATAFINAL"));
  for (QLineEdit* field : {EDTDATAINICIAL, EDTDATAFINAL})
    field->setInputMask(QStringLiteral("99/99/9999;_"));
  onFieldKeys(EDTDATAINICIAL, [this] { initialEntered(); }, {});
  onFieldKeys(EDTDATAFINAL, [this] { finalEntered(); }, {});
  dates->addWidget(new QLabel(QStringLiteral("Data Inicial"), period), 0, 0);
  dates->addWidget(EDTDATAINICIAL, 0, 1);
  dates->addWidget(new QLabel(QStringLiteral("Data Final"), period), 1, 0);
  dates->addWidget(EDTDATAFINAL, 1, 1);
  layout->addWidget(period);
  LBLSELECIONADOS = new QLabel(this);
  LBLSELECIONADOS->setObjectName(QStringLiteral("LBLSELECIONADOS"));
  layout->addWidget(LBLSELECIONADOS);
  PBPACK = new QProgressBar(this);
  PBPACK->setObjectName(QStringLiteral("PBPACK"));
  PBPACK->setValue(0);
  layout->addWidget(PBPACK);
  LBLFIM = new QLabel(QStringLiteral("Fim"), this);
  LBLFIM->setObjectName(QStringLiteral("LBLFIM"));
  LBLFIM->hide();
  layout->addWidget(LBLFIM);
  busy_.emplace(nullptr, PBPACK);
  auto* buttons = new QHBoxLayout;
  BBNSELECIONAR =
      namedButton(this, "BBNSELECIONAR", QStringLiteral("Filtrar"), QStringLiteral("Filtrar"));
  BBNCONFIRMA =
      namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(BBNSELECIONAR, &QPushButton::clicked, this, &TFRMATUALIZARTREINOSWEB::BBNSELECIONARClick);
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMATUALIZARTREINOSWEB::BBNCONFIRMAClick);
  connect(BBNRETORNA, &QPushButton::clicked, this, &TFRMATUALIZARTREINOSWEB::reject);
  for (QPushButton* b : {BBNSELECIONAR, BBNCONFIRMA, BBNRETORNA}) buttons->addWidget(b);
  layout->addLayout(buttons);
}

void TFRMATUALIZARTREINOSWEB::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  const QDate today = QDate::currentDate();
  EDTDATAINICIAL->setText(formatTypedDate(QDate(today.year(), today.month(), 1)));
  EDTDATAFINAL->setText(formatTypedDate(today));
  if (!ABRE_TABELAS()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  BBNSELECIONARClick();
  EDTDATAINICIAL->setFocus();
}

bool TFRMATUALIZARTREINOSWEB::ABRE_TABELAS() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  settings_ = *settings;
  return true;
}

std::optional<QDate> TFRMATUALIZARTREINOSWEB::dateOf(QLineEdit* field, const QString& detail) {
  const std::optional<QDate> date = parseTypedDate(field->text());
  if (!date) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, detail);
    field->setFocus();
    return std::nullopt;
  }
  field->setText(formatTypedDate(*date));
  return date;
}

void TFRMATUALIZARTREINOSWEB::initialEntered() {
  if (dateOf(EDTDATAINICIAL, QStringLiteral("Data Inicial"))) EDTDATAFINAL->setFocus();
}

void TFRMATUALIZARTREINOSWEB::finalEntered() {
  const std::optional<QDate> to = dateOf(EDTDATAFINAL, QStringLiteral("Data Final"));
  if (!to) return;
  const std::optional<QDate> from = parseTypedDate(EDTDATAINICIAL->text());
  if (from && *to < *from) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Data final Menor que Data inicial"));
    EDTDATAFINAL->clear();
    EDTDATAFINAL->setFocus();
    return;
  }
  BBNSELECIONAR->setFocus();
}

void TFRMATUALIZARTREINOSWEB::BBNSELECIONARClick() {
  const std::optional<QDate> from = parseTypedDate(EDTDATAINICIAL->text());
  const std::optional<QDate> to = parseTypedDate(EDTDATAFINAL->text());
  input_.reset();
  if (!from || !to || *to < *from) {
    MENSAGEM(kInfo, Msg::DadoIncorreto,
             !from ? QStringLiteral("Data Inicial") : QStringLiteral("Data Final"));
    LBLSELECIONADOS->clear();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Result<BulkInput> input = prepareBulkInput(settings_, *from, *to);
  QApplication::restoreOverrideCursor();
  if (input.okOrTell()) input_ = *input;
  LBLSELECIONADOS->setText(
      input_ ? QStringLiteral("%1 aluno(s) selecionado(s)").arg(input_->members.size())
             : QString());
  BBNCONFIRMA->setEnabled(input_.has_value());
}

void TFRMATUALIZARTREINOSWEB::BBNCONFIRMAClick() {
  if (!input_ || busy_->busy()) return;
  for (QPushButton* b : {BBNSELECIONAR, BBNCONFIRMA, BBNRETORNA}) b->setEnabled(false);
  LBLFIM->hide();
  busy_->start(QString(), qMax(1, int(input_->members.size())));
  const BulkInput input = *input_;
  // The run opens connections of its own on its own thread; the window only hears of it.
  runInBackground<std::optional<BulkSummary>>(
      this,
      [input, step = busy_->stepReporter(this)] {
        return runBulkPublishing(input, [step](int done, int) { step(done); });
      },
      [this](std::optional<BulkSummary> summary) { runFinished(summary); });
}

void TFRMATUALIZARTREINOSWEB::runFinished(const std::optional<BulkSummary>& summary) {
  busy_->stop();
  summary_ = summary;
  if (!summary) {
    tell(bulkFailure());
    QDialog::reject();
    return;
  }
  PBPACK->setValue(PBPACK->maximum());
  LBLFIM->show();
  // One run per opening: only the way out stays.
  BBNRETORNA->setEnabled(true);
  BBNRETORNA->setFocus();
}

void TFRMATUALIZARTREINOSWEB::reject() {
  if (busy_->busy()) return;  // the run finishes first; the portal is never left half published
  QDialog::reject();
}
