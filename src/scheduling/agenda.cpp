#include "scheduling/agenda.h"

#include <QHash>
#include <QSqlQuery>

#include "base/messages.h"
#include "base/weekdays.h"
#include "data/sql.h"

namespace {

const QString kAgendado = QStringLiteral("Agendado");

Failure unreadable(const QString& table, const QString& cause) {
  return {Msg::AberturaDeTabela, table, QStringLiteral("Agenda, %1: %2").arg(table, cause)};
}

const QString kBookingColumns =
    QStringLiteral("ID, MATRICULA, TREINO, DATA, HORA, AVALIADOR, USUARIO, DATA_FEITA");

Booking bookingOf(const QSqlQuery& q) {
  return {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
          q.value(3).toDate(),     q.value(4).toString(), q.value(5).toString(),
          q.value(6).toString(),   q.value(7).toDate()};
}

// Another booking of the same date and hour, leaving out the row being replaced.
bool hourTaken(const QSqlDatabase& db, const BookingRequest& request) {
  QSqlQuery& query = runPrepared(
      db, QStringLiteral("SELECT ID FROM Agendado WHERE DATA = ? AND HORA = ? AND ID <> ?"),
      {request.data, request.hora, request.replaces ? request.replaces->id : qint64(-1)});
  const bool taken = query.next();
  query.finish();
  return taken;
}

struct HourTaken {};
struct BookingGone {};

}  // namespace

int agendaWeekday(const QDate& date, const QLocale& locale) {
  return weekdayOf(date, locale);
}

QString weekdayHeading(int weekday) {
  static const QStringList headings{
      QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
      QStringLiteral("Quarta"),  QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
      QStringLiteral("Sábado")};
  return headings.value(weekday);
}

QString AgendaSlot::evaluatorOn(int weekday) const {
  if (weekday <= kSunday || weekday > kSaturday) return QString();
  return evaluators[size_t(weekday - 1)];
}

const QStringList& agendaEvaluatorColumns() {
  static const QStringList columns{
      QStringLiteral("AVALIADOR_SEGUNDA"), QStringLiteral("AVALIADOR_TERCA"),
      QStringLiteral("AVALIADOR_QUARTA"),  QStringLiteral("AVALIADOR_QUINTA"),
      QStringLiteral("AVALIADOR_SEXTA"),   QStringLiteral("AVALIADOR_SABADO")};
  return columns;
}

Result<QList<AgendaSlot>> readAgenda(const QSqlDatabase& db) {
  QList<AgendaSlot> hours;
  try {
    QSqlQuery query =
        runSql(db, QStringLiteral("SELECT HORA, %1 FROM Agenda ORDER BY HORA")
                       .arg(agendaEvaluatorColumns().join(QStringLiteral(", "))));
    while (query.next()) {
      AgendaSlot slot;
      slot.hora = query.value(0).toString();
      for (int d = 0; d < 6; ++d) slot.evaluators[size_t(d)] = query.value(d + 1).toString();
      hours << slot;
    }
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Agenda"), e.text());
  }
  return hours;
}

Result<QList<Booking>> bookingsOn(const QSqlDatabase& db, const QDate& date) {
  QList<Booking> bookings;
  try {
    QSqlQuery& query = runPrepared(
        db, QStringLiteral("SELECT %1 FROM Agendado WHERE DATA = ? ORDER BY ID").arg(kBookingColumns),
        {date});
    while (query.next()) bookings << bookingOf(query);
    query.finish();
  } catch (const SqlError& e) {
    return unreadable(kAgendado, e.text());
  }
  return bookings;
}

Result<std::optional<Booking>> pendingBooking(const QSqlDatabase& db, const QString& matricula,
                                              const QDate& today) {
  std::optional<Booking> found;
  try {
    QSqlQuery& query = runPrepared(db,
                                   QStringLiteral("SELECT %1 FROM Agendado WHERE MATRICULA = ? AND "
                                                  "DATA >= ? AND DATA_FEITA IS NULL "
                                                  "ORDER BY DATA, ID")
                                       .arg(kBookingColumns),
                                   {matricula, today});
    if (query.next()) found = bookingOf(query);
    query.finish();
  } catch (const SqlError& e) {
    return unreadable(kAgendado, e.text());
  }
  return found;
}

std::optional<Failure> pastDateRefused(const QDate& date, const QDate& today) {
  if (date >= today) return std::nullopt;
  return Failure{Msg::DadoIncorreto,
                 QStringLiteral("\rData de agendamento MENOR do que data ATUAL !"), {}};
}

SlotState slotState(const QString& cell) {
  if (cell.isEmpty()) return SlotState::Empty;
  if (cell == kChosenCell) return SlotState::Chosen;
  if (cell.startsWith(kBookedPrefix)) return SlotState::Booked;
  return SlotState::Free;
}

QString bookedCell(const QString& matricula, const std::optional<QString>& nome) {
  if (!nome) return kBookedPrefix + matricula;
  return (kBookedPrefix + matricula + QStringLiteral(" - ") + *nome).left(40);
}

DayGrid dayGrid(const QList<AgendaSlot>& agenda, const QList<Booking>& bookings, const QDate& date,
                const std::function<QString(const Booking&)>& cellOf) {
  const int weekday = agendaWeekday(date);
  DayGrid grid{weekdayHeading(weekday), {}};
  for (const AgendaSlot& slot : agenda)
    grid.hours << DaySlot{weekday == kSunday ? QString() : slot.hora, slot.evaluatorOn(weekday)};
  // Sunday has no hours at all: its bookings (a series saved on a Sunday) have no cell.
  if (weekday == kSunday) return grid;
  for (const Booking& booking : bookings)
    for (DaySlot& slot : grid.hours)
      if (slot.hora == booking.hora) slot.cell = cellOf(booking);
  return grid;
}

Outcome book(const QSqlDatabase& db, const BookingRequest& request) {
  try {
    Transaction transaction(db);
    lockForNumbering(db, kAgendado);
    if (hourTaken(db, request)) throw HourTaken();
    if (request.replaces)
      runPrepared(db, QStringLiteral("DELETE FROM Agendado WHERE ID = ? AND DATA_FEITA IS NULL"),
                  {request.replaces->id})
          .finish();
    runPrepared(db,
                QStringLiteral("INSERT INTO Agendado (USUARIO, HORA, MATRICULA, AVALIADOR, DATA, "
                               "TREINO) VALUES (?, ?, ?, ?, ?, ?)"),
                {request.usuario.left(2), request.hora, request.matricula,
                 request.avaliador.right(10), request.data, request.treino})
        .finish();
    transaction.commit();
  } catch (const HourTaken&) {
    return Failure{Msg::HorarioJaAgendado,
                   QStringLiteral("\rOutro aluno foi agendado às %1 de %2 em outra estação.\r"
                                  "Escolha outro horário.")
                       .arg(request.hora, request.data.toString(QStringLiteral("dd/MM/yyyy"))),
                   QStringLiteral("Agendado: %1 %2 já ocupado")
                       .arg(request.data.toString(Qt::ISODate), request.hora)};
  } catch (const SqlError& e) {
    return writeFailure(kAgendado, e.text());
  }
  return Done{};
}

Outcome cancelBooking(const QSqlDatabase& db, const Booking& booking) {
  try {
    Transaction transaction(db);
    QSqlQuery deleted =
        runSql(db, QStringLiteral("DELETE FROM Agendado WHERE ID = ? AND DATA_FEITA IS NULL"),
               {booking.id});
    if (deleted.numRowsAffected() != 1) throw BookingGone();
    transaction.commit();
  } catch (const BookingGone&) {
    return Failure{Msg::GravandoNaTabela,
                   QStringLiteral("Agendado\rA montagem já foi feita ou excluída em outra estação."),
                   QStringLiteral("Agendado: agendamento %1 de %2 não está mais pendente")
                       .arg(booking.id)
                       .arg(booking.matricula)};
  } catch (const SqlError& e) {
    return writeFailure(kAgendado, e.text());
  }
  return Done{};
}
