// The demonstration gym's physical assessments: two members assessed several times, so every
// section of the assessment printout, and the comparison of body compositions, can be tried at
// once on a new installation.
#pragma once

#include <QSqlDatabase>

// Fills a new assessment database: the assessment program's settings, its users, the postural
// findings it knows, two members with their assessments. Runs inside the caller's transaction;
// throws SqlError on failure.
void addDemoAssessments(const QSqlDatabase& assessmentDb);

// The gym's activities that the demonstration assessments prescribe, when the gym-management
// database has none yet. Throws SqlError.
void addDemoActivities(const QSqlDatabase& gymDb);
