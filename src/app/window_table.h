// Which window each menu entry and shortcut opens, and the login that starts a session.
// Every window of the program is wired to the frame here.
#pragma once

class TFRMSEPRINCIPAL;

// Wires the frame's entries to their windows; each window gets the frame's session.
void installWindows(TFRMSEPRINCIPAL& window);

// Shows the login dialog before the event loop starts. False when the program must end.
bool runLogin(TFRMSEPRINCIPAL& window);
