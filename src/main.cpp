// vantrel: the window program by default; subcommands for installation and batch work.
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "app/application.h"
#include "app/installation.h"
#include "app/upkeep_command.h"
#include "base/prompter.h"
#include "maintenance/backup_command.h"
#include "portal/publish_command.h"
#include "printouts/receipt_command.h"
#include "printouts/sheet_command.h"
#include "registry/report_command.h"
#include "base/version.h"

namespace {

const char* const kUsage =
    "Uso: vantrel [--no-splash]\n"
    "     vantrel init [--demo]   cria a instalação (bancos, configuração, usuário mestre)\n"
    "     vantrel upkeep          atualiza o banco de treinos e verifica seu tamanho\n"
    "     vantrel report muscle-groups|exercises [--from CODIGO] [--to CODIGO]\n"
    "                    [--order code|description] --pdf ARQUIVO\n"
    "     vantrel sheet MATRICULA LETRA [--landscape] --pdf ARQUIVO\n"
    "                    grava em PDF a ficha da série do aluno\n"
    "     vantrel receipt MATRICULA NUMERO_DO_TREINO [--device CAMINHO]\n"
    "                    imprime o recibo de 40 colunas do treino (1 = A ... 5 = E)\n"
    "     vantrel publish --from DD/MM/AAAA --to DD/MM/AAAA\n"
    "                    publica no portal as séries do período\n"
    "     vantrel backup [--copy-to PASTA]   backup conferido do banco de treinos\n"
    "     vantrel restore ARQUIVO            restaura o banco de treinos de um backup\n"
    "     vantrel purge --year AAAA          esvazia as séries até o ano, após um backup\n"
    "     vantrel --version\n"
    "A pasta da instalação é $VANTREL_HOME (padrão ~/.local/share/vantrel).\n";

void print(FILE* out, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), out);
  std::fputc('\n', out);
}

int runInitCommand(const QStringList& args) {
  bool demo = false;
  for (const QString& arg : args) {
    if (arg == QLatin1String("--demo"))
      demo = true;
    else {
      print(stderr, QStringLiteral("Opção desconhecida: %1").arg(arg));
      return 2;
    }
  }
  const InitReport report = runInit(demo);
  for (const QString& line : report.lines) print(stdout, line);
  if (!report.ok) {
    print(stderr, report.error);
    return 1;
  }
  return 0;
}

QtMessageHandler qtMessages = nullptr;

// Qt looks up the session's runtime folder while it starts and complains when a shell, a cron
// job or a service has none. No command uses that folder, so the complaint is no news to the
// user; every other message of Qt's still goes out.
void withoutRuntimeFolderComplaint(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (qtMessages) qtMessages(type, context, message);
}

// The command line never needs a display: drawing (demo photos, reports) goes offscreen.
int runCommand(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtMessages = qInstallMessageHandler(withoutRuntimeFolderComplaint);
  QGuiApplication app(argc, argv);
  describeApplication();
  ConsolePrompter console;
  installPrompter(&console);
  QStringList args = app.arguments().mid(1);
  const QString command = args.takeFirst();
  int status = 2;
  if (command == QLatin1String("init"))
    status = runInitCommand(args);
  else if (command == QLatin1String("upkeep"))
    status = runUpkeepCommand(args);
  else if (command == QLatin1String("report"))
    status = runReportCommand(args);
  else if (command == QLatin1String("sheet"))
    status = runSheetCommand(args);
  else if (command == QLatin1String("receipt"))
    status = runReceiptCommand(args);
  else if (command == QLatin1String("publish"))
    status = runPublishCommand(args);
  else if (command == QLatin1String("backup"))
    status = runBackupCommand(args);
  else if (command == QLatin1String("restore"))
    status = runRestoreCommand(args);
  else if (command == QLatin1String("purge"))
    status = runPurgeCommand(args);
  installPrompter(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (first == QLatin1String("--version")) {
    std::printf("vantrel %s\n", VANTREL_VERSION);
    return 0;
  }
  if (first == QLatin1String("init") || first == QLatin1String("upkeep") ||
      first == QLatin1String("report") || first == QLatin1String("sheet") ||
      first == QLatin1String("receipt") || first == QLatin1String("publish") ||
      first == QLatin1String("backup") || first == QLatin1String("restore") ||
      first == QLatin1String("purge"))
    return runCommand(argc, argv);
  if (!first.isEmpty() && first != QLatin1String("--no-splash")) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  VantrelApplication app(argc, argv);
  GuiOptions options;
  options.splash =
      first != QLatin1String("--no-splash") && qEnvironmentVariableIsEmpty("VANTREL_NO_SPLASH");
  return runGui(app, options);
}
