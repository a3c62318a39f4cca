// Data-link files: the text that names a database's provider, place and credentials.
//
//   [oledb]
//   ; comment lines are skipped
//   Provider=SQLite;Data Source=vantrel.db
//   Provider=PostgreSQL;Data Source=host[:port];Initial Catalog=db;User ID=u;Password=p
#pragma once

#include <QString>
#include <optional>

enum class Provider { SQLite, PostgreSQL };

struct LinkSpec {
  Provider provider = Provider::SQLite;
  QString
      dataSource;  // SQLite: the file (relative to the link file's folder); PostgreSQL: host[:port]
  QString catalog;  // PostgreSQL database name
  QString user;
  QString password;

  // PostgreSQL: the host (a name, an address or a unix-socket folder) and the port (0 = default).
  QString host() const;
  int port() const;

  // A link to the SQLite database in `file`.
  static LinkSpec sqliteFile(const QString& file);
};

struct LinkParse {
  std::optional<LinkSpec> linkSpec;
  QString error;  // why the text is not a usable link, in the program's words
};

LinkParse parseLinkText(const QString& text);

// Reads and parses a link file; a missing or unreadable file is an error like a malformed one.
// A relative SQLite file name is made absolute against the link file's folder.
LinkParse readLinkFile(const QString& path);

QString formatLinkText(const LinkSpec& linkSpec);

// Writes the link file (creating its folder); false when it cannot be written.
bool writeLinkFile(const QString& path, const LinkSpec& linkSpec);
