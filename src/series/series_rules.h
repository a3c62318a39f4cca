// The rules of the series builder that need neither a widget nor a table: which workout
// letters may be opened and which weekdays they leave free, the default change date, and the
// renumbering of a workout's exercises when one is dragged, deleted or given a new order.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

inline constexpr int kWeekdayCount = 7;
inline const QStringList kWorkoutLetters = {QStringLiteral("A"), QStringLiteral("B"),
                                            QStringLiteral("C"), QStringLiteral("D"),
                                            QStringLiteral("E")};

using WeekdayFlags = std::array<bool, kWeekdayCount>;

// One weekday box of the weekday panel.
struct WeekdayBox {
  bool checked = false;
  bool enabled = true;
  bool operator==(const WeekdayBox&) const = default;
};
using WeekdayBoxes = std::array<WeekdayBox, kWeekdayCount>;

// The boxes at the start of a workout opening: all enabled and clear.
WeekdayBoxes freshWeekdays();

// VERIFICA_DIAS: with the days of a stored workout (nothing when the letter has none), every
// box still enabled is ticked and locked when the stored workout has that day, or cleared and
// left enabled when it has not. True when the letter has a stored workout.
bool VERIFICA_DIAS(WeekdayBoxes& boxes, const std::optional<WeekdayFlags>& stored);

// What opening `letter` asks of the other letters: the letter that must already be stored
// (empty for "A"), then the others whose days are locked.
struct LetterRule {
  QString required;
  QStringList others;
};
LetterRule letterRule(const QString& letter);

// The letter rules of a workout opening, on boxes fresh or not. `storedDays` answers the days
// of a letter's current stored workout, or nothing. A refusal is the detail of "Dado
// INCORRETO !" ("Treino ( A ) inexistente"); the boxes then hold what was checked so far.
using StoredDays = std::function<std::optional<WeekdayFlags>(const QString& letter)>;
std::optional<QString> applyLetterRules(const QString& letter, WeekdayBoxes& boxes,
                                        const StoredDays& storedDays);

bool allDaysTaken(const WeekdayBoxes& boxes);
// The weekday panel's confirmation needs a day ticked for this workout (ticked and enabled).
bool anyDayChosen(const WeekdayBoxes& boxes);
// Still-enabled boxes take the day flags of the first stored row of the workout being opened.
void takeStoredDays(WeekdayBoxes& boxes, const WeekdayFlags& days);

// The change date proposed for a member: `tempoReavaliacao` read as a whole number N (not a
// number: 0), today plus N months when `trocaSerie` is exactly "Meses" (the day clamped to
// the end of a shorter month), today plus N days otherwise.
QDate defaultChangeDate(const QDate& today, const QString& tempoReavaliacao,
                        const QString& trocaSerie);

// A drag of the row at `dragged` onto position `target`. `orders` are the rows' positions
// (ORDEM) in their current order. The dragged row takes `target`; the others are numbered
// 1, 2, 3 ... in their order, stepping over `target` (so they keep their order around it).
// Returns each row's new position, in the same row order; unchanged when the dragged row's
// position is already `target`.
QList<int> dragOrders(const QList<int>& orders, int dragged, int target);

// The reorder panel's confirmation, on the "Nova Ordem" of each row in order (nothing for an
// empty cell). Every row must have one; they must be exactly 1 .. number of rows.
struct NewOrderCheck {
  enum Outcome { Accepted, Unfilled, Refused } outcome = Accepted;
  QString text;  // the refusal's message
};
NewOrderCheck checkNewOrders(const QList<std::optional<int>>& newOrders);

// The message the reorder checks show.
inline const QString kDigiteNovaOrdem =
    QStringLiteral("Digite a NOVA ORDEM do exercício !\n\rOrdem de Valor = ");
