#include "registry/member_search.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "data/connection.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "forms/paged_grid.h"
#include "forms/search_panel.h"
#include "registry/photo_store.h"

namespace {

const QString kMatricula = QStringLiteral("MATRICULA");
const QString kNome = QStringLiteral("NOME");

SearchPanel::Order searchOrder(MemberKey key) {
  SearchPanel::Order order =
      key == MemberKey::Matricula
          ? SearchPanel::Order{QStringLiteral("PNLMATRICULA"), QStringLiteral("Matrícula"), 0}
          : SearchPanel::Order{QStringLiteral("PNLNOME"), QStringLiteral("Nome"), 0};
  order.maxLength = searchFieldLength(key);
  order.accepts = [key](QChar c) { return searchFieldAccepts(key, c); };
  return order;
}

MemberKey keyOf(int order) {
  return order == 0 ? MemberKey::Matricula : MemberKey::Nome;
}

QStringList orderOf(MemberKey key) {
  return {key == MemberKey::Matricula ? kMatricula : kNome};
}

}  // namespace

MemberSearch::MemberSearch(UnmatchedName unmatched, QWidget* parent, const QString& fieldCaption)
    : QWidget(parent), unmatched_(unmatched) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  panel_ = new SearchPanel(this, searchOrder(MemberKey::Matricula), searchOrder(MemberKey::Nome));
  panel_->findChild<QPushButton*>(QStringLiteral("BBNCANCELAP"))->hide();
  if (fieldCaption.isEmpty()) {
    layout->addWidget(panel_);
  } else {
    auto* group = new QGroupBox(fieldCaption, this);
    (new QVBoxLayout(group))->addWidget(panel_);
    layout->addWidget(group);
  }
  connect(panel_, &SearchPanel::orderChosen, this,
          [this](int order) { orderBy(keyOf(order), true); });
  connect(panel_, &SearchPanel::textEdited, this, &MemberSearch::textEdited);
  connect(panel_, &SearchPanel::entered, this, &MemberSearch::entered);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("DBGALUNOS"));
  grid_->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the grid for the next control rather than walking its two columns.
  grid_->setTabKeyNavigation(false);
  makePagedGrid(grid_);
  grid_->installEventFilter(this);
  layout->addWidget(grid_, 1);
}

MemberSearch::~MemberSearch() {
  close();
}

bool MemberSearch::open(const Connection& people, const QString& table) {
  close();
  members_ = new PagedTableModel(
      people.database(), people.dialect(), table,
      {{kMatricula, QStringLiteral("Matrícula")}, {kNome, QStringLiteral("Nome")}}, {kMatricula},
      this);
  if (!members_->refresh()) return false;
  grid_->setModel(members_);
  grid_->horizontalHeader()->setStretchLastSection(true);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &MemberSearch::currentRowChanged);
  return true;
}

void MemberSearch::close() {
  // The grid lets go of the members before their connection goes.
  grid_->setModel(nullptr);
  delete members_;
  members_ = nullptr;
}

MemberKey MemberSearch::key() const {
  return keyOf(panel_->order());
}

void MemberSearch::setKey(MemberKey key) {
  panel_->setOrder(key == MemberKey::Matricula ? 0 : 1);
  orderBy(key, false);
}

QLineEdit* MemberSearch::text() const {
  return panel_->text();
}

QSqlRecord MemberSearch::current() const {
  if (!members_) return {};
  const QModelIndex at = grid_->currentIndex();
  return at.isValid() ? members_->record(at.row()) : QSqlRecord();
}

void MemberSearch::goToRow(int row) {
  if (members_ && row >= 0) grid_->setCurrentIndex(members_->index(row, 0));
}

bool MemberSearch::locate(const QString& matricula) {
  const int row = members_ ? memberRow(*members_, matricula) : -1;
  goToRow(row);
  return row >= 0;
}

void MemberSearch::orderBy(MemberKey key, bool reread) {
  if (!members_) return;
  const QString standing = current().value(kMatricula).toString();
  // Members added at other workstations count from here on.
  if (reread) members_->refresh();
  if (members_->order() != orderOf(key)) members_->setOrder(orderOf(key));
  // The list changes order, not member.
  if (!standing.isEmpty() && current().value(kMatricula).toString() != standing)
    goToRow(members_->rowOfKey(standing));
}

void MemberSearch::textEdited(const QString& text) {
  if (!members_) return;
  const QModelIndex at = grid_->currentIndex();
  const SearchStep step =
      searchTyped(*members_, key(), text, at.isValid() ? at.row() : -1, unmatched_);
  goToRow(step.row);
  emit typed(step);
}

std::optional<QSqlRecord> MemberSearch::enter(const QString& typed, const QString& remembered) {
  if (!members_) return std::nullopt;
  const Result<int> row = searchEntered(*members_, key(), typed, remembered);
  if (!row.okOrTell()) {
    if (!typed.isEmpty()) panel_->text()->clear();
    return std::nullopt;
  }
  goToRow(*row);
  return current();
}

void MemberSearch::showFound(const QSqlRecord& member) {
  panel_->showResult(member.value(kMatricula).toString() + QStringLiteral(" - ") +
                     member.value(kNome).toString());
}

bool MemberSearch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Insert || key == Qt::Key_Delete) return true;
  }
  if (watched == grid_ && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Insert && key != Qt::Key_Delete) emit gridKeyReleased();
  }
  return QWidget::eventFilter(watched, event);
}

void showPhoto(QLabel* frame, const QImage& picture) {
  if (picture.isNull())
    frame->clear();
  else
    frame->setPixmap(QPixmap::fromImage(
        picture.scaled(frame->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

std::optional<QImage> showMemberPhoto(QLabel* frame, const QSqlDatabase& db, const QString& photos,
                                      const QString& matricula) {
  if (matricula.isEmpty()) return std::nullopt;
  std::optional<QImage> picture;
  try {
    picture = pictureToShow(db, photos, matricula, frame->size());
  } catch (const SqlError&) {
    return std::nullopt;
  }
  if (picture) showPhoto(frame, *picture);
  return picture;
}
