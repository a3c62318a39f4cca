#include "data/standing_connections.h"

#include <QCoreApplication>

namespace {

// The standing connections are made on first use and never destroyed by the process's exit
// handlers: by then Qt's list of connections is gone and closing would touch freed memory.
// They are closed and taken off that list when the application object goes away instead.
Connection* makeStanding(DataSource source, const char* name) {
  static bool releaseRegistered = false;
  if (!releaseRegistered) {
    qAddPostRoutine(releaseStandingConnections);
    releaseRegistered = true;
  }
  return new Connection(source, QString::fromLatin1(name));
}

}  // namespace

Connection& ADOConnectionVantrel() {
  static Connection* const connection = makeStanding(DataSource::Vantrel, "ADOConnectionVantrel");
  return *connection;
}

Connection& ADOConnectionBrisca() {
  static Connection* const connection = makeStanding(DataSource::Brisca, "ADOConnectionBrisca");
  return *connection;
}

bool connectStandingConnections() {
  return ADOConnectionVantrel().open() && ADOConnectionBrisca().open();
}

void disconnectStandingConnections() {
  ADOConnectionBrisca().close();
  ADOConnectionVantrel().close();
}

void releaseStandingConnections() {
  ADOConnectionBrisca().release();
  ADOConnectionVantrel().release();
}
