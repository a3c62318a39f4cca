// The two engines' dialects, each kept whole in its own file (sqlite_dialect.cpp,
// postgres_dialect.cpp); Dialect::of chooses between them. Only the data folder includes this.
#pragma once

#include <QString>

#include "data/dialect.h"

const Dialect& sqliteDialect();
const Dialect& postgresDialect();

// The column types both engines spell alike; `image` and `identity` are each one's own.
QString commonColumnType(ColumnType type, int size, const QString& image, const QString& identity);

// Runs `sql`, whose one parameter is a JSON array of objects keyed by the lower-case `keys`, with
// `rows` (values in the order of `keys`) a few thousand at a time. Throws SqlError.
void loadRowsAsJson(const QSqlDatabase& db, const QString& sql, const QStringList& keys,
                    const QList<QVariantList>& rows);
