// The files of a database on disk, as backups and restores handle them.
#pragma once

#include <QString>

// Removes the file and the journals SQLite may keep beside it.
void removeDatabaseFiles(const QString& path);

// Flushes a file the program wrote to the disk, so a name it is about to get never points at
// data still in memory when the power goes.
bool syncFileToDisk(const QString& path);
