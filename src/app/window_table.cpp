#include "app/window_table.h"

#include "app/about_window.h"
#include "app/access_dialogs.h"
#include "app/main_window.h"
#include "app/shell_logic.h"
#include "forms/session.h"
#include "maintenance/backup_window.h"
#include "maintenance/configuration_window.h"
#include "maintenance/purge_window.h"
#include "portal/publish_window.h"
#include "prescription/series_builder_window.h"
#include "printouts/receipt_window.h"
#include "registry/access_level_window.h"
#include "registry/exercise_window.h"
#include "registry/member_window.h"
#include "registry/muscle_group_window.h"
#include "registry/staff_window.h"
#include "registry/user_window.h"

void installWindows(TFRMSEPRINCIPAL& window) {
  installReauthenticator([&window] {
    TPDLGACESSOLOCAL dialog(&window);
    dialog.exec();
  });
  window.setChildWindow(QStringLiteral("MNALUNOS"), [] { return new TFRMALUNOS; });
  window.setChildWindow(QStringLiteral("MNGrupamentoMuscular"),
                        [] { return new TFRMGRUPAMENTOMUSCULAR; });
  window.setChildWindow(QStringLiteral("MNEXERCICIOS"), [] { return new TFRMCADASTROEXERCICIOS; });
  window.setChildWindow(QStringLiteral("MNTIPOEXERCICIO"), [] { return new TFRMTIPOEXERCICIO; });
  window.setModalWindow(QStringLiteral("MNImpressodeSrie"), [&window] {
    TFRMIMPSERIE40COLUNAS receipt(&window);
    receipt.exec();
  });
  window.setModalWindow(QStringLiteral("MNAtualizaTreinosWeb"), [&window] {
    TFRMATUALIZARTREINOSWEB publishing(&window);
    publishing.exec();
  });
  window.setChildWindow(QStringLiteral("MNFUNCIONARIO"), [] { return new TFRMREFUNCIONARIO; });
  window.setChildWindow(QStringLiteral("MNCADASTRODEUSUARIOS"),
                        [] { return new TFRMCADASTRODEUSUARIOS; });
  window.setModalWindow(QStringLiteral("MNPARAMETRIZACAODOUSUARIO"), [&window] {
    TFRMPARAMETRIZACAODOUSUARIO levels(&window);
    levels.exec();
  });
  window.setModalWindow(QStringLiteral("MNBACKUP"), [&window] {
    TFRMBACKUP backup(&window);
    backup.exec();
  });
  window.setModalWindow(QStringLiteral("MNRESTAURACAODOBACKUP"), [&window] {
    TFRMRESTAURACAODOBACKUP restore(&window);
    restore.exec();
    if (restore.programEnds()) window.endProgram();
  });
  window.setModalWindow(QStringLiteral("MNESVAZIARARQUIVOS"), [&window] {
    TFRMREESVAZIARARQUIVOS purge(&window);
    purge.exec();
  });
  window.setChildWindow(QStringLiteral("MNREPARAMETRIZACAODOSISTEMA"),
                        [] { return new TFRMPARAMETRIZACAODOSISTEMA; });
  window.setModalWindow(QStringLiteral("MNSOBRE"), [&window] { showAboutWindow(&window); });
  window.setShortcutWindow(QStringLiteral("SBNOVIDADES"), [&window] {
    showNewsWindow(&window, window.shortcut(QStringLiteral("SBNOVIDADES")));
  });
  window.setShortcutWindow(QStringLiteral("SBAGENDA"), [&window] {
    if (!showLogin(&window, true)) window.close();
  });
}

bool runLogin(TFRMSEPRINCIPAL& window) {
  if (showLogin(&window, false)) return true;
  window.close();
  return false;
}
