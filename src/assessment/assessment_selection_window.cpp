#include "assessment/assessment_selection_window.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <optional>

#include "assessment/assessment_data.h"
#include "assessment/assessment_report.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/sql.h"
#include "forms/buttons_off.h"
#include "printing/report_output.h"

namespace {

struct BoxName {
  Section section;
  const char* objectName;
};

// The section boxes, in the order the window lays them out.
const BoxName kSectionBoxes[] = {
    {Section::Cover, "CBFOLHADEROSTO"},       {Section::Introduction, "CBINTRODUCAO"},
    {Section::Anamnesis, "CBPESSOALCLINICO"}, {Section::Cardiac, "CBTESTECARDIACO"},
    {Section::Perimetry, "CBEXAMEMUSCULAR"},  {Section::PosturalFrontBack, "CBEXAMEPOSTURALFC"},
    {Section::Prescription, "CBPRESCRICAO"},  {Section::FlexTest, "CBFLEX"},
    {Section::Ergometric, "CBVO2"},           {Section::PosturalSides, "CBEXAMEPOSTURALDE"},
    {Section::Medical, "CBMEDICA"},           {Section::Flexibility, "CBFLEXIBILIDADE"},
    {Section::SitUp, "CBABDOMINAL"},          {Section::PushUp, "CBFLEXAO"},
};

const BoxName kProtocolBoxes[] = {
    {Section::Pollock3, "CBPOLLOCK3"}, {Section::Comparison3, "CBCOMPARATIVO"},
    {Section::Pollock7, "CBPOLLOCK7"}, {Section::Comparison7, "CBCOMPARATIVO7"},
    {Section::BodyMassIndex, "CBIMC"}, {Section::Children, "CBCRIANCA"},
    {Section::WaistHip, "CBCINTURA"},  {Section::Faulkner, "CBFAULKNER"},
    {Section::Lohman, "CBLOHMAN"},     {Section::TransWeltman, "CBTRAN"},
};

const QString kTodos = QStringLiteral("Todos");
const QString kNenhum = QStringLiteral("Nenhum");

QPushButton* button(const char* name, const QString& text, const QString& hint, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(hint);
  return b;
}

}  // namespace

AssessmentSelectionWindow::AssessmentSelectionWindow(const AssessmentSelection& selection,
                                                     QWidget* parent)
    : QDialog(parent), selection_(selection) {
  setObjectName(QStringLiteral("TFRMSELECAO"));
  setWindowTitle(QStringLiteral("Escolha da Avaliação"));
  setModal(true);
  auto* layout = new QHBoxLayout(this);

  list_ = new QTableWidget(0, 1, this);
  list_->setObjectName(QStringLiteral("DBGAVALIACAO"));
  list_->setHorizontalHeaderLabels({QStringLiteral("Exame")});
  list_->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setFixedWidth(130);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { choose(row); });
  layout->addWidget(list_);

  auto* right = new QVBoxLayout;
  printing_ = new QGroupBox(QStringLiteral(" Impressão "), this);
  printing_->setObjectName(QStringLiteral("GBIMPRESSAO"));
  auto* grid = new QGridLayout(printing_);
  int i = 0;
  for (const BoxName& b : kSectionBoxes) {
    auto* box = new QCheckBox(sectionCaption(b.section), printing_);
    box->setObjectName(QString::fromLatin1(b.objectName));
    boxes_.insert(b.section, box);
    grid->addWidget(box, i % 7, i / 7);
    ++i;
  }
  auto* protocols = new QGroupBox(QStringLiteral(" Protocolos "), printing_);
  protocols->setObjectName(QStringLiteral("GBPROTOCOLOS"));
  auto* protocolGrid = new QGridLayout(protocols);
  int row = 0;
  for (int p = 0; p < int(std::size(kProtocolBoxes)); ++p) {
    const BoxName& b = kProtocolBoxes[p];
    auto* box = new QCheckBox(sectionCaption(b.section), protocols);
    box->setObjectName(QString::fromLatin1(b.objectName));
    boxes_.insert(b.section, box);
    const bool comparison = b.section == Section::Comparison3 || b.section == Section::Comparison7;
    // Each comparison sits beside its Pollock box.
    protocolGrid->addWidget(box, comparison ? row - 1 : row, comparison ? 1 : 0);
    if (!comparison) ++row;
  }
  grid->addWidget(protocols, 7, 0, 1, 2);
  // Comparing needs the Pollock page it follows: ticking one ticks the other.
  for (const auto& [comparison, pollock] : {std::pair{Section::Comparison3, Section::Pollock3},
                                            std::pair{Section::Comparison7, Section::Pollock7}}) {
    QCheckBox* target = boxes_.value(pollock);
    connect(boxes_.value(comparison), &QCheckBox::toggled, this, [target](bool on) {
      if (on) target->setChecked(true);
    });
  }
  right->addWidget(printing_);

  auto* buttons = new QHBoxLayout;
  preview_ = button("BBNVIDEO", QStringLiteral("Vídeo"), QStringLiteral("Vídeo"), this);
  print_ = button("BBNIMPRIME", QStringLiteral("Impressora"), QStringLiteral("Impressora"), this);
  all_ = button("BBNTODOS", kTodos, kTodos, this);
  QPushButton* back =
      button("BBNRETORNA", QStringLiteral("Retorna"), QStringLiteral("Retorna"), this);
  for (QPushButton* b : {preview_, print_, all_, back}) buttons->addWidget(b);
  right->addLayout(buttons);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border, as the window was drawn
  connect(preview_, &QPushButton::clicked, this, [this] { output(true); });
  connect(print_, &QPushButton::clicked, this, [this] { output(false); });
  connect(all_, &QPushButton::clicked, this, &AssessmentSelectionWindow::toggleAll);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
  reset();
}

bool AssessmentSelectionWindow::load() {
  Connection connection(DataSource::Tamsel, Connection::uniqueName(QStringLiteral("selecao")));
  if (!connection.open()) {
    tell(Failure{Msg::TamselInativo, {}, connection.lastError()});
    return false;
  }
  QString failed;
  QString cause;
  try {
    failed = QStringLiteral("Avaliacao");
    dates_ = assessmentDates(connection.database(), selection_.matricula);
    failed = QStringLiteral("Controle");
    readAssessmentSettings(connection.database());
    failed.clear();
  } catch (const SqlError& e) {
    cause = e.text();
  }
  connection.release();
  if (!failed.isEmpty()) {
    tell(Failure{Msg::AberturaDeTabela, failed, cause});
    return false;
  }
  list_->setRowCount(int(dates_.size()));
  for (int r = 0; r < dates_.size(); ++r)
    list_->setItem(r, 0, new QTableWidgetItem(dates_[r].toString(QStringLiteral("dd/MM/yyyy"))));
  return true;
}

void AssessmentSelectionWindow::choose(int row) {
  if (row < 0 || row >= dates_.size()) return;
  ButtonsOff hourglass({});
  const Result<QSet<Section>> offered = offeredSections(selection_.matricula, dates_[row]);
  hourglass.endHourglass();
  if (!offered.okOrTell()) {
    reject();
    return;
  }
  chosen_ = dates_[row];
  for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it)
    it.value()->setEnabled(offered->contains(it.key()));
  printing_->setEnabled(true);
  for (QPushButton* b : {preview_, print_, all_}) b->setEnabled(true);
  list_->setEnabled(false);
}

void AssessmentSelectionWindow::toggleAll() {
  if (all_->toolTip() == kTodos) {
    all_->setToolTip(kNenhum);
    for (const BoxName& b : kSectionBoxes) {
      QCheckBox* box = boxes_.value(b.section);
      if (b.section == Section::Introduction) {
        box->setChecked(false);
        box->setEnabled(false);
      } else if (b.section == Section::Cover || box->isEnabled()) {
        box->setChecked(true);
      }
    }
    return;
  }
  all_->setToolTip(kTodos);
  for (const BoxName& b : kSectionBoxes) boxes_.value(b.section)->setChecked(false);
}

QSet<Section> AssessmentSelectionWindow::ticked() const {
  QSet<Section> sections;
  for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it)
    if (it.value()->isChecked()) sections << it.key();
  return sections;
}

void AssessmentSelectionWindow::output(bool preview) {
  const QSet<Section> sections = ticked();
  if (sections.isEmpty()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela);
    return;
  }
  std::optional<CompositeReport> report;
  {
    ButtonsOff off({preview_, print_, all_});
    const Result<AssessmentData> data = readAssessment(
        {selection_.matricula, chosen_, sections, selection_.age, selection_.settings});
    off.endHourglass();
    if (data)
      report = assessmentReport(*data, sections, QDateTime::currentDateTime());
    else
      tell(data.failure());
  }
  if (!report) {  // a section that cannot be read closes the window
    reject();
    return;
  }
  outputReport(*report, preview, this);
  reset();
}

void AssessmentSelectionWindow::reset() {
  all_->setToolTip(kTodos);
  for (QCheckBox* box : boxes_) {
    box->setChecked(false);
    box->setEnabled(true);
  }
  printing_->setEnabled(false);
  for (QPushButton* b : {preview_, print_, all_}) b->setEnabled(false);
  list_->setEnabled(true);
  chosen_ = QDate();
}

void openAssessmentSelection(const AssessmentSelection& selection, QWidget* parent) {
  AssessmentSelectionWindow window(selection, parent);
  if (!window.load()) return;
  window.exec();
}
