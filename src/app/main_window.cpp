#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolButton>

#include "app/menu_table.h"
#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "forms/child_window.h"
#include "forms/session.h"

namespace {

TFRMSEPRINCIPAL* theMainWindow = nullptr;

const MenuEntry* findEntry(const QString& objectName) {
  for (const MenuEntry& entry : menuEntries())
    if (objectName == QLatin1String(entry.objectName)) return &entry;
  return nullptr;
}

const ShortcutEntry* findShortcut(const QString& objectName) {
  for (const ShortcutEntry& shortcut : shortcutEntries())
    if (objectName == QLatin1String(shortcut.objectName)) return &shortcut;
  return nullptr;
}

bool shownBySettings(ShownWhen when) {
  const Globals& g = G();
  switch (when) {
    case ShownWhen::Always:
      return true;
    case ShownWhen::MuscleGroupsOn:
      return g.GSTR_GRUPAMENTO_MUSCULAR != QStringLiteral("Não");
    case ShownWhen::PeopleKeptHere:
      return g.GBOL_SISTEMA_LOCAL;
  }
  return true;
}

// A maximised child keeps a title bar of its own: otherwise Qt moves the child's buttons into the
// menu bar's corner, which is where the shortcut bar lives, and the shortcuts vanish.
class OwnTitleBarWhenMaximized : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_Workspace_FillSpaceOnMaximize) return 1;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

}  // namespace

TFRMSEPRINCIPAL* mainWindow() {
  return theMainWindow;
}

TFRMSEPRINCIPAL::TFRMSEPRINCIPAL(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session) {
  theMainWindow = this;
  setObjectName(QStringLiteral("TFRMSEPRINCIPAL"));
  setWindowTitle(QStringLiteral("Sistema de Exercício "));
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("MDIAREA"));
  setCentralWidget(mdiArea_);

  Globals& g = G();
  g.GINT_DIAS_AUSENTES = 0;
  g.GSTR_SMTP_PROVEDOR = QString();
  g.GSTR_NOME_PROVEDOR = QString();
  g.GSTR_EMAIL_PROVEDOR = QString();
  g.GSTR_USERNAME = QString();
  g.GSTR_PASSWORD = QString();
  g.GBOL_CONTROLE_OK = true;
  g.GBOL_TEM_AUSENTES = false;
  g.GBOL_EMAIL_AUSENTES = false;
  g.GBOL_EMAIL_RELATORIO = false;

  buildMenu();
  buildShortcutBar();
  buildStatusBar();
  ShellHooks& shell = session_.shell();
  shell.writeStatusPanel = [this](int panel, const QString& text) {
    if (QLabel* label = statusPanel(panel)) label->setText(text);
  };
  shell.openEntry = [this](const QString& entry) { openEntry(entry); };
  shell.applyMenuSettings = [this] { applyMenuSettings(); };

  Timer1.setObjectName(QStringLiteral("Timer1"));
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TFRMSEPRINCIPAL::tick);

  // Alt+F4 must not close the frame: the key is swallowed before anything sees it.
  qApp->installEventFilter(this);
}

TFRMSEPRINCIPAL::~TFRMSEPRINCIPAL() {
  qApp->removeEventFilter(this);
  session_.shell() = {};
  if (theMainWindow == this) theMainWindow = nullptr;
}

void TFRMSEPRINCIPAL::buildMenu() {
  QHash<QString, QMenu*> menus;
  for (const MenuDef& m : menuBarOrder()) {
    if (m.caption) {
      QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
      menu->setObjectName(QString::fromUtf8(m.objectName));
      menus.insert(menu->objectName(), menu);
      continue;
    }
    // Top-level entries: created below, in the order of the table above.
    const MenuEntry* def = findEntry(QString::fromUtf8(m.objectName));
    auto* action = menuBar()->addAction(QString::fromUtf8(def->caption));
    action->setObjectName(QString::fromUtf8(def->objectName));
    entries_.insert(action->objectName(), action);
  }
  for (const MenuEntry& def : menuEntries()) {
    if (!def.menu) continue;
    QMenu* menu = menus.value(QString::fromUtf8(def.menu));
    if (def.separatorBefore)
      menu->addSeparator()->setObjectName(QString::fromUtf8(def.separatorBefore));
    QAction* action = menu->addAction(QString::fromUtf8(def.caption));
    action->setObjectName(QString::fromUtf8(def.objectName));
    entries_.insert(action->objectName(), action);
  }
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    const QString name = it.key();
    // Until a window is set for it, an entry has nothing to open.
    it.value()->setEnabled(findEntry(name)->exits);
    connect(it.value(), &QAction::triggered, this, [this, name] { openEntry(name); });
  }
  // The separators below the entries the settings can hide.
  for (QMenu* menu : menus) {
    for (QAction* action : menu->actions())
      if (action->isSeparator()) entries_.insert(action->objectName(), action);
  }
}

void TFRMSEPRINCIPAL::buildShortcutBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("PNLATALHO"));
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 4, 0);
  layout->setSpacing(2);
  for (const ShortcutEntry& def : shortcutEntries()) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromUtf8(def.objectName));
    button->setToolTip(QString::fromUtf8(def.hint));
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(def.icon)));
    button->setAutoRaise(true);
    button->setEnabled(false);
    layout->addWidget(button);
    shortcuts_.insert(button->objectName(), button);
  }
  bar->setFixedHeight(34);
  menuBar()->setCornerWidget(bar, Qt::TopRightCorner);
}

void TFRMSEPRINCIPAL::buildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(false);
  // The date and time panels grow past their nominal widths when the font needs it.
  const QFontMetrics metrics(font());
  const int widths[4] = {250, 0,
                         qMax(70, metrics.horizontalAdvance(QStringLiteral("00/00/0000")) + 12),
                         qMax(60, metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 12)};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    if (i >= 2) label->setAlignment(Qt::AlignCenter);
    if (widths[i] > 0) label->setFixedWidth(widths[i]);
    statusBar()->addWidget(label, i == 1 ? 1 : 0);
    panels_[i] = label;
  }
}

QAction* TFRMSEPRINCIPAL::entry(const QString& objectName) const {
  return entries_.value(objectName);
}

QToolButton* TFRMSEPRINCIPAL::shortcut(const QString& objectName) const {
  return shortcuts_.value(objectName);
}

QToolButton* TFRMSEPRINCIPAL::absencesButton() const {
  for (const ShortcutEntry& def : shortcutEntries())
    if (def.litByAbsences) return shortcut(QString::fromUtf8(def.objectName));
  return nullptr;
}

QLabel* TFRMSEPRINCIPAL::statusPanel(int panel) const {
  return panel >= 1 && panel <= 4 ? panels_[panel - 1] : nullptr;
}

void TFRMSEPRINCIPAL::setChildWindow(const QString& entryName, ChildFactory factory) {
  childFactories_.insert(entryName, std::move(factory));
  if (QAction* action = entry(entryName)) action->setEnabled(true);
}

void TFRMSEPRINCIPAL::setModalWindow(const QString& entryName, ModalRunner runner) {
  modalRunners_.insert(entryName, std::move(runner));
  if (QAction* action = entry(entryName)) action->setEnabled(true);
}

void TFRMSEPRINCIPAL::setShortcutWindow(const QString& buttonName, ModalRunner runner) {
  QToolButton* button = shortcut(buttonName);
  if (!button) return;
  button->setEnabled(!findShortcut(buttonName)->litByAbsences);
  connect(button, &QToolButton::clicked, this, [runner = std::move(runner)] { runner(); });
}

void TFRMSEPRINCIPAL::applyMenuSettings() {
  for (const MenuEntry& def : menuEntries()) {
    if (def.separatorBefore && def.separatorShownWhen != ShownWhen::Always)
      if (QAction* separator = entry(QString::fromUtf8(def.separatorBefore)))
        separator->setVisible(shownBySettings(def.separatorShownWhen));
    if (def.shownWhen == ShownWhen::Always) continue;
    QAction* action = entry(QString::fromUtf8(def.objectName));
    if (!action) continue;
    const bool shown = shownBySettings(def.shownWhen);
    action->setVisible(shown);
    if (!shown) {
      takeEntry(action);
      continue;
    }
    // An entry shown again is usable when its window exists.
    giveBackEntry(action->objectName());
    action->setEnabled(childFactories_.contains(action->objectName()) ||
                       modalRunners_.contains(action->objectName()));
  }
  Timer1.start();
  QCoreApplication::processEvents();
}

bool TFRMSEPRINCIPAL::start() {
  Globals& g = G();
  g.GSTR_ALUNOS_ATIVOS = QStringLiteral("Não");
  g.GBOL_CONTROLE_OK = true;
  g.GBOL_FALHA_ABERTURA = false;
  g.GBOL_MUDA_USUARIO = false;
  g.GINT_JANELAS_ABERTAS = 0;
  banner_ = bannerText();
  if (!session_.connect()) {
    MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, Msg::DetalheBancoRede);
    return false;
  }
  // A workout database that opens but does not answer (a damaged file, tables missing) is
  // told once; the watch would otherwise report it every second, over the login.
  if (const std::optional<QString> failure = workoutProbeFailure(session_)) {
    appendToLog(QStringLiteral("Banco de treinos aberto mas sem resposta: %1").arg(*failure));
    MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, Msg::DetalheBancoRede);
    return false;
  }
  // The settings are read once the workout connection is there; a failure is reported by
  // the login dialog, which then ends the program.
  if (ABRE_CONTROLE(session_)) {
    banner_ = bannerText();
    applyMenuSettings();
  }
  tick();
  Timer1.start();
  QCoreApplication::processEvents();
  return true;
}

QString TFRMSEPRINCIPAL::bannerText() const {
  const QString gym = G().GSTR_ACADEMIA.str().trimmed();
  QString text = QStringLiteral("Vantrel - Sistema de Exercício");
  if (!gym.isEmpty()) text += QStringLiteral(" - ") + gym;
  return text + QStringLiteral(" - Prescrição, impressão e acompanhamento de séries  ***  ");
}

void TFRMSEPRINCIPAL::tick() {
  const int w = width();
  banner_ = rotateBanner(banner_, w);
  panels_[1]->setText(banner_);
  panels_[1]->setMaximumWidth(qMax(0, w - 380));
  panels_[2]->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
  panels_[3]->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));

  if (!probeWorkoutDatabase(session_)) {
    reportLostDatabase();
    return;
  }
  QToolButton* absent = absencesButton();
  Globals& g = G();
  if (g.GBOL_SISTEMA_LOCAL) {
    absent->setEnabled(false);
    return;
  }
  if (!g.GBOL_TEM_AUSENTES && absentTest_) absentTest_();
  // Members are absent: the button blinks once a second and can be clicked while lit.
  if (g.GBOL_TEM_AUSENTES)
    absent->setEnabled(!absent->isEnabled());
  else
    absent->setEnabled(false);
}

void TFRMSEPRINCIPAL::reportLostDatabase() {
  Timer1.stop();
  mdiArea_->closeAllSubWindows();
  MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, Msg::DetalheBancoRede);
  if (!ReSetBanco(session_)) {
    close();  // reachable but damaged: the program ends (the cause is in the log)
    return;
  }
  Timer1.start();
  QCoreApplication::processEvents();
}

void TFRMSEPRINCIPAL::openEntry(const QString& objectName) {
  const MenuEntry* def = findEntry(objectName);
  if (!def) return;
  if (def->exits) {
    requestExit();
    return;
  }
  if (def->needsPortal && G().GSTR_PORTAL_CONECTION != QStringLiteral("Sim")) {
    MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato, QStringLiteral("Configurar Treino Web"));
    return;
  }
  if (def->permission) {
    GuardedEntry guard{QString::fromUtf8(def->permission), QString::fromUtf8(def->deniedDetail),
                       def->probeSettings};
    if (!authoriseEntry(session_, guard)) return;
  }
  if (childFactories_.contains(objectName))
    openChild(*def);
  else
    openModal(*def);
}

void TFRMSEPRINCIPAL::openChild(const MenuEntry& def) {
  const QString name = QString::fromUtf8(def.objectName);
  const ChildFactory factory = childFactories_.value(name);
  if (!factory) return;
  QAction* action = entry(name);
  G().GINT_JANELAS_ABERTAS += 1;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ChildWindow* window = factory();
  QApplication::restoreOverrideCursor();
  takeEntry(action);
  connect(window, &ChildWindow::windowClosed, this, [this, name] { giveBackEntry(name); });
  QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  if (!childFrameStyle_) {
    childFrameStyle_ = new OwnTitleBarWhenMaximized;
    childFrameStyle_->setParent(this);
  }
  frame->setStyle(childFrameStyle_);
  if (!window->hasCloseBox())
    frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinMaxButtonsHint);
  frame->setWindowTitle(window->windowTitle());
  window->show();
  frame->show();
  if (window->preferredSize().isValid()) {
    const QSize decoration = frame->size() - window->size();
    frame->resize(window->preferredSize() + decoration);
  }
  // Whole inside the visible frame, even on a small screen.
  const QSize room = mdiArea_->viewport()->size();
  frame->resize(frame->size().boundedTo(room));
  frame->move(qBound(0, frame->x(), qMax(0, room.width() - frame->width())),
              qBound(0, frame->y(), qMax(0, room.height() - frame->height())));
  if (!def.keepEntryOnFailure && G().GBOL_FALHA_ABERTURA) giveBackEntry(name);
}

void TFRMSEPRINCIPAL::openModal(const MenuEntry& def) {
  const QString name = QString::fromUtf8(def.objectName);
  const ModalRunner runner = modalRunners_.value(name);
  if (!runner) return;
  // The connection probe must not reopen a database being replaced.
  const bool restore = def.pausesWatch;
  if (restore) Timer1.stop();
  QAction* action = entry(name);
  const bool counted = def.permission != nullptr;
  if (counted) G().GINT_JANELAS_ABERTAS += 1;
  takeEntry(action);
  runner();
  if (ending_) {
    close();
    return;
  }
  if (counted) VOLTA_USUARIO(session_);
  giveBackEntry(name);
  if (restore) Timer1.start();
}

// An entry whose window is open is disabled and checked; the check mark shows only then.
void TFRMSEPRINCIPAL::takeEntry(QAction* action) {
  action->setEnabled(false);
  action->setCheckable(true);
  action->setChecked(true);
}

void TFRMSEPRINCIPAL::giveBackEntry(const QString& objectName) {
  if (QAction* action = entry(objectName)) {
    action->setEnabled(true);
    action->setChecked(false);
    action->setCheckable(false);
  }
}

void TFRMSEPRINCIPAL::requestExit() {
  if (exit_.request(G().GINT_JANELAS_ABERTAS)) close();
}

void TFRMSEPRINCIPAL::closeEvent(QCloseEvent* event) {
  Timer1.stop();
  hide();
  mdiArea_->closeAllSubWindows();
  session_.disconnect();
  event->accept();
  QCoreApplication::quit();
}

bool TFRMSEPRINCIPAL::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F4 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier)
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
