// Which video an exercise of the series on screen opens: the catalogue's path for the exercise
// of that kind (aerobic "S" or strength "N"), and whether the file is there to be played.
#pragma once

#include <QSqlDatabase>
#include <QString>

struct VideoToShow {
  enum Kind {
    None,     // the exercise has no video: nothing happens
    Missing,  // a path whose file is not there: "Arquivo Video inexistente !"
    Play,
  };
  Kind kind = None;
  QString path;
};

// Throws SqlError.
VideoToShow videoToShow(const QSqlDatabase& workoutDb, const QString& code, bool aerobic);
