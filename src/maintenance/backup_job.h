// The backup, restore and purge of the installation's workout database as whole jobs, the same
// for the windows and the command line. A job opens connections of its own and tells nobody, so
// a window may run it on a worker thread; what went wrong comes back in the program's words.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "base/failure.h"

// Where the backups of the installation are kept: the "Backup" folder of the installation.
QString backupFolder();

// A place a backup may also be copied to: a mounted volume the program may write to. The first
// place offered is always the backup folder itself, which means "no copy".
struct BackupPlace {
  QString label;  // as the list shows it
  QString path;   // the folder; for the backup folder, the folder itself
  bool backupFolder = false;
};
Q_DECLARE_METATYPE(BackupPlace)

// What a mounted volume is, as far as offering it for a copy goes.
struct VolumeFacts {
  QString rootPath;
  QString fileSystemType;
  QString name;
  bool valid = false;
  bool ready = false;
  bool readOnly = false;
  bool writable = false;  // this user may create files at its root
};

// Volumes that hold files a user would keep (not the kernel's own file systems, not read-only,
// writable here), in the order given.
QList<VolumeFacts> volumesOffered(const QList<VolumeFacts>& mounted);

// The backup folder and then the volumes of this machine a copy may go to.
QList<BackupPlace> backupPlaces();

// Whether a place chosen a while ago can still take a copy (a removable disk may be gone).
bool placeUsable(const BackupPlace& place);

struct BackupRequest {
  std::optional<int> purgeYear;   // a purge's backup: the year goes into the file's name
  std::optional<QString> copyTo;  // another volume to copy the backup to (never overwriting)
  bool cleanUp = true;            // the fifteen-day clean-up of the folders written to
};

struct BackupOutcome {
  std::optional<QString> file;  // the checked backup; nothing when the job failed
  QString copy;                 // the copy on the other volume, when one was asked for
  QStringList removed;          // old backups removed by the clean-up
  QStringList droppedTables;    // scratch tables dropped before the copy
  QString detail;               // when it failed: the detail of "Erro ao fazer o Backup !"
  bool copyFailed = false;      // the backup was made but the copy on the other volume was not
};

// Stages of a job as the user reads them while it runs.
using JobStage = std::function<void(const QString& stage)>;

// Drops the scratch tables, backs the workout database up into the backup folder (checked before
// it counts), copies it to the other volume and cleans old backups up. A copy that cannot be
// made fails the job (the backup in the backup folder stays: it is sound).
BackupOutcome backUpWorkoutDatabase(const BackupRequest& request, const JobStage& stage = {});

// The detail of a copy that could not be made on `place`.
QString copyFailureDetail(const QString& place);
// The detail of a place that cannot take a copy.
QString unusablePlaceDetail(const QString& place);

// Puts the workout database back to the backup `file`, through the restore's own data-link
// file. The program's connections to the database must be closed first. False with the reason.
bool restoreWorkoutDatabase(const QString& file, QString* why, const JobStage& stage = {});

// Empties the series dated in `year` or before (one transaction; "Gravando na tabela !" /
// "Banco de Dados" when it fails) and then gives the freed space back. Rows deleted, or what
// failed.
Result<int> purgeWorkoutDatabase(int year, const JobStage& stage = {});
