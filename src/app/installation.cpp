#include "app/installation.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "assessment/demo_assessments.h"
#include "base/password.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/demo_gym.h"

namespace {

struct EmbeddedLink {
  DataSource source;
  const char* file;  // relative to the link file's own folder
};

const EmbeddedLink kEmbeddedLinks[] = {
    {DataSource::Vantrel, "vantrel.db"},       {DataSource::Brisca, "brisca.db"},
    {DataSource::Tamsel, "tamsel.db"},         {DataSource::Ondrel, "ondrel.db"},
    {DataSource::RestoreBackup, "vantrel.db"}, {DataSource::SaBrisca, "../brisca.db"},
    {DataSource::SaOndrel, "../ondrel.db"},
};

struct DatabaseStep {
  DataSource source;
  Database database;
};

const DatabaseStep kDatabases[] = {
    {DataSource::Vantrel, Database::Workout},
    {DataSource::Brisca, Database::GymManagement},
    {DataSource::Tamsel, Database::Assessment},
    {DataSource::Ondrel, Database::Portal},
};

bool anyLinkFileExists() {
  for (const EmbeddedLink& link : kEmbeddedLinks)
    if (QFileInfo::exists(linkFilePath(link.source))) return true;
  return false;
}

bool writeEmbeddedLinks(InitReport& report) {
  for (const EmbeddedLink& link : kEmbeddedLinks) {
    LinkSpec linkSpec;
    linkSpec.provider = Provider::SQLite;
    linkSpec.dataSource = QString::fromUtf8(link.file);
    if (!writeLinkFile(linkFilePath(link.source), linkSpec)) {
      report.error = QStringLiteral("Não foi possível gravar %1").arg(linkFilePath(link.source));
      return false;
    }
  }
  report.lines << QStringLiteral("Arquivos de conexão criados para bancos SQLite em %1")
                      .arg(installationFolder());
  report.changed = true;
  return true;
}

// The permission flags of the users table: every column after the name and password.
QStringList permissionColumns() {
  QStringList columns;
  const TableDef* users = findTable(Database::Workout, QStringLiteral("Usuarios"));
  for (const ColumnDef& c : users->columns) {
    const QString name = c.name.toUpper();
    if (name == QLatin1String("ID") || name == QLatin1String("CODIGO") ||
        name == QLatin1String("NOME") || name == QLatin1String("SENHA") ||
        name == QLatin1String("MATRICULA"))
      continue;
    columns << c.name;
  }
  return columns;
}

void addMasterUser(const QSqlDatabase& db, InitReport& report) {
  if (scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Usuarios WHERE CODIGO = ?"),
                {kMasterUserCode})
          .toInt() > 0)
    return;
  QStringList columns{QStringLiteral("CODIGO"), QStringLiteral("NOME"), QStringLiteral("SENHA")};
  QVariantList values{kMasterUserCode, QStringLiteral("MESTRE"),
                      hashPassword(kMasterFirstPassword)};
  for (const QString& flag : permissionColumns()) {
    columns << flag;
    values << QStringLiteral("Sim");
  }
  QStringList marks;
  for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
  runSql(db,
         QStringLiteral("INSERT INTO Usuarios (%1) VALUES (%2)")
             .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
         values);
  report.lines << QStringLiteral("Usuário mestre criado: código %1, senha %2")
                      .arg(kMasterUserCode, kMasterFirstPassword);
  report.changed = true;
}

// Adds the demonstration's rows to a new database in one transaction, and says so; false, with
// the reason in the report, when they could not be written.
bool addDemoRows(const QSqlDatabase& db, const DatabaseStep& step, const QString& what,
                 const std::function<void()>& add, InitReport& report) {
  try {
    Transaction transaction(db);
    add();
    transaction.commit();
  } catch (const SqlError& e) {
    report.error = QStringLiteral("Banco %1: %2").arg(dataSourceName(step.source), e.text());
    return false;
  }
  report.lines << QStringLiteral("Banco %1: %2").arg(dataSourceName(step.source), what);
  report.changed = true;
  return true;
}

bool prepareDatabase(const DatabaseStep& step, bool demo, InitReport& report) {
  Connection connection(step.source, Connection::uniqueName(QStringLiteral("init")));
  if (!connection.open(Connection::Create::IfMissing)) {
    report.error = QStringLiteral("Banco %1 não pôde ser aberto: %2")
                       .arg(dataSourceName(step.source), connection.lastError());
    return false;
  }
  const QSqlDatabase db = connection.database();
  bool fresh = false;
  try {
    fresh = existingTables(db, connection.dialect()).isEmpty();
  } catch (const SqlError& e) {
    report.error = e.text();
    return false;
  }
  const SchemaReport schema = createMissingTables(db, connection.dialect(), step.database);
  if (!schema.ok()) {
    report.error = QStringLiteral("Banco %1: %2").arg(dataSourceName(step.source), schema.error);
    return false;
  }
  if (!schema.created.isEmpty()) {
    report.lines << QStringLiteral("Banco %1: %2 tabela(s) criada(s)")
                        .arg(dataSourceName(step.source))
                        .arg(schema.created.size());
    report.changed = true;
  }
  if (demo && fresh) {
    if (step.database == Database::GymManagement &&
        !addDemoRows(
            db, step, QStringLiteral("alunos, funcionários e entradas da demonstração"),
            [&db] {
              addDemoGymManagement(db);
              addDemoActivities(db);
            },
            report))
      return false;
    if (step.database == Database::Assessment &&
        !addDemoRows(
            db, step, QStringLiteral("avaliações físicas de dois alunos da demonstração"),
            [&db] { addDemoAssessments(db); }, report))
      return false;
  }
  if (step.database != Database::Workout) return true;

  const bool withDemo = demo && fresh;
  try {
    const bool hadSettings =
        scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Secvar")).toInt() > 0;
    QString why;
    if (!ensureSettingsRow(db, withDemo ? demoGymSettings() : QVariantMap(), &why))
      throw SqlError(why);
    if (!hadSettings) {
      report.lines << QStringLiteral("Configuração do sistema criada");
      report.changed = true;
    }
    Transaction transaction(db);
    addMasterUser(db, report);
    if (withDemo) {
      addDemoGym(db);
      report.lines << QStringLiteral("Academia de demonstração incluída");
      report.changed = true;
    } else if (demo) {
      report.lines << QStringLiteral(
          "Banco Vantrel já tinha tabelas: a academia de demonstração não foi incluída");
    }
    transaction.commit();
  } catch (const SqlError& e) {
    report.error = QStringLiteral("Banco Vantrel: %1").arg(e.text());
    return false;
  }
  return true;
}

}  // namespace

bool installationExists() {
  return QFileInfo::exists(linkFilePath(DataSource::Vantrel));
}

InitReport runInit(bool demo) {
  InitReport report;
  if (!makeInstallationFolder()) {
    report.ok = false;
    report.error = QStringLiteral("Pasta %1 não pôde ser criada").arg(installationFolder());
    return report;
  }
  if (!anyLinkFileExists() && !writeEmbeddedLinks(report)) {
    report.ok = false;
    return report;
  }
  for (const DatabaseStep& step : kDatabases) {
    if (!prepareDatabase(step, demo, report)) {
      report.ok = false;
      return report;
    }
  }
  if (!report.changed)
    report.lines << QStringLiteral("Instalação em %1 já existe: nada foi alterado")
                        .arg(installationFolder());
  return report;
}
