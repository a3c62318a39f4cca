#include "prescription/reorder_block.h"

#include <QBoxLayout>
#include <QIdentityProxyModel>
#include <QPushButton>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "prescription/series_service.h"
#include "prescription/workout_grid.h"
#include "series/series_store.h"
#include "series/workout_model.h"

namespace {

const QString kInfo = QStringLiteral("!");

// The reorder grid calls the first column "Ordem".
class ReorderHeaders : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == WorkoutModel::Seq)
      return QStringLiteral("Ordem");
    return QIdentityProxyModel::headerData(section, orientation, role);
  }
};

// Enter in "Nova Ordem" goes to the next row, elsewhere to "Nova Ordem".
QModelIndex nextReorderCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  if (from.column() != WorkoutModel::NovaOrdem)
    return from.model()->index(from.row(), WorkoutModel::NovaOrdem);
  if (from.row() + 1 >= from.model()->rowCount()) return {};
  return from.model()->index(from.row() + 1, WorkoutModel::NovaOrdem);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The view

WorkoutViewBlock::WorkoutViewBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLVISUALIZA") {
  DBGVISUALIZA = addTitledGrid(QStringLiteral("Visualiza Treino"), "DBGVISUALIZA", ctx_.workout);
  DBGVISUALIZA->fitWorkoutColumns();
  DBGVISUALIZA->hideColumn(WorkoutModel::NovaOrdem);
  DBGVISUALIZA->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGVISUALIZA->setEnterMove(nextSeriesCell);
  QPushButton* back = namedButton(this, "BBNRETORNA", QStringLiteral("Retorna"));
  connect(back, &QPushButton::clicked, this, &WorkoutViewBlock::BBNRETORNAClick);
  static_cast<QBoxLayout*>(layout())->addWidget(back, 0, Qt::AlignRight);
}

void WorkoutViewBlock::enter() {
  ctx_.host.showOnly(this);
  if (ctx_.workout->rowCount() > 0) DBGVISUALIZA->setCurrentIndex(ctx_.workout->index(0, 0));
}

void WorkoutViewBlock::focusFirstField() {
  DBGVISUALIZA->setFocus();
}

void WorkoutViewBlock::BBNRETORNAClick() {
  ctx_.host.headerIdle();
  hide();
  ctx_.flags.MLIBERA_ORDEM = false;
}

// ---------------------------------------------------------------------------------------------
// The reorder

ReorderBlock::ReorderBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLNOVA_ORDEM") {
  auto* headers = new ReorderHeaders(this);
  headers->setSourceModel(ctx_.workout);
  DBGNOVA_ORDEM = addTitledGrid(QStringLiteral("Nova Ordem"), "DBGNOVA_ORDEM", headers);
  DBGNOVA_ORDEM->setToolTip(QStringLiteral("Clique e arraste para mudar de ordem "));
  DBGNOVA_ORDEM->fitWorkoutColumns();
  for (int c = WorkoutModel::Series; c <= WorkoutModel::Obs; ++c) DBGNOVA_ORDEM->hideColumn(c);
  DBGNOVA_ORDEM->setEnterMove(nextReorderCell);
  DBGNOVA_ORDEM->setDragColumns({WorkoutModel::Seq, WorkoutModel::Descricao});
  connect(DBGNOVA_ORDEM, &WorkoutGrid::rowDropped, this, &ReorderBlock::rowDropped);
  addConfirmCancel(
      "BBNCONFIRMA_ORDEM", [this] { BBNCONFIRMA_ORDEMClick(); }, "BBNCANCELA_ORDEM",
      [this] { BBNCANCELA_ORDEMClick(); }, false);
  view_ = new WorkoutViewBlock(context, parent);
}

void ReorderBlock::open() {
  BuilderFlags& flags = ctx_.flags;
  flags.pBooVisualiza = false;
  flags.LIBERA = false;
  ctx_.host.showOnly(this);
  ctx_.host.headerBusy();
  WorkoutModel* workout = ctx_.workout;
  workout->clear();
  try {
    for (const WorkoutRow& row :
         workoutOfDay(ctx_.session.workout().database(), ctx_.series.matricula, ctx_.host.letter(),
                      QDate::currentDate()))
      workout->appendStored(row);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Treino"));
    ctx_.host.headerIdle();
    return;
  }
  flags.MLIBERA_ORDEM = true;
  DBGNOVA_ORDEM->setFocus();
  if (workout->rowCount() > 0)
    DBGNOVA_ORDEM->setCurrentIndex(DBGNOVA_ORDEM->model()->index(0, WorkoutModel::NovaOrdem));
}

void ReorderBlock::focusFirstField() {
  DBGNOVA_ORDEM->setFocus();
}

void ReorderBlock::rowDropped(int from, int onto) {
  WorkoutModel* workout = ctx_.workout;
  const int at = workout->dragRow(from, workout->ordemAt(onto), true);
  DBGNOVA_ORDEM->setCurrentIndex(DBGNOVA_ORDEM->model()->index(at, WorkoutModel::NovaOrdem));
}

// Every row needs its new order, each order once; left all empty, the panel just closes.
void ReorderBlock::BBNCONFIRMA_ORDEMClick() {
  DBGNOVA_ORDEM->cancelEdit();
  const NewOrderCheck check = checkNewOrders(ctx_.workout->newOrders());
  if (check.outcome == NewOrderCheck::Unfilled) {
    hide();
    ctx_.host.headerIdle();
    return;
  }
  if (check.outcome == NewOrderCheck::Refused) {
    MENSAGEM(kInfo, check.text);
    return;
  }
  ctx_.flags.MLIBERA_ORDEM = false;
  if (!writeOrders()) {
    ctx_.host.headerIdle();
    return;
  }
  ctx_.flags.pBooVisualiza = true;
  view_->enter();
}

// Today's rows renumbered (and the portal's copy with them), then read back as stored.
bool ReorderBlock::writeOrders() {
  const QSqlDatabase db = ctx_.session.workout().database();
  const SeriesSession& series = ctx_.series;
  const QString letter = ctx_.host.letter();
  std::optional<int> cliente;
  if (series.settings.portalOn()) cliente = int(series.settings.cliente.value_or(0));
  WorkoutModel* workout = ctx_.workout;
  std::optional<Failure> portalRefused;
  if (!writeNewOrder(db, series.matricula, letter, QDate::currentDate(), workout->rows(), cliente,
                     &portalRefused)
           .okOrTell())
    return false;
  if (portalRefused) tell(*portalRefused);
  workout->clear();
  try {
    for (const WorkoutRow& row : currentWorkout(db, series.matricula, letter))
      workout->appendStored(row);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("TempExercicio"));
  }
  return true;
}

void ReorderBlock::BBNCANCELA_ORDEMClick() {
  ctx_.host.headerIdle();
  ctx_.flags.MLIBERA_ORDEM = false;
  hide();
}
