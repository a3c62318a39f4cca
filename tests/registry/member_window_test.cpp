#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/window_table.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"
#include "registry/member_window.h"
#include "registry/photo_store.h"
#include "support/frame_fixture.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class MemberWindowTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    addMember(QStringLiteral("0000000012"), QStringLiteral("MARIA DA SILVA"));
    addMember(QStringLiteral("0000000007"), QStringLiteral("JOSE PEREIRA"));
  }
  void TearDown() override {
    TFRMALUNOS::setPhotoFileChooser(nullptr);
    FrameFixture::TearDown();
  }

  void addMember(const QString& matricula, const QString& name) {
    runSql(workout(),
           QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, SEXO, ENDERECO, BAIRRO, CIDADE, "
                          "ESTADO, CEP, DATA_NASCIMENTO, DATA_CADASTRADO) VALUES (?, ?, ?, ?, ?, "
                          "?, ?, ?, ?, ?)"),
           {matricula, name, QStringLiteral("F"), QStringLiteral("RUA A"), QStringLiteral("CENTRO"),
            QStringLiteral("NITEROI"), QStringLiteral("RJ"), QStringLiteral("24000-000"),
            QDate(1990, 5, 4), QDate(2024, 1, 2)});
  }

  TFRMALUNOS* open() { return openEntry<TFRMALUNOS>("MNALUNOS"); }

  template <typename T = QLineEdit>
  T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }

  void typeEnter(QWidget* w, const char* name, const QString& text) {
    QLineEdit* line = child(w, name);
    ASSERT_TRUE(line->hasFocus())
        << name << " has not the focus; messages: "
        << testPrompter().texts().join(QStringLiteral(" | ")).toStdString() << " / "
        << (testPrompter().messages().isEmpty()
                ? std::string()
                : testPrompter().messages().last().detail.toStdString());
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  }
};

TEST_F(MemberWindowTest, AFullInsertWalksTheFieldsWithEnter) {
  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  w->activateWindow();
  QApplication::setActiveWindow(window_.get());
  child<QPushButton>(w, "SBINCLUIR")->click();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("INCLUSÃO DE ALUNOS"));
  // Numbered automatically after the highest stored number.
  EXPECT_EQ(child(w, "DBEDTMATRICULA")->text(), QStringLiteral("0000000013"));
  EXPECT_FALSE(child(w, "DBEDTMATRICULA")->isEnabled());
  // Inherits city and state of the member on screen; registered today.
  EXPECT_EQ(child(w, "DBEDTCIDADE")->text(), QStringLiteral("NITEROI"));
  child(w, "DBEDTCIDADE")->clear();

  typeEnter(w, "DBEDTNOME", QStringLiteral("ana d'avila; costa"));
  typeEnter(w, "DBEDTSEXO", QStringLiteral("xf"));
  typeEnter(w, "DBEDTENDERECO", QStringLiteral("av. brasil, 500"));
  typeEnter(w, "DBEDTBAIRRO", QStringLiteral("centro"));
  // A refused field keeps the focus and says which field it is.
  QTest::keyClick(child(w, "DBEDTCIDADE"), Qt::Key_Return);
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Cidade"));
  typeEnter(w, "DBEDTCIDADE", QStringLiteral("rio de janeiro"));
  auto* state = child<QComboBox>(w, "DBCBESTADO");
  ASSERT_TRUE(state->hasFocus());
  state->setCurrentText(QStringLiteral("RJ"));
  QTest::keyClick(state, Qt::Key_Return);
  typeEnter(w, "DBEDTCEP", QStringLiteral("20231-040"));
  typeEnter(w, "DBEDTDATA_NASCIMENTO", QStringLiteral("15031985"));
  typeEnter(w, "DBEDTIDENTIDADE", QStringLiteral("12345678"));
  typeEnter(w, "DBEDTCPF", QStringLiteral("123.456.789-09"));
  for (const char* name : {"DBEDTTELEFONE", "DBEDTTELEFONECOM", "DBEDTCELULAR", "DBEDTRADIO",
                           "DBEDTPROFISSAO", "DBEDTRESPONSAVEL", "DBEDTCADASTRO", "DBEDTSAIDA",
                           "DBEDTEMAIL", "DBEDTMEDICA", "DBEDTFUNCIONAL"})
    typeEnter(w, name,
              name == QLatin1String("DBEDTEMAIL") ? QStringLiteral("ANA@EXEMPLO.COM") : QString());
  ASSERT_TRUE(child<QPushButton>(w, "BBNCONFIRMA")->hasFocus());
  child<QPushButton>(w, "BBNCONFIRMA")->click();

  EXPECT_EQ(w->windowTitle(), QStringLiteral("Alunos"));
  QSqlQuery row = runSql(workout(),
                         QStringLiteral("SELECT NOME, SEXO, DATA_NASCIMENTO, EMAIL, CIDADE, SAIDA "
                                        "FROM Alunos WHERE MATRICULA = ?"),
                         {QStringLiteral("0000000013")});
  ASSERT_TRUE(row.next());
  EXPECT_EQ(row.value(0).toString(), QStringLiteral("ANA D'AVILA; COSTA"));
  EXPECT_EQ(row.value(1).toString(), QStringLiteral("F"));
  EXPECT_EQ(row.value(2).toDate(), QDate(1985, 3, 15));
  EXPECT_EQ(row.value(3).toString(), QStringLiteral("ana@exemplo.com"));
  EXPECT_EQ(row.value(4).toString(), QStringLiteral("RIO DE JANEIRO"));
  EXPECT_TRUE(row.value(5).isNull());
  // Every saved member has a photo row, with or without a photo.
  EXPECT_TRUE(loadPhotoRow(workout(), kFotosAlunos, QStringLiteral("0000000013")).has_value());
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::DadoIncorreto});
}

// As a receptionist types: a field reached by Enter that already holds text is replaced,
// and a date typed without its leading zeros, a space for each, is read as meant.
TEST_F(MemberWindowTest, TypingReplacesWhatAFieldHoldsAndDatesTakeBlanks) {
  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  QApplication::setActiveWindow(window_.get());
  child<QPushButton>(w, "SBINCLUIR")->click();
  ASSERT_EQ(child(w, "DBEDTCIDADE")->text(), QStringLiteral("NITEROI"));
  typeEnter(w, "DBEDTNOME", QStringLiteral("ana"));
  typeEnter(w, "DBEDTSEXO", QStringLiteral("f"));
  typeEnter(w, "DBEDTENDERECO", QStringLiteral("rua b"));
  typeEnter(w, "DBEDTBAIRRO", QStringLiteral("centro"));
  typeEnter(w, "DBEDTCIDADE", QStringLiteral("rio de janeiro"));
  EXPECT_EQ(child(w, "DBEDTCIDADE")->text(), QStringLiteral("RIO DE JANEIRO"));
  QTest::keyClick(child<QComboBox>(w, "DBCBESTADO"), Qt::Key_Return);
  typeEnter(w, "DBEDTCEP", QStringLiteral("20231-040"));

  QLineEdit* born = child(w, "DBEDTDATA_NASCIMENTO");
  ASSERT_TRUE(born->hasFocus());
  QTest::keyClicks(born, QStringLiteral("1 2 1990"));
  EXPECT_EQ(born->displayText(), QStringLiteral("1_/2_/1990"));
  QTest::keyClick(born, Qt::Key_Return);
  EXPECT_EQ(born->text(), QStringLiteral("01/02/1990"));
  EXPECT_TRUE(testPrompter().messages().isEmpty())
      << testPrompter().texts().join("|").toStdString();
}

TEST_F(MemberWindowTest, SearchByNumberAndByName) {
  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  child<QPushButton>(w, "SBPROCURA")->click();
  QLineEdit* text = child(w, "EDTMATRICULA");
  // The search starts by name.
  QTest::keyClicks(text, QStringLiteral("jo"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("0000000007"));
  QTest::keyClick(text, Qt::Key_Return);
  EXPECT_EQ(text->text(), QStringLiteral("0000000007 - JOSE PEREIRA"));
  EXPECT_TRUE(child<QPushButton>(w, "SBINCLUIR")->isEnabled());

  child<QPushButton>(w, "PNLMATRICULA")->click();
  QTest::keyClicks(text, QStringLiteral("1a2"));  // letters cannot be typed here
  EXPECT_EQ(text->text(), QStringLiteral("12"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("0000000012"));
  QTest::keyClick(text, Qt::Key_Return);
  EXPECT_EQ(text->text(), QStringLiteral("0000000012 - MARIA DA SILVA"));
  EXPECT_EQ(child(w, "DBEDTNOME")->text(), QStringLiteral("MARIA DA SILVA"));

  text->clear();
  QTest::keyClicks(text, QStringLiteral("99"));
  QTest::keyClick(text, Qt::Key_Return);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::MatriculaNaoCadastrada});
  EXPECT_TRUE(text->text().isEmpty());
}

TEST_F(MemberWindowTest, ThePhotoFollowsTheSearchOnceTheKeysPause) {
  runSql(workout(), QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
         {QStringLiteral("0000000007"), encodeJpeg(QImage(4, 4, QImage::Format_RGB888))});
  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  auto* photo = child<QLabel>(w, "Image1");
  const qint64 maria = photo->pixmap().cacheKey();  // the first by number
  child<QPushButton>(w, "SBPROCURA")->click();
  QTest::keyClicks(child(w, "EDTMATRICULA"), QStringLiteral("jos"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("0000000007"));
  EXPECT_EQ(child(w, "DBEDTNOME")->text(), QStringLiteral("JOSE PEREIRA"));  // at once
  EXPECT_EQ(photo->pixmap().cacheKey(), maria);  // not while the keys come
  EXPECT_TRUE(QTest::qWaitFor([&] { return photo->pixmap().cacheKey() != maria; }));
  EXPECT_EQ(photo->pixmap().width(), photo->width());
}

TEST_F(MemberWindowTest, DeleteNeedsTheRightOrSomeoneWhoHasIt) {
  addUser(QStringLiteral("02"), QStringLiteral("INSTRUTOR"), QStringLiteral("TREINO"),
          {QStringLiteral("C_EXCLUI_ALUNOS")});
  session_.setUser(QStringLiteral("02"));
  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  runSql(workout(), QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
         {QStringLiteral("0000000007"), encodeJpeg(QImage(4, 4, QImage::Format_RGB888))});

  // Nobody with the right identifies: refused, nothing deleted.
  auto fail = [] {
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(d);
      for (int i = 0; i < 3; ++i) {
        auto* code = d->findChild<QLineEdit*>(QStringLiteral("EDTCODIGOUSUARIO"));
        QTest::keyClicks(code, QStringLiteral("88"));
        QTest::keyClick(code, Qt::Key_Return);
      }
    });
  };
  fail();
  child<QPushButton>(w, "SBEXCLUIR")->click();
  EXPECT_EQ(w->mode(), TFRMALUNOS::Mode::Browse);
  EXPECT_EQ(testPrompter().texts().last(), Msg::UsuarioSemAcesso);

  // The master user authorises: delete mode on the member on screen, then Confirm.
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    auto* code = d->findChild<QLineEdit*>(QStringLiteral("EDTCODIGOUSUARIO"));
    QTest::keyClicks(code, QStringLiteral("01"));
    QTest::keyClick(code, Qt::Key_Return);
    auto* password = d->findChild<QLineEdit*>(QStringLiteral("EDTSENHA"));
    QTest::keyClicks(password, QStringLiteral("MESTRE"));
    QTest::keyClick(password, Qt::Key_Return);
  });
  child<QPushButton>(w, "SBEXCLUIR")->click();
  ASSERT_EQ(w->mode(), TFRMALUNOS::Mode::Delete);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("EXCLUSÃO DE ALUNOS"));
  EXPECT_EQ(G().GSTR_USUARIO.str(), QStringLiteral("02"));
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 1);  // the member window is still counted
  EXPECT_EQ(window_->statusPanel(1)->text(), QStringLiteral("Usuário: INSTRUTOR"));
  EXPECT_EQ(w->selectedMatricula(), QStringLiteral("0000000007"));
  child<QPushButton>(w, "BBNCONFIRMA")->click();
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT COUNT(*) FROM Alunos")).toInt(), 1);
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT COUNT(*) FROM FotosAlunos")).toInt(), 0);
}

TEST_F(MemberWindowTest, PhotoImportRefusesWhatIsNotAJpegAndLimpaKeepsTheStoredPhoto) {
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("foto.jpg"));
  QFile file(bad);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("não é uma foto");
  file.close();
  const QString good = dir.filePath(QStringLiteral("boa.jpg"));
  const QByteArray jpeg = encodeJpeg(QImage(40, 60, QImage::Format_RGB888));
  QFile goodFile(good);
  ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
  goodFile.write(jpeg);
  goodFile.close();

  TFRMALUNOS* w = open();
  ASSERT_TRUE(w);
  child<QPushButton>(w, "SBALTERAR")->click();
  TFRMALUNOS::setPhotoFileChooser([&](QWidget*) { return bad; });
  child<QPushButton>(w, "BBNFOTO")->click();
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Nome"));
  TFRMALUNOS::setPhotoFileChooser([&](QWidget*) { return good; });
  child<QPushButton>(w, "BBNFOTO")->click();
  EXPECT_TRUE(child<QLabel>(w, "Image1")->isVisible());
  child<QPushButton>(w, "PNLLIMPA")->click();
  EXPECT_FALSE(child<QLabel>(w, "Image1")->isVisible());
  child<QPushButton>(w, "BBNCONFIRMA")->click();
  const QString number = w->selectedMatricula();
  EXPECT_EQ(loadPhotoRow(workout(), kFotosAlunos, number)->toByteArray(), jpeg);
}

}  // namespace
