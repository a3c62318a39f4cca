#include "series/series_rules.h"

#include <QSet>
#include <algorithm>
#include <numeric>

WeekdayBoxes freshWeekdays() {
  return WeekdayBoxes{};
}

bool VERIFICA_DIAS(WeekdayBoxes& boxes, const std::optional<WeekdayFlags>& stored) {
  if (!stored) return false;
  for (int day = 0; day < kWeekdayCount; ++day) {
    WeekdayBox& box = boxes[day];
    if (!box.enabled) continue;
    box.checked = (*stored)[day];
    box.enabled = !(*stored)[day];
  }
  return true;
}

LetterRule letterRule(const QString& letter) {
  const int index = int(kWorkoutLetters.indexOf(letter));
  if (index <= 0) return {QString(), kWorkoutLetters.mid(1)};
  LetterRule rule{kWorkoutLetters[index - 1], {}};
  for (const QString& other : kWorkoutLetters)
    if (other != letter && other != rule.required) rule.others << other;
  return rule;
}

std::optional<QString> applyLetterRules(const QString& letter, WeekdayBoxes& boxes,
                                        const StoredDays& storedDays) {
  const LetterRule rule = letterRule(letter);
  if (!rule.required.isEmpty() && !VERIFICA_DIAS(boxes, storedDays(rule.required)))
    return QStringLiteral("Treino ( %1 ) inexistente").arg(rule.required);
  for (const QString& other : rule.others) VERIFICA_DIAS(boxes, storedDays(other));
  return std::nullopt;
}

bool allDaysTaken(const WeekdayBoxes& boxes) {
  return std::all_of(boxes.begin(), boxes.end(), [](const WeekdayBox& b) { return b.checked; });
}

bool anyDayChosen(const WeekdayBoxes& boxes) {
  return std::any_of(boxes.begin(), boxes.end(),
                     [](const WeekdayBox& b) { return b.checked && b.enabled; });
}

void takeStoredDays(WeekdayBoxes& boxes, const WeekdayFlags& days) {
  for (int day = 0; day < kWeekdayCount; ++day)
    if (boxes[day].enabled) boxes[day].checked = days[day];
}

QDate defaultChangeDate(const QDate& today, const QString& tempoReavaliacao,
                        const QString& trocaSerie) {
  const int n = tempoReavaliacao.trimmed().toInt();
  return trocaSerie == QStringLiteral("Meses") ? today.addMonths(n) : today.addDays(n);
}

QList<int> dragOrders(const QList<int>& orders, int dragged, int target) {
  if (dragged < 0 || dragged >= orders.size() || orders[dragged] == target) return orders;
  // The walk follows the old positions; rows of equal position keep their row order.
  QList<int> walk(orders.size());
  std::iota(walk.begin(), walk.end(), 0);
  std::stable_sort(walk.begin(), walk.end(), [&](int a, int b) { return orders[a] < orders[b]; });
  QList<int> result(orders.size());
  int counter = 1;
  for (int row : walk) {
    if (row == dragged) {
      result[row] = target;
    } else if (counter == target) {
      result[row] = target + 1;
      counter += 2;
    } else {
      result[row] = counter++;
    }
  }
  return result;
}

NewOrderCheck checkNewOrders(const QList<std::optional<int>>& newOrders) {
  for (const std::optional<int>& order : newOrders)
    if (!order) return {NewOrderCheck::Unfilled, QString()};
  const int rows = int(newOrders.size());
  QSet<int> seen;
  for (int line = 0; line < rows; ++line) {
    const int value = *newOrders[line];
    if (value == 0)
      return {NewOrderCheck::Refused,
              kDigiteNovaOrdem + QStringLiteral("0. Linha = ") + QString::number(line + 1)};
    // Below 1 or past the last row: no position of this workout.
    if (value < 0 || value > rows)
      return {NewOrderCheck::Refused, kDigiteNovaOrdem + QString::number(value)};
    if (seen.contains(value))
      return {NewOrderCheck::Refused,
              kDigiteNovaOrdem + QString::number(value) + QStringLiteral(" REPETIDA!!!")};
    seen.insert(value);
  }
  return {};
}
