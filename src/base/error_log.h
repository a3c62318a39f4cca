// The error log: vantrel.log in the installation folder, one line per event.
#pragma once

#include <QString>

// Appends "<date> <time>: <message>" to the log, creating it when missing.
// Never fails loudly: a log that cannot be written is not the user's problem.
void appendToLog(const QString& message);

// Where the log is written (tests point VANTREL_HOME elsewhere).
QString logFilePath();
