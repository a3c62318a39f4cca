#include "portal/bulk_publish.h"

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/routines.h"
#include "data/sql.h"

namespace {

// Parameters per statement, under what either engine takes.
constexpr int kParametersPerStatement = 30000;

QStringList stretchColumns() {
  QStringList columns;
  for (int i = 1; i <= 23; ++i)
    columns << QStringLiteral("Alogamento_%1").arg(i, 2, 10, QLatin1Char('0'));
  return columns;
}

const QStringList kDays = {QStringLiteral("Dom"), QStringLiteral("Seg"), QStringLiteral("Ter"),
                           QStringLiteral("Qua"), QStringLiteral("Qui"), QStringLiteral("Sex"),
                           QStringLiteral("Sab")};

// Rows into `table` by multi-row inserts, as many rows per statement as the engines allow.
void insertRows(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) {
  if (rows.isEmpty()) return;
  const int perStatement = qMax(1, kParametersPerStatement / int(columns.size()));
  const QString one = QLatin1Char('(') + QStringLiteral("?, ").repeated(columns.size() - 1) +
                      QStringLiteral("?)");
  for (int start = 0; start < rows.size(); start += perStatement) {
    const int count = qMin(perStatement, int(rows.size()) - start);
    QStringList tuples;
    QVariantList values;
    for (int r = start; r < start + count; ++r) {
      tuples << one;
      values += rows[r];
    }
    runSql(db,
           QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
               .arg(table, columns.join(QStringLiteral(", ")), tuples.join(QStringLiteral(", "))),
           values);
  }
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
int upsert(const QSqlDatabase& db, const QString& table, const QStringList& keys,
           const QStringList& values, const QStringList& keepWhenNull,
           const QList<QVariantList>& rows) {
  if (rows.isEmpty()) return 0;
  const QString scratch = QStringLiteral("publica_") + table.toLower();
  const QStringList columns = keys + values;
  runSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(scratch));
  // The scratch table takes the portal table's own column types.
  runSql(db, QStringLiteral("CREATE TEMP TABLE %1 AS SELECT %2 FROM %3 WHERE 1 = 0")
                 .arg(scratch, columns.join(QStringLiteral(", ")), table));
  insertRows(db, scratch, columns, rows);
  QStringList sets;
  for (const QString& value : values)
    sets << (keepWhenNull.contains(value)
                 ? QStringLiteral("%1 = COALESCE(%2.%1, %3.%1)").arg(value, scratch, table)
                 : QStringLiteral("%1 = %2.%1").arg(value, scratch));
  QSqlQuery updated = runSql(db, QStringLiteral("UPDATE %1 SET %2 FROM %3 WHERE %4")
                                     .arg(table, sets.join(QStringLiteral(", ")), scratch,
                                          matching(table, scratch, keys)));
  int written = qMax(0, updated.numRowsAffected());
  QSqlQuery inserted = runSql(
      db, QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE NOT EXISTS (SELECT 1 FROM "
                         "%1 WHERE %4)")
              .arg(table, columns.join(QStringLiteral(", ")), scratch,
                   matching(table, scratch, keys)));
  written += qMax(0, inserted.numRowsAffected());
  runSql(db, QStringLiteral("DROP TABLE %1").arg(scratch));
  return written;
}

// The published members' rows older than the latest date of their letter (or of the block).
int deleteOlder(const QSqlDatabase& db, const QString& table, int customer, bool byLetter) {
  const QString letter =
      byLetter ? QStringLiteral(" AND q.Treino = %1.Treino").arg(table) : QString();
  QSqlQuery removed = runSql(
      db, QStringLiteral("DELETE FROM %1 WHERE cliente = ? AND Matricula IN (SELECT Matricula "
                         "FROM publica_membros) AND Data < (SELECT MAX(q.Data) FROM %1 q WHERE "
                         "q.cliente = %1.cliente AND q.Matricula = %1.Matricula%2)")
              .arg(table, letter),
      {customer});
  return qMax(0, removed.numRowsAffected());
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

// The member's portal record, found by CPF.
void publishMember(const QSqlDatabase& portalDb, const BulkInput& input, const BulkMember& member,
                   const QString& cpf) {
  QVariant id = scalarSql(portalDb, QStringLiteral("SELECT ID FROM Alunos WHERE CPF = ? ORDER BY ID"),
                          {cpf});
  if (!id.isValid()) {
    runSql(portalDb, QStringLiteral("INSERT INTO Alunos (CPF, cliente) VALUES (?, ?)"),
           {cpf, input.customer});
    id = scalarSql(portalDb, QStringLiteral("SELECT MAX(ID) FROM Alunos WHERE CPF = ?"), {cpf});
  }
  runSql(portalDb,
         QStringLiteral("UPDATE Alunos SET cliente = ?, Email = ?, Matricula = ?, Nome = ? WHERE "
                        "ID = ?"),
         {input.customer, member.email, member.matricula, member.nome, id});
  if (!input.assessment) return;
  const std::optional<SheetAssessment> assessment = input.assessment(member.matricula);
  if (!assessment) return;
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

}  // namespace

QStringList membersWithSeriesIn(const QSqlDatabase& workoutDb, const QDate& from,
                                const QDate& to) {
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
  const QString cpf =
      stored.contains(QLatin1Char('-')) || stored.contains(QLatin1Char('.')) ? TIRA_MASCARA(stored)
                                                                             : stored;
  if (!VALIDA_CPF(cpf)) return std::nullopt;
  return cpf;
}

BulkSummary publishPeriod(const QSqlDatabase& workoutDb, const QSqlDatabase& portalDb,
                          const BulkInput& input,
                          const std::function<void(int, int)>& progress) {
  BulkSummary summary;
  // The gym's record, its name refreshed.
  if (scalarSql(portalDb, QStringLiteral("SELECT id FROM Clientes WHERE cod_cliente = ?"),
                {input.customer})
          .isValid())
    runSql(portalDb, QStringLiteral("UPDATE Clientes SET academia = ? WHERE cod_cliente = ?"),
           {input.academia, input.customer});
  else
    runSql(portalDb, QStringLiteral("INSERT INTO Clientes (cod_cliente, academia) VALUES (?, ?)"),
           {input.customer, input.academia});

  QHash<QString, QString> cpfOf;  // published members
  for (int i = 0; i < input.members.size(); ++i) {
    const BulkMember& member = input.members[i];
    if (progress) progress(i + 1, int(input.members.size()));
    const std::optional<QString> cpf = bulkCpf(member.cpf);
    if (!cpf) {
      ++summary.skipped;
      continue;
    }
    publishMember(portalDb, input, member, *cpf);
    cpfOf.insert(member.matricula, *cpf);
    ++summary.published;
  }
  if (cpfOf.isEmpty()) return summary;

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
  QSqlQuery aerobicRows = runSql(
      workoutDb, QStringLiteral("SELECT * FROM Aerobica WHERE Data >= ? AND Data <= ?"), period);
  while (aerobicRows.next()) {
    const QSqlRecord r = aerobicRows.record();
    const QString matricula = r.value(QStringLiteral("Matricula")).toString();
    if (!cpfOf.contains(matricula)) continue;
    const QString code = r.value(QStringLiteral("Codigo_exercicio")).toString();
    QVariantList row{input.customer, cpfOf[matricula], matricula,
                     r.value(QStringLiteral("Data")), code,
                     r.value(QStringLiteral("Duracao")), r.value(QStringLiteral("Velocidade")),
                     r.value(QStringLiteral("Nivel_dificuldade"))};
    for (const QString& day : kDays) row << r.value(day).toBool();
    row << catalogue.name(code) << catalogue.equipment(code)
        << staffName(input, r.value(QStringLiteral("Professor")).toString());
    aerobic << row;
  }
  const QStringList nameAndStaff{QStringLiteral("Descricao"), QStringLiteral("Aparelho"),
                                 QStringLiteral("Professor")};
  summary.rowsWritten += upsert(
      portalDb, QStringLiteral("Portal_Aerobica"),
      {QStringLiteral("Cliente"), QStringLiteral("CPF"), QStringLiteral("Matricula"),
       QStringLiteral("Data"), QStringLiteral("Codigo_exercicio")},
      QStringList{QStringLiteral("Duracao"), QStringLiteral("Velocidade"),
                  QStringLiteral("Nivel_dificuldade")} +
          kDays + nameAndStaff,
      nameAndStaff, aerobic);
  summary.rowsRemoved += deleteOlder(portalDb, QStringLiteral("Portal_Aerobica"), input.customer,
                                     false);

  // Strength rows.
  QList<QVariantList> strength;
  QSqlQuery strengthRows = runSql(
      workoutDb, QStringLiteral("SELECT * FROM Treino WHERE Data >= ? AND Data <= ?"), period);
  while (strengthRows.next()) {
    const QSqlRecord r = strengthRows.record();
    const QString matricula = r.value(QStringLiteral("Matricula")).toString();
    if (!cpfOf.contains(matricula)) continue;
    const QString code = r.value(QStringLiteral("Codigo_exercicio")).toString();
    QVariantList row{input.customer,
                     cpfOf[matricula],
                     matricula,
                     r.value(QStringLiteral("Data")),
                     r.value(QStringLiteral("Treino")),
                     code,
                     r.value(QStringLiteral("Data_Reavaliacao")),
                     r.value(QStringLiteral("Repeticoes")),
                     r.value(QStringLiteral("Series")),
                     r.value(QStringLiteral("Peso")),
                     r.value(QStringLiteral("Intervalo")),
                     r.value(QStringLiteral("Obs")),
                     r.value(QStringLiteral("Ordem")),
                     r.value(QStringLiteral("REGULAGEM"))};
    for (const QString& day : kDays) row << r.value(day).toBool();
    row << catalogue.name(code) << catalogue.equipment(code)
        << staffName(input, r.value(QStringLiteral("Professor")).toString());
    strength << row;
  }
  summary.rowsWritten += upsert(
      portalDb, QStringLiteral("Portal_Treino"),
      {QStringLiteral("cliente"), QStringLiteral("CPF"), QStringLiteral("Matricula"),
       QStringLiteral("Data"), QStringLiteral("Treino"), QStringLiteral("Codigo_exercicio")},
      QStringList{QStringLiteral("Data_Reavaliacao"), QStringLiteral("Repeticoes"),
                  QStringLiteral("Series"), QStringLiteral("Peso"), QStringLiteral("Intervalo"),
                  QStringLiteral("Obs"), QStringLiteral("Ordem"), QStringLiteral("Regulagem")} +
          kDays + nameAndStaff,
      nameAndStaff, strength);
  summary.rowsRemoved += deleteOlder(portalDb, QStringLiteral("Portal_Treino"), input.customer,
                                     true);

  // Stretching rows.
  QList<QVariantList> stretching;
  QSqlQuery stretchingRows = runSql(
      workoutDb, QStringLiteral("SELECT * FROM Alongamento WHERE Data >= ? AND Data <= ?"),
      period);
  while (stretchingRows.next()) {
    const QSqlRecord r = stretchingRows.record();
    const QString matricula = r.value(QStringLiteral("Matricula")).toString();
    if (!cpfOf.contains(matricula)) continue;
    QVariantList row{input.customer, cpfOf[matricula], matricula, r.value(QStringLiteral("Data")),
                     r.value(QStringLiteral("Treino")), r.value(QStringLiteral("Obs"))};
    for (const QString& column : stretchColumns()) row << r.value(column).toBool();
    stretching << row;
  }
  summary.rowsWritten += upsert(
      portalDb, QStringLiteral("Portal_Alongamento"),
      {QStringLiteral("Cliente"), QStringLiteral("CPF"), QStringLiteral("Matricula"),
       QStringLiteral("Data"), QStringLiteral("Treino")},
      QStringList{QStringLiteral("Obs")} + stretchColumns(), {}, stretching);
  summary.rowsRemoved += deleteOlder(portalDb, QStringLiteral("Portal_Alongamento"),
                                     input.customer, true);
  runSql(portalDb, QStringLiteral("DROP TABLE publica_membros"));
  return summary;
}
