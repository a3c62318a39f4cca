#include "followup/member_email_window.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "base/prompter.h"
#include "followup/email_sending.h"
#include "followup/email_window.h"
#include "forms/named_button.h"
#include "forms/session.h"

namespace {

const QString kMatricula = QStringLiteral("MATRICULA");

}  // namespace

TFRMEMAILALUNOS::TFRMEMAILALUNOS(Session& session, QWidget* shortcut, QWidget* parent)
    // A name typed that begins no member's name still leaves Enter the member in view.
    : MemberListDialog(session, shortcut, parent, UnmatchedName::KeepCurrent,
                       QStringLiteral("email-alunos")) {
  setObjectName(QStringLiteral("TFRMEMAILALUNOS"));
  setWindowTitle(QStringLiteral("E-mail para Alunos"));
  auto* layout = new QHBoxLayout(this);
  connect(search_, &MemberSearch::typed, this, &TFRMEMAILALUNOS::searchTyped);
  connect(search_, &MemberSearch::entered, this, &TFRMEMAILALUNOS::searchEntered);
  connect(search_, &MemberSearch::gridKeyReleased, this, &TFRMEMAILALUNOS::DBGALUNOSKeyUp);
  connect(search_->grid(), &QTableView::doubleClicked, this, &TFRMEMAILALUNOS::DBGALUNOSDblClick);
  layout->addWidget(search_, 1);

  auto* side = new QVBoxLayout;
  side->addWidget(photoBox());
  SBEMAIL = namedButton(this, "SBEMAIL", QStringLiteral("E-mail"), QStringLiteral("E-mail"));
  BBNSAIR = namedButton(this, "BBNSAIR", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(SBEMAIL, &QPushButton::clicked, this, &TFRMEMAILALUNOS::SBEMAILClick);
  connect(BBNSAIR, &QPushButton::clicked, this, &QDialog::reject);
  side->addWidget(SBEMAIL);
  side->addStretch();
  side->addWidget(BBNSAIR);
  layout->addLayout(side);
  resize(640, 480);
}

void TFRMEMAILALUNOS::firstShown() {
  search_->setKey(MemberKey::Matricula);
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
  showCurrentPhoto();
}
