#include "maintenance/backup_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/installation_folder.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/sql.h"
#include "maintenance/backup_rules.h"
#include "maintenance/backup_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kErroBackup = QStringLiteral("Erro ao fazer o Backup !");
const QString kPostgresLibrary = QStringLiteral("/usr/lib/postgresql");

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

QString backupFolder() {
  return QDir(installationFolder()).filePath(QStringLiteral("Backup"));
}

std::optional<LinkSpec> workoutLink() {
  const LinkParse link = readLinkFile(linkFilePath(DataSource::Vantrel));
  if (!link.linkSpec) {
    MENSAGEM(kInfo, kErroBackup, link.error);
    return std::nullopt;
  }
  return link.linkSpec;
}

// A backup of the workout database, checked, with the scratch tables dropped first; its path,
// or nothing after the message. A purge's backup carries the purged year in its name.
std::optional<QString> makeBackup(const std::optional<int>& purgeYear) {
  const std::optional<LinkSpec> link = workoutLink();
  if (!link) return std::nullopt;
  Connection workout(*link, Connection::uniqueName(QStringLiteral("backup-cmd")));
  if (!workout.open()) {
    MENSAGEM(kInfo, kErroBackup, workout.lastError());
    return std::nullopt;
  }
  QString why;
  std::optional<QString> file;
  try {
    dropScratchTables(workout.database(), workout.dialect());
  } catch (const SqlError& e) {
    why = e.text();
  }
  if (why.isEmpty()) {
    const QDateTime now = QDateTime::currentDateTime();
    file = link->provider == Provider::SQLite
               ? backupSqlite(workout.database(), backupFolder(), now, &why)
               : backupPostgres(*link, backupFolder(), now, kPostgresLibrary, &why);
    if (file && purgeYear) {
      const QString renamed =
          QDir(backupFolder()).filePath(purgeBackupFileName(now, *purgeYear));
      if (!QFile::rename(*file, renamed)) {
        QFile::remove(*file);
        file.reset();
        why = QStringLiteral("O backup não pôde ser renomeado");
      } else {
        file = renamed;
      }
    }
  }
  workout.release();
  if (!file) MENSAGEM(kInfo, kErroBackup, why);
  return file;
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
  const std::optional<QString> file = makeBackup(std::nullopt);
  if (!file) return 1;
  const QStringList removed = removeOldBackups(backupFolder(), QDate::currentDate());
  if (!copyTo.isEmpty()) {
    // A copy on another volume never replaces a file already there.
    const QString copy = QDir(copyTo).filePath(QFileInfo(*file).fileName());
    if (!QFileInfo(copyTo).isDir() || QFile::exists(copy) || !QFile::copy(*file, copy)) {
      MENSAGEM(kInfo, kErroBackup,
               QStringLiteral("\rUnidade inválida -> ") + copyTo + QStringLiteral(" ou \r") +
                   QStringLiteral("Unidade de Gravação cheia !!!"));
      return 1;
    }
    removeOldBackups(copyTo, QDate::currentDate());
  }
  print(out, QStringLiteral("Backup realizado com sucesso ! %1").arg(*file));
  if (!removed.isEmpty())
    print(out, QStringLiteral("Backups antigos removidos: %1").arg(removed.join(QStringLiteral(", "))));
  return 0;
}

int runRestoreCommand(const QStringList& args, FILE* out, FILE* err) {
  if (args.size() != 1) {
    print(err, QStringLiteral("Uso: vantrel restore ARQUIVO"));
    return 2;
  }
  const QString file = QFileInfo(args[0]).absoluteFilePath();
  if (!restorableName(file)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Extensão Inaválida"));
    return 1;
  }
  const std::optional<LinkSpec> link = workoutLink();
  if (!link) return 1;
  QString why;
  const bool restored = link->provider == Provider::SQLite
                            ? restoreSqlite(link->dataSource, file, &why)
                            : restorePostgres(*link, file, kPostgresLibrary, &why);
  if (!restored) {
    MENSAGEM(kInfo, QStringLiteral("Erro ao fazer o Restore !"), why);
    return 1;
  }
  print(out, QStringLiteral("Restore realizado com sucesso !"));
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
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Ano selecionado não pode ser esvaziado"));
    return 1;
  }
  // Nothing is emptied without a backup that was checked first.
  const std::optional<QString> file = makeBackup(*year);
  if (!file) return 1;
  print(out, QStringLiteral("Backup realizado com sucesso ! %1").arg(*file));
  const std::optional<LinkSpec> link = workoutLink();
  if (!link) return 1;
  Connection workout(*link, Connection::uniqueName(QStringLiteral("purge-cmd")));
  if (!workout.open()) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("Banco de Dados"));
    return 1;
  }
  const std::optional<int> deleted = purgeSeries(workout.database(), *year);
  if (deleted) {
    // Give the space back: the freed pages are returned to the file system.
    sqlRuns(workout.database(), QStringLiteral("VACUUM"));
  }
  workout.release();
  if (!deleted) return 1;
  print(out, QStringLiteral("Fim de Processo ! %1 linha(s) removida(s) até %2").arg(*deleted).arg(*year));
  return 0;
}
