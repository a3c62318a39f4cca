#include "prescription/sheet_mail.h"

#include <QDir>
#include <QTemporaryDir>

#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "followup/listed_people.h"
#include "printouts/series_sheet.h"
#include "registry/people_source.h"

Result<QString> memberAddress(const Settings& settings, const QString& matricula) {
  const PeopleTables people = peopleTables(settings);
  Result<std::unique_ptr<Connection>> connection =
      openPeopleConnection(people, QStringLiteral("Alunos"));
  if (!connection) return connection.failure();
  try {
    return memberColumn((*connection)->database(), people.members, QStringLiteral("EMAIL"),
                        matricula)
        .value_or(QString())
        .trimmed();
  } catch (const SqlError& e) {
    return peopleTableUnavailable(people, QStringLiteral("Alunos"), e.text());
  }
}

bool mailSeriesSheet(const Settings& settings, const SheetMail& mail,
                     const SmtpClientFactory& clients) {
  const Result<QString> address = memberAddress(settings, mail.matricula);
  if (!address.okOrTell()) return false;
  if (address->isEmpty()) {
    tell({QStringLiteral("E-mail do aluno não cadastrado !"), mail.matricula, {}});
    return false;
  }
  const Result<SeriesSheet> sheet = prepareSeriesSheet(mail.matricula, mail.letter, mail.landscape);
  if (!sheet.okOrTell()) return false;

  // The PDF lives only while it is sent, in a folder of this user's own.
  QTemporaryDir folder;
  const QString file = QDir(folder.path())
                           .filePath(QStringLiteral("serie-%1-%2.pdf").arg(mail.letter, mail.matricula));
  if (!folder.isValid() || !writePdf(seriesSheetReport(*sheet), file)) {
    tell({QStringLiteral("Arquivo não pôde ser gravado !"), file, {}});
    return false;
  }
  const QString gym = settings.academia.trimmed();
  EmailDraft draft;
  draft.recipients = *address;
  draft.subject = QStringLiteral("Série de treino %1 - %2").arg(mail.letter, gym);
  draft.body = QStringLiteral("Olá!\n\nSegue em anexo a sua série de treino %1.\n\nBons treinos,\n%2")
                   .arg(mail.letter, gym);
  draft.files = {file};
  const SendOutcome sent = sendToMembers(draft, mailProvider(settings), {}, clients);
  return sent == SendOutcome::Sent || sent == SendOutcome::SentInClear;
}

bool mailSheetFromCommandLine(const QString& matricula, const QString& letter, bool landscape) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("ficha-email")));
  const std::optional<Settings> settings =
      workout.open() ? Settings::read(workout.database()) : std::nullopt;
  workout.release();
  if (!settings) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Controle"), {}});
    return false;
  }
  return mailSeriesSheet(*settings, {matricula, letter, landscape});
}
