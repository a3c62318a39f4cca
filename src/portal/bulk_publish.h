// Publishing in bulk: every member whose series changed within a period is copied to the
// members' portal in one portal transaction. Rows are matched on their key columns in sets (the
// period's rows go to a scratch table of the portal connection, then one update and one insert
// per table), never one round trip per row, so publishing the same period twice changes nothing
// and a large gym is published in seconds.
#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "series/member_assessment.h"

struct BulkMember {
  QString matricula;
  QString nome;
  QString cpf;  // as stored in the member's record, maybe with dots and a dash
  QString email;
};

struct BulkInput {
  QDate from;
  QDate to;
  int customer = 0;
  QString academia;
  QList<BulkMember> members;
  QHash<QString, QString> staffNames;  // registration number -> name
  // The assessment values of every member, read once for the whole run, when the integration is
  // on; unset when it is off. Nothing when they cannot be read: the portal's then stay as they
  // are.
  std::function<std::optional<QHash<QString, SheetAssessment>>()> assessments;
};

struct BulkSummary {
  int published = 0;    // members whose record and rows went to the portal
  int skipped = 0;      // members without a valid CPF
  int rowsWritten = 0;  // series rows added or changed
  int rowsRemoved = 0;  // older series rows removed
};

// Step one of the selection, on the workout database: the members with a series row (aerobic,
// strength or stretching) dated within the period. Throws SqlError.
QStringList membersWithSeriesIn(const QSqlDatabase& workoutDb, const QDate& from,
                                const QDate& to);
// Step two, on the database that holds the members: their name, CPF and e-mail. Throws SqlError.
QList<BulkMember> memberDetails(const QSqlDatabase& peopleDb, const QString& membersTable,
                                const QStringList& matriculas);

// The CPF a member is published under in bulk: dots and dashes taken out; nothing when it is not
// a valid CPF (such members are never published in bulk).
std::optional<QString> bulkCpf(const QString& stored);

// The run, in one transaction of `portalDb`: the gym's record (its name refreshed), each member's
// record (found by CPF), then the period's aerobic, strength and stretching rows, and the older
// dates removed. `progress` is told each member's position. Throws SqlError (the caller rolls
// back).
BulkSummary publishPeriod(const QSqlDatabase& workoutDb, const QSqlDatabase& portalDb,
                          const BulkInput& input,
                          const std::function<void(int done, int total)>& progress = {});
