#include "classes/class_store.h"

#include <QSqlQuery>

#include "base/messages.h"
#include "data/sql.h"

namespace {

const QString kFrequencia = QStringLiteral("FrequenciaAula");
const QString kAulas = QStringLiteral("AulasColetivas");

Failure unreadable(const QString& detail, const QString& cause) {
  return {Msg::AberturaDeTabela, detail, QStringLiteral("Aulas coletivas, %1: %2").arg(detail, cause)};
}

bool yes(const QVariant& value) {
  return value.toString().trimmed() == QStringLiteral("Sim");
}

QTime timeOf(const QVariant& value) {
  return value.toDateTime().isValid() ? value.toDateTime().time() : value.toTime();
}

// A time of day stored as the date-time the gym-management program writes.
QVariant storedTime(const QTime& time) {
  if (!time.isValid()) return QVariant(QMetaType(QMetaType::QDateTime));
  return QDateTime(QDate(1899, 12, 30), time);
}

int countOf(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery& query = runPrepared(db, sql, values);
  const int count = query.next() ? query.value(0).toInt() : 0;
  query.finish();
  return count;
}

const QString kBookedSql = QStringLiteral(
    "SELECT COUNT(MATRICULA) FROM FrequenciaAula WHERE CODIGO_AULA = ? AND DATA = ? AND "
    "CLIENTE = ? AND MATRICULA = ?");
const QString kCountSql = QStringLiteral(
    "SELECT COUNT(MATRICULA) FROM FrequenciaAula WHERE CODIGO_AULA = ? AND DATA = ? AND "
    "CLIENTE = ?");

struct Gone {};

}  // namespace

Result<ClassSettings> readClassSettings(const QSqlDatabase& gymDb) {
  try {
    QSqlQuery q = runSql(gymDb, QStringLiteral("SELECT CONTROLEPORRECEPCIONISTA, "
                                               "AgendamentoAulaPortal, FILIAL, "
                                               "Controle_Agendamento_Turma, "
                                               "Exclui_Turma_Agendamento FROM Sacvar2"));
    ClassSettings settings;
    if (q.next())
      settings = {yes(q.value(0)), yes(q.value(1)), q.value(2).toString(), yes(q.value(3)),
                  q.value(4).toString()};
    return settings;
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Controle2"), e.text());
  }
}

Result<QDate> cashOpening(const QSqlDatabase& gymDb) {
  try {
    const QVariant opened = scalarSql(
        gymDb, QStringLiteral("SELECT DATAABERTURA FROM Caixa ORDER BY ID DESC LIMIT 1"));
    // With no opening at all the register has never been opened: today is the first day.
    return opened.isValid() ? opened.toDate() : QDate::currentDate();
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Caixa"), e.text());
  }
}

Result<QList<GroupClass>> readClasses(const QSqlDatabase& classDb, double cliente) {
  QList<GroupClass> classes;
  try {
    QSqlQuery q = runSql(classDb,
                         QStringLiteral("SELECT ID, Codigo, Descricao, Atividade, Codigo_Atividade, "
                                        "Maximo_Alunos, Funcionario, Filial, HORA_INICIAL, "
                                        "HORA_FINAL, TOLERANCIA_ENTRADA, TOLERANCIA_SAIDA FROM "
                                        "AulasColetivas WHERE Cliente = ? ORDER BY Codigo"),
                         {cliente});
    while (q.next())
      classes << GroupClass{q.value(0).toLongLong(), q.value(1).toString(),
                            q.value(2).toString(),   q.value(3).toString(),
                            q.value(4).toString(),   q.value(5).toInt(),
                            q.value(6).toString(),   q.value(7).toString(),
                            timeOf(q.value(8)),      timeOf(q.value(9)),
                            q.value(10).toInt(),     q.value(11).toInt()};
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("AulaColetivas"), e.text());
  }
  return classes;
}

Result<int> bookedCount(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                        double cliente) {
  try {
    return countOf(classDb, kCountSql, {codigo, date, cliente});
  } catch (const SqlError& e) {
    return unreadable(kFrequencia, e.text());
  }
}

Result<ActiveMember> readActiveMember(const QSqlDatabase& gymDb, const QString& matricula) {
  try {
    QSqlQuery q = runSql(gymDb,
                         QStringLiteral("SELECT MATRICULA, NOME, Gympass, DATA_TRANCAMENTO, "
                                        "REPASSE, BOLSISTA, VALIDADE_BOLSA, DIA_VENCIMENTO, "
                                        "TURMA_A, TURMA_B, TURMA_C, TURMA_D, TURMA_E, TURMA_F, "
                                        "MODALIDADE, PLANOS FROM ALUNOSATIVOS WHERE MATRICULA = ?"),
                         {matricula});
    if (!q.next())
      return Failure{Msg::MatriculaNaoCadastrada, {}, {}};
    ActiveMember m;
    m.matricula = q.value(0).toString();
    m.nome = q.value(1).toString();
    m.standing = {q.value(2).toBool(), q.value(3).toDate(), q.value(4).toDate(),
                  q.value(5).toBool(), q.value(6).toDate(), q.value(7).toInt()};
    for (int g = 8; g <= 13; ++g) m.groups << q.value(g).toString();
    m.modalidade = q.value(14).toString();
    m.planos = q.value(15).toString();
    return m;
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("AlunosAtivos"), e.text());
  }
}

Result<int> situationOn(const QSqlDatabase& gymDb, const ActiveMember& member, const QDate& date) {
  try {
    const auto paid = [&](int offset) {
      const QDate month = date.addMonths(offset);
      return countOf(gymDb,
                     QStringLiteral("SELECT COUNT(*) FROM Receb WHERE MATRICULA = ? AND MES = ? "
                                    "AND ANO = ?"),
                     {member.matricula, month.toString(QStringLiteral("MM")),
                      month.toString(QStringLiteral("yyyy"))}) > 0;
    };
    return memberSituation(member.standing, date, paid);
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Receb"), e.text());
  }
}

Result<bool> inActivity(const QSqlDatabase& gymDb, const QString& matricula,
                        const QString& codigoAtividade) {
  try {
    return countOf(gymDb,
                   QStringLiteral("SELECT COUNT(MATRICULA) FROM AlunosAtividades WHERE "
                                  "MATRICULA = ? AND ATIVIDADE = ?"),
                   {matricula, codigoAtividade}) > 0;
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("AlunosAtividades"), e.text());
  }
}

Result<int> allowedDaysOf(const QSqlDatabase& gymDb, const QStringList& groups) {
  try {
    return allowedDays(groups, [&](const QString& group) -> std::optional<GroupDays> {
      QSqlQuery& q = runPrepared(
          gymDb,
          QStringLiteral("SELECT DOM, SEG, TER, QUA, QUI, SEX, SAB FROM Turma WHERE CODIGO = ?"),
          {group});
      std::optional<GroupDays> days;
      if (q.next()) {
        days.emplace();
        for (int d = 0; d < 7; ++d) (*days)[size_t(d)] = q.value(d).toBool();
      }
      q.finish();
      return days;
    });
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Turmas"), e.text());
  }
}

Result<QString> planText(const QSqlDatabase& gymDb, const ActiveMember& member) {
  const bool byFee = !member.modalidade.trimmed().isEmpty();
  try {
    QSqlQuery q = runSql(gymDb,
                         QStringLiteral("SELECT CODIGO, DESCRICAO FROM %1 WHERE CODIGO = ?")
                             .arg(byFee ? QStringLiteral("MENSALIDADES") : QStringLiteral("PLANOS")),
                         {byFee ? member.modalidade : member.planos});
    if (!q.next()) return QString();
    return QStringLiteral("\n\r\n\r") +
           (byFee ? QStringLiteral("Mensalidade: ") : QStringLiteral("Plano: ")) +
           q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString();
  } catch (const SqlError& e) {
    return unreadable(byFee ? QStringLiteral("MENSALIDADES") : QStringLiteral("PLANOS"), e.text());
  }
}

Result<QList<WeekBooking>> weekBookings(const QSqlDatabase& classDb, const QString& matricula,
                                        const Week& week, double cliente) {
  QList<WeekBooking> bookings;
  try {
    QSqlQuery q = runSql(classDb,
                         QStringLiteral("SELECT CODIGO_AULA, DESCRICAO_AULA, DATA FROM "
                                        "FrequenciaAula WHERE DATA >= ? AND DATA <= ? AND "
                                        "MATRICULA = ? AND Cliente = ? ORDER BY CODIGO_AULA, DATA"),
                         {week.first, week.last, matricula, cliente});
    while (q.next())
      bookings << WeekBooking{q.value(0).toString(), q.value(1).toString(), q.value(2).toDate()};
  } catch (const SqlError& e) {
    return unreadable(kFrequencia, e.text());
  }
  return bookings;
}

Result<BookingOutcome> bookMember(const QSqlDatabase& classDb, const ClassBooking& b) {
  const GroupClass& c = b.groupClass;
  BookingOutcome outcome = BookingOutcome::Booked;
  const Outcome written = writeInTransaction(classDb, kFrequencia, [&] {
    // Receptionists booking the same class and day take turns: the count each reads is the
    // count the other left, so the class's last place goes to one of them only.
    waitForTurn(classDb, QStringLiteral("aula:%1:%2:%3")
                             .arg(c.codigo, b.date.toString(Qt::ISODate))
                             .arg(b.cliente));
    if (countOf(classDb, kBookedSql, {c.codigo, b.date, b.cliente, b.matricula}) > 0) {
      outcome = BookingOutcome::AlreadyBooked;
      return;
    }
    if (countOf(classDb, kCountSql, {c.codigo, b.date, b.cliente}) >= c.maximoAlunos) {
      outcome = BookingOutcome::Full;
      return;
    }
    runPrepared(classDb,
                QStringLiteral("INSERT INTO FrequenciaAula (Data, Codigo_Aula, Descricao_Aula, "
                               "Maximo_Alunos, Matricula, Aluno, Funcionario, Atividade, Filial, "
                               "Usuario, Recepcionista, Cliente) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                               "?, ?, ?, ?)"),
                {b.date, c.codigo, c.descricao, c.maximoAlunos, b.matricula, b.aluno,
                 c.funcionario, c.atividade, c.filial, b.usuario.left(2),
                 b.receptionistControl ? QVariant(QString()) : QVariant(QMetaType(QMetaType::QString)),
                 b.cliente})
        .finish();
  });
  if (!written) return written.failure();
  return outcome;
}

Result<bool> isBooked(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                      const QString& matricula, double cliente) {
  try {
    return countOf(classDb, kBookedSql, {codigo, date, cliente, matricula}) > 0;
  } catch (const SqlError& e) {
    return unreadable(kFrequencia, e.text());
  }
}

Outcome cancelMemberBooking(const QSqlDatabase& classDb, const QString& codigo, const QDate& date,
                            const QString& matricula, double cliente) {
  try {
    return writeInTransaction(classDb, kFrequencia, [&] {
      QSqlQuery deleted = runSql(classDb,
                                 QStringLiteral("DELETE FROM FrequenciaAula WHERE CODIGO_AULA = ? "
                                                "AND DATA = ? AND MATRICULA = ? AND CLIENTE = ?"),
                                 {codigo, date, matricula, cliente});
      if (deleted.numRowsAffected() == 0) throw Gone();
    });
  } catch (const Gone&) {
    return Failure{Msg::GravandoNaTabela,
                   QStringLiteral("FrequenciaAula\rO agendamento já foi excluído em outra estação."),
                   QStringLiteral("FrequenciaAula: agendamento de %1 na aula %2 já excluído")
                       .arg(matricula, codigo)};
  }
}

Result<bool> classCodeTaken(const QSqlDatabase& classDb, const QString& codigo) {
  try {
    return countOf(classDb, QStringLiteral("SELECT COUNT(*) FROM AulasColetivas WHERE CODIGO = ?"),
                   {codigo}) > 0;
  } catch (const SqlError& e) {
    return unreadable(kAulas, e.text());
  }
}

Outcome saveClass(const QSqlDatabase& classDb, const GroupClass& c, const ClassStamp& stamp) {
  const bool inserting = c.id == 0;
  struct Taken {};
  try {
    return writeInTransaction(classDb, kAulas, [&] {
      lockForNumbering(classDb, kAulas);
      if (inserting && countOf(classDb,
                               QStringLiteral("SELECT COUNT(*) FROM AulasColetivas WHERE CODIGO = ?"),
                               {c.codigo}) > 0)
        throw Taken();
      const QVariantList values{c.codigo,
                                c.descricao,
                                c.atividade,
                                c.atividade.left(2),
                                c.maximoAlunos,
                                c.funcionario,
                                stamp.usuario.left(2),
                                stamp.receptionistControl
                                    ? QVariant(QString())
                                    : QVariant(QMetaType(QMetaType::QString)),
                                stamp.filial,
                                stamp.cliente,
                                storedTime(c.horaInicial),
                                storedTime(c.horaFinal),
                                c.toleranciaEntrada,
                                c.toleranciaSaida};
      const QString columns = QStringLiteral(
          "Codigo, Descricao, Atividade, Codigo_Atividade, Maximo_Alunos, Funcionario, Usuario, "
          "Recepcionista, Filial, Cliente, HORA_INICIAL, HORA_FINAL, TOLERANCIA_ENTRADA, "
          "TOLERANCIA_SAIDA");
      if (inserting) {
        runSql(classDb,
               QStringLiteral("INSERT INTO AulasColetivas (%1) VALUES (%2)")
                   .arg(columns, QStringLiteral("?, ").repeated(13) + QStringLiteral("?")),
               values);
        return;
      }
      QSqlQuery updated = runSql(
          classDb,
          QStringLiteral("UPDATE AulasColetivas SET %1 = ? WHERE ID = ?")
              .arg(columns.split(QStringLiteral(", ")).join(QStringLiteral(" = ?, "))),
          values + QVariantList{c.id});
      if (updated.numRowsAffected() == 0) throw Gone();
    });
  } catch (const Taken&) {
    return Failure{Msg::CodigoJaCadastrado, kAulas, {}};
  } catch (const Gone&) {
    return Failure{Msg::GravandoNaTabela,
                   QStringLiteral("AulasColetivas\rA aula foi excluída em outra estação."),
                   QStringLiteral("AulasColetivas: aula %1 excluída em outra estação").arg(c.codigo)};
  }
}

Outcome deleteClass(const QSqlDatabase& classDb, qint64 id) {
  return writeInTransaction(classDb, kAulas, [&] {
    runSql(classDb, QStringLiteral("DELETE FROM AulasColetivas WHERE ID = ?"), {id});
  });
}

Result<QStringList> staffNames(const QSqlDatabase& gymDb) {
  QStringList names;
  try {
    QSqlQuery q = runSql(gymDb, QStringLiteral("SELECT NOME FROM FUNCIONARIOS ORDER BY MATRICULA"));
    while (q.next()) names << q.value(0).toString();
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Funcionario"), e.text());
  }
  return names;
}

Result<QStringList> activityLines(const QSqlDatabase& gymDb) {
  QStringList lines;
  try {
    QSqlQuery q = runSql(gymDb, QStringLiteral("SELECT CODIGO, DESCRICAO FROM Atividades ORDER BY CODIGO"));
    while (q.next()) lines << q.value(0).toString() + QLatin1Char('-') + q.value(1).toString();
  } catch (const SqlError& e) {
    return unreadable(QStringLiteral("Atividades"), e.text());
  }
  return lines;
}
