#include "printouts/receipt_command.h"

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "printouts/receipt.h"
#include "printouts/receipt_output.h"
#include "printouts/series_sheet.h"
#include "registry/people_source.h"

namespace {

const QString kInfo = QStringLiteral("!");

struct ReceiptOptions {
  QString matricula;
  QString letter;
  std::optional<QString> device;
};

// Why the call is not a receipt to print; empty when it is.
QString read(const CommandArguments& args, ReceiptOptions& options) {
  const QStringList positional = args.positional();
  if (positional.size() != 2) return QStringLiteral("Informe a matrícula e o número do treino");
  const std::optional<QString> matricula = typedRegistration(positional[0]);
  if (!matricula) return QStringLiteral("Matrícula inválida: %1").arg(positional[0]);
  options.matricula = *matricula;
  options.letter = receiptLetter(positional[1]);
  if (options.letter.isEmpty())
    return QStringLiteral("Número do treino inválido: %1 (1 a 5)").arg(positional[1]);
  if (args.isSet(QStringLiteral("device"))) options.device = args.value(QStringLiteral("device"));
  return QString();
}

// The member's name, or nothing after "Matrícula INCORRETA !".
std::optional<QString> memberName(const Settings& settings, const QString& matricula) {
  const PeopleTables tables = peopleTables(settings);
  const Result<std::unique_ptr<Connection>> people =
      openPeopleConnection(tables, QStringLiteral("Alunos"));
  if (!people.okOrTell()) return std::nullopt;
  QVariant name;
  try {
    name = scalarSql((*people)->database(),
                     QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(tables.members),
                     {matricula});
  } catch (const SqlError&) {
    reportUnavailable(tables.source, QStringLiteral("Alunos"));
    return std::nullopt;
  }
  if (!name.isValid()) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    return std::nullopt;
  }
  return name.toString();
}

}  // namespace

const CommandSyntax& receiptCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("receipt"),
      QStringLiteral("vantrel receipt MATRICULA NUMERO_DO_TREINO [--device CAMINHO]\n"
                     "                    NUMERO_DO_TREINO: 1 = A, 2 = B, 3 = C, 4 = D, 5 = E"),
      {QCommandLineOption(QStringLiteral("device"), QString(), QStringLiteral("CAMINHO"))},
      {}};
  return syntax;
}

int runReceiptCommand(const QStringList& args, FILE* out, FILE* err) {
  const CommandArguments arguments(receiptCommand(), args);
  ReceiptOptions options;
  if (const std::optional<int> status = settleCall(receiptCommand(), arguments, out, err,
                                                   [&] { return read(arguments, options); }))
    return *status;
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("recibo")));
  if (!workout.open()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return 1;
  }
  const std::optional<Settings> settings = Settings::read(workout.database());
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return 1;
  }
  const std::optional<QString> name = memberName(*settings, options.matricula);
  if (!name) return 1;
  ReceiptData data;
  try {
    data = readReceiptData(workout.database(), options.matricula, options.letter);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Treino"));
    return 1;
  }
  if (data.strength.isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, noWorkoutDetail(options.letter));
    return 1;
  }
  data.nome = *name;
  if (!printReceipt(data, receiptLayout(*settings), receiptRouteSettings(*settings), options.device)
           .okOrTell())
    return 1;
  printLine(out, QStringLiteral("Treino %1 de %2 impresso").arg(options.letter, options.matricula));
  return 0;
}
