// A workout database holding only the catalogue tables (exercises, muscle groups), on each
// provider, with small helpers to fill it.
#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <memory>

#include "base/globals.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/test_db.h"
#include "support/test_env.h"

class CatalogueTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name : {"Exercicios", "GrupamentoMuscular"})
      tables << *findTable(Database::Workout, QString::fromLatin1(name));
    const SchemaReport report = createMissingTables(db_, connection_->dialect(), tables);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }
  void TearDown() override { testPrompter().clear(); }

  void addGroup(const QString& code, const QString& description) {
    runSql(db_, QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
           {code, description});
  }

  void addExercise(const QString& code, const QString& description, const QString& tipo = "N",
                   const QString& group = QString()) {
    runSql(db_,
           QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, CODIGO_G) "
                          "VALUES (?, ?, ?, ?)"),
           {code, description, tipo,
            group.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(group)});
  }

  QVariant value(const QString& sql, const QVariantList& values = {}) {
    return scalarSql(db_, sql, values);
  }

  int count(const QString& table) {
    return value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};
