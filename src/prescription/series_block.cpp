#include "prescription/series_block.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "forms/named_button.h"
#include "prescription/workout_grid.h"
#include "series/workout_model.h"

SeriesBlock::SeriesBlock(const BuilderContext& context, QWidget* parent, const char* name)
    : QFrame(parent), ctx_(context) {
  setObjectName(QString::fromLatin1(name));
  setFrameShape(QFrame::StyledPanel);
}

WorkoutGrid* SeriesBlock::addTitledGrid(const QString& title, const char* gridName,
                                        QAbstractItemModel* model) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(title, this));
  auto* grid = new WorkoutGrid(this);
  grid->setObjectName(QString::fromLatin1(gridName));
  grid->setModel(model);
  layout->addWidget(grid, 1);
  return grid;
}

void SeriesBlock::addConfirmCancel(const char* confirmName, std::function<void()> onConfirm,
                                   const char* cancelName, std::function<void()> onCancel,
                                   bool escape) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* confirm = namedButton(this, confirmName, QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, std::move(onConfirm));
  QPushButton* cancel = namedButton(this, cancelName, QStringLiteral("Cancela"));
  connect(cancel, &QPushButton::clicked, this, std::move(onCancel));
  if (escape) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, cancel, &QPushButton::click);
  }
  buttons->addWidget(confirm);
  buttons->addWidget(cancel);
  static_cast<QBoxLayout*>(layout())->addLayout(buttons);
}

QModelIndex nextSeriesCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  const QAbstractItemModel* model = from.model();
  if (from.column() >= WorkoutModel::Intervalo) {
    if (from.row() + 1 >= model->rowCount()) return {};
    return model->index(from.row() + 1, WorkoutModel::Descricao);
  }
  return model->index(from.row(), from.column() + 1);
}
