// What the booking windows ask before opening the calendar for a member who already has a
// pending booking: whether to change its date or hour and, from the scheduling window, whether
// to delete it instead.
#pragma once

#include <QSqlDatabase>
#include <optional>

#include "scheduling/agenda.h"

// The series review only offers to change a booking; the scheduling window also to delete it.
enum class PendingChoices { ChangeOnly, ChangeOrDelete };

struct PendingAnswer {
  enum { Book, Keep } answer = Book;  // open the calendar, or leave things as they are
  std::optional<Booking> booking;     // the pending booking a new one replaces
};

// Looks for the member's pending booking and asks about it. The series review asks only about
// one after today (today's is simply rebooked); the scheduling window about today's too, and a
// No to changing it asks whether to delete it (deleted at once on Yes). Nothing when the
// bookings could not be read or the booking could not be deleted (the user was told).
std::optional<PendingAnswer> askAboutPendingBooking(const QSqlDatabase& db,
                                                    const QString& matricula,
                                                    PendingChoices choices);
