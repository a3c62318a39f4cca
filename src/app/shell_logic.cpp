#include "app/shell_logic.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>

#include "app/error_log.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/prompter.h"
#include "app/standing_connections.h"
#include "app/users_table.h"
#include "data/settings_record.h"

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

StatusWriter& statusWriter() {
  static StatusWriter writer;
  return writer;
}

Reauthenticator& reauthenticator() {
  static Reauthenticator reauthenticate;
  return reauthenticate;
}

}  // namespace

bool ABRE_CONTROLE() {
  Globals& g = G();
  g.GSTR_ACADEMIA = QStringLiteral(" ");
  const std::optional<QVariantMap> row = readSettings(ADOConnectionVantrel().database());
  if (!row) {
    g.GBOL_CONTROLE_OK = false;
    appendToLog(QStringLiteral("Secvar não pôde ser lido"));
    return false;
  }
  const QVariantMap& s = *row;
  g.GFLT_CLIENTE = s.value(QStringLiteral("CLIENTE")).toDouble();
  g.GINT_DIAS_AUSENTES = qint16(s.value(QStringLiteral("Alunos_Ausentes")).toInt());
  g.GSTR_SMTP_PROVEDOR = s.value(QStringLiteral("SMTP_PROVEDOR")).toString();
  g.GSTR_NOME_PROVEDOR = s.value(QStringLiteral("NOME_PROVEDOR")).toString();
  g.GSTR_EMAIL_PROVEDOR = s.value(QStringLiteral("EMAIL_PROVEDOR")).toString();
  g.GSTR_USERNAME = s.value(QStringLiteral("USERNAME")).toString();
  g.GSTR_PASSWORD = s.value(QStringLiteral("PASSWORD")).toString();
  g.GSTR_PORTAL_CONECTION = s.value(QStringLiteral("Portal_Cenection")).toString();
  g.GSTR_GRUPAMENTO_MUSCULAR = s.value(QStringLiteral("GrupamentoMuscular")).toString();
  g.GBOL_SISTEMA_LOCAL = s.value(QStringLiteral("PATH_EXERCICIO")).toString() != kNao;
  g.GSTR_ACADEMIA = s.value(QStringLiteral("ACADEMIA")).toString();
  return true;
}

bool ABRE_USUARIOS() {
  if (TBLUSUARIOS().isOpen()) return true;
  if (TBLUSUARIOS().open(ADOConnectionVantrel().database())) return true;
  MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
  return false;
}

void installStatusWriter(StatusWriter writer) {
  statusWriter() = std::move(writer);
}

void writeStatusPanel(int panel, const QString& text) {
  if (statusWriter()) statusWriter()(panel, text);
}

void installReauthenticator(Reauthenticator reauthenticate) {
  reauthenticator() = std::move(reauthenticate);
}

bool restoreUserPanel() {
  UsersTable& users = TBLUSUARIOS();
  const bool wasOpen = users.isOpen();
  if (!wasOpen && !users.open(ADOConnectionVantrel().database())) return false;
  if (users.locate(G().GSTR_USUARIO))
    writeStatusPanel(1, QStringLiteral("Usuário: ") + users.text(QStringLiteral("NOME")));
  if (!wasOpen) users.close();
  return true;
}

bool VOLTA_USUARIO() {
  Globals& g = G();
  g.GINT_JANELAS_ABERTAS -= 1;
  if (g.GINT_JANELAS_ABERTAS == 0 && !TBLUSUARIOS().isOpen() && !restoreUserPanel()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
    return false;
  }
  return true;
}

Permission checkPermission(const QString& column, const QString& deniedDetail) {
  Globals& g = G();
  UsersTable& users = TBLUSUARIOS();
  if (!ABRE_USUARIOS()) return Permission::UsersUnavailable;
  if (users.locate(g.GSTR_USUARIO) && users.text(column) == kNao) {
    // Another user may authorise this once; the logged-in user stays the same.
    g.GSTR_USUARIO_ANTERIOR = g.GSTR_USUARIO.str();
    if (reauthenticator()) reauthenticator()();
    g.GSTR_USUARIO = g.GSTR_USUARIO_ANTERIOR.str();
  }
  // After failed re-authentications the dialog closed the table: nothing is allowed.
  if (!users.isOpen() || users.text(column) != kSim) {
    MENSAGEM(QStringLiteral("!"), Msg::UsuarioSemAcesso, deniedDetail);
    users.close();
    return Permission::Refused;
  }
  return Permission::Granted;
}

bool authoriseEntry(const GuardedEntry& entry) {
  switch (checkPermission(entry.permissionColumn, entry.deniedDetail)) {
    case Permission::UsersUnavailable:
      MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
      return false;
    case Permission::Refused:
      return false;
    case Permission::Granted:
      break;
  }
  UsersTable& users = TBLUSUARIOS();
  if (entry.probeSettings && !readSettings(ADOConnectionVantrel().database())) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    users.close();
    return false;
  }
  users.close();
  return true;
}

bool ExitSequence::request(int openWindows) {
  if (openWindows < 1) return true;
  if (step_ == 0) {
    MENSAGEM(QStringLiteral("!"), Msg::FecheJanelasAbertas);
    step_ = 1;
    return false;
  }
  if (step_ == 1 &&
      MENSAGEM(QStringLiteral("?"), Msg::TemCertezaFormulariosFechados) == kAnswerYes) {
    step_ = 2;
    return true;
  }
  return step_ == 2;
}

QString rotateBanner(const QString& banner, int windowWidth) {
  if (banner.size() > windowWidth - 380) return banner.mid(9) + banner.left(9);
  return banner;
}

bool probeWorkoutDatabase() {
  Connection& workout = ADOConnectionVantrel();
  if (!workout.isOpen()) return false;
  QSqlDatabase db = workout.database();
  // An embedded database "goes away" when its file does: the open handle would still answer.
  if (workout.provider() == Provider::SQLite && !QFileInfo::exists(db.databaseName())) return false;
  QSqlQuery probe(db);
  return probe.exec(QStringLiteral("SELECT * FROM Agenda WHERE 1 = 0"));
}

bool reconnectWorkoutDatabase() {
  ADOConnectionVantrel().close();
  return ADOConnectionVantrel().open();
}

void ReSetBanco() {
  while (!reconnectWorkoutDatabase())
    MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, Msg::DetalheBancoRede);
}
