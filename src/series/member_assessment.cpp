#include "series/member_assessment.h"

#include <QLocale>
#include <QSqlQuery>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/sql.h"

namespace {

// A number as the sheet writes it: Brazilian decimals, no trailing zeros.
QString numberText(double value) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return brazil.toString(value, 'g', 15);
}

}  // namespace

QString objectivesText(const QSqlRecord& anamnese) {
  static const std::pair<const char*, const char*> kObjectives[] = {
      {"A_OBJPOSTURAL", "Postural - "},
      {"A_OBJGANHO", "Ganho de Massa Muscular - "},
      {"A_OBJESTRESS", "Anti-Estress - "},
      {"A_OBJTERAPEUTICO", "Terapêutico - "},
      {"A_OBJPERDA", "Perda de Gordura - "},
      {"A_OBJESTETICO", "Estético - "},
      {"A_OBJFISICO", "Condicionamento Físico - "},
      {"A_OBJDEFINICAO", "Definição Muscular - "},
      {"A_OBJENDURECIMENTO", "Enrijecimento Muscular - "}};
  QString text;
  for (const auto& [column, words] : kObjectives)
    if (anamnese.value(QString::fromLatin1(column)).toBool()) text += QString::fromUtf8(words);
  if (anamnese.value(QStringLiteral("A_OBJOUTROS")).toBool())
    text += anamnese.value(QStringLiteral("A_OBJQUAL")).toString();
  return text;
}

SheetAssessment readSheetAssessment(const QSqlDatabase& assessmentDb, const QString& matricula,
                                    int months) {
  SheetAssessment values;
  QSqlQuery anamnese =
      runSql(assessmentDb,
             QStringLiteral("SELECT * FROM ANAMNESE WHERE MATRICULA = ? AND DATAEXAME IN (SELECT "
                            "MAX(DATAEXAME) FROM ANAMNESE WHERE MATRICULA = ?)"),
             {matricula, matricula});
  if (anamnese.next()) {
    values.objetivos = objectivesText(anamnese.record());
    values.proximaReavaliacao =
        anamnese.record().value(QStringLiteral("DATAEXAME")).toDate().addMonths(months);
  }
  QSqlQuery corporal = runSql(
      assessmentDb,
      QStringLiteral("SELECT DATAEXAME, G_TIPO, G_3DOBRASGORDURA_A, G_7DOBRASGORDURA_A, G_PESO "
                     "FROM CORPORAL WHERE (G_TIPO = '3' OR G_TIPO = '7') AND MATRICULA = ? AND "
                     "DATAEXAME IN (SELECT MAX(DATAEXAME) FROM CORPORAL WHERE MATRICULA = ?)"),
      {matricula, matricula});
  if (corporal.next()) {
    values.peso = numberText(corporal.value(4).toDouble());
    values.gordura = numberText(corporal.value(1).toString() == QStringLiteral("3")
                                    ? corporal.value(2).toDouble()
                                    : corporal.value(3).toDouble());
    values.proximaReavaliacao = corporal.value(0).toDate().addMonths(months);
  }
  return values;
}

Result<SheetAssessment> memberAssessment(const Settings& settings, const QString& matricula) {
  if (!settings.assessmentIntegration()) return SheetAssessment{};
  const bool alone = settings.membersKeptHere();
  Connection assessment(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("ficha")));
  std::optional<SheetAssessment> values;
  QString cause;
  if (assessment.open()) {
    try {
      int months = 0;
      if (alone) {
        months = scalarSql(assessment.database(),
                           QStringLiteral("SELECT TEMPO_REAVALIACAO FROM SAVCVAR"))
                     .toInt();
      } else {
        Connection gym(DataSource::Brisca, Connection::uniqueName(QStringLiteral("ficha-prazo")));
        if (!gym.open()) throw SqlError(gym.lastError());
        months =
            scalarSql(gym.database(), QStringLiteral("SELECT PRAZOAVALFUN FROM SACVAR")).toInt();
        gym.release();
      }
      values = readSheetAssessment(assessment.database(), matricula, months);
    } catch (const SqlError& e) {
      values.reset();
      cause = e.text();
    }
  } else {
    cause = assessment.lastError();
  }
  assessment.release();
  if (!values)
    return Failure{
        Msg::TamselInativo, {}, QStringLiteral("Avaliação do aluno %1: %2").arg(matricula, cause)};
  return *values;
}
