#include "followup/email_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <limits>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "followup/email_address.h"
#include "forms/background.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kQuestion = QStringLiteral("?");
const QString kNoPicture = QStringLiteral("Imagem no corpo do e-mail");

QLabel* caption(const QString& text, QWidget* parent) {
  return new QLabel(text, parent);
}

}  // namespace

TFRMONLINE::TFRMONLINE(Session& session, EmailRecipients recipients, QWidget* parent)
    : QDialog(parent), session_(session), recipients_(std::move(recipients)) {
  setObjectName(QStringLiteral("TFRMONLINE"));
  setWindowTitle(QStringLiteral("Enviar e-mail "));
  resize(600, 520);
  auto* layout = new QGridLayout(this);
  int row = 0;

  layout->addWidget(
      caption(QStringLiteral("Destinatário (Mais de um endereço, separe por ;)"), this), row++, 0,
      1, 2);
  EDTDESTINO = new QLineEdit(this);
  EDTDESTINO->setObjectName(QStringLiteral("EDTDESTINO"));
  // A report may list hundreds of members: the field holds them all.
  EDTDESTINO->setMaxLength(std::numeric_limits<int>::max());
  layout->addWidget(EDTDESTINO, row++, 0, 1, 2);

  layout->addWidget(caption(QStringLiteral("Assunto"), this), row++, 0, 1, 2);
  EDTASSUNTO = new QLineEdit(this);
  EDTASSUNTO->setObjectName(QStringLiteral("EDTASSUNTO"));
  layout->addWidget(EDTASSUNTO, row++, 0, 1, 2);

  layout->addWidget(caption(QStringLiteral("Texto"), this), row++, 0, 1, 2);
  MemMensagem = new QPlainTextEdit(this);
  MemMensagem->setObjectName(QStringLiteral("MemMensagem"));
  layout->addWidget(MemMensagem, row++, 0, 1, 2);
  layout->setRowStretch(row - 1, 3);

  layout->addWidget(caption(QStringLiteral("Arquivos para anexar"), this), row++, 0, 1, 2);
  TLBARQUIVOS = new QListWidget(this);
  TLBARQUIVOS->setObjectName(QStringLiteral("TLBARQUIVOS"));
  TLBARQUIVOS->setToolTip(QStringLiteral("Clique duplo para excluir arquivo anexado"));
  layout->addWidget(TLBARQUIVOS, row++, 0, 1, 2);
  layout->setRowStretch(row - 1, 1);

  auto* buttons = new QHBoxLayout;
  BBNARQUIVOS =
      namedButton(this, "BBNARQUIVOS", QStringLiteral("Arquivos"), QStringLiteral("Arquivos"));
  BBNCORPOEMAIL = namedButton(this, "BBNCORPOEMAIL", QStringLiteral("Imagem"),
                              QStringLiteral("Imagem Corpo do E-mail"));
  LBLCORPOEMAIL = new QLabel(kNoPicture, this);
  LBLCORPOEMAIL->setObjectName(QStringLiteral("LBLCORPOEMAIL"));
  BBNENVIAR = namedButton(this, "BBNENVIAR", QStringLiteral("Enviar"), QStringLiteral("Enviar"));
  BBNCANCELA =
      namedButton(this, "BBNCANCELA", QStringLiteral("Retorna"), QStringLiteral("Retorna"));
  buttons->addWidget(BBNARQUIVOS);
  buttons->addWidget(BBNCORPOEMAIL);
  buttons->addWidget(LBLCORPOEMAIL, 1);
  buttons->addWidget(BBNENVIAR);
  buttons->addWidget(BBNCANCELA);
  layout->addLayout(buttons, row++, 0, 1, 2);

  LBLEMAIL = new QLabel(QStringLiteral("Enviando e-mail..."), this);
  LBLEMAIL->setObjectName(QStringLiteral("LBLEMAIL"));
  LBLEMAIL->hide();
  layout->addWidget(LBLEMAIL, row++, 0, 1, 2);
  // The retry question may come up during the send: no hourglass over it.
  busy_.emplace(LBLEMAIL, nullptr, BusyWork::Cursor::Unchanged);

  onFieldKeys(EDTDESTINO, [this] { EDTASSUNTO->setFocus(); }, {});
  onFieldKeys(EDTASSUNTO, [this] { MemMensagem->setFocus(); }, {});
  connect(BBNARQUIVOS, &QPushButton::clicked, this, &TFRMONLINE::BBNARQUIVOSClick);
  connect(BBNCORPOEMAIL, &QPushButton::clicked, this, &TFRMONLINE::BBNCORPOEMAILClick);
  connect(TLBARQUIVOS, &QListWidget::itemDoubleClicked, this, &TFRMONLINE::TLBARQUIVOSDblClick);
  connect(BBNENVIAR, &QPushButton::clicked, this, &TFRMONLINE::BBNENVIARClick);
  connect(BBNCANCELA, &QPushButton::clicked, this, &TFRMONLINE::reject);
}

void TFRMONLINE::addAttachment(const QString& path) {
  if (!path.isEmpty()) TLBARQUIVOS->addItem(path);
}

void TFRMONLINE::setBodyPicture(const QString& path) {
  LBLCORPOEMAIL->setText(path.isEmpty() ? kNoPicture : path);
}

void TFRMONLINE::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  FormShow();
}

void TFRMONLINE::FormShow() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    closeLater();
    return;
  }
  settings_ = *settings;
  if (recipients_.absentPresets()) {
    const EmailPresets presets = absentMemberPresets(settings_);
    EDTASSUNTO->setText(presets.subject);
    MemMensagem->setPlainText(presets.text);
    setBodyPicture(presets.picture);
  }
  const std::optional<QString> recipients = openingRecipients(recipients_);
  if (!recipients) {
    MENSAGEM(kInfo, Msg::EmailsInvalidos);
    closeLater();
    return;
  }
  EDTDESTINO->setText(cleanRecipients(*recipients).join(QLatin1Char(';')));
  EDTASSUNTO->setFocus();
}

void TFRMONLINE::closeLater() {
  QTimer::singleShot(0, this, [this] { QDialog::reject(); });
}

void TFRMONLINE::BBNARQUIVOSClick() {
  addAttachment(QFileDialog::getOpenFileName(
      this, QStringLiteral("Arquivos"), QString(),
      QStringLiteral("*.doc (*.doc);;*.docx (*.docx);;*.pdf (*.pdf);;*.xlsx (*.xlsx);;"
                     "*.xls (*.xls);;*.* (*)")));
}

void TFRMONLINE::BBNCORPOEMAILClick() {
  setBodyPicture(QFileDialog::getOpenFileName(
      this, QStringLiteral("Imagem Corpo do E-mail"), QString(),
      QStringLiteral("All (*.gif *.jpg *.jpeg);;JPEG Image File (*.jpg);;"
                     "JPEG Image File (*.jpeg)")));
}

void TFRMONLINE::TLBARQUIVOSDblClick(QListWidgetItem* item) {
  if (!item) return;
  if (MENSAGEM(kQuestion, Msg::ExcluirArquivoDaLista) == kAnswerYes) delete item;
}

void TFRMONLINE::BBNENVIARClick() {
  if (busy_->busy()) return;
  EmailDraft draft;
  draft.recipients = EDTDESTINO->text();
  draft.subject = EDTASSUNTO->text();
  draft.body = MemMensagem->toPlainText();
  for (int i = 0; i < TLBARQUIVOS->count(); ++i) draft.files.append(TLBARQUIVOS->item(i)->text());
  if (LBLCORPOEMAIL->text() != kNoPicture) draft.picture = LBLCORPOEMAIL->text();

  BBNCORPOEMAIL->setEnabled(false);
  BBNARQUIVOS->setEnabled(false);
  BBNENVIAR->setEnabled(false);
  busy_->start();
  // The provider may take its time with each group: the send runs off the window's thread, so
  // the window keeps painting and the progress text moves; the retry question is still asked.
  const MailProvider provider = mailProvider(settings_);
  runInBackground<std::optional<SendOutcome>>(
      this,
      [draft, provider, stage = busy_->stageReporter(this)]() -> std::optional<SendOutcome> {
        return sendToMembers(draft, provider, [stage](int group, int groups) {
          stage(sendingProgressText(group, groups));
        });
      },
      [this](std::optional<SendOutcome> outcome) {
        // A send that broke off counts as stopped: the form stays to be sent again.
        sendFinished(outcome.value_or(SendOutcome::Stopped));
      });
}

void TFRMONLINE::sendFinished(SendOutcome outcome) {
  busy_->stop();
  switch (outcome) {
    case SendOutcome::Sent:
    case SendOutcome::SentInClear:
      clearForm();
      if (outcome == SendOutcome::SentInClear)
        MENSAGEM(kInfo, Msg::EmailEnviadoComSucesso, Msg::EmailSemCriptografia);
      else
        MENSAGEM(kInfo, Msg::EmailEnviadoComSucesso);
      accept();
      return;
    case SendOutcome::Stopped:
      // The picture stays as it was sent; the list and the send can be changed and tried again.
      BBNARQUIVOS->setEnabled(true);
      BBNENVIAR->setEnabled(true);
      return;
    case SendOutcome::BadPort:
      // Only the settings can mend the port: "Retorna" is what is left.
      return;
    case SendOutcome::MissingFile:
    case SendOutcome::NoRecipients:
      BBNCORPOEMAIL->setEnabled(true);
      BBNARQUIVOS->setEnabled(true);
      BBNENVIAR->setEnabled(true);
      return;
  }
}

void TFRMONLINE::clearForm() {
  EDTDESTINO->clear();
  EDTASSUNTO->clear();
  MemMensagem->clear();
  TLBARQUIVOS->clear();
}

void TFRMONLINE::reject() {
  if (busy_->busy()) return;
  QDialog::reject();
}

void TFRMONLINE::closeEvent(QCloseEvent* event) {
  if (busy_->busy()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

namespace {

void showMailWindow(Session& session, const EmailRecipients& recipients, QWidget* parent) {
  TFRMONLINE mail(session, recipients, parent);
  mail.exec();
}

MailWindowOpener& mailWindowOpener() {
  static MailWindowOpener opener = showMailWindow;
  return opener;
}

}  // namespace

void setMailWindowOpener(MailWindowOpener opener) {
  mailWindowOpener() = opener ? std::move(opener) : MailWindowOpener(showMailWindow);
}

void openMailWindow(Session& session, const EmailRecipients& recipients, QWidget* parent) {
  mailWindowOpener()(session, recipients, parent);
}

void offerAddressFile(Session& session, const QStringList& addresses, QWidget* parent) {
  Globals& g = G();
  g.GBOL_EMAIL_RELATORIO = true;
  if (!writeAddressFile(addresses))
    MENSAGEM(QStringLiteral("!"), QStringLiteral("Arquivo não pôde ser gravado !"),
             addressFilePath());
  else if (MENSAGEM(QStringLiteral("?"), Msg::DesejaEnviarEmails) == kAnswerYes)
    openMailWindow(session, EmailRecipients::report(), parent);
  g.GBOL_EMAIL_RELATORIO = false;
}
