#include "forms/code_range.h"

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"

namespace {

struct Found {
  QString code;
  QString description;
};

// Throws SqlError.
std::optional<Found> lookUp(const QSqlDatabase& db, const CodeCatalogue& c, const QString& code) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 = ?")
                               .arg(c.codeColumn, c.descriptionColumn, c.table),
                           {code});
  if (!query.next()) return std::nullopt;
  return Found{query.value(0).toString(), query.value(1).toString()};
}

// The first or the last row in the order of codes; throws SqlError.
std::optional<Found> edge(const QSqlDatabase& db, const CodeCatalogue& c, bool last) {
  QSqlQuery query = runSql(db, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1 %4 LIMIT 1")
                                   .arg(c.codeColumn, c.descriptionColumn, c.table,
                                        last ? QStringLiteral("DESC") : QStringLiteral("ASC")));
  if (!query.next()) return std::nullopt;
  return Found{query.value(0).toString(), query.value(1).toString()};
}

RangeEnd accepted(const std::optional<Found>& found) {
  // An empty table has no first or last code: the range is empty and so is the listing.
  if (!found) return RangeEnd{};
  return RangeEnd{std::nullopt, found->code, found->description};
}

RangeEnd refused(const QString& text, const QString& detail = QString()) {
  return RangeEnd{FieldError{text, detail, true}, QString(), QString()};
}

RangeEnd unreadable(const CodeCatalogue& c, const SqlError& e) {
  appendToLog(QStringLiteral("Abertura de tabela %1: %2").arg(c.table, e.text()));
  RangeEnd end = refused(Msg::AberturaDeTabela, c.table);
  end.error->clear = false;
  return end;
}

RangeEnd existing(const QSqlDatabase& db, const CodeCatalogue& c, const QString& code) {
  const std::optional<Found> found = lookUp(db, c, code);
  if (!found) return refused(Msg::CodigoNaoCadastrado);
  return accepted(found);
}

bool shown(const RangeEnd& end) {
  if (end.ok()) return false;
  MENSAGEM(QStringLiteral("!"), end.error->text, end.error->detail);
  return true;
}

}  // namespace

RangeEnd enterInitialCode(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                          const QString& typed) {
  try {
    if (typed.trimmed().isEmpty()) return accepted(edge(db, catalogue, false));
    return existing(db, catalogue, catalogue.pad(typed));
  } catch (const SqlError& e) {
    return unreadable(catalogue, e);
  }
}

RangeEnd enterFinalCode(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                        const QString& typed, const QString& initial) {
  try {
    const bool takeLast = typed.trimmed().isEmpty();
    const std::optional<Found> last = takeLast ? edge(db, catalogue, true) : std::nullopt;
    const QString code = takeLast ? (last ? last->code : QString()) : catalogue.pad(typed);
    if (catalogue.sortsBefore(code, initial)) return refused(Msg::IntervaloInvalido);
    return takeLast ? accepted(last) : existing(db, catalogue, code);
  } catch (const SqlError& e) {
    return unreadable(catalogue, e);
  }
}

std::optional<CodeRange> resolveCodeRange(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                                          const QString& typedFrom, const QString& typedTo) {
  const RangeEnd from = enterInitialCode(db, catalogue, typedFrom);
  if (shown(from)) return std::nullopt;
  const RangeEnd to = enterFinalCode(db, catalogue, typedTo, from.code);
  if (shown(to)) return std::nullopt;
  return CodeRange{from.code, to.code};
}
