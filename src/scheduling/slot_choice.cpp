#include "scheduling/slot_choice.h"

#include "base/messages.h"

SlotChoice::SlotChoice(Loader load, const QDate& today)
    : load_(std::move(load)), today_(today), date_(today) {}

Outcome SlotChoice::refill() {
  Result<DayGrid> grid = load_(date_);
  if (!grid) return grid.failure();
  grid_ = *grid;
  markedRow_ = -1;
  return Done{};
}

Outcome SlotChoice::click(int row) {
  if (row < 0 || row >= grid_.hours.size()) return Done{};
  const SlotState state = slotState(grid_.hours[row].cell);
  if (markedRow_ >= 0 && markedRow_ != row && state != SlotState::Booked &&
      state != SlotState::Chosen) {
    const QString kept = chosenHour_;
    if (Outcome read = refill(); !read) return read;
    chosenHour_ = kept;
  }
  if (slotState(grid_.hours[row].cell) != SlotState::Free) return Done{};
  grid_.hours[row].cell = kChosenCell;
  chosenHour_ = grid_.hours[row].hora;
  markedRow_ = row;
  return Done{};
}

Outcome SlotChoice::setDate(const QDate& date) {
  chosenHour_.clear();
  const std::optional<Failure> refused = pastDateRefused(date, today_);
  date_ = refused ? today_ : date;
  if (Outcome read = refill(); !read) return read;
  if (refused) return *refused;
  return Done{};
}

Outcome SlotChoice::readyToBook() const {
  if (chosenHour_.isEmpty())
    return Failure{Msg::DadoIncorreto, QStringLiteral("\rAluno não foi agendado!"), {}};
  return Done{};
}
