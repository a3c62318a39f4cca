#include "data/connection.h"
#include "data/sql.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <atomic>

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

  if (linkSpec.provider == Provider::SQLite) {
    if (create == Create::No && !QFileInfo::exists(linkSpec.dataSource))
      return fail(QStringLiteral("banco %1 não existe").arg(linkSpec.dataSource));
    if (!QFileInfo::exists(linkSpec.dataSource)) {
      // An empty file is an empty database; made here, it is private from its first byte
      // (SQLite's journals copy its permissions).
      QFile fresh(linkSpec.dataSource);
      if (!fresh.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("banco %1 não pode ser criado").arg(linkSpec.dataSource));
      fresh.close();
      makePrivateFile(linkSpec.dataSource);
    }
    db.setDatabaseName(linkSpec.dataSource);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
  } else {
    db.setHostName(linkSpec.host());
    if (linkSpec.port() > 0) db.setPort(linkSpec.port());
    db.setDatabaseName(linkSpec.catalog);
    db.setUserName(linkSpec.user);
    db.setPassword(linkSpec.password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
  }
  if (!db.open()) return fail(db.lastError().text());

  if (linkSpec.provider == Provider::PostgreSQL) {
    // Date-times travel as the machine's local time; the session must read them the same way.
    QSqlQuery zone(db);
    if (!zone.exec(QStringLiteral("SET TIME ZONE '%1'")
                       .arg(QString::fromLatin1(QTimeZone::systemTimeZoneId()))))
      zone.exec(QStringLiteral("SET TIME ZONE 'UTC'"));
  }
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
