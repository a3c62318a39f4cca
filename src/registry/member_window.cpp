#include "registry/member_window.h"

#include <QSqlRecord>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "data/users_table.h"
#include "forms/session.h"
#include "registry/member_store.h"

namespace {

const PersonWindow::Texts kTexts{
    QStringLiteral("Alunos"),
    QStringLiteral("INCLUSÃO DE ALUNOS"),
    QStringLiteral("ALTERAÇÃO DE ALUNOS"),
    QStringLiteral("EXCLUSÃO DE ALUNOS"),
    QStringLiteral("Procura de Alunos"),
    QStringLiteral("ALUNOS"),
    QStringLiteral("Alunos"),
    QStringLiteral("Alunos"),
};

// The fields in the order Enter walks through them.
const QList<FieldDef> kFields =
    personFields() +
    QList<FieldDef>{
        {"IDENTIDADE", "DBEDTIDENTIDADE", "Identidade", 15, FieldDef::Blanks},
        {"CPF", "DBEDTCPF", "CPF", 15, FieldDef::Blanks},
        {"TELEFONE", "DBEDTTELEFONE", "Telefone Res.", 14, FieldDef::Upper},
        {"TELEFONECOM", "DBEDTTELEFONECOM", "Telefone Com.", 14, FieldDef::Upper},
        {"TELEFONE_CELULAR", "DBEDTCELULAR", "Tel.: Celular", 14, FieldDef::Upper},
        {"RADIO", "DBEDTRADIO", "Radio", 20, FieldDef::Upper},
        {"PROFISSAO", "DBEDTPROFISSAO", "Profissão", 20, FieldDef::Upper},
        {"RESPONSAVEL", "DBEDTRESPONSAVEL", "Responsável", 20, FieldDef::Upper},
        {"DATA_CADASTRADO", "DBEDTCADASTRO", "Cadastrado", 10, FieldDef::Date, "/ "},
        {"SAIDA", "DBEDTSAIDA", "Saída", 10, FieldDef::Date},
        {"EMAIL", "DBEDTEMAIL", "E-mail", 40, FieldDef::Lower},
        {"DATA_MEDICA", "DBEDTMEDICA", "Médica", 10, FieldDef::Date},
        {"DATA_FUNCIONAL", "DBEDTFUNCIONAL", "Funcional", 10, FieldDef::Date},
    };

}  // namespace

TFRMALUNOS::TFRMALUNOS(Session& session, QWidget* parent)
    : PersonWindow(session, kTexts, memberTable(), parent) {
  setObjectName(QStringLiteral("TFRMALUNOS"));
  build(kFields, "DBGALUNOS",
        {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
         {QStringLiteral("NOME"), QStringLiteral("Nome")},
         {QStringLiteral("DATA_CADASTRADO"), QStringLiteral("Cadastro")}});
}

bool TFRMALUNOS::openOwnTables() {
  if (sqlRuns(session().workout().database(),
              QStringLiteral("SELECT CODIGO, C_EXCLUI_ALUNOS FROM Usuarios WHERE 1 = 0")))
    return true;
  MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
  return false;
}

std::optional<FieldRefusal> TFRMALUNOS::confirmChecks(PersonForm& form) {
  return checkMemberForConfirm(form);
}

std::optional<QString> TFRMALUNOS::numberForNewPerson(int) {
  if (!settings().sequentialNumbers()) return QString();
  return nextMatricula(session().workout().database(), memberTable().table);
}

// A new member inherits the city and state of the member that was on screen.
void TFRMALUNOS::newPersonDefaults(PersonForm& fresh, const QSqlRecord& onScreen) {
  fresh.insert(QStringLiteral("ESTADO"), onScreen.value(QStringLiteral("ESTADO")).toString());
  fresh.insert(QStringLiteral("CIDADE"), onScreen.value(QStringLiteral("CIDADE")).toString());
  fresh.insert(QStringLiteral("DATA_CADASTRADO"), formatTypedDate(QDate::currentDate()));
}

// The delete right is read afresh; another user may authorise one delete. The status panel
// then names the logged-in user again. (The open-window count is left alone: this window
// stays open.)
bool TFRMALUNOS::TESTA_EXCLUSAO() {
  const Permission permission = checkPermission(session(), QStringLiteral("C_EXCLUI_ALUNOS"));
  if (permission == Permission::UsersUnavailable) return false;
  if (!restoreUserPanel(session()))
    MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  session().TBLUSUARIOS().close();
  return permission == Permission::Granted;
}
