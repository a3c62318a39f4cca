// Dates as the user types them: "dd/mm/yyyy" in a mask that may still hold blanks.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Blanks around the parts are ignored, so "1 /2 /1990" is 01/02/1990; two-digit years fall in
// the last hundred years. nullopt when the text is not a date.
std::optional<QDate> parseTypedDate(const QString& text);

QString formatTypedDate(const QDate& date);

// True for an empty date field or one holding only the mask.
bool isBlankDate(const QString& text);
