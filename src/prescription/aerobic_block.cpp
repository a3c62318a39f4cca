#include "prescription/aerobic_block.h"

#include <QHeaderView>

#include "prescription/workout_grid.h"
#include "series/aerobic_model.h"

namespace {

// Enter goes to the next column, and from the level to the duration of the next row.
QModelIndex nextAerobicCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  if (from.column() >= AerobicModel::Nivel) {
    if (from.row() + 1 >= from.model()->rowCount()) return {};
    return from.model()->index(from.row() + 1, AerobicModel::Duracao);
  }
  return from.model()->index(from.row(), from.column() + 1);
}

}  // namespace

AerobicBlock::AerobicBlock(const BuilderContext& context, QWidget* parent)
    : SeriesBlock(context, parent, "PNLAEROBICA") {
  DBGAEROBICA = addTitledGrid(QStringLiteral("Atividade Aeróbica"), "DBGAEROBICA", ctx_.aerobic);
  DBGAEROBICA->setColumnWidth(AerobicModel::Descricao, 300);
  for (int c = AerobicModel::Duracao; c <= AerobicModel::Nivel; ++c)
    DBGAEROBICA->setColumnWidth(c, 150);
  DBGAEROBICA->horizontalHeader()->setStretchLastSection(true);
  auto* decimals = new DecimalCommaDelegate(DBGAEROBICA);
  DBGAEROBICA->setItemDelegateForColumn(AerobicModel::Velocidade, decimals);
  DBGAEROBICA->setItemDelegateForColumn(AerobicModel::Nivel, decimals);
  DBGAEROBICA->setEnterMove(nextAerobicCell);
  connect(DBGAEROBICA, &QTableView::clicked, this, &AerobicBlock::cellClicked);
  addConfirmCancel(
      "BBNCONFIRMAAEROBICA", [this] { BBNCONFIRMAAEROBICAClick(); }, "BBNCANCELAAEROBICA",
      [this] { BBNCANCELAAEROBICAClick(); }, true);
}

void AerobicBlock::enter() {
  ctx_.host.showOnly(this);
  DBGAEROBICA->setFocus();
  if (ctx_.aerobic->rowCount() > 0)
    DBGAEROBICA->setCurrentIndex(ctx_.aerobic->index(0, AerobicModel::Duracao));
}

void AerobicBlock::focusFirstField() {
  DBGAEROBICA->setFocus();
}

// A click on the name or the duration lands on the speed, the first cell usually typed.
void AerobicBlock::cellClicked(const QModelIndex& index) {
  if (index.column() == AerobicModel::Descricao || index.column() == AerobicModel::Duracao)
    DBGAEROBICA->setCurrentIndex(ctx_.aerobic->index(index.row(), AerobicModel::Velocidade));
}

void AerobicBlock::BBNCONFIRMAAEROBICAClick() {
  DBGAEROBICA->commitEdit();
  ctx_.host.headerIdle();
  hide();
  const QModelIndex remembered = DBGAEROBICA->currentIndex();
  if (!ctx_.host.saveAerobic()) {
    // Nothing was stored: the block stays on screen as typed.
    ctx_.host.headerBusy();
    ctx_.host.showOnly(this);
    DBGAEROBICA->setFocus();
    return;
  }
  if (remembered.isValid()) DBGAEROBICA->setCurrentIndex(remembered);
}

void AerobicBlock::BBNCANCELAAEROBICAClick() {
  DBGAEROBICA->cancelEdit();
  ctx_.host.headerIdle();
  hide();
}
