#include "app/upkeep_command.h"

#include "app/upkeep.h"
#include "data/connection.h"
#include "data/data_source.h"

namespace {

// "passo 6", "passos 3 e 4", "passos 1, 2, 3, 4, 5 e 6".
QString stepList(const QList<int>& steps) {
  QStringList numbers;
  for (int step : steps) numbers << QString::number(step);
  if (numbers.size() == 1) return QStringLiteral("passo ") + numbers.first();
  const QString last = numbers.takeLast();
  return QStringLiteral("passos %1 e %2").arg(numbers.join(QStringLiteral(", ")), last);
}

void printUpgrade(FILE* out, const UpgradeReport& report) {
  if (report.wasCurrent)
    printLine(out, QStringLiteral("Banco já está atualizado"));
  else if (!report.stepsRun.isEmpty())
    printLine(out, QStringLiteral("Banco atualizado: %1").arg(stepList(report.stepsRun)));
  if (report.failedStep != 0)
    printLine(stderr,
              QStringLiteral("Atualização interrompida no passo %1").arg(report.failedStep));
  if (report.passwordsHashed > 0)
    printLine(out, QStringLiteral("Senhas protegidas: %1").arg(report.passwordsHashed));
}

void printSizeCheck(FILE* out, const SizeCheckReport& report) {
  if (!report.sizeMb) {
    printLine(stderr, QStringLiteral("Tamanho do banco de dados não pôde ser lido"));
    return;
  }
  printLine(out, QStringLiteral("Tamanho: %1 MB").arg(*report.sizeMb));
  if (report.purgedYear)
    printLine(out, QStringLiteral("Ano de %1 excluído").arg(*report.purgedYear));
  if (report.shrunk) printLine(out, QStringLiteral("Banco compactado"));
}

}  // namespace

const CommandSyntax& upkeepCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("upkeep"), QStringLiteral("vantrel upkeep"), {}, {}, false};
  return syntax;
}

int runUpkeepCommand(const QStringList& args, FILE* out) {
  const CommandArguments arguments(upkeepCommand(), args);
  if (const std::optional<int> status = settleCall(upkeepCommand(), arguments, out, stderr))
    return *status;
  Connection connection(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("upkeep")));
  if (!connection.open()) {
    printLine(stderr, QStringLiteral("Banco %1 não pôde ser aberto: %2")
                          .arg(dataSourceName(DataSource::Vantrel), connection.lastError()));
    return 1;
  }
  const QSqlDatabase db = connection.database();
  const Dialect& dialect = connection.dialect();
  const ProgressSink progress = [out](const QString& text) {
    if (!text.isEmpty()) printLine(out, text);
  };

  UpgradeReport upgrade;
  ATUALIZA_VERSAO(db, dialect, progress, &upgrade);
  printUpgrade(out, upgrade);
  const SizeCheckReport size =
      Verifica_Tamanho_Banco(db, dialect, databaseSize(db, dialect), progress);
  printSizeCheck(out, size);
  return upgrade.ok() && size.ok ? 0 : 1;
}
