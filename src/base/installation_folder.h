// Where the program keeps its data-link files, embedded databases, log and scratch files.
#pragma once

#include <QString>

// The installation folder: $VANTREL_HOME, or $XDG_DATA_HOME/vantrel
// (~/.local/share/vantrel) when it is not set.
QString installationFolder();

// The installation holds password hashes, members' personal data and server passwords: its
// folder is 0700 and every file the program writes there 0600, whatever the umask.
// Creates the folder when missing and tightens it when it is open to others; false when it
// cannot be created.
bool makeInstallationFolder();
// The same for a folder inside it (SA/, the backups).
bool makePrivateFolder(const QString& path);
// Makes an existing file readable and writable by its owner alone.
void makePrivateFile(const QString& path);
