#include "scheduling/weekly_agenda_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/named_button.h"
#include "forms/session.h"

namespace {

constexpr int kHourColumn = 0;
constexpr int kSaturdayColumn = 6;

// The hour is typed "HH:MM"; a full stop typed stands for the colon.
class HourEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->text() == QStringLiteral(".")) {
      insert(QStringLiteral(":"));
      return;
    }
    QLineEdit::keyPressEvent(event);
  }
};

class AgendaDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    QLineEdit* edit = index.column() == kHourColumn ? new HourEdit(parent) : new QLineEdit(parent);
    edit->setMaxLength(index.column() == kHourColumn ? 5 : 10);
    edit->setFrame(false);
    return edit;
  }
};

}  // namespace

void WeeklyAgendaModel::setRows(QList<AgendaRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void WeeklyAgendaModel::insertBlank(int at) {
  beginInsertRows({}, at, at);
  rows_.insert(at, AgendaRow{});
  endInsertRows();
}

void WeeklyAgendaModel::removeAt(int at) {
  beginRemoveRows({}, at, at);
  rows_.removeAt(at);
  endRemoveRows();
}

int WeeklyAgendaModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int WeeklyAgendaModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 7;
}

QVariant WeeklyAgendaModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const AgendaSlot& slot = rows_[index.row()].slot;
  return index.column() == kHourColumn ? slot.hora : slot.evaluators[size_t(index.column() - 1)];
}

QVariant WeeklyAgendaModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const QStringList headings{
      QStringLiteral("Hora"),   QStringLiteral("Segunda"), QStringLiteral("Terça"),
      QStringLiteral("Quarta"), QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
      QStringLiteral("Sábado")};
  return headings.value(section);
}

bool WeeklyAgendaModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole) return false;
  AgendaSlot& slot = rows_[index.row()].slot;
  QString& cell =
      index.column() == kHourColumn ? slot.hora : slot.evaluators[size_t(index.column() - 1)];
  cell = value.toString().toUpper();
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags WeeklyAgendaModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

TFRMREAGENDA::TFRMREAGENDA(Session& session, QWidget* parent) : ChildWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMREAGENDA"));
  setWindowTitle(QStringLiteral("Agenda Montagem de Série"));
  auto* layout = new QVBoxLayout(this);
  model_ = new WeeklyAgendaModel(this);
  DBGAGENDA = new QTableView(this);
  DBGAGENDA->setObjectName(QStringLiteral("DBGAGENDA"));
  DBGAGENDA->setModel(model_);
  DBGAGENDA->setItemDelegate(new AgendaDelegate(DBGAGENDA));
  DBGAGENDA->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed);
  DBGAGENDA->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGAGENDA->verticalHeader()->setDefaultSectionSize(22);
  DBGAGENDA->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  DBGAGENDA->installEventFilter(this);
  layout->addWidget(DBGAGENDA, 1);
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  layout->addWidget(BBNRETORNA, 0, Qt::AlignRight);
  connect(BBNRETORNA, &QPushButton::clicked, this, &TFRMREAGENDA::BBNRETORNAClick);
  connect(DBGAGENDA->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TFRMREAGENDA::currentRowChanged);
  setPreferredSize(QSize(760, 420));
}

bool TFRMREAGENDA::ABRE_TABELAS() {
  if (!reload(0)) {
    MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
    return false;
  }
  DBGAGENDA->setFocus();
  return true;
}

bool TFRMREAGENDA::reload(int keepRow) {
  const Result<QList<AgendaSlot>> stored = readAgenda(session().workoutDatabase());
  if (!stored) {
    tell({Msg::AberturaDeTabela, QStringLiteral("SEAGENDA"), stored.failure().log});
    return false;
  }
  QList<AgendaRow> rows;
  for (const AgendaSlot& slot : *stored) rows << AgendaRow{slot, slot};
  // An empty grid offers its first row to type into.
  if (rows.isEmpty()) rows << AgendaRow{};
  moving_ = true;
  model_->setRows(rows);
  DBGAGENDA->setCurrentIndex(model_->index(std::clamp(keepRow, 0, int(rows.size()) - 1), 0));
  moving_ = false;
  return true;
}

bool TFRMREAGENDA::post(int row) {
  if (row < 0 || row >= model_->rowCount()) return true;
  AgendaRow& edited = model_->row(row);
  if (edited.blank() || !edited.changed()) return true;
  const Outcome stored = storeAgendaRow(session().workoutDatabase(), edited);
  if (stored) {
    edited.slot.hora = *typedHour(edited.slot.hora);
    edited.stored = edited.slot;
    const QModelIndex hour = model_->index(row, kHourColumn);
    emit model_->dataChanged(hour, hour);
    return true;
  }
  tell(stored.failure());
  // A row another workstation changed is shown as it now stands; a row refused for what was
  // typed stays as typed, under the cursor, to be mended.
  if (stored.failure().text == Msg::GravandoNaTabela) reload(row);
  return false;
}

void TFRMREAGENDA::commitTyping() {
  if (QWidget* editor = DBGAGENDA->indexWidget(DBGAGENDA->currentIndex())) {
    emit DBGAGENDA->itemDelegate()->commitData(editor);
    emit DBGAGENDA->itemDelegate()->closeEditor(editor);
  }
}

bool TFRMREAGENDA::postCurrent() {
  commitTyping();
  return post(DBGAGENDA->currentIndex().row());
}

void TFRMREAGENDA::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (moving_ || !previous.isValid()) return;
  const int left = previous.row();
  if (left < model_->rowCount() && model_->rows()[left].blank() && model_->rowCount() > 1 &&
      left != current.row()) {
    // A new row nobody wrote in goes away as the cursor leaves it.
    QTimer::singleShot(0, this, [this, left] {
      if (left < model_->rowCount() && model_->rows()[left].blank() &&
          DBGAGENDA->currentIndex().row() != left) {
        moving_ = true;
        model_->removeAt(left);
        moving_ = false;
      }
    });
    return;
  }
  if (!post(left)) {
    QTimer::singleShot(0, this, [this, left, column = previous.column()] {
      moving_ = true;
      DBGAGENDA->setCurrentIndex(model_->index(std::min(left, model_->rowCount() - 1), column));
      moving_ = false;
    });
  }
}

bool TFRMREAGENDA::eventFilter(QObject* watched, QEvent* event) {
  // Keys typed in a cell's editor come here too, on their way up from the editor.
  if (watched == DBGAGENDA && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        enterPressed();
        return true;
      case Qt::Key_Insert:
        insertPressed();
        return true;
      case Qt::Key_Delete:
        if (!(key->modifiers() & Qt::ControlModifier)) deletePressed();
        return true;
      default:
        break;
    }
  }
  return ChildWindow::eventFilter(watched, event);
}

void TFRMREAGENDA::enterPressed() {
  commitTyping();
  const QModelIndex at = DBGAGENDA->currentIndex();
  if (!at.isValid()) return;
  if (at.column() < kSaturdayColumn) {
    DBGAGENDA->setCurrentIndex(model_->index(at.row(), at.column() + 1));
    return;
  }
  if (at.row() == model_->rowCount() - 1) {
    if (model_->rows()[at.row()].blank() || !post(at.row())) return;
    model_->insertBlank(model_->rowCount());
  }
  DBGAGENDA->setCurrentIndex(model_->index(at.row() + 1, kHourColumn));
}

void TFRMREAGENDA::insertPressed() {
  const int at = std::max(0, DBGAGENDA->currentIndex().row());
  if (!postCurrent()) return;
  moving_ = true;
  model_->insertBlank(at);
  DBGAGENDA->setCurrentIndex(model_->index(at, kHourColumn));
  moving_ = false;
}

void TFRMREAGENDA::deletePressed() {
  const int at = DBGAGENDA->currentIndex().row();
  if (at < 0 || at >= model_->rowCount()) return;
  const AgendaRow doomed = model_->rows()[at];
  if (doomed.isStored() &&
      !deleteAgendaRow(session().workoutDatabase(), doomed.stored.hora).okOrTell())
    return;
  moving_ = true;
  model_->removeAt(at);
  if (model_->rowCount() == 0) model_->insertBlank(0);
  DBGAGENDA->setCurrentIndex(model_->index(std::min(at, model_->rowCount() - 1), kHourColumn));
  moving_ = false;
}

void TFRMREAGENDA::BBNRETORNAClick() {
  if (!postCurrent()) return;
  closeWindow();
}
