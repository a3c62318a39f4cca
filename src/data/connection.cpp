#include "data/connection.h"
#include "data/sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "base/command_line.h"
#include "base/error_log.h"
#include "base/installation_folder.h"

Connection::Connection(DataSource source, const QString& name) : name_(name), source_(source) {}

Connection::Connection(const LinkSpec& linkSpec, const QString& name)
    : name_(name), spec_(linkSpec) {}

Connection::~Connection() {
  release();
}

void Connection::release() {
  close();
  if (QSqlDatabase::contains(name_)) QSqlDatabase::removeDatabase(name_);
}

QString Connection::uniqueName(const QString& prefix) {
  static std::atomic<int> counter{0};
  return QStringLiteral("%1#%2").arg(prefix).arg(++counter);
}

bool Connection::fail(const QString& why) {
  lastError_ = why;
  appendToLog(QStringLiteral("Conexão %1: %2").arg(name_, why));
  return false;
}

bool Connection::open(Create create) {
  close();
  lastError_.clear();
  if (source_) {
    // The link file is read at every opening, so a reconnection picks up a
    // file the installer corrected meanwhile.
    LinkParse parsed = readLinkFile(linkFilePath(*source_));
    if (!parsed.linkSpec) return fail(parsed.error);
    spec_ = parsed.linkSpec;
  }
  if (!spec_) return fail(QStringLiteral("sem arquivo de conexão"));
  const LinkSpec& linkSpec = *spec_;
  const Dialect& dialect = Dialect::of(linkSpec.provider);

  if (QSqlDatabase::contains(name_)) QSqlDatabase::removeDatabase(name_);
  QSqlDatabase db = QSqlDatabase::addDatabase(dialect.qtDriver(), name_);
  if (!db.isValid()) return fail(QStringLiteral("driver %1 indisponível").arg(dialect.qtDriver()));

  if (const std::optional<QString> why =
          dialect.prepareConnection(db, linkSpec, create == Create::IfMissing))
    return fail(*why);
  if (!db.open()) return fail(db.lastError().text());
  dialect.startSession(db);
  return true;
}

void Connection::close() {
  if (!QSqlDatabase::contains(name_)) return;
  forgetPrepared(name_);
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  if (db.isOpen()) db.close();
}

bool Connection::isOpen() const {
  return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase Connection::database() const {
  return QSqlDatabase::database(name_, false);
}

Provider Connection::provider() const {
  return spec_ ? spec_->provider : Provider::SQLite;
}

const Dialect& Connection::dialect() const {
  return Dialect::of(provider());
}

std::unique_ptr<Connection> openOrSay(DataSource source, const QString& purpose, FILE* err) {
  auto connection = std::make_unique<Connection>(source, Connection::uniqueName(purpose));
  if (connection->open()) return connection;
  printLine(err, QStringLiteral("Banco %1 não pôde ser aberto: %2")
                     .arg(dataSourceName(source), connection->lastError()));
  return nullptr;
}
