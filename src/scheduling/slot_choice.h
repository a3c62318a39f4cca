// Choosing an hour in a booking calendar: the day's grid, the hour chosen on it and the date,
// with the rules the calendar follows as the user clicks. The calendar window draws what this
// holds and asks it what a click or a new date does.
#pragma once

#include <QDate>
#include <functional>

#include "base/failure.h"
#include "scheduling/agenda.h"

class SlotChoice {
 public:
  // `load` reads the day's grid for a date (the weekly grid and that day's bookings).
  using Loader = std::function<Result<DayGrid>(const QDate&)>;
  SlotChoice(Loader load, const QDate& today);

  const QDate& date() const { return date_; }
  const DayGrid& grid() const { return grid_; }
  // The hour chosen (MHORA_AVALIACAO); empty until one is.
  const QString& chosenHour() const { return chosenHour_; }

  // Reads the grid for the date shown; false when it could not be read.
  Outcome refill();

  // A click on `row` (an hour of the grid): a free hour becomes the chosen one, marked on the
  // grid. Clicking elsewhere than a booked or chosen cell takes away the mark of an hour chosen
  // before on another row, though that hour stays chosen until another is.
  Outcome click(int row);

  // A new date: the chosen hour is forgotten; a date before today is refused ("Dado INCORRETO
  // !") and the calendar goes back to today. The grid is read for the date kept.
  Outcome setDate(const QDate& date);

  // What confirming needs: an hour chosen, else "Aluno não foi agendado!".
  Outcome readyToBook() const;

 private:
  Loader load_;
  QDate today_;
  QDate date_;
  DayGrid grid_;
  QString chosenHour_;
  int markedRow_ = -1;
};
