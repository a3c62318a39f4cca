#include "registry/muscle_group_store.h"

#include "base/messages.h"
#include "data/sql.h"

namespace {

const QString kCodeField = QStringLiteral("DBEDTCODIGO");
const QString kDescriptionField = QStringLiteral("DBEDTDESCRICAO");
const QString kDescricao = QStringLiteral("Descrição");

bool isBlank(const QString& text) {
  return text.trimmed().isEmpty();
}

bool groupCodeTaken(const QSqlDatabase& db, const QString& code) {
  return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM GrupamentoMuscular WHERE CODIGO = ?"),
                   {code})
             .toInt() > 0;
}

ConfirmResult insertGroup(const QSqlDatabase& db, const MuscleGroup& group) {
  return insertWithFreeCode(
      db, kMuscleGroupTable, [&] { return groupCodeTaken(db, group.code); },
      [&] {
        runSql(db,
               QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
               {group.code, group.description});
      });
}

ConfirmResult changeGroup(const QSqlDatabase& db, const MuscleGroup& group) {
  return writeRow(db, kMuscleGroupTable, [&] {
    updateExistingRow(
        db, QStringLiteral("UPDATE GrupamentoMuscular SET DESCRICAO = ? WHERE CODIGO = ?"),
        {group.description, group.code});
  });
}

ConfirmResult deleteGroup(const QSqlDatabase& db, const MuscleGroup& group) {
  // A group another workstation deleted first is gone either way: nothing to report.
  return writeRow(db, kMuscleGroupTable, [&] {
    runSql(db, QStringLiteral("DELETE FROM GrupamentoMuscular WHERE CODIGO = ?"), {group.code});
  });
}

}  // namespace

QString padGroupCode(const QString& typed) {
  const QString code = typed.trimmed().toUpper();
  return code.size() == 1 ? QStringLiteral("0") + code : code;
}

QString groupDescriptionText(const QString& typed) {
  return typed.toUpper().left(kGroupDescriptionWidth);
}

bool groupCodeSortsBefore(const QString& a, const QString& b) {
  bool aNumber = false;
  bool bNumber = false;
  const int aValue = a.toInt(&aNumber);
  const int bValue = b.toInt(&bNumber);
  if (aNumber && bNumber) return aValue < bValue;
  return a < b;
}

const CodeCatalogue& muscleGroupCatalogue() {
  static const CodeCatalogue catalogue{kMuscleGroupTable, QStringLiteral("CODIGO"),
                                       QStringLiteral("DESCRICAO"), &padGroupCode,
                                       &groupCodeSortsBefore};
  return catalogue;
}

std::optional<FieldError> checkGroupCodeField(const QString& text) {
  if (isBlank(text)) return FieldError{Msg::CodigoIncorreto, QString(), true};
  return std::nullopt;
}

std::optional<FieldError> checkGroupDescriptionField(const QString& text) {
  if (isBlank(text)) return FieldError{Msg::DadoIncorreto, kDescricao, true};
  return std::nullopt;
}

std::optional<ConfirmRefusal> checkGroupForConfirm(EditMode mode, MuscleGroup& form) {
  const bool inserting = mode == EditMode::Insert;
  // The field holds two characters; a longer new code could only come from elsewhere and
  // would not fit the column.
  if (isBlank(form.code) || (inserting && padGroupCode(form.code).size() > kGroupCodeWidth))
    return ConfirmRefusal{kCodeField, {Msg::CodigoIncorreto, QString(), false}};
  if (isBlank(form.description))
    return ConfirmRefusal{kDescriptionField, {Msg::DadoIncorreto, kDescricao, false}};
  // A changed or deleted row is found by the code it has; only a new one takes the padding.
  if (inserting) form.code = padGroupCode(form.code);
  form.description = groupDescriptionText(form.description);
  return std::nullopt;
}

ConfirmResult saveGroup(const QSqlDatabase& db, EditMode mode, const MuscleGroup& group) {
  switch (mode) {
    case EditMode::Insert:
      return insertGroup(db, group);
    case EditMode::Change:
      return changeGroup(db, group);
    case EditMode::Delete:
      return deleteGroup(db, group);
  }
  return ConfirmResult::Failed;
}

bool hasMuscleGroups(const QSqlDatabase& db) {
  return runSql(db, QStringLiteral("SELECT CODIGO FROM GrupamentoMuscular LIMIT 1")).next();
}

std::optional<QString> muscleGroupDescription(const QSqlDatabase& db, const QString& code) {
  QSqlQuery query = runSql(
      db, QStringLiteral("SELECT DESCRICAO FROM GrupamentoMuscular WHERE CODIGO = ?"), {code});
  if (!query.next()) return std::nullopt;
  return query.value(0).toString();
}

QList<MuscleGroup> listMuscleGroups(const QSqlDatabase& db, const CodeRange& range) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT CODIGO, DESCRICAO FROM GrupamentoMuscular "
                                          "WHERE (CODIGO >= ?) AND (CODIGO <= ?) ORDER BY CODIGO"),
                           {range.from, range.to});
  QList<MuscleGroup> groups;
  while (query.next()) groups.append({query.value(0).toString(), query.value(1).toString()});
  return groups;
}
