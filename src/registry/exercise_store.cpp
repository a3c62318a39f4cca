#include "registry/exercise_store.h"

#include <QSqlError>
#include <QSqlQueryModel>

#include "app/error_log.h"
#include "app/messages.h"
#include "app/prompter.h"
#include "data/sql.h"
#include "registry/muscle_group_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kDescricao = QStringLiteral("Descrição");
const QString kAparelho = QStringLiteral("Aparelho");

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

bool tableReadable(const QSqlDatabase& db, const QString& table) {
  try {
    runSql(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return true;
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), table, e);
    MENSAGEM(kInfo, Msg::AberturaDeTabela, table);
    return false;
  }
}

ExerciseConfirm refuse(const QString& text, const QString& detail, ExerciseField focus,
                       bool clear = false) {
  MENSAGEM(kInfo, text, detail);
  ExerciseConfirm outcome;
  outcome.focus = focus;
  outcome.clearField = clear;
  return outcome;
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

ConfirmResult writeExercise(const QSqlDatabase& db, EditMode mode, const QString& storedCode,
                            const Exercise& e, bool groupsOn) {
  switch (mode) {
    case EditMode::Insert:
      return insertWithFreeCode(
          db, kExerciseTable, [&] { return exerciseCodeTaken(db, e.code); },
          [&] { insertRow(db, e, groupsOn); });
    case EditMode::Change:
      return writeRow(db, kExerciseTable, [&] { updateRow(db, storedCode, e, groupsOn); });
    case EditMode::Delete:
      return writeRow(db, kExerciseTable, [&] {
        runSql(db, QStringLiteral("DELETE FROM Exercicios WHERE Codigo = ?"), {storedCode});
      });
  }
  return ConfirmResult::Failed;
}

// The confirm's checks, in the window's order; on success `outcome.saved` holds the row to
// write. Throws SqlError when a look-up fails.
bool passesChecks(const QSqlDatabase& db, EditMode mode, const Exercise& typed, bool groupsOn,
                  ExerciseConfirm& outcome) {
  Exercise& e = outcome.saved;
  e = typed;
  if (isBlank(typed.code)) {
    outcome = refuse(Msg::CodigoIncorreto, QString(), ExerciseField::Code);
    return false;
  }
  if (mode == EditMode::Insert) {
    const std::optional<QString> code = newExerciseCode(typed.code);
    if (!code) {
      outcome = refuse(Msg::CodigoIncorreto, QString(), ExerciseField::Code, true);
      return false;
    }
    if (exerciseCodeTaken(db, *code)) {
      outcome = refuse(Msg::CodigoJaCadastrado, QString(), ExerciseField::Code, true);
      outcome.result = ConfirmResult::Duplicate;
      return false;
    }
    e.code = *code;
  }
  const std::optional<QString> machine = machineText(typed.machine);
  if (!machine) {
    outcome = refuse(Msg::DadoIncorreto, kAparelho, ExerciseField::Machine);
    return false;
  }
  e.machine = *machine;
  if (isBlank(typed.description)) {
    outcome = refuse(Msg::DadoIncorreto, kDescricao, ExerciseField::Description);
    return false;
  }
  if (groupsOn) {
    if (isBlank(typed.groupCode)) {
      outcome = refuse(Msg::CodigoIncorreto, QString(), ExerciseField::Group);
      return false;
    }
    const QString group = padGroupCode(typed.groupCode);
    const std::optional<QString> description = muscleGroupDescription(db, group);
    if (!description) {
      outcome = refuse(Msg::CodigoIncorreto, QString(), ExerciseField::Group, true);
      return false;
    }
    e.groupCode = group;
    outcome.groupDescription = *description;
  }
  e.code = padExerciseCode(e.code);
  e.description = exerciseDescriptionText(typed.description);
  e.shortDescription = shortDescriptionText(typed.shortDescription);
  return true;
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

bool exerciseTablesUsable(const QSqlDatabase& db, const QString& groupSetting) {
  if (!tableReadable(db, kExerciseTable) || !tableReadable(db, kMuscleGroupTable)) return false;
  if (!muscleGroupsOn(groupSetting)) return true;
  try {
    if (hasMuscleGroups(db)) return true;
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kMuscleGroupTable, e);
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kMuscleGroupTable);
    return false;
  }
  MENSAGEM(kInfo, Msg::TabelaVazia, kMuscleGroupTable);
  return false;
}

std::optional<QString> enterExerciseCode(const QSqlDatabase& db, const QString& typed) {
  const QString code = typed.trimmed();
  if (!allDigits(code) || code.size() > kExerciseCodeWidth) {
    MENSAGEM(kInfo, Msg::CodigoIncorreto);
    return std::nullopt;
  }
  const QString padded = padExerciseCode(code);
  try {
    if (!exerciseCodeTaken(db, padded)) return padded;
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kExerciseTable, e);
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kExerciseTable);
    return std::nullopt;
  }
  MENSAGEM(kInfo, Msg::CodigoJaCadastrado);
  return std::nullopt;
}

std::optional<QString> enterMachine(const QString& typed) {
  const std::optional<QString> machine = machineText(typed);
  if (!machine) MENSAGEM(kInfo, Msg::DadoIncorreto, kAparelho);
  return machine;
}

bool enterExerciseDescription(const QString& description) {
  if (!isBlank(description)) return true;
  MENSAGEM(kInfo, Msg::DadoIncorreto, kDescricao);
  return false;
}

GroupEntry enterExerciseGroup(const QSqlDatabase& db, const QString& typed) {
  if (isBlank(typed)) {
    MENSAGEM(kInfo, Msg::CodigoIncorreto);
    return GroupEntry{};
  }
  const QString code = padGroupCode(typed);
  try {
    if (const std::optional<QString> description = muscleGroupDescription(db, code))
      return GroupEntry{true, code, *description};
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Abertura de tabela"), kMuscleGroupTable, e);
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kMuscleGroupTable);
    return GroupEntry{};
  }
  MENSAGEM(kInfo, Msg::CodigoIncorreto);
  return GroupEntry{};
}

ExerciseConfirm confirmExercise(const QSqlDatabase& db, EditMode mode, const Exercise& typed,
                                bool groupsOn, const QString& aerobicShown) {
  ExerciseConfirm outcome;
  try {
    if (!passesChecks(db, mode, typed, groupsOn, outcome)) return outcome;
  } catch (const SqlError& e) {
    logFailure(QStringLiteral("Gravando na tabela"), kExerciseTable, e);
    MENSAGEM(kInfo, Msg::GravandoNaTabela, kExerciseTable);
    outcome.result = ConfirmResult::Failed;
    return outcome;
  }
  outcome.saved.tipo = tipoStored(aerobicShown);
  outcome.result = writeExercise(db, mode, typed.code, outcome.saved, groupsOn);
  if (outcome.result == ConfirmResult::Duplicate) {
    outcome.focus = ExerciseField::Code;
    outcome.clearField = true;
  }
  return outcome;
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

bool loadExerciseGrid(QSqlQueryModel& model, const QSqlDatabase& db) {
  model.setQuery(QStringLiteral("SELECT Codigo, Aparelho, Descricao, DESCRICAOABREVIADA "
                                "FROM Exercicios ORDER BY Codigo"),
                 db);
  if (model.lastError().isValid()) {
    appendToLog(QStringLiteral("Abertura de tabela Exercicios: %1").arg(model.lastError().text()));
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kExerciseTable);
    return false;
  }
  const QStringList titles{QStringLiteral("Código"), kAparelho, kDescricao,
                           QStringLiteral("40 Colunas")};
  for (int c = 0; c < titles.size(); ++c) model.setHeaderData(c, Qt::Horizontal, titles[c]);
  return true;
}
