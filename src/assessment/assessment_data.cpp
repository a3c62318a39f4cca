#include "assessment/assessment_data.h"

#include <QSqlField>
#include <QSqlQuery>
#include <memory>

#include "base/messages.h"
#include "base/routines.h"
#include "data/connection.h"
#include "data/sql.h"
#include "registry/people_source.h"

QVariant fieldOf(const QSqlRecord& record, const QString& column) {
  const int index = record.indexOf(column);
  return index < 0 ? QVariant() : record.value(index);
}

QString textOf(const QSqlRecord& record, const QString& column) {
  return fieldOf(record, column).toString();
}

double numberOf(const QSqlRecord& record, const QString& column) {
  return fieldOf(record, column).toDouble();
}

bool flagOf(const QSqlRecord& record, const QString& column) {
  const QVariant value = fieldOf(record, column);
  // SQLite keeps flags as numbers, PostgreSQL as booleans.
  if (value.typeId() == QMetaType::QString) {
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("1") || text == QLatin1String("true") ||
           text == QLatin1String("t");
  }
  return value.toBool();
}

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

// The first row of the query, or an empty record.
QSqlRecord firstRow(QSqlQuery query) {
  return query.next() ? query.record() : QSqlRecord();
}

QList<QSqlRecord> allRows(QSqlQuery query) {
  QList<QSqlRecord> rows;
  while (query.next()) rows << query.record();
  return rows;
}

// Reading table after table; a failure names the table being read.
class Reader {
 public:
  // Keeps the connection, not a handle on its database, so the connection can be let go of.
  explicit Reader(const Connection& connection) : connection_(connection) {}

  QSqlQuery run(const QString& detail, const QString& sql, const QVariantList& values) {
    detail_ = detail;
    return runSql(connection_.database(), sql, values);
  }
  // The assessment's row of `table`, by member and date (`dateColumn`).
  QSqlRecord row(const QString& table, const QString& detail, const QString& matricula,
                 const QDate& date, const QString& dateColumn = QStringLiteral("DATAEXAME")) {
    return firstRow(rowsQuery(table, detail, matricula, date, dateColumn));
  }
  QSqlQuery rowsQuery(const QString& table, const QString& detail, const QString& matricula,
                      const QDate& date, const QString& dateColumn) {
    return run(detail,
               QStringLiteral("SELECT * FROM %1 WHERE MATRICULA = ? AND %2 = ? ORDER BY ID")
                   .arg(table, dateColumn),
               {matricula, date});
  }
  // Names the table about to be read elsewhere, for a failure there.
  void at(const QString& detail) { detail_ = detail; }
  const QString& detail() const { return detail_; }

 private:
  const Connection& connection_;
  QString detail_;
};

Failure noAssessment(const QDate& date);

Failure openingFailure(const QString& detail, const QString& cause) {
  return Failure{Msg::AberturaDeTabela, detail,
                 QStringLiteral("Avaliação, %1: %2").arg(detail, cause)};
}

QList<PosturalFinding> readFindings(Reader& reader, const QString& matricula, const QDate& date) {
  QSqlQuery query = reader.run(
      QStringLiteral("Exame"),
      QStringLiteral("SELECT A.DESCRICAO, B.POSTURAL, B.POSICAO, B.ORDEM FROM POSTURAL A, EXAME B "
                     "WHERE A.POSTURAL = B.POSTURAL AND B.MATRICULA = ? AND B.DATA = ? "
                     "ORDER BY B.ORDEM, B.ID"),
      {matricula, date});
  QList<PosturalFinding> findings;
  while (query.next())
    findings << PosturalFinding{query.value(1).toString().trimmed(), query.value(2).toString(),
                                query.value(3).toInt(), query.value(0).toString()};
  return findings;
}

QList<ComparisonRow> readComparison(Reader& reader, const QString& matricula) {
  QSqlQuery query = reader.run(
      QStringLiteral("Corporal"),
      QStringLiteral("SELECT DATAEXAME, G_TIPOPROTOCOLO, G_PESO, G_3DOBRASPESO_IDEAL, "
                     "G_3DOBRASPESO_MAGRO, G_3DOBRASGORDURA_A, G_7DOBRASPESO_IDEAL, "
                     "G_7DOBRASPESO_MAGRO, G_7DOBRASGORDURA_A FROM CORPORAL WHERE MATRICULA = ? "
                     "ORDER BY DATAEXAME, ID"),
      {matricula});
  QList<ComparisonRow> rows;
  while (query.next()) {
    const QString protocol = query.value(1).toString();
    if (!comparedProtocol(protocol)) continue;
    ComparisonRow row;
    row.date = query.value(0).toDate();
    row.protocol = protocol;
    row.weight = query.value(2).toDouble();
    row.idealWeight3 = query.value(3).toDouble();
    row.leanMass3 = query.value(4).toDouble();
    row.fat3 = query.value(5).toDouble();
    row.idealWeight7 = query.value(6).toDouble();
    row.leanMass7 = query.value(7).toDouble();
    row.fat7 = query.value(8).toDouble();
    rows << row;
  }
  return rows;
}

bool wants(const AssessmentRequest& request, std::initializer_list<Section> sections) {
  for (Section section : sections)
    if (request.sections.contains(section)) return true;
  return false;
}

// The member and the photo: from the assessment database when its settings say so, from the
// people's database of the program otherwise.
void readMember(Reader& assessment, const AssessmentRequest& request, AssessmentData& data) {
  const QString memberSql = QStringLiteral("SELECT * FROM %1 WHERE MATRICULA = ?");
  const QString photoSql = QStringLiteral("SELECT FOTO1 FROM FotosAlunos WHERE MATRICULA = ?");
  if (data.settings.memberInAssessmentDb()) {
    data.member = firstRow(assessment.run(
        QStringLiteral("Alunos"), memberSql.arg(QStringLiteral("ALUNOS")), {request.matricula}));
    if (request.sections.contains(Section::Introduction))
      data.photo =
          firstRow(assessment.run(QStringLiteral("FotosAlunos"), photoSql, {request.matricula}))
              .value(0)
              .toByteArray();
    return;
  }
  const PeopleTables tables =
      peopleTables(request.settings.membersKeptHere(), data.settings.activeMembersOnly());
  assessment.at(QStringLiteral("Alunos"));
  Connection people(tables.source, Connection::uniqueName(QStringLiteral("avaliacao-aluno")));
  if (!people.open()) throw SqlError(people.lastError());
  Reader reader(people);
  try {
    data.member = firstRow(
        reader.run(QStringLiteral("Alunos"), memberSql.arg(tables.members), {request.matricula}));
    if (request.sections.contains(Section::Introduction))
      data.photo =
          firstRow(reader.run(QStringLiteral("FotosAlunos"), photoSql, {request.matricula}))
              .value(0)
              .toByteArray();
  } catch (const SqlError&) {
    assessment.at(reader.detail());
    people.release();
    throw;
  }
  people.release();
}

QMap<QString, QString> readActivities() {
  Connection gym(DataSource::Brisca, Connection::uniqueName(QStringLiteral("avaliacao-ativ")));
  if (!gym.open()) throw SqlError(gym.lastError());
  QMap<QString, QString> activities;
  try {
    QSqlQuery query = runSql(
        gym.database(), QStringLiteral("SELECT CODIGO, DESCRICAO FROM Atividades ORDER BY CODIGO"));
    while (query.next()) activities.insert(query.value(0).toString(), query.value(1).toString());
  } catch (const SqlError&) {
    gym.release();
    throw;
  }
  gym.release();
  return activities;
}

}  // namespace

SectionSwitches AssessmentSettings::switches() const {
  SectionSwitches switches;
  for (int i = 0; i < row.count(); ++i)
    switches.insert(row.fieldName(i).toUpper(), row.value(i).toString());
  return switches;
}

bool AssessmentSettings::memberInAssessmentDb() const {
  return textOf(row, QStringLiteral("PATH_AVALIA")) == kSim;
}

bool AssessmentSettings::activeMembersOnly() const {
  return textOf(row, QStringLiteral("AlunosAtivos")) == kSim;
}

bool AssessmentSettings::showsBodyResults() const {
  return textOf(row, QStringLiteral("MOSTRA_RESULTADO_CORPORAL")) != kNao;
}

bool AssessmentSettings::showsDoctorFindings() const {
  return textOf(row, QStringLiteral("MOSTRA_MEDICA")) != kNao;
}

QString AssessmentSettings::footer() const {
  if (row.isEmpty()) return QString();
  return textOf(row, QStringLiteral("ACADEMIA")) + QStringLiteral(" - ") +
         textOf(row, QStringLiteral("ENDERACADEMIA")) + QLatin1Char(' ') +
         textOf(row, QStringLiteral("COMPLEMENTO1"));
}

AssessmentSettings readAssessmentSettings(const QSqlDatabase& assessmentDb) {
  return AssessmentSettings{
      firstRow(runSql(assessmentDb, QStringLiteral("SELECT * FROM Savcvar")))};
}

QList<QDate> assessmentDates(const QSqlDatabase& assessmentDb, const QString& matricula) {
  QSqlQuery query = runSql(
      assessmentDb,
      QStringLiteral("SELECT DATAEXAME FROM AVALIACAO WHERE MATRICULA = ? ORDER BY DATAEXAME, ID"),
      {matricula});
  QList<QDate> dates;
  while (query.next()) dates << query.value(0).toDate();
  return dates;
}

QString assessmentProtocol(const QSqlDatabase& assessmentDb, const QString& matricula,
                           const QDate& date) {
  return scalarSql(assessmentDb,
                   QStringLiteral("SELECT G_TIPOPROTOCOLO FROM CORPORAL WHERE MATRICULA = ? AND "
                                  "DATAEXAME = ? ORDER BY ID"),
                   {matricula, date})
      .toString();
}

Result<AssessmentData> readAssessment(const AssessmentRequest& request) {
  Connection connection(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("avaliacao")));
  if (!connection.open())
    return Failure{
        Msg::TamselInativo,
        {},
        QStringLiteral("Avaliação do aluno %1: %2").arg(request.matricula, connection.lastError())};
  AssessmentData data;
  data.matricula = request.matricula;
  data.date = request.date;
  data.age = request.age;
  data.gymName = request.settings.academia;
  Reader reader(connection);
  const QString& m = request.matricula;
  const QDate& d = request.date;
  try {
    data.settings.row = firstRow(
        reader.run(QStringLiteral("Controle"), QStringLiteral("SELECT * FROM Savcvar"), {}));
    data.avaliacao = reader.row(QStringLiteral("AVALIACAO"), QStringLiteral("Avaliacao"), m, d);
    if (data.avaliacao.isEmpty()) {
      connection.release();
      return noAssessment(d);
    }
    readMember(reader, request, data);
    if (data.age.isEmpty() && !data.member.isEmpty())
      data.age = QString::number(
          CALCULA_IDADE(fieldOf(data.member, QStringLiteral("DATA_NASCIMENTO")).toDate()));
    if (wants(request, {Section::Medical, Section::Anamnesis}))
      data.anamnese = reader.row(QStringLiteral("Anamnese"), QStringLiteral("Anamnese"), m, d);
    if (wants(request, {Section::Medical, Section::Anamnesis, Section::Prescription})) {
      QSqlQuery users = reader.run(
          QStringLiteral("Usuarios"),
          QStringLiteral("SELECT CODIGO, NOMECOMPLETO FROM Usuarios ORDER BY CODIGO"), {});
      while (users.next())
        data.evaluators.insert(users.value(0).toString(), users.value(1).toString());
    }
    if (wants(request, {Section::Cardiac}))
      data.cardiaco = reader.row(QStringLiteral("CARDIACO"), QStringLiteral("Cardiaco"), m, d);
    if (wants(request, {Section::Perimetry}))
      data.muscular = reader.row(QStringLiteral("MUSCULAR"), QStringLiteral("Muscular"), m, d);
    bool body = false;
    for (Section section : request.sections) body = body || isBodyComposition(section);
    if (body)
      data.corporal = reader.row(QStringLiteral("CORPORAL"), QStringLiteral("Corporal"), m, d);
    if (wants(request, {Section::Comparison3, Section::Comparison7}))
      data.comparison = readComparison(reader, m);
    if (wants(request, {Section::Prescription}))
      data.prescricao =
          reader.row(QStringLiteral("PRESCRICAO"), QStringLiteral("Prescricao"), m, d);
    if (wants(request, {Section::FlexTest}))
      data.flexTeste = reader.row(QStringLiteral("FlexTeste"), QStringLiteral("FlexTeste"), m, d);
    if (wants(request, {Section::Ergometric})) {
      data.ergometrico =
          allRows(reader.rowsQuery(QStringLiteral("Ergomatrico"), QStringLiteral("Ergomatrico"), m,
                                   d, QStringLiteral("DATA")));
      data.recuperacao =
          allRows(reader.rowsQuery(QStringLiteral("Recuperacao"), QStringLiteral("Recuperacao"), m,
                                   d, QStringLiteral("DATA")));
    }
    if (wants(request, {Section::Flexibility}))
      data.testeFlexibilidade = reader.row(QStringLiteral("TesteFlexibilidade"),
                                           QStringLiteral("TesteFlexibilidade"), m, d);
    if (wants(request, {Section::SitUp}))
      data.testeAbdominal =
          reader.row(QStringLiteral("TesteAbdominal"), QStringLiteral("TesteAbdominal"), m, d);
    if (wants(request, {Section::PushUp}))
      data.testeFlexao =
          reader.row(QStringLiteral("TesteFlexao"), QStringLiteral("TesteFlexao"), m, d);
    if (wants(request, {Section::PosturalFrontBack, Section::PosturalSides}))
      data.findings = readFindings(reader, m, d);
    if (wants(request, {Section::Prescription})) {
      reader.at(QStringLiteral("Atividades"));
      data.activities = readActivities();
    }
  } catch (const SqlError& e) {
    const QString detail = reader.detail();
    connection.release();
    return openingFailure(detail, e.text());
  }
  connection.release();
  return data;
}

namespace {

Failure noAssessment(const QDate& date) {
  return Failure{Msg::NenhumResultadoEncontrado,
                 QStringLiteral("Avaliação de %1").arg(date.toString(QStringLiteral("dd/MM/yyyy"))),
                 QString()};
}

}  // namespace

Result<QSet<Section>> offeredSections(const QString& matricula, const QDate& date) {
  Connection connection(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("avaliacao")));
  if (!connection.open())
    return Failure{
        Msg::TamselInativo,
        {},
        QStringLiteral("Avaliação do aluno %1: %2").arg(matricula, connection.lastError())};
  Reader reader(connection);
  std::optional<Failure> failure;
  QSet<Section> sections;
  try {
    const AssessmentSettings settings{firstRow(
        reader.run(QStringLiteral("Controle"), QStringLiteral("SELECT * FROM Savcvar"), {}))};
    reader.at(QStringLiteral("Avaliacao"));
    if (!assessmentDates(connection.database(), matricula).contains(date)) {
      failure = noAssessment(date);
    } else {
      reader.at(QStringLiteral("Corporal"));
      sections = availableSections(settings.switches(),
                                   assessmentProtocol(connection.database(), matricula, date));
    }
  } catch (const SqlError& e) {
    failure = openingFailure(reader.detail(), e.text());
  }
  connection.release();
  if (failure) return *failure;
  return sections;
}
