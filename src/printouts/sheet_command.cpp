#include "printouts/sheet_command.h"

#include "printouts/receipt.h"
#include "printouts/series_sheet.h"
#include "series/series_rules.h"

namespace {

struct SheetOptions {
  QString matricula;
  QString letter;
  bool landscape = false;
  QString pdf;
  bool email = false;
};

// Why the call is not a sheet to print; empty when it is.
QString read(const CommandArguments& args, SheetOptions& options) {
  const QStringList positional = args.positional();
  if (positional.size() != 2) return QStringLiteral("Informe a matrícula e a letra do treino");
  const std::optional<QString> matricula = typedRegistration(positional[0]);
  if (!matricula) return QStringLiteral("Matrícula inválida: %1").arg(positional[0]);
  options.matricula = *matricula;
  options.letter = positional[1].toUpper();
  if (!kWorkoutLetters.contains(options.letter))
    return QStringLiteral("Treino inválido: %1 (A a E)").arg(positional[1]);
  options.landscape = args.isSet(QStringLiteral("landscape"));
  options.pdf = args.value(QStringLiteral("pdf"));
  options.email = args.isSet(QStringLiteral("email"));
  if (options.pdf.isEmpty() == !options.email) return QStringLiteral("Use --pdf ARQUIVO ou --email");
  return QString();
}

}  // namespace

const CommandSyntax& sheetCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("sheet"),
      QStringLiteral("vantrel sheet MATRICULA LETRA [--landscape] (--pdf ARQUIVO | --email)"),
      {QCommandLineOption(QStringLiteral("landscape")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO")),
       QCommandLineOption(QStringLiteral("email"))},
      {}};
  return syntax;
}

int runSheetCommand(const QStringList& args, FILE* out, FILE* err, const SheetMailer& mailer) {
  const CommandArguments arguments(sheetCommand(), args);
  SheetOptions options;
  if (const std::optional<int> status =
          settleCall(sheetCommand(), arguments, out, err, [&] { return read(arguments, options); }))
    return *status;
  if (options.email) {
    if (!mailer || !mailer(options.matricula, options.letter, options.landscape)) return 1;
    printLine(out, QStringLiteral("Série %1 de %2 enviada por e-mail").arg(options.letter, options.matricula));
    return 0;
  }
  const Result<SeriesSheet> sheet =
      prepareSeriesSheet(options.matricula, options.letter, options.landscape);
  if (!sheet.okOrTell()) return 1;
  const Report report = seriesSheetReport(*sheet);
  if (!writePdf(report, options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("Série %1 de %2 gravada em %3")
                     .arg(options.letter, options.matricula, options.pdf));
  return 0;
}
