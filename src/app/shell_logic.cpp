#include "app/shell_logic.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "forms/session.h"

bool ABRE_CONTROLE(Session& session) {
  Globals& g = G();
  g.GSTR_ACADEMIA = QStringLiteral(" ");
  const std::optional<Settings> settings = session.rereadSettings();
  if (!settings) {
    g.GBOL_CONTROLE_OK = false;
    appendToLog(QStringLiteral("Secvar não pôde ser lido"));
    return false;
  }
  const Settings& s = *settings;
  g.GFLT_CLIENTE = s.cliente.value_or(0);
  copySettingsToProcessValues(s);
  g.GSTR_ACADEMIA = s.academia;
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

std::optional<QString> workoutProbeFailure(Session& session) {
  Connection& workout = session.workout();
  if (!workout.isOpen()) return QStringLiteral("conexão fechada");
  QSqlDatabase db = workout.database();
  if (std::optional<QString> gone = workout.dialect().databaseGone(db)) return gone;
  QSqlQuery probe(db);
  if (probe.exec(QStringLiteral("SELECT * FROM Agenda WHERE 1 = 0"))) return std::nullopt;
  return probe.lastError().text();
}

bool probeWorkoutDatabase(Session& session) {
  return !workoutProbeFailure(session);
}

Reconnection reconnectWorkoutDatabase(Session& session) {
  session.workout().close();
  if (!session.workout().open()) return Reconnection::Unreachable;
  // Opening is not enough: a damaged file or a database without its tables opens as well.
  if (const std::optional<QString> failure = workoutProbeFailure(session)) {
    appendToLog(QStringLiteral("Banco de treinos aberto mas sem resposta: %1").arg(*failure));
    return Reconnection::Damaged;
  }
  return Reconnection::Done;
}

bool ReSetBanco(Session& session) {
  for (;;) {
    switch (reconnectWorkoutDatabase(session)) {
      case Reconnection::Done:
        return true;
      case Reconnection::Damaged:
        return false;
      case Reconnection::Unreachable:
        MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, Msg::DetalheBancoRede);
        break;
    }
  }
}
