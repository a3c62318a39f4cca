#include "prescription/series_service.h"

#include "series/member_assessment.h"

namespace {

// Publishes a stored block when the gym publishes; what failed on the way joins `saved`.
template <typename T>
Saved<T> publishedAfter(Result<T> stored, const std::optional<PortalContext>& who,
                        QList<Failure> failures, const QString& table,
                        const std::function<void(const QSqlDatabase&)>& work) {
  if (who) {
    const Outcome published = publishOnPortal(table, work);
    if (!published) failures << published.failure();
  }
  return {std::move(stored), std::move(failures)};
}

}  // namespace

std::optional<PortalContext> SeriesService::portalContext(const MemberContact& member,
                                                          QList<Failure>& failures) const {
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
    who.assessmentFailed = !values;
    if (values)
      who.assessment = *values;
    else
      failures << values.failure();
  }
  return who;
}

Saved<int> SeriesService::saveWorkout(WorkoutSave save, const MemberContact& member) const {
  save.matricula = session_.matricula;
  save.professor = session_.professor;
  save.usuario = session_.usuario;
  Result<int> stored = ::saveWorkout(db_, save);
  if (!stored) return {std::move(stored), {}};
  QList<Failure> failures;
  const std::optional<PortalContext> who = portalContext(member, failures);
  return publishedAfter(
      std::move(stored), who, failures, QStringLiteral("Portal_Treino"),
      [&](const QSqlDatabase& portal) { publishWorkoutRows(portal, *who, save); });
}

Saved<Done> SeriesService::saveAerobic(const QDate& day, const WeekdayFlags& days,
                                       const QList<AerobicRow>& rows,
                                       const MemberContact& member) const {
  Outcome stored = ::saveAerobic(db_, session_.matricula, session_.professor, day, days, rows);
  if (!stored) return {std::move(stored), {}};
  QList<Failure> failures;
  const std::optional<PortalContext> who = portalContext(member, failures);
  return publishedAfter(std::move(stored), who, failures, QStringLiteral("Portal_Aerobica"),
                        [&](const QSqlDatabase& portal) {
                          publishAerobicRows(portal, *who, session_.professor, day, days, rows);
                        });
}

Saved<Done> SeriesService::saveStretching(const QString& letter, const QDate& day,
                                          const StretchChoice& choice,
                                          const MemberContact& member) const {
  Outcome stored = ::saveStretching(db_, session_.matricula, letter, day, choice);
  if (!stored) return {std::move(stored), {}};
  QList<Failure> failures;
  const std::optional<PortalContext> who = portalContext(member, failures);
  return publishedAfter(
      std::move(stored), who, failures, QStringLiteral("Portal_Alongamento"),
      [&](const QSqlDatabase& portal) { publishStretchingRow(portal, *who, letter, day, choice); });
}
