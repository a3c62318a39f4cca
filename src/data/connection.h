// Named database connections opened from data-link files.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <cstdio>
#include <memory>
#include <optional>

#include "data/data_source.h"
#include "data/dialect.h"
#include "data/link_file.h"

// One named connection. The standing connections of the main window, the
// connections a window owns and the private ones of a look-up are all of this
// kind; they differ only in how long the owner keeps them.
class Connection {
 public:
  enum class Create { No, IfMissing };

  // A connection to the database named by `source`'s link file, read at each open().
  Connection(DataSource source, const QString& name);
  // A connection to an explicit link (installation and tests).
  Connection(const LinkSpec& linkSpec, const QString& name);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens (or reopens) the connection. A missing or malformed link file, an
  // unknown provider, a missing SQLite file or an unreachable server all fail
  // alike: false, lastError() says why and the reason goes to the log.
  bool open(Create create = Create::No);
  void close();
  // Closes and takes the name off Qt's list of connections; a later open() adds it again.
  void release();
  bool isOpen() const;

  QSqlDatabase database() const;
  const Dialect& dialect() const;
  Provider provider() const;
  const QString& name() const { return name_; }
  const QString& lastError() const { return lastError_; }

  // A fresh connection name for window-owned and private connections.
  static QString uniqueName(const QString& prefix);

 private:
  bool fail(const QString& why);

  QString name_;
  std::optional<DataSource> source_;
  std::optional<LinkSpec> spec_;
  QString lastError_;
};

// For commands: a connection to `source`, opened, or nothing after saying on `err` why it could
// not be ("Banco … não pôde ser aberto: …").
std::unique_ptr<Connection> openOrSay(DataSource source, const QString& purpose, FILE* err);
