#include "forms/session.h"

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

}  // namespace

Session::Session()
    : workout_(std::make_unique<Connection>(DataSource::Vantrel,
                                            QStringLiteral("ADOConnectionVantrel"))),
      management_(std::make_unique<Connection>(DataSource::Brisca,
                                               QStringLiteral("ADOConnectionBrisca"))) {}

Session::~Session() {
  users_.close();
  management_->release();
  workout_->release();
}

bool Session::connect() {
  return workout_->open() && management_->open();
}

void Session::disconnect() {
  management_->close();
  workout_->close();
}

std::unique_ptr<Connection> Session::newConnection(DataSource source, const QString& purpose) {
  return std::make_unique<Connection>(source, Connection::uniqueName(purpose));
}

void Session::setUser(const QString& code) {
  user_ = code;
  G().GSTR_USUARIO = code;
}

std::optional<Settings> Session::rereadSettings() {
  std::optional<Settings> read = Settings::read(workoutDatabase());
  if (read) settings_ = *read;
  return read;
}

void Session::writeStatusPanel(int panel, const QString& text) const {
  if (shell_.writeStatusPanel) shell_.writeStatusPanel(panel, text);
}

void Session::reauthenticate() const {
  if (shell_.reauthenticate) shell_.reauthenticate();
}

bool Session::openMenuEntry(const QString& entry) const {
  if (!shell_.openEntry) return false;
  shell_.openEntry(entry);
  return true;
}

void Session::reapplyMenuSettings() const {
  if (shell_.applyMenuSettings) shell_.applyMenuSettings();
}

bool ABRE_USUARIOS(Session& session) {
  UsersTable& users = session.TBLUSUARIOS();
  if (users.isOpen()) return true;
  if (users.open(session.workoutDatabase())) return true;
  MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
  return false;
}

bool restoreUserPanel(Session& session) {
  UsersTable& users = session.TBLUSUARIOS();
  const bool wasOpen = users.isOpen();
  if (!wasOpen && !users.open(session.workoutDatabase())) return false;
  if (users.locate(session.user()))
    session.writeStatusPanel(1, QStringLiteral("Usuário: ") + users.text(QStringLiteral("NOME")));
  if (!wasOpen) users.close();
  return true;
}

bool VOLTA_USUARIO(Session& session) {
  Globals& g = G();
  g.GINT_JANELAS_ABERTAS -= 1;
  if (g.GINT_JANELAS_ABERTAS == 0 && !session.TBLUSUARIOS().isOpen() &&
      !restoreUserPanel(session)) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
    return false;
  }
  return true;
}

Permission checkPermission(Session& session, const QString& column, const QString& deniedDetail) {
  Globals& g = G();
  UsersTable& users = session.TBLUSUARIOS();
  if (!ABRE_USUARIOS(session)) return Permission::UsersUnavailable;
  if (users.locate(session.user()) && users.text(column) == kNao) {
    // Another user may authorise this once; the logged-in user stays the same.
    g.GSTR_USUARIO_ANTERIOR = session.user();
    session.reauthenticate();
    g.GSTR_USUARIO = session.user();
  }
  // After failed re-authentications the dialog closed the table: nothing is allowed.
  if (!users.isOpen() || users.text(column) != kSim) {
    MENSAGEM(QStringLiteral("!"), Msg::UsuarioSemAcesso, deniedDetail);
    users.close();
    return Permission::Refused;
  }
  return Permission::Granted;
}

bool authoriseEntry(Session& session, const GuardedEntry& entry) {
  switch (checkPermission(session, entry.permissionColumn, entry.deniedDetail)) {
    case Permission::UsersUnavailable:
      MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
      return false;
    case Permission::Refused:
      return false;
    case Permission::Granted:
      break;
  }
  UsersTable& users = session.TBLUSUARIOS();
  if (entry.probeSettings && !session.rereadSettings()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    users.close();
    return false;
  }
  users.close();
  return true;
}
