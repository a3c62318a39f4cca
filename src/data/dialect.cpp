#include "data/dialect.h"

#include <QSqlQuery>

#include "data/engine_dialects.h"
#include "data/sql.h"

const Dialect& Dialect::of(Provider provider) {
  return provider == Provider::SQLite ? sqliteDialect() : postgresDialect();
}

const Dialect& Dialect::of(const QSqlDatabase& db) {
  return db.driverName() == sqliteDialect().qtDriver() ? sqliteDialect() : postgresDialect();
}

bool Dialect::streamsBetween(const QSqlDatabase& /*from*/, const QSqlDatabase& /*to*/) const {
  return false;
}

void Dialect::stream(const QSqlDatabase& /*from*/, const QString& /*select*/,
                     const QSqlDatabase& /*to*/, const QString& table,
                     const QStringList& /*columns*/) const {
  throw SqlError(QStringLiteral("%1: cópia direta entre servidores indisponível").arg(table));
}

QMap<QString, qint64> Dialect::rowCounts(const QSqlDatabase& db) const {
  QStringList tables;
  QSqlQuery list = runSql(db, listTablesSql());
  while (list.next()) tables << list.value(0).toString();
  QMap<QString, qint64> counts;
  for (const QString& table : tables) {
    const QString quoted = QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\""));
    counts.insert(
        table,
        scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(quoted)).toLongLong());
  }
  return counts;
}

QString commonColumnType(ColumnType type, int size, const QString& image, const QString& identity) {
  switch (type) {
    case ColumnType::Text:
      return QStringLiteral("VARCHAR(%1)").arg(size > 0 ? size : 20);
    case ColumnType::Memo:
      return QStringLiteral("TEXT");
    // SQLite keeps dates as ISO-8601 text; DATE/TIMESTAMP name the intent there.
    case ColumnType::Date:
      return QStringLiteral("DATE");
    case ColumnType::DateTime:
      return QStringLiteral("TIMESTAMP");
    case ColumnType::Bit:
      return QStringLiteral("BOOLEAN");
    case ColumnType::SmallInt:
      return QStringLiteral("SMALLINT");
    case ColumnType::Int:
      return QStringLiteral("INTEGER");
    case ColumnType::Float:
      return QStringLiteral("DOUBLE PRECISION");
    case ColumnType::Decimal:
      return QStringLiteral("NUMERIC(15,2)");
    case ColumnType::Image:
      return image;
    case ColumnType::Identity:
      return identity;
  }
  return {};
}

namespace {

// Rows handed to the database per statement.
constexpr int kRowsPerStatement = 20000;

// A JSON string: the text in quotes, with what JSON requires escaped.
void appendJsonString(QString& out, const QString& text) {
  out += QLatin1Char('"');
  for (const QChar c : text) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
      out += QLatin1Char('\\');
      out += c;
    } else if (c.unicode() < 0x20) {
      out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  out += QLatin1Char('"');
}

void appendJson(QString& out, const QVariant& value) {
  if (value.isNull()) {
    out += QStringLiteral("null");
    return;
  }
  switch (value.typeId()) {
    case QMetaType::QDate:
      appendJsonString(out, value.toDate().toString(Qt::ISODate));
      return;
    case QMetaType::Bool:
      out += value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
      return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
      out += QString::number(value.toLongLong());
      return;
    case QMetaType::Double:
    case QMetaType::Float:
      out += QString::number(value.toDouble(), 'g', 17);
      return;
    default:
      appendJsonString(out, value.toString());
  }
}

}  // namespace

void loadRowsAsJson(const QSqlDatabase& db, const QString& sql, const QStringList& keys,
                    const QList<QVariantList>& rows) {
  QStringList quotedKeys;
  for (const QString& key : keys) {
    QString quoted;
    appendJsonString(quoted, key);
    quotedKeys << quoted + QLatin1Char(':');
  }
  for (int start = 0; start < rows.size(); start += kRowsPerStatement) {
    QString batch = QStringLiteral("[");
    for (int r = start; r < qMin(start + kRowsPerStatement, int(rows.size())); ++r) {
      if (r > start) batch += QLatin1Char(',');
      batch += QLatin1Char('{');
      for (int c = 0; c < keys.size(); ++c) {
        if (c > 0) batch += QLatin1Char(',');
        batch += quotedKeys[c];
        appendJson(batch, rows[r].value(c));
      }
      batch += QLatin1Char('}');
    }
    batch += QLatin1Char(']');
    runSql(db, sql, {batch});
  }
}
