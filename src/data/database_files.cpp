#include "data/database_files.h"

#include <QFile>

#include <unistd.h>

void removeDatabaseFiles(const QString& path) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    QFile::remove(path + QString::fromLatin1(suffix));
}

bool syncFileToDisk(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;
  return ::fsync(file.handle()) == 0;
}
