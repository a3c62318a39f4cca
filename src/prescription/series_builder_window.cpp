#include "prescription/series_builder_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSqlRecord>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "prescription/aerobic_block.h"
#include "prescription/member_panel.h"
#include "prescription/reorder_block.h"
#include "prescription/series_header.h"
#include "prescription/strength_block.h"
#include "prescription/stretching_block.h"
#include "prescription/weekday_block.h"
#include "printing/report_output.h"
#include "printouts/series_sheet.h"
#include "series/aerobic_model.h"
#include "series/workout_model.h"

TFRMTIPOEXERCICIO::TFRMTIPOEXERCICIO(Session& session, QWidget* parent)
    : ChildWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMTIPOEXERCICIO"));
  setWindowTitle(QStringLiteral("Tipo de Exercício"));
  workout_ = new WorkoutModel(this);
  aerobic_ = new AerobicModel(this);
  build();
  connectParts();
  setPreferredSize(QSize(1200, 680));
}

TFRMTIPOEXERCICIO::~TFRMTIPOEXERCICIO() {
  closeTables();
}

// ---------------------------------------------------------------------------------------------
// The parts

void TFRMTIPOEXERCICIO::build() {
  const BuilderContext context{session(), series_, *this, *this, workout_, aerobic_};
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  SBSAIR = namedButton(this, "SBSAIR", QStringLiteral("Sair"));
  SBSAIR->setToolTip(QStringLiteral("Sair"));
  connect(SBSAIR, &QPushButton::clicked, this, &ChildWindow::closeWindow);
  top->addStretch();
  top->addWidget(SBSAIR);
  layout->addLayout(top);
  member_ = new MemberPanel(context, this);
  layout->addWidget(member_);
  PNLFUNDO = new QFrame(this);
  PNLFUNDO->setObjectName(QStringLiteral("PNLFUNDO"));
  PNLFUNDO->setFrameShape(QFrame::StyledPanel);
  header_ = new SeriesHeader(context, this, PNLFUNDO);
  layout->addWidget(header_);
  buildBlocks(context);
  layout->addWidget(PNLFUNDO, 1);
  header_->hide();
  PNLFUNDO->hide();
}

void TFRMTIPOEXERCICIO::buildBlocks(const BuilderContext& context) {
  strength_ = new StrengthBlock(context, PNLFUNDO);
  reorder_ = new ReorderBlock(context, PNLFUNDO);
  aerobicBlock_ = new AerobicBlock(context, PNLFUNDO);
  stretching_ = new StretchingBlock(context, PNLFUNDO);
  auto* stack = new QVBoxLayout(PNLFUNDO);
  for (SeriesBlock* block : blocks()) {
    stack->addWidget(block);
    block->hide();
  }
}

void TFRMTIPOEXERCICIO::connectParts() {
  connect(member_, &MemberPanel::memberChosen, this, &TFRMTIPOEXERCICIO::memberChosen);
  connect(member_, &MemberPanel::photoRead, header_, &SeriesHeader::showPhoto);
  connect(header_, &SeriesHeader::membersAsked, this, &TFRMTIPOEXERCICIO::backToMembers);
  connect(header_, &SeriesHeader::daysChosen, this, &TFRMTIPOEXERCICIO::daysChosen);
  connect(header_, &SeriesHeader::printAsked, this, &TFRMTIPOEXERCICIO::ImprimeSerie);
  connect(header_, &SeriesHeader::reorderAsked, reorder_, &ReorderBlock::open);
  connect(header_, &SeriesHeader::stretchingAsked, stretching_, &StretchingBlock::open);
  connect(header_, &SeriesHeader::assessmentAsked, member_, &MemberPanel::startAssessment);
  connect(header_, &SeriesHeader::strengthOpened, strength_, &StrengthBlock::startLetter);
  connect(header_, &SeriesHeader::workoutZeroed, strength_, &StrengthBlock::pickFromTop);
}

QList<SeriesBlock*> TFRMTIPOEXERCICIO::blocks() const {
  return {header_->days(), strength_, reorder_, reorder_->view(), aerobicBlock_, stretching_};
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

bool TFRMTIPOEXERCICIO::openFailed(const Failure& failure) {
  tell(failure);
  MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
  return false;
}

bool TFRMTIPOEXERCICIO::ABRE_TABELAS() {
  // The workout being edited lives in this window's memory: nothing to create, nothing that
  // another window could collide with.
  const std::optional<Settings> settings = session().rereadSettings();
  if (!settings) return openFailed({Msg::AberturaDeTabela, QStringLiteral("Secvar"), {}});
  series_.settings = *settings;
  if (const std::optional<Failure> failure = member_->open()) return openFailed(*failure);
  if (const std::optional<Failure> failure = strength_->open()) return openFailed(*failure);
  member_->ready();
  header_->applySettings();
  header_->setIdle();
  return true;
}

void TFRMTIPOEXERCICIO::closeTables() {
  strength_->stopVideo();
  member_->close();
}

// ---------------------------------------------------------------------------------------------
// From the member search to the header and back

void TFRMTIPOEXERCICIO::memberChosen(const QSqlRecord& member, const QString& instructor) {
  header_->showMember(member, instructor);
  member_->hide();
  header_->show();
  PNLFUNDO->show();
  header_->setIdle();
  header_->focusLetter();
}

void TFRMTIPOEXERCICIO::backToMembers() {
  member_->startOver();
  SBSAIR->setEnabled(true);
  header_->startOver();
  pBooVisualiza = false;
  showOnly(nullptr);
  header_->hide();
  PNLFUNDO->hide();
  member_->show();
  member_->focusSearch();
}

void TFRMTIPOEXERCICIO::daysChosen(bool strength) {
  if (strength)
    strength_->enter();
  else
    aerobicBlock_->enter();
}

// ---------------------------------------------------------------------------------------------
// One block at a time

void TFRMTIPOEXERCICIO::headerIdle() {
  header_->setIdle();
}

void TFRMTIPOEXERCICIO::headerBusy() {
  header_->setBusy();
}

bool TFRMTIPOEXERCICIO::zeroAllowed() const {
  return header_->zeroAllowed();
}

void TFRMTIPOEXERCICIO::allowZero(bool allowed) {
  header_->allowZero(allowed);
}

void TFRMTIPOEXERCICIO::showOnly(SeriesBlock* shown) {
  for (SeriesBlock* block : blocks()) block->setVisible(block == shown);
  if (shown) shown->focusFirstField();
}

bool TFRMTIPOEXERCICIO::blockShown() const {
  for (const SeriesBlock* block : blocks())
    if (block->isVisible()) return true;
  return false;
}

QString TFRMTIPOEXERCICIO::letter() const {
  return header_->letter();
}

void TFRMTIPOEXERCICIO::openReorder() {
  reorder_->open();
}

// ---------------------------------------------------------------------------------------------
// Saving and printing

SeriesService TFRMTIPOEXERCICIO::service() const {
  return SeriesService(session().workout().database(), series_);
}

MemberContact TFRMTIPOEXERCICIO::memberContact() const {
  const QSqlRecord member = member_->memberRecord();
  return {pStrCPF, member.value(QStringLiteral("NOME")).toString(),
          member.value(QStringLiteral("EMAIL")).toString()};
}

std::optional<int> TFRMTIPOEXERCICIO::saveWorkout() {
  WorkoutSave save;
  save.letter = letter();
  save.moment = QDateTime::currentDateTime();
  save.changeDate = header_->changeDate();
  save.boxes = header_->days()->boxes();
  save.rows = workout_->rows();
  series_.usuario = session().user();
  return service().saveWorkout(save, memberContact()).told();
}

bool TFRMTIPOEXERCICIO::saveAerobic() {
  return service()
      .saveAerobic(QDate::currentDate(), header_->days()->ticked(), aerobic_->rows(),
                   memberContact())
      .told()
      .has_value();
}

bool TFRMTIPOEXERCICIO::saveStretching(const StretchChoice& choice) {
  return service()
      .saveStretching(letter(), QDate::currentDate(), choice, memberContact())
      .told()
      .has_value();
}

// The member's stored workout of the letter shown, portrait or landscape, in the preview.
void TFRMTIPOEXERCICIO::ImprimeSerie(bool landscape) {
  pBooVisualiza = false;
  header_->setPrintButtonsEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Result<SeriesSheet> sheet = prepareSeriesSheet(series_.matricula, letter(), landscape);
  QApplication::restoreOverrideCursor();
  if (sheet.okOrTell()) previewReport(seriesSheetReport(*sheet), this);
  header_->setPrintButtonsEnabled(true);
  header_->allowZero(true);
}
