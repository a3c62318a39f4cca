#include "registry/report_command.h"

#include "base/globals.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/settings_record.h"
#include "registry/catalogue_reports.h"

const char* const kReportUsage =
    "     vantrel report muscle-groups|exercises [--from CODIGO] [--to CODIGO]\n"
    "                    [--order code|description] --pdf ARQUIVO\n"
    "                             grava em PDF a consulta de grupamentos musculares ou de "
    "exercícios\n";

namespace {

enum class Listing { MuscleGroups, Exercises };

struct ReportOptions {
  Listing listing = Listing::Exercises;
  QString from;
  QString to;
  ListingOrder order = ListingOrder::Code;
  QString pdf;
};

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Why the arguments are not a command; empty when they are.
QString parse(const QStringList& args, ReportOptions& options) {
  if (args.isEmpty()) return QStringLiteral("Falta a consulta: muscle-groups ou exercises");
  const QString& listing = args.first();
  if (listing == QLatin1String("muscle-groups"))
    options.listing = Listing::MuscleGroups;
  else if (listing == QLatin1String("exercises"))
    options.listing = Listing::Exercises;
  else
    return QStringLiteral("Consulta desconhecida: %1").arg(listing);

  bool hasPdf = false;
  for (int i = 1; i < args.size(); i += 2) {
    const QString& option = args[i];
    if (i + 1 >= args.size()) return QStringLiteral("Falta o valor de %1").arg(option);
    const QString& value = args[i + 1];
    if (option == QLatin1String("--from")) {
      options.from = value;
    } else if (option == QLatin1String("--to")) {
      options.to = value;
    } else if (option == QLatin1String("--pdf")) {
      options.pdf = value;
      hasPdf = !value.isEmpty();
    } else if (option == QLatin1String("--order") && value == QLatin1String("code")) {
      options.order = ListingOrder::Code;
    } else if (option == QLatin1String("--order") && value == QLatin1String("description") &&
               options.listing == Listing::Exercises) {
      options.order = ListingOrder::Description;
    } else if (option == QLatin1String("--order")) {
      return QStringLiteral("Ordem inválida para esta consulta: %1").arg(value);
    } else {
      return QStringLiteral("Opção desconhecida: %1").arg(option);
    }
  }
  if (!hasPdf) return QStringLiteral("Falta --pdf ARQUIVO");
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
  return options.listing == Listing::MuscleGroups ? muscleGroupListing(db, heading)
                                                  : exerciseListing(db, heading, options.order);
}

}  // namespace

int runReportCommand(const QStringList& args, FILE* out, FILE* err) {
  ReportOptions options;
  const QString wrong = parse(args, options);
  if (!wrong.isEmpty()) {
    print(err, wrong);
    std::fputs("Uso:\n", err);
    std::fputs(kReportUsage, err);
    return 2;
  }
  Connection connection(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("report")));
  if (!connection.open()) {
    print(err, QStringLiteral("Banco %1 não pôde ser aberto: %2")
                   .arg(dataSourceName(DataSource::Vantrel), connection.lastError()));
    return 1;
  }
  const std::optional<Report> report = buildListing(connection.database(), options);
  if (!report) return 1;
  if (!writePdf(*report, options.pdf)) {
    print(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  print(out, QStringLiteral("%1: %2 linha(s) gravada(s) em %3")
                 .arg(report->name)
                 .arg(report->rows.size())
                 .arg(options.pdf));
  return 0;
}
