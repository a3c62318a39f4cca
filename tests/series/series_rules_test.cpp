// The builder's rules on plain values: letters and weekdays, the change date, the renumbering.
#include <gtest/gtest.h>

#include "series/series_rules.h"
#include "series/workout_model.h"

namespace {

WeekdayFlags days(const char* pattern) {  // "0101010": Sunday first
  WeekdayFlags flags{};
  for (int d = 0; d < kWeekdayCount; ++d) flags[d] = pattern[d] == '1';
  return flags;
}

// Boxes as "t" ticked and locked, "x" ticked and free, "." clear and free.
std::string shown(const WeekdayBoxes& boxes) {
  std::string s;
  for (const WeekdayBox& b : boxes) s += b.checked ? (b.enabled ? 'x' : 't') : '.';
  return s;
}

TEST(LetterRules, APreviousLetterIsRequiredAndOtherLettersLockTheirDays) {
  const struct {
    const char* letter;
    std::map<QString, const char*> stored;  // letter -> days
    const char* refusal;                    // nullptr: opens
    const char* boxes;
  } cases[] = {
      {"A", {}, nullptr, "......."},
      {"A", {{"B", "0010100"}, {"E", "1000000"}}, nullptr, "t.t.t.."},
      {"B", {}, "Treino ( A ) inexistente", "......."},
      {"B", {{"C", "0100000"}}, "Treino ( A ) inexistente", "......."},
      {"B", {{"A", "0101010"}}, nullptr, ".t.t.t."},
      {"C", {{"A", "0101010"}}, "Treino ( B ) inexistente", "......."},
      {"C", {{"A", "0100010"}, {"B", "0001000"}}, nullptr, ".t.t.t."},
      {"D", {{"A", "1"}, {"B", "0"}}, "Treino ( C ) inexistente", "......."},
      {"E",
       {{"A", "1000000"}, {"B", "0100000"}, {"C", "0010000"}, {"D", "0001000"}},
       nullptr,
       "tttt..."},
  };
  for (const auto& c : cases) {
    WeekdayBoxes boxes = freshWeekdays();
    const auto refusal = applyLetterRules(QString::fromLatin1(c.letter), boxes,
                                          [&](const QString& l) -> std::optional<WeekdayFlags> {
                                            const auto it = c.stored.find(l);
                                            if (it == c.stored.end()) return std::nullopt;
                                            std::string p = it->second;
                                            p.resize(kWeekdayCount, '0');
                                            return days(p.c_str());
                                          });
    EXPECT_EQ(refusal.value_or(QString()), QString::fromLatin1(c.refusal ? c.refusal : ""))
        << c.letter;
    EXPECT_EQ(shown(boxes), c.boxes) << c.letter;
  }
}

TEST(LetterRules, DaysAlreadyLockedStayAndTheWorkoutsOwnDaysStayFree) {
  WeekdayBoxes boxes = freshWeekdays();
  EXPECT_TRUE(VERIFICA_DIAS(boxes, days("0100000")));
  EXPECT_TRUE(VERIFICA_DIAS(boxes, days("0010000")));  // Monday is not freed by B
  EXPECT_EQ(shown(boxes), ".tt....");
  takeStoredDays(boxes, days("0100011"));
  EXPECT_EQ(shown(boxes), ".tt..xx");
  EXPECT_TRUE(anyDayChosen(boxes));
  EXPECT_FALSE(allDaysTaken(boxes));
  EXPECT_FALSE(anyDayChosen(WeekdayBoxes{}));
  WeekdayBoxes all = freshWeekdays();
  VERIFICA_DIAS(all, days("1111111"));
  EXPECT_TRUE(allDaysTaken(all));
  EXPECT_FALSE(anyDayChosen(all));  // only locked days: nothing for this workout
}

TEST(ChangeDate, MonthsKeepTheDayWhereTheMonthAllowsItOtherwiseDays) {
  const struct {
    QDate today;
    const char* tempo;
    const char* troca;
    QDate expected;
  } cases[] = {
      {QDate(2025, 1, 31), "3", "Meses", QDate(2025, 4, 30)},
      {QDate(2024, 11, 30), "3", "Meses", QDate(2025, 2, 28)},
      {QDate(2024, 1, 15), " 2", "Meses", QDate(2024, 3, 15)},
      {QDate(2025, 1, 31), "30", "Dias", QDate(2025, 3, 2)},
      {QDate(2025, 1, 31), "30", "", QDate(2025, 3, 2)},
      {QDate(2025, 1, 31), "3", "meses", QDate(2025, 2, 3)},  // only "Meses" counts months
      {QDate(2025, 1, 31), "", "Meses", QDate(2025, 1, 31)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(defaultChangeDate(c.today, QString::fromLatin1(c.tempo), QString::fromUtf8(c.troca)),
              c.expected)
        << c.tempo << " " << c.troca;
}

TEST(Renumbering, ADraggedRowTakesItsTargetAndTheOthersKeepTheirOrder) {
  const QList<int> six{1, 2, 3, 4, 5, 6};
  const struct {
    QList<int> orders;
    int dragged;  // row index
    int target;
    QList<int> expected;  // new position of each row
  } cases[] = {
      {six, 4, 2, {1, 3, 4, 5, 2, 6}},  // 5 onto 2: 1, 5, 2, 3, 4, 6
      {six, 1, 5, {1, 5, 2, 3, 4, 6}},  // 2 onto 5: 1, 3, 4, 5, 2, 6
      {six, 0, 6, {6, 1, 2, 3, 4, 5}}, {six, 5, 1, {2, 3, 4, 5, 6, 1}}, {six, 2, 3, six},
      {{1, 2}, 1, 1, {2, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(dragOrders(c.orders, c.dragged, c.target), c.expected)
        << c.dragged << " onto " << c.target;
}

void addSixRows(WorkoutModel& model) {
  for (int i = 1; i <= 6; ++i)
    model.appendExercise(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')),
                         QStringLiteral("EX %1").arg(i), QString());
}

QString codes(const WorkoutModel& model) {
  QStringList list;
  for (const WorkoutRow& r : model.rows()) list << QString::number(r.code.toInt());
  return list.join(QLatin1Char(','));
}

TEST(WorkoutRows, DragDeleteAndAppendRenumberTheRows) {
  WorkoutModel model;
  addSixRows(model);
  EXPECT_EQ(model.dragRow(4, 2, false), 1);
  EXPECT_EQ(codes(model), QStringLiteral("1,5,2,3,4,6"));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(model.rows()[i].ordem, i + 1);
  EXPECT_FALSE(model.rows()[0].novaOrdem);

  EXPECT_EQ(model.dragRow(1, 5, true), 4);  // the reorder grid fills "Nova Ordem" too
  EXPECT_EQ(codes(model), QStringLiteral("1,2,3,4,5,6"));
  EXPECT_EQ(model.rows()[4].novaOrdem, 5);

  model.removeAndRenumber(1);
  EXPECT_EQ(codes(model), QStringLiteral("1,3,4,5,6"));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(model.rows()[i].ordem, i + 1);
  model.removeAndRenumber(1);
  model.removeAndRenumber(3);
  EXPECT_EQ(codes(model), QStringLiteral("1,4,5"));
  EXPECT_EQ(model.appendExercise(QStringLiteral("009"), QString(), QString()), 3);
  EXPECT_EQ(model.rows()[3].ordem, 4);
}

TEST(WorkoutRows, EditingPlacesUnnumberedRowsAndRefusesWhatAColumnCannotHold) {
  WorkoutModel model;
  WorkoutRow stored;
  stored.code = QStringLiteral("010");
  stored.ordem = 4;
  model.appendStored(stored);
  WorkoutRow old;  // saved before positions existed
  old.code = QStringLiteral("011");
  model.appendStored(old);
  old.series = old.repeticoes = old.peso = QStringLiteral("0");
  model.appendStored(old);
  EXPECT_EQ(model.MORDEM(), 4);

  EXPECT_FALSE(model.setData(model.index(1, WorkoutModel::Series), QStringLiteral("3")));
  model.setEditing(true);
  ASSERT_TRUE(model.setData(model.index(1, WorkoutModel::Series), QStringLiteral("345")));
  EXPECT_EQ(model.rows()[1].series, QStringLiteral("34"));
  EXPECT_EQ(model.rows()[1].ordem, 5);
  EXPECT_EQ(model.MORDEM(), 5);
  // A row of zeros only is left unnumbered.
  ASSERT_TRUE(model.setData(model.index(2, WorkoutModel::Obs), QStringLiteral("LEVE")));
  EXPECT_EQ(model.rows()[2].ordem, 0);

  EXPECT_FALSE(model.setData(model.index(0, WorkoutModel::Intervalo), QStringLiteral("1a")));
  EXPECT_FALSE(model.setData(model.index(0, WorkoutModel::Intervalo), QStringLiteral("40000")));
  EXPECT_TRUE(model.setData(model.index(0, WorkoutModel::Intervalo), QStringLiteral("60")));
  EXPECT_EQ(model.rows()[0].intervalo, 60);
  EXPECT_FALSE(model.setData(model.index(0, WorkoutModel::Seq), 9));
  EXPECT_FALSE(model.setData(model.index(0, WorkoutModel::Descricao), QStringLiteral("X")));
  EXPECT_TRUE(model.setData(model.index(0, WorkoutModel::NovaOrdem), QString()));
  EXPECT_FALSE(model.rows()[0].novaOrdem);
}

TEST(NewOrders, MustBeExactlyOneToTheNumberOfRows) {
  const QString head = QStringLiteral("Digite a NOVA ORDEM do exercício !\n\rOrdem de Valor = ");
  using O = std::optional<int>;
  const struct {
    QList<O> orders;
    NewOrderCheck::Outcome outcome;
    QString text;
  } cases[] = {
      {{1, 2, 3}, NewOrderCheck::Accepted, {}},
      {{3, 1, 2}, NewOrderCheck::Accepted, {}},
      {{}, NewOrderCheck::Accepted, {}},
      {{1, std::nullopt, 0}, NewOrderCheck::Unfilled, {}},
      {{1, 0, 2}, NewOrderCheck::Refused, head + "0. Linha = 2"},
      {{1, 3, 3}, NewOrderCheck::Refused, head + "3 REPETIDA!!!"},
      {{1, 2, 4}, NewOrderCheck::Refused, head + "4"},
      {{-1, 1, 2}, NewOrderCheck::Refused, head + "-1"},
  };
  for (const auto& c : cases) {
    const NewOrderCheck check = checkNewOrders(c.orders);
    EXPECT_EQ(check.outcome, c.outcome) << c.text.toStdString();
    EXPECT_EQ(check.text, c.text);
  }
  // Longer workouts than the old table of 31 orders are checked alike.
  QList<O> forty;
  for (int i = 40; i >= 1; --i) forty << i;
  EXPECT_EQ(checkNewOrders(forty).outcome, NewOrderCheck::Accepted);
  forty[39] = 40;
  EXPECT_EQ(checkNewOrders(forty).text, head + "40 REPETIDA!!!");
  forty[39] = 41;
  EXPECT_EQ(checkNewOrders(forty).text, head + "41");
}

}  // namespace
