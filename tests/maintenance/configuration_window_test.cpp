#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/window_table.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "maintenance/configuration_window.h"
#include "registry/jpeg_codec.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

const QString kEntry = QStringLiteral("MNREPARAMETRIZACAODOSISTEMA");

class ConfigurationWindowTest : public FrameFixture {
 protected:
  void SetUp() override { FrameFixture::SetUp(); }
  void TearDown() override {
    TFRMPARAMETRIZACAODOSISTEMA::setFileChooser(nullptr);
    FrameFixture::TearDown();
  }

  TFRMPARAMETRIZACAODOSISTEMA* open() {
    window_->openEntry(kEntry);
    return window_->findChild<TFRMPARAMETRIZACAODOSISTEMA*>();
  }
  bool isOpen() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window_->findChild<TFRMPARAMETRIZACAODOSISTEMA*>() != nullptr;
  }

  template <typename T = QLineEdit>
  T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }
  void choose(QWidget* w, const char* list, const QString& text) {
    auto* box = child<QComboBox>(w, list);
    box->setCurrentIndex(box->findText(text));
    ASSERT_EQ(box->currentText(), text) << list;
  }
  void click(QWidget* w, const char* button) { child<QAbstractButton>(w, button)->click(); }
  QVariant setting(const char* column) {
    return readSettings(workout())->value(QString::fromLatin1(column));
  }
};

TEST_F(ConfigurationWindowTest, ConfirmSavesCopiesAndRefreshesTheMenuAtOnce) {
  TFRMPARAMETRIZACAODOSISTEMA* w = open();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Configuração do Sistema"));
  QAction* entry = window_->entry(kEntry);
  EXPECT_FALSE(entry->isEnabled());
  EXPECT_TRUE(entry->isChecked());
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 1);
  EXPECT_TRUE(window_->entry(QStringLiteral("MNALUNOS"))->isVisible());
  EXPECT_FALSE(window_->entry(QStringLiteral("MNGrupamentoMuscular"))->isVisible());

  choose(w, "DBCBPATH_EXERCICIO", QStringLiteral("Não"));
  choose(w, "DBCBGRUPAMENTOMUSCULAR", QStringLiteral("Sim"));
  child(w, "DBEDTALUNOS_AUSENTES")->setText(QStringLiteral("20"));
  click(w, "RGGERAL2");
  child<QComboBox>(w, "CBSMTP")->setEditText(QStringLiteral("smtp.exemplo.com.br * 587"));
  choose(w, "CBUseTLS", QStringLiteral("utUseImplicitTLS"));
  QTest::keyClicks(child(w, "DBEDTASSUNTO_AUSENTES"), QStringLiteral("sentimos sua falta"));
  G().GBOL_TEM_AUSENTES = true;
  click(w, "BBNCONFIRMA");

  for (const char* name : {"MNALUNOS", "MNFUNCIONARIO", "N3", "N5"})
    EXPECT_FALSE(window_->entry(QString::fromLatin1(name))->isVisible()) << name;
  EXPECT_TRUE(window_->entry(QStringLiteral("MNGrupamentoMuscular"))->isVisible());
  EXPECT_FALSE(G().GBOL_SISTEMA_LOCAL);
  EXPECT_EQ(G().GINT_DIAS_AUSENTES, 20);
  EXPECT_FALSE(G().GBOL_TEM_AUSENTES);
  EXPECT_EQ(G().GSTR_SMTP_PROVEDOR.str(), QStringLiteral("smtp.exemplo.com.br * 587"));

  EXPECT_EQ(setting("PATH_EXERCICIO"), QVariant(QStringLiteral("Não")));
  EXPECT_EQ(setting("IdSMTP_UseTLS"), QVariant(QStringLiteral("utUseImplicitTLS")));
  EXPECT_EQ(setting("ASSUNTO_AUSENTE"), QVariant(QStringLiteral("SENTIMOS SUA FALTA")));
  EXPECT_FALSE(isOpen());
  EXPECT_TRUE(entry->isEnabled());
  EXPECT_FALSE(entry->isChecked());
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_F(ConfigurationWindowTest, MonthsOutsideOneToThirtySixAreRefusedDaysAreNot) {
  TFRMPARAMETRIZACAODOSISTEMA* w = open();
  ASSERT_TRUE(w);
  QLineEdit* interval = child(w, "DBEDTTEMPO_REAVALIACAO");
  for (const char* months : {"37", "0"}) {
    testPrompter().clear();
    click(w, "RGGERAL2");  // refused from another page, it brings the field back
    ASSERT_EQ(w->page(), TFRMPARAMETRIZACAODOSISTEMA::Email);
    interval->setText(QString::fromLatin1(months));
    click(w, "BBNCONFIRMA");
    ASSERT_EQ(testPrompter().messages().size(), 1) << months;
    EXPECT_EQ(testPrompter().messages()[0].text, Msg::DadoIncorreto);
    EXPECT_EQ(testPrompter().messages()[0].detail,
              QStringLiteral("Meses para reavaliação entre 1 a 36"));
    EXPECT_EQ(w->page(), TFRMPARAMETRIZACAODOSISTEMA::Controle);
    EXPECT_FALSE(child<QWidget>(w, "PNLCONTROLE")->isHidden());
    EXPECT_TRUE(child<QWidget>(w, "PNLEMAIL")->isHidden());
    EXPECT_TRUE(interval->text().isEmpty());
    EXPECT_TRUE(interval->hasFocus());
    EXPECT_TRUE(isOpen());
  }
  EXPECT_EQ(setting("TEMPO_REAVALIACAO"), QVariant(QStringLiteral("3")));

  choose(w, "DBCBTROCASERIE", QStringLiteral("Dias"));
  interval->setText(QStringLiteral("90"));
  click(w, "BBNCONFIRMA");
  EXPECT_FALSE(isOpen());
  EXPECT_EQ(setting("Troca_Serie"), QVariant(QStringLiteral("Dias")));
  EXPECT_EQ(setting("TEMPO_REAVALIACAO"), QVariant(QStringLiteral("90")));
}

TEST_F(ConfigurationWindowTest, EnterWalksThePagesAndTheFieldsKeepTheirKeys) {
  TFRMPARAMETRIZACAODOSISTEMA* w = open();
  ASSERT_TRUE(w);
  auto* first = child<QComboBox>(w, "DBCBCODIGOSEQ");
  ASSERT_TRUE(first->hasFocus());
  QTest::keyClicks(first, QStringLiteral("N"));  // lists are chosen, not typed
  EXPECT_EQ(first->currentText(), QStringLiteral("Sim"));
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(child<QComboBox>(w, "DBCBPATH_EXERCICIO")->hasFocus());

  QLineEdit* interval = child(w, "DBEDTTEMPO_REAVALIACAO");
  interval->clear();
  interval->setFocus();
  QTest::keyClicks(interval, QStringLiteral("a1b"));
  EXPECT_EQ(interval->text(), QStringLiteral("1"));
  interval->clear();
  QTest::keyClick(interval, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::DadoIncorreto});
  EXPECT_TRUE(interval->hasFocus());

  QLineEdit* absent = child(w, "DBEDTALUNOS_AUSENTES");
  absent->clear();
  absent->setFocus();
  QTest::keyClicks(absent, QStringLiteral("x"));
  QTest::keyClick(absent, Qt::Key_Return);
  EXPECT_EQ(absent->text(), QStringLiteral("0"));
  EXPECT_TRUE(child<QComboBox>(w, "DBCBMAISUMEXERCSERIE")->hasFocus());

  // The printer's name only changes by pasting.
  QLineEdit* printer = child(w, "DBEDTCAMINHOIMPRESSORA");
  printer->setText(QStringLiteral("IMPRESSORA RECEPCAO"));
  printer->setFocus();
  QTest::keyClicks(printer, QStringLiteral("xyz"));
  QTest::keyClick(printer, Qt::Key_Backspace);
  QTest::keyClick(printer, Qt::Key_Delete);
  EXPECT_EQ(printer->text(), QStringLiteral("IMPRESSORA RECEPCAO"));
  QApplication::clipboard()->setText(QStringLiteral("BALCAO"));
  printer->selectAll();
  QTest::keyClick(printer, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(printer->text(), QStringLiteral("BALCAO"));
  QTest::keyClick(printer, Qt::Key_Return);
  EXPECT_TRUE(child(w, "DBEDTTEMPOSERIE")->hasFocus());

  auto* last = child<QComboBox>(w, "DBCBTEC12USB");
  last->setFocus();
  QTest::keyClick(last, Qt::Key_Return);
  EXPECT_TRUE(child<QPushButton>(w, "BBNCONFIRMA")->hasFocus());

  click(w, "RGGERAL2");
  auto* smtp = child<QComboBox>(w, "CBSMTP");
  ASSERT_TRUE(smtp->hasFocus());
  EXPECT_EQ(smtp->count(), 7);
  QTest::keyClick(smtp, Qt::Key_Return);
  EXPECT_TRUE(child(w, "DBEDTNOME_PROVEDOR")->hasFocus());
  EXPECT_EQ(testPrompter().messages().size(), 1);
}

TEST_F(ConfigurationWindowTest, EquipmentCodeAndReducedPrintAreSavedAtOnce) {
  TFRMPARAMETRIZACAODOSISTEMA* w = open();
  ASSERT_TRUE(w);
  choose(w, "DBCBCAPTURA_WEB", QStringLiteral("Sim"));  // a change made before goes with it
  choose(w, "DBCBSERIEEMVIDEO", QStringLiteral("Sim"));
  QTest::mouseClick(child<QCheckBox>(w, "DBCBPOR_CODIGO_APARELHO"), Qt::LeftButton);
  EXPECT_EQ(setting("POR_CODIGO_APARELHO"), QVariant(true));
  EXPECT_EQ(setting("IMPRESSAOREDUZIDA"), QVariant(QStringLiteral("Sim")));
  EXPECT_EQ(setting("SERIEEMVIDEO"), QVariant(QStringLiteral("Não")));
  EXPECT_EQ(setting("CAPTURA_WEB"), QVariant(QStringLiteral("Sim")));
  auto* reduced = child<QComboBox>(w, "DBCIMPRESSAO40COLUNAS");
  EXPECT_EQ(reduced->currentText(), QStringLiteral("Sim"));
  EXPECT_EQ(child<QComboBox>(w, "DBCBSERIEEMVIDEO")->currentText(), QStringLiteral("Não"));

  reduced->setFocus();
  QTest::keyClick(reduced, Qt::Key_Down);  // the user picks "Não"
  EXPECT_EQ(setting("IMPRESSAOREDUZIDA"), QVariant(QStringLiteral("Não")));

  // Closing without Confirm loses only what was not saved yet.
  choose(w, "DBCBTEC12USB", QStringLiteral("Sim"));
  w->closeWindow();
  EXPECT_FALSE(isOpen());
  EXPECT_EQ(setting("Tec12USB"), QVariant(QStringLiteral("Não")));
  EXPECT_EQ(setting("POR_CODIGO_APARELHO"), QVariant(true));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_F(ConfigurationWindowTest, LogoIsImportedAsJpegOnlyAndClearedToNull) {
  QTemporaryDir dir;
  const QByteArray jpeg = encodeJpeg(QImage(40, 20, QImage::Format_RGB888));
  const QString jpegFile = dir.filePath(QStringLiteral("logo.jpg"));
  const QString pngFile = dir.filePath(QStringLiteral("logo.png.jpg"));
  {
    QFile out(jpegFile);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(jpeg);
  }
  ASSERT_TRUE(QImage(40, 20, QImage::Format_RGB888).save(pngFile, "PNG"));
  QString chosen;
  QString caption;
  TFRMPARAMETRIZACAODOSISTEMA::setFileChooser([&](QWidget*, const QString& title, const QString&) {
    caption = title;
    return chosen;
  });

  TFRMPARAMETRIZACAODOSISTEMA* w = open();
  ASSERT_TRUE(w);
  click(w, "RGGERAL1");
  QLabel* picture = child<QLabel>(w, "IMGLOGOTIPO");
  EXPECT_TRUE(picture->isHidden());

  chosen = pngFile;
  click(w, "BBNLOGOTIPO");
  EXPECT_EQ(caption, QStringLiteral("Escolha do fundo para carteira"));
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Controle"));
  EXPECT_FALSE(setting("LOGOACADEMIA1").isValid());
  EXPECT_TRUE(picture->isHidden());

  chosen = jpegFile;
  click(w, "BBNLOGOTIPO");
  EXPECT_EQ(setting("LOGOACADEMIA1").toByteArray(), jpeg);
  EXPECT_FALSE(picture->isHidden());
  EXPECT_FALSE(picture->pixmap().isNull());

  click(w, "PNLLIMPAACADEMIA");
  EXPECT_TRUE(picture->isHidden());
  EXPECT_EQ(scalarSql(workout(),
                      QStringLiteral("SELECT COUNT(*) FROM Secvar WHERE LOGOACADEMIA1 IS NULL"))
                .toInt(),
            1);
  EXPECT_EQ(testPrompter().messages().size(), 1);
}

TEST_F(ConfigurationWindowTest, WithoutTheSettingsRowTheWindowClosesItself) {
  runSql(workout(), QStringLiteral("DELETE FROM Secvar"));
  window_->openEntry(kEntry);
  EXPECT_FALSE(isOpen());
  ASSERT_EQ(testPrompter().messages().size(), 2);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Controle"));
  EXPECT_EQ(testPrompter().messages()[1].text, Msg::RegistroJaAlocado);
  EXPECT_TRUE(window_->entry(kEntry)->isEnabled());
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
}

}  // namespace
