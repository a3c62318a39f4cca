#include "printouts/sheet_command.h"

#include "series/series_rules.h"
#include "printouts/receipt.h"
#include "printouts/series_sheet.h"

namespace {

const char* const kSheetUsage = "Uso: vantrel sheet MATRICULA LETRA [--landscape] --pdf ARQUIVO\n";

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

struct SheetOptions {
  QString matricula;
  QString letter;
  bool landscape = false;
  QString pdf;
};

// Why the arguments are not a command; empty when they are.
QString parse(const QStringList& args, SheetOptions& options) {
  QStringList positional;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--landscape")) {
      options.landscape = true;
    } else if (args[i] == QLatin1String("--pdf")) {
      if (i + 1 >= args.size() || args[i + 1].isEmpty()) return QStringLiteral("Falta o valor de --pdf");
      options.pdf = args[++i];
    } else if (args[i].startsWith(QLatin1String("--"))) {
      return QStringLiteral("Opção desconhecida: %1").arg(args[i]);
    } else {
      positional << args[i];
    }
  }
  if (positional.size() != 2) return QStringLiteral("Informe a matrícula e a letra do treino");
  const std::optional<QString> matricula = typedRegistration(positional[0]);
  if (!matricula) return QStringLiteral("Matrícula inválida: %1").arg(positional[0]);
  options.matricula = *matricula;
  options.letter = positional[1].toUpper();
  if (!kWorkoutLetters.contains(options.letter))
    return QStringLiteral("Treino inválido: %1 (A a E)").arg(positional[1]);
  if (options.pdf.isEmpty()) return QStringLiteral("Falta --pdf ARQUIVO");
  return QString();
}

}  // namespace

int runSheetCommand(const QStringList& args, FILE* out, FILE* err) {
  SheetOptions options;
  const QString wrong = parse(args, options);
  if (!wrong.isEmpty()) {
    print(err, wrong);
    std::fputs(kSheetUsage, err);
    return 2;
  }
  const std::optional<SeriesSheet> sheet =
      prepareSeriesSheet(options.matricula, options.letter, options.landscape);
  if (!sheet) return 1;
  const Report report = seriesSheetReport(*sheet);
  if (!writePdf(report, options.pdf)) {
    print(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  print(out, QStringLiteral("Série %1 de %2 gravada em %3")
                 .arg(options.letter, options.matricula, options.pdf));
  return 0;
}
