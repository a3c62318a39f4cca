#include "app/window_table.h"

#include <QApplication>
#include <QStyle>
#include <memory>

#include "app/about_window.h"
#include "app/access_dialogs.h"
#include "app/main_window.h"
#include "app/menu_table.h"
#include "app/shell_logic.h"
#include "base/globals.h"
#include "classes/class_booking_window.h"
#include "followup/absent_members.h"
#include "followup/absent_members_window.h"
#include "followup/expired_series_window.h"
#include "followup/member_email_window.h"
#include "forms/session.h"
#include "maintenance/backup_window.h"
#include "maintenance/configuration_window.h"
#include "maintenance/purge_window.h"
#include "portal/publish_window.h"
#include "prescription/history_window.h"
#include "prescription/series_builder_window.h"
#include "prescription/video_window.h"
#include "printouts/receipt_window.h"
#include "registry/access_level_window.h"
#include "registry/exercise_window.h"
#include "registry/member_window.h"
#include "registry/muscle_group_window.h"
#include "registry/staff_window.h"
#include "registry/user_window.h"
#include "scheduling/agenda_day_window.h"
#include "scheduling/assembly_booking_window.h"
#include "scheduling/reassessment_windows.h"
#include "scheduling/series_review_window.h"
#include "scheduling/weekly_agenda_window.h"

namespace {

template <typename Window>
ChildWindow* child(Session& session) {
  return new Window(session);
}

// A modal window that works with the session, and one that needs nothing of it.
template <typename Window>
void modal(TFRMSEPRINCIPAL& frame) {
  Window window(frame.session(), &frame);
  window.exec();
}

template <typename Window>
void modalAlone(TFRMSEPRINCIPAL& frame) {
  Window window(&frame);
  window.exec();
}

// A shortcut's window, the hourglass shown while it is made.
template <typename Window>
void waitingFor(TFRMSEPRINCIPAL& frame) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Window window(frame.session(), &frame);
  QApplication::restoreOverrideCursor();
  window.exec();
}

void restore(TFRMSEPRINCIPAL& frame) {
  TFRMRESTAURACAODOBACKUP window(frame.session(), &frame);
  window.exec();
  if (window.programEnds()) frame.endProgram();
}

// The absent members, counted among the open windows while shown.
void absentMembers(TFRMSEPRINCIPAL& frame) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  G().GINT_JANELAS_ABERTAS += 1;
  TFRMALUNOSAUSENTES window(frame.session(), &frame);
  QApplication::restoreOverrideCursor();
  window.exec();
}

// A modal window of a shortcut (the member e-mail list, the series history): counted among
// the open windows, its shortcut off while it is up; the window gives both back as it closes.
template <typename Window>
void fromShortcut(TFRMSEPRINCIPAL& frame, const char* name) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  G().GINT_JANELAS_ABERTAS += 1;
  QWidget* shortcut = frame.shortcut(QString::fromLatin1(name));
  if (shortcut) shortcut->setEnabled(false);
  Window window(frame.session(), shortcut, &frame);
  QApplication::restoreOverrideCursor();
  window.exec();
}

// The class bookings: one window at a time, its shortcut off while it is up.
void classBookings(TFRMSEPRINCIPAL& frame) {
  if (frame.findChild<TFRMFREQUENCIAAULAS*>()) return;
  QWidget* shortcut = frame.shortcut(QStringLiteral("SBFRQUENCIAAULAS"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (shortcut) shortcut->setEnabled(false);
  TFRMFREQUENCIAAULAS window(frame.session(), shortcut, &frame);
  QApplication::restoreOverrideCursor();
  window.exec();
}

// The receipt window shows the series on screen, when the settings say so, in the series
// window of the prescription.
void receiptWindow(TFRMSEPRINCIPAL& frame) {
  TFRMIMPSERIE40COLUNAS window(frame.session(), &frame);
  window.setSeriesOnScreenOpener(showSeriesOnScreen);
  window.exec();
}

void memberEmails(TFRMSEPRINCIPAL& frame) {
  fromShortcut<TFRMEMAILALUNOS>(frame, "SBEMAIL");
}

void seriesHistory(TFRMSEPRINCIPAL& frame) {
  fromShortcut<TFRMHISTORICOSERIES>(frame, "SBEXERCICIOS");
}

}  // namespace

const QList<MenuDef>& menuBarOrder() {
  static const QList<MenuDef> menus{
      {"MNCADASTRO", "&Cadastro"},
      {"MNEXERCICIOSMENU", "&Exercícios"},
      {"MNRELATORIOS", "&Relatórios"},
      {"Estabelevimento1", nullptr},  // a top-level entry sits between the menus
      {"MNUTILITARIOS", "&Utilitários"},
      {"MNSOBRE", nullptr},
      {"Sair1", nullptr},
  };
  return menus;
}

const QList<MenuEntry>& menuEntries() {
  static const QList<MenuEntry> entries{
      {.objectName = "MNALUNOS",
       .caption = "&Alunos",
       .menu = "MNCADASTRO",
       .permission = "C_ALUNOS",
       .probeSettings = true,
       .shownWhen = ShownWhen::PeopleKeptHere,
       .child = child<TFRMALUNOS>},
      {.objectName = "MNGrupamentoMuscular",
       .caption = "&Grupamento Muscular",
       .menu = "MNCADASTRO",
       .separatorBefore = "N13",
       .permission = "C_GrupamentoMuscular",
       .shownWhen = ShownWhen::MuscleGroupsOn,
       .separatorShownWhen = ShownWhen::MuscleGroupsOn,
       .child = child<TFRMGRUPAMENTOMUSCULAR>},
      {.objectName = "MNEXERCICIOS",
       .caption = "&Exercícios",
       .menu = "MNCADASTRO",
       .separatorBefore = "N3",
       .permission = "C_EXERCICIOS",
       .separatorShownWhen = ShownWhen::PeopleKeptHere,
       .child = child<TFRMCADASTROEXERCICIOS>},
      {.objectName = "MNFUNCIONARIO",
       .caption = "&Funcionários",
       .menu = "MNCADASTRO",
       .separatorBefore = "N5",
       .permission = "C_FUNCIONARIO",
       .probeSettings = true,
       .shownWhen = ShownWhen::PeopleKeptHere,
       .separatorShownWhen = ShownWhen::PeopleKeptHere,
       .child = child<TFRMREFUNCIONARIO>},
      {.objectName = "MNCADASTRODEUSUARIOS",
       .caption = "&Usuários",
       .menu = "MNCADASTRO",
       .separatorBefore = "N10",
       .permission = "U_CADASTRODEUSUARIOS",
       .child = child<TFRMCADASTRODEUSUARIOS>},
      {.objectName = "MNTIPOEXERCICIO",
       .caption = "&Tipos de Exercícios",
       .menu = "MNEXERCICIOSMENU",
       .permission = "E_TIPOEXERCICIO",
       .child = child<TFRMTIPOEXERCICIO>},
      {.objectName = "MNImpressodeSrie",
       .caption = "Impressão de Série 40 Colunas",
       .menu = "MNEXERCICIOSMENU",
       .separatorBefore = "N9",
       .permission = "IMP_SERIE_40",
       .modal = receiptWindow},
      {.objectName = "MnSeriesVencidas",
       .caption = "Séries Vencidas",
       .menu = "MNRELATORIOS",
       .permission = "R_SeriesVencidas",
       .keepEntryOnFailure = true,
       .child = child<TFRMSERIESVENCIDAS>},
      {.objectName = "MnAvaliaesFeitas",
       .caption = "Séries Feitas",
       .menu = "MNRELATORIOS",
       .separatorBefore = "N1",
       .permission = "R_AvaliacoesFeitas",
       .keepEntryOnFailure = true,
       .child = child<TFRMREAVALIACAOFEITA>},
      {.objectName = "MnAvaliaesAgendadas",
       .caption = "Séries Agendadas",
       .menu = "MNRELATORIOS",
       .separatorBefore = "N11",
       .permission = "R_AvaliacoesAgendadas",
       .keepEntryOnFailure = true,
       .child = child<TFRMREAVALIACAOAGENDADA>},
      {.objectName = "Estabelevimento1",
       .caption = "&Agendar Montagem de Série",
       .modal = modal<TFRMAGENDARTREINOS>},
      {.objectName = "MNBACKUP",
       .caption = "&Backup",
       .menu = "MNUTILITARIOS",
       .permission = "U_BACKUP",
       .keepEntryOnFailure = true,
       .modal = modalAlone<TFRMBACKUP>},
      {.objectName = "MNRESTAURACAODOBACKUP",
       .caption = "&Restauração do Backup",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N4",
       .permission = "U_RESTAURACAODOBACKUP",
       .keepEntryOnFailure = true,
       .pausesWatch = true,
       .modal = restore},
      {.objectName = "MNAgendadeTreinos",
       .caption = "&Agenda Montagem de Série",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N2",
       .permission = "AGENDA",
       .deniedDetail = "MONTAGEM DE SÉRIE",
       .keepEntryOnFailure = true,
       .child = child<TFRMREAGENDA>},
      {.objectName = "MNAtualizaTreinosWeb",
       .caption = "&Atualizar Treinos na Web",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N12",
       .needsPortal = true,
       .modal = modal<TFRMATUALIZARTREINOSWEB>},
      {.objectName = "MNPARAMETRIZACAODOUSUARIO",
       .caption = "Nível de Acesso do &Usuário",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N7",
       .permission = "U_PARAMETRIZACAOUSUARIO",
       .modal = modal<TFRMPARAMETRIZACAODOUSUARIO>},
      {.objectName = "MNESVAZIARARQUIVOS",
       .caption = "Esvaziar Arquivos de &Séries",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N8",
       .permission = "U_REESVAZIARMOVIMENTACAO",
       .deniedDetail = "ESVAZIAR ARQUIVOS DE SÉRIES",
       .keepEntryOnFailure = true,
       .modal = modalAlone<TFRMREESVAZIARARQUIVOS>},
      {.objectName = "MNREPARAMETRIZACAODOSISTEMA",
       .caption = "&Configuração do Sistema",
       .menu = "MNUTILITARIOS",
       .separatorBefore = "N6",
       .child = child<TFRMPARAMETRIZACAODOSISTEMA>},
      {.objectName = "MNSOBRE",
       .caption = "S&obre",
       .modal = [](TFRMSEPRINCIPAL& frame) { showAboutWindow(frame.session(), &frame); }},
      {.objectName = "Sair1", .caption = "&Sair", .exits = true},
  };
  return entries;
}

const QList<ShortcutEntry>& shortcutEntries() {
  static const QList<ShortcutEntry> shortcuts{
      {"SBAGENTATREINOS", "Consulta Agenda de Séries", QStyle::SP_FileDialogDetailedView, false,
       waitingFor<TFRMCONSULTAAGENDADETREINOS>},
      {"SBFRQUENCIAAULAS", "Agendamento de Aula Coletiva", QStyle::SP_FileDialogListView, false,
       classBookings},
      {"SBREVISOR", "Revisor de Treinos Vencidos", QStyle::SP_BrowserReload, false,
       waitingFor<TFRMREVIORDEAVALIACOES>},
      {"SBEMAIL", "E-mail", QStyle::SP_DialogSaveButton, false, memberEmails},
      {"SBEXERCICIOS", "Histórico de Séries", QStyle::SP_FileDialogContentsView, false,
       seriesHistory},
      {"SBAUSENTES", "Alunos Ausentes", QStyle::SP_MessageBoxWarning, true, absentMembers},
      {"SBAGENDA", "Muda Usuário", QStyle::SP_DialogResetButton, false,
       [](TFRMSEPRINCIPAL& frame) {
         if (!showLogin(frame.session(), &frame, true)) frame.close();
       }},
      {"SBNOVIDADES", "Novidades", QStyle::SP_MessageBoxInformation, false,
       [](TFRMSEPRINCIPAL& frame) {
         showNewsWindow(frame.session(), &frame, frame.shortcut(QStringLiteral("SBNOVIDADES")));
       }},
  };
  return shortcuts;
}

void installWindows(TFRMSEPRINCIPAL& window) {
  window.session().shell().reauthenticate = [&window] {
    TPDLGACESSOLOCAL dialog(window.session(), &window);
    dialog.exec();
  };
  window.setAbsentTest([&window, watch = std::make_shared<AbsentWatch>()] {
    watch->ALUNOS_AUSENTES(window.session());
  });
  for (const MenuEntry& entry : menuEntries()) {
    const QString name = QString::fromUtf8(entry.objectName);
    if (entry.child)
      window.setChildWindow(name, [&window, make = entry.child] { return make(window.session()); });
    if (entry.modal) window.setModalWindow(name, [&window, open = entry.modal] { open(window); });
  }
  for (const ShortcutEntry& shortcut : shortcutEntries())
    if (shortcut.open)
      window.setShortcutWindow(QString::fromUtf8(shortcut.objectName),
                               [&window, open = shortcut.open] { open(window); });
}

bool runLogin(TFRMSEPRINCIPAL& window) {
  if (showLogin(window.session(), &window, false)) return true;
  window.close();
  return false;
}
