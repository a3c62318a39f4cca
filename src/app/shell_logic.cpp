#include "app/shell_logic.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "data/standing_connections.h"

namespace {
const QString kNao = QStringLiteral("Não");
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

std::optional<QString> workoutProbeFailure() {
  Connection& workout = ADOConnectionVantrel();
  if (!workout.isOpen()) return QStringLiteral("conexão fechada");
  QSqlDatabase db = workout.database();
  // An embedded database "goes away" when its file does: the open handle would still answer.
  if (workout.provider() == Provider::SQLite && !QFileInfo::exists(db.databaseName()))
    return QStringLiteral("arquivo %1 não existe").arg(db.databaseName());
  QSqlQuery probe(db);
  if (probe.exec(QStringLiteral("SELECT * FROM Agenda WHERE 1 = 0"))) return std::nullopt;
  return probe.lastError().text();
}

bool probeWorkoutDatabase() {
  return !workoutProbeFailure();
}

Reconnection reconnectWorkoutDatabase() {
  ADOConnectionVantrel().close();
  if (!ADOConnectionVantrel().open()) return Reconnection::Unreachable;
  // Opening is not enough: a damaged file or a database without its tables opens as well.
  if (const std::optional<QString> failure = workoutProbeFailure()) {
    appendToLog(QStringLiteral("Banco de treinos aberto mas sem resposta: %1").arg(*failure));
    return Reconnection::Damaged;
  }
  return Reconnection::Done;
}

bool ReSetBanco() {
  for (;;) {
    switch (reconnectWorkoutDatabase()) {
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
