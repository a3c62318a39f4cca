#include "registry/staff_store.h"

#include "base/messages.h"

namespace {

FieldRefusal refuse(const char* field, const QString& detail, bool clear = false) {
  return {QString::fromLatin1(field), FieldError{Msg::DadoIncorreto, detail, clear}};
}

}  // namespace

const PersonTable& staffTable() {
  static const PersonTable table{
      QStringLiteral("Funcionarios"),
      QStringLiteral("FotosFuncionarios"),
      QStringLiteral("NOME SEXO ENDERECO BAIRRO CIDADE ESTADO CEP CPF PIS CTPF TELEFONE "
                     "ESCOLARIDADE CARGO")
          .split(QLatin1Char(' ')),
      {QStringLiteral("DATA_NASCIMENTO"), QStringLiteral("DATA_ADMISSAO"),
       QStringLiteral("DATA_DEMISSAO")},
      {}};
  return table;
}

const QList<std::pair<QString, QString>>& schoolingLevels() {
  static const QList<std::pair<QString, QString>> levels{
      {QStringLiteral("01"), QStringLiteral("1º grau incompleto")},
      {QStringLiteral("02"), QStringLiteral("1º grau completo")},
      {QStringLiteral("03"), QStringLiteral("2º grau incompleto")},
      {QStringLiteral("04"), QStringLiteral("2º grau completo")},
      {QStringLiteral("05"), QStringLiteral("3º grau incompleto")},
      {QStringLiteral("06"), QStringLiteral("3º grau completo")}};
  return levels;
}

std::optional<QString> schoolingText(const QString& code) {
  for (const auto& [c, text] : schoolingLevels())
    if (c == code) return text;
  return std::nullopt;
}

std::optional<QString> schoolingCode(const QString& text) {
  for (const auto& [code, t] : schoolingLevels())
    if (t == text) return code;
  return std::nullopt;
}

std::optional<QString> newStaffNumber(const QSqlDatabase& db, int rows, bool sequential,
                                      const QString& selected) {
  // Always the highest number plus one: counting from whatever row the grid's order puts
  // last (by name, after a search) could hand out a number already taken.
  if (rows > 0) return nextMatricula(db, staffTable().table);
  if (sequential) return padMatricula(QStringLiteral("1"));
  return selected;
}

std::optional<FieldRefusal> checkStaffForConfirm(PersonForm& f) {
  auto v = [&f](const char* column) { return f.value(QLatin1String(column)); };
  if (v("MATRICULA").isEmpty())
    return FieldRefusal{QStringLiteral("DBEDTMATRICULA"), {Msg::MatriculaIncorreta, {}}};
  if (auto missing = firstMissing(f, {{"NOME", "DBEDTNOME", "Nome!"},
                                      {"ENDERECO", "DBEDTENDERECO", "Endereço!"},
                                      {"BAIRRO", "DBEDTBAIRRO", "Bairro!"},
                                      {"CIDADE", "DBEDTCIDADE", "Cidade!"},
                                      {"ESTADO", "DBCBESTADO", "Estado!"},
                                      {"SEXO", "DBEDTSEXO", "Sexo"}}))
    return missing;
  if (checkCepField(v("CEP"))) return refuse("DBEDTCEP", QStringLiteral("CEP!"), true);
  if (isBlankDate(v("DATA_NASCIMENTO")))
    return refuse("DBEDTDATA_NASCIMENTO", QStringLiteral("Data de Nascimento !"));
  if (isBlankDate(v("DATA_ADMISSAO")))
    return refuse("DBEDTADMISSAO", QStringLiteral("Data de Admissão !"));
  // A date that is not one could not be stored either: it is refused like a year out of range.
  const struct {
    const char* column;
    const char* field;
    const char* detail;
    bool optional;
  } years[] = {{"DATA_NASCIMENTO", "DBEDTDATA_NASCIMENTO", "Data de Nascimento - Ano !", false},
               {"DATA_ADMISSAO", "DBEDTADMISSAO", "Data de Admissão - Ano !", false},
               {"DATA_DEMISSAO", "DBEDTDEMISSAO", "Data de Demissão - Ano !", true}};
  for (const auto& y : years) {
    if (y.optional && isBlankDate(v(y.column))) continue;
    const std::optional<QDate> date = parseTypedDate(v(y.column));
    if (!date) return refuse(y.field, withoutYearBlame(QString::fromUtf8(y.detail)));
    if (date->year() < 1900) return refuse(y.field, QString::fromUtf8(y.detail));
    f.insert(QString::fromLatin1(y.column), formatTypedDate(*date));
  }
  f.insert(QStringLiteral("MATRICULA"), padMatricula(v("MATRICULA")));
  return std::nullopt;
}
