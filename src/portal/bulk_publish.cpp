#include "portal/bulk_publish.h"

#include <algorithm>

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include <libpq-fe.h>
#include <QSqlDriver>

#include "base/routines.h"
#include "data/sql.h"
#include "portal/portal_publish.h"

namespace {

// Rows handed to the database per statement.
constexpr int kRowsPerStatement = 20000;

bool onPostgres(const QSqlDatabase& db) {
  return db.driverName() == QLatin1String("QPSQL");
}

// A JSON string: the text in quotes, with what JSON requires escaped.
void appendJsonString(QString& out, const QString& text) {
  out += QLatin1Char('"');
  for (const QChar c : text) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
      out += QLatin1Char('\\');
      out += c;
    } else if (c.unicode() < 0x20) {
      out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  out += QLatin1Char('"');
}

void appendJson(QString& out, const QVariant& value) {
  if (value.isNull()) {
    out += QStringLiteral("null");
    return;
  }
  switch (value.typeId()) {
    case QMetaType::QDate:
      appendJsonString(out, value.toDate().toString(Qt::ISODate));
      return;
    case QMetaType::Bool:
      out += value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
      return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
      out += QString::number(value.toLongLong());
      return;
    case QMetaType::Double:
    case QMetaType::Float:
      out += QString::number(value.toDouble(), 'g', 17);
      return;
    default:
      appendJsonString(out, value.toString());
  }
}

// Reads the current row's columns by name, their places looked up once per query (building a
// record per row costs more than the rest of the reading).
class RowReader {
 public:
  explicit RowReader(QSqlQuery& query) : query_(query) {
    const QSqlRecord shape = query.record();
    for (int i = 0; i < shape.count(); ++i) places_.insert(shape.fieldName(i).toLower(), i);
  }
  QVariant operator()(const QString& column) const {
    return query_.value(places_.value(column.toLower(), -1));
  }

 private:
  QSqlQuery& query_;
  QHash<QString, int> places_;
};

QStringList stretchColumns() {
  QStringList columns;
  for (int i = 1; i <= 23; ++i)
    columns << QStringLiteral("Alogamento_%1").arg(i, 2, 10, QLatin1Char('0'));
  return columns;
}

const QStringList kDays = {QStringLiteral("Dom"), QStringLiteral("Seg"), QStringLiteral("Ter"),
                           QStringLiteral("Qua"), QStringLiteral("Qui"), QStringLiteral("Sex"),
                           QStringLiteral("Sab")};

// The PostgreSQL session under a Qt connection, or nullptr.
PGconn* postgresSession(const QSqlDatabase& db) {
  const QVariant handle = db.driver()->handle();
  if (!handle.isValid()) return nullptr;
  const char* type = handle.typeName();
  if (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0) return nullptr;
  return *static_cast<PGconn* const*>(handle.constData());
}

// One CSV field as COPY reads it: NULL as nothing, everything else quoted.
void appendCsv(QByteArray& out, const QVariant& value) {
  if (value.isNull()) return;
  QByteArray text;
  switch (value.typeId()) {
    case QMetaType::QDate:
      text = value.toDate().toString(Qt::ISODate).toUtf8();
      break;
    case QMetaType::Bool:
      text = value.toBool() ? "t" : "f";
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      text = QByteArray::number(value.toDouble(), 'g', 17);
      break;
    default:
      text = value.toString().toUtf8();
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

[[noreturn]] void copyFailed(PGconn* session, const QString& table) {
  throw SqlError(
      QStringLiteral("COPY %1: %2").arg(table, QString::fromUtf8(PQerrorMessage(session))));
}

// Rows into `table` through COPY, in CSV, on the session the transaction runs on.
void copyRows(PGconn* session, const QString& table, const QStringList& columns,
              const QList<QVariantList>& rows) {
  const QByteArray command = QStringLiteral("COPY %1 (%2) FROM STDIN WITH (FORMAT csv)")
                                 .arg(table, columns.join(QStringLiteral(", ")))
                                 .toUtf8();
  PGresult* started = PQexec(session, command.constData());
  const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
  PQclear(started);
  if (!copying) copyFailed(session, table);
  QByteArray chunk;
  bool sent = true;
  for (int r = 0; r < rows.size() && sent; ++r) {
    for (int c = 0; c < columns.size(); ++c) {
      if (c > 0) chunk += ',';
      appendCsv(chunk, rows[r].value(c));
    }
    chunk += '\n';
    if (chunk.size() > (1 << 20) || r + 1 == rows.size()) {
      sent = PQputCopyData(session, chunk.constData(), int(chunk.size())) == 1;
      chunk.clear();
    }
  }
  if (PQputCopyEnd(session, sent ? nullptr : "envio interrompido") != 1) copyFailed(session, table);
  bool ok = sent;
  while (PGresult* result = PQgetResult(session)) {
    ok = ok && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
  }
  if (!ok) copyFailed(session, table);
}

// Rows into the scratch table `table` (made from a portal table, so its columns carry the
// portal's types). Each statement takes thousands of rows as one JSON document parameter that
// the database unpacks itself: values stay parameters, and a row costs no round trip.
void insertRows(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) {
  if (rows.isEmpty()) return;
  if (PGconn* session = postgresSession(db)) {
    copyRows(session, table, columns, rows);
    runSql(db, QStringLiteral("ANALYZE %1").arg(table));
    return;
  }
  QStringList keys;
  for (const QString& column : columns) keys << column.toLower();
  QString sql;
  if (onPostgres(db)) {
    sql = QStringLiteral(
              "INSERT INTO %1 (%2) SELECT %2 FROM json_populate_recordset(NULL::%1, "
              "CAST(? AS json))")
              .arg(table, keys.join(QStringLiteral(", ")));
  } else {
    QStringList extracts;
    for (const QString& key : keys)
      extracts << QStringLiteral("json_extract(value, '$.%1')").arg(key);
    sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM json_each(?)")
              .arg(table, keys.join(QStringLiteral(", ")), extracts.join(QStringLiteral(", ")));
  }
  QStringList quotedKeys;
  for (const QString& key : keys) {
    QString quoted;
    appendJsonString(quoted, key);
    quotedKeys << quoted + QLatin1Char(':');
  }
  for (int start = 0; start < rows.size(); start += kRowsPerStatement) {
    QString batch = QStringLiteral("[");
    for (int r = start; r < qMin(start + kRowsPerStatement, int(rows.size())); ++r) {
      if (r > start) batch += QLatin1Char(',');
      batch += QLatin1Char('{');
      for (int c = 0; c < keys.size(); ++c) {
        if (c > 0) batch += QLatin1Char(',');
        batch += quotedKeys[c];
        appendJson(batch, rows[r].value(c));
      }
      batch += QLatin1Char('}');
    }
    batch += QLatin1Char(']');
    runSql(db, sql, {batch});
  }
  if (onPostgres(db)) runSql(db, QStringLiteral("ANALYZE %1").arg(table));
}

QString matching(const QString& table, const QString& scratch, const QStringList& keys) {
  QStringList conditions;
  for (const QString& key : keys)
    conditions << QStringLiteral("%1.%3 = %2.%3").arg(table, scratch, key);
  return conditions.join(QStringLiteral(" AND "));
}

// The period's rows of one portal table matched on `keys`: existing rows take the values (those
// in `keepWhenNull` only when the new value is known), the others are added. Returns how many
// rows were written.
int applyScratch(const QSqlDatabase& db, const QString& table, const QString& scratch,
                 const QStringList& keys, const QStringList& values,
                 const QStringList& keepWhenNull);

int upsert(const QSqlDatabase& db, const QString& table, const QStringList& keys,
           const QStringList& values, const QStringList& keepWhenNull,
           const QList<QVariantList>& rows) {
  if (rows.isEmpty()) return 0;
  const QString scratch = QStringLiteral("publica_") + table.toLower();
  const QStringList columns = keys + values;
  // One source row per key (an exercise twice in a workout): the last one stands.
  QHash<QString, int> lastOfKey;
  for (int r = 0; r < rows.size(); ++r) {
    QStringList key;
    for (int k = 0; k < keys.size(); ++k) key << rows[r].value(k).toString();
    lastOfKey.insert(key.join(QChar(0x1F)), r);
  }
  QList<int> kept = lastOfKey.values();
  std::sort(kept.begin(), kept.end());
  QList<QVariantList> unique;
  unique.reserve(kept.size());
  for (int r : kept) unique << rows[r];
  runSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(scratch));
  // The scratch table takes the portal table's own column types.
  runSql(db, QStringLiteral("CREATE TEMP TABLE %1 AS SELECT %2 FROM %3 WHERE 1 = 0")
                 .arg(scratch, columns.join(QStringLiteral(", ")), table));
  insertRows(db, scratch, columns, unique);
  return applyScratch(db, table, scratch, keys, values, keepWhenNull);
}

// The rows of `scratch` written into `table` as `upsert` describes; the scratch table goes.
int applyScratch(const QSqlDatabase& db, const QString& table, const QString& scratch,
                 const QStringList& keys, const QStringList& values,
                 const QStringList& keepWhenNull) {
  const QStringList columns = keys + values;
  QStringList sets;
  for (const QString& value : values)
    sets << (keepWhenNull.contains(value)
                 ? QStringLiteral("%1 = COALESCE(%2.%1, %3.%1)").arg(value, scratch, table)
                 : QStringLiteral("%1 = %2.%1").arg(value, scratch));
  // Only rows whose values differ are written: a second run of the same period writes nothing.
  QStringList now;
  QStringList then;
  for (const QString& value : values) {
    now << QStringLiteral("%1.%2").arg(table, value);
    then << (keepWhenNull.contains(value)
                 ? QStringLiteral("COALESCE(%2.%1, %3.%1)").arg(value, scratch, table)
                 : QStringLiteral("%2.%1").arg(value, scratch));
  }
  const QString differs =
      onPostgres(db) ? QStringLiteral(" IS DISTINCT FROM ") : QStringLiteral(" IS NOT ");
  QSqlQuery updated = runSql(
      db, QStringLiteral("UPDATE %1 SET %2 FROM %3 WHERE %4 AND (%5)%6(%7)")
              .arg(table, sets.join(QStringLiteral(", ")), scratch, matching(table, scratch, keys),
                   now.join(QStringLiteral(", ")), differs, then.join(QStringLiteral(", "))));
  int written = qMax(0, updated.numRowsAffected());
  QSqlQuery inserted = runSql(
      db,
      QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE NOT EXISTS (SELECT 1 FROM "
                     "%1 WHERE %4)")
          .arg(table, columns.join(QStringLiteral(", ")), scratch, matching(table, scratch, keys)));
  written += qMax(0, inserted.numRowsAffected());
  runSql(db, QStringLiteral("DROP TABLE %1").arg(scratch));
  return written;
}

// The published members' rows older than the latest date of their letter (or of the block).
int deleteOlder(const QSqlDatabase& db, const QString& table, int customer, bool byLetter) {
  if (onPostgres(db)) {
    // The latest date of each member (and letter) once, then the rows before it.
    const QString group = byLetter ? QStringLiteral(", Treino") : QString();
    const QString join = byLetter ? QStringLiteral(" AND p.Treino = u.Treino") : QString();
    QSqlQuery removed = runSql(
        db,
        QStringLiteral("DELETE FROM %1 p USING (SELECT Matricula%2, MAX(Data) AS ultima FROM "
                       "%1 WHERE cliente = ? AND Matricula IN (SELECT Matricula FROM "
                       "publica_membros) GROUP BY Matricula%2) u WHERE p.cliente = ? AND "
                       "p.Matricula = u.Matricula%3 AND p.Data < u.ultima")
            .arg(table, group, join),
        {customer, customer});
    return qMax(0, removed.numRowsAffected());
  }
  const QString letter =
      byLetter ? QStringLiteral(" AND q.Treino = %1.Treino").arg(table) : QString();
  QSqlQuery removed =
      runSql(db,
             QStringLiteral("DELETE FROM %1 WHERE cliente = ? AND Matricula IN (SELECT Matricula "
                            "FROM publica_membros) AND Data < (SELECT MAX(q.Data) FROM %1 q WHERE "
                            "q.cliente = %1.cliente AND q.Matricula = %1.Matricula%2)")
                 .arg(table, letter),
             {customer});
  return qMax(0, removed.numRowsAffected());
}

// Only the latest date of each member (and letter) within the period: the older dates would be
// written only to be removed again by the same run. `dateAt` and `letterAt` are the places of
// the date and the letter in a row (-1: the block has no letter).
QList<QVariantList> latestOnly(const QList<QVariantList>& rows, int matriculaAt, int dateAt,
                               int letterAt) {
  QHash<QString, QDate> latest;
  const auto key = [&](const QVariantList& row) {
    return row[matriculaAt].toString() +
           (letterAt >= 0 ? QLatin1Char('|') + row[letterAt].toString() : QString());
  };
  for (const QVariantList& row : rows) {
    const QDate day = row[dateAt].toDate();
    QDate& best = latest[key(row)];
    if (!best.isValid() || day > best) best = day;
  }
  QList<QVariantList> kept;
  for (const QVariantList& row : rows)
    if (row[dateAt].toDate() == latest.value(key(row))) kept << row;
  return kept;
}

struct Catalogue {
  QHash<QString, std::pair<QString, QString>> exercises;  // code -> name, equipment
  QVariant name(const QString& code) const {
    return exercises.contains(code) ? QVariant(exercises[code].first)
                                    : QVariant(QMetaType(QMetaType::QString));
  }
  QVariant equipment(const QString& code) const {
    return exercises.contains(code) ? QVariant(exercises[code].second)
                                    : QVariant(QMetaType(QMetaType::QString));
  }
};

Catalogue readCatalogue(const QSqlDatabase& workoutDb) {
  Catalogue catalogue;
  QSqlQuery query = runSql(workoutDb, QStringLiteral("SELECT Codigo, Descricao, Aparelho FROM "
                                                     "Exercicios"));
  while (query.next())
    catalogue.exercises.insert(query.value(0).toString(),
                               {query.value(1).toString(), query.value(2).toString()});
  return catalogue;
}

QVariant staffName(const BulkInput& input, const QString& matricula) {
  return input.staffNames.contains(matricula) ? QVariant(input.staffNames[matricula])
                                              : QVariant(QMetaType(QMetaType::QString));
}

// The assessment values of a published member's record, found by CPF.
void publishAssessment(const QSqlDatabase& portalDb, const BulkInput& input,
                       const BulkMember& member, const QString& cpf) {
  const std::optional<SheetAssessment> assessment = input.assessment(member.matricula);
  if (!assessment) return;
  const QVariant id =
      scalarSql(portalDb, QStringLiteral("SELECT ID FROM Alunos WHERE CPF = ? ORDER BY ID"), {cpf});
  runSql(portalDb, QStringLiteral("UPDATE Alunos SET Objetivo = ? WHERE ID = ?"),
         {assessment->objetivos, id});
  const QString next = assessment->proximaReavaliacao.isValid()
                           ? assessment->proximaReavaliacao.toString(QStringLiteral("dd/MM/yyyy"))
                           : QString();
  for (const auto& [column, value] : {std::pair{QStringLiteral("Reavaliacao"), next},
                                      {QStringLiteral("Peso"), assessment->peso},
                                      {QStringLiteral("Gordura"), assessment->gordura}})
    if (!value.isEmpty())
      runSql(portalDb, QStringLiteral("UPDATE Alunos SET %1 = ? WHERE ID = ?").arg(column),
             {value, id});
}

// The columns of a series row as both databases name them, for the copy between them.
const QString kStrengthColumns = QStringLiteral(
    "Matricula, Treino, Codigo_exercicio, Data, Data_Reavaliacao, Repeticoes, Series, Peso, "
    "Intervalo, Obs, Ordem, Regulagem, Dom, Seg, Ter, Qua, Qui, Sex, Sab, Professor");

// With both databases on PostgreSQL the period's strength rows go from one server to the
// other as COPY streams, untouched by the program, and become portal rows in one statement:
// joined there with the published members' CPFs, the catalogue and the staff names.
void streamStrengthRows(PGconn* from, PGconn* to, const QSqlDatabase& portalDb,
                        const BulkInput& input, const QHash<QString, QString>& cpfOf,
                        const Catalogue& catalogue) {
  const auto scratch = [&](const QString& name, const QString& columns) {
    runSql(portalDb, QStringLiteral("DROP TABLE IF EXISTS %1").arg(name));
    runSql(portalDb, QStringLiteral("CREATE TEMP TABLE %1 AS SELECT %2 FROM Portal_Treino WHERE "
                                    "1 = 0")
                         .arg(name, columns));
  };
  scratch(QStringLiteral("publica_cpf"), QStringLiteral("Matricula, CPF"));
  QList<QVariantList> cpfs;
  for (auto it = cpfOf.cbegin(); it != cpfOf.cend(); ++it)
    cpfs << QVariantList{it.key(), it.value()};
  copyRows(to, QStringLiteral("publica_cpf"), {QStringLiteral("Matricula"), QStringLiteral("CPF")},
           cpfs);
  scratch(QStringLiteral("publica_catalogo"),
          QStringLiteral("Codigo_exercicio AS Codigo, Descricao, Aparelho"));
  QList<QVariantList> exercises;
  for (auto it = catalogue.exercises.cbegin(); it != catalogue.exercises.cend(); ++it)
    exercises << QVariantList{it.key(), it.value().first, it.value().second};
  copyRows(to, QStringLiteral("publica_catalogo"),
           {QStringLiteral("Codigo"), QStringLiteral("Descricao"), QStringLiteral("Aparelho")},
           exercises);
  scratch(QStringLiteral("publica_professores"), QStringLiteral("Matricula, Professor AS Nome"));
  QList<QVariantList> staff;
  for (auto it = input.staffNames.cbegin(); it != input.staffNames.cend(); ++it)
    staff << QVariantList{it.key(), it.value()};
  copyRows(to, QStringLiteral("publica_professores"),
           {QStringLiteral("Matricula"), QStringLiteral("Nome")}, staff);
  scratch(QStringLiteral("publica_bruto"), kStrengthColumns);

  // The dates are the program's own, written as ISO digits.
  const QByteArray out =
      QStringLiteral(
          "COPY (SELECT %1 FROM Treino WHERE Data >= DATE '%2' AND Data <= DATE '%3') "
          "TO STDOUT WITH (FORMAT csv)")
          .arg(kStrengthColumns, input.from.toString(Qt::ISODate), input.to.toString(Qt::ISODate))
          .toUtf8();
  const QByteArray in = QStringLiteral("COPY publica_bruto (%1) FROM STDIN WITH (FORMAT csv)")
                            .arg(kStrengthColumns)
                            .toUtf8();
  PGresult* reading = PQexec(from, out.constData());
  const bool readingOk = PQresultStatus(reading) == PGRES_COPY_OUT;
  PQclear(reading);
  if (!readingOk) copyFailed(from, QStringLiteral("Treino"));
  PGresult* writing = PQexec(to, in.constData());
  const bool writingOk = PQresultStatus(writing) == PGRES_COPY_IN;
  PQclear(writing);
  bool sent = writingOk;
  char* buffer = nullptr;
  int length = 0;
  // Drain the source whatever happens, so its session is usable again.
  while ((length = PQgetCopyData(from, &buffer, 0)) > 0) {
    if (sent) sent = PQputCopyData(to, buffer, length) == 1;
    PQfreemem(buffer);
  }
  bool readOk = length == -1;
  while (PGresult* result = PQgetResult(from)) {
    readOk = readOk && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
  }
  if (writingOk) {
    if (PQputCopyEnd(to, sent && readOk ? nullptr : "leitura interrompida") != 1) sent = false;
    while (PGresult* result = PQgetResult(to)) {
      sent = sent && PQresultStatus(result) == PGRES_COMMAND_OK;
      PQclear(result);
    }
  }
  if (!readOk) copyFailed(from, QStringLiteral("Treino"));
  if (!sent) copyFailed(to, QStringLiteral("publica_bruto"));

  for (const char* name :
       {"publica_cpf", "publica_catalogo", "publica_professores", "publica_bruto"})
    runSql(portalDb, QStringLiteral("ANALYZE %1").arg(QString::fromLatin1(name)));
  // Each member's latest date of each letter, one row per key.
  runSql(portalDb, QStringLiteral("DROP TABLE IF EXISTS publica_portal_treino"));
  runSql(portalDb,
         QStringLiteral(
             "CREATE TEMP TABLE publica_portal_treino AS SELECT DISTINCT ON (m.CPF, b.Matricula, "
             "b.Data, b.Treino, b.Codigo_exercicio) CAST(%1 AS integer) AS cliente, m.CPF, "
             "b.Matricula, b.Data, b.Treino, b.Codigo_exercicio, b.Data_Reavaliacao, "
             "b.Repeticoes, b.Series, b.Peso, b.Intervalo, b.Obs, b.Ordem, b.Regulagem, b.Dom, "
             "b.Seg, b.Ter, b.Qua, b.Qui, b.Sex, b.Sab, c.Descricao, c.Aparelho, p.Nome AS "
             "Professor FROM (SELECT *, MAX(Data) OVER (PARTITION BY Matricula, Treino) AS ultima "
             "FROM publica_bruto) b JOIN publica_cpf m ON m.Matricula = b.Matricula LEFT JOIN "
             "publica_catalogo c ON c.Codigo = b.Codigo_exercicio LEFT JOIN publica_professores "
             "p ON p.Matricula = b.Professor WHERE b.Data = b.ultima")
             .arg(input.customer));
  runSql(portalDb, QStringLiteral("ANALYZE publica_portal_treino"));
  for (const char* name :
       {"publica_cpf", "publica_catalogo", "publica_professores", "publica_bruto"})
    runSql(portalDb, QStringLiteral("DROP TABLE %1").arg(QString::fromLatin1(name)));
}

}  // namespace

QStringList membersWithSeriesIn(const QSqlDatabase& workoutDb, const QDate& from, const QDate& to) {
  QSqlQuery query = runSql(
      workoutDb,
      QStringLiteral("SELECT Matricula FROM Aerobica WHERE Data >= ? AND Data <= ? UNION SELECT "
                     "Matricula FROM Treino WHERE Data >= ? AND Data <= ? UNION SELECT Matricula "
                     "FROM Alongamento WHERE Data >= ? AND Data <= ? ORDER BY 1"),
      {from, to, from, to, from, to});
  QStringList matriculas;
  while (query.next()) matriculas << query.value(0).toString();
  return matriculas;
}

QList<BulkMember> memberDetails(const QSqlDatabase& peopleDb, const QString& membersTable,
                                const QStringList& matriculas) {
  QList<BulkMember> members;
  constexpr int kPerStatement = 500;
  for (int start = 0; start < matriculas.size(); start += kPerStatement) {
    const QStringList part = matriculas.mid(start, kPerStatement);
    QVariantList values;
    for (const QString& m : part) values << m;
    QSqlQuery query = runSql(
        peopleDb,
        QStringLiteral("SELECT MATRICULA, NOME, CPF, EMAIL FROM %1 WHERE MATRICULA IN (%2) ORDER "
                       "BY MATRICULA")
            .arg(membersTable, QStringLiteral("?, ").repeated(part.size() - 1) + QLatin1Char('?')),
        values);
    while (query.next())
      members << BulkMember{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toString(), query.value(3).toString()};
  }
  return members;
}

std::optional<QString> bulkCpf(const QString& stored) {
  const QString cpf = stored.contains(QLatin1Char('-')) || stored.contains(QLatin1Char('.'))
                          ? TIRA_MASCARA(stored)
                          : stored;
  if (!VALIDA_CPF(cpf)) return std::nullopt;
  return cpf;
}

BulkSummary publishPeriod(const QSqlDatabase& workoutDb, const QSqlDatabase& portalDb,
                          const BulkInput& input, const std::function<void(int, int)>& progress) {
  BulkSummary summary;
  // The gym's record, its name refreshed.
  ensureCustomerRecord(portalDb, input.customer, input.academia);
  runSql(portalDb, QStringLiteral("UPDATE Clientes SET academia = ? WHERE cod_cliente = ?"),
         {input.academia, input.customer});

  QHash<QString, QString> cpfOf;  // published members
  QSet<QString> cpfs;
  QList<QVariantList> records;  // one per CPF: the first member with it
  for (const BulkMember& member : input.members) {
    const std::optional<QString> cpf = bulkCpf(member.cpf);
    if (!cpf) {
      ++summary.skipped;
      continue;
    }
    cpfOf.insert(member.matricula, *cpf);
    ++summary.published;
    if (cpfs.contains(*cpf)) continue;
    cpfs.insert(*cpf);
    records << QVariantList{*cpf, input.customer, member.email, member.matricula, member.nome};
  }
  if (cpfOf.isEmpty()) return summary;
  // The members' records, found by CPF.
  upsert(portalDb, QStringLiteral("Alunos"), {QStringLiteral("CPF")},
         {QStringLiteral("cliente"), QStringLiteral("Email"), QStringLiteral("Matricula"),
          QStringLiteral("Nome")},
         {}, records);
  const int total = int(input.members.size());
  for (int i = 0; i < total; ++i) {
    const BulkMember& member = input.members[i];
    if (input.assessment && cpfOf.contains(member.matricula))
      publishAssessment(portalDb, input, member, cpfOf[member.matricula]);
    if (progress && (i % 100 == 0 || i + 1 == total)) progress(i + 1, total);
  }

  runSql(portalDb, QStringLiteral("DROP TABLE IF EXISTS publica_membros"));
  runSql(portalDb, QStringLiteral("CREATE TEMP TABLE publica_membros AS SELECT Matricula FROM "
                                  "Portal_Treino WHERE 1 = 0"));
  QList<QVariantList> published;
  for (auto it = cpfOf.cbegin(); it != cpfOf.cend(); ++it) published << QVariantList{it.key()};
  insertRows(portalDb, QStringLiteral("publica_membros"), {QStringLiteral("Matricula")}, published);

  const Catalogue catalogue = readCatalogue(workoutDb);
  const QVariantList period{input.from, input.to};

  // Aerobic rows.
  QList<QVariantList> aerobic;
  {
    QSqlQuery aerobicRows = runSql(
        workoutDb, QStringLiteral("SELECT * FROM Aerobica WHERE Data >= ? AND Data <= ?"), period);
    const RowReader r(aerobicRows);
    while (aerobicRows.next()) {
      const QString matricula = r(QStringLiteral("Matricula")).toString();
      if (!cpfOf.contains(matricula)) continue;
      const QString code = r(QStringLiteral("Codigo_exercicio")).toString();
      QVariantList row{input.customer,
                       cpfOf[matricula],
                       matricula,
                       r(QStringLiteral("Data")),
                       code,
                       r(QStringLiteral("Duracao")),
                       r(QStringLiteral("Velocidade")),
                       r(QStringLiteral("Nivel_dificuldade"))};
      for (const QString& day : kDays) row << r(day).toBool();
      row << catalogue.name(code) << catalogue.equipment(code)
          << staffName(input, r(QStringLiteral("Professor")).toString());
      aerobic << row;
    }
  }
  const QStringList nameAndStaff{QStringLiteral("Descricao"), QStringLiteral("Aparelho"),
                                 QStringLiteral("Professor")};
  aerobic = latestOnly(aerobic, 2, 3, -1);
  summary.rowsWritten +=
      upsert(portalDb, QStringLiteral("Portal_Aerobica"),
             {QStringLiteral("Cliente"), QStringLiteral("CPF"), QStringLiteral("Matricula"),
              QStringLiteral("Data"), QStringLiteral("Codigo_exercicio")},
             QStringList{QStringLiteral("Duracao"), QStringLiteral("Velocidade"),
                         QStringLiteral("Nivel_dificuldade")} +
                 kDays + nameAndStaff,
             nameAndStaff, aerobic);
  summary.rowsRemoved +=
      deleteOlder(portalDb, QStringLiteral("Portal_Aerobica"), input.customer, false);

  // Strength rows.
  const QStringList strengthKeys{QStringLiteral("cliente"),   QStringLiteral("CPF"),
                                 QStringLiteral("Matricula"), QStringLiteral("Data"),
                                 QStringLiteral("Treino"),    QStringLiteral("Codigo_exercicio")};
  const QStringList strengthValues = QStringList{QStringLiteral("Data_Reavaliacao"),
                                                 QStringLiteral("Repeticoes"),
                                                 QStringLiteral("Series"),
                                                 QStringLiteral("Peso"),
                                                 QStringLiteral("Intervalo"),
                                                 QStringLiteral("Obs"),
                                                 QStringLiteral("Ordem"),
                                                 QStringLiteral("Regulagem")} +
                                     kDays + nameAndStaff;
  PGconn* workoutSession = postgresSession(workoutDb);
  PGconn* portalSession = postgresSession(portalDb);
  QList<QVariantList> strength;
  if (workoutSession && portalSession) {
    streamStrengthRows(workoutSession, portalSession, portalDb, input, cpfOf, catalogue);
    summary.rowsWritten += applyScratch(portalDb, QStringLiteral("Portal_Treino"),
                                        QStringLiteral("publica_portal_treino"), strengthKeys,
                                        strengthValues, nameAndStaff);
  } else {
    QSqlQuery strengthRows = runSql(
        workoutDb, QStringLiteral("SELECT * FROM Treino WHERE Data >= ? AND Data <= ?"), period);
    const RowReader r(strengthRows);
    while (strengthRows.next()) {
      const QString matricula = r(QStringLiteral("Matricula")).toString();
      if (!cpfOf.contains(matricula)) continue;
      const QString code = r(QStringLiteral("Codigo_exercicio")).toString();
      QVariantList row{input.customer,
                       cpfOf[matricula],
                       matricula,
                       r(QStringLiteral("Data")),
                       r(QStringLiteral("Treino")),
                       code,
                       r(QStringLiteral("Data_Reavaliacao")),
                       r(QStringLiteral("Repeticoes")),
                       r(QStringLiteral("Series")),
                       r(QStringLiteral("Peso")),
                       r(QStringLiteral("Intervalo")),
                       r(QStringLiteral("Obs")),
                       r(QStringLiteral("Ordem")),
                       r(QStringLiteral("REGULAGEM"))};
      for (const QString& day : kDays) row << r(day).toBool();
      row << catalogue.name(code) << catalogue.equipment(code)
          << staffName(input, r(QStringLiteral("Professor")).toString());
      strength << row;
    }
    strength = latestOnly(strength, 2, 3, 4);
    summary.rowsWritten += upsert(portalDb, QStringLiteral("Portal_Treino"), strengthKeys,
                                  strengthValues, nameAndStaff, strength);
  }
  summary.rowsRemoved +=
      deleteOlder(portalDb, QStringLiteral("Portal_Treino"), input.customer, true);

  // Stretching rows.
  QList<QVariantList> stretching;
  {
    QSqlQuery stretchingRows =
        runSql(workoutDb, QStringLiteral("SELECT * FROM Alongamento WHERE Data >= ? AND Data <= ?"),
               period);
    const RowReader r(stretchingRows);
    while (stretchingRows.next()) {
      const QString matricula = r(QStringLiteral("Matricula")).toString();
      if (!cpfOf.contains(matricula)) continue;
      QVariantList row{input.customer,
                       cpfOf[matricula],
                       matricula,
                       r(QStringLiteral("Data")),
                       r(QStringLiteral("Treino")),
                       r(QStringLiteral("Obs"))};
      for (const QString& column : stretchColumns()) row << r(column).toBool();
      stretching << row;
    }
  }
  stretching = latestOnly(stretching, 2, 3, 4);
  summary.rowsWritten +=
      upsert(portalDb, QStringLiteral("Portal_Alongamento"),
             {QStringLiteral("Cliente"), QStringLiteral("CPF"), QStringLiteral("Matricula"),
              QStringLiteral("Data"), QStringLiteral("Treino")},
             QStringList{QStringLiteral("Obs")} + stretchColumns(), {}, stretching);
  summary.rowsRemoved +=
      deleteOlder(portalDb, QStringLiteral("Portal_Alongamento"), input.customer, true);
  runSql(portalDb, QStringLiteral("DROP TABLE publica_membros"));
  return summary;
}
