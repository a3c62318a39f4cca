#include "prescription/strength_block.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/paged_grid.h"
#include "forms/session.h"
#include "forms/video_player.h"
#include "prescription/copy_from_dialog.h"
#include "prescription/series_service.h"
#include "prescription/workout_grid.h"
#include "registry/people_source.h"
#include "series/series_store.h"
#include "series/workout_model.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

StrengthBlock::StrengthBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLFILTRO") {
  Timer1.setInterval(2000);
  connect(&Timer1, &QTimer::timeout, this, &StrengthBlock::videoTick);
  auto* layout = new QHBoxLayout(this);
  buildPicking(layout);
  buildSeries(layout);
}

void StrengthBlock::buildPicking(QBoxLayout* layout) {
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Seleção dos Exercícios"), this));
  LBLGRUPAMENTO = new QLabel(QStringLiteral("Grupamento Muscular"), this);
  LBLGRUPAMENTO->setObjectName(QStringLiteral("LBLGRUPAMENTO"));
  left->addWidget(LBLGRUPAMENTO);
  CBGRUPAMENTOMUSCULAR = new QComboBox(this);
  CBGRUPAMENTOMUSCULAR->setObjectName(QStringLiteral("CBGRUPAMENTOMUSCULAR"));
  chooseOnlyList(CBGRUPAMENTOMUSCULAR);
  onFieldKeys(CBGRUPAMENTOMUSCULAR, [this] { EDTFILTRO->setFocus(); }, {});
  CBGRUPAMENTOMUSCULAR->installEventFilter(this);
  connect(CBGRUPAMENTOMUSCULAR, &QComboBox::activated, this, &StrengthBlock::groupChosen);
  left->addWidget(CBGRUPAMENTOMUSCULAR);
  EDTFILTRO = new QLineEdit(this);
  EDTFILTRO->setObjectName(QStringLiteral("EDTFILTRO"));
  upperCaseField(EDTFILTRO);
  EDTFILTRO->setMaxLength(35);
  onFieldKeys(EDTFILTRO, [this] { filterEntered(); }, {});
  EDTFILTRO->installEventFilter(this);
  connect(EDTFILTRO, &QLineEdit::textEdited, this, &StrengthBlock::filterEdited);
  left->addWidget(EDTFILTRO);
  DBGEXERCICIO_FILTRADO = new WorkoutGrid(this);
  DBGEXERCICIO_FILTRADO->setObjectName(QStringLiteral("DBGEXERCICIO_FILTRADO"));
  DBGEXERCICIO_FILTRADO->setToolTip(
      QStringLiteral("Clique Duplo Para Adicionar na Montagem de Série"));
  DBGEXERCICIO_FILTRADO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGEXERCICIO_FILTRADO->setSelectionBehavior(QAbstractItemView::SelectRows);
  makePagedGrid(DBGEXERCICIO_FILTRADO);
  DBGEXERCICIO_FILTRADO->horizontalHeader()->setStretchLastSection(true);
  DBGEXERCICIO_FILTRADO->setEnterMove([this](const QModelIndex&) {
    addExercise();
    return QModelIndex();
  });
  connect(DBGEXERCICIO_FILTRADO, &QTableView::doubleClicked, this, &StrengthBlock::addExercise);
  connect(DBGEXERCICIO_FILTRADO, &WorkoutGrid::cursorMoved, this,
          &StrengthBlock::pickingCursorMoved);
  left->addWidget(DBGEXERCICIO_FILTRADO, 1);
  // The names to pick from need a quarter of the width; the series being built, with its
  // remarks, takes the rest.
  layout->addLayout(left, 1);
}

void StrengthBlock::buildSeries(QBoxLayout* layout) {
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("Montagem das Séries"), this));
  DBGEXERCICIO_SERIE = new WorkoutGrid(this);
  DBGEXERCICIO_SERIE->setObjectName(QStringLiteral("DBGEXERCICIO_SERIE"));
  DBGEXERCICIO_SERIE->setToolTip(QStringLiteral(
      "Clique e arraste para mudar de ordem \n\rClique duplo para excluir o exercício"));
  DBGEXERCICIO_SERIE->setModel(ctx_.workout);
  DBGEXERCICIO_SERIE->fitWorkoutColumns();
  DBGEXERCICIO_SERIE->hideColumn(WorkoutModel::NovaOrdem);
  DBGEXERCICIO_SERIE->setEnterMove(nextSeriesCell);
  DBGEXERCICIO_SERIE->setDragColumns({WorkoutModel::Seq, WorkoutModel::Descricao});
  connect(DBGEXERCICIO_SERIE, &WorkoutGrid::rowDropped, this, &StrengthBlock::rowDropped);
  connect(DBGEXERCICIO_SERIE, &QTableView::doubleClicked, this, &StrengthBlock::deleteExercise);
  connect(DBGEXERCICIO_SERIE, &WorkoutGrid::cursorMoved, this, &StrengthBlock::seriesCursorMoved);
  right->addWidget(DBGEXERCICIO_SERIE, 1);
  LBLDESCRICAOVIDEO = new QLabel(this);
  LBLDESCRICAOVIDEO->setObjectName(QStringLiteral("LBLDESCRICAOVIDEO"));
  right->addWidget(LBLDESCRICAOVIDEO);
  WindowsMediaPlayer = new VideoPlayer(this);
  WindowsMediaPlayer->setObjectName(QStringLiteral("WindowsMediaPlayer"));
  WindowsMediaPlayer->setMinimumHeight(180);
  right->addWidget(WindowsMediaPlayer);
  connect(WindowsMediaPlayer, &VideoPlayer::failed, this, &StrengthBlock::videoTick);
  auto* buttons = new QHBoxLayout;
  QPushButton* video = namedButton(this, "BBNVIDEO", QStringLiteral("Vídeo"));
  video->setToolTip(QStringLiteral("Vídeo"));
  connect(video, &QPushButton::clicked, this, &StrengthBlock::BBNVIDEOClick);
  buttons->addWidget(video);
  // One step up or down without dragging (Ctrl+Up and Ctrl+Down on the grid do the same).
  for (auto [name, caption, hint, step] :
       {std::tuple{"SBSOBE", "▲", "Sobe o exercício (Ctrl+Seta acima)", -1},
        std::tuple{"SBDESCE", "▼", "Desce o exercício (Ctrl+Seta abaixo)", 1}}) {
    QPushButton* move = namedButton(this, name, QString::fromUtf8(caption), QString::fromUtf8(hint));
    move->setFixedWidth(move->sizeHint().height() + 8);
    connect(move, &QPushButton::clicked, this, [this, step] { moveExercise(step); });
    buttons->addWidget(move);
  }
  DBGEXERCICIO_SERIE->installEventFilter(this);
  QPushButton* copy = namedButton(this, "SBCOPIARDE", QStringLiteral("Copiar de"),
                                  QStringLiteral("Traz o treino de outro aluno"));
  connect(copy, &QPushButton::clicked, this, &StrengthBlock::SBCOPIARDEClick);
  buttons->addWidget(copy);
  buttons->addStretch();
  QPushButton* confirm = namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, &StrengthBlock::BBNCONFIRMAClick);
  buttons->addWidget(confirm);
  QPushButton* cancel = namedButton(this, "BBNCANCELA", QStringLiteral("Cancela"));
  connect(cancel, &QPushButton::clicked, this, &StrengthBlock::BBNCANCELAClick);
  buttons->addWidget(cancel);
  right->addLayout(buttons);
  layout->addLayout(right, 3);
}

// ---------------------------------------------------------------------------------------------
// Opening, entering and leaving

// The gym picks exercises by muscle group.
bool StrengthBlock::groupsOn() const {
  return ctx_.series.settings.grupamentoMuscular == QStringLiteral("Sim");
}

std::optional<Failure> StrengthBlock::open() {
  const bool groups = groupsOn();
  try {
    const QStringList entries = muscleGroupEntries(ctx_.session.workout().database());
    if (groups) CBGRUPAMENTOMUSCULAR->addItems(entries);
  } catch (const SqlError&) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("GrupamentoMuscular"), {}};
  }
  if (!fillPicking()) return Failure{Msg::AberturaDeTabela, QStringLiteral("Exercicios"), {}};
  LBLGRUPAMENTO->setVisible(groups);
  CBGRUPAMENTOMUSCULAR->setVisible(groups);
  return std::nullopt;
}

void StrengthBlock::enter() {
  ctx_.host.showOnly(this);
  fillPicking();
  EDTFILTRO->clear();
  EDTFILTRO->setFocus();
  if (ctx_.workout->rowCount() > 0)
    DBGEXERCICIO_SERIE->setCurrentIndex(ctx_.workout->index(0, WorkoutModel::Seq));
  ctx_.host.allowZero(true);
}

void StrengthBlock::startLetter() {
  if (CBGRUPAMENTOMUSCULAR->isVisible() || groupsOn())
    CBGRUPAMENTOMUSCULAR->setCurrentIndex(CBGRUPAMENTOMUSCULAR->count() > 0 ? 0 : -1);
}

void StrengthBlock::pickFromTop() {
  if (picking_) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(0, 0));
}

void StrengthBlock::focusFirstField() {
  EDTFILTRO->setFocus();
}

void StrengthBlock::BBNCANCELAClick() {
  DBGEXERCICIO_SERIE->cancelEdit();
  ctx_.host.headerIdle();
  hide();
  ctx_.workout->setEditing(false);
}

// Saved, the workout may be reordered; not saved, it stays on screen as typed, to be saved
// again. "Zera Musculação" keeps what it was either way.
void StrengthBlock::BBNCONFIRMAClick() {
  DBGEXERCICIO_SERIE->commitEdit();
  BuilderHost& host = ctx_.host;
  const bool zeroable = host.zeroAllowed();
  host.headerIdle();
  host.allowZero(zeroable);
  findChild<QPushButton*>(QStringLiteral("BBNCANCELA"))->setEnabled(true);
  hide();
  const QModelIndex remembered = DBGEXERCICIO_SERIE->currentIndex();
  const std::optional<int> stored = host.saveWorkout();
  if (!stored) {
    host.headerBusy();
    host.allowZero(zeroable);
    host.showOnly(this);
    DBGEXERCICIO_SERIE->setFocus();
    return;
  }
  ctx_.workout->setEditing(false);
  if (remembered.isValid() && remembered.row() < ctx_.workout->rowCount())
    DBGEXERCICIO_SERIE->setCurrentIndex(remembered);
  if (*stored < 2) return;
  if (MENSAGEM(QStringLiteral("?"), SeriesText::DesejaAlterarOrdem) == kAnswerYes)
    host.openReorder();
}

bool StrengthBlock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CBGRUPAMENTOMUSCULAR) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      browsingGroups_ = key != Qt::Key_Return && key != Qt::Key_Enter;
    } else if (event->type() == QEvent::MouseButtonPress) {
      browsingGroups_ = false;
    }
  }
  if (watched == DBGEXERCICIO_SERIE && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::ControlModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      moveExercise(key->key() == Qt::Key_Up ? -1 : 1);
      return true;
    }
  }
  if (watched == EDTFILTRO && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
    DBGEXERCICIO_FILTRADO->setFocus();
    return true;
  }
  return SeriesBlock::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Picking

bool StrengthBlock::fillPicking() {
  std::optional<QString> group;
  if (groupsOn() && CBGRUPAMENTOMUSCULAR->currentIndex() >= 0)
    group = CBGRUPAMENTOMUSCULAR->currentText().left(2);
  const Connection& workout = ctx_.session.workout();
  PagedTableModel* fresh = pickingModel(workout.database(), workout.dialect(), group, this);
  const bool read = fresh->refresh();
  // The grid lets go of the old list before it goes.
  DBGEXERCICIO_FILTRADO->setModel(fresh);
  delete picking_;
  picking_ = fresh;
  DBGEXERCICIO_FILTRADO->horizontalHeader()->setStretchLastSection(true);
  if (picking_->rowCount() > 0) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(0, 0));
  return read;
}

// The exercise of the picking list under the cursor: its code, name and equipment.
QSqlRecord StrengthBlock::pickedExercise() const {
  const int row = DBGEXERCICIO_FILTRADO->currentIndex().row();
  return picking_ && row >= 0 ? picking_->record(row) : QSqlRecord();
}

void StrengthBlock::groupChosen() {
  if (!fillPicking()) MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Exercicios"));
  // A group picked from the list is where the instructor types next; one reached by arrows or
  // letters in the closed list is still being looked for (Enter then moves on).
  if (!browsingGroups_) EDTFILTRO->setFocus();
  browsingGroups_ = false;
}

void StrengthBlock::filterEdited(const QString& text) {
  const int row = picking_ ? picking_->rowAtOrAfter(text, true) : -1;
  if (row >= 0) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(row, 0));
}

void StrengthBlock::filterEntered() {
  if (EDTFILTRO->text().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Descrição"));
    return;
  }
  // The cursor stays where the last match left it; with nothing matching, Enter would add an
  // exercise the instructor never asked for.
  if (!picking_ || picking_->rowAtOrAfter(EDTFILTRO->text(), true) < 0) {
    MENSAGEM(kInfo, SeriesText::NenhumExercicioComeca, EDTFILTRO->text());
    EDTFILTRO->setFocus();
    EDTFILTRO->selectAll();
    return;
  }
  addExercise();
}

void StrengthBlock::pickingCursorMoved() {
  const QSqlRecord exercise = pickedExercise();
  if (!exercise.isEmpty())
    showExerciseUnderCursor(exercise.value(QStringLiteral("Codigo")).toString(),
                            exercise.value(QStringLiteral("Descricao")).toString());
}

void StrengthBlock::seriesCursorMoved() {
  const int row = DBGEXERCICIO_SERIE->currentIndex().row();
  const WorkoutModel* workout = ctx_.workout;
  if (row >= 0 && row < workout->rowCount())
    showExerciseUnderCursor(workout->rows()[row].code, workout->rows()[row].descricao);
}

void StrengthBlock::showExerciseUnderCursor(const QString& code, const QString& descricao) {
  ctx_.series.exerciseVideo = code.left(3);
  LBLDESCRICAOVIDEO->setText(descricao);
}

// ---------------------------------------------------------------------------------------------
// The workout grid

void StrengthBlock::addExercise() {
  const QSqlRecord exercise = pickedExercise();
  if (!exercise.isEmpty()) {
    const QString code = exercise.value(QStringLiteral("Codigo")).toString();
    const QString descricao = exercise.value(QStringLiteral("Descricao")).toString();
    if (ctx_.workout->containsCode(code) && !ctx_.series.settings.exerciseTwiceInSeries()) {
      MENSAGEM(kInfo, QString(), SeriesText::ExercicioJaSelecionado);
    } else {
      ctx_.workout->appendExercise(code, descricao,
                                   exercise.value(QStringLiteral("Aparelho")).toString());
      showExerciseUnderCursor(code, descricao);
      playExerciseVideo();
    }
  }
  EDTFILTRO->clear();
  EDTFILTRO->setFocus();
  ctx_.flags.LIBERA = true;
}

void StrengthBlock::SBCOPIARDEClick() {
  TFRMCOPIARDE dialog(peopleTables(ctx_.series.settings), DBGEXERCICIO_SERIE);
  if (dialog.exec() == QDialog::Accepted) copyWorkout(dialog.matricula(), dialog.letter());
}

// The other member's rows come in as if picked by hand, with their prescription: an exercise
// already in the workout is refused as a second pick would be.
void StrengthBlock::copyWorkout(const QString& matricula, const QString& letter) {
  const Result<QList<WorkoutRow>> rows =
      workoutToCopy(ctx_.session.workoutDatabase(), matricula, letter);
  if (!rows.okOrTell()) return;
  for (const WorkoutRow& row : *rows) {
    if (ctx_.workout->containsCode(row.code) && !ctx_.series.settings.exerciseTwiceInSeries()) {
      MENSAGEM(kInfo, QString(), SeriesText::ExercicioJaSelecionado);
      continue;
    }
    ctx_.workout->appendCopied(row);
  }
  ctx_.flags.LIBERA = true;
}

void StrengthBlock::deleteExercise() {
  WorkoutModel* workout = ctx_.workout;
  if (workout->rowCount() == 0) return;
  const QModelIndex current = DBGEXERCICIO_SERIE->currentIndex();
  if (MENSAGEM(QStringLiteral("?"), SeriesText::DesejaApagarSerie) != kAnswerYes) return;
  const int row = current.isValid() ? current.row() : 0;
  workout->removeAndRenumber(row);
  if (workout->rowCount() > 0)
    DBGEXERCICIO_SERIE->setCurrentIndex(
        workout->index(qMin(row, workout->rowCount() - 1), qMax(current.column(), 0)));
}

void StrengthBlock::moveExercise(int step) {
  const int row = DBGEXERCICIO_SERIE->currentIndex().row();
  const int onto = row + step;
  if (row < 0 || onto < 0 || onto >= ctx_.workout->rowCount()) return;
  rowDropped(row, onto);
}

void StrengthBlock::rowDropped(int from, int onto) {
  WorkoutModel* workout = ctx_.workout;
  const int at = workout->dragRow(from, workout->ordemAt(onto), false);
  DBGEXERCICIO_SERIE->setCurrentIndex(
      workout->index(at, qMax(DBGEXERCICIO_SERIE->currentIndex().column(), 0)));
}

// ---------------------------------------------------------------------------------------------
// Video

void StrengthBlock::BBNVIDEOClick() {
  if (!playExerciseVideo()) MENSAGEM(kInfo, SeriesText::SemVideo, LBLDESCRICAOVIDEO->text());
}

bool StrengthBlock::playExerciseVideo() {
  stopVideo();
  QString path;
  try {
    path = exerciseVideoPath(ctx_.session.workout().database(), ctx_.series.exerciseVideo);
  } catch (const SqlError&) {
    return false;  // a video that cannot be looked up is a video not shown; the work goes on
  }
  if (path.isEmpty()) return false;
  if (WindowsMediaPlayer->play(path)) Timer1.start();
  return true;
}

// Every two seconds: while the video plays nothing happens; once it ended, or never started,
// the player goes away.
void StrengthBlock::videoTick() {
  if (WindowsMediaPlayer->playing()) return;
  stopVideo();
  for (QWidget* w : QList<QWidget*>{EDTFILTRO, DBGEXERCICIO_FILTRADO, DBGEXERCICIO_SERIE})
    w->setEnabled(true);
  for (const char* name : {"BBNVIDEO", "BBNCONFIRMA", "BBNCANCELA"})
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(true);
}

void StrengthBlock::stopVideo() {
  Timer1.stop();
  WindowsMediaPlayer->stop();
}
