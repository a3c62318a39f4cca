// Group classes in the databases: the gym-management program's settings for them, the cash
// register's opening, the classes and their bookings (in the portal's database when members
// book classes there), the member's standing and class groups, and the bookings themselves,
// which never overbook a class however many receptionists book its last place at once.
#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include "base/failure.h"
#include "base/weekdays.h"
#include "classes/class_rules.h"

// Sacvar2, as the class windows read it.
struct ClassSettings {
  bool receptionistControl = false;  // CONTROLEPORRECEPCIONISTA
  bool onPortal = false;             // AgendamentoAulaPortal: classes and bookings live there
  QString filial;                    // FILIAL
  bool weeklyControl = false;        // Controle_Agendamento_Turma
  QString reminderGroup;             // Exclui_Turma_Agendamento
};
Result<ClassSettings> readClassSettings(const QSqlDatabase& gymDb);
// The cash register's current opening (the last Caixa row): no booking before it.
Result<QDate> cashOpening(const QSqlDatabase& gymDb);

// The gym's classes (Cliente = `cliente`) in code order.
Result<QList<GroupClass>> readClasses(const QSqlDatabase& classDb, double cliente);
// Bookings of the class on the date.
Result<int> bookedCount(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                        double cliente);

// An active member as the booking reads it.
struct ActiveMember {
  QString matricula;
  QString nome;
  MemberStanding standing;
  QStringList groups;  // TURMA_A … TURMA_F
  QString modalidade;
  QString planos;
};
Result<ActiveMember> readActiveMember(const QSqlDatabase& gymDb, const QString& matricula);
// The member's situation on `date` (see memberSituation), the payments read from Receb.
Result<int> situationOn(const QSqlDatabase& gymDb, const ActiveMember& member, const QDate& date);
// Whether the member belongs to the activity.
Result<bool> inActivity(const QSqlDatabase& gymDb, const QString& matricula,
                        const QString& codigoAtividade);
// The days a week the member's groups allow.
Result<int> allowedDaysOf(const QSqlDatabase& gymDb, const QStringList& groups);
// "\n\r\n\rMensalidade: 001 - MUSCULAÇÃO" (or "Plano: …"); empty when none is found.
Result<QString> planText(const QSqlDatabase& gymDb, const ActiveMember& member);
// The member's bookings in the week, in class and date order.
Result<QList<WeekBooking>> weekBookings(const QSqlDatabase& classDb, const QString& matricula,
                                        const Week& week, double cliente);

// A booking about to be written.
struct ClassBooking {
  GroupClass groupClass;
  QDate date;
  QString matricula;
  QString aluno;
  QString usuario;
  double cliente = 0;
  bool receptionistControl = false;
};
enum class BookingOutcome { Booked, AlreadyBooked, Full };
// Books the member in one transaction that holds the class's turn on that date: a member
// already booked, or a class full by then, is answered instead of written.
Result<BookingOutcome> bookMember(const QSqlDatabase& classDb, const ClassBooking& booking);
// Whether the member is booked in the class on the date.
Result<bool> isBooked(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                      const QString& matricula, double cliente);
// Cancels the member's booking; refused when another workstation cancelled it meanwhile.
Outcome cancelMemberBooking(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                            const QString& matricula, double cliente);

// The class registry's writes. `usuario`, `filial` and `cliente` are stamped on the row.
struct ClassStamp {
  QString usuario;
  QString filial;
  double cliente = 0;
  bool receptionistControl = false;
};
Result<bool> classCodeTaken(const QSqlDatabase& classDb, const QString& codigo);
// Inserts (id 0) or updates the class; a code another workstation took meanwhile is refused
// ("Código já Cadastrado !"), and a class deleted meanwhile is not written again.
Outcome saveClass(const QSqlDatabase& classDb, const GroupClass& groupClass,
                  const ClassStamp& stamp);
Outcome deleteClass(const QSqlDatabase& classDb, qint64 id);
// The instructors' names (every staff row, in table order) and the activity lines
// ("CODIGO-DESCRICAO").
Result<QStringList> staffNames(const QSqlDatabase& gymDb);
Result<QStringList> activityLines(const QSqlDatabase& gymDb);
