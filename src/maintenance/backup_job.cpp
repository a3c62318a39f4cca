#include "maintenance/backup_job.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include "base/error_log.h"
#include "base/installation_folder.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/dialect.h"
#include "data/link_file.h"
#include "data/sql.h"
#include "maintenance/backup_rules.h"
#include "maintenance/backup_store.h"

namespace {

const QString kPostgresLibrary = QStringLiteral("/usr/lib/postgresql");
const QString kBancoDeDados = QStringLiteral("Banco de Dados");

// File systems of the kernel and of the session, never a place for a user's files.
const QStringList kSystemFileSystems = {
    QStringLiteral("proc"),        QStringLiteral("sysfs"),          QStringLiteral("devtmpfs"),
    QStringLiteral("devpts"),      QStringLiteral("tmpfs"),          QStringLiteral("cgroup"),
    QStringLiteral("cgroup2"),     QStringLiteral("securityfs"),     QStringLiteral("debugfs"),
    QStringLiteral("tracefs"),     QStringLiteral("pstore"),         QStringLiteral("bpf"),
    QStringLiteral("mqueue"),      QStringLiteral("hugetlbfs"),      QStringLiteral("configfs"),
    QStringLiteral("fusectl"),     QStringLiteral("autofs"),         QStringLiteral("binfmt_misc"),
    QStringLiteral("overlay"),     QStringLiteral("squashfs"),       QStringLiteral("efivarfs"),
    QStringLiteral("ramfs"),       QStringLiteral("nsfs"),           QStringLiteral("rpc_pipefs"),
    QStringLiteral("fuse.portal"), QStringLiteral("fuse.gvfsd-fuse")};

void tell(const JobStage& stage, const QString& text) {
  if (stage) stage(text);
}

std::optional<LinkSpec> linkOf(DataSource source, QString* why) {
  const LinkParse link = readLinkFile(linkFilePath(source));
  if (!link.linkSpec) *why = link.error;
  return link.linkSpec;
}

VolumeFacts factsOf(const QStorageInfo& volume) {
  VolumeFacts facts;
  facts.rootPath = volume.rootPath();
  facts.fileSystemType = QString::fromUtf8(volume.fileSystemType());
  facts.name = volume.name();
  facts.valid = volume.isValid();
  facts.ready = volume.isReady();
  facts.readOnly = volume.isReadOnly();
  facts.writable = QFileInfo(volume.rootPath()).isWritable();
  return facts;
}

QString placeLabel(const VolumeFacts& volume) {
  return volume.name.isEmpty() ? volume.rootPath
                               : QStringLiteral("%1 (%2)").arg(volume.rootPath, volume.name);
}

// The backup of the database of `link` into the backup folder, named for `at`; a purge's backup
// is renamed with its year before it counts.
std::optional<QString> checkedBackup(const LinkSpec& link, const Connection& workout,
                                     const BackupRequest& request, QString* why) {
  const QDateTime now = QDateTime::currentDateTime();
  std::optional<QString> file =
      backupDatabase(workout.database(), link, backupFolder(), now, kPostgresLibrary, why);
  if (!file || !request.purgeYear) return file;
  const QString renamed =
      QDir(backupFolder()).filePath(purgeBackupFileName(now, *request.purgeYear));
  if (!QFile::rename(*file, renamed)) {
    QFile::remove(*file);
    *why = QStringLiteral("O backup não pôde ser renomeado para %1").arg(renamed);
    return std::nullopt;
  }
  return renamed;
}

// A copy on another volume never replaces a file already there, and counts only when it is
// whole.
bool copyBackup(const QString& file, const QString& folder, QString* copy) {
  *copy = QDir(folder).filePath(QFileInfo(file).fileName());
  if (!QFileInfo(folder).isDir() || QFile::exists(*copy)) return false;
  // Under a partial name until whole, so a pen drive pulled out midway never holds a file a
  // restore would take; owner-only like the backup itself.
  const QString partial = partialBackupPath(*copy);
  QFile::remove(partial);
  if (QFile::copy(file, partial) && QFileInfo(partial).size() == QFileInfo(file).size()) {
    makePrivateFile(partial);
    if (QFile::rename(partial, *copy)) return true;
  }
  QFile::remove(partial);
  return false;
}

}  // namespace

QString backupFolder() {
  return QDir(installationFolder()).filePath(QStringLiteral("Backup"));
}

QList<VolumeFacts> volumesOffered(const QList<VolumeFacts>& mounted) {
  QList<VolumeFacts> offered;
  for (const VolumeFacts& volume : mounted) {
    if (!volume.valid || !volume.ready || volume.readOnly || !volume.writable) continue;
    if (kSystemFileSystems.contains(volume.fileSystemType)) continue;
    offered.append(volume);
  }
  return offered;
}

QList<BackupPlace> backupPlaces() {
  QList<BackupPlace> places{
      {QStringLiteral("Pasta de Backup (%1)").arg(backupFolder()), backupFolder(), true}};
  QList<VolumeFacts> mounted;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) mounted.append(factsOf(volume));
  for (const VolumeFacts& volume : volumesOffered(mounted))
    places.append({placeLabel(volume), volume.rootPath, false});
  return places;
}

bool placeUsable(const BackupPlace& place) {
  if (place.backupFolder) return true;
  const QFileInfo folder(place.path);
  return folder.isDir() && folder.isWritable();
}

QString copyFailureDetail(const QString& place) {
  return QStringLiteral("\rUnidade inválida -> ") + place + QStringLiteral(" ou \r") +
         QStringLiteral("Unidade de Gravação cheia !!!");
}

QString unusablePlaceDetail(const QString& place) {
  return QStringLiteral("\rUnidade inválida -> ") + place;
}

BackupOutcome backUpWorkoutDatabase(const BackupRequest& request, const JobStage& stage) {
  BackupOutcome outcome;
  const std::optional<LinkSpec> link = linkOf(DataSource::Vantrel, &outcome.detail);
  if (!link) return outcome;
  Connection workout(*link, Connection::uniqueName(QStringLiteral("backup")));
  if (!workout.open()) {
    outcome.detail = workout.lastError();
    return outcome;
  }
  // Scratch tables left behind by a window that never closed are not worth keeping.
  tell(stage, QStringLiteral("Removendo tabelas temporárias..."));
  try {
    outcome.droppedTables = dropScratchTables(workout.database(), workout.dialect());
  } catch (const SqlError& e) {
    outcome.detail = e.text();
    workout.release();
    return outcome;
  }
  tell(stage, QStringLiteral("Gravando e conferindo o backup..."));
  outcome.file = checkedBackup(*link, workout, request, &outcome.detail);
  workout.release();
  if (!outcome.file) return outcome;

  const QDate today = QDate::currentDate();
  if (request.cleanUp) {
    tell(stage, QStringLiteral("Removendo backups antigos..."));
    outcome.removed = removeOldBackups(backupFolder(), today);
  }
  if (request.copyTo) {
    tell(stage, QStringLiteral("Copiando para %1...").arg(*request.copyTo));
    if (!copyBackup(*outcome.file, *request.copyTo, &outcome.copy)) {
      outcome.detail = copyFailureDetail(*request.copyTo);
      outcome.copyFailed = true;
      outcome.file.reset();
      return outcome;
    }
    if (request.cleanUp) outcome.removed += removeOldBackups(*request.copyTo, today);
  }
  return outcome;
}

bool restoreWorkoutDatabase(const QString& file, QString* why, const JobStage& stage) {
  const std::optional<LinkSpec> link = linkOf(DataSource::RestoreBackup, why);
  if (!link) return false;
  tell(stage, QStringLiteral("Conferindo e restaurando o backup..."));
  return restoreDatabase(*link, file, kPostgresLibrary, why);
}

Result<int> purgeWorkoutDatabase(int year, const JobStage& stage) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("purge")));
  if (!workout.open()) return Failure{Msg::GravandoNaTabela, kBancoDeDados, workout.lastError()};
  tell(stage, QStringLiteral("Esvaziando as séries até %1...").arg(year));
  const Result<int> deleted = purgeSeries(workout.database(), year);
  if (deleted) {
    // The rows are gone for good either way; a shrink that fails only leaves the space unused.
    tell(stage, QStringLiteral("Compactando o banco de dados..."));
    try {
      for (const QString& sql : workout.dialect().shrinkSql()) runSql(workout.database(), sql);
    } catch (const SqlError& e) {
      appendToLog(QStringLiteral("Compactação após esvaziar %1: %2").arg(year).arg(e.text()));
    }
  }
  workout.release();
  return deleted;
}
