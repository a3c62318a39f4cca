// vantrel: the window program by default; subcommands for installation and batch work.
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "app/application.h"
#include "app/command_table.h"
#include "base/command_line.h"
#include "base/prompter.h"
#include "base/version.h"

namespace {

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
int runCommand(const Subcommand& command, int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtMessages = qInstallMessageHandler(withoutRuntimeFolderComplaint);
  QGuiApplication app(argc, argv);
  describeApplication();
  ConsolePrompter console;
  installPrompter(&console);
  const int status = command.run(app.arguments().mid(2));
  installPrompter(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    printLine(stdout, programUsage());
    return 0;
  }
  if (first == QLatin1String("--version")) {
    std::printf("vantrel %s\n", VANTREL_VERSION);
    return 0;
  }
  if (const Subcommand* command = findSubcommand(first)) return runCommand(*command, argc, argv);
  if (!first.isEmpty() && first != QLatin1String("--no-splash")) {
    printLine(stderr, programUsage());
    return 2;
  }
  VantrelApplication app(argc, argv);
  GuiOptions options;
  options.splash =
      first != QLatin1String("--no-splash") && qEnvironmentVariableIsEmpty("VANTREL_NO_SPLASH");
  return runGui(app, options);
}
