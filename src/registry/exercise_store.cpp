#include "registry/exercise_store.h"

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "registry/muscle_group_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kDescricao = QStringLiteral("Descrição");
const QString kAparelho = QStringLiteral("Aparelho");
const QString kCodeField = QStringLiteral("DBEDTCODIGO");
const QString kMachineField = QStringLiteral("DBEDTAPARELHO");
const QString kDescriptionField = QStringLiteral("DBEDTDESCRICAO");
const QString kGroupField = QStringLiteral("DBEDTCODIGO_G");

bool isBlank(const QString& text) {
  return text.trimmed().isEmpty();
}

bool allDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

// A new code as the confirm rewrites it: its integer value in three digits. Nothing when it is
// not one to three digits.
std::optional<QString> newExerciseCode(const QString& typed) {
  const QString code = typed.trimmed();
  if (!allDigits(code) || code.size() > kExerciseCodeWidth) return std::nullopt;
  return QStringLiteral("%1").arg(code.toInt(), kExerciseCodeWidth, 10, QLatin1Char('0'));
}

bool exerciseCodeTaken(const QSqlDatabase& db, const QString& code) {
  return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Exercicios WHERE Codigo = ?"), {code})
             .toInt() > 0;
}

void logFailure(const QString& what, const QString& table, const SqlError& e) {
  appendToLog(QStringLiteral("%1 %2: %3").arg(what, table, e.text()));
}

Failure unreadable(const QString& table, const SqlError& e) {
  return {Msg::AberturaDeTabela, table,
          QStringLiteral("Abertura de tabela %1: %2").arg(table, e.text())};
}

Outcome tableReadable(const QSqlDatabase& db, const QString& table) {
  try {
    runSql(db, QStringLiteral("SELECT * FROM %1 LIMIT 1").arg(table));
    return Done{};
  } catch (const SqlError& e) {
    return unreadable(table, e);
  }
}

ConfirmRefusal refusal(const QString& field, const QString& text, const QString& detail = QString(),
                       bool clear = false) {
  return ConfirmRefusal{field, FieldError{text, detail, clear}};
}

Exercise readExercise(const QSqlQuery& query) {
  Exercise e;
  e.code = query.value(0).toString();
  e.machine = query.value(1).toString();
  e.description = query.value(2).toString();
  e.shortDescription = query.value(3).toString();
  e.tipo = query.value(4).toString();
  e.videoPath = query.value(5).toString();
  e.groupCode = query.value(6).toString();
  return e;
}

void insertRow(const QSqlDatabase& db, const Exercise& e, bool groupsOn) {
  runSql(db,
         QStringLiteral("INSERT INTO Exercicios (Codigo, Aparelho, Descricao, DESCRICAOABREVIADA, "
                        "Tipo, Caminho_Video, CODIGO_G) VALUES (?, ?, ?, ?, ?, ?, ?)"),
         {e.code, textOrNull(e.machine), e.description, textOrNull(e.shortDescription), e.tipo,
          textOrNull(e.videoPath), textOrNull(groupsOn ? e.groupCode : QString())});
}

void updateRow(const QSqlDatabase& db, const QString& storedCode, const Exercise& e,
               bool groupsOn) {
  QString sql = QStringLiteral(
      "UPDATE Exercicios SET Codigo = ?, Aparelho = ?, Descricao = ?, DESCRICAOABREVIADA = ?, "
      "Tipo = ?, Caminho_Video = ?");
  QVariantList values{e.code, textOrNull(e.machine),  e.description, textOrNull(e.shortDescription),
                      e.tipo, textOrNull(e.videoPath)};
  if (groupsOn) {
    sql += QStringLiteral(", CODIGO_G = ?");
    values << textOrNull(e.groupCode);
  }
  sql += QStringLiteral(" WHERE Codigo = ?");
  values << storedCode;
  updateExistingRow(db, sql, values);
}

// The checks of Confirm; throws SqlError when a look-up fails.
std::optional<ConfirmRefusal> confirmChecks(const QSqlDatabase& db, EditMode mode, Exercise& form,
                                            bool groupsOn, QString* groupDescription) {
  if (isBlank(form.code)) return refusal(kCodeField, Msg::CodigoIncorreto);
  QString code = form.code;
  if (mode == EditMode::Insert) {
    const std::optional<QString> fresh = newExerciseCode(form.code);
    if (!fresh) return refusal(kCodeField, Msg::CodigoIncorreto, QString(), true);
    if (exerciseCodeTaken(db, *fresh))
      return refusal(kCodeField, Msg::CodigoJaCadastrado, QString(), true);
    code = *fresh;
  }
  const std::optional<QString> machine = machineText(form.machine);
  if (!machine) return refusal(kMachineField, Msg::DadoIncorreto, kAparelho);
  if (isBlank(form.description)) return refusal(kDescriptionField, Msg::DadoIncorreto, kDescricao);
  QString group = form.groupCode;
  if (groupsOn) {
    if (isBlank(form.groupCode)) return refusal(kGroupField, Msg::CodigoIncorreto);
    group = padGroupCode(form.groupCode);
    const std::optional<QString> description = muscleGroupDescription(db, group);
    if (!description) return refusal(kGroupField, Msg::CodigoIncorreto, QString(), true);
    if (groupDescription) *groupDescription = *description;
  }
  form.code = padExerciseCode(code);
  form.machine = *machine;
  form.description = exerciseDescriptionText(form.description);
  form.shortDescription = shortDescriptionText(form.shortDescription);
  form.groupCode = group;
  return std::nullopt;
}

}  // namespace

QString padExerciseCode(const QString& typed) {
  QString code = typed.trimmed();
  if (!code.isEmpty() && code.size() < kExerciseCodeWidth)
    code = code.rightJustified(kExerciseCodeWidth, QLatin1Char('0'));
  return code;
}

std::optional<QString> machineText(const QString& typed) {
  const QString machine = typed.trimmed();
  if (machine.isEmpty()) return QString();
  if (!allDigits(machine) || machine.size() > kMachineWidth) return std::nullopt;
  return QStringLiteral("%1").arg(machine.toInt(), kMachineWidth, 10, QLatin1Char('0'));
}

QString exerciseDescriptionText(const QString& typed) {
  return typed.toUpper().left(kExerciseDescriptionWidth);
}

QString shortDescriptionText(const QString& typed) {
  return typed.toUpper().left(kShortDescriptionWidth);
}

QString tipoShown(const QString& stored) {
  return stored.startsWith(QLatin1Char('S')) ? kTipoSim : kTipoNao;
}

QString tipoStored(const QString& shown) {
  return shown == kTipoSim ? QStringLiteral("S") : QStringLiteral("N");
}

bool muscleGroupsOn(const QString& groupSetting) {
  return groupSetting == QStringLiteral("Sim");
}

bool exerciseCodeSortsBefore(const QString& a, const QString& b) {
  return a < b;
}

const CodeCatalogue& exerciseCatalogue() {
  static const CodeCatalogue catalogue{kExerciseTable, QStringLiteral("Codigo"),
                                       QStringLiteral("Descricao"), &padExerciseCode,
                                       &exerciseCodeSortsBefore};
  return catalogue;
}

Outcome exerciseTablesUsable(const QSqlDatabase& db, const QString& groupSetting) {
  for (const QString& table : {kExerciseTable, kMuscleGroupTable})
    if (const Outcome readable = tableReadable(db, table); !readable) return readable;
  if (!muscleGroupsOn(groupSetting)) return Done{};
  try {
    if (hasMuscleGroups(db)) return Done{};
  } catch (const SqlError& e) {
    return unreadable(kMuscleGroupTable, e);
  }
  return Failure{Msg::TabelaVazia, kMuscleGroupTable, {}};
}

std::optional<FieldError> checkExerciseCodeField(const QSqlDatabase& db, const QString& text) {
  const QString code = text.trimmed();
  if (!allDigits(code) || code.size() > kExerciseCodeWidth)
    return FieldError{Msg::CodigoIncorreto, QString(), false};
  try {
    if (exerciseCodeTaken(db, padExerciseCode(code)))
      return FieldError{Msg::CodigoJaCadastrado, QString(), true};
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kExerciseTable, e);
    return FieldError{Msg::AberturaDeTabela, kExerciseTable, false};
  }
  return std::nullopt;
}

std::optional<FieldError> checkMachineField(const QString& text) {
  if (machineText(text)) return std::nullopt;
  return FieldError{Msg::DadoIncorreto, kAparelho, false};
}

std::optional<FieldError> checkExerciseDescriptionField(const QString& description) {
  if (!isBlank(description)) return std::nullopt;
  return FieldError{Msg::DadoIncorreto, kDescricao, false};
}

std::optional<FieldError> checkExerciseGroupField(const QSqlDatabase& db, const QString& text,
                                                  QString* description) {
  if (isBlank(text)) return FieldError{Msg::CodigoIncorreto, QString(), false};
  try {
    const std::optional<QString> found = muscleGroupDescription(db, padGroupCode(text));
    if (!found) return FieldError{Msg::CodigoIncorreto, QString(), true};
    if (description) *description = *found;
    return std::nullopt;
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kMuscleGroupTable, e);
    return FieldError{Msg::AberturaDeTabela, kMuscleGroupTable, false};
  }
}

std::optional<ConfirmRefusal> checkExerciseForConfirm(const QSqlDatabase& db, EditMode mode,
                                                      Exercise& form, bool groupsOn,
                                                      QString* groupDescription) {
  try {
    return confirmChecks(db, mode, form, groupsOn, groupDescription);
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kExerciseTable, e);
    return refusal(kCodeField, Msg::AberturaDeTabela, kExerciseTable);
  }
}

ConfirmResult saveExercise(const QSqlDatabase& db, EditMode mode, const QString& storedCode,
                           const Exercise& exercise, bool groupsOn) {
  switch (mode) {
    case EditMode::Insert:
      return insertWithFreeCode(
          db, kExerciseTable, [&] { return exerciseCodeTaken(db, exercise.code); },
          [&] { insertRow(db, exercise, groupsOn); });
    case EditMode::Change:
      return writeRow(db, kExerciseTable, [&] { updateRow(db, storedCode, exercise, groupsOn); });
    case EditMode::Delete:
      return writeRow(db, kExerciseTable, [&] {
        runSql(db, QStringLiteral("DELETE FROM Exercicios WHERE Codigo = ?"), {storedCode});
      });
  }
  return ConfirmResult::Failed;
}

std::optional<Exercise> findExercise(const QSqlDatabase& db, const QString& code) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT Codigo, Aparelho, Descricao, DESCRICAOABREVIADA, "
                                          "Tipo, Caminho_Video, CODIGO_G FROM Exercicios "
                                          "WHERE Codigo = ?"),
                           {code});
  if (!query.next()) return std::nullopt;
  return readExercise(query);
}

QList<ExerciseListRow> listExercises(const QSqlDatabase& db, const CodeRange& range,
                                     ListingOrder order) {
  const QString orderBy = order == ListingOrder::Code
                              ? QStringLiteral("ORDER BY CODIGO")
                              : QStringLiteral("ORDER BY DESCRICAO, CODIGO");
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT CODIGO, DESCRICAO, TIPO FROM EXERCICIOS "
                                          "WHERE (CODIGO >= ?) AND (CODIGO <= ?) ") +
                               orderBy,
                           {range.from, range.to});
  QList<ExerciseListRow> rows;
  while (query.next())
    rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
  return rows;
}
