#include "app/application.h"

#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <exception>

#include "app/installation.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app/window_table.h"
#include "base/error_log.h"
#include "base/prompter.h"
#include "base/version.h"
#include "data/data_source.h"
#include "forms/gui_prompter.h"
#include "forms/session.h"

VantrelApplication::VantrelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  describeApplication();
  if (!installQtTranslation(*this))
    appendToLog(QStringLiteral("Tradução do Qt para o português não encontrada"));
}

bool VantrelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    appendToLog(QString::fromUtf8(e.what()));
  } catch (...) {
    appendToLog(QStringLiteral("Erro desconhecido"));
  }
  return false;
}

void describeApplication() {
  // Dates and numbers are shown the Brazilian way whatever the machine's language.
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
  QCoreApplication::setOrganizationName(QStringLiteral("Vantrel"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
}

bool installQtTranslation(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

namespace {

// A first start on a machine without an installation creates the embedded one and tells
// the user how to log in.
bool ensureInstallation() {
  // Installations made before the folder was private are closed to other users now.
  if (installationExists()) {
    makeInstallationFolder();
    return true;
  }
  const InitReport report = runInit(false);
  if (!report.ok) {
    appendToLog(report.error);
    MENSAGEM(QStringLiteral("!"), QStringLiteral("Não foi possível criar a instalação !\r"),
             report.error);
    return false;
  }
  MENSAGEM(QStringLiteral("!"),
           QStringLiteral("Instalação criada em %1\r").arg(installationFolder()),
           QStringLiteral("Usuário: %1   Senha: %2").arg(kMasterUserCode, kMasterFirstPassword));
  return true;
}

}  // namespace

int runGui(VantrelApplication& app, const GuiOptions& options) {
  SingleInstance instance;
  if (instance.anotherIsRunning()) return 0;
  instance.listen();
  QObject::connect(&instance, &SingleInstance::raiseRequested, &app, raiseActiveWindow);

  GuiPrompter prompter;
  installPrompter(&prompter);
  std::set_terminate([] {
    appendToLog(QStringLiteral("Encerramento inesperado"));
    std::abort();
  });
  if (!ensureInstallation()) return 1;

  if (options.splash) {
    TFRMVERSAO splash;
    splash.exec();
  }

  Session session;
  TFRMSEPRINCIPAL window(session);
  installWindows(window);
  // Maximised also where no window manager does it for us.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    window.setGeometry(screen->availableGeometry());
  window.showMaximized();
  if (!window.start()) return 1;
  if (!runLogin(window)) return 0;
  const int status = app.exec();
  installPrompter(nullptr);
  return status;
}
