// Where the program keeps its data-link files, embedded databases, log and scratch files.
#pragma once

#include <QString>

// The installation folder: $VANTREL_HOME, or $XDG_DATA_HOME/vantrel
// (~/.local/share/vantrel) when it is not set.
QString installationFolder();
