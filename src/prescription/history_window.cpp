#include "prescription/history_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "prescription/sheet_mail.h"
#include "printing/report_output.h"
#include "printouts/history_sheet.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kMatricula = QStringLiteral("MATRICULA");
constexpr int kDateRole = Qt::UserRole + 1;

}  // namespace

TFRMHISTORICOSERIES::TFRMHISTORICOSERIES(Session& session, QWidget* shortcut, QWidget* parent)
    : MemberListDialog(session, shortcut, parent, UnmatchedName::KeepCurrent,
                       QStringLiteral("historico-alunos")) {
  setObjectName(QStringLiteral("TFRMHISTORICOSERIES"));
  setWindowTitle(QStringLiteral("Histórico de Séries"));
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  search_->setObjectName(QStringLiteral("GBPESQUISA"));
  search_->grid()->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  connect(search_, &MemberSearch::typed, this, &TFRMHISTORICOSERIES::searchTyped);
  connect(search_, &MemberSearch::entered, this, &TFRMHISTORICOSERIES::searchEntered);
  connect(search_, &MemberSearch::gridKeyReleased, this,
          [this] { selected_ = search_->current().value(kMatricula).toString(); });
  connect(search_, &MemberSearch::currentRowChanged, this, &TFRMHISTORICOSERIES::MOSTRA_FOTO);
  connect(search_->grid(), &QTableView::doubleClicked, this,
          &TFRMHISTORICOSERIES::DBGALUNOSDblClick);
  search_->grid()->installEventFilter(this);
  left->addWidget(search_, 1);

  // The list of dated workouts takes the member grid's place while it is shown.
  PNLTREINO = new QWidget(this);
  PNLTREINO->setObjectName(QStringLiteral("PNLTREINO"));
  auto* list = new QVBoxLayout(PNLTREINO);
  list->setContentsMargins(0, 0, 0, 0);
  workouts_ = new QStandardItemModel(0, 2, this);
  workouts_->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Treino")});
  DBGTREINO = new QTableView(PNLTREINO);
  DBGTREINO->setObjectName(QStringLiteral("DBGTREINO"));
  DBGTREINO->setModel(workouts_);
  DBGTREINO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGTREINO->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGTREINO->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGTREINO->verticalHeader()->hide();
  DBGTREINO->horizontalHeader()->setStretchLastSection(true);
  DBGTREINO->installEventFilter(this);
  connect(DBGTREINO, &QTableView::doubleClicked, this, &TFRMHISTORICOSERIES::DBGTREINODblClick);
  list->addWidget(DBGTREINO, 1);
  BBNRETORNA = namedButton(PNLTREINO, "BBNRETORNA", QStringLiteral("Retorna"),
                           QStringLiteral("Retorna"));
  connect(BBNRETORNA, &QPushButton::clicked, this, &TFRMHISTORICOSERIES::BBNRETORNAClick);
  auto* mail = namedButton(PNLTREINO, "BBNENVIAREMAIL", QStringLiteral("Enviar por e-mail"),
                           QStringLiteral("Enviar por e-mail"));
  connect(mail, &QPushButton::clicked, this, [this] {
    // The member's current sheet of the letter under the cursor goes as a PDF.
    const int row = DBGTREINO->currentIndex().row();
    if (row < 0 || selected_.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool sent = mailSeriesSheet(session_.settings(),
                                      {selected_, workouts_->item(row, 1)->text(), false});
    QApplication::restoreOverrideCursor();
    if (sent) MENSAGEM(kInfo, Msg::EmailEnviadoComSucesso);
  });
  list->addWidget(mail);
  list->addWidget(BBNRETORNA);
  PNLTREINO->hide();
  left->addWidget(PNLTREINO, 1);
  layout->addLayout(left, 1);

  auto* side = new QVBoxLayout;
  side->addWidget(photoBox());
  side->addStretch();
  BBNSAIR = namedButton(this, "BBNSAIR", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(BBNSAIR, &QPushButton::clicked, this, &QDialog::reject);
  side->addWidget(BBNSAIR);
  layout->addLayout(side);
  resize(640, 480);
}

void TFRMHISTORICOSERIES::firstShown() {
  DBGTREINO->setToolTip(QStringLiteral("Clique duplo para selecionar\n\rClique DELETE para excluir"));
  search_->text()->setFocus();
}

bool TFRMHISTORICOSERIES::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (watched == DBGTREINO) {
    if (key->key() == Qt::Key_Insert) return true;
    if (key->key() == Qt::Key_Delete) {
      if (!(key->modifiers() & Qt::ControlModifier)) DBGTREINODelete();
      return true;
    }
  } else if (watched == search_->grid() && !key->text().isEmpty() && key->text()[0].isPrint()) {
    // A character typed on the member grid chooses the member under the cursor.
    selected_ = search_->current().value(kMatricula).toString();
    showMember();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFRMHISTORICOSERIES::searchTyped(const SearchStep& step) {
  if (step.remembered) selected_ = *step.remembered;
}

void TFRMHISTORICOSERIES::searchEntered(const QString& text) {
  const std::optional<QSqlRecord> member = search_->enter(text, selected_);
  if (!member) return;
  search_->showFound(*member);
  selected_ = member->value(kMatricula).toString();
  showMember();
}

void TFRMHISTORICOSERIES::DBGALUNOSDblClick() {
  const QSqlRecord member = search_->current();
  if (member.isEmpty()) return;
  search_->text()->setEnabled(true);
  search_->showFound(member);
  selected_ = member.value(kMatricula).toString();
  showMember();
}

void TFRMHISTORICOSERIES::showMember() {
  MOSTRA_FOTO();
  if (!TREINOS()) MENSAGEM(kInfo, Msg::NenhumResultadoEncontrado, QStringLiteral("Treino"));
}

bool TFRMHISTORICOSERIES::TREINOS() {
  QList<DatedWorkout> list;
  try {
    list = datedWorkouts(session_.workoutDatabase(), selected_);
  } catch (const SqlError& e) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Treino"), e.text()});
    return true;  // told already
  }
  if (list.isEmpty()) return false;
  workouts_->removeRows(0, workouts_->rowCount());
  for (const DatedWorkout& w : list) {
    auto* day = new QStandardItem(w.data.toString(QStringLiteral("dd/MM/yyyy")));
    day->setData(w.data, kDateRole);
    day->setTextAlignment(Qt::AlignCenter);
    auto* letter = new QStandardItem(w.letter);
    letter->setTextAlignment(Qt::AlignCenter);
    workouts_->appendRow({day, letter});
  }
  search_->grid()->hide();
  PNLTREINO->show();
  search_->setEnabled(false);
  DBGTREINO->setCurrentIndex(workouts_->index(0, 0));
  DBGTREINO->setFocus();
  return true;
}

std::optional<DatedWorkout> TFRMHISTORICOSERIES::currentWorkout() const {
  const int row = DBGTREINO->currentIndex().row();
  if (row < 0 || row >= workouts_->rowCount()) return std::nullopt;
  return DatedWorkout{workouts_->item(row, 0)->data(kDateRole).toDate(),
                      workouts_->item(row, 1)->text()};
}

void TFRMHISTORICOSERIES::BBNRETORNAClick() {
  PNLTREINO->hide();
  search_->grid()->show();
  search_->setEnabled(true);
  search_->text()->setFocus();
}

void TFRMHISTORICOSERIES::DBGTREINODblClick() {
  const std::optional<DatedWorkout> workout = currentWorkout();
  if (!workout) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Result<HistorySheet> sheet = prepareHistorySheet(selected_, workout->letter, workout->data);
  QApplication::restoreOverrideCursor();
  if (!sheet.okOrTell()) return;
  outputReport(historySheetReport(*sheet), true, this);
}

void TFRMHISTORICOSERIES::DBGTREINODelete() {
  const std::optional<DatedWorkout> workout = currentWorkout();
  if (!workout) return;
  const int answer = MENSAGEM(QStringLiteral("?"), QStringLiteral("Treino: ") + workout->letter,
                              QStringLiteral("Deseja excluir?"));
  if (answer == 6) Excluir_TREINO(*workout);
  if (!closing_) BBNRETORNAClick();
}

void TFRMHISTORICOSERIES::Excluir_TREINO(const DatedWorkout& workout) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Outcome deleted = deleteDatedWorkout(session_.workoutDatabase(), selected_, workout);
  QApplication::restoreOverrideCursor();
  if (deleted) return;
  tell(deleted.failure());
  // A database that refused the deletion is not one to go on working in.
  if (deleted.failure().text == Msg::GravandoNaTabela) {
    closing_ = true;
    reject();
  }
}

void TFRMHISTORICOSERIES::MOSTRA_FOTO() {
  // A member without a photo shows none, whoever was shown before.
  if (!showCurrentPhoto()) Image1->clear();
}
