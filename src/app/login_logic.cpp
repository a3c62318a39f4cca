#include "app/login_logic.h"

#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/password.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "data/users_table.h"
#include "forms/session.h"

namespace {

constexpr int kLimit = 4;
const QString kInfo = QStringLiteral("!");

bool passwordOfCurrentUser(const UsersTable& users, const QString& typed) {
  return users.hasCurrent() && passwordMatches(typed, users.text(QStringLiteral("SENHA")));
}

}  // namespace

bool openLoginTables(Session& session, UsersTable& users) {
  Globals& g = G();
  if (!g.GBOL_CONTROLE_OK) {
    appendToLog(QStringLiteral("Acesso: configuração não lida na partida"));
    MENSAGEM(kInfo, Msg::EntreEmContato, Msg::DetalheRede);
    return false;
  }
  const QSqlDatabase db = session.workoutDatabase();
  const std::optional<Settings> settings = session.rereadSettings();
  if (!settings) {
    appendToLog(QStringLiteral("Acesso: Secvar não pôde ser aberto"));
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("CONTROLE"));
    return false;
  }
  g.GSTR_ALUNOS_ATIVOS = settings->alunosAtivos;
  g.GBOL_TEM_AUSENTES = false;
  if (!users.isOpen() && !users.open(db)) {
    appendToLog(QStringLiteral("Acesso: Usuarios não pôde ser aberto"));
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("USUARIOS"));
    return false;
  }
  return true;
}

AccessStep loginCode(Session& session, UsersTable& users, const QString& code,
                     AccessAttempts& attempts, bool changingUser) {
  if (attempts.code < kLimit) {
    if (users.locate(code)) {
      session.setUser(code);
      return AccessStep::Accepted;
    }
    if (!changingUser) ++attempts.code;
    MENSAGEM(kInfo, Msg::CodigoNaoCadastrado);
  }
  if (attempts.code >= kLimit) {
    MENSAGEM(kInfo, Msg::UsuarioSemAcesso);
    return AccessStep::Exhausted;
  }
  return AccessStep::Refused;
}

AccessStep loginPassword(const UsersTable& users, const QString& typed, AccessAttempts& attempts,
                         bool changingUser) {
  if (attempts.password < kLimit) {
    if (passwordOfCurrentUser(users, typed)) {
      attempts.accepted = true;
      return AccessStep::Accepted;
    }
    MENSAGEM(kInfo, Msg::SenhaNaoConfere);
    if (!changingUser) ++attempts.password;
  }
  if (attempts.password >= kLimit) {
    MENSAGEM(kInfo, Msg::UsuarioSemAcesso);
    return AccessStep::Exhausted;
  }
  return AccessStep::Refused;
}

AccessStep reauthCode(UsersTable& users, const QString& code, AccessAttempts& attempts) {
  if (attempts.code < kLimit) {
    users.first();
    if (users.locate(code)) {
      Globals& g = G();
      g.GSTR_USUARIO_ANTERIOR = g.GSTR_USUARIO.str();
      g.GSTR_USUARIO = code;
      return AccessStep::Accepted;
    }
    ++attempts.code;
    MENSAGEM(kInfo, Msg::CodigoNaoCadastrado);
  }
  if (attempts.code >= kLimit) {
    users.close();
    return AccessStep::Exhausted;
  }
  return AccessStep::Refused;
}

AccessStep reauthPassword(UsersTable& users, const QString& typed, AccessAttempts& attempts) {
  if (attempts.password < kLimit) {
    if (passwordOfCurrentUser(users, typed)) {
      attempts.accepted = true;
      return AccessStep::Accepted;
    }
    ++attempts.password;
    MENSAGEM(kInfo, Msg::SenhaNaoConfere);
  }
  if (attempts.password >= kLimit) {
    users.close();
    return AccessStep::Exhausted;
  }
  return AccessStep::Refused;
}
