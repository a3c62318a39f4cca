#include "printouts/series_on_screen.h"

#include <QLocale>

#include "data/sql.h"

SeriesOnScreen readSeriesOnScreen(const QSqlDatabase& workoutDb, const QSqlDatabase& peopleDb,
                                  const QString& staff, const Settings& settings,
                                  const QString& matricula, const QString& nome,
                                  const QString& letter) {
  SeriesOnScreen screen;
  screen.matricula = matricula;
  screen.nome = nome;
  screen.tempoSerie = settings.tempoSerie;
  screen.series = readDatedSeries(workoutDb, matricula, letter, std::nullopt);
  if (screen.series.strength.isEmpty()) return screen;
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  screen.dataInicio = brazil.toString(screen.series.strengthDate, QStringLiteral("dd / MMMM / yyyy"));
  screen.reavaliacao = settings.reassessmentOff()
                           ? QStringLiteral("    /       /")
                           : screen.series.changeDate.toString(QStringLiteral("dd/MM/yyyy"));
  const QVariant instructor =
      scalarSql(peopleDb, QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(staff),
                {screen.series.strength.first().professor});
  screen.professor = instructor.isValid() ? instructor.toString() : QStringLiteral("Excluído");
  return screen;
}
