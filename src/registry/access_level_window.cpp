#include "registry/access_level_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "forms/paged_grid.h"
#include "forms/session.h"
#include "registry/user_store.h"

TFRMPARAMETRIZACAODOUSUARIO::TFRMPARAMETRIZACAODOUSUARIO(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMPARAMETRIZACAODOUSUARIO"));
  setWindowTitle(QStringLiteral("Nível de Acesso do Usuário"));
  setModal(true);
  auto* layout = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("DBGUSUARIOS"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(grid_);
  left->addWidget(grid_);
  layout->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  auto* who = new QHBoxLayout;
  code_ = new QLabel(this);
  code_->setObjectName(QStringLiteral("LBLCODIGO"));
  name_ = new QLabel(this);
  name_->setObjectName(QStringLiteral("LBLNOME"));
  who->addWidget(code_);
  who->addWidget(name_, 1);
  right->addLayout(who);

  auto* choices = new QHBoxLayout;
  auto* pages = new QStackedWidget(this);
  for (int g = 0; g < permissionGroups().size(); ++g) {
    auto* choice = new QRadioButton(permissionGroups()[g], this);
    choice->setObjectName(QStringLiteral("RBGRUPO%1").arg(g + 1));
    choice->setChecked(g == 0);
    connect(choice, &QRadioButton::toggled, pages, [g, pages](bool on) {
      if (on) pages->setCurrentIndex(g);
    });
    choices->addWidget(choice);
    auto* page = new QWidget(pages);
    page->setLayout(new QFormLayout);
    pages->addWidget(page);
  }
  right->addLayout(choices);
  for (const PermissionFlag& flag : permissionFlags()) {
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("DBCB") + flag.column);
    list->addItems({QStringLiteral("Sim"), QStringLiteral("Não")});
    list->setEnabled(false);
    list->installEventFilter(this);
    const int group = int(permissionGroups().indexOf(flag.group));
    static_cast<QFormLayout*>(pages->widget(group)->layout())->addRow(flag.label, list);
    lists_.insert(flag.column, list);
    order_ << list;
    groupOf_.insert(list, group);
  }
  right->addWidget(pages);

  auto* buttons = new QHBoxLayout;
  alterar_ = new QPushButton(QStringLiteral("Alterar usuário"), this);
  alterar_->setObjectName(QStringLiteral("BBNALTERAR"));
  confirma_ = new QPushButton(QStringLiteral("Confirma"), this);
  confirma_->setObjectName(QStringLiteral("BBNCONFIRMA"));
  confirma_->setEnabled(false);
  sair_ = new QPushButton(QStringLiteral("Sair"), this);
  sair_->setObjectName(QStringLiteral("SBSAIR"));
  for (QPushButton* b : {alterar_, confirma_, sair_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  connect(alterar_, &QPushButton::clicked, this, &TFRMPARAMETRIZACAODOUSUARIO::alterarClick);
  connect(confirma_, &QPushButton::clicked, this, &TFRMPARAMETRIZACAODOUSUARIO::confirmaClick);
  connect(sair_, &QPushButton::clicked, this, &QDialog::accept);
  right->addLayout(buttons);
  layout->addLayout(right, 1);

  const Connection& workout = session_.workout();
  model_ = new PagedTableModel(workout.database(), workout.dialect(), QStringLiteral("Usuarios"),
                               {{QStringLiteral("CODIGO"), QStringLiteral("Código")},
                                {QStringLiteral("NOME"), QStringLiteral("Nome")}},
                               {QStringLiteral("CODIGO")}, this);
  grid_->setModel(model_);
  grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TFRMPARAMETRIZACAODOUSUARIO::showSelectedUser);
  resize(720, 420);
}

namespace {
QString& startingUser() {
  static QString code;
  return code;
}
}  // namespace

void TFRMPARAMETRIZACAODOUSUARIO::startOnUser(const QString& code) {
  startingUser() = code;
}

bool TFRMPARAMETRIZACAODOUSUARIO::ABRE_TABELAS() {
  if (model_->refresh()) {
    const int wanted = startingUser().isEmpty() ? -1 : model_->rowOfKey(startingUser());
    startingUser().clear();
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(qMax(0, wanted), 0));
    showSelectedUser();
    return true;
  }
  MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
  MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
  G().GBOL_FALHA_ABERTURA = true;
  return false;
}

void TFRMPARAMETRIZACAODOUSUARIO::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  G().GBOL_FALHA_ABERTURA = false;
  if (!ABRE_TABELAS()) QTimer::singleShot(0, this, &QDialog::reject);
}

void TFRMPARAMETRIZACAODOUSUARIO::showSelectedUser() {
  const QModelIndex index = grid_->currentIndex();
  const QSqlRecord user = model_->record(index.isValid() ? index.row() : -1);
  code_->setText(user.value(QStringLiteral("CODIGO")).toString());
  name_->setText(user.value(QStringLiteral("NOME")).toString());
  for (auto it = lists_.begin(); it != lists_.end(); ++it) {
    const QString value = user.value(it.key()).toString();
    // A value other than the two words shows as it is, so nobody mistakes it for one.
    if (it.value()->findText(value) < 0 && !value.isEmpty()) it.value()->addItem(value);
    it.value()->setCurrentText(value);
  }
}

void TFRMPARAMETRIZACAODOUSUARIO::setEditing(bool editing) {
  grid_->setVisible(!editing);
  grid_->setEnabled(!editing);
  for (QComboBox* list : order_) list->setEnabled(editing);
  confirma_->setEnabled(editing);
  sair_->setEnabled(!editing);
  alterar_->setEnabled(!editing);
}

void TFRMPARAMETRIZACAODOUSUARIO::alterarClick() {
  if (!grid_->currentIndex().isValid()) return;
  setEditing(true);
  order_.first()->setFocus();
}

void TFRMPARAMETRIZACAODOUSUARIO::confirmaClick() {
  QHash<QString, QString> flags;
  for (auto it = lists_.cbegin(); it != lists_.cend(); ++it)
    flags.insert(it.key(), it.value()->currentText());
  const QString code = code_->text();
  if (!saveUserFlags(session_.workout().database(), code, flags).okOrTell()) {
    reject();
    return;
  }
  setEditing(false);
  model_->refresh();
  const int row = model_->rowOfKey(code);
  if (row >= 0) grid_->setCurrentIndex(model_->index(row, 0));
  showSelectedUser();
}

void TFRMPARAMETRIZACAODOUSUARIO::focusNextList(QComboBox* from) {
  const int at = int(order_.indexOf(from));
  for (int i = at + 1; i < order_.size(); ++i) {
    if (order_[i]->isVisible()) {
      order_[i]->setFocus();
      return;
    }
  }
  confirma_->setFocus();
}

// The flag lists change only by a double click (or the arrow keys); typing does nothing.
bool TFRMPARAMETRIZACAODOUSUARIO::eventFilter(QObject* watched, QEvent* event) {
  auto* list = qobject_cast<QComboBox*>(watched);
  if (!list) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonDblClick:
      if (list->isEnabled()) list->setCurrentText(toggledFlag(list->currentText()));
      return true;
    case QEvent::MouseButtonPress:
      list->setFocus();
      return true;  // no drop-down: the double click decides
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        focusNextList(list);
        return true;
      }
      if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) return false;
      return true;
    }
    default:
      return QDialog::eventFilter(watched, event);
  }
}
