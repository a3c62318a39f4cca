// Two workstations on one database, writing at the same moment: nothing stored twice,
// nothing typed lost. Each worker has a connection of its own on a thread of its own.
#include <gtest/gtest.h>

#include <QSet>
#include <latch>
#include <mutex>
#include <thread>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/schema.h"
#include "data/sql.h"
#include "registry/member_store.h"
#include "registry/person_store.h"
#include "registry/user_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

// The boxes of both workers, counted under a lock.
class CountingPrompter : public Prompter {
 public:
  void beep() override {}
  void noteMessage(PromptKind, const QString& text, const QString&) override {
    const std::lock_guard lock(mutex_);
    texts_ << text;
  }
  int ask(PromptKind, const QString&, const QString&) override { return kAnswerOk; }
  QStringList texts() {
    const std::lock_guard lock(mutex_);
    return texts_;
  }

 private:
  std::mutex mutex_;
  QStringList texts_;
};

class ConcurrentWrites : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    std::unique_ptr<Connection> setup = database_.connect();
    QList<TableDef> tables;
    for (const char* name : {"Usuarios", "Alunos", "FotosAlunos"})
      tables << *findTable(Database::Workout, QString::fromLatin1(name));
    ASSERT_TRUE(createMissingTables(setup->database(), setup->dialect(), tables).ok());
    installPrompter(&prompter_);
  }
  void TearDown() override { installPrompter(&testPrompter()); }

  // Runs `work` on two workers at once.
  void race(const std::function<void(const QSqlDatabase&, int worker)>& work) {
    std::latch start(2);
    auto worker = [&](int number) {
      std::unique_ptr<Connection> own = database_.connect(QStringLiteral("estacao%1").arg(number));
      start.arrive_and_wait();
      work(own->database(), number);
    };
    std::thread first(worker, 1);
    std::thread second(worker, 2);
    first.join();
    second.join();
  }

  int scalar(const QString& sql) {
    std::unique_ptr<Connection> check = database_.connect();
    return scalarSql(check->database(), sql).toInt();
  }

  TestInstallation home_;
  TestDatabase database_{GetParam()};
  CountingPrompter prompter_;
};

TEST_P(ConcurrentWrites, TheSameUserCodeIsNeverStoredTwice) {
  std::atomic<int> written{0};
  race([&](const QSqlDatabase& db, int worker) {
    for (int code = 10; code < 50; ++code) {
      const NewUser user{QString::number(code), QStringLiteral("ESTACAO %1").arg(worker),
                         QStringLiteral("ABC123"), QString(), true};
      if (told(insertUser(db, user)) == ConfirmResult::Written) ++written;
    }
  });
  EXPECT_EQ(written, 40);
  EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT CODIGO) FROM Usuarios")), 40);
  EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Usuarios")), 40);
  const QStringList texts = prompter_.texts();
  EXPECT_EQ(texts.size(), 40);
  EXPECT_EQ(texts.count(Msg::CodigoJaCadastrado), texts.size());
}

// Both workstations pressed "Incluir" on the same proposed number: every form is stored,
// each under a number of its own.
TEST_P(ConcurrentWrites, NoTypedFormIsLostToANumberTakenMeanwhile) {
  std::atomic<int> saved{0};
  race([&](const QSqlDatabase& db, int worker) {
    for (int i = 0; i < 15; ++i) {
      PersonForm form{{"MATRICULA", "0000000001"},
                      {"NOME", QStringLiteral("ALUNO %1-%2").arg(worker).arg(i)},
                      {"DATA_NASCIMENTO", "01/02/1990"}};
      const PersonSave result =
          savePerson(db, memberTable(), form, QVariant(), true, TakenNumber::TakeNext);
      if (result.outcome == PersonSave::Saved) ++saved;
    }
  });
  EXPECT_EQ(saved, 30);
  EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT NOME) FROM Alunos")), 30);
  EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT MATRICULA) FROM Alunos")), 30);
  EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM FotosAlunos")), 30);
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Providers, ConcurrentWrites, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
