#include "maintenance/configuration_store.h"

#include <QSqlQuery>

#include "base/globals.h"
#include "base/messages.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/photo_store.h"

namespace settings {

namespace {

const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");
const QString kDetail = QStringLiteral("Controle");
const QString kInterval = QString(SettingsColumn::TEMPO_REAVALIACAO);
const QString kUnit = QString(SettingsColumn::Troca_Serie);
const QString kSpacing = QString(SettingsColumn::ESPACO);
const QString kLogo = QString(SettingsColumn::LOGOACADEMIA1);

constexpr int kMaxMonths = 36;
// The absence limit goes into a 16-bit process-wide value.
constexpr int kMaxAbsenceDays = 32767;

const TableDef& secvarTable() {
  static const TableDef* table = findTable(Database::Workout, QStringLiteral("Secvar"));
  return *table;
}

ColumnType typeOf(const QString& column) {
  const ColumnDef* def = secvarTable().column(column);
  return def ? def->type : ColumnType::Text;
}

QStringList numbers(std::initializer_list<int> values) {
  QStringList texts;
  for (int v : values) texts << QString::number(v);
  return texts;
}

bool isBlank(const QString& text) {
  return text.trimmed().isEmpty();
}

// Fills `column` with `value` when the texts hold it and it is blank (or, with `zeroToo`, zero).
void fillWhenEmpty(SettingsTexts& texts, const QString& column, const QString& value,
                   bool zeroToo = false) {
  auto it = texts.find(column);
  if (it == texts.end()) return;
  if (isBlank(*it) || (zeroToo && it->trimmed().toInt() == 0)) *it = value;
}

}  // namespace

const QStringList& yesNo() {
  static const QStringList items{kSim, kNao};
  return items;
}

const QStringList& intervalUnits() {
  static const QStringList items{kMeses, QStringLiteral("Dias")};
  return items;
}

const QStringList& printerPorts() {
  static const QStringList items{QStringLiteral("LPT1"), QStringLiteral("LPT2"),
                                 QStringLiteral("USBX")};
  return items;
}

const QStringList& spacings() {
  static const QStringList items = [] {
    QStringList texts;
    for (int i = 1; i <= 30; ++i) texts << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return texts;
  }();
  return items;
}

const QStringList& speeds() {
  static const QStringList items = numbers(
      {1200, 2400, 3600, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000});
  return items;
}

const QStringList& dataBits() {
  static const QStringList items{QStringLiteral("7"), QStringLiteral("8")};
  return items;
}

const QStringList& stopBits() {
  static const QStringList items{QStringLiteral("0"), QStringLiteral("1")};
  return items;
}

const QStringList& parities() {
  static const QStringList items{QStringLiteral("PAR"), QStringLiteral("IMPAR"),
                                 QStringLiteral("NADA")};
  return items;
}

const QStringList& tlsModes() {
  static const QStringList items{
      QStringLiteral("utNoTLSSupport"), QStringLiteral("utUseImplicitTLS"),
      QStringLiteral("utUseRequireTLS"), QStringLiteral("utUseExplicitTLS")};
  return items;
}

const QStringList& smtpProviders() {
  static const QStringList items{
      QStringLiteral("smtp.gmail.com * 587"),      QStringLiteral("smtp-mail.outlook.com * 587"),
      QStringLiteral("smtp.mail.yahoo.com * 465"), QStringLiteral("smtp.office365.com * 587"),
      QStringLiteral("smtp.uol.com.br * 25"),      QStringLiteral("smtp.bol.com.br * 587"),
      QStringLiteral("smtp.zoho.com * 587")};
  return items;
}

const QList<Choice>& pinpadChoices() {
  static const QList<Choice> items{{QStringLiteral("COM1"), QStringLiteral("COM1")},
                                   {QStringLiteral("COM2"), QStringLiteral("COM2")},
                                   {QStringLiteral("COM3"), QStringLiteral("COM3")},
                                   {QStringLiteral("COM4"), QStringLiteral("COM4")},
                                   {QStringLiteral("COM5"), QStringLiteral("COM5")},
                                   {QStringLiteral("Nenhum"), QStringLiteral("NADA")}};
  return items;
}

const QStringList& editedColumns() {
  static const QStringList columns{
      // "Controle"
      QString(SettingsColumn::CODIGOSEQ), QString(SettingsColumn::PATH_EXERCICIO),
      QString(SettingsColumn::IntegracaoTamsel), QString(SettingsColumn::CAPTURA_WEB), kUnit,
      kInterval, QString(SettingsColumn::AlunosAtivos), QString(SettingsColumn::Alunos_Ausentes),
      QString(SettingsColumn::MaisUmExercSerie), QString(SettingsColumn::SERIEEMVIDEO),
      QString(SettingsColumn::Portal_Cenection), QString(SettingsColumn::GrupamentoMuscular),
      QString(SettingsColumn::Vincula_prof_usu), QString(SettingsColumn::TrocaDataSerie),
      QString(SettingsColumn::PORTA_IMP), QString(SettingsColumn::ENDERECO_PORTA), kSpacing,
      QString(SettingsColumn::IMPRESSAOREDUZIDA), QString(SettingsColumn::POR_CODIGO_APARELHO),
      QString(SettingsColumn::Caminho_Impressora), QString(SettingsColumn::Tempo_Serie),
      QString(SettingsColumn::Terminal_Video_Aparelho), QString(SettingsColumn::Imp_Alongamento),
      QString(SettingsColumn::ImprimeDiasSerie), QString(SettingsColumn::VELOCIDADE),
      QString(SettingsColumn::DATABIT), QString(SettingsColumn::STOPBIT),
      QString(SettingsColumn::PARIDADE), QString(SettingsColumn::PINPAD),
      QString(SettingsColumn::Tec12USB),
      // "E-mail"
      QString(SettingsColumn::SMTP_PROVEDOR), QString(SettingsColumn::NOME_PROVEDOR),
      QString(SettingsColumn::EMAIL_PROVEDOR), QString(SettingsColumn::USERNAME),
      QString(SettingsColumn::PASSWORD), QString(SettingsColumn::IdSMTP_UseTLS),
      QString(SettingsColumn::ASSUNTO_AUSENTE), QString(SettingsColumn::TEXTO_AUSENTE),
      QString(SettingsColumn::IMAGEM_CORPO_AUSENTE)};
  return columns;
}

SettingsTexts textsOf(const QVariantMap& row) {
  SettingsTexts texts;
  for (const QString& column : editedColumns()) {
    const QVariant value = row.value(column);
    QString text;
    if (value.isValid() && !value.isNull()) {
      switch (typeOf(column)) {
        case ColumnType::Bit:
          text = value.toBool() ? kTrue : kFalse;
          break;
        case ColumnType::Int:
        case ColumnType::SmallInt:
          // The spacing list shows two digits.
          text = column == kSpacing
                     ? QStringLiteral("%1").arg(value.toInt(), 2, 10, QLatin1Char('0'))
                     : QString::number(value.toInt());
          break;
        default:
          text = value.toString();
      }
    }
    texts.insert(column, text);
  }
  return texts;
}

QVariant storedValue(const QString& column, const QString& text) {
  switch (typeOf(column)) {
    case ColumnType::Bit:
      return text == kTrue;
    case ColumnType::Int:
    case ColumnType::SmallInt:
      if (isBlank(text)) return QVariant(QMetaType::fromType<int>());
      return text.trimmed().toInt();
    default:
      return text;
  }
}

std::optional<FieldError> checkIntervalOnEnter(const QString& text) {
  if (text.isEmpty()) return FieldError{Msg::DadoIncorreto, QString(), false};
  return std::nullopt;
}

std::optional<FieldError> checkInterval(const SettingsTexts& texts) {
  if (texts.value(kUnit) != kMeses) return std::nullopt;
  bool isNumber = false;
  const int months = texts.value(kInterval).toInt(&isNumber);
  if (isNumber && months >= 1 && months <= kMaxMonths) return std::nullopt;
  return FieldError{Msg::DadoIncorreto, QStringLiteral("Meses para reavaliação entre 1 a 36"),
                    true};
}

void applySaveDefaults(SettingsTexts& texts) {
  fillWhenEmpty(texts, QString(SettingsColumn::Alunos_Ausentes), kNoAbsenceCheck);
  fillWhenEmpty(texts, QString(SettingsColumn::ENDERECO_PORTA), QStringLiteral("0000"));
  fillWhenEmpty(texts, QString(SettingsColumn::Tempo_Serie), QStringLiteral("60"), true);
}

void switchEquipmentCode(SettingsTexts& texts, bool on) {
  texts.insert(QString(SettingsColumn::POR_CODIGO_APARELHO), on ? kTrue : kFalse);
  texts.insert(QString(SettingsColumn::IMPRESSAOREDUZIDA), on ? kSim : kNao);
  texts.insert(QString(SettingsColumn::SERIEEMVIDEO), kNao);
}

void copyToProcessValues(const SettingsTexts& texts) {
  QVariantMap row;
  for (auto it = texts.cbegin(); it != texts.cend(); ++it)
    row.insert(it.key(), storedValue(it.key(), it.value()));
  const Settings confirmed = Settings::fromRow(row);
  copySettingsToProcessValues(confirmed);
  Globals& g = G();
  g.GSTR_ALUNOS_ATIVOS = confirmed.alunosAtivos;
  g.GINT_DIAS_AUSENTES = qint16(qBound(0, confirmed.alunosAusentes, kMaxAbsenceDays));
  // The limit or the member lists may have changed: the main window's timer tests again.
  g.GBOL_TEM_AUSENTES = false;
}

}  // namespace settings

namespace {

QVariant logoParameter(const QVariant& logo) {
  if (!logo.isValid() || logo.isNull()) return QVariant(QMetaType::fromType<QByteArray>());
  return logo;
}

}  // namespace

bool ConfigurationStore::open() {
  const std::optional<QVariantMap> row = readSettings(db_);
  if (!row) return false;
  stored_ = settings::textsOf(*row);
  logo_ = row->value(settings::kLogo);
  if (logo_.isNull()) logo_ = QVariant();
  return true;
}

Outcome ConfigurationStore::post(const SettingsTexts& shown) {
  return write(shown, true);
}

Outcome ConfigurationStore::postLogo(const SettingsTexts& shown, const QString& jpegFile) {
  return write(shown, true, [&jpegFile] {
    QVariant logo;
    AddJpgToTable(jpegFile, &logo);  // throws for anything but a whole JPEG
    return logo;
  });
}

Outcome ConfigurationStore::postClearedLogo(const SettingsTexts& shown) {
  return write(shown, true, [] { return QVariant(); });
}

Outcome ConfigurationStore::confirm(SettingsTexts& shown) {
  settings::applySaveDefaults(shown);
  const Outcome written = write(shown, false);
  if (written) settings::copyToProcessValues(stored_);
  return written;
}

Outcome ConfigurationStore::write(SettingsTexts shown, bool keepRefusedInterval,
                                  const std::function<QVariant()>& newLogo) {
  settings::applySaveDefaults(shown);
  if (keepRefusedInterval) {
    SettingsTexts merged = stored_;
    merged.insert(shown);
    if (settings::checkInterval(merged)) {
      shown.remove(settings::kUnit);
      shown.remove(settings::kInterval);
    }
  }
  QStringList assignments;
  QVariantList values;
  SettingsTexts changed;
  for (const QString& column : settings::editedColumns()) {
    const auto it = shown.constFind(column);
    if (it == shown.constEnd() || stored_.value(column) == *it) continue;
    assignments << sqlIdentifier(column) + QStringLiteral(" = ?");
    values << settings::storedValue(column, *it);
    changed.insert(column, *it);
  }
  QVariant logo = logo_;
  const Outcome written = writeInTransaction(db_, settings::kDetail, [&] {
    if (newLogo) {
      logo = newLogo();
      assignments << settings::kLogo + QStringLiteral(" = ?");
      values << logoParameter(logo);
    }
    if (assignments.isEmpty()) return;
    const QSqlQuery update = runSql(
        db_, QStringLiteral("UPDATE Secvar SET ") + assignments.join(QStringLiteral(", ")), values);
    // The row is never inserted by this window: without it nothing was saved.
    if (update.numRowsAffected() < 1) throw SqlError(QStringLiteral("Secvar sem registro"));
  });
  if (!written) return written;
  stored_.insert(changed);
  logo_ = logo.isNull() ? QVariant() : logo;
  return Done{};
}
