// The program's two faces: the window program and the command line.
#pragma once

#include <QApplication>

// Records every exception that reaches the event loop in the log instead of ending
// the program; nothing is shown to the user.
class VantrelApplication : public QApplication {
 public:
  VantrelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

struct GuiOptions {
  bool splash = true;
};

// Starts the window program on the installation folder; returns the exit status.
int runGui(VantrelApplication& app, const GuiOptions& options);

// Sets the program's name, organisation and version on the running application.
void describeApplication();

// Qt's own windows and buttons (file dialogs, "Cancelar", "Sim") in Brazilian Portuguese, as
// the rest of the program; false when the machine has no translation of Qt.
bool installQtTranslation(QCoreApplication& application);
