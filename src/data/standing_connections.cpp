#include "data/standing_connections.h"

Connection& ADOConnectionVantrel() {
  static Connection connection(DataSource::Vantrel, QStringLiteral("ADOConnectionVantrel"));
  return connection;
}

Connection& ADOConnectionBrisca() {
  static Connection connection(DataSource::Brisca, QStringLiteral("ADOConnectionBrisca"));
  return connection;
}

bool connectStandingConnections() {
  return ADOConnectionVantrel().open() && ADOConnectionBrisca().open();
}

void disconnectStandingConnections() {
  ADOConnectionBrisca().close();
  ADOConnectionVantrel().close();
}
