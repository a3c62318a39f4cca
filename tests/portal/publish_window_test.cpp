// The bulk publishing as the gym runs it: the window (its dates, the run on its worker, the
// progress bar, one run per opening) and `vantrel publish`.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "base/messages.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/sql.h"
#include "portal/publish_command.h"
#include "portal/publish_window.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class PublishingRun : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("Portal_Cenection"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Não"));
    setSetting(QStringLiteral("CLIENTE"), 7.0);
    const QDate today = QDate::currentDate();
    for (const auto& [matricula, cpf] : {std::pair{"0000000001", "123.456.789-09"},
                                         {"0000000002", ""},
                                         {"0000000003", "529.982.247-25"}}) {
      runSql(workout(),
             QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CPF, EMAIL) VALUES "
                            "(?, 'ALUNO', ?, 'a@b.com')"),
             {matricula, cpf});
      runSql(workout(),
             QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, "
                            "Codigo_exercicio, Series, Ordem) VALUES (?, 'A', ?, "
                            "'001', '3', 1)"),
             {matricula, today});
    }
  }

  int portalCount(const QString& sql) {
    Connection portal(DataSource::Ondrel, QStringLiteral("portal-contagem"));
    EXPECT_TRUE(portal.open());
    const int n = scalarSql(portal.database(), sql).toInt();
    portal.release();
    return n;
  }
};

TEST_F(PublishingRun, TheWindowPublishesOnItsWorkerAndAllowsOneRunPerOpening) {
  TFRMATUALIZARTREINOSWEB window(session_);
  window.show();
  QApplication::processEvents();
  auto* selected = window.findChild<QLabel*>(QStringLiteral("LBLSELECIONADOS"));
  EXPECT_EQ(selected->text(), QStringLiteral("3 aluno(s) selecionado(s)"));

  // A final date before the initial one is refused in its field.
  auto* initial = window.findChild<QLineEdit*>(QStringLiteral("EDTDATAINICIAL"));
  auto* final = window.findChild<QLineEdit*>(QStringLiteral("EDTDATAFINAL"));
  const QString today = final->text();
  final->setText(QStringLiteral("01/01/2000"));
  testPrompter().clear();
  final->setFocus();
  QTest::keyClick(final, Qt::Key_Return);
  EXPECT_EQ(testPrompter().messages().value(0).detail,
            QStringLiteral("Data final Menor que Data inicial"));
  EXPECT_TRUE(isBlankDate(final->text()));
  final->setText(today);
  QTest::keyClick(final, Qt::Key_Return);
  EXPECT_TRUE(initial->text().startsWith(QStringLiteral("01/")));

  auto* confirm = window.findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"));
  confirm->click();
  EXPECT_TRUE(window.running());
  EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("BBNRETORNA"))->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!window.running(), 20000);
  ASSERT_TRUE(window.summary());
  EXPECT_EQ(window.summary()->published, 2);
  EXPECT_EQ(window.summary()->skipped, 1);
  EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("LBLFIM"))->isVisible());
  auto* bar = window.findChild<QProgressBar*>(QStringLiteral("PBPACK"));
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_FALSE(confirm->isEnabled());
  EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("BBNSELECIONAR"))->isEnabled());
  EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("BBNRETORNA"))->isEnabled());
  EXPECT_EQ(portalCount(QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE cliente = 7")), 2);
}

TEST_F(PublishingRun, TheCommandPrintsWhatItPublished) {
  const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
  EXPECT_EQ(runPublishCommand({QStringLiteral("--from"), today, QStringLiteral("--to"), today}), 0);
  EXPECT_EQ(portalCount(QStringLiteral("SELECT COUNT(*) FROM Alunos WHERE cliente = 7")), 2);
  testPrompter().clear();
  EXPECT_EQ(runPublishCommand({QStringLiteral("--from"), today, QStringLiteral("--to"),
                               QStringLiteral("01/01/2000")}),
            1);
  EXPECT_EQ(testPrompter().messages().value(0).detail,
            QStringLiteral("Data final Menor que Data inicial"));
  EXPECT_EQ(runPublishCommand({QStringLiteral("--from"), QStringLiteral("31/02/2026"),
                               QStringLiteral("--to"), today}),
            2);
}

}  // namespace
