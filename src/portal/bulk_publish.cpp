#include "portal/bulk_publish.h"

#include <algorithm>

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/routines.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "portal/portal_publish.h"

namespace {

// Where a portal column takes its value from.
enum class From {
  Customer,      // the gym's customer number
  Cpf,           // the member's published CPF
  Column,        // the source column of the same name, as it is
  Flag,          // the yes/no source column of the same name
  ExerciseName,  // the catalogue's name of the row's exercise
  Equipment,     // the catalogue's equipment of the row's exercise
  StaffName,     // the name of the staff member the row's Professor column names
};

struct PortalColumn {
  QString name;
  From from = From::Column;

  // Looked up by the program, not copied: an unknown exercise or instructor leaves what the
  // portal already shows.
  bool keptWhenUnknown() const {
    return from == From::ExerciseName || from == From::Equipment || from == From::StaffName;
  }
};

// One kind of series row as the portal receives it.
struct SeriesBlock {
  QString source;            // the workout database's table
  QString portal;            // the portal's table
  QList<PortalColumn> keys;  // the customer, CPF, Matricula and Data first
  QList<PortalColumn> values;
  bool perLetter = false;  // the latest date is kept per letter (Treino), not per member
  bool streamed = false;   // the bulk of a run: server to server when the engines allow it

  QStringList keyNames() const { return names(keys); }
  QStringList valueNames() const { return names(values); }
  QList<PortalColumn> columns() const { return keys + values; }
  QString customerColumn() const { return keys.first().name; }
  QStringList keptWhenUnknown() const {
    QStringList kept;
    for (const PortalColumn& column : values)
      if (column.keptWhenUnknown()) kept << column.name;
    return kept;
  }

 private:
  static QStringList names(const QList<PortalColumn>& columns) {
    QStringList all;
    for (const PortalColumn& column : columns) all << column.name;
    return all;
  }
};

const QString kMatricula = QStringLiteral("Matricula");
const QString kData = QStringLiteral("Data");
const QString kLetter = QStringLiteral("Treino");
const QString kExercise = QStringLiteral("Codigo_exercicio");
const QString kStaff = QStringLiteral("Professor");

QList<PortalColumn> flags(const QStringList& names) {
  QList<PortalColumn> columns;
  for (const QString& name : names) columns << PortalColumn{name, From::Flag};
  return columns;
}

QList<PortalColumn> plain(const QStringList& names) {
  QList<PortalColumn> columns;
  for (const QString& name : names) columns << PortalColumn{name, From::Column};
  return columns;
}

QList<PortalColumn> days() {
  return flags({QStringLiteral("Dom"), QStringLiteral("Seg"), QStringLiteral("Ter"),
                QStringLiteral("Qua"), QStringLiteral("Qui"), QStringLiteral("Sex"),
                QStringLiteral("Sab")});
}

QList<PortalColumn> stretches() {
  QStringList names;
  for (int i = 1; i <= 23; ++i)
    names << QStringLiteral("Alogamento_%1").arg(i, 2, 10, QLatin1Char('0'));
  return flags(names);
}

QList<PortalColumn> nameAndStaff() {
  return {{QStringLiteral("Descricao"), From::ExerciseName},
          {QStringLiteral("Aparelho"), From::Equipment},
          {QStringLiteral("Professor"), From::StaffName}};
}

QList<PortalColumn> memberKeys(const QString& customer, const QStringList& others) {
  return QList<PortalColumn>{{customer, From::Customer}, {QStringLiteral("CPF"), From::Cpf}} +
         plain(QStringList{kMatricula, kData} + others);
}

// The series blocks in the order they are published: aerobic, strength, stretching.
const QList<SeriesBlock>& seriesBlocks() {
  static const QList<SeriesBlock> blocks = {
      {QStringLiteral("Aerobica"), QStringLiteral("Portal_Aerobica"),
       memberKeys(QStringLiteral("Cliente"), {QStringLiteral("Codigo_exercicio")}),
       plain({QStringLiteral("Duracao"), QStringLiteral("Velocidade"),
              QStringLiteral("Nivel_dificuldade")}) +
           days() + nameAndStaff(),
       false, false},
      {QStringLiteral("Treino"), QStringLiteral("Portal_Treino"),
       memberKeys(QStringLiteral("cliente"),
                  {QStringLiteral("Treino"), QStringLiteral("Codigo_exercicio")}),
       plain({QStringLiteral("Data_Reavaliacao"), QStringLiteral("Repeticoes"),
              QStringLiteral("Series"), QStringLiteral("Peso"), QStringLiteral("Intervalo"),
              QStringLiteral("Obs"), QStringLiteral("Ordem"), QStringLiteral("Regulagem")}) +
           days() + nameAndStaff(),
       true, true},
      {QStringLiteral("Alongamento"), QStringLiteral("Portal_Alongamento"),
       memberKeys(QStringLiteral("Cliente"), {QStringLiteral("Treino")}),
       plain({QStringLiteral("Obs")}) + stretches(), true, false},
  };
  return blocks;
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

// What every block of a run draws on besides its own rows.
struct RunContext {
  const BulkInput& input;
  QHash<QString, QString> cpfOf;  // the published members' CPFs by registration number
  Catalogue catalogue;

  QVariant staffName(const QString& matricula) const {
    return input.staffNames.contains(matricula) ? QVariant(input.staffNames[matricula])
                                                : QVariant(QMetaType(QMetaType::QString));
  }
};

// ---------------------------------------------------------------------------------------------
// Portal rows matched on their keys

QString matching(const QString& table, const QString& scratch, const QStringList& keys) {
  QStringList conditions;
  for (const QString& key : keys)
    conditions << QStringLiteral("%1.%3 = %2.%3").arg(table, scratch, key);
  return conditions.join(QStringLiteral(" AND "));
}

// The rows of `scratch` written into `table`, matched on `keys`: existing rows take the values
// (those in `keepWhenNull` only when the new value is known), the others are added; the scratch
// table goes. Returns how many rows were written.
int applyScratch(const QSqlDatabase& db, const QString& table, const QString& scratch,
                 const QStringList& keys, const QStringList& values,
                 const QStringList& keepWhenNull) {
  const QStringList columns = keys + values;
  QStringList sets;
  QStringList now;
  QStringList then;
  for (const QString& value : values) {
    const QString incoming =
        keepWhenNull.contains(value)
            ? QStringLiteral("COALESCE(%2.%1, %3.%1)").arg(value, scratch, table)
            : QStringLiteral("%2.%1").arg(value, scratch);
    sets << QStringLiteral("%1 = %2").arg(value, incoming);
    now << QStringLiteral("%1.%2").arg(table, value);
    then << incoming;
  }
  // Only rows whose values differ are written: a second run of the same period writes nothing.
  QSqlQuery updated = runSql(
      db, QStringLiteral("UPDATE %1 SET %2 FROM %3 WHERE %4 AND %5")
              .arg(table, sets.join(QStringLiteral(", ")), scratch, matching(table, scratch, keys),
                   Dialect::of(db).differsSql(now.join(QStringLiteral(", ")),
                                              then.join(QStringLiteral(", ")))));
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

// An empty scratch table `name` of the portal connection, its columns taken from `table` (so
// they carry the portal's types).
void makeScratch(const QSqlDatabase& db, const QString& name, const QString& table,
                 const QString& columns) {
  runSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(name));
  runSql(db, QStringLiteral("CREATE TEMP TABLE %1 AS SELECT %2 FROM %3 WHERE 1 = 0")
                 .arg(name, columns, table));
}

// `rows` (keys then values) written into `table` as applyScratch describes. Returns how many
// rows were written.
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
  makeScratch(db, scratch, table, columns.join(QStringLiteral(", ")));
  Dialect::of(db).bulkLoad(db, scratch, columns, unique);
  return applyScratch(db, table, scratch, keys, values, keepWhenNull);
}

// ---------------------------------------------------------------------------------------------
// A block's rows read by the program

// Reads the current row's columns by name, their places looked up once per query (building a
// record per row costs more than the rest of the reading).
class RowReader {
 public:
  explicit RowReader(QSqlQuery& query) : query_(query) {
    const QSqlRecord shape = query.record();
    for (int i = 0; i < shape.count(); ++i) places_.insert(shape.fieldName(i).toLower(), i);
  }
  int place(const QString& column) const { return places_.value(column.toLower(), -1); }
  QVariant operator()(int place) const { return query_.value(place); }

 private:
  QSqlQuery& query_;
  QHash<QString, int> places_;
};

// Only the latest date of each member (and letter) within the period: the older dates would be
// written only to be removed again by the same run.
QList<QVariantList> latestOnly(const QList<QVariantList>& rows, const SeriesBlock& block) {
  const QStringList keys = block.keyNames();
  const int matriculaAt = int(keys.indexOf(kMatricula));
  const int dateAt = int(keys.indexOf(kData));
  const int letterAt = block.perLetter ? int(keys.indexOf(kLetter)) : -1;
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

// The period's rows of the block's source table whose member is published, as portal rows (keys
// then values).
QList<QVariantList> readPortalRows(const QSqlDatabase& workoutDb, const SeriesBlock& block,
                                   const RunContext& run) {
  QSqlQuery source = runSql(
      workoutDb, QStringLiteral("SELECT * FROM %1 WHERE Data >= ? AND Data <= ?").arg(block.source),
      {run.input.from, run.input.to});
  const RowReader r(source);
  const QList<PortalColumn> columns = block.columns();
  QList<int> places;
  for (const PortalColumn& column : columns) places << r.place(column.name);
  const int matriculaAt = r.place(kMatricula);
  const int exerciseAt = r.place(kExercise);
  const int staffAt = r.place(kStaff);
  QList<QVariantList> rows;
  while (source.next()) {
    const QString matricula = r(matriculaAt).toString();
    const auto cpf = run.cpfOf.constFind(matricula);
    if (cpf == run.cpfOf.cend()) continue;
    QVariantList row;
    row.reserve(columns.size());
    for (int c = 0; c < columns.size(); ++c) {
      switch (columns[c].from) {
        case From::Customer:
          row << run.input.customer;
          break;
        case From::Cpf:
          row << *cpf;
          break;
        case From::Column:
          row << r(places[c]);
          break;
        case From::Flag:
          row << r(places[c]).toBool();
          break;
        case From::ExerciseName:
          row << run.catalogue.name(r(exerciseAt).toString());
          break;
        case From::Equipment:
          row << run.catalogue.equipment(r(exerciseAt).toString());
          break;
        case From::StaffName:
          row << run.staffName(r(staffAt).toString());
          break;
      }
    }
    rows << row;
  }
  return latestOnly(rows, block);
}

// ---------------------------------------------------------------------------------------------
// A block's rows streamed server to server

bool usesCatalogue(const SeriesBlock& block) {
  return std::any_of(block.values.cbegin(), block.values.cend(), [](const PortalColumn& column) {
    return column.from == From::ExerciseName || column.from == From::Equipment;
  });
}

bool usesStaff(const SeriesBlock& block) {
  return std::any_of(block.values.cbegin(), block.values.cend(),
                     [](const PortalColumn& column) { return column.from == From::StaffName; });
}

// `rows` into a new scratch table `name` of the portal, made of `columns` of the block's portal
// table and loaded under the names `as`.
void loadLookup(const QSqlDatabase& portalDb, const SeriesBlock& block, const QString& name,
                const QString& columns, const QStringList& as, const QList<QVariantList>& rows) {
  makeScratch(portalDb, name, block.portal, columns);
  Dialect::of(portalDb).bulkLoad(portalDb, name, as, rows);
}

// What the joined rows draw on: the published members' CPFs, and the catalogue and the staff
// names when the block shows them.
void loadLookups(const QSqlDatabase& portalDb, const SeriesBlock& block, const RunContext& run) {
  QList<QVariantList> cpfs;
  for (auto it = run.cpfOf.cbegin(); it != run.cpfOf.cend(); ++it)
    cpfs << QVariantList{it.key(), it.value()};
  loadLookup(portalDb, block, QStringLiteral("publica_cpf"), QStringLiteral("Matricula, CPF"),
             {QStringLiteral("Matricula"), QStringLiteral("CPF")}, cpfs);
  if (usesCatalogue(block)) {
    QList<QVariantList> exercises;
    for (auto it = run.catalogue.exercises.cbegin(); it != run.catalogue.exercises.cend(); ++it)
      exercises << QVariantList{it.key(), it.value().first, it.value().second};
    loadLookup(portalDb, block, QStringLiteral("publica_catalogo"),
               QStringLiteral("Codigo_exercicio AS Codigo, Descricao, Aparelho"),
               {QStringLiteral("Codigo"), QStringLiteral("Descricao"), QStringLiteral("Aparelho")},
               exercises);
  }
  if (usesStaff(block)) {
    QList<QVariantList> staff;
    for (auto it = run.input.staffNames.cbegin(); it != run.input.staffNames.cend(); ++it)
      staff << QVariantList{it.key(), it.value()};
    loadLookup(portalDb, block, QStringLiteral("publica_professores"),
               QStringLiteral("Matricula, Professor AS Nome"),
               {QStringLiteral("Matricula"), QStringLiteral("Nome")}, staff);
  }
}

// The source columns a block's portal rows are made of, as both databases name them.
QStringList sourceColumns(const SeriesBlock& block) {
  QStringList columns;
  for (const PortalColumn& column : block.columns())
    if (column.from == From::Column || column.from == From::Flag) columns << column.name;
  if (usesStaff(block)) columns << kStaff;
  return columns;
}

// A portal column as the joined row j gives it.
QString joinedValue(const PortalColumn& column, int customer) {
  switch (column.from) {
    case From::Customer:
      return QStringLiteral("CAST(%1 AS integer) AS %2").arg(customer).arg(column.name);
    case From::Cpf:
      return QStringLiteral("j.CPF");
    case From::Column:
    case From::Flag:
      return QStringLiteral("j.") + column.name;
    case From::ExerciseName:
      return QStringLiteral("j.Descricao");
    case From::Equipment:
      return QStringLiteral("j.Aparelho");
    case From::StaffName:
      return QStringLiteral("j.Nome AS ") + column.name;
  }
  return {};
}

// The statement that turns the raw rows into the block's portal rows in `scratch`: each raw row
// (b) joined with its member's CPF (m), its exercise (c) and its instructor (p), the latest date
// of each member (and letter) only, one row per key.
QString joinedRowsSql(const Dialect& dialect, const SeriesBlock& block, const QString& raw,
                      const QString& scratch, int customer) {
  QStringList values;
  for (const PortalColumn& column : block.columns()) values << joinedValue(column, customer);
  QStringList keys;
  for (const PortalColumn& column : block.keys)
    if (column.from == From::Cpf || column.from == From::Column)
      keys << QStringLiteral("j.") +
                  (column.from == From::Cpf ? QStringLiteral("CPF") : column.name);
  QString joined = QStringLiteral("b.*, m.CPF");
  QString joins = QStringLiteral(" JOIN publica_cpf m ON m.Matricula = b.Matricula");
  if (usesCatalogue(block)) {
    joined += QStringLiteral(", c.Descricao, c.Aparelho");
    joins += QStringLiteral(" LEFT JOIN publica_catalogo c ON c.Codigo = b.") + kExercise;
  }
  if (usesStaff(block)) {
    joined += QStringLiteral(", p.Nome");
    joins += QStringLiteral(" LEFT JOIN publica_professores p ON p.Matricula = b.") + kStaff;
  }
  const QString latest =
      kMatricula + (block.perLetter ? QStringLiteral(", ") + kLetter : QString());
  const QString latestRows =
      QStringLiteral(
          "(SELECT %1 FROM (SELECT *, MAX(Data) OVER (PARTITION BY %2) AS ultima FROM "
          "%3) b%4 WHERE b.Data = b.ultima) j")
          .arg(joined, latest, raw, joins);
  return QStringLiteral("CREATE TEMP TABLE %1 AS ").arg(scratch) +
         dialect.onePerKeySql(values.join(QStringLiteral(", ")), keys.join(QStringLiteral(", ")),
                              latestRows);
}

// The block's period rows go from one server to the other untouched by the program, and become
// portal rows there in one statement. Returns the scratch table that holds them.
QString streamPortalRows(const QSqlDatabase& workoutDb, const QSqlDatabase& portalDb,
                         const SeriesBlock& block, const RunContext& run) {
  loadLookups(portalDb, block, run);
  const QString raw = QStringLiteral("publica_bruto");
  const QStringList columns = sourceColumns(block);
  makeScratch(portalDb, raw, block.portal, columns.join(QStringLiteral(", ")));
  // The dates are the program's own, written as ISO digits: a stream takes no parameters.
  Dialect::of(portalDb).stream(
      workoutDb,
      QStringLiteral("SELECT %1 FROM %2 WHERE Data >= '%3' AND Data <= '%4'")
          .arg(columns.join(QStringLiteral(", ")), block.source,
               run.input.from.toString(Qt::ISODate), run.input.to.toString(Qt::ISODate)),
      portalDb, raw, columns);
  const QString scratch = QStringLiteral("publica_portal_") + block.source.toLower();
  runSql(portalDb, QStringLiteral("DROP TABLE IF EXISTS %1").arg(scratch));
  runSql(portalDb, joinedRowsSql(Dialect::of(portalDb), block, raw, scratch, run.input.customer));
  runSql(portalDb, QStringLiteral("ANALYZE %1").arg(scratch));
  for (const QString& lookup : {QStringLiteral("publica_cpf"), QStringLiteral("publica_catalogo"),
                                QStringLiteral("publica_professores"), raw})
    runSql(portalDb, QStringLiteral("DROP TABLE IF EXISTS %1").arg(lookup));
  return scratch;
}

// ---------------------------------------------------------------------------------------------
// The run

// One block: its period rows written to the portal (streamed when it is the bulk of the run and
// the engines allow it), then its members' older dates removed. Adds to `summary`.
void publishBlock(const QSqlDatabase& workoutDb, const QSqlDatabase& portalDb,
                  const SeriesBlock& block, const RunContext& run, BulkSummary& summary) {
  const Dialect& dialect = Dialect::of(portalDb);
  if (block.streamed && dialect.streamsBetween(workoutDb, portalDb)) {
    summary.rowsWritten +=
        applyScratch(portalDb, block.portal, streamPortalRows(workoutDb, portalDb, block, run),
                     block.keyNames(), block.valueNames(), block.keptWhenUnknown());
  } else {
    summary.rowsWritten += upsert(portalDb, block.portal, block.keyNames(), block.valueNames(),
                                  block.keptWhenUnknown(), readPortalRows(workoutDb, block, run));
  }
  QStringList group{block.customerColumn(), kMatricula};
  if (block.perLetter) group << kLetter;
  QSqlQuery removed =
      runSql(portalDb,
             dialect.deleteBeforeLatestSql(
                 block.portal, group, kData,
                 QStringLiteral("%1 = ? AND Matricula IN (SELECT Matricula FROM publica_membros)")
                     .arg(block.customerColumn())),
             {run.input.customer});
  summary.rowsRemoved += qMax(0, removed.numRowsAffected());
}

// The members published in bulk (those with a valid CPF) by registration number; counts them and
// the skipped ones into `summary`.
QHash<QString, QString> publishedCpfs(const BulkInput& input, BulkSummary& summary) {
  QHash<QString, QString> cpfOf;
  for (const BulkMember& member : input.members) {
    const std::optional<QString> cpf = bulkCpf(member.cpf);
    if (!cpf) {
      ++summary.skipped;
      continue;
    }
    cpfOf.insert(member.matricula, *cpf);
    ++summary.published;
  }
  return cpfOf;
}

// The gym's record, its name refreshed.
void refreshGymRecord(const QSqlDatabase& portalDb, const BulkInput& input) {
  ensureCustomerRecord(portalDb, input.customer, input.academia);
  runSql(portalDb, QStringLiteral("UPDATE Clientes SET academia = ? WHERE cod_cliente = ?"),
         {input.academia, input.customer});
}

// The members' records, found by CPF: one per CPF, from the first member with it.
void writeMemberRecords(const QSqlDatabase& portalDb, const BulkInput& input,
                        const QHash<QString, QString>& cpfOf) {
  QSet<QString> cpfs;
  QList<QVariantList> records;
  for (const BulkMember& member : input.members) {
    const auto cpf = cpfOf.constFind(member.matricula);
    if (cpf == cpfOf.cend() || cpfs.contains(*cpf)) continue;
    cpfs.insert(*cpf);
    records << QVariantList{*cpf, input.customer, member.email, member.matricula, member.nome};
  }
  upsert(portalDb, QStringLiteral("Alunos"), {QStringLiteral("CPF")},
         {QStringLiteral("cliente"), QStringLiteral("Email"), QStringLiteral("Matricula"),
          QStringLiteral("Nome")},
         {}, records);
}

// The assessment values of a published member's record, found by CPF.
void publishAssessment(const QSqlDatabase& portalDb, const SheetAssessment& assessment,
                       const QString& cpf) {
  const QVariant id =
      scalarSql(portalDb, QStringLiteral("SELECT ID FROM Alunos WHERE CPF = ? ORDER BY ID"), {cpf});
  runSql(portalDb, QStringLiteral("UPDATE Alunos SET Objetivo = ? WHERE ID = ?"),
         {assessment.objetivos, id});
  const QString next = assessment.proximaReavaliacao.isValid()
                           ? assessment.proximaReavaliacao.toString(QStringLiteral("dd/MM/yyyy"))
                           : QString();
  for (const auto& [column, value] : {std::pair{QStringLiteral("Reavaliacao"), next},
                                      {QStringLiteral("Peso"), assessment.peso},
                                      {QStringLiteral("Gordura"), assessment.gordura}})
    if (!value.isEmpty())
      runSql(portalDb, QStringLiteral("UPDATE Alunos SET %1 = ? WHERE ID = ?").arg(column),
             {value, id});
}

// Each published member's assessment values, read for the whole run at once when the integration
// is on (when they cannot be read the portal's stay as they are), telling `progress` each
// member's position.
void publishAssessments(const QSqlDatabase& portalDb, const BulkInput& input,
                        const QHash<QString, QString>& cpfOf,
                        const std::function<void(int, int)>& progress) {
  std::optional<QHash<QString, SheetAssessment>> assessments;
  if (input.assessments) assessments = input.assessments();
  const int total = int(input.members.size());
  for (int i = 0; i < total; ++i) {
    const BulkMember& member = input.members[i];
    const auto cpf = cpfOf.constFind(member.matricula);
    if (assessments && cpf != cpfOf.cend())
      publishAssessment(portalDb, assessments->value(member.matricula), *cpf);
    if (progress && (i % 100 == 0 || i + 1 == total)) progress(i + 1, total);
  }
}

// The published members as a scratch table of the portal, for the removal of older dates.
void rememberPublishedMembers(const QSqlDatabase& portalDb, const QHash<QString, QString>& cpfOf) {
  makeScratch(portalDb, QStringLiteral("publica_membros"), QStringLiteral("Portal_Treino"),
              QStringLiteral("Matricula"));
  QList<QVariantList> published;
  for (auto it = cpfOf.cbegin(); it != cpfOf.cend(); ++it) published << QVariantList{it.key()};
  Dialect::of(portalDb).bulkLoad(portalDb, QStringLiteral("publica_membros"),
                                 {QStringLiteral("Matricula")}, published);
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
  // Two workstations publishing the same gym at once would both find a row missing and both
  // add it: one run at a time per gym, the second reading what the first wrote.
  Dialect::of(portalDb).waitForTurn(portalDb,
                                    QStringLiteral("portal-lote:%1").arg(input.customer));
  refreshGymRecord(portalDb, input);
  RunContext run{input, publishedCpfs(input, summary), {}};
  if (run.cpfOf.isEmpty()) return summary;
  writeMemberRecords(portalDb, input, run.cpfOf);
  publishAssessments(portalDb, input, run.cpfOf, progress);
  rememberPublishedMembers(portalDb, run.cpfOf);
  run.catalogue = readCatalogue(workoutDb);
  for (const SeriesBlock& block : seriesBlocks())
    publishBlock(workoutDb, portalDb, block, run, summary);
  runSql(portalDb, QStringLiteral("DROP TABLE publica_membros"));
  return summary;
}
