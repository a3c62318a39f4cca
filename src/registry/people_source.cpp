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

void reportUnavailable(DataSource source, const QString& detail) {
  switch (source) {
    case DataSource::Brisca:
    case DataSource::SaBrisca:
      MENSAGEM(QStringLiteral("!"), Msg::BriscaInativo, detail);
      break;
    case DataSource::Tamsel:
      MENSAGEM(QStringLiteral("!"), Msg::TamselInativo, detail);
      break;
    default:
      MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, detail);
      break;
  }
}

std::unique_ptr<Connection> openPeopleConnection(const PeopleTables& tables,
                                                 const QString& detail) {
  auto connection = std::make_unique<Connection>(tables.source,
                                                 Connection::uniqueName(QStringLiteral("pessoas")));
  if (connection->open()) return connection;
  reportUnavailable(tables.source, detail);
  return nullptr;
}
