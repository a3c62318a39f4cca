#include "series/series_store.h"

#include <QSet>

#include <QSqlQuery>
#include <QSqlRecord>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/schema.h"
#include "data/sql.h"

namespace {

const QString kStoredColumns = QStringLiteral(
    "SELECT t.Codigo_exercicio, t.Repeticoes, t.Series, t.Peso, t.Intervalo, t.Obs, t.Treino, "
    "t.Ordem, t.REGULAGEM, t.Dom, t.Seg, t.Ter, t.Qua, t.Qui, t.Sex, t.Sab, e.Descricao, "
    "e.Aparelho FROM Treino t LEFT JOIN Exercicios e ON e.Codigo = t.Codigo_exercicio ");

QList<WorkoutRow> readRows(QSqlQuery& query) {
  QList<WorkoutRow> rows;
  while (query.next()) {
    WorkoutRow row;
    row.code = query.value(0).toString();
    row.repeticoes = query.value(1).toString();
    row.series = query.value(2).toString();
    row.peso = query.value(3).toString();
    row.intervalo = qint16(query.value(4).toInt());
    row.obs = query.value(5).toString();
    row.treino = query.value(6).toString();
    row.ordem = qint16(query.value(7).toInt());
    row.regulagem = query.value(8).toString();
    for (int day = 0; day < kWeekdayCount; ++day) row.days[day] = query.value(9 + day).toBool();
    row.descricao = query.value(16).toString();
    row.aparelho = query.value(17).toString();
    rows << row;
  }
  return rows;
}

}  // namespace

bool instructorAccepted(const QString& cargo, const QVariant& dataDemissao,
                        const QString& matricula, const std::optional<QString>& linkedMatricula) {
  if (!cargo.contains(QStringLiteral("PROF MUSC"))) return false;
  if (!dataDemissao.isNull() && !dataDemissao.toString().trimmed().isEmpty()) return false;
  return !linkedMatricula || matricula == *linkedMatricula;
}

QStringList instructorEntries(const QSqlDatabase& peopleDb, const QString& staffTable,
                              const QString& orderColumn,
                              const std::optional<QString>& linkedMatricula) {
  const QString order =
      orderColumn == QStringLiteral("NOME") ? QStringLiteral("NOME") : QStringLiteral("MATRICULA");
  QSqlQuery query =
      runSql(peopleDb, QStringLiteral("SELECT MATRICULA, NOME, CARGO, DATA_DEMISSAO FROM %1 "
                                      "ORDER BY %2, MATRICULA")
                           .arg(staffTable, order));
  QStringList entries;
  while (query.next()) {
    const QString matricula = query.value(0).toString();
    if (instructorAccepted(query.value(2).toString(), query.value(3), matricula, linkedMatricula))
      entries << matricula + QStringLiteral(" - ") + query.value(1).toString();
  }
  return entries;
}

QString linkedStaffMatricula(const QSqlDatabase& workoutDb, const QString& userCode) {
  return scalarSql(workoutDb, QStringLiteral("SELECT MATRICULA FROM Usuarios WHERE CODIGO = ?"),
                   {userCode})
      .toString();
}

int preferredInstructor(const QStringList& entries, const QString& userStaff) {
  if (entries.isEmpty()) return -1;
  const QString matricula = userStaff.trimmed();
  if (!matricula.isEmpty())
    for (int i = 0; i < entries.size(); ++i)
      if (entries[i].section(QStringLiteral(" - "), 0, 0) == matricula) return i;
  return 0;
}

QString instructorName(const QString& entry) {
  return entry.section(QStringLiteral(" - "), 1);
}

QList<WorkoutRow> currentWorkout(const QSqlDatabase& workoutDb, const QString& matricula,
                                 const QString& letter) {
  QSqlQuery query = runSql(
      workoutDb,
      kStoredColumns + QStringLiteral("WHERE t.Matricula = ? AND t.Treino = ? AND t.Data IN "
                                      "(SELECT MAX(Data) FROM Treino WHERE Matricula = ? AND "
                                      "Treino = ?) ORDER BY t.Ordem, t.ID"),
      {matricula, letter, matricula, letter});
  return readRows(query);
}

QList<WorkoutRow> workoutOfDay(const QSqlDatabase& workoutDb, const QString& matricula,
                               const QString& letter, const QDate& day) {
  QSqlQuery query = runSql(
      workoutDb,
      kStoredColumns + QStringLiteral("WHERE t.Matricula = ? AND t.Treino = ? AND t.Data = ? "
                                      "ORDER BY t.Ordem, t.ID"),
      {matricula, letter, day});
  return readRows(query);
}

WeekdayFlags storedWeekdays(const QSqlRecord& row) {
  WeekdayFlags days{};
  for (int d = 0; d < kWeekdayCount; ++d) days[d] = row.value(weekdayColumns()[d]).toBool();
  return days;
}

std::optional<WeekdayFlags> storedDays(const QSqlDatabase& workoutDb, const QString& matricula,
                                       const QString& letter) {
  const QList<WorkoutRow> rows = currentWorkout(workoutDb, matricula, letter);
  if (rows.isEmpty()) return std::nullopt;
  return rows.first().days;
}

void renumberStored(const QSqlDatabase& db, const QString& table, const QString& matricula,
                    const QString& letter, const QDate& day, const std::optional<int>& cliente,
                    const QList<WorkoutRow>& scratch) {
  QString sql = QStringLiteral(
                    "SELECT ID, Codigo_exercicio FROM %1 WHERE Matricula = ? AND "
                    "Treino = ? AND Data = ?")
                    .arg(table);
  QVariantList values{matricula, letter, day};
  if (cliente) {
    sql += QStringLiteral(" AND cliente = ?");
    values << *cliente;
  }
  QSqlQuery stored = runSql(db, sql, values);
  QList<std::pair<QVariant, int>> updates;
  QSet<QString> storedCodes;
  while (stored.next()) {
    const QString code = stored.value(1).toString();
    storedCodes.insert(code);
    for (const WorkoutRow& row : scratch) {
      if (row.code != code) continue;
      if (row.novaOrdem) updates.append({stored.value(0), *row.novaOrdem});
      break;
    }
  }
  for (const WorkoutRow& row : scratch)
    if (row.novaOrdem && !storedCodes.contains(row.code)) throw WorkoutChanged();
  for (const auto& [id, ordem] : updates)
    runSql(db, QStringLiteral("UPDATE %1 SET Ordem = ? WHERE ID = ?").arg(table), {ordem, id});
}

PagedTableModel* pickingModel(const QSqlDatabase& workoutDb, const Dialect& dialect,
                              const std::optional<QString>& groupCode, QObject* parent) {
  auto* model = new PagedTableModel(workoutDb, dialect, QStringLiteral("Exercicios"),
                                    {{QStringLiteral("Descricao"), QStringLiteral("Descrição")}},
                                    {QStringLiteral("Codigo")}, parent);
  if (groupCode)
    model->setFilter(QStringLiteral("Tipo = 'N' AND CODIGO_G = ?"), {*groupCode});
  else
    model->setFilter(QStringLiteral("Tipo = 'N'"), {});
  model->setOrder({QStringLiteral("Descricao")});
  return model;
}

QString exerciseVideoPath(const QSqlDatabase& workoutDb, const QString& code) {
  return scalarSql(workoutDb,
                   QStringLiteral("SELECT Caminho_Video FROM Exercicios WHERE Codigo = ? AND "
                                  "Caminho_Video IS NOT NULL AND Caminho_Video <> ''"),
                   {code})
      .toString();
}

QStringList muscleGroupEntries(const QSqlDatabase& workoutDb) {
  QSqlQuery query =
      runSql(workoutDb,
             QStringLiteral("SELECT CODIGO, DESCRICAO FROM GrupamentoMuscular ORDER BY CODIGO"));
  QStringList entries;
  while (query.next())
    entries << query.value(0).toString() + QStringLiteral(" - ") + query.value(1).toString();
  return entries;
}

Outcome writeNewOrder(const QSqlDatabase& workoutDb, const QString& matricula,
                      const QString& letter, const QDate& day, const QList<WorkoutRow>& scratch,
                      const std::optional<int>& portalCliente,
                      std::optional<Failure>* portalFailure) {
  const QString changed = QStringLiteral("Treino\rA série foi gravada de novo em outra estação.");
  const Outcome stored = [&]() -> Outcome {
    try {
      return writeInTransaction(workoutDb, QStringLiteral("Treino"), [&] {
        // The same turn as the save of a workout: the rows read are the rows renumbered.
        lockForNumbering(workoutDb, QStringLiteral("Treino"));
        renumberStored(workoutDb, QStringLiteral("Treino"), matricula, letter, day, std::nullopt,
                       scratch);
      });
    } catch (const WorkoutChanged&) {
      return Failure{Msg::GravandoNaTabela, changed,
                     QStringLiteral("Nova ordem: treino %1 de %2 gravado de novo em outra estação")
                         .arg(letter, matricula)};
    }
  }();
  if (!stored || !portalCliente) return stored;
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("portal-ordem")));
  std::optional<Failure> refused;
  if (!portal.open()) {
    refused = Failure{Msg::EntreEmContato, SeriesText::ProblemaBancoInternet,
                      QStringLiteral("Portal, nova ordem: %1").arg(portal.lastError())};
  } else {
    try {
      const Outcome published =
          writeInTransaction(portal.database(), QStringLiteral("Portal_Treino"), [&] {
            waitForTurn(portal.database(), QStringLiteral("portal:") + matricula);
            renumberStored(portal.database(), QStringLiteral("Portal_Treino"), matricula, letter,
                           day, portalCliente, scratch);
          });
      if (!published) refused = published.failure();
    } catch (const WorkoutChanged&) {
      refused = Failure{Msg::GravandoNaTabela, QStringLiteral("Portal_Treino"),
                        QStringLiteral("Nova ordem no portal: treino %1 de %2 mudou")
                            .arg(letter, matricula)};
    }
  }
  portal.release();
  if (portalFailure) *portalFailure = refused;
  return stored;
}

Result<QList<WorkoutRow>> workoutToCopy(const QSqlDatabase& workoutDb, const QString& matricula,
                                        const QString& letter) {
  QList<WorkoutRow> rows;
  try {
    rows = currentWorkout(workoutDb, matricula, letter);
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Treino"), e.text()};
  }
  if (rows.isEmpty())
    return Failure{Msg::DadoIncorreto, QStringLiteral("Nenhum TREINO '%1' Cadastrado").arg(letter), {}};
  QStringList gone;
  for (const WorkoutRow& row : rows)
    if (row.descricao.isEmpty()) gone << row.code;
  if (!gone.isEmpty())
    return Failure{QStringLiteral("Exercício fora do cadastro !"), gone.join(QStringLiteral(", ")), {}};
  return rows;
}

Result<QString> assessmentActiveMembers() {
  Connection tamsel(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("tamsel")));
  std::optional<QString> active;
  QString cause;
  if (tamsel.open()) {
    try {
      active = scalarSql(tamsel.database(), QStringLiteral("SELECT AlunosAtivos FROM Savcvar"))
                   .toString();
    } catch (const SqlError& e) {
      cause = e.text();
    }
  } else {
    cause = tamsel.lastError();
  }
  tamsel.release();
  if (!active)
    return Failure{Msg::TamselInativo, {}, QStringLiteral("Avaliação, Savcvar: %1").arg(cause)};
  return *active;
}
