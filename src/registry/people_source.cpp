#include "registry/people_source.h"

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "data/standing_connections.h"

PeopleTables peopleTables(const QString& pathExercicio, const QString& alunosAtivos) {
  const DataSource source = memberDataSource(pathExercicio);
  if (source == DataSource::Vantrel)
    return {source, QStringLiteral("Alunos"), QStringLiteral("FotosAlunos"),
            QStringLiteral("Funcionarios")};
  return {source,
          alunosAtivos == QStringLiteral("Sim") ? QStringLiteral("ALUNOSATIVOS")
                                                : QStringLiteral("ALUNOS"),
          QStringLiteral("FotosAlunos"), QStringLiteral("FUNCIONARIOS")};
}

PeopleTables currentPeopleTables() {
  const std::optional<QVariantMap> settings = readSettings(ADOConnectionVantrel().database());
  const QString path =
      settings ? settings->value(QStringLiteral("PATH_EXERCICIO")).toString()
               : (G().GBOL_SISTEMA_LOCAL ? QStringLiteral("Sim") : QStringLiteral("Não"));
  return peopleTables(path, G().GSTR_ALUNOS_ATIVOS);
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
