// A gym-management database and a workout database on one provider, with the tables the
// member follow-up reads, and helpers to add members, entrances, staff and series rows.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSqlDatabase>
#include <memory>

#include "base/globals.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/test_db.h"
#include "support/test_env.h"

class FollowUpTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    gymConnection_ = gymDatabase_.connect();
    workoutConnection_ = workoutDatabase_.connect();
    gym_ = gymConnection_->database();
    workout_ = workoutConnection_->database();
    for (auto [connection, database] : {std::pair{gymConnection_.get(), Database::GymManagement},
                                        std::pair{workoutConnection_.get(), Database::Workout}}) {
      const SchemaReport report =
          createMissingTables(connection->database(), connection->dialect(), database);
      ASSERT_TRUE(report.ok()) << report.error.toStdString();
    }
  }
  void TearDown() override { testPrompter().clear(); }

  static QString number(int n) { return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0')); }

  // A member of the gym-management ALUNOS table (an empty e-mail is stored as NULL).
  void addMember(int n, const QString& name, const QString& email, bool scholarship = false) {
    runSql(gym_,
           QStringLiteral("INSERT INTO ALUNOS (MATRICULA, NOME, EMAIL, TELEFONE, BOLSISTA) VALUES "
                          "(?, ?, ?, ?, ?)"),
           {number(n), name,
            email.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(email),
            QStringLiteral("(21) 2222-%1").arg(1000 + n), scholarship});
  }
  void addEntrance(int n, const QDateTime& at) {
    runSql(gym_, QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) VALUES (?, ?)"),
           {number(n), at});
  }
  void addStaff(int n, const QString& name, const QString& job = QStringLiteral("PROF MUSC")) {
    runSql(gym_,
           QStringLiteral("INSERT INTO FUNCIONARIOS (MATRICULA, NOME, CARGO) VALUES (?, ?, ?)"),
           {number(n), name, job});
  }
  void addSeriesRow(int member, const QDate& day, const QString& letter, int instructor,
                    const QDate& reassessment = QDate()) {
    runSql(workout_,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Professor, Ordem) VALUES (?, ?, '001', ?, ?, ?, 1)"),
           {number(member), letter, day, reassessment.isValid() ? reassessment : day.addMonths(3),
            number(instructor)});
  }

  TestDatabase gymDatabase_{GetParam()};
  TestDatabase workoutDatabase_{GetParam()};
  std::unique_ptr<Connection> gymConnection_;
  std::unique_ptr<Connection> workoutConnection_;
  QSqlDatabase gym_;
  QSqlDatabase workout_;
};
