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
      {QStringLiteral("ACADEMIA"), QStringLiteral("Academia")},
      {QStringLiteral("ENDERACADEMIA"), QString()},
      {QStringLiteral("COMPLEMENTO1"), QString()},
      {QStringLiteral("COMPLEMENTO2"), QString()},
      {QStringLiteral("CNPJCPF"), QString()},
      {QStringLiteral("CLIENTE"), 0.0},
      // Operation: a new installation runs alone, numbering its own members.
      {QStringLiteral("CODIGOSEQ"), kSim},
      {QStringLiteral("PATH_EXERCICIO"), kSim},
      {QStringLiteral("IntegracaoTamsel"), kNao},
      {QStringLiteral("CAPTURA_WEB"), kNao},
      {QStringLiteral("Troca_Serie"), QStringLiteral("Meses")},
      {QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("3")},
      {QStringLiteral("AlunosAtivos"), kNao},
      {QStringLiteral("Alunos_Ausentes"), 0},
      {QStringLiteral("MaisUmExercSerie"), kNao},
      {QStringLiteral("SERIEEMVIDEO"), kNao},
      {QStringLiteral("Portal_Cenection"), kNao},
      {QStringLiteral("GrupamentoMuscular"), kNao},
      {QStringLiteral("Vincula_prof_usu"), kNao},
      {QStringLiteral("TrocaDataSerie"), kNao},
      // 40-column printing.
      {QStringLiteral("PORTA_IMP"), QStringLiteral("LPT1")},
      {QStringLiteral("ENDERECO_PORTA"), QStringLiteral("0000")},
      {QStringLiteral("ESPACO"), 5},
      {QStringLiteral("IMPRESSAOREDUZIDA"), kNao},
      {QStringLiteral("POR_CODIGO_APARELHO"), false},
      {QStringLiteral("Caminho_Impressora"), QString()},
      // Video and the series sheet.
      {QStringLiteral("Tempo_Serie"), 60},
      {QStringLiteral("Terminal_Video_Aparelho"), kNao},
      {QStringLiteral("Imp_Alongamento"), kSim},
      {QStringLiteral("ImprimeDiasSerie"), kSim},
      // Serial devices.
      {QStringLiteral("VELOCIDADE"), 2400},
      {QStringLiteral("DATABIT"), QStringLiteral("8")},
      {QStringLiteral("STOPBIT"), QStringLiteral("1")},
      {QStringLiteral("PARIDADE"), QStringLiteral("NADA")},
      {QStringLiteral("PINPAD"), QStringLiteral("NADA")},
      {QStringLiteral("Tec12USB"), kNao},
      // E-mail: nothing configured yet.
      {QStringLiteral("SMTP_PROVEDOR"), QString()},
      {QStringLiteral("NOME_PROVEDOR"), QString()},
      {QStringLiteral("EMAIL_PROVEDOR"), QString()},
      {QStringLiteral("USERNAME"), QString()},
      {QStringLiteral("PASSWORD"), QString()},
      {QStringLiteral("IdSMTP_UseTLS"), QStringLiteral("utUseExplicitTLS")},
      {QStringLiteral("ASSUNTO_AUSENTE"), QString()},
      {QStringLiteral("TEXTO_AUSENTE"), QString()},
      {QStringLiteral("IMAGEM_CORPO_AUSENTE"), QString()},
      // No logo until one is loaded; a typed null so the server gets a NULL of bytes.
      {QStringLiteral("LOGOACADEMIA1"), QVariant(QMetaType::fromType<QByteArray>())},
      // Kept for older databases; nothing reads them.
      {QStringLiteral("SAIDAALUNO"), 0},
      {QStringLiteral("CAMINHOCOPIA"), QString()},
      {QStringLiteral("MSN_IMP"), kNao},
      {QStringLiteral("Caminho_Video"), QString()},
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
  const auto text = [&row](const char* column) {
    return row.value(QString::fromLatin1(column)).toString();
  };
  Settings s(Settings::Blank{});
  s.academia = text("ACADEMIA");
  s.enderecoAcademia = text("ENDERACADEMIA");
  s.complemento1 = text("COMPLEMENTO1");
  s.cnpjCpf = text("CNPJCPF");
  const QVariant cliente = row.value(QStringLiteral("CLIENTE"));
  if (cliente.isValid() && !cliente.isNull()) s.cliente = cliente.toDouble();

  s.tempoReavaliacao = text("TEMPO_REAVALIACAO");
  s.trocaSerie = text("Troca_Serie");
  s.alunosAusentes = row.value(QStringLiteral("Alunos_Ausentes")).toInt();
  s.alunosAtivos = text("AlunosAtivos");
  s.portalCenection = text("Portal_Cenection");
  s.grupamentoMuscular = text("GrupamentoMuscular");

  s.impressaoReduzida = text("IMPRESSAOREDUZIDA");
  s.porCodigoAparelho = row.value(QStringLiteral("POR_CODIGO_APARELHO")).toBool();
  s.espaco = row.value(QStringLiteral("ESPACO")).toInt();
  s.portaImp = text("PORTA_IMP");
  s.enderecoPorta = text("ENDERECO_PORTA");
  s.caminhoImpressora = text("Caminho_Impressora");

  s.smtpProvedor = text("SMTP_PROVEDOR");
  s.nomeProvedor = text("NOME_PROVEDOR");
  s.emailProvedor = text("EMAIL_PROVEDOR");
  const QVariant username = row.value(QStringLiteral("USERNAME"));
  if (username.isValid() && !username.isNull()) s.username = username.toString();
  s.password = text("PASSWORD");
  s.useTls = text("IdSMTP_UseTLS");
  s.assuntoAusente = text("ASSUNTO_AUSENTE");
  s.textoAusente = text("TEXTO_AUSENTE");
  s.imagemCorpoAusente = text("IMAGEM_CORPO_AUSENTE");

  s.codigoSeq_ = text("CODIGOSEQ");
  s.pathExercicio_ = text("PATH_EXERCICIO");
  s.integracaoTamsel_ = text("IntegracaoTamsel");
  s.capturaWeb_ = text("CAPTURA_WEB");
  s.maisUmExercSerie_ = text("MaisUmExercSerie");
  s.serieEmVideo_ = text("SERIEEMVIDEO");
  s.vinculaProfUsu_ = text("Vincula_prof_usu");
  s.trocaDataSerie_ = text("TrocaDataSerie");
  s.impAlongamento_ = text("Imp_Alongamento");
  s.imprimeDiasSerie_ = text("ImprimeDiasSerie");
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
