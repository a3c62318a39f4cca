#include "data/users_table.h"

#include <QSqlQuery>

bool UsersTable::open(const QSqlDatabase& db) {
  close();
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("SELECT * FROM Usuarios ORDER BY CODIGO"))) return false;
  while (query.next()) rows_.append(query.record());
  current_ = rows_.isEmpty() ? -1 : 0;
  open_ = true;
  return true;
}

void UsersTable::close() {
  rows_.clear();
  current_ = -1;
  open_ = false;
}

bool UsersTable::locate(const QString& code) {
  for (int i = 0; i < rows_.size(); ++i) {
    if (rows_[i].value(QStringLiteral("CODIGO")).toString() == code) {
      current_ = i;
      return true;
    }
  }
  return false;
}

void UsersTable::first() {
  current_ = rows_.isEmpty() ? -1 : 0;
}

QVariant UsersTable::value(const QString& column) const {
  if (!hasCurrent()) return {};
  return rows_[current_].value(column);
}
