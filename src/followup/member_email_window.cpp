#include "followup/member_email_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "followup/email_sending.h"
#include "followup/email_window.h"
#include "forms/named_button.h"
#include "forms/session.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kMatricula = QStringLiteral("MATRICULA");

}  // namespace

TFRMEMAILALUNOS::TFRMEMAILALUNOS(Session& session, QWidget* shortcut, QWidget* parent)
    : QDialog(parent), session_(session), shortcut_(shortcut) {
  setObjectName(QStringLiteral("TFRMEMAILALUNOS"));
  setWindowTitle(QStringLiteral("E-mail para Alunos"));
  setModal(true);
  auto* layout = new QHBoxLayout(this);
  // A name typed that begins no member's name still leaves Enter the member in view.
  search_ = new MemberSearch(UnmatchedName::KeepCurrent, this, QStringLiteral(" Aluno(a) "));
  connect(search_, &MemberSearch::typed, this, &TFRMEMAILALUNOS::searchTyped);
  connect(search_, &MemberSearch::entered, this, &TFRMEMAILALUNOS::searchEntered);
  connect(search_, &MemberSearch::gridKeyReleased, this, &TFRMEMAILALUNOS::DBGALUNOSKeyUp);
  connect(search_->grid(), &QTableView::doubleClicked, this, &TFRMEMAILALUNOS::DBGALUNOSDblClick);
  layout->addWidget(search_, 1);

  auto* side = new QVBoxLayout;
  auto* photo = new QGroupBox(QStringLiteral("Foto"), this);
  Image1 = new QLabel(photo);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setAlignment(Qt::AlignCenter);
  (new QVBoxLayout(photo))->addWidget(Image1);
  side->addWidget(photo);
  SBEMAIL = namedButton(this, "SBEMAIL", QStringLiteral("E-mail"), QStringLiteral("E-mail"));
  BBNSAIR = namedButton(this, "BBNSAIR", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(SBEMAIL, &QPushButton::clicked, this, &TFRMEMAILALUNOS::SBEMAILClick);
  connect(BBNSAIR, &QPushButton::clicked, this, &QDialog::reject);
  side->addWidget(SBEMAIL);
  side->addStretch();
  side->addWidget(BBNSAIR);
  layout->addLayout(side);
  resize(640, 480);

  QApplication::setOverrideCursor(Qt::WaitCursor);
  failed_ = !ABRE_TABELAS();
  QApplication::restoreOverrideCursor();
  if (failed_) MENSAGEM(kInfo, Msg::AberturaDeTabela);
}

TFRMEMAILALUNOS::~TFRMEMAILALUNOS() {
  FECHA_TABELAS();
}

bool TFRMEMAILALUNOS::ABRE_TABELAS() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  people_ = peopleTables(*settings);
  const QString detail =
      people_.source == DataSource::Vantrel ? QStringLiteral("Alunos") : QStringLiteral(" Alunos");
  connection_ = Session::newConnection(people_.source, QStringLiteral("email-alunos"));
  if (!connection_->open()) {  // the connection logs why
    tell(peopleTableUnavailable(people_, detail));
    return false;
  }
  if (!search_->open(*connection_, people_.members)) {
    tell(peopleTableUnavailable(people_, detail, search_->members()->lastError()));
    return false;
  }
  search_->goToRow(0);
  return true;
}

void TFRMEMAILALUNOS::FECHA_TABELAS() {
  search_->close();
  connection_.reset();
}

void TFRMEMAILALUNOS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  if (failed_) {
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  search_->setKey(MemberKey::Matricula);
}

void TFRMEMAILALUNOS::done(int result) {
  if (!closed_) {
    closed_ = true;
    FECHA_TABELAS();
    if (shortcut_) shortcut_->setEnabled(true);
    if (!VOLTA_USUARIO(session_))
      MENSAGEM(kInfo, Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  }
  QDialog::done(result);
}

void TFRMEMAILALUNOS::searchTyped(const SearchStep& step) {
  if (step.remembered) remembered_ = *step.remembered;
}

void TFRMEMAILALUNOS::searchEntered(const QString& text) {
  const std::optional<QSqlRecord> member = search_->enter(text, remembered_);
  if (!member) return;
  search_->showFound(*member);
  MOSTRA_FOTO();
}

void TFRMEMAILALUNOS::DBGALUNOSKeyUp() {
  remembered_ = search_->current().value(kMatricula).toString();
}

void TFRMEMAILALUNOS::DBGALUNOSDblClick() {
  const QSqlRecord member = search_->current();
  if (member.isEmpty()) return;
  search_->text()->setEnabled(true);
  search_->showFound(member);
  remembered_ = member.value(kMatricula).toString();
  MOSTRA_FOTO();
  SBEMAILClick();
}

void TFRMEMAILALUNOS::SBEMAILClick() {
  const QString address = search_->current().value(QStringLiteral("EMAIL")).toString();
  openMailWindow(session_, EmailRecipients::member(address), this);
  search_->text()->clear();
  search_->text()->setFocus();
}

void TFRMEMAILALUNOS::MOSTRA_FOTO() {
  if (!connection_ || !search_->members() || search_->members()->rowCount() == 0) return;
  showMemberPhoto(Image1, connection_->database(), people_.photos,
                  search_->current().value(kMatricula).toString());
}
