#include "registry/user_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>

#include "base/globals.h"
#include "base/messages.h"
#include "base/password.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "forms/field_keys.h"
#include "forms/session.h"
#include "registry/access_level_window.h"
#include "registry/people_source.h"
#include "registry/user_listing_window.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kCaption = QStringLiteral("Usuários");

const QList<FieldDef> kFields = {
    {"CODIGO", "DBEDTCODIGO", "Código", 2, FieldDef::Digits},
    {"NOME", "DBEDTNOME", "Nome", 18, FieldDef::Upper},
    {nullptr, "CBFUNCIONARIOS", "Professor", 0, FieldDef::List},
    {nullptr, "EDTSENHAATUAL", "Digite senha ATUAL", 6, FieldDef::Password},
    {nullptr, "EDTSENHANOVA", "Digite senha NOVA", 6, FieldDef::Password},
    {nullptr, "EDTSENHANOVARE", "Redigite senha ", 6, FieldDef::Password},
};

QLabel* labelOf(QWidget* w) {
  for (QLabel* label : w->parentWidget()->findChildren<QLabel*>())
    if (label->buddy() == w) return label;
  return nullptr;
}

void setShown(QWidget* w, bool shown) {
  w->setVisible(shown);
  if (QLabel* label = labelOf(w)) label->setVisible(shown);
}

}  // namespace

TFRMCADASTRODEUSUARIOS::TFRMCADASTRODEUSUARIOS(Session& session, QWidget* parent)
    : RegistryWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMCADASTRODEUSUARIOS"));
  setWindowTitle(kCaption);
  addToolButton("SBINCLUIR", QStringLiteral("Incluir"), [this] { SBINCLUIRClick(); });
  addToolButton("SBALTERAR", QStringLiteral("Alterar"), [this] { SBALTERARClick(); });
  addToolButton("SBEXCLUIR", QStringLiteral("Excluir"), [this] { SBEXCLUIRClick(); });
  addToolButton("SBCONSULTAR", QStringLiteral("Consultar"), [this] { SBCONSULTARClick(); });
  addToolButton("SBSAIR", QStringLiteral("Sair"), [this] { closeWindow(); });
  addFields(kFields, 6);
  addGrid("DBGCADASTROUSUARIOS");
  addConfirmCancel();
  connect(button(QStringLiteral("BBNCONFIRMA")), &QPushButton::clicked, this,
          &TFRMCADASTRODEUSUARIOS::BBNCONFIRMAClick);
  connect(button(QStringLiteral("BBNCANCELA")), &QPushButton::clicked, this,
          &TFRMCADASTRODEUSUARIOS::BBNCANCELAClick);
  onFieldKeys(edit(QStringLiteral("DBEDTCODIGO")), [this] { codeEntered(); }, {});
  onFieldKeys(edit(QStringLiteral("DBEDTNOME")), [this] { nameEntered(); }, {});
  onFieldKeys(edit(QStringLiteral("EDTSENHAATUAL")), [this] { currentPasswordEntered(); }, {});
  onFieldKeys(edit(QStringLiteral("EDTSENHANOVA")), [this] { newPasswordEntered(); }, {});
  onFieldKeys(edit(QStringLiteral("EDTSENHANOVARE")), [this] { retypeEntered(); }, {});
  onFieldKeys(field(QStringLiteral("CBFUNCIONARIOS")), [this] { staffEntered(); }, {});
  setFieldsEnabled(false);
  showPasswordEdits(false, false);
  const Connection& workout = session.workout();
  setModel(new PagedTableModel(workout.database(), workout.dialect(), QStringLiteral("Usuarios"),
                               {{QStringLiteral("CODIGO"), QStringLiteral("Código")},
                                {QStringLiteral("NOME"), QStringLiteral("Nome")}},
                               {QStringLiteral("CODIGO")}, this));
  setPreferredSize(QSize(560, 460));
}

bool TFRMCADASTRODEUSUARIOS::ABRE_TABELAS() {
  if (openTables()) return true;
  MENSAGEM(kInfo, Msg::RegistroJaAlocado);
  return false;
}

bool TFRMCADASTRODEUSUARIOS::openTables() {
  const QSqlDatabase db = session().workout().database();
  const std::optional<Settings> settings = session().rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Secvar"));
    return false;
  }
  linkStaff_ = settings->instructorTiedToUser();
  QComboBox* staff = list(QStringLiteral("CBFUNCIONARIOS"));
  staff->clear();
  if (linkStaff_) {
    const PeopleTables people =
        peopleTables(settings->membersKeptHere(), G().GSTR_ALUNOS_ATIVOS == QStringLiteral("Sim"));
    const bool gym = people.source != DataSource::Vantrel;
    const QString detail = gym ? QStringLiteral(" Funcionario") : QStringLiteral("Funcionario");
    const Result<std::unique_ptr<Connection>> connection = openPeopleConnection(people, detail);
    if (!connection.okOrTell()) {
      if (gym) MENSAGEM(kInfo, Msg::AberturaDeTabela, detail);
      return false;
    }
    try {
      staff->addItems(instructorChoices((*connection)->database(), people.staff));
    } catch (const SqlError&) {
      if (gym) MENSAGEM(kInfo, Msg::BriscaInativo);
      MENSAGEM(kInfo, Msg::AberturaDeTabela, detail);
      return false;
    }
  }
  setShown(staff, linkStaff_);
  if (!model()->refresh()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
    return false;
  }
  selectRow(0);
  showCurrentUser();
  return true;
}

void TFRMCADASTRODEUSUARIOS::currentRowChanged() {
  if (mode() == Mode::Browse) showCurrentUser();
}

void TFRMCADASTRODEUSUARIOS::showCurrentUser() {
  const QSqlRecord user = currentRecord();
  setFieldText(QStringLiteral("DBEDTCODIGO"), user.value(QStringLiteral("CODIGO")).toString());
  setFieldText(QStringLiteral("DBEDTNOME"), user.value(QStringLiteral("NOME")).toString());
  if (!linkStaff_) return;
  // The list shows the instructor whose number is the user's link.
  QComboBox* staff = list(QStringLiteral("CBFUNCIONARIOS"));
  const QString link = user.value(QStringLiteral("Matricula")).toString();
  for (int i = 0; i < staff->count(); ++i)
    if (!link.isEmpty() && staffLinkOf(staff->itemText(i)) == link) staff->setCurrentIndex(i);
}

void TFRMCADASTRODEUSUARIOS::showPasswordEdits(bool current, bool fresh) {
  setShown(field(QStringLiteral("EDTSENHAATUAL")), current);
  setShown(field(QStringLiteral("EDTSENHANOVA")), fresh);
  setShown(field(QStringLiteral("EDTSENHANOVARE")), fresh);
}

void TFRMCADASTRODEUSUARIOS::SBINCLUIRClick() {
  setMode(Mode::Insert, QStringLiteral("INCLUSÃO DE USUÁRIOS"));
  DESATIVA_BOTOES();
  setConfirmCancel(true);
  grid()->setEnabled(false);
  for (const char* name : {"DBEDTCODIGO", "DBEDTNOME", "EDTSENHANOVA", "EDTSENHANOVARE"}) {
    field(QString::fromLatin1(name))->setEnabled(true);
    setFieldText(QString::fromLatin1(name), QString());
  }
  field(QStringLiteral("CBFUNCIONARIOS"))->setEnabled(linkStaff_);
  showPasswordEdits(false, true);
  field(QStringLiteral("DBEDTCODIGO"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::codeEntered() {
  QLineEdit* code = edit(QStringLiteral("DBEDTCODIGO"));
  if (code->text().isEmpty()) {
    refuseField(code, {Msg::CodigoIncorreto, {}, true});
    return;
  }
  code->setText(padUserCode(code->text()));
  bool exists = false;
  try {
    exists = userExists(session().workout().database(), code->text());
  } catch (const SqlError&) {
    exists = false;
  }
  if (exists) {
    refuseField(code, {Msg::CodigoJaCadastrado, {}, true});
    return;
  }
  code->setEnabled(false);
  field(QStringLiteral("DBEDTNOME"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::nameEntered() {
  QLineEdit* name = edit(QStringLiteral("DBEDTNOME"));
  if (name->text().trimmed().isEmpty()) {
    refuseField(name, {Msg::DadoIncorreto, QStringLiteral("Nome")});
    return;
  }
  if (linkStaff_)
    field(QStringLiteral("CBFUNCIONARIOS"))->setFocus();
  else if (mode() == Mode::Insert)
    field(QStringLiteral("EDTSENHANOVA"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::staffEntered() {
  field(mode() == Mode::Insert || field(QStringLiteral("EDTSENHANOVA"))->isVisible()
            ? QStringLiteral("EDTSENHANOVA")
            : QStringLiteral("EDTSENHAATUAL"))
      ->setFocus();
}

void TFRMCADASTRODEUSUARIOS::newPasswordEntered() {
  QLineEdit* password = edit(QStringLiteral("EDTSENHANOVA"));
  if (password->text().isEmpty()) {
    refuseField(password, {Msg::DadoIncorreto, QStringLiteral("Senha INCORRETA")});
    return;
  }
  field(QStringLiteral("EDTSENHANOVARE"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::retypeEntered() {
  QLineEdit* password = edit(QStringLiteral("EDTSENHANOVA"));
  QLineEdit* retype = edit(QStringLiteral("EDTSENHANOVARE"));
  if (retype->text().isEmpty()) {
    refuseField(retype, {Msg::DadoIncorreto, QStringLiteral("Senha INCORRETA")});
    return;
  }
  if (retype->text() != password->text()) {
    MENSAGEM(kInfo, Msg::SenhaNaoConfere);
    password->clear();
    retype->clear();
    password->setFocus();
    return;
  }
  button(QStringLiteral("BBNCONFIRMA"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::SBALTERARClick() {
  passwordAttempts_ = 1;
  const QString selected = currentRecord().value(QStringLiteral("CODIGO")).toString();
  if (!mayChangeUser(session().user(), selected)) {
    MENSAGEM(kInfo, Msg::DadoNaoPodeSerAlterado, QStringLiteral("MESTRE"));
    return;
  }
  setMode(Mode::Change, QStringLiteral("ALTERAÇÃO DE USUÁRIOS"));
  DESATIVA_BOTOES();
  button(QStringLiteral("BBNCANCELA"))->setEnabled(true);
  button(QStringLiteral("BBNCONFIRMA"))->setEnabled(false);
  grid()->setEnabled(false);
  field(QStringLiteral("CBFUNCIONARIOS"))->setEnabled(linkStaff_);
  for (const char* name : {"EDTSENHAATUAL", "EDTSENHANOVA", "EDTSENHANOVARE"}) {
    field(QString::fromLatin1(name))->setEnabled(true);
    setFieldText(QString::fromLatin1(name), QString());
  }
  showPasswordEdits(true, false);
  field(QStringLiteral("EDTSENHAATUAL"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::currentPasswordEntered() {
  QLineEdit* current = edit(QStringLiteral("EDTSENHAATUAL"));
  const QString stored = currentRecord().value(QStringLiteral("SENHA")).toString();
  if (!passwordMatches(current->text(), stored)) {
    ++passwordAttempts_;
    refuseField(current, {Msg::DadoIncorreto, QStringLiteral("Senha"), true});
    if (passwordAttempts_ >= 4) closeWindow();
    return;
  }
  button(QStringLiteral("BBNCONFIRMA"))->setEnabled(true);
  showPasswordEdits(false, true);
  field(QStringLiteral("EDTSENHANOVA"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::SBEXCLUIRClick() {
  const QString selected = currentRecord().value(QStringLiteral("CODIGO")).toString();
  if (!mayDeleteUser(session().user(), selected)) {
    MENSAGEM(kInfo, Msg::DadoNaoPodeSerAlterado);
    return;
  }
  setMode(Mode::Delete, QStringLiteral("EXCLUSÃO DE USUÁRIOS"));
  DESATIVA_BOTOES();
  setConfirmCancel(true);
  setFieldsEnabled(false);
  grid()->setEnabled(false);
  // The stored password is a hash: six masked characters stand for it.
  showPasswordEdits(false, true);
  setFieldText(QStringLiteral("EDTSENHANOVA"), QStringLiteral("******"));
  setFieldText(QStringLiteral("EDTSENHANOVARE"), QStringLiteral("******"));
  button(QStringLiteral("BBNCANCELA"))->setFocus();
}

void TFRMCADASTRODEUSUARIOS::SBCONSULTARClick() {
  setCaption(QStringLiteral("CONSULTA DE USUÁRIOS"));
  TFRMCONSULTAUSUARIOS lookup(this);
  lookup.exec();
  setCaption(QStringLiteral("Cadastro de Usuários"));
}

void TFRMCADASTRODEUSUARIOS::BBNCONFIRMAClick() {
  const QSqlDatabase db = session().workout().database();
  const QString code = fieldText(QStringLiteral("DBEDTCODIGO"));
  if (code.isEmpty()) {
    refuseField(field(QStringLiteral("DBEDTCODIGO")), {Msg::CodigoIncorreto, {}});
    return;
  }
  if (fieldText(QStringLiteral("DBEDTNOME")).trimmed().isEmpty()) {
    refuseField(field(QStringLiteral("DBEDTNOME")), {Msg::DadoIncorreto, QStringLiteral("Nome")});
    return;
  }
  if (mode() == Mode::Delete) {
    if (!deleteUser(db, code).okOrTell()) {
      closeWindow();
      return;
    }
    backToBrowse();
    return;
  }
  QLineEdit* password = edit(QStringLiteral("EDTSENHANOVA"));
  QLineEdit* retype = edit(QStringLiteral("EDTSENHANOVARE"));
  if (const std::optional<FieldError> error = checkNewPasswords(password->text(), retype->text())) {
    MENSAGEM(kInfo, error->text, error->detail);
    password->clear();
    retype->clear();
    password->setFocus();
    return;
  }
  const QString link =
      linkStaff_ ? staffLinkOf(fieldText(QStringLiteral("CBFUNCIONARIOS"))) : QString();
  bool askForFlags = false;
  if (mode() == Mode::Insert) {
    const bool full =
        MENSAGEM(QStringLiteral("?"),
                 QStringLiteral("Deseja que este Usuário tenha acesso COMPLETO?")) == kAnswerYes;
    switch (told(insertUser(
        db, {code, fieldText(QStringLiteral("DBEDTNOME")), password->text(), link, full}))) {
      case ConfirmResult::Written:
        break;
      case ConfirmResult::Duplicate:
        // Another workstation was quicker: the form stays, the code is typed again.
        retypeCode(QStringLiteral("DBEDTCODIGO"));
        return;
      case ConfirmResult::Failed:
        closeWindow();
        return;
    }
    askForFlags = !full;
  } else if (!changeUserPassword(db, code, password->text(), link).okOrTell()) {
    closeWindow();
    return;
  }
  backToBrowse();
  selectRow(model()->rowOfKey(code));
  // A user without full access gets the flags one by one, through the entry and its right.
  if (askForFlags) {
    TFRMPARAMETRIZACAODOUSUARIO::startOnUser(code);
    session().openMenuEntry(QStringLiteral("MNPARAMETRIZACAODOUSUARIO"));
  }
}

void TFRMCADASTRODEUSUARIOS::BBNCANCELAClick() {
  backToBrowse();
}

void TFRMCADASTRODEUSUARIOS::backToBrowse() {
  setMode(Mode::Browse, kCaption);
  for (const char* name : {"EDTSENHAATUAL", "EDTSENHANOVA", "EDTSENHANOVARE"})
    setFieldText(QString::fromLatin1(name), QString());
  showPasswordEdits(false, false);
  setFieldsEnabled(false);
  setConfirmCancel(false);
  grid()->setEnabled(true);
  ATIVA_BOTOES();
  if (!openTables()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    closeWindow();
  }
}
