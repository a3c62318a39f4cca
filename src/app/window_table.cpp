#include "app/window_table.h"

#include "app/main_window.h"

void installWindows(TFRMSEPRINCIPAL&) {}

bool runLogin(TFRMSEPRINCIPAL&) { return true; }
