#include "scheduling/agenda_sources.h"

#include "base/messages.h"
#include "data/sql.h"
#include "forms/session.h"

namespace {

// A table the window cannot read, named as the window's messages name it.
std::optional<Failure> unreadable(const QSqlDatabase& db, const QString& table,
                                  const QString& detail) {
  if (sqlRuns(db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE 1 = 0").arg(table)))
    return std::nullopt;
  return Failure{Msg::AberturaDeTabela, detail,
                 QStringLiteral("Agenda: a tabela %1 não pôde ser lida").arg(table)};
}

}  // namespace

Result<AgendaSources> openAgendaSources(Session& session, InstructorsWanted instructors) {
  AgendaSources sources;
  const QSqlDatabase workout = session.workoutDatabase();
  for (const char* table : {"Agenda", "Agendado"})
    if (auto failure = unreadable(workout, QString::fromLatin1(table), QString::fromLatin1(table)))
      return *failure;
  const std::optional<Settings> settings = session.rereadSettings();
  if (!settings) return Failure{Msg::AberturaDeTabela, QStringLiteral("Controle"), {}};
  sources.settings = *settings;
  sources.people = peopleTables(sources.settings);
  const bool alone = sources.people.source == DataSource::Vantrel;
  const QString staffDetail = alone ? QStringLiteral("Funcionario") : QStringLiteral(" Funcionario");
  Result<std::unique_ptr<Connection>> connection =
      openPeopleConnection(sources.people, instructors ? staffDetail : QStringLiteral("ALUNOS"));
  if (!connection) return connection.failure();
  sources.peopleConnection = std::move(*connection);
  if (instructors) {
    Result<QList<Instructor>> staff =
        agendaInstructors(sources.peopleDatabase(), sources.people.staff, *instructors);
    if (!staff)
      return peopleTableUnavailable(sources.people, staffDetail, staff.failure().log);
    sources.instructors = *staff;
  }
  if (auto failure =
          unreadable(sources.peopleDatabase(), sources.people.members, QStringLiteral("ALUNOS")))
    return *failure;
  return sources;
}
