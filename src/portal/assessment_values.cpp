#include "portal/assessment_values.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

#include "data/connection.h"
#include "data/sql.h"

namespace {

// A number as the sheet writes it: Brazilian decimals, no trailing zeros.
QString numberText(double value) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return brazil.toString(value, 'g', 15);
}

// The reassessment period in months, from the assessment database when the program runs alone,
// from the gym's otherwise.
int reassessmentMonths(const Settings& settings, const QSqlDatabase& assessmentDb) {
  if (settings.membersKeptHere())
    return scalarSql(assessmentDb, QStringLiteral("SELECT TEMPO_REAVALIACAO FROM SAVCVAR")).toInt();
  Connection gym(DataSource::Brisca, Connection::uniqueName(QStringLiteral("publica-prazo")));
  if (!gym.open()) throw SqlError(gym.lastError());
  const int months =
      scalarSql(gym.database(), QStringLiteral("SELECT PRAZOAVALFUN FROM SACVAR")).toInt();
  gym.release();
  return months;
}

}  // namespace

QHash<QString, SheetAssessment> readAllAssessments(const QSqlDatabase& assessmentDb, int months) {
  // Each member's latest anamnesis and latest body assessment of the three- or seven-fold kind
  // (the latest assessment of any kind decides the date), side by side.
  QSqlQuery rows = runSql(
      assessmentDb,
      QStringLiteral(
          "SELECT m.MATRICULA AS AVALIADO, a.*, c.DATAEXAME AS C_DATAEXAME, c.G_TIPO AS C_TIPO, "
          "c.G_3DOBRASGORDURA_A AS C_GORDURA3, c.G_7DOBRASGORDURA_A AS C_GORDURA7, c.G_PESO AS "
          "C_PESO FROM (SELECT MATRICULA FROM ANAMNESE UNION SELECT MATRICULA FROM CORPORAL) m "
          "LEFT JOIN (SELECT MATRICULA, MAX(DATAEXAME) AS ULTIMO FROM ANAMNESE GROUP BY "
          "MATRICULA) ua ON ua.MATRICULA = m.MATRICULA LEFT JOIN ANAMNESE a ON a.MATRICULA = "
          "m.MATRICULA AND a.DATAEXAME = ua.ULTIMO LEFT JOIN (SELECT MATRICULA, MAX(DATAEXAME) AS "
          "ULTIMO FROM CORPORAL GROUP BY MATRICULA) uc ON uc.MATRICULA = m.MATRICULA LEFT JOIN "
          "CORPORAL c ON c.MATRICULA = m.MATRICULA AND (c.G_TIPO = '3' OR c.G_TIPO = '7') AND "
          "c.DATAEXAME = uc.ULTIMO"));
  QHash<QString, SheetAssessment> all;
  while (rows.next()) {
    const QSqlRecord row = rows.record();
    const QString matricula = row.value(QStringLiteral("AVALIADO")).toString();
    if (all.contains(matricula)) continue;  // the first row of a member stands
    SheetAssessment values;
    if (!row.isNull(QStringLiteral("MATRICULA"))) {
      values.objetivos = objectivesText(row);
      values.proximaReavaliacao = row.value(QStringLiteral("DATAEXAME")).toDate().addMonths(months);
    }
    if (!row.isNull(QStringLiteral("C_DATAEXAME"))) {
      values.peso = numberText(row.value(QStringLiteral("C_PESO")).toDouble());
      values.gordura =
          numberText(row.value(QStringLiteral("C_TIPO")).toString() == QStringLiteral("3")
                         ? row.value(QStringLiteral("C_GORDURA3")).toDouble()
                         : row.value(QStringLiteral("C_GORDURA7")).toDouble());
      values.proximaReavaliacao =
          row.value(QStringLiteral("C_DATAEXAME")).toDate().addMonths(months);
    }
    all.insert(matricula, values);
  }
  return all;
}

std::optional<QHash<QString, SheetAssessment>> allMemberAssessments(const Settings& settings) {
  if (!settings.assessmentIntegration()) return QHash<QString, SheetAssessment>{};
  Connection assessment(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("publica-av")));
  std::optional<QHash<QString, SheetAssessment>> values;
  if (assessment.open()) {
    try {
      values = readAllAssessments(assessment.database(),
                                  reassessmentMonths(settings, assessment.database()));
    } catch (const SqlError&) {
      values.reset();
    }
  }
  assessment.release();
  return values;
}
