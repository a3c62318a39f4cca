// What the two catalogue windows (exercises, muscle groups) share with their logic: the mode a
// confirm runs in, what became of it, and the writes behind it.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

#include "base/failure.h"
#include "base/field_error.h"

// The mode a registry window is in when its Confirm is pressed. The window keeps it; the logic
// only needs to know which write to make.
enum class EditMode { Insert, Change, Delete };

// A value refused at Confirm (see FieldRefusal).
using ConfirmRefusal = FieldRefusal;

// What became of the write of a confirm, and what the window tells the user when it was not
// written.
struct ConfirmResult {
  enum Kind {
    Written,    // committed; back to browse
    Duplicate,  // the code is taken: "Código já Cadastrado !"
    Failed,     // the write failed and was rolled back: "Gravando na tabela !"
  };
  ConfirmResult(Kind k, Failure f = {}) : kind(k), failure(std::move(f)) {}
  ConfirmResult(const Outcome& outcome)
      : kind(outcome ? Written : Failed), failure(outcome ? Failure{} : outcome.failure()) {}
  bool operator==(Kind k) const { return kind == k; }

  Kind kind;
  Failure failure;
};

// For windows: tells the user what kept the write from being made, and says what became of it.
ConfirmResult::Kind told(const ConfirmResult& result);

// Inserts a row whose code must be free, in one transaction: `codeTaken` is asked first and
// `insert` runs only when it says no. A taken code, whether found then or refused by the
// database (another workstation was quicker), gives "Código já Cadastrado !" and Duplicate;
// any other failure rolls back and gives "Gravando na tabela !" with `table` (Failed).
ConfirmResult insertWithFreeCode(const QSqlDatabase& db, const QString& table,
                                 const std::function<bool()>& codeTaken,
                                 const std::function<void()>& insert);

// Any other write of a confirm, through the write pattern: Written or Failed.
ConfirmResult writeRow(const QSqlDatabase& db, const QString& table,
                       const std::function<void()>& work);

// Runs an UPDATE that must change a row; throws SqlError when it changed none (the row was
// deleted meanwhile), so the user is not told a lost change was saved.
void updateExistingRow(const QSqlDatabase& db, const QString& sql, const QVariantList& values);

// A text column's value for a write: an empty text is stored as NULL, as the program's other
// writers store a field left blank.
QVariant textOrNull(const QString& text);
