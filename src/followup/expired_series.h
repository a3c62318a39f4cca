// Series due for renewal: every series row assembled before the cut-off (today minus the
// reassessment time, always in months), for all instructors or one. The report lists one line
// per member, reassessment date and letter; the e-mail list one address per member.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "base/failure.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "printing/report.h"
#include "registry/people_source.h"

struct ExpiredRow {
  QString matricula;
  QString nome;
  QDate dataReavaliacao;
  QString treino;
};

// "TODOS" in the instructor list: every instructor.
inline const QString kAllInstructors = QStringLiteral("TODOS");

// The cut-off of `today` for a reassessment time of `months` months (TEMPO_REAVALIACAO, read
// as months whatever the unit setting says): rows assembled before it are expired.
QDate expiryCutOff(const QDate& today, int months);

// The instructor list's entries: "TODOS", then "registration - name" of every staff member whose
// job contains "PROF MUSC", by name.
Result<QStringList> expiryInstructorEntries(const QSqlDatabase& peopleDb,
                                            const QString& staffTable);
// What a list window of instructors opens with: the settings row it read, the people's tables
// it names, a connection of the window's own to their database and the instructor entries read
// there.
struct InstructorList {
  Settings settings;
  PeopleTables people{};
  std::unique_ptr<Connection> connection;
  QStringList entries;
};
// From the settings row just read (nothing: it could not be). Failures: "Abertura de tabela !"
// with "Controle" without settings; when the staff table cannot be read, "Abertura de tabela !"
// (after the gym-management database's unavailability text when the people are kept there)
// with " Funcionario", or "Funcionario" when the program runs alone.
Result<InstructorList> openInstructorList(const std::optional<Settings>& settings);

// The registration an entry stands for; nothing for "TODOS".
std::optional<QString> instructorOfEntry(const QString& entry);

// The expired rows, distinct by member, reassessment date and letter, in registration order,
// without names.
Result<QList<ExpiredRow>> expiredRows(const QSqlDatabase& workoutDb, const QDate& cutOff,
                                      const std::optional<QString>& instructor);
// The same rows, each with the member's name: "Inativo" when the gym-management database no longer has the
// member, "Excluido" when the program runs alone.
Result<QList<ExpiredRow>> expiredSeries(const QSqlDatabase& workoutDb, const QSqlDatabase& peopleDb,
                                        const PeopleTables& people, bool membersKeptHere,
                                        const QDate& cutOff,
                                        const std::optional<QString>& instructor);

// The expired members and one non-empty address per member, in registration order.
struct ExpiredAddresses {
  int members = 0;
  QStringList addresses;
};
Result<ExpiredAddresses> expiredAddresses(const QSqlDatabase& workoutDb,
                                          const QSqlDatabase& peopleDb, const PeopleTables& people,
                                          const QDate& cutOff,
                                          const std::optional<QString>& instructor);

// What the report's page header shows besides its titles.
struct ExpiryHeading {
  QString gym;             // GSTR_ACADEMIA
  QDateTime printedAt;     // "Data :" and "Hora :"
  QString instructorText;  // the instructor list's text; not shown when "TODOS"
};

// "Relatório de Séries Vencidas", A4 portrait.
Report expiredSeriesReport(const QList<ExpiredRow>& rows, const ExpiryHeading& heading);
