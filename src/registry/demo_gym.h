// A small believable gym for trying the program at once: instructors and other staff,
// members with photos, muscle groups, strength and aerobic exercises, the evaluators'
// agenda and a few saved series.
#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QVariantMap>

// Settings of the demonstration gym (merged over the defaults of a new installation).
QVariantMap demoGymSettings();

// Adds the demonstration gym to a new workout database. Runs inside the caller's
// transaction; throws SqlError on failure.
void addDemoGym(const QSqlDatabase& db);

// The same people in a new gym-management database, with photos and an entrance log in which
// a few members stayed away exactly as long as the absent-member warning counts.
void addDemoGymManagement(const QSqlDatabase& gymDb);

// A portrait placeholder drawn for the demonstration: a coloured card with the initials, as
// JPEG bytes.
QByteArray demoPhoto(const QString& name, int seed);

// A valid CPF (taxpayer number), masked as 000.000.000-00, built from a nine-digit seed.
QString demoCpf(int seed);
