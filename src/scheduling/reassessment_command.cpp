#include "scheduling/reassessment_command.h"

#include "base/messages.h"
#include "followup/followup_commands.h"
#include "scheduling/reassessment_lists.h"

namespace {

const QString kDone = QStringLiteral("done");
const QString kScheduled = QStringLiteral("scheduled");

struct Options {
  ReassessmentList list = ReassessmentList::Done;
  QString from;
  QString to;
  std::optional<QString> evaluator;
  bool synthetic = false;
  QString pdf;
};

// Why the call is not a list to write; empty when it is.
QString read(const CommandArguments& args, Options& options) {
  const QStringList positional = args.positional();
  if (positional.isEmpty()) return QStringLiteral("Falta a lista: done ou scheduled");
  if (!isReassessmentList(positional.first()))
    return QStringLiteral("Lista desconhecida: %1").arg(positional.first());
  if (positional.size() > 1) return QStringLiteral("Opção desconhecida: %1").arg(positional[1]);
  options.list = positional.first() == kDone ? ReassessmentList::Done : ReassessmentList::Scheduled;
  if (!args.isSet(QStringLiteral("from")) || !args.isSet(QStringLiteral("to")))
    return QStringLiteral("Informe --from e --to");
  options.from = args.value(QStringLiteral("from"));
  options.to = args.value(QStringLiteral("to"));
  if (args.isSet(QStringLiteral("evaluator"))) {
    const QString evaluator = args.value(QStringLiteral("evaluator")).trimmed();
    if (evaluator.isEmpty()) return QStringLiteral("Falta a matrícula do avaliador");
    options.evaluator = evaluator.rightJustified(10, QLatin1Char('0'));
  }
  options.synthetic = args.isSet(QStringLiteral("synthetic"));
  if (options.synthetic && options.list != ReassessmentList::Done)
    return QStringLiteral("--synthetic vale só para a lista done");
  options.pdf = args.value(QStringLiteral("pdf"));
  if (options.pdf.isEmpty()) return QStringLiteral("Falta --pdf ARQUIVO");
  return QString();
}

}  // namespace

bool isReassessmentList(const QString& name) {
  return name == kDone || name == kScheduled;
}

const CommandSyntax& reassessmentReportCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("report"),
      QStringLiteral("vantrel report done|scheduled --from DD/MM/AAAA --to DD/MM/AAAA\n"
                     "                    [--evaluator MATRICULA] [--synthetic] --pdf ARQUIVO\n"
                     "                    grava em PDF as séries feitas ou agendadas do período"),
      {QCommandLineOption(QStringLiteral("from"), QString(), QStringLiteral("DD/MM/AAAA")),
       QCommandLineOption(QStringLiteral("to"), QString(), QStringLiteral("DD/MM/AAAA")),
       QCommandLineOption(QStringLiteral("evaluator"), QString(), QStringLiteral("MATRICULA")),
       QCommandLineOption(QStringLiteral("synthetic")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

int runReassessmentReportCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(reassessmentReportCommand(), args);
  Options options;
  if (const std::optional<int> status = settleCall(reassessmentReportCommand(), arguments, out, err,
                                                   [&] { return read(arguments, options); }))
    return *status;
  const auto period = readPeriod(options.from, options.to);
  if (const auto* refused = std::get_if<PeriodRefusal>(&period)) {
    tell({refused->error.text, refused->error.detail, {}});
    return 1;
  }
  const ReassessmentQuery query{options.list, std::get<Period>(period), options.evaluator,
                                options.synthetic};

  const std::optional<ListSources> sources =
      openListSources(QStringLiteral("reavaliacoes"), QStringLiteral("Funcionario"), err);
  if (!sources) return 1;

  Result<QList<ReassessmentRow>> rows = selectReassessments(sources->workout->database(), query);
  if (!rows.okOrTell()) return 1;
  if (rows->isEmpty()) {
    tell({Msg::NenhumResultadoEncontrado, {}, {}});
    return 1;
  }
  if (!nameReassessments(sources->peopleDb->database(), sources->people, *rows).okOrTell())
    return 1;
  const Report report = reassessmentReport(
      query, *rows, {sources->settings.academia, QDateTime::currentDateTime(), query.period});
  if (!writePdf(report, options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("%1: %2 linha(s) gravada(s) em %3")
                     .arg(reassessmentTitle(options.list))
                     .arg(rows->size())
                     .arg(options.pdf));
  return 0;
}
