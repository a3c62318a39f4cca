#include "support/shell_fixture.h"

#include "app/installation.h"
#include "app/shell_logic.h"
#include "base/globals.h"
#include "base/password.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/users_table.h"
#include "support/test_env.h"

void ShellFixture::SetUp() {
  resetGlobals();
  testPrompter().clear();
  testPrompter().onAsk = nullptr;
  const InitReport report = runInit(false);
  ASSERT_TRUE(report.ok) << report.error.toStdString();
  ASSERT_TRUE(session_.connect());
  session_.setUser(QStringLiteral("01"));
  ASSERT_TRUE(session_.rereadSettings());
}

void ShellFixture::TearDown() {
  session_.TBLUSUARIOS().close();
  session_.shell() = {};
  session_.disconnect();
  testPrompter().onAsk = nullptr;
  testPrompter().clear();
}

QSqlDatabase ShellFixture::workout() const {
  return session_.workoutDatabase();
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
