#include "prescription/history_command.h"

#include "base/messages.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/sql.h"
#include "prescription/history_store.h"
#include "printouts/history_sheet.h"
#include "printouts/receipt.h"
#include "series/series_rules.h"

namespace {

struct HistoryOptions {
  QString matricula;
  std::optional<QDate> day;  // --print
  QString letter;
  QString pdf;
};

const QString kPrint = QStringLiteral("print");
const QString kPdf = QStringLiteral("pdf");

// Why the call is not one the command can do; empty when it is.
QString read(const CommandArguments& args, HistoryOptions& options) {
  const QStringList positional = args.positional();
  const bool print = args.isSet(kPrint);
  if (positional.size() != (print ? 2 : 1))
    return print ? QStringLiteral("Informe a matrícula, a data e a letra do treino")
                 : QStringLiteral("Informe a matrícula");
  const std::optional<QString> matricula = typedRegistration(positional[0]);
  if (!matricula) return QStringLiteral("Matrícula inválida: %1").arg(positional[0]);
  options.matricula = *matricula;
  if (!print) {
    if (args.isSet(kPdf)) return QStringLiteral("--pdf só com --print");
    return QString();
  }
  options.day = parseTypedDate(args.value(kPrint));
  if (!options.day) return QStringLiteral("Data inválida: %1 (dd/mm/aaaa)").arg(args.value(kPrint));
  options.letter = positional[1].toUpper();
  if (!kWorkoutLetters.contains(options.letter))
    return QStringLiteral("Treino inválido: %1 (A a E)").arg(positional[1]);
  options.pdf = args.value(kPdf);
  if (options.pdf.isEmpty()) return QStringLiteral("Falta --pdf ARQUIVO");
  return QString();
}

int listHistory(const QString& matricula, FILE* out) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("historico")));
  if (!workout.open()) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Treino"), workout.lastError()});
    return 1;
  }
  QList<DatedWorkout> list;
  try {
    list = datedWorkouts(workout.database(), matricula);
  } catch (const SqlError& e) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Treino"), e.text()});
    return 1;
  }
  if (list.isEmpty()) {
    tell({Msg::NenhumResultadoEncontrado, QStringLiteral("Treino"), {}});
    return 1;
  }
  for (const DatedWorkout& w : list)
    printLine(out, w.data.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') + w.letter);
  return 0;
}

}  // namespace

const CommandSyntax& historyCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("history"),
      QStringLiteral("vantrel history MATRICULA\n"
                     "       vantrel history MATRICULA --print DD/MM/AAAA LETRA --pdf ARQUIVO"),
      {QCommandLineOption(kPrint, QString(), QStringLiteral("DD/MM/AAAA")),
       QCommandLineOption(kPdf, QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

int runHistoryCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(historyCommand(), args);
  HistoryOptions options;
  if (const std::optional<int> status = settleCall(historyCommand(), arguments, out, err,
                                                   [&] { return read(arguments, options); }))
    return *status;
  if (!options.day) return listHistory(options.matricula, out);
  const Result<HistorySheet> sheet =
      prepareHistorySheet(options.matricula, options.letter, *options.day);
  if (!sheet.okOrTell()) return 1;
  if (!writePdf(historySheetReport(*sheet), options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("Treino %1 de %2 de %3 gravado em %4")
                     .arg(options.letter, formatTypedDate(*options.day), options.matricula,
                          options.pdf));
  return 0;
}
