#include "portal/publish_command.h"

#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "portal/bulk_run.h"

namespace {

const char* const kPublishUsage = "Uso: vantrel publish --from DD/MM/AAAA --to DD/MM/AAAA\n";

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

int runPublishCommand(const QStringList& args, FILE* out, FILE* err) {
  std::optional<QDate> from;
  std::optional<QDate> to;
  QString wrong;
  for (int i = 0; i < args.size() && wrong.isEmpty(); i += 2) {
    if (i + 1 >= args.size()) {
      wrong = QStringLiteral("Falta o valor de %1").arg(args[i]);
    } else if (args[i] == QLatin1String("--from")) {
      from = parseTypedDate(args[i + 1]);
      if (!from) wrong = QStringLiteral("Data Inicial inválida: %1").arg(args[i + 1]);
    } else if (args[i] == QLatin1String("--to")) {
      to = parseTypedDate(args[i + 1]);
      if (!to) wrong = QStringLiteral("Data Final inválida: %1").arg(args[i + 1]);
    } else {
      wrong = QStringLiteral("Opção desconhecida: %1").arg(args[i]);
    }
  }
  if (wrong.isEmpty() && (!from || !to)) wrong = QStringLiteral("Informe --from e --to");
  if (!wrong.isEmpty()) {
    print(err, wrong);
    std::fputs(kPublishUsage, err);
    return 2;
  }
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
    print(err, QStringLiteral("A publicação no portal não está ligada (Portal_Cenection)."));
    return 1;
  }
  const std::optional<BulkInput> input = prepareBulkInput(*settings, *from, *to);
  if (!input) return 1;
  const std::optional<BulkSummary> summary = runBulkPublishing(*input);
  if (!summary) {
    tellBulkFailure();
    return 1;
  }
  print(out, QStringLiteral("Alunos publicados: %1; sem CPF válido: %2; linhas gravadas: %3; "
                            "linhas removidas: %4")
                 .arg(summary->published)
                 .arg(summary->skipped)
                 .arg(summary->rowsWritten)
                 .arg(summary->rowsRemoved));
  return 0;
}
