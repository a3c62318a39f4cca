#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/access_dialogs.h"
#include "app/main_window.h"
#include "app/window_table.h"
#include "base/error_log.h"
#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "forms/child_window.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class OpenWindow : public ChildWindow {
 public:
  using ChildWindow::ChildWindow;

 protected:
  bool ABRE_TABELAS() override { return true; }
};

// Acts on the modal dialog as soon as it is up and (for the login) ready for a code.
void whenDialogUp(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (auto* login = qobject_cast<TPDLGACESSO*>(dialog); login && !login->ready()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start(5);
}

void type(QDialog* dialog, const char* field, const QString& text, Qt::Key key = Qt::Key_Return) {
  auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(field));
  ASSERT_TRUE(edit);
  ASSERT_TRUE(edit->isEnabled()) << field;
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, key);
}

QString text(QDialog* dialog, const char* name) {
  if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
  return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

class AccessTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    TPDLGACESSO::setSizeSource(SizeSource([] { return std::optional<qint64>(10); }));
    addUser(QStringLiteral("02"), QStringLiteral("INSTRUTOR"), QStringLiteral("TREINO"),
            {QStringLiteral("C_EXERCICIOS")});
    window_ = std::make_unique<TFRMSEPRINCIPAL>(session_);
    installWindows(*window_);
    window_->show();
    ASSERT_TRUE(window_->start());
    session_.setUser(QString());
  }
  void TearDown() override {
    window_.reset();
    TPDLGACESSO::setSizeSource(std::nullopt);
    ShellFixture::TearDown();
  }

  std::unique_ptr<TFRMSEPRINCIPAL> window_;
};

TEST_F(AccessTest, ThreeUnknownCodesEndTheProgram) {
  whenDialogUp([](QDialog* d) {
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("77"));
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("1"));                   // "1" is not "01"
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("99"), Qt::Key_Escape);  // Esc does as Enter
  });
  EXPECT_FALSE(runLogin(*window_));
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::CodigoNaoCadastrado, Msg::CodigoNaoCadastrado,
                                                 Msg::CodigoNaoCadastrado, Msg::UsuarioSemAcesso}));
}

TEST_F(AccessTest, ThreeWrongPasswordsEndTheProgram) {
  whenDialogUp([](QDialog* d) {
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("02"));
    type(d, "EDTSENHA", QStringLiteral("TREINA"));
    EXPECT_TRUE(text(d, "EDTSENHA").isEmpty());  // emptied for the next try
    type(d, "EDTSENHA", QStringLiteral("XXXXXX"));
    type(d, "EDTSENHA", QStringLiteral("treinx"));
  });
  EXPECT_FALSE(runLogin(*window_));
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::SenhaNaoConfere, Msg::SenhaNaoConfere,
                                                 Msg::SenhaNaoConfere, Msg::UsuarioSemAcesso}));
}

TEST_F(AccessTest, LoginAfterMistakesAndEscapes) {
  whenDialogUp([](QDialog* d) {
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("1"));
    EXPECT_TRUE(text(d, "EDTCODIGOUSUARIO").isEmpty());
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("02"));
    EXPECT_EQ(text(d, "LBLNOMEUSUARIO"), QStringLiteral("INSTRUTOR"));
    EXPECT_FALSE(d->findChild<QLineEdit*>(QStringLiteral("EDTCODIGOUSUARIO"))->isEnabled());
    // Esc in the password goes back to an empty code.
    type(d, "EDTSENHA", QStringLiteral("TRE"), Qt::Key_Escape);
    EXPECT_TRUE(text(d, "EDTCODIGOUSUARIO").isEmpty());
    EXPECT_TRUE(text(d, "LBLNOMEUSUARIO").isEmpty());
    EXPECT_FALSE(d->findChild<QLineEdit*>(QStringLiteral("EDTSENHA"))->isEnabled());
    // Letters go in upper case; characters outside the set cannot be typed.
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("0x2"));
    QTest::keyClicks(d->findChild<QLineEdit*>(QStringLiteral("EDTSENHA")),
                     QStringLiteral("tr#ei-no9"));
    EXPECT_EQ(text(d, "EDTSENHA"), QStringLiteral("TREINO"));
    QTest::keyClick(d->findChild<QLineEdit*>(QStringLiteral("EDTSENHA")), Qt::Key_Return);
  });
  EXPECT_TRUE(runLogin(*window_));
  EXPECT_EQ(G().GSTR_USUARIO.str(), QStringLiteral("02"));
  EXPECT_EQ(window_->statusPanel(1)->text(), QStringLiteral("Usuário: INSTRUTOR"));
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoNaoCadastrado});
}

TEST_F(AccessTest, ChangingUserHasNoLimit) {
  session_.setUser(QStringLiteral("01"));
  whenDialogUp([](QDialog* d) {
    for (int i = 0; i < 5; ++i) type(d, "EDTCODIGOUSUARIO", QStringLiteral("55"));
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("02"));
    for (int i = 0; i < 5; ++i) type(d, "EDTSENHA", QStringLiteral("ERRADA"));
    type(d, "EDTSENHA", QStringLiteral("TREINO"));
  });
  window_->shortcut(QStringLiteral("SBAGENDA"))->click();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(G().GSTR_USUARIO.str(), QStringLiteral("02"));
  EXPECT_EQ(window_->statusPanel(1)->text(), QStringLiteral("Usuário: INSTRUTOR"));
  EXPECT_EQ(testPrompter().texts().count(Msg::UsuarioSemAcesso), 0);
  EXPECT_EQ(testPrompter().texts().size(), 10);
}

TEST_F(AccessTest, AnotherUserAuthorisesOneOpening) {
  session_.setUser(QStringLiteral("02"));
  window_->statusPanel(1)->setText(QStringLiteral("Usuário: INSTRUTOR"));
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new OpenWindow(session_); });
  whenDialogUp([](QDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Acesso Local"));
    type(d, "EDTCODIGOUSUARIO", QStringLiteral("01"));
    // Esc here checks the password like Enter.
    type(d, "EDTSENHA", QStringLiteral("ERRADA"), Qt::Key_Escape);
    type(d, "EDTSENHA", QStringLiteral("MESTRE"), Qt::Key_Escape);
  });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::SenhaNaoConfere});
  EXPECT_EQ(window_->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(G().GSTR_USUARIO.str(), QStringLiteral("02"));
  EXPECT_EQ(window_->statusPanel(2)->text(), QStringLiteral("Usuário: MESTRE"));

  window_->mdiArea()->closeAllSubWindows();
  QCoreApplication::processEvents();
  EXPECT_EQ(window_->statusPanel(1)->text(), QStringLiteral("Usuário: INSTRUTOR"));
}

TEST_F(AccessTest, ThreeFailedAuthorisationsOpenNothing) {
  session_.setUser(QStringLiteral("02"));
  window_->setChildWindow(QStringLiteral("MNEXERCICIOS"),
                          [this] { return new OpenWindow(session_); });
  whenDialogUp([](QDialog* d) {
    for (int i = 0; i < 3; ++i) type(d, "EDTCODIGOUSUARIO", QStringLiteral("88"));
  });
  window_->openEntry(QStringLiteral("MNEXERCICIOS"));
  EXPECT_TRUE(window_->mdiArea()->subWindowList().isEmpty());
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::CodigoNaoCadastrado, Msg::CodigoNaoCadastrado,
                                                 Msg::CodigoNaoCadastrado, Msg::UsuarioSemAcesso}));
}

TEST_F(AccessTest, WithoutAUsersTableTheProgramEndsCleanly) {
  runSql(workout(), QStringLiteral("DROP TABLE Usuarios"));
  EXPECT_FALSE(runLogin(*window_));
  EXPECT_FALSE(window_->isVisible());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("USUARIOS"));
  QFile log(logFilePath());
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_TRUE(log.readAll().contains("Usuarios"));
}

TEST_F(AccessTest, TheLoginCannotBeClosedBeforeALogin) {
  TPDLGACESSO dialog(session_, window_.get());
  dialog.show();
  QTRY_VERIFY(dialog.ready());
  dialog.close();
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
