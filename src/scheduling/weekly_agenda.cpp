#include "scheduling/weekly_agenda.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTime>

#include "base/messages.h"
#include "data/sql.h"

namespace {

const QString kAgenda = QStringLiteral("Agenda");

struct Refused {
  Failure failure;
};

std::optional<AgendaSlot> storedSlot(const QSqlDatabase& db, const QString& hora) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT HORA, %1 FROM Agenda WHERE HORA = ?")
                               .arg(agendaEvaluatorColumns().join(QStringLiteral(", "))),
                           {hora});
  if (!query.next()) return std::nullopt;
  AgendaSlot slot;
  slot.hora = query.value(0).toString();
  for (int d = 0; d < 6; ++d) slot.evaluators[size_t(d)] = query.value(d + 1).toString();
  return slot;
}

QVariantList evaluatorValues(const AgendaSlot& slot) {
  QVariantList values;
  for (const QString& e : slot.evaluators)
    values << (e.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(e));
  return values;
}

Failure changedElsewhere(const QString& hora, const QString& how) {
  return {Msg::GravandoNaTabela,
          QStringLiteral("Agenda\rA hora %1 foi %2 em outra estação.").arg(hora, how),
          QStringLiteral("Agenda: hora %1 %2 em outra estação").arg(hora, how)};
}

}  // namespace

Result<QString> typedHour(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2})\\s*[:.]?\\s*(\\d{2})\\s*$"));
  const QRegularExpressionMatch match = pattern.match(text);
  const QTime time = match.hasMatch() ? QTime(match.captured(1).toInt(), match.captured(2).toInt())
                                      : QTime();
  if (!time.isValid()) return Failure{Msg::DadoIncorreto, QStringLiteral("Hora"), {}};
  return time.toString(QStringLiteral("HH:mm"));
}

bool AgendaRow::blank() const {
  if (isStored() || !slot.hora.trimmed().isEmpty()) return false;
  for (const QString& e : slot.evaluators)
    if (!e.trimmed().isEmpty()) return false;
  return true;
}

Outcome storeAgendaRow(const QSqlDatabase& db, const AgendaRow& row) {
  Result<QString> hora = typedHour(row.slot.hora);
  if (!hora) return hora.failure();
  AgendaSlot slot = row.slot;
  slot.hora = *hora;
  for (QString& e : slot.evaluators) e = e.trimmed();
  try {
    Transaction transaction(db);
    waitForTurn(db, QStringLiteral("grade:Agenda"));
    if (row.isStored()) {
      const std::optional<AgendaSlot> now = storedSlot(db, row.stored.hora);
      if (!now) throw Refused{changedElsewhere(row.stored.hora, QStringLiteral("excluída"))};
      if (*now != row.stored)
        throw Refused{changedElsewhere(row.stored.hora, QStringLiteral("alterada"))};
    }
    if ((!row.isStored() || slot.hora != row.stored.hora) && storedSlot(db, slot.hora))
      throw Refused{{Msg::HoraJaCadastrada, slot.hora, {}}};
    const QStringList& columns = agendaEvaluatorColumns();
    if (row.isStored())
      runSql(db,
             QStringLiteral("UPDATE Agenda SET %1 = ?, HORA = ? WHERE HORA = ?")
                 .arg(columns.join(QStringLiteral(" = ?, "))),
             evaluatorValues(slot) + QVariantList{slot.hora, row.stored.hora});
    else
      runSql(db,
             QStringLiteral("INSERT INTO Agenda (%1, HORA) VALUES (?, ?, ?, ?, ?, ?, ?)")
                 .arg(columns.join(QStringLiteral(", "))),
             evaluatorValues(slot) + QVariantList{slot.hora});
    transaction.commit();
  } catch (const Refused& refused) {
    return refused.failure;
  } catch (const SqlError& e) {
    return writeFailure(kAgenda, e.text());
  }
  return Done{};
}

Outcome deleteAgendaRow(const QSqlDatabase& db, const QString& hora) {
  return writeInTransaction(db, kAgenda, [&] {
    runSql(db, QStringLiteral("DELETE FROM Agenda WHERE HORA = ?"), {hora});
  });
}
