#include "registry/member_store.h"

#include <QRegularExpression>

#include "app/messages.h"
#include "app/prompter.h"
#include "data/sql.h"
#include "app/typed_date.h"
#include "registry/photo_store.h"

namespace {

const QString kAlunos = QStringLiteral("Alunos");
const QString kFotos = QStringLiteral("FotosAlunos");

FieldError dadoIncorreto(const QString& detail, bool clear = false) {
  return {Msg::DadoIncorreto, detail, clear};
}

// The stored form of a typed date: a date, or NULL for a blank field.
QVariant dateValue(const QString& text) {
  if (isBlankDate(text)) return QVariant(QMetaType(QMetaType::QDate));
  const std::optional<QDate> date = parseTypedDate(text);
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

MemberForm memberFromRecord(const QSqlRecord& r) {
  auto t = [&r](const char* column) { return r.value(QLatin1String(column)).toString(); };
  auto d = [&r](const char* column) { return typedDate(r.value(QLatin1String(column))); };
  return {t("MATRICULA"), t("NOME"),     t("SEXO"),        t("ENDERECO"),     t("BAIRRO"),
          t("CIDADE"),    t("ESTADO"),   t("CEP"),         d("DATA_NASCIMENTO"), t("IDENTIDADE"),
          t("CPF"),       t("TELEFONE"), t("TELEFONECOM"), t("TELEFONE_CELULAR"), t("RADIO"),
          t("PROFISSAO"), t("RESPONSAVEL"), d("DATA_CADASTRADO"), d("SAIDA"), t("EMAIL"),
          d("DATA_MEDICA"), d("DATA_FUNCIONAL")};
}

std::optional<FieldError> checkMatriculaField(const QString& text) {
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (text.isEmpty() || !ok || value == 0) return FieldError{Msg::MatriculaIncorreta, {}, true};
  return std::nullopt;
}

std::optional<FieldError> checkRequiredField(const QString& text, const QString& label) {
  if (text.trimmed().isEmpty()) return dadoIncorreto(label);
  return std::nullopt;
}

std::optional<FieldError> checkCepField(const QString& text) {
  static const QRegularExpression whole(QStringLiteral("^[0-9]{5}-[0-9]{3}$"));
  if (!whole.match(text).hasMatch()) return dadoIncorreto(QStringLiteral("CEP"));
  return std::nullopt;
}

std::optional<FieldError> checkBlanksField(const QString& text, const QString& label) {
  if (text.contains(QLatin1Char(' ')) && text != QStringLiteral("         -  "))
    return dadoIncorreto(label, true);
  return std::nullopt;
}

std::optional<FieldRefusal> checkMemberForConfirm(MemberForm& f) {
  if (f.matricula.isEmpty())
    return FieldRefusal{QStringLiteral("DBEDTMATRICULA"), {Msg::MatriculaIncorreta, {}}};
  const struct {
    const QString& value;
    const char* field;
    const char* label;
  } required[] = {{f.nome, "DBEDTNOME", "Nome"},         {f.endereco, "DBEDTENDERECO", "Endereço"},
                  {f.bairro, "DBEDTBAIRRO", "Bairro"},   {f.cidade, "DBEDTCIDADE", "Cidade"},
                  {f.estado, "DBCBESTADO", "Estado"},    {f.sexo, "DBEDTSEXO", "Sexo"}};
  for (const auto& r : required)
    if (r.value.trimmed().isEmpty())
      return FieldRefusal{QString::fromLatin1(r.field), dadoIncorreto(QString::fromUtf8(r.label))};
  if (checkCepField(f.cep)) return FieldRefusal{QStringLiteral("DBEDTCEP"), dadoIncorreto(QStringLiteral("CEP"))};

  const std::optional<QDate> birth = parseTypedDate(f.nascimento);
  if (!birth)
    return FieldRefusal{QStringLiteral("DBEDTDATA_NASCIMENTO"),
                        dadoIncorreto(QStringLiteral("Data de Nascimento"))};
  f.nascimento = formatTypedDate(*birth);

  // A registration date that is not a date cannot be stored either.
  std::optional<QDate> registered;
  if (!isBlankDate(f.cadastrado)) {
    registered = parseTypedDate(f.cadastrado);
    if (!registered)
      return FieldRefusal{QStringLiteral("DBEDTCADASTRO"), dadoIncorreto(QStringLiteral("Cadastrado"))};
  }
  if (!isBlankDate(f.saida)) {
    const std::optional<QDate> exit = parseTypedDate(f.saida);
    if (!exit || exit->year() < 1900)
      return FieldRefusal{QStringLiteral("DBEDTSAIDA"), dadoIncorreto(QStringLiteral("Data de Saída - Ano !"))};
    if (registered && *exit < *registered)
      return FieldRefusal{QStringLiteral("DBEDTSAIDA"),
                          dadoIncorreto(QStringLiteral("Data de Saída inferior data de Cadastro"))};
  }
  const struct {
    QString& value;
    const char* field;
    const char* detail;
  } years[] = {{f.medica, "DBEDTMEDICA", "Data de Médica - Ano !"},
               {f.funcional, "DBEDTFUNCIONAL", "Data de Funcional - Ano !"}};
  for (const auto& y : years) {
    if (isBlankDate(y.value)) continue;
    const std::optional<QDate> date = parseTypedDate(y.value);
    if (!date || date->year() < 1900)
      return FieldRefusal{QString::fromLatin1(y.field), dadoIncorreto(QString::fromUtf8(y.detail))};
  }
  f.matricula = padMatricula(f.matricula);
  return std::nullopt;
}

bool saveMember(const QSqlDatabase& db, const MemberForm& f, const QVariant& photo,
                bool inserting) {
  const QVariantList values{
      textValue(f.nome),        textValue(f.sexo),       textValue(f.endereco),
      textValue(f.bairro),      textValue(f.cidade),     textValue(f.estado),
      textValue(f.cep),         dateValue(f.nascimento), textValue(f.identidade),
      textValue(f.cpf),         textValue(f.telefone),   textValue(f.telefoneCom),
      textValue(f.celular),     textValue(f.radio),      textValue(f.profissao),
      textValue(f.responsavel), dateValue(f.cadastrado), dateTimeValue(f.saida),
      textValue(f.email),       dateValue(f.medica),     dateValue(f.funcional),
      f.matricula};
  const QStringList columns = QStringLiteral(
      "NOME SEXO ENDERECO BAIRRO CIDADE ESTADO CEP DATA_NASCIMENTO IDENTIDADE CPF TELEFONE "
      "TELEFONECOM TELEFONE_CELULAR RADIO PROFISSAO RESPONSAVEL DATA_CADASTRADO SAIDA EMAIL "
      "DATA_MEDICA DATA_FUNCIONAL").split(QLatin1Char(' '));
  const QString sql =
      inserting ? QStringLiteral("INSERT INTO Alunos (%1, MATRICULA) VALUES (?%2)")
                      .arg(columns.join(QStringLiteral(", ")),
                           QStringLiteral(", ?").repeated(columns.size()))
                : QStringLiteral("UPDATE Alunos SET %1 = ? WHERE MATRICULA = ?")
                      .arg(columns.join(QStringLiteral(" = ?, ")));
  return writeTablesInTransaction(db, QStringLiteral("Banco de Dados"), [&](QString& table) {
    table = kFotos;
    writePhotoRow(db, kFotos, f.matricula, photo);
    table = kAlunos;
    runSql(db, sql, values);
  });
}

bool deleteMember(const QSqlDatabase& db, const QString& matricula) {
  return writeTablesInTransaction(db, QStringLiteral("Banco de Dados"), [&](QString& table) {
    table = kAlunos;
    runSql(db, QStringLiteral("DELETE FROM Alunos WHERE MATRICULA = ?"), {matricula});
    table = kFotos;
    deletePhotoRow(db, kFotos, matricula);
  });
}

const QStringList& brazilianStates() {
  static const QStringList states = QStringLiteral(
      "AC AL AM AP BA CE DF ES GO MA MG MS MT PA PB PE PI PR RJ RN RO RR RS SC SE SP TO")
                                        .split(QLatin1Char(' '));
  return states;
}
