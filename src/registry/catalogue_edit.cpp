#include "registry/catalogue_edit.h"

#include "base/messages.h"
#include "data/sql.h"

namespace {

// Thrown inside the insert's transaction so that it rolls back without a "Gravando" message.
struct CodeTaken {};

ConfirmResult duplicate() {
  return {ConfirmResult::Duplicate, Failure{Msg::CodigoJaCadastrado, {}, {}}};
}

bool takenAfterFailure(const std::function<bool()>& codeTaken) {
  try {
    return codeTaken();
  } catch (const SqlError&) {
    return false;
  }
}

}  // namespace

ConfirmResult insertWithFreeCode(const QSqlDatabase& db, const QString& table,
                                 const std::function<bool()>& codeTaken,
                                 const std::function<void()>& insert) {
  try {
    Transaction transaction(db);
    if (codeTaken()) throw CodeTaken();
    insert();
    transaction.commit();
    return ConfirmResult::Written;
  } catch (const CodeTaken&) {
    return duplicate();
  } catch (const SqlError& e) {
    // The transaction is rolled back by now; if the code exists, the refusal was the unique
    // index turning away a code another workstation saved first.
    if (takenAfterFailure(codeTaken)) return duplicate();
    return {ConfirmResult::Failed, writeFailure(table, e.text())};
  }
}

ConfirmResult::Kind told(const ConfirmResult& result) {
  if (result.kind != ConfirmResult::Written) tell(result.failure);
  return result.kind;
}

ConfirmResult writeRow(const QSqlDatabase& db, const QString& table,
                       const std::function<void()>& work) {
  return writeInTransaction(db, table, work);
}

void updateExistingRow(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  const QSqlQuery query = runSql(db, sql, values);
  if (query.numRowsAffected() == 0)
    throw SqlError(QStringLiteral("nenhuma linha alterada [%1]").arg(sql));
}

QVariant textOrNull(const QString& text) {
  return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}
