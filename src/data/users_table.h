// The users table as the main window and the access dialogs share it: opened on the
// workout connection, positioned on one user, read column by column.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <optional>

class UsersTable {
 public:
  // Reads every user (a gym has a handful) on `db`; false when the table cannot be read.
  bool open(const QSqlDatabase& db);
  void close();
  bool isOpen() const { return open_; }

  // Moves to the user whose CODIGO is exactly `code`; stays put and returns false otherwise.
  bool locate(const QString& code);
  void first();

  bool hasCurrent() const { return open_ && current_ >= 0 && current_ < rows_.size(); }
  // A column of the current user (case-insensitive name); invalid when there is none.
  QVariant value(const QString& column) const;
  QString text(const QString& column) const { return value(column).toString(); }

 private:
  QList<QSqlRecord> rows_;
  int current_ = -1;
  bool open_ = false;
};
