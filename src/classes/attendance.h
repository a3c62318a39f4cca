// How often each member was booked into the group classes over a period: one class or every
// class ("99 - TODAS"), grouped by class, and the report "Relatório de Agenda de Aula(s)
// Coletiva(s)" that prints it.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QTime>
#include <optional>
#include <variant>

#include "base/failure.h"
#include "printing/report.h"

// The line of the class list that reports every class.
inline const QString kAllClassesLine = QStringLiteral("99 - TODAS");

// The period as the two date fields give it, or the field refused and what it is told
// ("Dado INCORRETO !" with "Data Inicial", "Data Final" or "Data final Menor que Data inicial").
struct AttendancePeriod {
  QDate from;
  QDate to;
};
struct PeriodRefused {
  bool endField = false;  // the final date is the field cleared and focused
  QString detail;
};
std::variant<AttendancePeriod, PeriodRefused> attendancePeriod(const QString& fromText,
                                                               const QString& toText);

struct AttendanceQuery {
  std::optional<QString> codigo;  // nothing: every class
  QDate from;
  QDate to;
  double cliente = 0;
  bool byName = false;  // members in name order within a class, else by registration
};
// The class a line of the report's class list stands for: nothing for "99".
std::optional<QString> classOfReportLine(const QString& line);

struct AttendanceRow {
  QTime horaInicial;
  QString codigoAula;
  QString descricaoAula;
  QString matricula;
  QString aluno;
  QString funcionario;
  QString usuario;
  QString recepcionista;
  int frequencia = 0;
};
// One row per class, member and the instructor, user and receptionist the bookings carry, with
// the number of bookings; in class, then member (registration or name) order.
Result<QList<AttendanceRow>> attendance(const QSqlDatabase& classDb, const AttendanceQuery& query);

struct AttendanceHeading {
  QString gym;
  QString fromText;  // the period as typed
  QString toText;
  QDateTime printedAt;
  bool receptionistControl = false;  // the last column is "Operador" (receptionist), else "Usuário"
};
Report attendanceReport(const QList<AttendanceRow>& rows, const AttendanceHeading& heading);
