// Publishing a month in bulk to a PostgreSQL portal: 10,000 members with a 30-exercise workout
// each (300,000 strength rows). The first run adds every row, the second finds every row already
// there. Beside them, in the same run, PostgreSQL's own COPY loads the same rows into a table of
// the same shape; the ratio of each run to the COPY is reported.
//
//   VANTREL_TEST_PGHOST=/socket/dir bench_publish   (PostgreSQL only)
#include "bench_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <QTextStream>

#include "forms/session.h"
#include "portal/bulk_publish.h"

namespace {

constexpr int kMembers = 10000;
constexpr int kExercises = 30;
const QDate kDay(2026, 3, 10);

// A valid CPF for a number: nine digits and their two check digits.
QString cpfFor(int n) {
  QString digits = QStringLiteral("%1").arg(100000000 + n, 9, 10, QLatin1Char('0')).right(9);
  for (int round = 0; round < 2; ++round) {
    int sum = 0;
    const int weight = int(digits.size()) + 1;
    for (int i = 0; i < digits.size(); ++i) sum += digits[i].digitValue() * (weight - i);
    const int rest = sum % 11;
    digits += QString::number(rest < 2 ? 0 : 11 - rest);
  }
  return digits;
}

QString matricula(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

class GymToPublish {
 public:
  GymToPublish() : installation_(Provider::PostgreSQL, false) {
    session_.connect();
    const QSqlDatabase db = session_.workoutDatabase();
    Transaction transaction(db);
    runSql(db,
           QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Aparelho) SELECT "
                          "lpad(i::text, 3, '0'), 'EXERCICIO ' || i, 'N', '001' FROM "
                          "generate_series(1, ?) AS i"),
           {kExercises});
    QList<QStringList> members;
    for (int n = 1; n <= kMembers; ++n) members << QStringList{matricula(n), cpfFor(n)};
    for (int start = 0; start < members.size(); start += 2000) {
      QStringList tuples;
      QVariantList values;
      for (int i = start; i < qMin(start + 2000, int(members.size())); ++i) {
        tuples << QStringLiteral("(?, 'ALUNO', ?, 'aluno@exemplo.com')");
        values << members[i][0] << members[i][1];
      }
      runSql(db,
             QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CPF, EMAIL) VALUES ") +
                 tuples.join(QStringLiteral(", ")),
             values);
    }
    runSql(db,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Series, Repeticoes, Peso, Intervalo, Ordem, "
                          "Professor, Seg, Qua, Sex) SELECT lpad(m::text, 10, '0'), 'A', "
                          "lpad(e::text, 3, '0'), ?, ?, '3', '12', '20 KG', 60, e, "
                          "'0000000001', true, true, true FROM generate_series(1, ?) AS m, "
                          "generate_series(1, ?) AS e"),
           {kDay, kDay.addMonths(3), kMembers, kExercises});
    transaction.commit();
    runSql(db, QStringLiteral("ANALYZE"));
  }
  ~GymToPublish() { session_.disconnect(); }
  Session& session() { return session_; }

 private:
  BenchInstallation installation_;
  Session session_;
};

BulkInput monthInput(const QSqlDatabase& db) {
  BulkInput input;
  input.from = QDate(2026, 3, 1);
  input.to = QDate(2026, 3, 31);
  input.customer = 7;
  input.academia = QStringLiteral("ACADEMIA");
  input.members =
      memberDetails(db, QStringLiteral("Alunos"), membersWithSeriesIn(db, input.from, input.to));
  input.staffNames.insert(QStringLiteral("0000000001"), QStringLiteral("PROFESSOR"));
  return input;
}

double publishOnce(const QSqlDatabase& workout, const QSqlDatabase& portal,
                   const BulkInput& input) {
  QElapsedTimer timer;
  timer.start();
  Transaction transaction(portal);
  const BulkSummary summary = publishPeriod(workout, portal, input);
  transaction.commit();
  if (summary.published != kMembers) throw SqlError(QStringLiteral("publicação incompleta"));
  return timer.nsecsElapsed() / 1e6;
}

// PostgreSQL's own COPY of the same rows into a table shaped like Portal_Treino, by psql.
double copySameRows(const LinkSpec& portal) {
  QTemporaryFile csv;
  if (!csv.open()) throw SqlError(QStringLiteral("arquivo temporário"));
  {
    QTextStream out(&csv);
    for (int m = 1; m <= kMembers; ++m) {
      const QString registration = matricula(m);
      const QString cpf = cpfFor(m);
      for (int e = 1; e <= kExercises; ++e)
        out << 7 << ',' << cpf << ',' << registration << ",A,"
            << QStringLiteral("%1").arg(e, 3, 10, QLatin1Char('0')) << ",EXERCICIO " << e << ','
            << "2026-03-10,2026-06-10,12,3,20 KG,60,,"
            << "PROFESSOR,f,t,f,t,f,t,f," << e << ",,001\n";
    }
  }
  csv.flush();
  const QString columns = QStringLiteral(
      "cliente, CPF, Matricula, Treino, Codigo_exercicio, Descricao, Data, Data_Reavaliacao, "
      "Repeticoes, Series, Peso, Intervalo, Obs, Professor, Dom, Seg, Ter, Qua, Qui, Sex, Sab, "
      "Ordem, Regulagem, Aparelho");
  const QString script = QStringLiteral(
                             "DROP TABLE IF EXISTS copia_portal; CREATE TABLE copia_portal (LIKE "
                             "portal_treino INCLUDING ALL);\n"
                             "\\timing on\n\\copy copia_portal (%1) FROM '%2' WITH (FORMAT csv)\n")
                             .arg(columns, csv.fileName());
  QProcess psql;
  psql.start(QStringLiteral("psql"),
             {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), portal.host(),
              QStringLiteral("-U"), portal.user, QStringLiteral("-d"), portal.catalog,
              QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1")});
  psql.write(script.toUtf8());
  psql.closeWriteChannel();
  if (!psql.waitForFinished(600000) || psql.exitCode() != 0)
    throw SqlError(QString::fromLocal8Bit(psql.readAllStandardError()));
  // "Time: 812.345 ms" of the \copy line, as the server's client measured it.
  const QStringList lines = QString::fromLocal8Bit(psql.readAllStandardOutput())
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (auto line = lines.crbegin(); line != lines.crend(); ++line)
    if (line->startsWith(QStringLiteral("Time: ")))
      return line->mid(6).section(QLatin1Char(' '), 0, 0).toDouble();
  throw SqlError(QStringLiteral("psql não mediu o COPY"));
}

void BM_PublishMonth(benchmark::State& state) {
  if (!postgresAvailable()) {
    state.SkipWithError("VANTREL_TEST_PGHOST not set: no PostgreSQL to measure");
    return;
  }
  GymToPublish gym;
  const QSqlDatabase workout = gym.session().workout().database();
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("bench-portal")));
  if (!portal.open()) throw SqlError(portal.lastError());
  const LinkParse link = readLinkFile(linkFilePath(DataSource::Ondrel));
  const BulkInput input = monthInput(workout);
  double first = 0;
  double second = 0;
  double copy = 0;
  for (auto _ : state) {
    runSql(portal.database(), QStringLiteral("TRUNCATE Portal_Treino, Alunos, Clientes"));
    first = publishOnce(workout, portal.database(), input);
    second = publishOnce(workout, portal.database(), input);
    state.PauseTiming();
    copy = copySameRows(*link.linkSpec);
    state.ResumeTiming();
  }
  state.counters["first_run_ms"] = first;
  state.counters["second_run_ms"] = second;
  state.counters["copy_ms"] = copy;
  state.counters["ratio_first"] = copy > 0 ? first / copy : 0;
  state.counters["ratio_second"] = copy > 0 ? second / copy : 0;
  portal.release();
}

}  // namespace

BENCHMARK(BM_PublishMonth)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
