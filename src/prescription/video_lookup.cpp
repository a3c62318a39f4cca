#include "prescription/video_lookup.h"

#include <QFileInfo>

#include "data/sql.h"

VideoToShow videoToShow(const QSqlDatabase& workoutDb, const QString& code, bool aerobic) {
  const QString path =
      scalarSql(workoutDb,
                QStringLiteral("SELECT Caminho_Video FROM Exercicios WHERE Tipo = ? AND Codigo = ?"),
                {aerobic ? QStringLiteral("S") : QStringLiteral("N"), code})
          .toString();
  if (path.isEmpty()) return {};
  return {QFileInfo(path).isFile() ? VideoToShow::Play : VideoToShow::Missing, path};
}
