#include "data/settings_record.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/globals.h"
#include "data/schema.h"
#include "data/sql.h"

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

const TableDef& secvarTable() {
  static const TableDef* table = findTable(Database::Workout, QStringLiteral("Secvar"));
  return *table;
}

void fail(QString* error, const QString& why) {
  if (error) *error = why;
}

// The defaults merged with the overrides, keyed as the table spells its columns; an
// override that names no column is an error rather than a value silently dropped.
std::optional<QVariantMap> mergedValues(const QVariantMap& overrides, QString* error) {
  QVariantMap values = defaultSettings();
  for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
    const ColumnDef* column = secvarTable().column(it.key());
    if (!column) {
      fail(error, QStringLiteral("Secvar: coluna inexistente %1").arg(it.key()));
      return std::nullopt;
    }
    values.insert(column->name, it.value());
  }
  return values;
}

void insertRow(const QSqlDatabase& db, const QVariantMap& values) {
  QStringList names;
  QStringList marks;
  QVariantList bound;
  for (const ColumnDef& column : secvarTable().columns) {
    names << sqlIdentifier(column.name);
    marks << QStringLiteral("?");
    bound << values.value(column.name);
  }
  runSql(db,
         QStringLiteral("INSERT INTO Secvar (%1) VALUES (%2)")
             .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
         bound);
}

}  // namespace

QVariantMap defaultSettings() {
  return {
      // Identification: filled by the installation, never edited by a window.
      {QString(SettingsColumn::ACADEMIA), QStringLiteral("Academia")},
      {QString(SettingsColumn::ENDERACADEMIA), QString()},
      {QString(SettingsColumn::COMPLEMENTO1), QString()},
      {QString(SettingsColumn::COMPLEMENTO2), QString()},
      {QString(SettingsColumn::CNPJCPF), QString()},
      {QString(SettingsColumn::CLIENTE), 0.0},
      // Operation: a new installation runs alone, numbering its own members.
      {QString(SettingsColumn::CODIGOSEQ), kSim},
      {QString(SettingsColumn::PATH_EXERCICIO), kSim},
      {QString(SettingsColumn::IntegracaoTamsel), kNao},
      {QString(SettingsColumn::CAPTURA_WEB), kNao},
      {QString(SettingsColumn::Troca_Serie), QStringLiteral("Meses")},
      {QString(SettingsColumn::TEMPO_REAVALIACAO), QStringLiteral("3")},
      {QString(SettingsColumn::AlunosAtivos), kNao},
      {QString(SettingsColumn::Alunos_Ausentes), 0},
      {QString(SettingsColumn::MaisUmExercSerie), kNao},
      {QString(SettingsColumn::SERIEEMVIDEO), kNao},
      {QString(SettingsColumn::Portal_Cenection), kNao},
      {QString(SettingsColumn::GrupamentoMuscular), kNao},
      {QString(SettingsColumn::Vincula_prof_usu), kNao},
      {QString(SettingsColumn::TrocaDataSerie), kNao},
      // 40-column printing.
      {QString(SettingsColumn::PORTA_IMP), QStringLiteral("LPT1")},
      {QString(SettingsColumn::ENDERECO_PORTA), QStringLiteral("0000")},
      {QString(SettingsColumn::ESPACO), 5},
      {QString(SettingsColumn::IMPRESSAOREDUZIDA), kNao},
      {QString(SettingsColumn::POR_CODIGO_APARELHO), false},
      {QString(SettingsColumn::Caminho_Impressora), QString()},
      // Video and the series sheet.
      {QString(SettingsColumn::Tempo_Serie), 60},
      {QString(SettingsColumn::Terminal_Video_Aparelho), kNao},
      {QString(SettingsColumn::Imp_Alongamento), kSim},
      {QString(SettingsColumn::ImprimeDiasSerie), kSim},
      // Serial devices.
      {QString(SettingsColumn::VELOCIDADE), 2400},
      {QString(SettingsColumn::DATABIT), QStringLiteral("8")},
      {QString(SettingsColumn::STOPBIT), QStringLiteral("1")},
      {QString(SettingsColumn::PARIDADE), QStringLiteral("NADA")},
      {QString(SettingsColumn::PINPAD), QStringLiteral("NADA")},
      {QString(SettingsColumn::Tec12USB), kNao},
      // E-mail: nothing configured yet.
      {QString(SettingsColumn::SMTP_PROVEDOR), QString()},
      {QString(SettingsColumn::NOME_PROVEDOR), QString()},
      {QString(SettingsColumn::EMAIL_PROVEDOR), QString()},
      {QString(SettingsColumn::USERNAME), QString()},
      {QString(SettingsColumn::PASSWORD), QString()},
      {QString(SettingsColumn::IdSMTP_UseTLS), QStringLiteral("utUseExplicitTLS")},
      {QString(SettingsColumn::ASSUNTO_AUSENTE), QString()},
      {QString(SettingsColumn::TEXTO_AUSENTE), QString()},
      {QString(SettingsColumn::IMAGEM_CORPO_AUSENTE), QString()},
      // No logo until one is loaded; a typed null so the server gets a NULL of bytes.
      {QString(SettingsColumn::LOGOACADEMIA1), QVariant(QMetaType::fromType<QByteArray>())},
      // Kept for older databases; nothing reads them.
      {QString(SettingsColumn::SAIDAALUNO), 0},
      {QString(SettingsColumn::CAMINHOCOPIA), QString()},
      {QString(SettingsColumn::MSN_IMP), kNao},
      {QString(SettingsColumn::Caminho_Video), QString()},
  };
}

bool ensureSettingsRow(const QSqlDatabase& db, const QVariantMap& overrides, QString* error) {
  const std::optional<QVariantMap> values = mergedValues(overrides, error);
  if (!values) return false;
  try {
    Transaction transaction(db);
    if (scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Secvar")).toInt() == 0)
      insertRow(db, *values);
    transaction.commit();
    return true;
  } catch (const SqlError& e) {
    fail(error, QStringLiteral("Secvar: %1").arg(e.text()));
    return false;
  }
}

std::optional<QVariantMap> readSettings(const QSqlDatabase& db) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("SELECT * FROM Secvar")) || !query.next()) return std::nullopt;
  const QSqlRecord record = query.record();
  QVariantMap settings;
  for (int i = 0; i < record.count(); ++i) {
    // A column the definition does not know (added by a later version) keeps the server's name.
    const ColumnDef* column = secvarTable().column(record.fieldName(i));
    if (column)
      settings.insert(column->name, typedValue(query.value(i), column->type));
    else
      settings.insert(record.fieldName(i), query.value(i));
  }
  return settings;
}

const QString& Settings::yes() {
  return kSim;
}

const QString& Settings::no() {
  return kNao;
}

Settings::Settings() : Settings(fromRow(defaultSettings())) {}

std::optional<Settings> Settings::read(const QSqlDatabase& db) {
  const std::optional<QVariantMap> row = readSettings(db);
  if (!row) return std::nullopt;
  return fromRow(*row);
}

Settings Settings::fromRow(const QVariantMap& row) {
  const auto text = [&row](QLatin1StringView column) { return row.value(column).toString(); };
  Settings s(Settings::Blank{});
  s.academia = text(SettingsColumn::ACADEMIA);
  s.enderecoAcademia = text(SettingsColumn::ENDERACADEMIA);
  s.complemento1 = text(SettingsColumn::COMPLEMENTO1);
  s.cnpjCpf = text(SettingsColumn::CNPJCPF);
  const QVariant cliente = row.value(QString(SettingsColumn::CLIENTE));
  if (cliente.isValid() && !cliente.isNull()) s.cliente = cliente.toDouble();

  s.tempoReavaliacao = text(SettingsColumn::TEMPO_REAVALIACAO);
  s.trocaSerie = text(SettingsColumn::Troca_Serie);
  s.alunosAusentes = row.value(QString(SettingsColumn::Alunos_Ausentes)).toInt();
  s.alunosAtivos = text(SettingsColumn::AlunosAtivos);
  s.portalCenection = text(SettingsColumn::Portal_Cenection);
  s.grupamentoMuscular = text(SettingsColumn::GrupamentoMuscular);
  // Left empty or 0 it means the default minute: a series never vanishes the moment it shows.
  s.tempoSerie = row.value(QString(SettingsColumn::Tempo_Serie)).toInt();
  if (s.tempoSerie <= 0) s.tempoSerie = 60;

  s.impressaoReduzida = text(SettingsColumn::IMPRESSAOREDUZIDA);
  s.porCodigoAparelho = row.value(QString(SettingsColumn::POR_CODIGO_APARELHO)).toBool();
  s.espaco = row.value(QString(SettingsColumn::ESPACO)).toInt();
  s.portaImp = text(SettingsColumn::PORTA_IMP);
  s.enderecoPorta = text(SettingsColumn::ENDERECO_PORTA);
  s.caminhoImpressora = text(SettingsColumn::Caminho_Impressora);

  s.smtpProvedor = text(SettingsColumn::SMTP_PROVEDOR);
  s.nomeProvedor = text(SettingsColumn::NOME_PROVEDOR);
  s.emailProvedor = text(SettingsColumn::EMAIL_PROVEDOR);
  const QVariant username = row.value(QString(SettingsColumn::USERNAME));
  if (username.isValid() && !username.isNull()) s.username = username.toString();
  s.password = text(SettingsColumn::PASSWORD);
  s.useTls = text(SettingsColumn::IdSMTP_UseTLS);
  s.assuntoAusente = text(SettingsColumn::ASSUNTO_AUSENTE);
  s.textoAusente = text(SettingsColumn::TEXTO_AUSENTE);
  s.imagemCorpoAusente = text(SettingsColumn::IMAGEM_CORPO_AUSENTE);

  s.codigoSeq_ = text(SettingsColumn::CODIGOSEQ);
  s.pathExercicio_ = text(SettingsColumn::PATH_EXERCICIO);
  s.integracaoTamsel_ = text(SettingsColumn::IntegracaoTamsel);
  s.capturaWeb_ = text(SettingsColumn::CAPTURA_WEB);
  s.maisUmExercSerie_ = text(SettingsColumn::MaisUmExercSerie);
  s.serieEmVideo_ = text(SettingsColumn::SERIEEMVIDEO);
  s.vinculaProfUsu_ = text(SettingsColumn::Vincula_prof_usu);
  s.trocaDataSerie_ = text(SettingsColumn::TrocaDataSerie);
  s.impAlongamento_ = text(SettingsColumn::Imp_Alongamento);
  s.imprimeDiasSerie_ = text(SettingsColumn::ImprimeDiasSerie);
  return s;
}

void copySettingsToProcessValues(const Settings& s) {
  Globals& g = G();
  g.GINT_DIAS_AUSENTES = qint16(s.alunosAusentes);
  g.GSTR_SMTP_PROVEDOR = s.smtpProvedor;
  g.GSTR_NOME_PROVEDOR = s.nomeProvedor;
  g.GSTR_EMAIL_PROVEDOR = s.emailProvedor;
  g.GSTR_USERNAME = s.username.value_or(QString());
  g.GSTR_PASSWORD = s.password;
  g.GSTR_PORTAL_CONECTION = s.portalCenection;
  g.GSTR_GRUPAMENTO_MUSCULAR = s.grupamentoMuscular;
  g.GBOL_SISTEMA_LOCAL = s.localSystem();
}
