// TFRMSELECAO on the embedded installation with the demonstration assessments: the list, the
// boxes each assessment enables, "Todos"/"Nenhum", the comparisons and the printout it sends.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>

#include "assessment/assessment_selection_window.h"
#include "assessment/demo_assessments.h"
#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "printing/report_output.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class SelectionWindow : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    tamsel_ = std::make_unique<Connection>(DataSource::Tamsel, QStringLiteral("selecao-teste"));
    ASSERT_TRUE(tamsel_->open());
    addDemoAssessments(tamsel_->database());
    setCompositeOutput([this](const CompositeReport& report, bool preview, QWidget*) {
      sent_ << report;
      previews_ << preview;
    });
    testPrompter().clear();
  }
  void TearDown() override {
    setCompositeOutput(nullptr);
    window_.reset();
    tamsel_->release();
    ShellFixture::TearDown();
  }

  void open(const QString& matricula) {
    window_ = std::make_unique<AssessmentSelectionWindow>(
        AssessmentSelection{matricula, QStringLiteral("38"), session_.settings()}, nullptr);
    ASSERT_TRUE(window_->load());
  }
  template <typename T = QWidget>
  T* child(const char* name) const {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QTableWidget* list() const { return child<QTableWidget>("DBGAVALIACAO"); }
  void chooseNewest() {
    QTableWidget* l = list();
    emit l->cellDoubleClicked(l->rowCount() - 1, 0);
  }
  void setAllSwitches(const QString& value) {
    for (const char* column :
         {"EXAME_MEDICO", "PRESCRICAO_ATIVIDADE", "ANAMNESE", "TESTE_CARDIACO", "EXAME_MUSCULAR",
          "CORPORAL_POLLOCK3", "CORPORAL_POLLOCK7", "CORPORAL_IMC", "CORPORAL_SLAUGHTER",
          "CORPORAL_CINTURA_QUADRIL", "CORPORAL_FAULKNER", "CORPORAL_LOHMAN",
          "CORPORAL_TRANS_WELTMAN", "EXAME_POSTURAL", "FLEX_TESTE", "VOZ", "FLEXIBILIDADE",
          "TESTE_ABDOMINAL", "TESTE_FLEXAO"})
      runSql(tamsel_->database(),
             QStringLiteral("UPDATE Savcvar SET %1 = ?").arg(QString::fromLatin1(column)), {value});
  }

  std::unique_ptr<Connection> tamsel_;
  std::unique_ptr<AssessmentSelectionWindow> window_;
  QList<CompositeReport> sent_;
  QList<bool> previews_;
};

TEST_F(SelectionWindow, ChoosingAnAssessmentEnablesWhatItsSettingsAndProtocolOffer) {
  open(QStringLiteral("0000000002"));
  ASSERT_EQ(list()->rowCount(), 9);
  EXPECT_EQ(list()->horizontalHeaderItem(0)->text(), QStringLiteral("Exame"));
  EXPECT_FALSE(child<QGroupBox>("GBIMPRESSAO")->isEnabled());
  EXPECT_FALSE(child<QPushButton>("BBNVIDEO")->isEnabled());
  chooseNewest();
  EXPECT_TRUE(child<QGroupBox>("GBIMPRESSAO")->isEnabled());
  EXPECT_TRUE(child<QPushButton>("BBNIMPRIME")->isEnabled());
  EXPECT_FALSE(list()->isEnabled());
  // The newest is "37IQ"; the children's, Faulkner, Lohman and Trans & Weltman are off.
  for (const char* on : {"CBPOLLOCK3", "CBCOMPARATIVO", "CBPOLLOCK7", "CBIMC", "CBCINTURA",
                         "CBTESTECARDIACO", "CBEXAMEPOSTURALDE"})
    EXPECT_TRUE(child<QCheckBox>(on)->isEnabled()) << on;
  for (const char* off : {"CBCRIANCA", "CBFAULKNER", "CBLOHMAN", "CBTRAN"})
    EXPECT_FALSE(child<QCheckBox>(off)->isEnabled()) << off;
  EXPECT_EQ(child<QCheckBox>("CBTRAN")->text(), QStringLiteral("Trans && Weltman "));
}

TEST_F(SelectionWindow, TodosTicksTheEnabledSectionsAndNenhumUnticksThem) {
  runSql(tamsel_->database(), QStringLiteral("UPDATE Savcvar SET TESTE_FLEXAO = ?"),
         {QStringLiteral("Não")});
  open(QStringLiteral("0000000002"));
  chooseNewest();
  auto* all = child<QPushButton>("BBNTODOS");
  all->click();
  EXPECT_EQ(all->toolTip(), QStringLiteral("Nenhum"));
  EXPECT_TRUE(child<QCheckBox>("CBFOLHADEROSTO")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("CBINTRODUCAO")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("CBINTRODUCAO")->isEnabled());
  EXPECT_TRUE(child<QCheckBox>("CBVO2")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("CBFLEXAO")->isChecked());    // not offered
  EXPECT_FALSE(child<QCheckBox>("CBPOLLOCK3")->isChecked());  // protocols are the user's
  all->click();
  EXPECT_EQ(all->toolTip(), QStringLiteral("Todos"));
  EXPECT_FALSE(child<QCheckBox>("CBFOLHADEROSTO")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("CBVO2")->isChecked());
}

TEST_F(SelectionWindow, WithEverySwitchOffTodosTicksTheCoverAlone) {
  setAllSwitches(QStringLiteral("Não"));
  open(QStringLiteral("0000000002"));
  chooseNewest();
  EXPECT_FALSE(child<QCheckBox>("CBPOLLOCK3")->isEnabled());
  child<QPushButton>("BBNTODOS")->click();
  int ticked = 0;
  for (QCheckBox* box : window_->findChildren<QCheckBox*>()) ticked += box->isChecked();
  EXPECT_EQ(ticked, 1);
  EXPECT_TRUE(child<QCheckBox>("CBFOLHADEROSTO")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("CBINTRODUCAO")->isEnabled());
}

TEST_F(SelectionWindow, AComparisonTicksItsPollockAndThePrintoutFollowsTheBoxes) {
  open(QStringLiteral("0000000002"));
  chooseNewest();
  child<QPushButton>("BBNVIDEO")->click();
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::AberturaDeTabela});
  EXPECT_TRUE(sent_.isEmpty());

  auto* comparison = child<QCheckBox>("CBCOMPARATIVO7");
  comparison->setChecked(true);
  EXPECT_TRUE(child<QCheckBox>("CBPOLLOCK7")->isChecked());
  comparison->setChecked(false);
  EXPECT_TRUE(child<QCheckBox>("CBPOLLOCK7")->isChecked());
  comparison->setChecked(true);
  child<QCheckBox>("CBTESTECARDIACO")->setChecked(true);
  child<QPushButton>("BBNIMPRIME")->click();
  ASSERT_EQ(sent_.size(), 1);
  EXPECT_FALSE(previews_[0]);
  QStringList names;
  for (const Report& part : sent_[0].parts) names << part.name;
  EXPECT_EQ(names, QStringList({QStringLiteral("Teste de Risco Cardíaco"),
                                QStringLiteral("Pollock /Jackson (7 dobras)"),
                                QStringLiteral("Comparativo")}));
  // Back to the list, every box unticked, ready for another assessment.
  EXPECT_TRUE(list()->isEnabled());
  EXPECT_FALSE(child<QGroupBox>("GBIMPRESSAO")->isEnabled());
  EXPECT_FALSE(child<QCheckBox>("CBPOLLOCK7")->isChecked());
  // The protocol boxes are enabled again, inside the group that waits for an assessment.
  EXPECT_TRUE(child<QCheckBox>("CBFAULKNER")->isEnabledTo(child<QGroupBox>("GBIMPRESSAO")));
}

TEST_F(SelectionWindow, ASectionThatCannotBeReadClosesTheWindow) {
  open(QStringLiteral("0000000002"));
  window_->show();
  chooseNewest();
  runSql(tamsel_->database(), QStringLiteral("DROP TABLE MUSCULAR"));
  child<QCheckBox>("CBEXAMEMUSCULAR")->setChecked(true);
  child<QPushButton>("BBNVIDEO")->click();
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Muscular"));
  EXPECT_TRUE(sent_.isEmpty());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(window_->result(), QDialog::Rejected);
}

TEST_F(SelectionWindow, AMemberWithoutAssessmentsHasNothingToChoose) {
  open(QStringLiteral("0000000005"));
  EXPECT_EQ(list()->rowCount(), 0);
  emit list()->cellDoubleClicked(0, 0);
  EXPECT_FALSE(child<QGroupBox>("GBIMPRESSAO")->isEnabled());
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

}  // namespace
