// The program's menu and shortcut bar, one row per entry: where it sits, how it is guarded,
// when the settings show it, and what it opens. The frame builds itself from these rows and
// reads their flags; only the rows know the windows.
#pragma once

#include <QList>

class ChildWindow;
class Session;
class TFRMSEPRINCIPAL;

// When the settings show an entry (or the separator above it).
enum class ShownWhen {
  Always,
  MuscleGroupsOn,  // GrupamentoMuscular is not "Não"
  PeopleKeptHere,  // members and staff are kept by this program, not the gym-management one
};

struct MenuEntry {
  const char* objectName;
  const char* caption;
  const char* menu = nullptr;             // objectName of its menu; nullptr: the menu bar
  const char* separatorBefore = nullptr;  // objectName of the separator above it
  const char* permission = nullptr;       // column of Usuarios; nullptr: not guarded
  const char* deniedDetail = "";
  bool probeSettings = false;       // the settings row must be readable before it opens
  bool keepEntryOnFailure = false;  // stays taken after a failed opening
  ShownWhen shownWhen = ShownWhen::Always;
  ShownWhen separatorShownWhen = ShownWhen::Always;
  bool needsPortal = false;  // refused with "Configurar Treino Web" while the portal is off
  bool pausesWatch = false;  // the database watch stops while it runs (it replaces the database)
  bool exits = false;        // the "Sair" entry: always usable, ends the program
  // What it opens: a child window, or a modal window run to its end. Neither: not built yet,
  // and the entry stays disabled.
  ChildWindow* (*child)(Session& session) = nullptr;
  void (*modal)(TFRMSEPRINCIPAL& frame) = nullptr;
};

struct MenuDef {
  const char* objectName;
  const char* caption;  // nullptr: a top-level entry of the table sits here
};

struct ShortcutEntry {
  const char* objectName;
  const char* hint;
  int icon;                    // a QStyle::StandardPixmap
  bool litByAbsences = false;  // blinks while members are absent; usable only while lit
  void (*open)(TFRMSEPRINCIPAL& frame) = nullptr;
};

// The menus in menu-bar order, with the top-level entries between them.
const QList<MenuDef>& menuBarOrder();
const QList<MenuEntry>& menuEntries();
const QList<ShortcutEntry>& shortcutEntries();
