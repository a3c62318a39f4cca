#include "registry/member_list_dialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSqlRecord>
#include <QTimer>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "forms/session.h"

namespace {
const QString kInfo = QStringLiteral("!");
}  // namespace

MemberListDialog::MemberListDialog(Session& session, QWidget* shortcut, QWidget* parent,
                                   UnmatchedName unmatched, const QString& purpose)
    : QDialog(parent), session_(session), purpose_(purpose), shortcut_(shortcut) {
  setModal(true);
  search_ = new MemberSearch(unmatched, this, QStringLiteral(" Aluno(a) "));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  failed_ = !ABRE_TABELAS();
  QApplication::restoreOverrideCursor();
  if (failed_) MENSAGEM(kInfo, Msg::AberturaDeTabela);
}

MemberListDialog::~MemberListDialog() {
  FECHA_TABELAS();
}

bool MemberListDialog::ABRE_TABELAS() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  people_ = peopleTables(*settings);
  const QString detail =
      people_.source == DataSource::Vantrel ? QStringLiteral("Alunos") : QStringLiteral(" Alunos");
  connection_ = Session::newConnection(people_.source, purpose_);
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

void MemberListDialog::FECHA_TABELAS() {
  search_->close();
  connection_.reset();
}

void MemberListDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  if (failed_) {
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  firstShown();
}

void MemberListDialog::done(int result) {
  if (!closed_) {
    closed_ = true;
    FECHA_TABELAS();
    if (shortcut_) shortcut_->setEnabled(true);
    if (!VOLTA_USUARIO(session_))
      MENSAGEM(kInfo, Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  }
  QDialog::done(result);
}

QWidget* MemberListDialog::photoBox() {
  auto* photo = new QGroupBox(QStringLiteral("Foto"), this);
  Image1 = new QLabel(photo);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setAlignment(Qt::AlignCenter);
  (new QVBoxLayout(photo))->addWidget(Image1);
  return photo;
}

std::optional<QImage> MemberListDialog::showCurrentPhoto() {
  if (!connection_ || !search_->members() || search_->members()->rowCount() == 0)
    return std::nullopt;
  return showMemberPhoto(Image1, connection_->database(), people_.photos,
                         search_->current().value(QStringLiteral("MATRICULA")).toString());
}
