// How long the exercise listing takes from the query to a finished PDF for a catalogue of 5,000
// exercises, on SQLite and on PostgreSQL; and the layout alone, to tell the two costs apart.
//
//   bench_reports                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_reports  SQLite and PostgreSQL
#include "bench_support.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>

#include "data/schema.h"
#include "registry/catalogue_reports.h"

namespace {

constexpr int kExercises = 5000;

// A workout database with the catalogue tables and 5,000 exercises, dropped afterwards.
class BenchCatalogue {
 public:
  explicit BenchCatalogue(Provider provider) {
    LinkSpec linkSpec;
    if (provider == Provider::SQLite)
      linkSpec.dataSource = dir_.filePath(QStringLiteral("vantrel.db"));
    else
      linkSpec = databases_.create();
    connection_ =
        std::make_unique<Connection>(linkSpec, Connection::uniqueName(QStringLiteral("b")));
    if (!connection_->open(Connection::Create::IfMissing)) throw SqlError(connection_->lastError());
    fill();
  }
  ~BenchCatalogue() { connection_.reset(); }

  QSqlDatabase db() const { return connection_->database(); }

 private:
  void fill() {
    const QSqlDatabase database = db();
    QList<TableDef> tables;
    tables << *findTable(Database::Workout, QStringLiteral("Exercicios"));
    const SchemaReport schema = createMissingTables(database, connection_->dialect(), tables);
    if (!schema.ok()) throw SqlError(schema.error);
    Transaction transaction(database);
    // Codes are three characters wide: 5,000 of them need letters beyond the digits.
    for (int i = 0; i < kExercises; ++i)
      runSql(database,
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo) VALUES (?, ?, ?)"),
             {QStringLiteral("%1").arg(i, 3, 36, QLatin1Char('0')).toUpper(),
              QStringLiteral("EXERCICIO NUMERO %1 DA LISTA").arg(i * 7919 % kExercises),
              i % 5 ? QStringLiteral("N") : QStringLiteral("S")});
    transaction.commit();
  }

  QTemporaryDir dir_;
  ScratchDatabases databases_;  // before the connection, which goes first
  std::unique_ptr<Connection> connection_;
};

ListingHeading heading() {
  return ListingHeading{QStringLiteral("ACADEMIA CORPO EM FORMA"),
                        {QStringLiteral("000"), QStringLiteral("ZZZ")},
                        QDateTime::currentDateTime()};
}

void BM_ExerciseListingToPdf(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BenchCatalogue catalogue(providerOf(state));
  QTemporaryDir out;
  const QString file = out.filePath(QStringLiteral("exercicios.pdf"));
  const ListingOrder order = state.range(1) == 0 ? ListingOrder::Code : ListingOrder::Description;
  int pages = 0;
  for (auto _ : state) {
    const Result<Report> report = exerciseListing(catalogue.db(), heading(), order);
    if (!report || report->rows.size() != kExercises || !writePdf(*report, file)) {
      state.SkipWithError("listing failed");
      return;
    }
    pages = int(layOutReport(*report).pages.size());
  }
  state.counters["pages"] = pages;
  state.counters["rows"] = kExercises;
}

void BM_ExerciseListingLayoutOnly(benchmark::State& state) {
  QList<ExerciseListRow> rows;
  for (int i = 0; i < kExercises; ++i)
    rows.append({QString::number(i), QStringLiteral("EXERCICIO %1").arg(i), QStringLiteral("N")});
  const Report report = exerciseListingReport(rows, heading());
  for (auto _ : state) benchmark::DoNotOptimize(layOutReport(report));
}

// The floor: a bare QPdfWriter writing the very cells of the listing, page by page, in one
// font, with nothing else. Timed in the same run as the listing's own PDF.
void writeBarePdf(const Report& report, const ReportLayout& layout, const QString& file) {
  QPdfWriter writer(file);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(300);
  QPainter painter(&writer);
  QFont font(report.detail.font.family);
  font.setPointSizeF(report.detail.font.points);
  painter.setFont(font);
  const double s = 300 / 25.4;
  const QList<double> lefts = columnLefts(report.detail);
  for (int page = 0; page < layout.pages.size(); ++page) {
    if (page > 0) writer.newPage();
    double y = report.margins.top();
    for (const int row : layout.pages[page].rows()) {
      const QStringList& cells = report.rows[row].cells;
      for (int c = 0; c < cells.size() && c < lefts.size(); ++c)
        painter.drawText(
            QPointF((report.margins.left() + lefts[c]) * s, (y + report.detail.rowHeight) * s),
            cells[c]);
      y += report.detail.rowHeight;
    }
  }
}

void BM_ExerciseListingAgainstBarePdf(benchmark::State& state) {
  BenchCatalogue catalogue(Provider::SQLite);
  QTemporaryDir out;
  const Result<Report> report =
      exerciseListing(catalogue.db(), heading(), ListingOrder::Description);
  if (!report) {
    state.SkipWithError("listing failed");
    return;
  }
  const ReportLayout layout = layOutReport(*report);
  double listing = 0;
  double floor = 0;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    writePdf(*report, out.filePath(QStringLiteral("listing.pdf")));
    listing += timer.nsecsElapsed() / 1e6;
    timer.restart();
    writeBarePdf(*report, layout, out.filePath(QStringLiteral("bare.pdf")));
    floor += timer.nsecsElapsed() / 1e6;
  }
  const double n = double(state.iterations());
  state.counters["listing_ms"] = listing / n;
  state.counters["bare_ms"] = floor / n;
  state.counters["ratio"] = listing / floor;
}

BENCHMARK(BM_ExerciseListingAgainstBarePdf)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ExerciseListingToPdf)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->ArgNames({"postgres", "by_description"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExerciseListingLayoutOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
