// What the agenda windows read besides the workout database: the settings row, the people's
// database (the workout one when the program runs alone, the gym-management one beside its
// program), the instructors and the member table, each checked as the window opens so a
// window that cannot work says which table failed instead of opening empty.
#pragma once

#include <QList>
#include <memory>

#include "base/failure.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "registry/people_source.h"
#include "scheduling/agenda_people.h"

class Session;

struct AgendaSources {
  Settings settings;
  PeopleTables people;
  std::unique_ptr<Connection> peopleConnection;
  QList<Instructor> instructors;  // none unless asked for
  QSqlDatabase peopleDatabase() const { return peopleConnection->database(); }
};

// Which instructors the window lists; nothing: the window lists none.
using InstructorsWanted = std::optional<Employment>;

// Reads the settings ("Controle"), checks the weekly grid ("Agenda") and the bookings
// ("Agendado") can be read, opens the people's database, reads the instructors (" Funcionario"
// after the gym-management database's unavailability text, "Funcionario" alone) and checks the
// member table ("ALUNOS"). The first failure is what comes back.
Result<AgendaSources> openAgendaSources(Session& session, InstructorsWanted instructors);
