#include "prescription/series_service.h"

#include "series/member_assessment.h"

std::optional<PortalContext> SeriesService::portalContext(const MemberContact& member) const {
  const Settings& settings = session_.settings;
  if (!settings.portalOn()) return std::nullopt;
  PortalContext who;
  who.customer = portalCustomer(settings.cliente);
  who.academia = settings.academia;
  who.matricula = session_.matricula;
  who.cpf = member.cpf;
  who.nome = member.nome;
  who.email = member.email;
  // Without the integration the portal's assessment columns are not this program's to write.
  if (settings.assessmentIntegration()) {
    const Result<SheetAssessment> values = memberAssessment(settings, who.matricula);
    who.assessmentFailed = !values.okOrTell();
    if (values) who.assessment = *values;
  }
  return who;
}

std::optional<int> SeriesService::saveWorkout(WorkoutSave save, const MemberContact& member) const {
  save.matricula = session_.matricula;
  save.professor = session_.professor;
  save.usuario = session_.usuario;
  const Result<int> stored = ::saveWorkout(db_, save);
  if (!stored.okOrTell()) return std::nullopt;
  if (const std::optional<PortalContext> who = portalContext(member))
    publishOnPortal(QStringLiteral("Portal_Treino"), [&](const QSqlDatabase& portal) {
      publishWorkoutRows(portal, *who, save);
    }).okOrTell();
  return *stored;
}

bool SeriesService::saveAerobic(const QDate& day, const WeekdayFlags& days,
                                const QList<AerobicRow>& rows, const MemberContact& member) const {
  if (!::saveAerobic(db_, session_.matricula, session_.professor, day, days, rows).okOrTell())
    return false;
  if (const std::optional<PortalContext> who = portalContext(member))
    publishOnPortal(QStringLiteral("Portal_Aerobica"), [&](const QSqlDatabase& portal) {
      publishAerobicRows(portal, *who, session_.professor, day, days, rows);
    }).okOrTell();
  return true;
}

bool SeriesService::saveStretching(const QString& letter, const QDate& day,
                                   const StretchChoice& choice, const MemberContact& member) const {
  if (!::saveStretching(db_, session_.matricula, letter, day, choice).okOrTell()) return false;
  if (const std::optional<PortalContext> who = portalContext(member))
    publishOnPortal(QStringLiteral("Portal_Alongamento"), [&](const QSqlDatabase& portal) {
      publishStretchingRow(portal, *who, letter, day, choice);
    }).okOrTell();
  return true;
}
