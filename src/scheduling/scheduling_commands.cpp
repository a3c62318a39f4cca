#include "scheduling/scheduling_commands.h"

#include <algorithm>

#include "base/messages.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "registry/people_source.h"
#include "scheduling/agenda.h"
#include "scheduling/agenda_people.h"
#include "scheduling/member_calendar.h"

namespace {

QString named(const QString& matricula, const QHash<QString, QString>& names) {
  const auto found = names.constFind(matricula);
  return found == names.cend() ? matricula : matricula + QStringLiteral(" - ") + *found;
}

QString stateOf(const Booking& booking) {
  return booking.pending()
             ? QStringLiteral("Pendente")
             : QStringLiteral("Feita em ") + booking.dataFeita.toString(QStringLiteral("dd/MM/yyyy"));
}

}  // namespace

const CommandSyntax& agendaCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("agenda"),
      QStringLiteral("vantrel agenda DD/MM/AAAA\n"
                     "                    as montagens de série agendadas no dia: hora, aluno, "
                     "avaliador, situação"),
      {},
      {}};
  return syntax;
}

int runAgendaCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(agendaCommand(), args);
  QDate day;
  const auto check = [&]() -> QString {
    if (arguments.positional().size() != 1) return QStringLiteral("Informe uma data DD/MM/AAAA");
    day = parseTypedDate(arguments.positional().first()).value_or(QDate());
    return day.isValid() ? QString()
                         : QStringLiteral("Data inválida: %1").arg(arguments.positional().first());
  };
  if (const std::optional<int> status = settleCall(agendaCommand(), arguments, out, err, check))
    return *status;
  const std::unique_ptr<Connection> workout = openOrSay(DataSource::Vantrel, "agenda", err);
  if (!workout) return 1;
  const std::optional<Settings> settings = Settings::read(workout->database());
  if (!settings) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Controle"), {}});
    return 1;
  }
  const Result<QList<Booking>> read = bookingsOn(workout->database(), day);
  if (!read.okOrTell()) return 1;
  QList<Booking> bookings = *read;
  std::stable_sort(bookings.begin(), bookings.end(),
                   [](const Booking& a, const Booking& b) { return a.hora < b.hora; });
  const PeopleTables people = peopleTables(*settings);
  const Result<std::unique_ptr<Connection>> peopleDb =
      openPeopleConnection(people, QStringLiteral("ALUNOS"));
  if (!peopleDb.okOrTell()) return 1;
  QStringList members;
  QStringList evaluators;
  for (const Booking& b : bookings) {
    members << b.matricula;
    evaluators << b.avaliador;
  }
  const Result<QHash<QString, QString>> memberNames =
      namesIn((*peopleDb)->database(), people.members, members, QStringLiteral("ALUNOS"));
  const Result<QHash<QString, QString>> staffNames =
      namesIn((*peopleDb)->database(), people.staff, evaluators, QStringLiteral("Funcionario"));
  if (!memberNames.okOrTell() || !staffNames.okOrTell()) return 1;
  printLine(out, QStringLiteral("Agenda de %1 (%2)")
                     .arg(formatTypedDate(day), weekdayHeading(agendaWeekday(day))));
  for (const Booking& b : bookings)
    printLine(out, QStringList{b.hora, named(b.matricula, *memberNames),
                               named(b.avaliador, *staffNames), stateOf(b)}
                       .join(QLatin1Char('\t')));
  printLine(out, QStringLiteral("%1 montagem(ns) agendada(s)").arg(bookings.size()));
  return 0;
}

const CommandSyntax& calendarCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("calendar"),
      QStringLiteral("vantrel calendar MATRICULA --ics ARQUIVO\n"
                     "                    os dias de treino e as montagens agendadas do aluno em "
                     "iCalendar"),
      {QCommandLineOption(QStringLiteral("ics"), QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

int runCalendarCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(calendarCommand(), args);
  QString matricula;
  const auto check = [&]() -> QString {
    if (arguments.positional().size() != 1) return QStringLiteral("Informe a matrícula do aluno");
    matricula = arguments.positional().first().trimmed().rightJustified(10, QLatin1Char('0'));
    if (arguments.value(QStringLiteral("ics")).isEmpty())
      return QStringLiteral("Falta o valor de --ics");
    return QString();
  };
  if (const std::optional<int> status = settleCall(calendarCommand(), arguments, out, err, check))
    return *status;
  const std::unique_ptr<Connection> workout = openOrSay(DataSource::Vantrel, "agenda-aluno", err);
  if (!workout) return 1;
  const std::optional<Settings> settings = Settings::read(workout->database());
  if (!settings) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Controle"), {}});
    return 1;
  }
  const PeopleTables people = peopleTables(*settings);
  const Result<std::unique_ptr<Connection>> peopleDb =
      openPeopleConnection(people, QStringLiteral("ALUNOS"));
  if (!peopleDb.okOrTell()) return 1;
  const Result<QHash<QString, QString>> names =
      namesIn((*peopleDb)->database(), people.members, {matricula}, QStringLiteral("ALUNOS"));
  if (!names.okOrTell()) return 1;
  if (!names->contains(matricula)) {
    tell({Msg::MatriculaNaoCadastrada, matricula, {}});
    return 1;
  }
  const QString file = arguments.value(QStringLiteral("ics"));
  if (!writeMemberCalendar(workout->database(), matricula, names->value(matricula),
                           settings->academia.trimmed(), file)
           .okOrTell())
    return 1;
  printLine(out, QStringLiteral("Agenda de %1 gravada em %2").arg(names->value(matricula), file));
  return 0;
}
