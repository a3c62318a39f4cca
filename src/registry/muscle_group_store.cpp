#include "registry/muscle_group_store.h"

#include <QSqlError>
#include <QSqlQueryModel>

#include "app/error_log.h"
#include "app/messages.h"
#include "app/prompter.h"
#include "data/sql.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kDescricao = QStringLiteral("Descrição");

bool isBlank(const QString& text) {
  return text.trimmed().isEmpty();
}

GroupConfirm refuse(const QString& text, const QString& detail, GroupField focus) {
  MENSAGEM(kInfo, text, detail);
  return GroupConfirm{ConfirmResult::Refused, focus, {}};
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

std::optional<QString> enterGroupCode(const QString& typed) {
  if (isBlank(typed)) {
    MENSAGEM(kInfo, Msg::CodigoIncorreto);
    return std::nullopt;
  }
  return padGroupCode(typed);
}

bool enterGroupDescription(const QString& typed) {
  if (!isBlank(typed)) return true;
  MENSAGEM(kInfo, Msg::DadoIncorreto, kDescricao);
  return false;
}

GroupConfirm confirmGroup(const QSqlDatabase& db, EditMode mode, const MuscleGroup& typed) {
  // The field holds two characters; a longer code could only come from elsewhere and would
  // not fit the column.
  if (isBlank(typed.code) ||
      (mode == EditMode::Insert && padGroupCode(typed.code).size() > kGroupCodeWidth))
    return refuse(Msg::CodigoIncorreto, QString(), GroupField::Code);
  if (isBlank(typed.description))
    return refuse(Msg::DadoIncorreto, kDescricao, GroupField::Description);
  // A changed or deleted row is found by the code it has; only a new one takes the padding.
  const QString code = mode == EditMode::Insert ? padGroupCode(typed.code) : typed.code;
  const MuscleGroup group{code, groupDescriptionText(typed.description)};
  ConfirmResult result = ConfirmResult::Failed;
  switch (mode) {
    case EditMode::Insert:
      result = insertGroup(db, group);
      break;
    case EditMode::Change:
      result = changeGroup(db, group);
      break;
    case EditMode::Delete:
      result = deleteGroup(db, group);
      break;
  }
  const GroupField focus = result == ConfirmResult::Duplicate ? GroupField::Code : GroupField::None;
  return GroupConfirm{result, focus, result == ConfirmResult::Written ? group : MuscleGroup()};
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

bool loadMuscleGroupGrid(QSqlQueryModel& model, const QSqlDatabase& db) {
  model.setQuery(QStringLiteral("SELECT CODIGO, DESCRICAO FROM GrupamentoMuscular ORDER BY CODIGO"),
                 db);
  if (model.lastError().isValid()) {
    appendToLog(
        QStringLiteral("Abertura de tabela GrupamentoMuscular: %1").arg(model.lastError().text()));
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kMuscleGroupTable);
    return false;
  }
  model.setHeaderData(0, Qt::Horizontal, QStringLiteral("Código"));
  model.setHeaderData(1, Qt::Horizontal, kDescricao);
  return true;
}
