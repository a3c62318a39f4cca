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

const QString kProblemaBancoInternet =
    QStringLiteral("Problema no Banco de Dados ou Problema na Internet!");

Failure unreadable(const QString& table, const QString& cause) {
  return {Msg::AberturaDeTabela, table,
          QStringLiteral("Publicação no portal, %1: %2").arg(table, cause)};
}

}  // namespace

Result<BulkInput> prepareBulkInput(const Settings& settings, const QDate& from, const QDate& to) {
  BulkInput input;
  input.from = from;
  input.to = to;
  input.customer = portalCustomer(settings.cliente);
  input.academia = settings.academia;

  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("publica")));
  if (!workout.open()) return unreadable(QStringLiteral("Treino"), workout.lastError());
  QStringList matriculas;
  try {
    matriculas = membersWithSeriesIn(workout.database(), from, to);
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Alunos"), e.text());
  }
  workout.release();

  const PeopleTables tables = peopleTables(settings);
  const Result<std::unique_ptr<Connection>> opened =
      openPeopleConnection(tables, QStringLiteral("Alunos"));
  if (!opened) return opened.failure();
  const QSqlDatabase people = (*opened)->database();
  try {
    input.members = memberDetails(people, tables.members, matriculas);
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Alunos"), e.text());
  }
  try {
    QSqlQuery staff =
        runSql(people, QStringLiteral("SELECT MATRICULA, NOME FROM %1").arg(tables.staff));
    while (staff.next())
      input.staffNames.insert(staff.value(0).toString(), staff.value(1).toString());
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Funcinarios"), e.text());
  }

  if (settings.assessmentIntegration()) {
    Connection assessment(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("publica-av")));
    const bool reachable = assessment.open();
    const QString cause = assessment.lastError();
    assessment.release();
    if (!reachable)
      return Failure{Msg::TamselInativo, {}, QStringLiteral("Publicação no portal: %1").arg(cause)};
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

Failure bulkFailure() {
  return {Msg::EntreEmContato, kProblemaBancoInternet, {}};
}
