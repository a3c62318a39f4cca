// What the series builder stores, and its copy on the members' portal: each block is saved
// first and published only once saved, and only when the gym publishes. The builder window and
// the tests call this; the window keeps to its widgets.
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "base/failure.h"
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

// What a save came to: what was stored (or why nothing was), and what kept the portal's copy
// from being written or completed; the save stands either way.
template <typename T>
struct Saved {
  Result<T> stored;
  QList<Failure> portal;

  // For the window: tells every failure in the order it happened; what was stored, or nothing.
  std::optional<T> told() const {
    if (!stored.okOrTell()) return std::nullopt;
    for (const Failure& failure : portal) tell(failure);
    return *stored;
  }
};

class SeriesService {
 public:
  SeriesService(const QSqlDatabase& workoutDb, const SeriesSession& session)
      : db_(workoutDb), session_(session) {}

  // The strength rows of `save` (member, instructor and user taken from the session), and the
  // number of rows stored.
  Saved<int> saveWorkout(WorkoutSave save, const MemberContact& member) const;
  Saved<Done> saveAerobic(const QDate& day, const WeekdayFlags& days, const QList<AerobicRow>& rows,
                          const MemberContact& member) const;
  Saved<Done> saveStretching(const QString& letter, const QDate& day, const StretchChoice& choice,
                             const MemberContact& member) const;

  // Who the portal is told of; nothing when the gym does not publish. An assessment that could
  // not be read goes into `failures` (the portal then keeps the values it had).
  std::optional<PortalContext> portalContext(const MemberContact& member,
                                             QList<Failure>& failures) const;

 private:
  QSqlDatabase db_;
  const SeriesSession& session_;
};
