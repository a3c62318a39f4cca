#include "followup/followup_commands.h"

#include "base/globals.h"
#include "base/messages.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/settings_record.h"
#include "followup/absent_members.h"
#include "followup/email_address.h"
#include "followup/expired_series.h"
#include "registry/people_source.h"

namespace {

// The settings row, or nothing after saying so.
std::optional<Settings> settingsOrSay(const Connection& workout) {
  const std::optional<Settings> settings = Settings::read(workout.database());
  if (!settings) tell({Msg::AberturaDeTabela, QStringLiteral("Controle"), {}});
  return settings;
}

struct ExpiredOptions {
  std::optional<QString> instructor;
  QString pdf;
  QString emails;
};

QString readExpired(const CommandArguments& args, ExpiredOptions& options) {
  if (!args.positional().isEmpty())
    return QStringLiteral("Opção desconhecida: %1").arg(args.positional().first());
  if (args.isSet(QStringLiteral("instructor"))) {
    const QString instructor = args.value(QStringLiteral("instructor")).trimmed();
    if (instructor.isEmpty()) return QStringLiteral("Falta a matrícula do avaliador");
    options.instructor = instructor.rightJustified(10, QLatin1Char('0'));
  }
  options.pdf = args.value(QStringLiteral("pdf"));
  options.emails = args.value(QStringLiteral("emails"));
  if (options.pdf.isEmpty() == options.emails.isEmpty())
    return QStringLiteral("Use --pdf ARQUIVO ou --emails ARQUIVO");
  return QString();
}

}  // namespace

std::optional<ListSources> openListSources(const QString& purpose, const QString& peopleDetail,
                                           FILE* err) {
  ListSources sources;
  sources.workout = openOrSay(DataSource::Vantrel, purpose, err);
  if (!sources.workout) return std::nullopt;
  const std::optional<Settings> settings = settingsOrSay(*sources.workout);
  if (!settings) return std::nullopt;
  sources.settings = *settings;
  sources.people = peopleTables(*settings);
  Result<std::unique_ptr<Connection>> peopleDb = openPeopleConnection(sources.people, peopleDetail);
  if (!peopleDb.okOrTell()) return std::nullopt;
  sources.peopleDb = std::move(*peopleDb);
  return sources;
}

const CommandSyntax& absentCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("absent"),
      QStringLiteral("vantrel absent\n"
                     "                    os alunos ausentes: matrícula, nome, telefones, "
                     "professor"),
      {},
      {},
      false};
  return syntax;
}

int runAbsentCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(absentCommand(), args);
  if (const std::optional<int> status = settleCall(absentCommand(), arguments, out, err))
    return *status;
  const std::unique_ptr<Connection> workout = openOrSay(DataSource::Vantrel, "ausentes", err);
  if (!workout) return 1;
  const std::optional<Settings> settings = settingsOrSay(*workout);
  if (!settings) return 1;
  if (settings->alunosAusentes <= 0) {
    printLine(out, QStringLiteral("O aviso de alunos ausentes está desligado (Alunos_Ausentes)."));
    return 0;
  }
  const std::unique_ptr<Connection> gym = openOrSay(DataSource::Brisca, "ausentes-academia", err);
  if (!gym) return 1;
  const Result<QList<AbsentMember>> members = absentMembers(
      gym->database(), workout->database(),
      settings->activeMembersOnly() ? QStringLiteral("ALUNOSATIVOS") : QStringLiteral("ALUNOS"),
      settings->alunosAusentes, QDateTime::currentDateTime());
  if (!members.okOrTell()) return 1;
  for (const AbsentMember& m : *members)
    printLine(
        out,
        QStringList{m.matricula, m.nome, m.telefone, m.telefoneCom, m.celular, m.professor}.join(
            QLatin1Char('\t')));
  printLine(out, QStringLiteral("%1 aluno(s) ausente(s) há %2 dia(s)")
                     .arg(members->size())
                     .arg(settings->alunosAusentes));
  return 0;
}

const CommandSyntax& expiredCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("expired"),
      QStringLiteral("vantrel expired [--instructor MATRICULA] (--pdf ARQUIVO | --emails ARQUIVO)\n"
                     "                    o relatório de séries vencidas, ou os e-mails dos "
                     "alunos"),
      {QCommandLineOption(QStringLiteral("instructor"), QString(), QStringLiteral("MATRICULA")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO")),
       QCommandLineOption(QStringLiteral("emails"), QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

int runExpiredCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(expiredCommand(), args);
  ExpiredOptions options;
  if (const std::optional<int> status = settleCall(expiredCommand(), arguments, out, err,
                                                   [&] { return readExpired(arguments, options); }))
    return *status;
  const std::optional<ListSources> sources =
      openListSources(QStringLiteral("vencidas"), QStringLiteral("Alunos"), err);
  if (!sources) return 1;
  const std::unique_ptr<Connection>& workout = sources->workout;
  const Settings& settings = sources->settings;
  const PeopleTables& people = sources->people;
  const std::unique_ptr<Connection>& peopleDb = sources->peopleDb;
  const QDate cutOff =
      expiryCutOff(QDate::currentDate(), settings.tempoReavaliacao.trimmed().toInt());
  if (!options.emails.isEmpty()) {
    const Result<ExpiredAddresses> found = expiredAddresses(
        workout->database(), peopleDb->database(), people, cutOff, options.instructor);
    if (!found.okOrTell()) return 1;
    if (!writeAddressFile(found->addresses, options.emails)) {
      printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.emails));
      return 1;
    }
    printLine(out, QStringLiteral("%1 e-mail(s) de %2 aluno(s) gravado(s) em %3")
                       .arg(found->addresses.size())
                       .arg(found->members)
                       .arg(options.emails));
    return 0;
  }
  const Result<QList<ExpiredRow>> rows =
      expiredSeries(workout->database(), peopleDb->database(), people, settings.membersKeptHere(),
                    cutOff, options.instructor);
  if (!rows.okOrTell()) return 1;
  if (rows->isEmpty()) {
    tell({Msg::NenhumResultadoEncontrado, {}, {}});
    return 1;
  }
  const QString instructorText = options.instructor
                                     ? QStringLiteral("Avaliador: %1").arg(*options.instructor)
                                     : kAllInstructors;
  const Report report =
      expiredSeriesReport(*rows, {settings.academia, QDateTime::currentDateTime(), instructorText});
  if (!writePdf(report, options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("%1: %2 linha(s) gravada(s) em %3")
                     .arg(report.name)
                     .arg(rows->size())
                     .arg(options.pdf));
  return 0;
}
