#include "forms/session.h"

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "data/standing_connections.h"
#include "data/users_table.h"

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
  if (entry.probeSettings && !Settings::read(ADOConnectionVantrel().database())) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    users.close();
    return false;
  }
  users.close();
  return true;
}

namespace {

ShellHooks& shellHooks() {
  static ShellHooks hooks;
  return hooks;
}

}  // namespace

void installShellHooks(ShellHooks hooks) {
  shellHooks() = std::move(hooks);
}

bool openMenuEntry(const QString& entry) {
  if (!shellHooks().openEntry) return false;
  shellHooks().openEntry(entry);
  return true;
}

void reapplyMenuSettings() {
  if (shellHooks().applyMenuSettings) shellHooks().applyMenuSettings();
}
