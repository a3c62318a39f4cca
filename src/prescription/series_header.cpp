#include "prescription/series_header.h"

#include <QApplication>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTimer>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "prescription/member_panel.h"
#include "prescription/series_service.h"
#include "prescription/sheet_mail.h"
#include "prescription/weekday_block.h"
#include "scheduling/calendar_export.h"
#include "series/aerobic_model.h"
#include "series/series_store.h"
#include "series/workout_model.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

SeriesHeader::SeriesHeader(const BuilderContext& context, QWidget* parent, QWidget* blocksParent)
    : QFrame(parent), ctx_(context) {
  setObjectName(QStringLiteral("PNLCABECALHO"));
  setFrameShape(QFrame::StyledPanel);
  build();
  days_ = new WeekdayBlock(context, blocksParent);
  connect(days_, &WeekdayBlock::confirmed, this, [this] { emit daysChosen(strengthDays_); });
  connect(days_, &WeekdayBlock::cancelled, this, &SeriesHeader::daysCancelled);
}

void SeriesHeader::build() {
  auto* layout = new QGridLayout(this);
  LBLALUNO = new QLabel(this);
  LBLALUNO->setObjectName(QStringLiteral("LBLALUNO"));
  LBLDATA = new QLabel(this);
  LBLDATA->setObjectName(QStringLiteral("LBLDATA"));
  CBTREINO = new QComboBox(this);
  CBTREINO->setObjectName(QStringLiteral("CBTREINO"));
  CBTREINO->addItems(kWorkoutLetters);
  chooseOnlyList(CBTREINO);
  connect(CBTREINO, &QComboBox::activated, this, &SeriesHeader::letterChosen);
  EDTDATATROCA = new QLineEdit(this);
  EDTDATATROCA->setObjectName(QStringLiteral("EDTDATATROCA"));
  EDTDATATROCA->setInputMask(QStringLiteral("99/99/9999;_"));
  onFieldKeys(EDTDATATROCA, [this] { changeDateEntered(); }, {});
  LBLPROFESSOR = new QLabel(this);
  LBLPROFESSOR->setObjectName(QStringLiteral("LBLPROFESSOR"));
  layout->addWidget(LBLALUNO, 0, 0, 1, 4);
  layout->addWidget(LBLPROFESSOR, 0, 4, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Data"), this), 1, 0);
  layout->addWidget(LBLDATA, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Treino"), this), 1, 2);
  layout->addWidget(CBTREINO, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("Troca"), this), 1, 4);
  layout->addWidget(EDTDATATROCA, 1, 5);
  buildButtons(layout);
  Image2 = new QLabel(this);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setFixedSize(90, 120);
  Image2->setFrameShape(QFrame::Box);
  layout->addWidget(Image2, 0, 6, 3, 1);
}

void SeriesHeader::buildButtons(QGridLayout* layout) {
  const auto on = [this](const char* name, const QString& caption, auto clicked) {
    connect(headerButton(name, caption), &QPushButton::clicked, this, clicked);
  };
  on("SBAEROBICA", QStringLiteral("Atividade Aeróbica"), [this] { SBAEROBICAClick(); });
  on("SBEXERCICIOS", QStringLiteral("Musculação"), [this] { SBEXERCICIOSClick(); });
  on("SBALONGAMENTO", QStringLiteral("Alongamento"), [this] { emit stretchingAsked(); });
  on("SBSAIRCAB", QStringLiteral("Retorna"), [this] { emit membersAsked(); });
  on("SBIMPRESSORAPAISAGEM", QStringLiteral("Imprime Paisagem"), [this] { emit printAsked(true); });
  on("SBNOVA_ORDEM", QStringLiteral("Nova Ordem"), [this] { emit reorderAsked(); });
  on("SBZERA", QStringLiteral("Zera Musculação"), [this] { SBZERAClick(); });
  on("SBIMPRESSORA", QStringLiteral("Imprime Retrato"), [this] { emit printAsked(false); });
  on("BbnTamsel", QStringLiteral("Avaliação"), [this] { emit assessmentAsked(); });
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : headerButtons_) buttons->addWidget(b);
  layout->addLayout(buttons, 2, 0, 1, 6);
  // What goes to the member, on a row of its own so every caption is read whole.
  const qsizetype sheetButtons = headerButtons_.size();
  on("SBEXPORTARAGENDA", QStringLiteral("Exportar Agenda"), [this] {
    exportMemberCalendar(ctx_.session, ctx_.series.matricula,
                         LBLALUNO->text().section(QStringLiteral(" - "), 1), this);
  });
  on("SBENVIAREMAIL", QStringLiteral("Enviar por e-mail"), [this] { SBENVIAREMAILClick(); });
  auto* toMember = new QHBoxLayout;
  toMember->addStretch();
  for (qsizetype i = sheetButtons; i < headerButtons_.size(); ++i) toMember->addWidget(headerButtons_[i]);
  layout->addLayout(toMember, 3, 0, 1, 6);
}

QPushButton* SeriesHeader::headerButton(const char* name, const QString& caption) {
  QPushButton* b = namedButton(this, name, caption);
  b->setToolTip(caption);
  b->setMinimumWidth(b->sizeHint().width());  // the captions are read whole, never cut
  headerButtons_ << b;
  return b;
}

QPushButton* SeriesHeader::button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

// ---------------------------------------------------------------------------------------------
// What the header shows

QString SeriesHeader::letter() const {
  return CBTREINO->currentText();
}

QDate SeriesHeader::changeDate() const {
  return parseTypedDate(EDTDATATROCA->text()).value_or(QDate());
}

void SeriesHeader::applySettings() {
  EDTDATATROCA->setEnabled(ctx_.series.settings.changeDateEditable());
}

void SeriesHeader::showMember(const QSqlRecord& member, const QString& instructor) {
  const QDate today = QDate::currentDate();
  const Settings& settings = ctx_.series.settings;
  EDTDATATROCA->setText(
      formatTypedDate(defaultChangeDate(today, settings.tempoReavaliacao, settings.trocaSerie)));
  LBLALUNO->setText(member.value(QStringLiteral("MATRICULA")).toString() + QStringLiteral(" - ") +
                    member.value(QStringLiteral("NOME")).toString());
  LBLDATA->setText(formatTypedDate(today));
  LBLPROFESSOR->setText(SeriesText::Professor + instructorName(instructor));
}

void SeriesHeader::showPhoto(const QImage& picture) {
  ::showPhoto(Image2, picture);
}

void SeriesHeader::focusLetter() {
  CBTREINO->setFocus();
}

void SeriesHeader::changeDateEntered() {
  const std::optional<QDate> date = parseTypedDate(EDTDATATROCA->text());
  if (!date) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::DataTroca);
    EDTDATATROCA->setFocus();
    return;
  }
  EDTDATATROCA->setText(formatTypedDate(*date));
}

// ---------------------------------------------------------------------------------------------
// The buttons

void SeriesHeader::setIdle() {
  CBTREINO->setEnabled(true);
  for (QPushButton* b : headerButtons_) b->setEnabled(true);
  button("SBAEROBICA")->setEnabled(letter() == QStringLiteral("A"));
  button("BbnTamsel")->setEnabled(ctx_.series.settings.assessmentIntegration());
  // A block that closed took the focus with it: the keyboard goes back to the header, never
  // to the window's exit button.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible() || ctx_.host.blockShown()) return;
    CBTREINO->setFocus();
  });
}

void SeriesHeader::setBusy() {
  CBTREINO->setEnabled(false);
  for (QPushButton* b : headerButtons_) b->setEnabled(false);
}

bool SeriesHeader::zeroAllowed() const {
  return button("SBZERA")->isEnabled();
}

void SeriesHeader::allowZero(bool allowed) {
  button("SBZERA")->setEnabled(allowed);
}

void SeriesHeader::setPrintButtonsEnabled(bool enabled) {
  button("SBIMPRESSORA")->setEnabled(enabled);
  button("SBIMPRESSORAPAISAGEM")->setEnabled(enabled);
}

void SeriesHeader::startOver() {
  allowZero(true);
  zeroed_ = false;
}

void SeriesHeader::letterChosen() {
  button("SBAEROBICA")->setEnabled(letter() == QStringLiteral("A"));
  allowZero(true);
}

// The sheet of the letter chosen goes to the member's e-mail as a PDF.
void SeriesHeader::SBENVIAREMAILClick() {
  if (ctx_.series.matricula.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool sent = mailSeriesSheet(ctx_.series.settings, {ctx_.series.matricula, letter(), false});
  QApplication::restoreOverrideCursor();
  if (sent) MENSAGEM(kInfo, Msg::EmailEnviadoComSucesso);
}

void SeriesHeader::SBZERAClick() {
  allowZero(false);
  zeroed_ = true;
  ctx_.workout->clear();
  emit workoutZeroed();
}

// ---------------------------------------------------------------------------------------------
// The weekdays of a block being opened

// The letter's weekdays as the other letters leave them, and its stored exercises unless it
// was zeroed; nothing (the user told why) when the letter cannot be opened.
std::optional<QList<WorkoutRow>> SeriesHeader::readLetter(WeekdayBoxes& boxes) {
  const QSqlDatabase db = ctx_.session.workout().database();
  const QString member = ctx_.series.matricula;
  try {
    const std::optional<QString> refusal = applyLetterRules(
        letter(), boxes, [&](const QString& l) { return storedDays(db, member, l); });
    days_->showBoxes(boxes);
    if (refusal) {
      MENSAGEM(kInfo, Msg::DadoIncorreto, *refusal);
      return std::nullopt;
    }
    return zeroed_ ? QList<WorkoutRow>() : currentWorkout(db, member, letter());
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Treino"));
    return std::nullopt;
  }
}

// The strength workout of the letter, on the weekdays it may take.
void SeriesHeader::SBEXERCICIOSClick() {
  ctx_.series.exerciseVideo = QString();
  WeekdayBoxes boxes = freshWeekdays();
  days_->showBoxes(boxes);
  button("BbnTamsel")->setEnabled(false);
  const std::optional<QList<WorkoutRow>> stored = readLetter(boxes);
  if (!stored) return;
  WorkoutModel* workout = ctx_.workout;
  workout->setEditing(true);
  if (allDaysTaken(boxes)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::TodosOsDias);
    return;
  }
  setBusy();
  workout->clear();
  zeroed_ = false;
  if (!stored->isEmpty()) {
    takeStoredDays(boxes, stored->first().days);
    days_->showBoxes(boxes);
    for (const WorkoutRow& row : *stored) workout->appendStored(row);
  }
  ctx_.flags.LIBERA = true;
  strengthDays_ = true;
  ctx_.host.showOnly(days_);
  emit strengthOpened();
}

// The aerobic block: every aerobic exercise, with the member's current block and its days.
void SeriesHeader::SBAEROBICAClick() {
  const QSqlDatabase db = ctx_.session.workout().database();
  QList<AerobicRow> rows;
  try {
    rows = aerobicCatalogue(db);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("TempAerobica"));
    return;
  }
  ctx_.flags.pBooVisualiza = false;
  days_->showBoxes(freshWeekdays());
  setBusy();
  std::optional<WeekdayFlags> days;
  try {
    days = loadCurrentAerobic(db, ctx_.series.matricula, rows);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("TempAerobica"));
    setIdle();
    return;
  }
  if (days) days_->tick(*days);
  ctx_.aerobic->setRows(rows);
  strengthDays_ = false;
  ctx_.host.showOnly(days_);
}

void SeriesHeader::daysCancelled() {
  days_->hide();
  setIdle();
  ctx_.workout->setEditing(false);
  CBTREINO->setFocus();
}
