// The two standing connections: the workout and gym-management databases, opened by
// the main window when it starts and closed when it closes, shared by every window.
#pragma once

#include "data/connection.h"

Connection& ADOConnectionVantrel();
Connection& ADOConnectionBrisca();

// Opens both (workout first); false when either fails, with the reason in the log.
bool connectStandingConnections();
void disconnectStandingConnections();
// Closes both and takes them off Qt's list of connections; runs by itself when the
// application object is destroyed.
void releaseStandingConnections();
