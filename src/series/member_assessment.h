// The member's latest assessment as series show it (objectives, weight, fat, the date of the
// next assessment), read from the assessment database: the sheet prints it, the portal
// publishes it.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <optional>

#include "base/failure.h"
#include "data/settings_record.h"

struct SheetAssessment {
  QString objetivos;
  QString peso;
  QString gordura;
  QDate proximaReavaliacao;
};

// The objectives of an anamnesis row, in the order the sheet prints them.
QString objectivesText(const QSqlRecord& anamnese);

// The assessment values of the member from the assessment database; `months` is the
// reassessment period. Throws SqlError.
SheetAssessment readSheetAssessment(const QSqlDatabase& assessmentDb, const QString& matricula,
                                    int months);

// The member's assessment values when the integration is on; blank values when it is off.
// "Tamsel não está Ativo ..." when the assessment database cannot be read.
Result<SheetAssessment> memberAssessment(const Settings& settings, const QString& matricula);
