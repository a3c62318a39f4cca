#include "portal/bulk_run.h"

#include <QSqlQuery>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/sql.h"
#include "portal/assessment_values.h"
#include "portal/portal_publish.h"
#include "registry/people_source.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kProblemaBancoInternet =
    QStringLiteral("Problema no Banco de Dados ou Problema na Internet!");

}  // namespace

std::optional<BulkInput> prepareBulkInput(const Settings& settings, const QDate& from,
                                          const QDate& to) {
  BulkInput input;
  input.from = from;
  input.to = to;
  input.customer = portalCustomer(settings.cliente);
  input.academia = settings.academia;

  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("publica")));
  if (!workout.open()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Treino"));
    return std::nullopt;
  }
  QStringList matriculas;
  try {
    matriculas = membersWithSeriesIn(workout.database(), from, to);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alunos"));
    return std::nullopt;
  }
  workout.release();

  const PeopleTables tables = peopleTables(settings);
  const std::unique_ptr<Connection> people = openPeopleConnection(tables, QStringLiteral("Alunos"));
  if (!people) return std::nullopt;
  try {
    input.members = memberDetails(people->database(), tables.members, matriculas);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alunos"));
    return std::nullopt;
  }
  try {
    QSqlQuery staff = runSql(people->database(),
                             QStringLiteral("SELECT MATRICULA, NOME FROM %1").arg(tables.staff));
    while (staff.next()) input.staffNames.insert(staff.value(0).toString(), staff.value(1).toString());
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Funcinarios"));
    return std::nullopt;
  }

  if (settings.assessmentIntegration()) {
    Connection assessment(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("publica-av")));
    const bool reachable = assessment.open();
    assessment.release();
    if (!reachable) {
      MENSAGEM(kInfo, Msg::TamselInativo);
      return std::nullopt;
    }
    input.assessments = [settings] { return allMemberAssessments(settings); };
  }
  return input;
}

std::optional<BulkSummary> runBulkPublishing(const BulkInput& input,
                                             const std::function<void(int, int)>& progress) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("publica")));
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("publica-portal")));
  std::optional<BulkSummary> summary;
  if (workout.open() && portal.open()) {
    try {
      Transaction transaction(portal.database());
      summary = publishPeriod(workout.database(), portal.database(), input, progress);
      transaction.commit();
    } catch (const std::exception& e) {
      appendToLog(QStringLiteral("Publicação no portal: %1").arg(QString::fromUtf8(e.what())));
      summary.reset();
    }
  }
  portal.release();
  workout.release();
  return summary;
}

void tellBulkFailure() {
  MENSAGEM(kInfo, Msg::EntreEmContato, kProblemaBancoInternet);
}
