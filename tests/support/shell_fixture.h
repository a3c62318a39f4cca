// A fresh embedded installation with the standing connections open and the master user
// logged in: the state the windows of the program work in.
#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QStringList>

#include "forms/session.h"
#include "support/test_db.h"

class ShellFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QSqlDatabase workout() const;
  // Adds a user whose flags are "Sim" except those listed in `denied` ("Não").
  void addUser(const QString& code, const QString& name, const QString& password,
               const QStringList& denied = {});
  void setFlag(const QString& code, const QString& column, const QVariant& value);
  void setSetting(const QString& column, const QVariant& value);

  TestInstallation home_;
  Session session_;  // connected, the master user logged in
};
