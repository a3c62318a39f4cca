#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "base/globals.h"
#include "base/messages.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "maintenance/configuration_store.h"
#include "registry/jpeg_codec.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

using namespace settings;

SettingsTexts withInterval(const QString& unit, const QString& interval) {
  return {{QStringLiteral("Troca_Serie"), unit}, {QStringLiteral("TEMPO_REAVALIACAO"), interval}};
}

TEST(ConfigurationRules, ReassessmentInterval) {
  const struct {
    const char* unit;
    const char* interval;
    bool refused;
  } cases[] = {
      {"Meses", "0", true},   {"Meses", "37", true},  {"Meses", "", true},   {"Meses", "1", false},
      {"Meses", "36", false}, {"Meses", "03", false}, {"Dias", "90", false}, {"Dias", "0", false},
  };
  for (const auto& c : cases) {
    const std::optional<FieldError> refusal =
        checkInterval(withInterval(QString::fromUtf8(c.unit), QString::fromUtf8(c.interval)));
    EXPECT_EQ(refusal.has_value(), c.refused) << c.unit << " " << c.interval;
    if (!refusal) continue;
    EXPECT_EQ(refusal->text, Msg::DadoIncorreto);
    EXPECT_EQ(refusal->detail, QStringLiteral("Meses para reavaliação entre 1 a 36"));
    EXPECT_TRUE(refusal->clear);
  }
  // Enter only refuses an empty interval; the range is Confirm's business.
  EXPECT_EQ(checkIntervalOnEnter(QString())->text, Msg::DadoIncorreto);
  EXPECT_FALSE(checkIntervalOnEnter(QStringLiteral("99")));
}

TEST(ConfigurationRules, DefaultsFilledInOnSave) {
  const struct {
    const char* column;
    const char* shown;
    const char* saved;
  } cases[] = {
      {"Alunos_Ausentes", "", "0"},   {"Alunos_Ausentes", "15", "15"},
      {"Tempo_Serie", "", "60"},      {"Tempo_Serie", "0", "60"},
      {"Tempo_Serie", "000", "60"},   {"Tempo_Serie", "45", "45"},
      {"ENDERECO_PORTA", "", "0000"}, {"ENDERECO_PORTA", "0378", "0378"},
  };
  for (const auto& c : cases) {
    SettingsTexts texts{{QString::fromUtf8(c.column), QString::fromUtf8(c.shown)}};
    applySaveDefaults(texts);
    EXPECT_EQ(texts.value(QString::fromUtf8(c.column)), QString::fromUtf8(c.saved))
        << c.column << " '" << c.shown << "'";
  }
  // Columns the caller did not pass are not invented.
  SettingsTexts partial{{QStringLiteral("CODIGOSEQ"), kSim}};
  applySaveDefaults(partial);
  EXPECT_EQ(partial.size(), 1);
}

TEST(ConfigurationRules, EquipmentCodeSwitch) {
  for (const bool on : {true, false}) {
    SettingsTexts texts{{QStringLiteral("IMPRESSAOREDUZIDA"), on ? kNao : kSim},
                        {QStringLiteral("SERIEEMVIDEO"), kSim}};
    switchEquipmentCode(texts, on);
    EXPECT_EQ(texts.value(QStringLiteral("POR_CODIGO_APARELHO")),
              on ? QStringLiteral("true") : QStringLiteral("false"));
    EXPECT_EQ(texts.value(QStringLiteral("IMPRESSAOREDUZIDA")), on ? kSim : kNao);
    EXPECT_EQ(texts.value(QStringLiteral("SERIEEMVIDEO")), kNao);
  }
}

TEST(ConfigurationRules, ShownTextsAndStoredValues) {
  QVariantMap row = defaultSettings();
  row.insert(QStringLiteral("ESPACO"), 5);
  row.insert(QStringLiteral("VELOCIDADE"), QVariant());  // null in an old row
  const SettingsTexts texts = textsOf(row);
  EXPECT_EQ(texts.value(QStringLiteral("ESPACO")), QStringLiteral("05"));  // as its list shows it
  EXPECT_EQ(texts.value(QStringLiteral("VELOCIDADE")), QString());
  EXPECT_EQ(texts.value(QStringLiteral("POR_CODIGO_APARELHO")), QStringLiteral("false"));
  EXPECT_FALSE(texts.contains(QStringLiteral("ACADEMIA")));
  EXPECT_FALSE(texts.contains(QStringLiteral("LOGOACADEMIA1")));

  EXPECT_EQ(storedValue(QStringLiteral("ESPACO"), QStringLiteral("07")), QVariant(7));
  EXPECT_EQ(storedValue(QStringLiteral("POR_CODIGO_APARELHO"), QStringLiteral("true")),
            QVariant(true));
  const QVariant none = storedValue(QStringLiteral("VELOCIDADE"), QString());
  EXPECT_TRUE(none.isNull());
  EXPECT_EQ(none.metaType(), QMetaType::fromType<int>());
  EXPECT_EQ(storedValue(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("03")),
            QVariant(QStringLiteral("03")));
}

TEST(ConfigurationRules, CopiesIntoProcessValues) {
  const struct {
    const char* pathExercicio;
    bool local;
  } cases[] = {{"Não", false}, {"Sim", true}, {"", true}};
  for (const auto& c : cases) {
    resetGlobals();
    G().GBOL_TEM_AUSENTES = true;
    SettingsTexts texts{
        {QStringLiteral("AlunosAtivos"), kSim},
        {QStringLiteral("Alunos_Ausentes"), QStringLiteral("30")},
        {QStringLiteral("SMTP_PROVEDOR"), QStringLiteral("smtp.exemplo.com.br * 587")},
        {QStringLiteral("NOME_PROVEDOR"), QStringLiteral("ACADEMIA")},
        {QStringLiteral("EMAIL_PROVEDOR"), QStringLiteral("contato@exemplo.com.br")},
        {QStringLiteral("USERNAME"), QStringLiteral("contato")},
        {QStringLiteral("PASSWORD"), QStringLiteral("x").repeated(45)},
        {QStringLiteral("Portal_Cenection"), kSim},
        {QStringLiteral("GrupamentoMuscular"), kNao},
        {QStringLiteral("PATH_EXERCICIO"), QString::fromUtf8(c.pathExercicio)},
    };
    copyToProcessValues(texts);
    const Globals& g = G();
    EXPECT_EQ(g.GBOL_SISTEMA_LOCAL, c.local) << c.pathExercicio;
    EXPECT_EQ(g.GSTR_ALUNOS_ATIVOS.str(), kSim);
    EXPECT_EQ(g.GINT_DIAS_AUSENTES, 30);
    EXPECT_EQ(g.GSTR_SMTP_PROVEDOR.str(), QStringLiteral("smtp.exemplo.com.br * 587"));
    EXPECT_EQ(g.GSTR_NOME_PROVEDOR.str(), QStringLiteral("ACADEMIA"));
    EXPECT_EQ(g.GSTR_EMAIL_PROVEDOR.str(), QStringLiteral("contato@exemplo.com.br"));
    EXPECT_EQ(g.GSTR_USERNAME.str(), QStringLiteral("contato"));
    EXPECT_EQ(g.GSTR_PASSWORD.str(), QStringLiteral("x").repeated(40));
    EXPECT_EQ(g.GSTR_PORTAL_CONECTION, kSim);
    EXPECT_EQ(g.GSTR_GRUPAMENTO_MUSCULAR, kNao);
    EXPECT_FALSE(g.GBOL_TEM_AUSENTES);  // the absent-member test runs again
  }
  resetGlobals();
}

class ConfigurationStoreOnDb : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    ASSERT_TRUE(createMissingTables(db_, connection_->dialect(), Database::Workout).ok());
    ASSERT_TRUE(
        ensureSettingsRow(db_, {{QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA CENTRAL")},
                                {QStringLiteral("CLIENTE"), 1234.0}}));
    store_ = std::make_unique<ConfigurationStore>(db_);
    ASSERT_TRUE(store_->open());
  }
  void TearDown() override { resetGlobals(); }

  QVariant column(const QString& name) { return readSettings(db_)->value(name); }
  QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  void expectOneWriteFailure() {
    ASSERT_EQ(testPrompter().messages().size(), 1);
    EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
    EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Controle"));
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
  std::unique_ptr<ConfigurationStore> store_;
  QTemporaryDir dir_;
};

TEST_P(ConfigurationStoreOnDb, ConfirmWritesTypedValuesWithDefaultsAndCopiesThem) {
  SettingsTexts shown = store_->stored();
  shown[QStringLiteral("Alunos_Ausentes")] = QString();
  shown[QStringLiteral("Tempo_Serie")] = QStringLiteral("0");
  shown[QStringLiteral("ENDERECO_PORTA")] = QString();
  shown[QStringLiteral("ESPACO")] = QStringLiteral("07");
  shown[QStringLiteral("VELOCIDADE")] = QStringLiteral("9600");
  shown[QStringLiteral("Troca_Serie")] = QStringLiteral("Dias");
  shown[QStringLiteral("TEMPO_REAVALIACAO")] = QStringLiteral("90");
  shown[QStringLiteral("PATH_EXERCICIO")] = kNao;
  shown[QStringLiteral("AlunosAtivos")] = kSim;
  shown[QStringLiteral("SMTP_PROVEDOR")] = QStringLiteral("smtp.exemplo.com.br * 587");
  shown[QStringLiteral("PASSWORD")] = QStringLiteral("a'b; DROP TABLE Secvar --");
  shown[QStringLiteral("TEXTO_AUSENTE")] = QStringLiteral("Sentimos sua falta!\nVolte logo.");
  // Meanwhile another workstation changes a setting this window leaves alone.
  runSql(db_, QStringLiteral("UPDATE Secvar SET CAPTURA_WEB = ?"), {kSim});

  ASSERT_TRUE(store_->confirm(shown));
  EXPECT_EQ(shown.value(QStringLiteral("Alunos_Ausentes")), QStringLiteral("0"));

  const QVariantMap row = *readSettings(db_);
  EXPECT_EQ(row.value(QStringLiteral("Alunos_Ausentes")), QVariant(0));
  EXPECT_EQ(row.value(QStringLiteral("Tempo_Serie")), QVariant(60));
  EXPECT_EQ(row.value(QStringLiteral("ENDERECO_PORTA")), QVariant(QStringLiteral("0000")));
  EXPECT_EQ(row.value(QStringLiteral("ESPACO")), QVariant(7));
  EXPECT_EQ(row.value(QStringLiteral("VELOCIDADE")), QVariant(9600));
  EXPECT_EQ(row.value(QStringLiteral("Troca_Serie")), QVariant(QStringLiteral("Dias")));
  EXPECT_EQ(row.value(QStringLiteral("TEMPO_REAVALIACAO")), QVariant(QStringLiteral("90")));
  EXPECT_EQ(row.value(QStringLiteral("PASSWORD")),
            QVariant(shown.value(QStringLiteral("PASSWORD"))));
  EXPECT_EQ(row.value(QStringLiteral("TEXTO_AUSENTE")),
            QVariant(shown.value(QStringLiteral("TEXTO_AUSENTE"))));
  EXPECT_EQ(row.value(QStringLiteral("CAPTURA_WEB")), QVariant(kSim));
  // The gym's identification is not this window's to change.
  EXPECT_EQ(row.value(QStringLiteral("ACADEMIA")), QVariant(QStringLiteral("ACADEMIA CENTRAL")));
  EXPECT_EQ(row.value(QStringLiteral("CLIENTE")), QVariant(1234.0));

  EXPECT_FALSE(G().GBOL_SISTEMA_LOCAL);
  EXPECT_EQ(G().GSTR_ALUNOS_ATIVOS.str(), kSim);
  EXPECT_EQ(G().GSTR_SMTP_PROVEDOR.str(), QStringLiteral("smtp.exemplo.com.br * 587"));
  EXPECT_EQ(G().GINT_DIAS_AUSENTES, 0);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(ConfigurationStoreOnDb, ImmediateSavesTakeTheOtherChangesButNotARefusedInterval) {
  SettingsTexts shown = store_->stored();
  shown[QStringLiteral("CAPTURA_WEB")] = kSim;
  shown[QStringLiteral("TEMPO_REAVALIACAO")] = QStringLiteral("37");  // in months
  shown[QStringLiteral("Tempo_Serie")] = QString();
  shown[QStringLiteral("SERIEEMVIDEO")] = kSim;
  switchEquipmentCode(shown, true);
  ASSERT_TRUE(store_->post(shown));

  EXPECT_EQ(column(QStringLiteral("POR_CODIGO_APARELHO")), QVariant(true));
  EXPECT_EQ(column(QStringLiteral("IMPRESSAOREDUZIDA")), QVariant(kSim));
  EXPECT_EQ(column(QStringLiteral("SERIEEMVIDEO")), QVariant(kNao));
  EXPECT_EQ(column(QStringLiteral("CAPTURA_WEB")), QVariant(kSim));
  EXPECT_EQ(column(QStringLiteral("Tempo_Serie")), QVariant(60));
  EXPECT_EQ(column(QStringLiteral("TEMPO_REAVALIACAO")), QVariant(QStringLiteral("3")));

  // Once the interval is right, the next save takes it.
  shown[QStringLiteral("TEMPO_REAVALIACAO")] = QStringLiteral("6");
  switchEquipmentCode(shown, false);
  ASSERT_TRUE(store_->post(shown));
  EXPECT_EQ(column(QStringLiteral("TEMPO_REAVALIACAO")), QVariant(QStringLiteral("6")));
  EXPECT_EQ(column(QStringLiteral("POR_CODIGO_APARELHO")), QVariant(false));
  EXPECT_EQ(column(QStringLiteral("IMPRESSAOREDUZIDA")), QVariant(kNao));
  // Immediate saves leave the process-wide values to Confirm.
  EXPECT_TRUE(G().GSTR_SMTP_PROVEDOR.isEmpty());
}

TEST_P(ConfigurationStoreOnDb, LogoIsAJpegOrNothing) {
  const QByteArray jpeg = encodeJpeg(QImage(16, 8, QImage::Format_RGB888));
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(16, 8, QImage::Format_RGB888).save(&buffer, "PNG");
  }
  SettingsTexts shown = store_->stored();
  ASSERT_TRUE(store_->postLogo(shown, writeFile(QStringLiteral("logo.jpg"), jpeg)));
  EXPECT_EQ(column(QStringLiteral("LOGOACADEMIA1")).toByteArray(), jpeg);
  EXPECT_EQ(store_->logo().toByteArray(), jpeg);

  // A picture of another kind, even named .jpg, is refused and nothing of the save stays.
  shown[QStringLiteral("CAPTURA_WEB")] = kSim;
  EXPECT_FALSE(store_->postLogo(shown, writeFile(QStringLiteral("logo2.jpg"), png)).okOrTell());
  expectOneWriteFailure();
  EXPECT_EQ(column(QStringLiteral("LOGOACADEMIA1")).toByteArray(), jpeg);
  EXPECT_EQ(column(QStringLiteral("CAPTURA_WEB")), QVariant(kNao));
  EXPECT_EQ(store_->logo().toByteArray(), jpeg);

  ASSERT_TRUE(store_->postClearedLogo(shown));
  EXPECT_TRUE(
      scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM Secvar WHERE LOGOACADEMIA1 IS NULL"))
          .toInt() == 1);
  EXPECT_FALSE(store_->logo().isValid());
  EXPECT_EQ(column(QStringLiteral("CAPTURA_WEB")), QVariant(kSim));
}

TEST_P(ConfigurationStoreOnDb, AFailedConfirmChangesNothingAndCopiesNothing) {
  SettingsTexts shown = store_->stored();
  shown[QStringLiteral("PATH_EXERCICIO")] = kNao;
  shown[QStringLiteral("SMTP_PROVEDOR")] = QStringLiteral("smtp.exemplo.com.br * 587");
  // The row is gone (nothing inserts it again): an update of no row is no save.
  runSql(db_, QStringLiteral("DELETE FROM Secvar"));
  EXPECT_FALSE(store_->confirm(shown).okOrTell());
  expectOneWriteFailure();
  EXPECT_TRUE(G().GBOL_SISTEMA_LOCAL);
  EXPECT_TRUE(G().GSTR_SMTP_PROVEDOR.isEmpty());
  EXPECT_EQ(store_->stored().value(QStringLiteral("PATH_EXERCICIO")), kSim);

  // Without the table the settings cannot even be opened.
  runSql(db_, QStringLiteral("DROP TABLE Secvar"));
  ConfigurationStore again(db_);
  EXPECT_FALSE(again.open());
}

INSTANTIATE_TEST_SUITE_P(Providers, ConfigurationStoreOnDb, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
