// TFRMEMAILALUNOS driven as a user drives it: where the members come from, the search by
// registration and by name with the member's photo, the grid's keys, the e-mail window opened
// for the member under the cursor, and the ways the window closes. The workout and the
// gym-management databases are on each provider.
#include "followup/member_email_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "base/globals.h"
#include "base/messages.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "followup/email_window.h"
#include "registry/jpeg_codec.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

const QString kCarla = QStringLiteral("0000000042 - CARLA DIAS");

class MemberEmailWindow : public ShellFixture, public testing::WithParamInterface<Provider> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Vantrel), workoutDb_.linkSpec()));
    ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Brisca), gymDb_.linkSpec()));
    for (const auto& [source, file] :
         {std::pair{DataSource::Tamsel, "tamsel.db"}, {DataSource::Ondrel, "ondrel.db"}}) {
      LinkSpec embedded;
      embedded.dataSource = QString::fromLatin1(file);
      ASSERT_TRUE(writeLinkFile(linkFilePath(source), embedded));
    }
    ShellFixture::SetUp();
    // As the main window opens it: counted among the open windows, its shortcut disabled.
    G().GINT_JANELAS_ABERTAS = 1;
    shortcut_.setEnabled(false);

    QImage face(60, 80, QImage::Format_RGB32);
    face.fill(Qt::darkCyan);
    const struct {
      const char* matricula;
      const char* nome;
      const char* email;
      QVariant photo;  // invalid: no photo row
    } members[] = {
        {"0000000007", "BRUNO COSTA", "bruno@academia.br", QByteArray("nao e um jpeg")},
        {"0000000012", "ANA LIMA", "", QVariant(QMetaType(QMetaType::QByteArray))},
        {"0000000042", "CARLA DIAS", "carla@academia.br", encodeJpeg(face)},
        {"0000000420", "DANIEL REIS", "daniel@academia.br", QVariant()},
    };
    for (const auto& m : members) {
      runSql(workout(),
             QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, EMAIL) VALUES (?, ?, ?)"),
             {m.matricula, m.nome, m.email});
      if (m.photo.isValid())
        runSql(workout(),
               QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
               {m.matricula, m.photo});
    }
  }

  void TearDown() override {
    window_.reset();
    ShellFixture::TearDown();
  }

  TFRMEMAILALUNOS* open() {
    testPrompter().clear();
    window_ = std::make_unique<TFRMEMAILALUNOS>(session_, &shortcut_);
    window_->show();
    QApplication::processEvents();
    return window_.get();
  }

  template <typename T = QWidget>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
  }

  QLineEdit* field() { return child<QLineEdit>("EDTMATRICULA"); }
  QTableView* grid() { return child<QTableView>("DBGALUNOS"); }
  bool photoShown() { return !child<QLabel>("Image1")->pixmap().isNull(); }

  // The member the list stands on.
  QString standing() {
    const QModelIndex at = grid()->currentIndex();
    if (!at.isValid()) return QString();
    return static_cast<PagedTableModel*>(grid()->model())
        ->record(at.row())
        .value(QStringLiteral("MATRICULA"))
        .toString();
  }

  void type(const QString& text) {
    field()->setFocus();
    QTest::keyClicks(field(), text);
  }

  void typeEnter(const QString& text) {
    field()->clear();
    type(text);
    QTest::keyClick(field(), Qt::Key_Return);
  }

  // Runs `act`, which opens the e-mail window, and closes that window: the recipients it
  // opened with, and the search field as it stood meanwhile.
  std::pair<QString, QString> mailOpenedBy(const std::function<void()>& act) {
    std::pair<QString, QString> seen{QStringLiteral("(no e-mail window)"), QString()};
    QTimer::singleShot(0, [&] {
      auto* mail = qobject_cast<TFRMONLINE*>(QApplication::activeModalWidget());
      if (!mail) return;
      seen = {mail->findChild<QLineEdit*>(QStringLiteral("EDTDESTINO"))->text(), field()->text()};
      mail->reject();
    });
    act();
    return seen;
  }

  QStringList told() {
    QStringList lines;
    for (const auto& m : testPrompter().messages()) lines << m.text + QLatin1Char('|') + m.detail;
    return lines;
  }

  TestDatabase workoutDb_{GetParam()};
  TestDatabase gymDb_{GetParam()};
  QPushButton shortcut_;
  std::unique_ptr<TFRMEMAILALUNOS> window_;
};

TEST_P(MemberEmailWindow, TheListComesFromWhereTheSettingsKeepTheMembers) {
  const QSqlDatabase gym = session_.management().database();
  runSql(gym, QStringLiteral("INSERT INTO ALUNOS (MATRICULA, NOME) VALUES (?, ?)"),
         {"0000000100", "GESTAO TODOS"});
  runSql(gym, QStringLiteral("INSERT INTO ALUNOSATIVOS (MATRICULA, NOME) VALUES (?, ?)"),
         {"0000000200", "GESTAO ATIVO"});
  const struct {
    const char* pathExercicio;
    const char* alunosAtivos;
    const char* first;
    int rows;
  } cases[] = {{"Sim", "Sim", "0000000007", 4},
               {"Não", "Não", "0000000100", 1},
               {"Não", "Sim", "0000000200", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pathExercicio) + "/" + c.alunosAtivos);
    setSetting(QStringLiteral("PATH_EXERCICIO"), QString::fromUtf8(c.pathExercicio));
    setSetting(QStringLiteral("AlunosAtivos"), QString::fromUtf8(c.alunosAtivos));
    open();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("E-mail para Alunos"));
    EXPECT_TRUE(window_->isModal());
    EXPECT_TRUE(testPrompter().messages().isEmpty());
    EXPECT_EQ(grid()->model()->rowCount(), c.rows);
    EXPECT_EQ(standing(), QString::fromLatin1(c.first));
    EXPECT_EQ(QApplication::focusWidget(), field());
    window_->reject();
  }
}

TEST_P(MemberEmailWindow, ARegistrationTypedFindsTheMemberAndTheirPhoto) {
  open();
  type(QStringLiteral("42"));
  EXPECT_EQ(standing(), QStringLiteral("0000000042"));
  EXPECT_EQ(window_->remembered(), QStringLiteral("0000000042"));

  const struct {
    const char* typed;
    QString shows;
    bool photo;  // after the Enter
  } steps[] = {
      {"42", kCarla, true},
      {"420", QStringLiteral("0000000420 - DANIEL REIS"), true},  // no photo row: unchanged
      {"12", QStringLiteral("0000000012 - ANA LIMA"), false},     // a row without a photo
      {"0000000042", kCarla, true},                               // all ten digits
      {"7", QStringLiteral("0000000007 - BRUNO COSTA"), false},   // bytes that do not decode
      {"99", QString(), false},                                   // nobody: the field cleared
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.typed);
    typeEnter(QString::fromLatin1(s.typed));
    EXPECT_EQ(field()->text(), s.shows);
    EXPECT_EQ(photoShown(), s.photo);
  }
  EXPECT_EQ(told(), QStringList{Msg::MatriculaNaoCadastrada + QLatin1Char('|')});
}

TEST_P(MemberEmailWindow, ANameThatBeginsNoNameLeavesTheListWhereItStood) {
  open();
  auto* byNumber = child<QPushButton>("PNLMATRICULA");
  auto* byName = child<QPushButton>("PNLNOME");
  EXPECT_TRUE(byNumber->property("active").toBool());
  EXPECT_FALSE(byName->property("active").toBool());
  type(QStringLiteral("42"));
  byName->click();
  EXPECT_TRUE(byName->property("active").toBool());
  EXPECT_FALSE(byNumber->property("active").toBool());
  EXPECT_EQ(field()->maxLength(), 35);
  EXPECT_TRUE(field()->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), field());
  // The list changes order, not member; a name nobody has keeps it there.
  EXPECT_EQ(standing(), QStringLiteral("0000000042"));
  type(QStringLiteral("Z"));
  EXPECT_EQ(standing(), QStringLiteral("0000000042"));
  QTest::keyClick(field(), Qt::Key_Return);
  EXPECT_EQ(field()->text(), kCarla);

  typeEnter(QStringLiteral("BRUX"));
  EXPECT_EQ(field()->text(), QStringLiteral("0000000007 - BRUNO COSTA"));
  EXPECT_EQ(window_->remembered(), QStringLiteral("0000000007"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  byNumber->click();
  EXPECT_EQ(field()->maxLength(), 10);
  EXPECT_EQ(standing(), QStringLiteral("0000000007"));
}

TEST_P(MemberEmailWindow, EachSearchTakesOnlyItsKeys) {
  const struct {
    const char* panel;
    const char16_t* typed;
    const char* kept;
    QString emptyEnter;
    QString emptyDetail;
  } cases[] = {
      {"PNLMATRICULA", u"4a2B-É", "42", Msg::MatriculaIncorreta, {}},
      {"PNLNOME", u"an1Á9aÇe", "ANAE", Msg::DadoIncorreto, QStringLiteral("Nome")},
  };
  open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.panel);
    child<QPushButton>(c.panel)->click();
    type(QString::fromUtf16(c.typed));
    EXPECT_EQ(field()->text(), QString::fromLatin1(c.kept));
    field()->clear();
    testPrompter().clear();
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(told(), QStringList{c.emptyEnter + QLatin1Char('|') + c.emptyDetail});
  }
}

TEST_P(MemberEmailWindow, TheGridTakesNoEditsAndRemembersTheRowAKeyLeavesItOn) {
  open();
  grid()->setFocus();
  QTest::keyClick(grid(), Qt::Key_Down);
  EXPECT_EQ(standing(), QStringLiteral("0000000012"));
  EXPECT_EQ(window_->remembered(), QStringLiteral("0000000012"));
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Insert, Qt::NoModifier},
                                       {Qt::Key_Delete, Qt::NoModifier},
                                       {Qt::Key_Delete, Qt::ControlModifier}}) {
    QTest::keyClick(grid(), key, modifiers);
    EXPECT_EQ(standing(), QStringLiteral("0000000012"));
    EXPECT_EQ(grid()->model()->rowCount(), 4);
  }
  QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(window_->remembered(), QStringLiteral("0000000420"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(MemberEmailWindow, TheEmailWindowIsAddressedToTheMemberUnderTheCursor) {
  const struct {
    const char* matricula;
    bool doubleClick;  // else found by number and "E-mail"
    const char* recipients;
    QString fieldMeanwhile;
  } cases[] = {
      {"0000000012", false, "", QStringLiteral("0000000012 - ANA LIMA")},  // no e-mail
      {"0000000420", false, "daniel@academia.br", QStringLiteral("0000000420 - DANIEL REIS")},
      {"0000000042", true, "carla@academia.br", kCarla},
  };
  open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.matricula);
    const QString matricula = QString::fromLatin1(c.matricula);
    const auto seen = mailOpenedBy([&] {
      if (c.doubleClick) {
        const int row = static_cast<PagedTableModel*>(grid()->model())->rowOfKey(matricula);
        const QPoint at = grid()->visualRect(grid()->model()->index(row, 1)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
      } else {
        typeEnter(matricula.right(3));
        child<QPushButton>("SBEMAIL")->click();
      }
    });
    EXPECT_EQ(seen.first, QString::fromLatin1(c.recipients));
    EXPECT_EQ(seen.second, c.fieldMeanwhile);
    EXPECT_EQ(window_->remembered(), matricula);
    // Back from the e-mail window: the field empty and ready for the next member.
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_EQ(window_->focusWidget(), field());
  }
  EXPECT_TRUE(photoShown());  // the double click showed the member's photo
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(MemberEmailWindow, ClosingGivesTheWindowBackAndEnablesTheShortcut) {
  const std::function<void()> closings[] = {
      [this] { child<QPushButton>("BBNSAIR")->click(); },
      [this] { QTest::keyClick(field(), Qt::Key_Escape); },
  };
  for (const auto& close : closings) {
    G().GINT_JANELAS_ABERTAS = 1;
    shortcut_.setEnabled(false);
    open();
    type(QStringLiteral("42"));
    close();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
    EXPECT_TRUE(shortcut_.isEnabled());
    EXPECT_TRUE(testPrompter().messages().isEmpty());
  }
}

TEST_P(MemberEmailWindow, TablesThatCannotBeOpenedSayWhichAndCloseTheWindow) {
  const QString gymDown = Msg::BriscaInativo + Msg::AberturaDeTabela;
  const QString closes = Msg::AberturaDeTabela + QLatin1Char('|');
  const struct {
    const char* what;
    std::function<void()> breakIt;
    QStringList messages;
  } cases[] = {
      {"gym database down",
       [this] {
         setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Não"));
         LinkSpec missing;
         missing.dataSource = QStringLiteral("nao-existe.db");
         ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Brisca), missing));
       },
       {gymDown + QStringLiteral("| Alunos"), closes}},
      {"active members missing",
       [this] {
         ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Brisca), gymDb_.linkSpec()));
         setSetting(QStringLiteral("AlunosAtivos"), QStringLiteral("Sim"));
         runSql(session_.management().database(), QStringLiteral("DROP TABLE ALUNOSATIVOS"));
       },
       {gymDown + QStringLiteral("| Alunos"), closes}},
      {"members kept here missing",
       [this] {
         setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
         runSql(workout(), QStringLiteral("DROP TABLE Alunos"));
       },
       {Msg::AberturaDeTabela + QStringLiteral("|Alunos"), closes}},
      {"settings missing",
       [this] { runSql(workout(), QStringLiteral("DROP TABLE Secvar")); },
       {Msg::AberturaDeTabela + QStringLiteral("|Controle"), closes}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.breakIt();
    G().GINT_JANELAS_ABERTAS = 1;
    shortcut_.setEnabled(false);
    open();
    EXPECT_EQ(told(), c.messages);
    QTRY_VERIFY(!window_->isVisible());
    EXPECT_EQ(G().GINT_JANELAS_ABERTAS, 0);
    EXPECT_TRUE(shortcut_.isEnabled());
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, MemberEmailWindow, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
