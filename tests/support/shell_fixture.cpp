#include "support/shell_fixture.h"

#include "app/installation.h"
#include "app/shell_logic.h"
#include "base/globals.h"
#include "base/password.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/standing_connections.h"
#include "data/users_table.h"
#include "forms/session.h"
#include "support/test_env.h"

void ShellFixture::SetUp() {
  resetGlobals();
  testPrompter().clear();
  testPrompter().onAsk = nullptr;
  const InitReport report = runInit(false);
  ASSERT_TRUE(report.ok) << report.error.toStdString();
  ASSERT_TRUE(connectStandingConnections());
  G().GSTR_USUARIO = QStringLiteral("01");
}

void ShellFixture::TearDown() {
  TBLUSUARIOS().close();
  installReauthenticator(nullptr);
  installStatusWriter(nullptr);
  disconnectStandingConnections();
  testPrompter().onAsk = nullptr;
  testPrompter().clear();
}

QSqlDatabase ShellFixture::workout() const {
  return ADOConnectionVantrel().database();
}

void ShellFixture::addUser(const QString& code, const QString& name, const QString& password,
                           const QStringList& denied) {
  QStringList columns{QStringLiteral("CODIGO"), QStringLiteral("NOME"), QStringLiteral("SENHA")};
  QVariantList values{code, name, hashPassword(password)};
  for (const ColumnDef& c : findTable(Database::Workout, QStringLiteral("Usuarios"))->columns) {
    if (c.type != ColumnType::Text || c.size != 3) continue;
    columns << c.name;
    values << (denied.contains(c.name) ? QStringLiteral("Não") : QStringLiteral("Sim"));
  }
  runSql(workout(),
         QStringLiteral("INSERT INTO Usuarios (%1) VALUES (?%2)")
             .arg(columns.join(QStringLiteral(", ")),
                  QStringLiteral(", ?").repeated(columns.size() - 1)),
         values);
}

void ShellFixture::setFlag(const QString& code, const QString& column, const QVariant& value) {
  runSql(workout(), QStringLiteral("UPDATE Usuarios SET %1 = ? WHERE CODIGO = ?").arg(column),
         {value, code});
}

void ShellFixture::setSetting(const QString& column, const QVariant& value) {
  runSql(workout(), QStringLiteral("UPDATE Secvar SET %1 = ?").arg(column), {value});
}
