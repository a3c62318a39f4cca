#include "registry/report_command.h"

#include "base/globals.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/settings_record.h"
#include "registry/catalogue_reports.h"

namespace {

enum class Listing { MuscleGroups, Exercises };

struct ReportOptions {
  Listing listing = Listing::Exercises;
  QString from;
  QString to;
  ListingOrder order = ListingOrder::Code;
  QString pdf;
};

// Why the call is not a listing to write; empty when it is.
QString read(const CommandArguments& args, ReportOptions& options) {
  const QStringList positional = args.positional();
  if (positional.isEmpty()) return QStringLiteral("Falta a consulta: muscle-groups ou exercises");
  const QString& listing = positional.first();
  if (listing == QLatin1String("muscle-groups"))
    options.listing = Listing::MuscleGroups;
  else if (listing == QLatin1String("exercises"))
    options.listing = Listing::Exercises;
  else
    return QStringLiteral("Consulta desconhecida: %1").arg(listing);
  if (positional.size() > 1) return QStringLiteral("Opção desconhecida: %1").arg(positional[1]);
  options.from = args.value(QStringLiteral("from"));
  options.to = args.value(QStringLiteral("to"));
  options.pdf = args.value(QStringLiteral("pdf"));
  if (args.isSet(QStringLiteral("order"))) {
    const QString order = args.value(QStringLiteral("order"));
    if (order == QLatin1String("code"))
      options.order = ListingOrder::Code;
    else if (order == QLatin1String("description") && options.listing == Listing::Exercises)
      options.order = ListingOrder::Description;
    else
      return QStringLiteral("Ordem inválida para esta consulta: %1").arg(order);
  }
  if (options.pdf.isEmpty()) return QStringLiteral("Falta --pdf ARQUIVO");
  return QString();
}

// The gym's name for the page headers, as the main window reads it at start-up.
QString gymName(const QSqlDatabase& db) {
  const std::optional<Settings> settings = Settings::read(db);
  return settings ? settings->academia : QString();
}

std::optional<Report> buildListing(const QSqlDatabase& db, const ReportOptions& options) {
  const CodeCatalogue& catalogue =
      options.listing == Listing::MuscleGroups ? muscleGroupCatalogue() : exerciseCatalogue();
  const std::optional<CodeRange> range = resolveCodeRange(db, catalogue, options.from, options.to);
  if (!range) return std::nullopt;
  G().GSTR_ACADEMIA = gymName(db);
  const ListingHeading heading = currentHeading(*range);
  const Result<Report> listing = options.listing == Listing::MuscleGroups
                                     ? muscleGroupListing(db, heading)
                                     : exerciseListing(db, heading, options.order);
  if (!listing.okOrTell()) return std::nullopt;
  return *listing;
}

}  // namespace

const CommandSyntax& reportCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("report"),
      QStringLiteral("vantrel report muscle-groups|exercises [--from CODIGO] [--to CODIGO]\n"
                     "                    [--order code|description] --pdf ARQUIVO\n"
                     "                    grava em PDF a consulta de grupamentos musculares ou "
                     "de exercícios"),
      {QCommandLineOption(QStringLiteral("from"), QString(), QStringLiteral("CODIGO")),
       QCommandLineOption(QStringLiteral("to"), QString(), QStringLiteral("CODIGO")),
       QCommandLineOption(QStringLiteral("order"), QString(), QStringLiteral("ORDEM")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO"))},
      {QStringLiteral("from"), QStringLiteral("to")}};
  return syntax;
}

int runReportCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(reportCommand(), args);
  ReportOptions options;
  if (const std::optional<int> status = settleCall(reportCommand(), arguments, out, err,
                                                   [&] { return read(arguments, options); }))
    return *status;
  Connection connection(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("report")));
  if (!connection.open()) {
    printLine(err, QStringLiteral("Banco %1 não pôde ser aberto: %2")
                       .arg(dataSourceName(DataSource::Vantrel), connection.lastError()));
    return 1;
  }
  const std::optional<Report> report = buildListing(connection.database(), options);
  if (!report) return 1;
  if (!writePdf(*report, options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("%1: %2 linha(s) gravada(s) em %3")
                     .arg(report->name)
                     .arg(report->rows.size())
                     .arg(options.pdf));
  return 0;
}
