// Reading a PDF back as text, the way a person would read the printed page: pdftotext -layout.
#pragma once

#include <QString>
#include <QStringList>

// The text of the whole file, or of pages `first` to `last` (from 1). A failure to run
// pdftotext is a test failure and gives an empty text.
QString pdfText(const QString& file, int first = 0, int last = 0);

// The non-blank lines of the text, each without surrounding blanks.
QStringList pdfLines(const QString& file, int first = 0, int last = 0);

// The number of pages, from pdfinfo; 0 when it cannot be read.
int pdfPageCount(const QString& file);
