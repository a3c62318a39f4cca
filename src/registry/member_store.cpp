#include "registry/member_store.h"

#include "base/messages.h"

namespace {

FieldRefusal refuse(const char* field, const QString& detail) {
  return {QString::fromLatin1(field), FieldError{Msg::DadoIncorreto, detail}};
}

}  // namespace

const PersonTable& memberTable() {
  static const PersonTable table{
      QStringLiteral("Alunos"),
      QStringLiteral("FotosAlunos"),
      QStringLiteral("NOME SEXO ENDERECO BAIRRO CIDADE ESTADO CEP IDENTIDADE CPF TELEFONE "
                     "TELEFONECOM TELEFONE_CELULAR RADIO PROFISSAO RESPONSAVEL EMAIL")
          .split(QLatin1Char(' ')),
      {QStringLiteral("DATA_NASCIMENTO"), QStringLiteral("DATA_CADASTRADO"),
       QStringLiteral("DATA_MEDICA"), QStringLiteral("DATA_FUNCIONAL")},
      {QStringLiteral("SAIDA")}};
  return table;
}

std::optional<FieldRefusal> checkMemberForConfirm(PersonForm& f) {
  auto v = [&f](const char* column) { return f.value(QLatin1String(column)); };
  if (v("MATRICULA").isEmpty())
    return FieldRefusal{QStringLiteral("DBEDTMATRICULA"), {Msg::MatriculaIncorreta, {}}};
  if (auto missing = firstMissing(f, {{"NOME", "DBEDTNOME", "Nome"},
                                      {"ENDERECO", "DBEDTENDERECO", "Endereço"},
                                      {"BAIRRO", "DBEDTBAIRRO", "Bairro"},
                                      {"CIDADE", "DBEDTCIDADE", "Cidade"},
                                      {"ESTADO", "DBCBESTADO", "Estado"},
                                      {"SEXO", "DBEDTSEXO", "Sexo"}}))
    return missing;
  if (checkCepField(v("CEP"))) return refuse("DBEDTCEP", QStringLiteral("CEP"));

  const std::optional<QDate> birth = parseTypedDate(v("DATA_NASCIMENTO"));
  if (!birth) return refuse("DBEDTDATA_NASCIMENTO", QStringLiteral("Data de Nascimento"));
  f.insert(QStringLiteral("DATA_NASCIMENTO"), formatTypedDate(*birth));

  // A registration date that is not a date could not be stored either.
  std::optional<QDate> registered;
  if (!isBlankDate(v("DATA_CADASTRADO"))) {
    registered = parseTypedDate(v("DATA_CADASTRADO"));
    if (!registered) return refuse("DBEDTCADASTRO", QStringLiteral("Cadastrado"));
  }
  if (!isBlankDate(v("SAIDA"))) {
    const std::optional<QDate> exit = parseTypedDate(v("SAIDA"));
    if (!exit) return refuse("DBEDTSAIDA", QStringLiteral("Data de Saída"));
    if (exit->year() < 1900) return refuse("DBEDTSAIDA", QStringLiteral("Data de Saída - Ano !"));
    if (registered && *exit < *registered)
      return refuse("DBEDTSAIDA", QStringLiteral("Data de Saída inferior data de Cadastro"));
  }
  const struct {
    const char* column;
    const char* field;
    const char* detail;
  } years[] = {{"DATA_MEDICA", "DBEDTMEDICA", "Data de Médica - Ano !"},
               {"DATA_FUNCIONAL", "DBEDTFUNCIONAL", "Data de Funcional - Ano !"}};
  for (const auto& y : years) {
    if (isBlankDate(v(y.column))) continue;
    const std::optional<QDate> date = parseTypedDate(v(y.column));
    if (!date) return refuse(y.field, withoutYearBlame(QString::fromUtf8(y.detail)));
    if (date->year() < 1900) return refuse(y.field, QString::fromUtf8(y.detail));
  }
  f.insert(QStringLiteral("MATRICULA"), padMatricula(v("MATRICULA")));
  return std::nullopt;
}
