#include "maintenance/backup_command.h"

#include <QFileInfo>

#include "base/messages.h"
#include "base/prompter.h"
#include "maintenance/backup_job.h"
#include "maintenance/backup_rules.h"

namespace {

const QString kInfo = QStringLiteral("!");

// The job, or nothing after the message.
std::optional<QString> makeBackup(const BackupRequest& request, FILE* out) {
  TerminalProgress progress(out);
  const BackupOutcome outcome =
      backUpWorkoutDatabase(request, [&](const QString& stage) { progress.stage(stage); });
  progress.finish();
  if (!outcome.file) {
    MENSAGEM(kInfo, Msg::ErroBackup, outcome.detail);
    return std::nullopt;
  }
  printLine(out, Msg::BackupRealizado + QStringLiteral(" %1").arg(*outcome.file));
  if (!outcome.copy.isEmpty()) printLine(out, QStringLiteral("Cópia: %1").arg(outcome.copy));
  if (!outcome.removed.isEmpty())
    printLine(out, QStringLiteral("Backups antigos removidos: %1")
                       .arg(outcome.removed.join(QStringLiteral(", "))));
  return outcome.file;
}

}  // namespace

const CommandSyntax& backupCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("backup"),
      QStringLiteral("vantrel backup [--copy-to PASTA]"),
      {QCommandLineOption(QStringLiteral("copy-to"), QString(), QStringLiteral("PASTA"))},
      {},
      false};
  return syntax;
}

const CommandSyntax& restoreCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("restore"), QStringLiteral("vantrel restore ARQUIVO"), {}, {}};
  return syntax;
}

const CommandSyntax& purgeCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("purge"),
      QStringLiteral("vantrel purge --year AAAA"),
      {QCommandLineOption(QStringLiteral("year"), QString(), QStringLiteral("AAAA"))},
      {}};
  return syntax;
}

int runBackupCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(backupCommand(), args);
  if (const std::optional<int> status = settleCall(backupCommand(), arguments, out, err))
    return *status;
  BackupRequest request;
  const QString copyTo = arguments.value(QStringLiteral("copy-to"));
  if (!copyTo.isEmpty()) request.copyTo = copyTo;
  return makeBackup(request, out) ? 0 : 1;
}

int runRestoreCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(restoreCommand(), args);
  if (const std::optional<int> status = settleCall(restoreCommand(), arguments, out, err))
    return *status;
  if (arguments.positional().size() != 1)
    return wrongCall(restoreCommand(), QStringLiteral("Informe o arquivo do backup"), err);
  const QString file = QFileInfo(arguments.positional().first()).absoluteFilePath();
  if (!restorableName(file)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kExtensaoInvalida);
    return 1;
  }
  QString why;
  TerminalProgress progress(out);
  const bool restored =
      restoreWorkoutDatabase(file, &why, [&](const QString& stage) { progress.stage(stage); });
  progress.finish();
  if (!restored) {
    MENSAGEM(kInfo, Msg::ErroRestore, why);
    return 1;
  }
  printLine(out, Msg::RestoreRealizado);
  return 0;
}

int runPurgeCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(purgeCommand(), args);
  if (const std::optional<int> status = settleCall(purgeCommand(), arguments, out, err))
    return *status;
  const QString yearText = arguments.value(QStringLiteral("year"));
  const std::optional<int> year =
      arguments.positional().isEmpty() && !yearText.isEmpty() ? typedYear(yearText) : std::nullopt;
  if (!year)
    return wrongCall(purgeCommand(), QStringLiteral("Ano inválido: %1").arg(yearText), err);
  if (!purgeAllowed(*year, QDate::currentDate())) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kAnoNaoPodeSerEsvaziado);
    return 1;
  }
  // Nothing is emptied without a backup that was checked first; a purge's backup is kept for
  // good, so the clean-up is not run.
  BackupRequest request;
  request.purgeYear = *year;
  request.cleanUp = false;
  if (!makeBackup(request, out)) return 1;
  TerminalProgress progress(out);
  progress.stage(QStringLiteral("Esvaziando as séries até %1").arg(*year));
  const Result<int> deleted = purgeWorkoutDatabase(*year);
  progress.finish();
  if (!deleted.okOrTell()) return 1;
  printLine(out, Msg::FimDeProcesso +
                     QStringLiteral(" %1 linha(s) removida(s) até %2").arg(*deleted).arg(*year));
  return 0;
}
