// The rules of group-class booking that need no database: how a class is listed, how its
// times and code are typed, the member's situation, the places left and the weekly limit.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>
#include <functional>
#include <optional>
#include <variant>

#include "base/failure.h"

// A class as the lists show it.
struct GroupClass {
  qint64 id = 0;
  QString codigo;
  QString descricao;
  QString atividade;         // "CODIGO-DESCRICAO" of the activity
  QString codigoAtividade;   // its first two characters
  int maximoAlunos = 0;
  QString funcionario;
  QString filial;
  QTime horaInicial;
  QTime horaFinal;
  int toleranciaEntrada = 0;
  int toleranciaSaida = 0;
};

// "07 - SPINNING                       Horário: 07:00 à 08:00", with " Vagas : " and the free
// places when given: the description padded or cut to exactly 30 characters.
QString classListLine(const GroupClass& c, std::optional<int> freePlaces = std::nullopt);
// The class code a list line starts with: the text before the first "-", trimmed.
QString classCodeOfLine(const QString& line);

// A class code as typed: a one-character code gets a leading "0"; empty stays empty.
QString typedClassCode(const QString& typed);
// A class time as typed: "8:3" is 08:30, "8.30" 08:30; "Intervalo Inválido !" when it is no
// time of day. An empty text is no time and no error: nothing.
Result<std::optional<QTime>> typedClassTime(const QString& typed);

// The places left: capacity minus bookings, never below 0.
int freePlaces(int capacity, int booked);

// What the booking window knows of a member when it tests the member's situation.
struct MemberStanding {
  bool gympass = false;
  QDate trancamento;    // frozen since; null when not frozen
  QDate repasse;        // transferred until; null when not transferred
  bool bolsista = false;
  QDate validadeBolsa;  // scholarship valid until; null: no end
  int diaVencimento = 0;
};
// Whether the member paid the month `offset` months away from the booking date (0 that month,
// 1 the next, -1 the previous).
using PaidMonth = std::function<bool(int offset)>;

// 1 in good standing; 2 in arrears ("Aluno Inadimplente!"), 3 frozen ("Aluno Trancado!"),
// 4 transfer ended ("Fim de Repasse do Aluno!"), 5 scholarship ended ("Fim da Bolsa do
// Aluno!"). Only warnings: the booking goes on.
int memberSituation(const MemberStanding& member, const QDate& bookingDate, const PaidMonth& paid);
// The warning for a situation; empty for 1.
QString situationWarning(int situation);

// The weekdays a class group covers (Sunday … Saturday).
using GroupDays = std::array<bool, 7>;
// The days a week the member's six groups allow: one per weekday each group covers, a group
// named twice counting twice; groups empty or unknown add nothing.
int allowedDays(const QStringList& groups,
                const std::function<std::optional<GroupDays>(const QString&)>& lookUp);

struct WeekBooking {
  QString codigoAula;
  QString descricaoAula;
  QDate data;
};
// The member's week as the messages list it: per class "\n\r" code "  " description "\n\r",
// then "  dd/mm" per booking, then "\n\r". `bookings` come in class and date order.
QString weekBookingList(const QList<WeekBooking>& bookings);

enum class WeeklyLimit { Pass, Reached, Remind };
// With `allowed` days (0: no limit) and the week's bookings: reached when exactly that many
// are booked; otherwise a reminder when one of the member's groups is the group the settings
// name (an empty group matching an empty setting), else nothing to say.
WeeklyLimit weeklyLimit(int allowed, int booked, const QStringList& groups,
                        const QString& reminderGroup);

// The class form as typed, checked at Confirm.
struct ClassForm {
  QString codigo;
  QString descricao;
  QString numero;
  QString horaInicial;
  QString horaFinal;
  QString toleranciaEntrada;
  QString toleranciaSaida;
  QString professor;
  QString atividade;
};
// A field of the form refused at Confirm: its objectName and what the user is told.
struct ClassFormRefusal {
  QString field;
  QString text;
  QString detail;
  bool clear = false;
};
// The checks of Confirm, in their order: the code, the description, the number of members, the
// instructor and the activity must be there, and two hours given must be hours with the start
// before the end. The class to write when all pass.
std::variant<GroupClass, ClassFormRefusal> checkClassForm(const ClassForm& form);
