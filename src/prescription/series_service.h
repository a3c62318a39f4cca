// What the series builder stores, and its copy on the members' portal: each block is saved
// first and published only once saved, and only when the gym publishes. The builder window and
// the tests call this; the window keeps to its widgets.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "data/settings_record.h"
#include "portal/portal_publish.h"
#include "series/series_save.h"

// The builder's choices while it is open: the member, the instructor and the user, with the
// settings it read when it opened. Handed around instead of process-wide values.
struct SeriesSession {
  QString matricula;      // the member chosen ("0000000123")
  QString professor;      // the instructor chosen, as the series rows keep it (10 characters)
  QString usuario;        // the logged-in user
  QString exerciseVideo;  // the exercise whose video the "Vídeo" button plays
  QString age;            // the member's age, for the assessment's header
  QString activeMembers;  // "Sim" when the assessment lists active members only
  Settings settings;
};

// The member as the portal records them.
struct MemberContact {
  QString cpf;
  QString nome;
  QString email;
};

class SeriesService {
 public:
  SeriesService(const QSqlDatabase& workoutDb, const SeriesSession& session)
      : db_(workoutDb), session_(session) {}

  // The strength rows of `save` (member, instructor and user taken from the session); the
  // number of rows stored, nothing when nothing was stored (the user has been told why).
  std::optional<int> saveWorkout(WorkoutSave save, const MemberContact& member) const;
  bool saveAerobic(const QDate& day, const WeekdayFlags& days, const QList<AerobicRow>& rows,
                   const MemberContact& member) const;
  bool saveStretching(const QString& letter, const QDate& day, const StretchChoice& choice,
                      const MemberContact& member) const;

  // Who the portal is told of; nothing when the gym does not publish.
  std::optional<PortalContext> portalContext(const MemberContact& member) const;

 private:
  QSqlDatabase db_;
  const SeriesSession& session_;
};
