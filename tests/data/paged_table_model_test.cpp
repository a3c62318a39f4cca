#include "data/paged_table_model.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPersistentModelIndex>

#include "data/sql.h"
#include "support/test_db.h"

namespace {

constexpr int kRows = 10000;

// 10,000 members whose names repeat (ten of each) and a few without a name, over the indexes
// the member grid reads by.
class PagedTableModelTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect();
    db_ = connection_->database();
    runSql(db_, QStringLiteral("CREATE TABLE Alunos (MATRICULA VARCHAR(10), NOME VARCHAR(35))"));
    runSql(db_, QStringLiteral("CREATE UNIQUE INDEX IX_Alunos_MATRICULA ON Alunos (MATRICULA)"));
    runSql(db_,
           QStringLiteral("CREATE INDEX IX_Alunos_NOME_MATRICULA ON Alunos (NOME, MATRICULA)"));
    Transaction transaction(db_);
    QSqlQuery insert(db_);
    insert.prepare(QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"));
    for (int i = 1; i <= kRows; ++i) {
      insert.addBindValue(number(i));
      // Numbered against the registration order, so name order and key order differ.
      insert.addBindValue(i % 997 == 0 ? QVariant(QMetaType(QMetaType::QString))
                                       : QVariant(QStringLiteral("B%1").arg((i * 7919) % 1000, 4,
                                                                            10, QLatin1Char('0'))));
      ASSERT_TRUE(insert.exec());
    }
    transaction.commit();
  }

  static QString number(int i) { return QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')); }

  std::unique_ptr<PagedTableModel> model(const QString& order) {
    auto m = std::make_unique<PagedTableModel>(
        db_, connection_->dialect(), QStringLiteral("Alunos"),
        QList<PagedTableModel::Column>{{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
                                       {QStringLiteral("NOME"), QStringLiteral("Nome")}},
        QStringList{QStringLiteral("MATRICULA")});
    m->setOrder({order});
    EXPECT_TRUE(m->refresh());
    return m;
  }

  // The whole table in the grid's order, read in one go: the keys.
  QStringList wholeOrder(const QString& order) {
    const QString by = order == QLatin1String("NOME")
                           ? QStringLiteral(
                                 "CASE WHEN NOME IS NULL THEN 0 ELSE 1 END, NOME, "
                                 "MATRICULA")
                           : QStringLiteral("MATRICULA");
    QSqlQuery query = runSql(db_, QStringLiteral("SELECT MATRICULA FROM Alunos ORDER BY ") + by);
    QStringList keys;
    while (query.next()) keys << query.value(0).toString();
    return keys;
  }

  static QString keyAt(const PagedTableModel& m, int row) {
    return m.record(row).value(QStringLiteral("MATRICULA")).toString();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(PagedTableModelTest, ScrollingEitherWayReadsTheWholeOrder) {
  for (const QString& order : {QStringLiteral("MATRICULA"), QStringLiteral("NOME")}) {
    SCOPED_TRACE(order.toStdString());
    const QStringList expected = wholeOrder(order);
    ASSERT_EQ(expected.size(), kRows);
    auto down = model(order);
    ASSERT_EQ(down->rowCount(), kRows);
    QStringList seen;
    for (int row = 0; row < kRows; ++row) seen << keyAt(*down, row);
    EXPECT_EQ(seen, expected);
    // From the bottom up, as Ctrl+End and then the up arrow read it.
    auto up = model(order);
    for (int row = kRows - 1; row >= 0; --row) ASSERT_EQ(keyAt(*up, row), expected[row]) << row;
    EXPECT_TRUE(up->record(kRows).isEmpty());
  }
}

TEST_P(PagedTableModelTest, AJumpLandsOnTheRowWithItsExactNeighbours) {
  const QStringList expected = wholeOrder(QStringLiteral("NOME"));
  // With the default reach the middle of 10,000 rows is counted; with a small one it is
  // estimated, and only its neighbours are certain.
  for (const int reach : {5000, 100}) {
    SCOPED_TRACE(reach);
    for (const int target : {0, 1, kRows / 2, kRows - 2, kRows - 1}) {
      SCOPED_TRACE(target);
      auto m = model(QStringLiteral("NOME"));
      m->setExactReach(reach);
      const int row = m->rowOfKey(expected[target]);
      ASSERT_GE(row, 0);
      if (reach >= kRows / 2 || target < 2 || target > kRows - 3) {
        EXPECT_EQ(row, target);
      }
      for (int step = -300; step <= 300; ++step) {
        const int at = target + step;
        if (at < 0 || at >= kRows) continue;
        ASSERT_EQ(keyAt(*m, row + step), expected[at]) << step;
      }
    }
  }
}

TEST_P(PagedTableModelTest, SearchesLandOnTheFirstRowAtOrAfterTheName) {
  const QStringList expected = wholeOrder(QStringLiteral("NOME"));
  auto m = model(QStringLiteral("NOME"));
  const int unnamed = kRows / 997;  // they come first
  // Equal names keep their key order: the first row of a name is its lowest key.
  const int found = m->rowAtOrAfter(QStringLiteral("B0500"), true);
  ASSERT_GE(found, 0);
  EXPECT_EQ(m->record(found).value(QStringLiteral("NOME")).toString(), QStringLiteral("B0500"));
  const qsizetype at = expected.indexOf(keyAt(*m, found));  // in the middle: an estimate
  EXPECT_EQ(keyAt(*m, found + 1), expected[at + 1]);
  EXPECT_NE(m->record(found - 1).value(QStringLiteral("NOME")).toString(), QStringLiteral("B0500"));

  EXPECT_EQ(m->rowAtOrAfter(QStringLiteral("A"), false), unnamed);
  EXPECT_EQ(keyAt(*m, unnamed), expected[unnamed]);
  EXPECT_EQ(m->rowAtOrAfter(QStringLiteral("C"), false), kRows - 1);
  EXPECT_EQ(keyAt(*m, kRows - 1), expected.last());
  EXPECT_EQ(m->rowAtOrAfter(QStringLiteral("C"), true), -1);
  EXPECT_EQ(m->rowAtOrAfter(QStringLiteral("B05001"), true), -1);
}

TEST_P(PagedTableModelTest, RefreshShowsRowsOthersAddedOrDeletedAndKeepsTheCurrentRow) {
  const int unnamed = kRows / 997;
  // Counted positions move with the rows added before them; an estimate stays where it is.
  for (const auto& [reach, moved] : {std::pair{5000, 2}, std::pair{100, 0}}) {
    SCOPED_TRACE(reach);
    const QStringList before = wholeOrder(QStringLiteral("NOME"));
    auto m = model(QStringLiteral("NOME"));
    m->setExactReach(reach);
    const QString current = before[kRows / 2];
    const int row = m->rowOfKey(current);
    const QPersistentModelIndex inView(m->index(row, 0));
    const QString name = m->record(row).value(QStringLiteral("NOME")).toString();
    const QString gone = before[kRows / 2 + 1];
    const QString goneName = m->record(row + 1).value(QStringLiteral("NOME")).toString();
    // Shorter, so it sorts right before the current row among its namesakes.
    const QString added = current.left(9);

    auto other = database_.connect(QStringLiteral("other"));
    const QString insert = QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)");
    const QString remove = QStringLiteral("DELETE FROM Alunos WHERE MATRICULA = ?");
    runSql(other->database(), insert, {added, name});
    runSql(other->database(), insert, {number(kRows + 1), QStringLiteral("A")});
    runSql(other->database(), remove, {gone});

    ASSERT_TRUE(m->refresh());
    EXPECT_EQ(m->rowCount(), kRows + 1);
    const int now = m->rowOfKey(current);
    EXPECT_EQ(now, row + moved);
    EXPECT_EQ(keyAt(*m, now - 1), added);
    EXPECT_EQ(keyAt(*m, now + 1), before[kRows / 2 + 2]);
    EXPECT_EQ(m->rowOfKey(gone), -1);
    EXPECT_EQ(keyAt(*m, unnamed), number(kRows + 1));

    runSql(db_, remove, {added});
    runSql(db_, remove, {number(kRows + 1)});
    runSql(db_, insert, {gone, goneName});
  }
}

TEST_P(PagedTableModelTest, ReadingOnFromAnEstimateToTheEndRenumbersAndKeepsTheCurrentRecord) {
  auto m = model(QStringLiteral("MATRICULA"));
  m->setExactReach(100);
  // Another workstation deletes 3,400 rows after the grid counted and sampled the table.
  auto other = database_.connect(QStringLiteral("other"));
  runSql(other->database(),
         QStringLiteral("DELETE FROM Alunos WHERE MATRICULA > ? AND MATRICULA <= ?"),
         {number(6000), number(9400)});
  const int row = m->rowOfKey(number(5900));
  ASSERT_GE(row, 0);
  const QPersistentModelIndex current(m->index(row, 0));
  // Down to the end of what is left (101 rows to 6000, then 9401 to 10000) as the arrow key
  // goes: between keys the grid renumbers the rows, and the row under the cursor moves along.
  int below = 0;  // how far the cursor is below the current record
  for (int guard = 0; guard < 2 * kRows; ++guard) {
    if (!m->record(current.row() + below + 1).isEmpty()) {
      ++below;
      continue;
    }
    QCoreApplication::processEvents();
    if (m->record(current.row() + below + 1).isEmpty()) break;
  }
  EXPECT_EQ(below, 700);
  ASSERT_TRUE(current.isValid());
  EXPECT_EQ(keyAt(*m, current.row()), number(5900));
  EXPECT_NE(current.row(), row);  // the estimate was renumbered to meet the end
  EXPECT_EQ(current.row(), m->rowCount() - 701);
  EXPECT_EQ(keyAt(*m, m->rowCount() - 1), number(kRows));
  for (int step = 0; step <= 100; ++step)
    ASSERT_EQ(keyAt(*m, current.row() + step), number(5900 + step)) << step;
  EXPECT_EQ(keyAt(*m, current.row() + 101), number(9401));
}

TEST_P(PagedTableModelTest, OpeningTakesTheEnginesEstimateAndOnlyTheEndOfTheTableIsCounted) {
  runSql(db_, QStringLiteral("ANALYZE"));
  // Another workstation deletes 3,400 rows after the engine took the measure of the table.
  auto other = database_.connect(QStringLiteral("other"));
  runSql(other->database(),
         QStringLiteral("DELETE FROM Alunos WHERE MATRICULA > ? AND MATRICULA <= ?"),
         {number(6000), number(9400)});
  PagedTableModel m(db_, connection_->dialect(), QStringLiteral("Alunos"),
                    {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")}},
                    {QStringLiteral("MATRICULA")});
  m.setCountedUpTo(1000);
  m.setOrder({QStringLiteral("MATRICULA")});
  ASSERT_TRUE(m.refresh());
  EXPECT_EQ(m.rowCount(), kRows);  // the estimate: nothing was counted

  // A search that lands in the middle is one statement, the rows around it included.
  const int before = m.statementsRun();
  const int row = m.rowAtOrAfter(number(5000), true);
  EXPECT_EQ(m.statementsRun() - before, 1);
  ASSERT_GE(row, 0);
  EXPECT_EQ(keyAt(m, row - 90), number(4910));
  EXPECT_EQ(keyAt(m, row + 90), number(5090));
  EXPECT_EQ(m.statementsRun() - before, 1);

  // The end of the table is where the count matters: taken there, and the grid follows it.
  m.record(m.rowCount() - 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(m.rowCount(), kRows - 3400);
  EXPECT_EQ(keyAt(m, m.rowCount() - 1), number(kRows));
  EXPECT_EQ(keyAt(m, m.rowCount() - 601), number(6000));

  // A grid opened again over the same table runs the statements the first one prepared.
  if (GetParam() == Provider::PostgreSQL) {
    const QString prepared = QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements");
    const int kept = scalarSql(db_, prepared).toInt();
    PagedTableModel again(db_, connection_->dialect(), QStringLiteral("Alunos"),
                          {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")}},
                          {QStringLiteral("MATRICULA")});
    again.setCountedUpTo(1000);
    again.setOrder({QStringLiteral("MATRICULA")});
    ASSERT_TRUE(again.refresh());
    EXPECT_EQ(keyAt(again, again.rowAtOrAfter(number(5000), true)), number(5000));
    EXPECT_EQ(scalarSql(db_, prepared).toInt(), kept);
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, PagedTableModelTest, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
