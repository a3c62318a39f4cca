// A member's photo in a window's picture frame, read from the photo table of the database that
// holds the members.
#pragma once

#include <QSqlDatabase>
#include <QString>

class QLabel;

// Shows the photo of `matricula` from FotosAlunos on `db`: a row without a photo, or one that
// does not decode, clears the frame; no row at all leaves it as it was. Throws SqlError.
void showMemberPhoto(QLabel* frame, const QSqlDatabase& db, const QString& matricula);
