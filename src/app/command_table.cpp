#include "app/command_table.h"

#include "app/installation.h"
#include "assessment/assessment_command.h"
#include "app/upkeep_command.h"
#include "followup/followup_commands.h"
#include "scheduling/scheduling_commands.h"
#include "maintenance/backup_command.h"
#include "portal/publish_command.h"
#include "prescription/history_command.h"
#include "printouts/receipt_command.h"
#include "prescription/sheet_mail.h"
#include "printouts/sheet_command.h"
#include "registry/report_command.h"
#include "scheduling/reassessment_command.h"

namespace {

// `vantrel report` writes the catalogue listings and the reassessment lists; the list named
// first (after any option and its value) says whose call it is.
QString reportNamed(const QStringList& args) {
  static const QStringList valued{QStringLiteral("from"), QStringLiteral("to"),
                                  QStringLiteral("order"), QStringLiteral("pdf"),
                                  QStringLiteral("evaluator")};
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--")) return args.value(i + 1);
    if (!arg.startsWith(QLatin1Char('-'))) return arg;
    QString name = arg;
    while (name.startsWith(QLatin1Char('-'))) name.remove(0, 1);
    if (valued.contains(name)) ++i;
  }
  return QString();
}

const CommandSyntax& everyReportCommand() {
  static const CommandSyntax syntax{
      QStringLiteral("report"),
      reportCommand().usage + QStringLiteral("\n     ") + reassessmentReportCommand().usage,
      {},
      {}};
  return syntax;
}

int runEveryReport(const QStringList& args) {
  const QString named = reportNamed(args);
  if (isReassessmentList(named)) return runReassessmentReportCommand(args);
  if (named == QLatin1String("muscle-groups") || named == QLatin1String("exercises"))
    return runReportCommand(args);
  if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
    return showHelp(everyReportCommand(), stdout);
  return wrongCall(everyReportCommand(),
                   named.isEmpty()
                       ? QStringLiteral("Falta a consulta: muscle-groups, exercises, done ou "
                                        "scheduled")
                       : QStringLiteral("Consulta desconhecida: %1").arg(named),
                   stderr);
}

}  // namespace

const CommandSyntax& initCommand() {
  static const CommandSyntax syntax{QStringLiteral("init"),
                                    QStringLiteral("vantrel init [--demo]"),
                                    {QCommandLineOption(QStringLiteral("demo"))},
                                    {},
                                    false};
  return syntax;
}

int runInitCommand(const QStringList& args) {
  const CommandArguments arguments(initCommand(), args);
  if (const std::optional<int> status = settleCall(initCommand(), arguments, stdout, stderr))
    return *status;
  const InitReport report = runInit(arguments.isSet(QStringLiteral("demo")));
  for (const QString& line : report.lines) printLine(stdout, line);
  if (!report.ok) {
    printLine(stderr, report.error);
    return 1;
  }
  return 0;
}

const QList<Subcommand>& subcommands() {
  static const QList<Subcommand> table{
      {initCommand, runInitCommand, "cria a instalação (bancos, configuração, usuário mestre)"},
      {upkeepCommand, [](const QStringList& a) { return runUpkeepCommand(a); },
       "atualiza o banco de treinos e verifica seu tamanho"},
      {everyReportCommand, runEveryReport, ""},
      {sheetCommand,
       [](const QStringList& a) { return runSheetCommand(a, stdout, stderr, mailSheetFromCommandLine); },
       "grava em PDF a ficha da série do aluno, ou a envia ao aluno por e-mail"},
      {assessmentCommand, [](const QStringList& a) { return runAssessmentCommand(a); },
       "grava em PDF a avaliação física do aluno"},
      {receiptCommand, [](const QStringList& a) { return runReceiptCommand(a); },
       "imprime o recibo de 40 colunas do treino"},
      {historyCommand, [](const QStringList& a) { return runHistoryCommand(a); },
       "lista os treinos gravados do aluno ou grava em PDF um deles"},
      {publishCommand, [](const QStringList& a) { return runPublishCommand(a); },
       "publica no portal as séries do período"},
      {backupCommand, [](const QStringList& a) { return runBackupCommand(a); },
       "backup conferido do banco de treinos"},
      {restoreCommand, [](const QStringList& a) { return runRestoreCommand(a); },
       "restaura o banco de treinos de um backup"},
      {purgeCommand, [](const QStringList& a) { return runPurgeCommand(a); },
       "esvazia as séries até o ano, após um backup"},
      {absentCommand, [](const QStringList& a) { return runAbsentCommand(a); }, ""},
      {expiredCommand, [](const QStringList& a) { return runExpiredCommand(a); }, ""},
      {agendaCommand, [](const QStringList& a) { return runAgendaCommand(a); }, ""},
      {calendarCommand, [](const QStringList& a) { return runCalendarCommand(a); }, ""},
  };
  return table;
}

const Subcommand* findSubcommand(const QString& name) {
  for (const Subcommand& command : subcommands())
    if (command.syntax().name == name) return &command;
  return nullptr;
}

QString programUsage() {
  QStringList lines{QStringLiteral("Uso: vantrel [--no-splash]")};
  for (const Subcommand& command : subcommands()) {
    lines << QStringLiteral("     ") + command.syntax().usage;
    if (*command.summary)
      lines << QStringLiteral("                    ") + QString::fromUtf8(command.summary);
  }
  lines << QStringLiteral("     vantrel --version")
        << QStringLiteral("     vantrel COMANDO --help   o uso de um comando")
        << QStringLiteral("A pasta da instalação é $VANTREL_HOME (padrão ~/.local/share/vantrel).");
  return lines.join(QLatin1Char('\n'));
}
