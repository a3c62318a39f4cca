#include "registry/person_store.h"

#include <QRegularExpression>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "registry/photo_store.h"

namespace {

// The stored form of a typed date: a date, or NULL for a blank or impossible one.
QVariant dateValue(const QString& text) {
  const std::optional<QDate> date = isBlankDate(text) ? std::nullopt : parseTypedDate(text);
  return date ? QVariant(*date) : QVariant(QMetaType(QMetaType::QDate));
}

QVariant dateTimeValue(const QString& text) {
  const QVariant date = dateValue(text);
  if (date.isNull()) return QVariant(QMetaType(QMetaType::QDateTime));
  return QDateTime(date.toDate(), QTime(0, 0));
}

QVariant textValue(const QString& text) {
  return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QString typedDate(const QVariant& value) {
  if (value.isNull()) return {};
  QDate date = value.toDate();
  if (!date.isValid()) date = value.toDateTime().date();
  if (!date.isValid()) date = QDate::fromString(value.toString().left(10), Qt::ISODate);
  return date.isValid() ? formatTypedDate(date) : QString();
}

}  // namespace

QString padMatricula(const QString& matricula) {
  return matricula.size() >= 10 ? matricula : matricula.rightJustified(10, QLatin1Char('0'));
}

std::optional<QString> nextMatricula(const QSqlDatabase& db, const QString& table) {
  QSqlQuery last = runSql(
      db, QStringLiteral("SELECT MATRICULA FROM %1 ORDER BY MATRICULA DESC LIMIT 1").arg(table));
  if (!last.next()) return padMatricula(QStringLiteral("1"));
  bool ok = false;
  const qlonglong number = last.value(0).toString().trimmed().toLongLong(&ok);
  if (!ok || number < 0) return std::nullopt;
  return padMatricula(QString::number(number + 1));
}

PersonForm personFromRecord(const PersonTable& table, const QSqlRecord& record) {
  PersonForm form;
  form.insert(QStringLiteral("MATRICULA"), record.value(QStringLiteral("MATRICULA")).toString());
  for (const QString& c : table.texts) form.insert(c, record.value(c).toString());
  for (const QString& c : table.dates + table.dateTimes) form.insert(c, typedDate(record.value(c)));
  return form;
}

namespace {

// Thrown inside an insert's transaction when a typed number is taken, so that it rolls back
// without a "Gravando" message.
struct TypedNumberTaken {};

PersonSave numberTaken(PersonSave result) {
  result.outcome = PersonSave::NumberTaken;
  result.failure = {Msg::MatriculaJaCadastrada, {}, {}};
  return result;
}

bool matriculaTaken(const QSqlDatabase& db, const QString& table, const QString& matricula) {
  return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE MATRICULA = ?").arg(table),
                   {matricula})
             .toInt() > 0;
}

bool takenAfterFailure(const QSqlDatabase& db, const QString& table, const QString& matricula) {
  try {
    return matriculaTaken(db, table, matricula);
  } catch (const SqlError&) {
    return false;
  }
}

}  // namespace

PersonSave savePerson(const QSqlDatabase& db, const PersonTable& table, const PersonForm& form,
                      const QVariant& photo, bool inserting, TakenNumber taken) {
  QStringList columns;
  QVariantList values;
  for (const QString& c : table.texts) {
    columns << c;
    values << textValue(form.value(c));
  }
  for (const QString& c : table.dates) {
    columns << c;
    values << dateValue(form.value(c));
  }
  for (const QString& c : table.dateTimes) {
    columns << c;
    values << dateTimeValue(form.value(c));
  }
  const QString sql = inserting ? QStringLiteral("INSERT INTO %1 (%2, MATRICULA) VALUES (?%3)")
                                      .arg(table.table, columns.join(QStringLiteral(", ")),
                                           QStringLiteral(", ?").repeated(columns.size()))
                                : QStringLiteral("UPDATE %1 SET %2 = ? WHERE MATRICULA = ?")
                                      .arg(table.table, columns.join(QStringLiteral(" = ?, ")));
  const QString database = QStringLiteral("Banco de Dados");
  PersonSave result{PersonSave::Failed, form.value(QStringLiteral("MATRICULA")), {}};
  // A proposed number another workstation stored meanwhile is replaced by the next free one.
  // Numbering inserts take their turns; a few rounds cover a writer that does not.
  for (int round = 0;; ++round) {
    QString failing = database;
    try {
      Transaction transaction(db);
      if (inserting && taken == TakenNumber::TakeNext) lockForNumbering(db, table.table);
      if (inserting && matriculaTaken(db, table.table, result.matricula)) {
        if (taken == TakenNumber::Refuse) throw TypedNumberTaken();
        failing = table.table;
        const std::optional<QString> next = nextMatricula(db, table.table);
        if (!next) throw SqlError(QStringLiteral("última matrícula não numérica"));
        result.matricula = *next;
      }
      failing = table.table;
      QSqlQuery person = runSql(db, sql, values + QVariantList{result.matricula});
      // A change to a person deleted at another workstation must not count as saved.
      if (!inserting && person.numRowsAffected() == 0)
        throw SqlError(
            QStringLiteral("matrícula %1 excluída por outra estação").arg(result.matricula));
      failing = table.photoTable;
      writePhotoRow(db, table.photoTable, result.matricula, photo);
      failing = database;
      transaction.commit();
      result.outcome = PersonSave::Saved;
      return result;
    } catch (const TypedNumberTaken&) {
      return numberTaken(result);
    } catch (const SqlError& e) {
      if (inserting && failing == table.table &&
          takenAfterFailure(db, table.table, result.matricula)) {
        if (taken == TakenNumber::TakeNext && round < 10) continue;
        if (taken == TakenNumber::Refuse) return numberTaken(result);
      }
      result.failure = writeFailure(failing, e.text());
      return result;
    }
  }
}

Outcome deletePerson(const QSqlDatabase& db, const PersonTable& table, const QString& matricula) {
  return writeTablesInTransaction(db, QStringLiteral("Banco de Dados"), [&](QString& failing) {
    failing = table.photoTable;
    deletePhotoRow(db, table.photoTable, matricula);
    failing = table.table;
    runSql(db, QStringLiteral("DELETE FROM %1 WHERE MATRICULA = ?").arg(table.table), {matricula});
  });
}

std::optional<FieldRefusal> firstMissing(const PersonForm& form,
                                         std::initializer_list<RequiredColumn> required) {
  for (const RequiredColumn& r : required)
    if (form.value(QLatin1String(r.column)).trimmed().isEmpty())
      return FieldRefusal{QString::fromLatin1(r.field),
                          FieldError{Msg::DadoIncorreto, QString::fromUtf8(r.detail)}};
  return std::nullopt;
}

QString withoutYearBlame(const QString& detail) {
  QString label = detail;
  label.remove(QStringLiteral(" - Ano !"));
  return label;
}

std::optional<FieldError> checkMatriculaField(const QString& text) {
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (text.isEmpty() || !ok || value == 0) return FieldError{Msg::MatriculaIncorreta, {}, true};
  return std::nullopt;
}

std::optional<FieldError> checkRequiredField(const QString& text, const QString& label) {
  if (text.trimmed().isEmpty()) return FieldError{Msg::DadoIncorreto, label};
  return std::nullopt;
}

std::optional<FieldError> checkCepField(const QString& text, const QString& label) {
  static const QRegularExpression whole(QStringLiteral("^[0-9]{5}-[0-9]{3}$"));
  if (!whole.match(text).hasMatch()) return FieldError{Msg::DadoIncorreto, label};
  return std::nullopt;
}

std::optional<FieldError> checkBlanksField(const QString& text, const QString& label) {
  if (text.contains(QLatin1Char(' ')) && text != QStringLiteral("         -  "))
    return FieldError{Msg::DadoIncorreto, label, true};
  return std::nullopt;
}
