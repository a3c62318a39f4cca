// The assessment values of every member of a bulk run at once: the values memberAssessment gives
// one member at a time, read in one query over one connection for the whole run.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "data/settings_record.h"
#include "series/member_assessment.h"

// Every assessed member's values by registration number, `months` being the reassessment period;
// a member without a row has the blank values. Throws SqlError.
QHash<QString, SheetAssessment> readAllAssessments(const QSqlDatabase& assessmentDb, int months);

// The same from the installation's assessment database, with the reassessment period where the
// settings keep it. Nothing, silently, when the assessment database cannot be read.
std::optional<QHash<QString, SheetAssessment>> allMemberAssessments(const Settings& settings);
