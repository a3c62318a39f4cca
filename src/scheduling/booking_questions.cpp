#include "scheduling/booking_questions.h"

#include "base/prompter.h"

namespace {

const QString kAsk = QStringLiteral("?");

QString describe(const Booking& booking) {
  return QStringLiteral("Data : ") + booking.data.toString(QStringLiteral("dd/MM/yyyy")) +
         QStringLiteral("        Hora : ") + booking.hora;
}

}  // namespace

std::optional<PendingAnswer> askAboutPendingBooking(const QSqlDatabase& db,
                                                    const QString& matricula,
                                                    PendingChoices choices) {
  const QDate today = QDate::currentDate();
  const Result<std::optional<Booking>> found = pendingBooking(db, matricula, today);
  if (!found.okOrTell()) return std::nullopt;
  PendingAnswer answer{PendingAnswer::Book, *found};
  if (!answer.booking) return answer;
  const Booking& booking = *answer.booking;
  if (choices == PendingChoices::ChangeOnly && booking.data <= today) return answer;
  if (MENSAGEM(kAsk, describe(booking),
               QStringLiteral("\rDeseja alterar DATA ou HORA da Montagem de Serie ?")) ==
      kAnswerYes)
    return answer;
  answer.answer = PendingAnswer::Keep;
  if (choices == PendingChoices::ChangeOnly) return answer;
  if (MENSAGEM(kAsk, describe(booking),
               QStringLiteral("\rDeseja excluir Data da Montagem de Serie ?")) == kAnswerYes &&
      !cancelBooking(db, booking).okOrTell())
    return std::nullopt;
  return answer;
}
