// Members' e-mail addresses: the check every address passes before mail goes to it, the
// cleaning of a typed recipient list, the groups of ten blind copies, and the address file
// email.doc through which the lists hand their addresses to the e-mail window.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The address check. An empty address passes. Rejected: no "@" or no "."; the first "@" or
// the first "." at either end; a blank anywhere; the first "@" and the first "." side by
// side; any of ! # $ % ¨ & * ( ) + = § ¬ ¢ ¹ ² ³ £ ´ ` ç Ç , ; : < > ~ ^ ? / | [ ] { } º ª °;
// ".."; two "@"; a "." at the end; ".", "_" or "-" at the start; the first "com", the first
// "-" or the first "_" right beside the first "@". A character Windows-1252 cannot hold
// counts as "?", and control characters (a line break would start another SMTP command) are
// refused too.
bool ValidaEMail(const QString& address);

// The addresses of a recipient text: the pieces between ";", without surrounding blanks,
// each kept once (case ignored) and in order when it is not empty and passes ValidaEMail.
QStringList cleanRecipients(const QString& text);

// The addresses cut into groups of ten, in order; the last group holds the rest.
QList<QStringList> groupsOfTen(const QStringList& addresses);

// "Enviando e-mail... 00001/00003": group k of n, counting from 1.
QString sendingProgressText(int group, int groups);

// email.doc in the installation folder.
QString addressFilePath();

// The recipient text held by the address file: its lines in order, each once, each ending
// with ";" (a line written without one does not run into the next). Blank lines are
// skipped. Nothing when the file cannot be read.
std::optional<QString> readAddressFile(const QString& path = addressFilePath());

// Writes the address file as UTF-8, one address per line followed by ";", replacing the
// previous one whole (a failed write leaves the old file in place). False when it cannot be
// written.
bool writeAddressFile(const QStringList& addresses, const QString& path = addressFilePath());
