#include "classes/class_rules.h"

#include <QRegularExpression>

#include "base/messages.h"
#include "base/routines.h"

QString classListLine(const GroupClass& c, std::optional<int> freePlaces) {
  QString description = c.descricao;
  PREENCHE_BRANCOS(description, 30, QStringLiteral("D"));
  QString line = c.codigo + QStringLiteral(" - ") + description.left(30) +
                 QStringLiteral(" Horário: ") + c.horaInicial.toString(QStringLiteral("HH:mm")) +
                 QStringLiteral(" à ") + c.horaFinal.toString(QStringLiteral("HH:mm"));
  if (freePlaces) line += QStringLiteral(" Vagas : ") + QString::number(*freePlaces);
  return line;
}

QString classCodeOfLine(const QString& line) {
  return line.section(QLatin1Char('-'), 0, 0).trimmed();
}

QString typedClassCode(const QString& typed) {
  const QString code = typed.trimmed();
  return code.size() == 1 ? QStringLiteral("0") + code : code;
}

Result<std::optional<QTime>> typedClassTime(const QString& typed) {
  QString text = typed.trimmed().replace(QLatin1Char('.'), QLatin1Char(':'));
  if (text.isEmpty()) return std::optional<QTime>();
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  if (colon >= 0 && text.size() - colon - 1 < 2) text += QLatin1Char('0');
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})$"));
  const QRegularExpressionMatch match = pattern.match(text);
  const QTime time = match.hasMatch() ? QTime(match.captured(1).toInt(), match.captured(2).toInt())
                                      : QTime();
  if (!time.isValid()) return Failure{Msg::IntervaloInvalido, {}, {}};
  return std::optional<QTime>(time);
}

int freePlaces(int capacity, int booked) {
  return std::max(0, capacity - std::max(0, booked));
}

int memberSituation(const MemberStanding& member, const QDate& bookingDate, const PaidMonth& paid) {
  if (member.gympass) return 1;
  if (member.trancamento.isValid()) return 3;
  if (member.repasse.isValid()) return member.repasse > bookingDate ? 1 : 4;
  if (member.bolsista)
    return !member.validadeBolsa.isValid() || member.validadeBolsa > bookingDate ? 1 : 5;
  if (paid(0) || paid(1)) return 1;
  if (!paid(-1)) return 2;
  return member.diaVencimento < bookingDate.day() ? 2 : 1;
}

QString situationWarning(int situation) {
  switch (situation) {
    case 2:
      return QStringLiteral("Aluno Inadimplente!");
    case 3:
      return QStringLiteral("Aluno Trancado!");
    case 4:
      return QStringLiteral("Fim de Repasse do Aluno!");
    case 5:
      return QStringLiteral("Fim da Bolsa do Aluno!");
    default:
      return QString();
  }
}

int allowedDays(const QStringList& groups,
                const std::function<std::optional<GroupDays>(const QString&)>& lookUp) {
  int days = 0;
  for (const QString& group : groups) {
    if (group.trimmed().isEmpty()) continue;
    if (const std::optional<GroupDays> covered = lookUp(group))
      for (bool day : *covered) days += day ? 1 : 0;
  }
  return days;
}

QString weekBookingList(const QList<WeekBooking>& bookings) {
  QString list;
  QString current;
  for (qsizetype i = 0; i < bookings.size(); ++i) {
    const WeekBooking& b = bookings[i];
    if (i == 0 || b.codigoAula != current) {
      if (i > 0) list += QStringLiteral("\n\r");
      current = b.codigoAula;
      list += QStringLiteral("\n\r") + b.codigoAula + QStringLiteral("  ") + b.descricaoAula +
              QStringLiteral("\n\r");
    }
    list += QStringLiteral("  ") + b.data.toString(QStringLiteral("dd/MM"));
  }
  if (!bookings.isEmpty()) list += QStringLiteral("\n\r");
  return list;
}

WeeklyLimit weeklyLimit(int allowed, int booked, const QStringList& groups,
                        const QString& reminderGroup) {
  if (allowed == 0 || booked == 0) return WeeklyLimit::Pass;
  if (booked == allowed) return WeeklyLimit::Reached;
  for (const QString& group : groups)
    if (group.trimmed() == reminderGroup.trimmed()) return WeeklyLimit::Remind;
  return WeeklyLimit::Pass;
}

std::variant<GroupClass, ClassFormRefusal> checkClassForm(const ClassForm& form) {
  const auto missing = [](const char* field, const QString& text, const QString& detail) {
    return ClassFormRefusal{QString::fromLatin1(field), text, detail, false};
  };
  if (form.codigo.trimmed().isEmpty()) return missing("DBEDTCODIGO", Msg::CodigoIncorreto, {});
  if (form.descricao.trimmed().isEmpty())
    return missing("DBEDTDESCRICAO", Msg::DadoIncorreto, QStringLiteral("Descrição"));
  if (form.numero.trimmed().isEmpty())
    return missing("DBEDTNUMERO", Msg::DadoIncorreto, QStringLiteral("Número"));
  if (form.professor.trimmed().isEmpty())
    return missing("DBCBPROFESSOR", Msg::DadoIncorreto, QStringLiteral("Professor"));
  if (form.atividade.trimmed().isEmpty())
    return missing("DBCBATIVIDADE", Msg::DadoIncorreto, QStringLiteral("Atividade"));
  GroupClass c;
  c.codigo = typedClassCode(form.codigo);
  c.descricao = form.descricao.trimmed();
  c.maximoAlunos = form.numero.trimmed().toInt();
  c.toleranciaEntrada = form.toleranciaEntrada.trimmed().toInt();
  c.toleranciaSaida = form.toleranciaSaida.trimmed().toInt();
  c.funcionario = form.professor;
  c.atividade = form.atividade;
  c.codigoAtividade = form.atividade.left(2);
  const Result<std::optional<QTime>> start = typedClassTime(form.horaInicial);
  const Result<std::optional<QTime>> end = typedClassTime(form.horaFinal);
  if (!form.horaInicial.trimmed().isEmpty() && !form.horaFinal.trimmed().isEmpty()) {
    if (!start) return ClassFormRefusal{QStringLiteral("DBEDTHORA_INICIAL"), Msg::IntervaloInvalido, {}, true};
    if (!end) return ClassFormRefusal{QStringLiteral("DBEDTHORA_FINAL"), Msg::IntervaloInvalido, {}, true};
    if (**start >= **end)
      return ClassFormRefusal{QStringLiteral("DBEDTHORA_FINAL"), Msg::IntervaloInvalido, {}, false};
  }
  if (start && *start) c.horaInicial = **start;
  if (end && *end) c.horaFinal = **end;
  return c;
}
