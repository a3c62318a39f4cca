// The members' web portal: a database shared by many gyms, each told apart by its customer
// number, where members read their series. Whenever the series builder saves a block it copies
// that block to the portal, then refreshes the member's own portal record and makes sure the
// gym's record exists. The portal keeps, per member, only the latest date of each workout
// letter, of the stretching of each letter and of the aerobic block.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

#include "series/member_assessment.h"
#include "series/series_save.h"

// Who is being published, and for which gym.
struct PortalContext {
  int customer = 0;  // CLIENTE, as a whole number
  QString academia;
  QString matricula;
  QString cpf;  // digits only as the builder keeps it; may be empty
  QString nome;
  QString email;
  // The assessment values when the integration is on; `assessmentFailed` when it is on but the
  // assessment database could not be read (the member's record is then not refreshed).
  std::optional<SheetAssessment> assessment;
  bool assessmentFailed = false;
};

// The gym's record on the portal, added when missing; a record another workstation adds at the
// same moment is taken as it is. Throws SqlError.
void ensureCustomerRecord(const QSqlDatabase& portalDb, int customer, const QString& academia);

// CLIENTE of the settings as the portal stores it.
int portalCustomer(std::optional<double> cliente);

// Runs `work` in one transaction on a portal connection opened and closed here. A failure rolls
// the portal back and gives "Gravando na tabela !" with `table`; a portal that cannot be reached
// gives the technical-assistance message.
Outcome publishOnPortal(const QString& table, const std::function<void(const QSqlDatabase&)>& work);

// The strength rows of a save (those with content, numbered 1, 2, 3 ...) replace today's portal
// rows of the member, letter and gym; older dates of the letter go. Throws SqlError.
void publishWorkoutRows(const QSqlDatabase& portalDb, const PortalContext& who,
                        const WorkoutSave& save);
// Today's portal aerobic rows follow the block: prescribed rows added or edited, the others'
// rows of today removed; older dates go. Throws SqlError.
void publishAerobicRows(const QSqlDatabase& portalDb, const PortalContext& who,
                        const QString& professor, const QDate& today, const WeekdayFlags& days,
                        const QList<AerobicRow>& rows);
// The stretching choice of a letter as today's portal row (added, or edited when the latest one
// is of today); older dates of the letter go. Throws SqlError.
void publishStretchingRow(const QSqlDatabase& portalDb, const PortalContext& who,
                          const QString& letter, const QDate& today, const StretchChoice& choice);

// The member's portal record (found by registration number and CPF or e-mail; created when
// missing) and the gym's record (created when missing, otherwise left alone). Throws SqlError.
void Portal_Aluno(const QSqlDatabase& portalDb, const PortalContext& who);
