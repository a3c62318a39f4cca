#include "portal/publish_command.h"

#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "portal/bulk_run.h"

const CommandSyntax& publishCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("publish"),
      QStringLiteral("vantrel publish --from DD/MM/AAAA --to DD/MM/AAAA"),
      {QCommandLineOption(QStringLiteral("from"), QString(), QStringLiteral("DD/MM/AAAA")),
       QCommandLineOption(QStringLiteral("to"), QString(), QStringLiteral("DD/MM/AAAA"))},
      {},
      false};
  return syntax;
}

int runPublishCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(publishCommand(), args);
  if (const std::optional<int> status = settleCall(publishCommand(), arguments, out, err))
    return *status;
  const QString fromText = arguments.value(QStringLiteral("from"));
  const QString toText = arguments.value(QStringLiteral("to"));
  if (!arguments.isSet(QStringLiteral("from")) || !arguments.isSet(QStringLiteral("to")))
    return wrongCall(publishCommand(), QStringLiteral("Informe --from e --to"), err);
  const std::optional<QDate> from = parseTypedDate(fromText);
  if (!from)
    return wrongCall(publishCommand(), QStringLiteral("Data Inicial inválida: %1").arg(fromText),
                     err);
  const std::optional<QDate> to = parseTypedDate(toText);
  if (!to)
    return wrongCall(publishCommand(), QStringLiteral("Data Final inválida: %1").arg(toText), err);
  if (*to < *from) {
    MENSAGEM(QStringLiteral("!"), Msg::DadoIncorreto,
             QStringLiteral("Data final Menor que Data inicial"));
    return 1;
  }
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("publica-cfg")));
  const std::optional<Settings> settings =
      workout.open() ? Settings::read(workout.database()) : std::nullopt;
  workout.release();
  if (!settings) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return 1;
  }
  if (!settings->portalOn()) {
    printLine(err, QStringLiteral("A publicação no portal não está ligada (Portal_Cenection)."));
    return 1;
  }
  const Result<BulkInput> input = prepareBulkInput(*settings, *from, *to);
  if (!input.okOrTell()) return 1;
  TerminalProgress progress(out);
  const std::optional<BulkSummary> summary = runBulkPublishing(
      *input, [&](int done, int total) { progress.count(QStringLiteral("Publicando"), done, total); });
  progress.finish();
  if (!summary) {
    tell(bulkFailure());
    return 1;
  }
  printLine(out, QStringLiteral("Alunos publicados: %1; sem CPF válido: %2; linhas gravadas: %3; "
                                "linhas removidas: %4")
                     .arg(summary->published)
                     .arg(summary->skipped)
                     .arg(summary->rowsWritten)
                     .arg(summary->rowsRemoved));
  return 0;
}
