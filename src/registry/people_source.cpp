#include "registry/people_source.h"

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"

PeopleTables peopleTables(bool membersKeptHere, bool activeMembersOnly) {
  if (membersKeptHere)
    return {DataSource::Vantrel, QStringLiteral("Alunos"), QStringLiteral("FotosAlunos"),
            QStringLiteral("Funcionarios")};
  return {DataSource::Brisca,
          activeMembersOnly ? QStringLiteral("ALUNOSATIVOS") : QStringLiteral("ALUNOS"),
          QStringLiteral("FotosAlunos"), QStringLiteral("FUNCIONARIOS")};
}

PeopleTables peopleTables(const QString& pathExercicio, const QString& alunosAtivos) {
  return peopleTables(memberDataSource(pathExercicio) == DataSource::Vantrel,
                      alunosAtivos == QStringLiteral("Sim"));
}

PeopleTables peopleTables(const Settings& settings) {
  return peopleTables(settings.membersKeptHere(), settings.activeMembersOnly());
}

Failure peopleUnavailable(DataSource source, const QString& detail, const QString& cause) {
  const QString log =
      cause.isEmpty() ? QString()
                      : QStringLiteral("%1 (%2): %3").arg(dataSourceName(source), detail, cause);
  switch (source) {
    case DataSource::Brisca:
    case DataSource::SaBrisca:
      return {Msg::BriscaInativo, detail, log};
    case DataSource::Tamsel:
      return {Msg::TamselInativo, detail, log};
    default:
      return {Msg::AberturaDeTabela, detail, log};
  }
}

Failure peopleTableUnavailable(const PeopleTables& tables, const QString& detail,
                               const QString& cause) {
  Failure failure = peopleUnavailable(tables.source, detail, cause);
  if (tables.source != DataSource::Vantrel) failure.text += Msg::AberturaDeTabela;
  return failure;
}

void reportUnavailable(DataSource source, const QString& detail) {
  tell(peopleUnavailable(source, detail));
}

Result<std::unique_ptr<Connection>> openPeopleConnection(const PeopleTables& tables,
                                                         const QString& detail) {
  auto connection = std::make_unique<Connection>(tables.source,
                                                 Connection::uniqueName(QStringLiteral("pessoas")));
  if (connection->open()) return connection;
  return peopleUnavailable(tables.source, detail, connection->lastError());
}
