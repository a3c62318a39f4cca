#include "assessment/assessment_command.h"

#include "assessment/assessment_report.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "printouts/receipt.h"

namespace {

struct AssessmentOptions {
  QString matricula;
  QDate date;
  QList<Section> sections;  // empty: every section offered
  QString pdf;
};

// Why the call is not an assessment to print; empty when it is.
QString read(const CommandArguments& args, AssessmentOptions& options) {
  const QStringList positional = args.positional();
  if (positional.size() != 2) return QStringLiteral("Informe a matrícula e a data da avaliação");
  const std::optional<QString> matricula = typedRegistration(positional[0]);
  if (!matricula) return QStringLiteral("Matrícula inválida: %1").arg(positional[0]);
  options.matricula = *matricula;
  const std::optional<QDate> date = parseTypedDate(positional[1]);
  if (!date) return QStringLiteral("Data inválida: %1 (DD/MM/AAAA)").arg(positional[1]);
  options.date = *date;
  const QString list = args.value(QStringLiteral("sections")).trimmed();
  if (!list.isEmpty() && list.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0) {
    for (const QString& name : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const std::optional<Section> section = sectionNamed(name.trimmed());
      if (!section) return QStringLiteral("Seção desconhecida: %1").arg(name.trimmed());
      if (!options.sections.contains(*section)) options.sections << *section;
    }
    if (options.sections.isEmpty()) return QStringLiteral("Nenhuma seção escolhida");
    // As in the window, a comparison brings the Pollock page it follows.
    for (const auto& [comparison, pollock] : {std::pair{Section::Comparison3, Section::Pollock3},
                                              std::pair{Section::Comparison7, Section::Pollock7}})
      if (options.sections.contains(comparison) && !options.sections.contains(pollock))
        options.sections << pollock;
  }
  options.pdf = args.value(QStringLiteral("pdf"));
  if (options.pdf.isEmpty()) return QStringLiteral("Falta --pdf ARQUIVO");
  return QString();
}

QString sectionList() {
  QStringList names;
  for (Section section : allSections()) names << sectionName(section);
  return names.join(QLatin1Char(','));
}

}  // namespace

const CommandSyntax& assessmentCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("assessment"),
      QStringLiteral("vantrel assessment MATRICULA DD/MM/AAAA [--sections LISTA|all] --pdf "
                     "ARQUIVO\n                    seções: ") +
          sectionList(),
      {QCommandLineOption(QStringLiteral("sections"), QString(), QStringLiteral("LISTA")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

int runAssessmentCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(assessmentCommand(), args);
  AssessmentOptions options;
  if (const std::optional<int> status = settleCall(assessmentCommand(), arguments, out, err,
                                                   [&] { return read(arguments, options); }))
    return *status;
  const std::unique_ptr<Connection> workout =
      openOrSay(DataSource::Vantrel, QStringLiteral("configuração"), err);
  if (!workout) return 1;
  const std::optional<Settings> settings = Settings::read(workout->database());
  workout->release();
  if (!settings) {
    tell(Failure{Msg::AberturaDeTabela, QStringLiteral("Secvar"), QString()});
    return 1;
  }
  const Result<QSet<Section>> offered = offeredSections(options.matricula, options.date);
  if (!offered.okOrTell()) return 1;
  QSet<Section> chosen;
  if (options.sections.isEmpty()) {
    chosen = *offered;
  } else {
    for (Section section : options.sections) {
      if (!offered->contains(section)) {
        printLine(
            err,
            QStringLiteral("Seção não disponível nesta avaliação: %1").arg(sectionName(section)));
        return 1;
      }
      chosen << section;
    }
  }
  const Result<AssessmentData> data =
      readAssessment({options.matricula, options.date, chosen, QString(), *settings});
  if (!data.okOrTell()) return 1;
  const CompositeReport report = assessmentReport(*data, chosen, QDateTime::currentDateTime());
  if (!writePdf(report, options.pdf)) {
    printLine(err, QStringLiteral("Arquivo não pôde ser gravado: %1").arg(options.pdf));
    return 1;
  }
  printLine(out, QStringLiteral("Avaliação de %1 em %2 gravada em %3 (%4 seção(ões))")
                     .arg(options.matricula, options.date.toString(QStringLiteral("dd/MM/yyyy")),
                          options.pdf)
                     .arg(report.parts.size()));
  return 0;
}
