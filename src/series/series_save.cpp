#include "series/series_save.h"

#include <QSqlError>
#include <QSqlQuery>

#include "data/schema.h"
#include "data/sql.h"

namespace {

const QString kTreino = QStringLiteral("Treino");
const QString kAgendado = QStringLiteral("Agendado");
const QString kAerobica = QStringLiteral("Aerobica");
const QString kAlongamento = QStringLiteral("Alongamento");

// One statement prepared once and run for many rows, as the row-by-row writes need.
class Prepared {
 public:
  Prepared(const QSqlDatabase& db, const QString& sql) : query_(db), sql_(sql) {
    query_.setForwardOnly(true);
    if (!query_.prepare(sql)) fail();
  }
  QSqlQuery& run(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) query_.bindValue(i, values[i]);
    if (!query_.exec()) fail();
    return query_;
  }

 private:
  [[noreturn]] void fail() {
    throw SqlError(query_.lastError().text() + QStringLiteral(" [") + sql_ + QLatin1Char(']'));
  }
  QSqlQuery query_;
  QString sql_;
};

QString weekdayColumnList() {
  return weekdayColumns().join(QStringLiteral(", "));
}

void appendDays(QVariantList& values, const WeekdayFlags& days) {
  for (bool day : days) values << day;
}

// Two workstations saving the same kind of block at once take turns: without it both could
// find no row for today on PostgreSQL and both add one.
void takeTurn(const QSqlDatabase& db, const QString& table) {
  lockForNumbering(db, table);
}

// The first pending assembly of the letter is marked done today; when there is none pending
// and none booked for today, one is booked done today.
void markAssembly(const QSqlDatabase& db, const WorkoutSave& save) {
  const QDate today = save.moment.date();
  QSqlQuery& booked = runPrepared(db,
                                  QStringLiteral("SELECT ID, DATA, DATA_FEITA FROM Agendado WHERE "
                                                 "MATRICULA = ? AND TREINO = ? ORDER BY DATA, ID"),
                                  {save.matricula, save.letter});
  bool found = false;
  QVariant pending;
  while (booked.next()) {
    if (booked.value(2).isNull()) {
      pending = booked.value(0);
      break;
    }
    if (booked.value(1).toDate() == today) found = true;
  }
  booked.finish();
  if (pending.isValid()) {
    runPrepared(db, QStringLiteral("UPDATE Agendado SET DATA_FEITA = ? WHERE ID = ?"),
                {today, pending});
    return;
  }
  if (found) return;
  runSql(db,
         QStringLiteral("INSERT INTO Agendado (USUARIO, HORA, MATRICULA, AVALIADOR, DATA, TREINO, "
                        "DATA_FEITA) VALUES (?, ?, ?, ?, ?, ?, ?)"),
         {save.usuario.left(2), save.moment.time().toString(QStringLiteral("HH:mm")),
          save.matricula, save.professor, today, save.letter, today});
}

int storeRows(const QSqlDatabase& db, const WorkoutSave& save) {
  const WeekdayFlags days = chosenDays(save.boxes);
  std::optional<Prepared> insert;
  int stored = 0;
  for (const WorkoutRow& row : save.rows) {
    if (!rowHasContent(row)) continue;
    if (!save.changeDate.isValid()) throw SqlError(QStringLiteral("data de troca inválida"));
    if (!insert)
      insert.emplace(db, QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, "
                                        "Repeticoes, Series, Peso, Intervalo, Obs, Professor, "
                                        "Data, Data_Reavaliacao, Ordem, REGULAGEM, %1) VALUES "
                                        "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                        "?, ?)")
                             .arg(weekdayColumnList()));
    // Positions follow the order of the rows without gaps, whatever the rows dropped.
    // A remark left blank is stored as none: the receipt prints a remark line only for a
    // remark that exists.
    const QVariant obs =
        row.obs.trimmed().isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(row.obs);
    QVariantList values{save.matricula, save.letter,        row.code,        row.repeticoes,
                        row.series,     row.peso,           row.intervalo,   obs,
                        save.professor, save.moment.date(), save.changeDate, ++stored,
                        row.regulagem};
    appendDays(values, days);
    insert->run(values);
  }
  return stored;
}

}  // namespace

bool rowHasContent(const WorkoutRow& row) {
  return !row.repeticoes.trimmed().isEmpty() || !row.series.trimmed().isEmpty() ||
         !row.peso.trimmed().isEmpty() || !row.obs.trimmed().isEmpty() || row.intervalo != 0;
}

WeekdayFlags chosenDays(const WeekdayBoxes& boxes) {
  WeekdayFlags days{};
  for (int d = 0; d < kWeekdayCount; ++d) days[d] = boxes[d].checked && boxes[d].enabled;
  return days;
}

Result<int> saveWorkout(const QSqlDatabase& workoutDb, const WorkoutSave& save) {
  int stored = 0;
  const Outcome saved = writeTablesInTransaction(workoutDb, kTreino, [&](QString& table) {
    table = kTreino;
    takeTurn(workoutDb, kTreino);
    runPrepared(
        workoutDb,
        QStringLiteral("DELETE FROM Treino WHERE Matricula = ? AND Treino = ? AND Data = ?"),
        {save.matricula, save.letter, save.moment.date()});
    if (!save.rows.isEmpty()) {
      table = kAgendado;
      markAssembly(workoutDb, save);
    }
    table = kTreino;
    stored = storeRows(workoutDb, save);
  });
  if (!saved) return saved.failure();
  return stored;
}

QList<AerobicRow> aerobicCatalogue(const QSqlDatabase& workoutDb) {
  QSqlQuery query = runSql(workoutDb,
                           QStringLiteral("SELECT Codigo, Descricao, Aparelho FROM Exercicios "
                                          "WHERE Tipo = ? ORDER BY Descricao, Codigo"),
                           {QStringLiteral("S")});
  QList<AerobicRow> rows;
  while (query.next()) {
    AerobicRow row;
    row.code = query.value(0).toString();
    row.descricao = query.value(1).toString();
    row.aparelho = query.value(2).toString();
    rows << row;
  }
  return rows;
}

std::optional<WeekdayFlags> loadCurrentAerobic(const QSqlDatabase& workoutDb,
                                               const QString& matricula, QList<AerobicRow>& rows) {
  QSqlQuery query = runSql(
      workoutDb,
      QStringLiteral("SELECT Codigo_exercicio, Duracao, Velocidade, Nivel_dificuldade, %1 FROM "
                     "Aerobica WHERE Matricula = ? AND Data IN (SELECT MAX(Data) FROM Aerobica "
                     "WHERE Matricula = ?) ORDER BY ID")
          .arg(weekdayColumnList()),
      {matricula, matricula});
  std::optional<WeekdayFlags> days;
  while (query.next()) {
    if (!days) {
      days.emplace();
      for (int d = 0; d < kWeekdayCount; ++d) (*days)[d] = query.value(4 + d).toBool();
    }
    const QString code = query.value(0).toString();
    for (AerobicRow& row : rows) {
      if (row.code != code) continue;
      row.duracao = qint16(query.value(1).toInt());
      row.velocidade = query.value(2).toDouble();
      row.nivel = query.value(3).toDouble();
      break;
    }
  }
  return days;
}

Outcome saveAerobic(const QSqlDatabase& workoutDb, const QString& matricula,
                    const QString& professor, const QDate& today, const WeekdayFlags& days,
                    const QList<AerobicRow>& rows) {
  return writeInTransaction(workoutDb, kAerobica, [&] {
    takeTurn(workoutDb, kAerobica);
    Prepared find(workoutDb, QStringLiteral("SELECT ID FROM Aerobica WHERE Matricula = ? AND "
                                            "Codigo_exercicio = ? AND Data = ?"));
    Prepared update(workoutDb,
                    QStringLiteral("UPDATE Aerobica SET Duracao = ?, Velocidade = ?, "
                                   "Nivel_dificuldade = ?, Professor = ?, Dom = ?, Seg = ?, "
                                   "Ter = ?, Qua = ?, Qui = ?, Sex = ?, Sab = ? WHERE ID = ?"));
    Prepared insert(workoutDb,
                    QStringLiteral("INSERT INTO Aerobica (Duracao, Velocidade, Nivel_dificuldade, "
                                   "Professor, %1, Matricula, Codigo_exercicio, Data) VALUES "
                                   "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(weekdayColumnList()));
    Prepared remove(workoutDb, QStringLiteral("DELETE FROM Aerobica WHERE ID = ?"));
    for (const AerobicRow& row : rows) {
      QSqlQuery& existing = find.run({matricula, row.code, today});
      const QVariant id = existing.next() ? existing.value(0) : QVariant();
      existing.finish();
      if (!row.prescribed()) {
        if (id.isValid()) remove.run({id});
        continue;
      }
      QVariantList values{row.duracao, row.velocidade, row.nivel, professor};
      appendDays(values, days);
      if (id.isValid())
        update.run(values << id);
      else
        insert.run(values << matricula << row.code << today);
    }
  });
}

std::optional<std::pair<StretchChoice, QDate>> currentStretching(const QSqlDatabase& workoutDb,
                                                                 const QString& matricula,
                                                                 const QString& letter) {
  const QStringList& columns = stretchColumns();
  QSqlQuery query = runSql(
      workoutDb,
      QStringLiteral("SELECT Data, Obs, %1 FROM Alongamento WHERE Matricula = ? AND Treino = ? "
                     "AND Data IN (SELECT MAX(Data) FROM Alongamento WHERE Matricula = ? AND "
                     "Treino = ?) ORDER BY ID DESC")
          .arg(columns.join(QStringLiteral(", "))),
      {matricula, letter, matricula, letter});
  if (!query.next()) return std::nullopt;
  StretchChoice choice;
  choice.obs = query.value(1).toString();
  for (int i = 0; i < kStretchColumns; ++i) choice.stretches[i] = query.value(2 + i).toBool();
  return std::pair{choice, query.value(0).toDate()};
}

Outcome saveStretching(const QSqlDatabase& workoutDb, const QString& matricula,
                       const QString& letter, const QDate& today, const StretchChoice& choice) {
  return writeInTransaction(workoutDb, kAlongamento, [&] {
    takeTurn(workoutDb, kAlongamento);
    const QVariant current = scalarSql(
        workoutDb,
        QStringLiteral("SELECT ID FROM Alongamento WHERE Matricula = ? AND Treino = ? AND Data IN "
                       "(SELECT MAX(Data) FROM Alongamento WHERE Matricula = ? AND Treino = ?) "
                       "AND Data >= ? ORDER BY ID DESC"),
        {matricula, letter, matricula, letter, today});
    QStringList columns{QStringLiteral("Matricula"), QStringLiteral("Treino"),
                        QStringLiteral("Data"), QStringLiteral("Obs")};
    QVariantList values{matricula, letter, today, choice.obs.left(kStretchObsLength)};
    for (int i = 0; i < kStretchColumns; ++i) {
      columns << stretchColumns()[i];
      values << choice.stretches[i];
    }
    if (current.isValid()) {
      runSql(workoutDb,
             QStringLiteral("UPDATE Alongamento SET %1 = ? WHERE ID = ?")
                 .arg(columns.join(QStringLiteral(" = ?, "))),
             values << current);
    } else {
      runSql(workoutDb,
             QStringLiteral("INSERT INTO Alongamento (%1) VALUES (?%2)")
                 .arg(columns.join(QStringLiteral(", ")),
                      QStringLiteral(", ?").repeated(columns.size() - 1)),
             values);
    }
  });
}

bool memoTakesKeys(const QString& text) {
  return text.count(QLatin1Char('\n')) + 1 < kStretchObsMaxLines;
}
