#include "maintenance/backup_command.h"

#include <QFileInfo>

#include "base/messages.h"
#include "base/prompter.h"
#include "maintenance/backup_job.h"
#include "maintenance/backup_rules.h"

namespace {

const QString kInfo = QStringLiteral("!");

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// The job, or nothing after the message.
std::optional<QString> makeBackup(const BackupRequest& request, FILE* out) {
  const BackupOutcome outcome = backUpWorkoutDatabase(request);
  if (!outcome.file) {
    MENSAGEM(kInfo, Msg::ErroBackup, outcome.detail);
    return std::nullopt;
  }
  print(out, Msg::BackupRealizado + QStringLiteral(" %1").arg(*outcome.file));
  if (!outcome.copy.isEmpty()) print(out, QStringLiteral("Cópia: %1").arg(outcome.copy));
  if (!outcome.removed.isEmpty())
    print(out, QStringLiteral("Backups antigos removidos: %1")
                   .arg(outcome.removed.join(QStringLiteral(", "))));
  return outcome.file;
}

}  // namespace

int runBackupCommand(const QStringList& args, FILE* out, FILE* err) {
  QString copyTo;
  if (args.size() == 2 && args[0] == QLatin1String("--copy-to")) {
    copyTo = args[1];
  } else if (!args.isEmpty()) {
    print(err, QStringLiteral("Uso: vantrel backup [--copy-to PASTA]"));
    return 2;
  }
  BackupRequest request;
  if (!copyTo.isEmpty()) request.copyTo = copyTo;
  return makeBackup(request, out) ? 0 : 1;
}

int runRestoreCommand(const QStringList& args, FILE* out, FILE* err) {
  if (args.size() != 1) {
    print(err, QStringLiteral("Uso: vantrel restore ARQUIVO"));
    return 2;
  }
  const QString file = QFileInfo(args[0]).absoluteFilePath();
  if (!restorableName(file)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kExtensaoInvalida);
    return 1;
  }
  QString why;
  const bool restored = restoreWorkoutDatabase(file, &why);
  if (!restored) {
    MENSAGEM(kInfo, Msg::ErroRestore, why);
    return 1;
  }
  print(out, Msg::RestoreRealizado);
  return 0;
}

int runPurgeCommand(const QStringList& args, FILE* out, FILE* err) {
  const std::optional<int> year =
      args.size() == 2 && args[0] == QLatin1String("--year") ? typedYear(args[1]) : std::nullopt;
  if (!year) {
    print(err, QStringLiteral("Uso: vantrel purge --year AAAA"));
    return 2;
  }
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
  const std::optional<int> deleted = purgeWorkoutDatabase(*year);
  if (!deleted) return 1;
  print(out, Msg::FimDeProcesso + QStringLiteral(" %1 linha(s) removida(s) até %2").arg(*deleted).arg(*year));
  return 0;
}
