#include "app/access_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/shell_logic.h"
#include "base/globals.h"
#include "forms/field_keys.h"
#include "forms/session.h"

namespace {

std::optional<SizeSource>& sizeSourceOverride() {
  static std::optional<SizeSource> source;
  return source;
}

QGroupBox* group(QWidget* parent, const QString& title, const QString& hint, QWidget* content) {
  auto* box = new QGroupBox(title, parent);
  box->setToolTip(hint);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(content);
  return box;
}

// Builds the code and password groups; `spaced` gives the re-authentication's captions.
AccessForm buildAccessForm(QDialog* dialog, QVBoxLayout* layout, bool spaced) {
  AccessForm form;
  form.code = new QLineEdit(dialog);
  form.code->setObjectName(QStringLiteral("EDTCODIGOUSUARIO"));
  form.code->setMaxLength(2);
  form.code->setValidator(new UpperCaseValidator(QStringLiteral("[0-9]{0,2}"), form.code));
  form.name = new QLabel(dialog);
  form.name->setObjectName(QStringLiteral("LBLNOMEUSUARIO"));
  form.password = new QLineEdit(dialog);
  form.password->setObjectName(QStringLiteral("EDTSENHA"));
  form.password->setMaxLength(6);
  form.password->setEchoMode(QLineEdit::Password);
  form.password->setValidator(
      new UpperCaseValidator(QStringLiteral("[A-Z0-9]{0,6}"), form.password));
  form.password->setEnabled(false);

  auto* codeRow = new QWidget(dialog);
  auto* codeLayout = new QHBoxLayout(codeRow);
  codeLayout->setContentsMargins(0, 0, 0, 0);
  form.code->setFixedWidth(form.code->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
  codeLayout->addWidget(form.code);
  codeLayout->addWidget(form.name, 1);
  layout->addWidget(group(
      dialog, spaced ? QStringLiteral(" Código do Usuário ") : QStringLiteral("Código do Usuário "),
      QStringLiteral("Digite seu código"), codeRow));
  layout->addWidget(group(dialog, spaced ? QStringLiteral(" Senha ") : QStringLiteral("Senha "),
                          QStringLiteral("Digite sua senha"), form.password));
  return form;
}

// A code was found: its user's name shows and the password is asked for.
void codeAccepted(const AccessForm& form, const QString& name) {
  form.name->setText(name);
  form.code->setEnabled(false);
  form.password->setEnabled(true);
  form.password->setFocus();
}

// A refused value is emptied for the next try.
void tryAgain(QLineEdit* field) {
  field->clear();
  field->setFocus();
}

void centre(QDialog* dialog) {
  dialog->adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}

// No close button: the dialogs end only by what the user types.
constexpr Qt::WindowFlags kNoCloseButton =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

}  // namespace

TPDLGACESSO::TPDLGACESSO(Session& session, QWidget* parent)
    : QDialog(parent, kNoCloseButton), session_(session) {
  setObjectName(QStringLiteral("TPDLGACESSO"));
  setWindowTitle(QStringLiteral("Acesso"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  form_ = buildAccessForm(this, layout, false);
  LBLATUALIZACAO = new QLabel(this);
  LBLATUALIZACAO->setObjectName(QStringLiteral("LBLATUALIZACAO"));
  LBLATUALIZACAO->hide();
  layout->addWidget(LBLATUALIZACAO);
  setMinimumWidth(320);
  onFieldKeys(
      form_.code, [this] { codeEntered(); }, [this] { codeEntered(); });
  onFieldKeys(
      form_.password, [this] { passwordEntered(); }, [this] { passwordEscaped(); });
  centre(this);
}

void TPDLGACESSO::setSizeSource(std::optional<SizeSource> source) {
  sizeSourceOverride() = std::move(source);
}

void TPDLGACESSO::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  // Once the dialog is up: the upkeep, the tables, then the size check.
  QTimer::singleShot(0, this, &TPDLGACESSO::startUp);
}

void TPDLGACESSO::showProgress(const QString& text) {
  LBLATUALIZACAO->setText(text);
  LBLATUALIZACAO->setVisible(!text.isEmpty());
  QCoreApplication::processEvents();
}

void TPDLGACESSO::startUp() {
  const auto progress = [this](const QString& text) { showProgress(text); };
  Connection& workout = session_.workout();
  // A failed upkeep step asks the dialog to close, which it refuses before a login.
  ATUALIZA_VERSAO(workout.database(), workout.dialect(), progress);
  if (!openLoginTables(session_, TBLUSUARIOS_)) {
    finish(EndProgram);
    return;
  }
  QCoreApplication::processEvents();
  form_.code->setFocus();
  checkSize();
}

void TPDLGACESSO::checkSize() {
  Connection& workout = session_.workout();
  const SizeSource size =
      sizeSourceOverride().value_or(databaseSize(workout.database(), workout.dialect()));
  const auto progress = [this](const QString& text) { showProgress(text); };
  const auto busy = [](bool on) {
    if (on)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  };
  Verifica_Tamanho_Banco(workout.database(), workout.dialect(), size, progress, busy);
  ready_ = true;
  form_.code->setFocus();
}

void TPDLGACESSO::codeEntered() {
  const QString code = form_.code->text();
  switch (loginCode(session_, TBLUSUARIOS_, code, attempts_, G().GBOL_MUDA_USUARIO)) {
    case AccessStep::Accepted:
      codeAccepted(form_, TBLUSUARIOS_.text(QStringLiteral("NOME")));
      break;
    case AccessStep::Refused:
      tryAgain(form_.code);
      break;
    case AccessStep::Exhausted:
      finish(EndProgram);
      break;
  }
}

void TPDLGACESSO::passwordEscaped() {
  form_.password->clear();
  form_.password->setEnabled(false);
  form_.code->clear();
  form_.code->setEnabled(true);
  form_.name->clear();
  form_.code->setFocus();
}

void TPDLGACESSO::passwordEntered() {
  if (form_.password->text().isEmpty()) {
    form_.code->setEnabled(true);
    return;
  }
  switch (loginPassword(TBLUSUARIOS_, form_.password->text(), attempts_, G().GBOL_MUDA_USUARIO)) {
    case AccessStep::Accepted:
      session_.writeStatusPanel(1, QStringLiteral("Usuário: ") + form_.name->text());
      finish(LoggedIn);
      break;
    case AccessStep::Refused:
      tryAgain(form_.password);
      break;
    case AccessStep::Exhausted:
      finish(EndProgram);
      break;
  }
}

void TPDLGACESSO::finish(Result result) {
  finishing_ = true;
  TBLUSUARIOS_.close();
  done(result);
}

void TPDLGACESSO::closeEvent(QCloseEvent* event) {
  // Only a login, or the end of the program, closes the dialog.
  if (!finishing_ && attempts_.password < 4 && !attempts_.accepted) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

TPDLGACESSOLOCAL::TPDLGACESSOLOCAL(Session& session, QWidget* parent)
    : QDialog(parent, kNoCloseButton), session_(session) {
  setObjectName(QStringLiteral("TPDLGACESSOLOCAL"));
  setWindowTitle(QStringLiteral("Acesso Local"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  form_ = buildAccessForm(this, layout, true);
  setMinimumWidth(320);
  onFieldKeys(
      form_.code, [this] { codeEntered(); }, [this] { codeEntered(); });
  onFieldKeys(
      form_.password, [this] { passwordEntered(); }, [this] { passwordEntered(); });
  centre(this);
}

void TPDLGACESSOLOCAL::codeEntered() {
  UsersTable& users = session_.TBLUSUARIOS();
  switch (reauthCode(users, form_.code->text(), attempts_)) {
    case AccessStep::Accepted:
      codeAccepted(form_, users.text(QStringLiteral("NOME")));
      break;
    case AccessStep::Refused:
      tryAgain(form_.code);
      break;
    case AccessStep::Exhausted:
      finish();
      break;
  }
}

void TPDLGACESSOLOCAL::passwordEntered() {
  switch (reauthPassword(session_.TBLUSUARIOS(), form_.password->text(), attempts_)) {
    case AccessStep::Accepted:
      // The next tick of the main window's timer puts the banner back.
      session_.writeStatusPanel(2, QStringLiteral("Usuário: ") + form_.name->text());
      finish();
      break;
    case AccessStep::Refused:
      tryAgain(form_.password);
      break;
    case AccessStep::Exhausted:
      finish();
      break;
  }
}

void TPDLGACESSOLOCAL::finish() {
  finishing_ = true;
  accept();
}

void TPDLGACESSOLOCAL::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

bool showLogin(Session& session, QWidget* parent, bool changingUser) {
  if (changingUser) G().GBOL_MUDA_USUARIO = true;
  TPDLGACESSO dialog(session, parent);
  return dialog.exec() == TPDLGACESSO::LoggedIn;
}
