#include "classes/class_booking_flow.h"

#include "base/messages.h"
#include "base/prompter.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kAsk = QStringLiteral("?");

QString period(const Week& week) {
  return QStringLiteral("\n\rPeríodo da semana -> ") + week.first.toString(QStringLiteral("dd/MM/yyyy")) +
         QStringLiteral(" até ") + week.last.toString(QStringLiteral("dd/MM/yyyy"));
}

// The weekly limit: false when it refuses the booking (told), or when something could not be
// read (told).
bool weekAllows(const BookingDesk& desk, const ActiveMember& member, const QDate& date) {
  const Result<int> allowed = allowedDaysOf(desk.gymDb, member.groups);
  if (!allowed.okOrTell()) return false;
  if (*allowed == 0) return true;
  const Week week = weekOf(date);
  const Result<QList<WeekBooking>> booked =
      weekBookings(desk.classDb, member.matricula, week, desk.cliente);
  if (!booked.okOrTell()) return false;
  switch (weeklyLimit(*allowed, int(booked->size()), member.groups, desk.settings.reminderGroup)) {
    case WeeklyLimit::Pass:
      return true;
    case WeeklyLimit::Remind:
      MENSAGEM(kInfo, Msg::AgendamentoDeAula,
               period(week) + QStringLiteral("\n\r") + weekBookingList(*booked));
      return true;
    case WeeklyLimit::Reached: {
      const Result<QString> plan = planText(desk.gymDb, member);
      MENSAGEM(kInfo, Msg::AgendamentoDeAula,
               QStringLiteral("\n\rFim do Limite de Dias!") + period(week) +
                   (plan.ok() ? *plan : QString()) + QStringLiteral("\n\r") +
                   weekBookingList(*booked));
      return false;
    }
  }
  return true;
}

}  // namespace

BookingEnd bookThroughQuestions(const BookingDesk& desk, const GroupClass& groupClass,
                                const QDate& date, const QString& matricula) {
  const Result<ActiveMember> member = readActiveMember(desk.gymDb, matricula);
  if (!member.okOrTell()) return BookingEnd::Left;
  const Result<int> situation = situationOn(desk.gymDb, *member, date);
  if (!situation.okOrTell()) return BookingEnd::Left;
  if (*situation != 1) MENSAGEM(kInfo, Msg::AgendamentoDeAula, situationWarning(*situation));

  if (!member->standing.gympass) {
    const Result<bool> belongs = inActivity(desk.gymDb, matricula, groupClass.codigoAtividade);
    if (!belongs.okOrTell()) return BookingEnd::Left;
    if (!*belongs) {
      MENSAGEM(kInfo, Msg::AlunoNaoPertenceAtividade, QStringLiteral("Aluno sem Acesso !"));
      return BookingEnd::Left;
    }
  }

  const Result<bool> booked =
      isBooked(desk.classDb, groupClass.codigo, date, matricula, desk.cliente);
  if (!booked.okOrTell()) return BookingEnd::Left;
  if (*booked) {
    if (MENSAGEM(kAsk, Msg::AlunoJaAgendado, QStringLiteral("Deseja Excluir agendamento ?")) !=
        kAnswerYes)
      return BookingEnd::Left;
    return cancelMemberBooking(desk.classDb, groupClass.codigo, date, matricula, desk.cliente)
                   .okOrTell()
               ? BookingEnd::Cancelled
               : BookingEnd::Failed;
  }

  if (desk.settings.weeklyControl && !weekAllows(desk, *member, date)) return BookingEnd::Left;

  const Result<int> taken = bookedCount(desk.classDb, groupClass.codigo, date, desk.cliente);
  if (!taken.okOrTell()) return BookingEnd::Left;
  if (*taken >= groupClass.maximoAlunos) {
    MENSAGEM(kInfo, Msg::AulaColetivaSemVaga);
    return BookingEnd::Left;
  }
  if (MENSAGEM(kAsk, Msg::AgendarAluno, member->nome) != kAnswerYes) return BookingEnd::Left;

  // The checks above are asked again inside the write, in the class's turn: another desk may
  // have booked the member or the last place while the question was up.
  const Result<BookingOutcome> written =
      bookMember(desk.classDb, {groupClass, date, matricula, member->nome, desk.usuario,
                                desk.cliente, desk.settings.receptionistControl});
  if (!written.okOrTell()) return BookingEnd::Failed;
  switch (*written) {
    case BookingOutcome::Booked:
      return BookingEnd::Booked;
    case BookingOutcome::Full:
      MENSAGEM(kInfo, Msg::AulaColetivaSemVaga);
      return BookingEnd::Left;
    case BookingOutcome::AlreadyBooked:
      MENSAGEM(kInfo, Msg::AlunoJaAgendado);
      return BookingEnd::Left;
  }
  return BookingEnd::Left;
}
