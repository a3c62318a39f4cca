#include "forms/registry_window.h"
#include "forms/paged_grid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "forms/field_keys.h"
#include "forms/search_panel.h"

namespace {

std::function<bool(QChar)> digitsAnd(const char* keys) {
  const QString extra = keys ? QString::fromUtf8(keys) : QString();
  return [extra](QChar c) { return isDigitKey(c) || extra.contains(c); };
}

QWidget* makeField(QWidget* parent, const FieldDef& def) {
  if (def.kind == FieldDef::State || def.kind == FieldDef::List) {
    auto* list = new QComboBox(parent);
    if (def.kind == FieldDef::State) {
      list->addItem(QString());
      list->addItems(brazilianStates());
    }
    chooseOnlyList(list);
    return list;
  }
  auto* line = new QLineEdit(parent);
  line->setMaxLength(def.maxLength);
  switch (def.kind) {
    case FieldDef::Upper:
      upperCaseField(line);
      break;
    case FieldDef::Lower:
      lowerCaseField(line);
      break;
    case FieldDef::Digits:
      acceptOnlyKeys(line, digitsAnd(def.keys));
      break;
    case FieldDef::Sex:
      upperCaseField(line);
      acceptOnlyKeys(line, [](QChar c) { return QStringLiteral("MFmf ").contains(c); });
      break;
    case FieldDef::Cep:
      line->setInputMask(QStringLiteral("00000-999;_"));
      acceptOnlyKeys(line, digitsAnd("-/"));
      clearOnBackspace(line);
      break;
    case FieldDef::Date:
      acceptOnlyKeys(line, digitsAnd(def.keys));
      new DateField(line, def.keys && QByteArray(def.keys).contains(' '));
      break;
    case FieldDef::Password:
      // Six letters or digits, typed in upper case, never shown.
      line->setEchoMode(QLineEdit::Password);
      line->setValidator(new UpperCaseValidator(QStringLiteral("[A-Z0-9]{0,6}"), line));
      break;
    case FieldDef::Blanks:
      upperCaseField(line);
      if (def.keys) acceptOnlyKeys(line, digitsAnd(def.keys));
      clearOnBackspace(line);
      break;
    default:
      break;
  }
  return line;
}

}  // namespace

const QStringList& brazilianStates() {
  static const QStringList states =
      QStringLiteral(
          "AC AL AM AP BA CE DF ES GO MA MG MS MT PA PB PE PI PR RJ RN RO RR RS SC SE SP TO")
          .split(QLatin1Char(' '));
  return states;
}

RegistryWindow::RegistryWindow(Session& session, QWidget* parent) : ChildWindow(session, parent) {
  layout_ = new QVBoxLayout(this);
  tools_ = new QHBoxLayout;
  layout_->addLayout(tools_);
  middle_ = new QHBoxLayout;
  chain_ = new FieldChain(this);
}

QPushButton* RegistryWindow::addToolButton(const char* name, const QString& text,
                                           std::function<void()> onClick) {
  if (tools_->count() == 0) tools_->addStretch();
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(text);
  connect(button, &QPushButton::clicked, this, std::move(onClick));
  tools_->insertWidget(tools_->count() - 1, button);
  buttons_.insert(button->objectName(), button);
  toolNames_ << button->objectName();
  return button;
}

void RegistryWindow::addFields(const QList<FieldDef>& defs, int rowsPerColumn) {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  int i = 0;
  for (const FieldDef& def : defs) {
    auto* label = new QLabel(QString::fromUtf8(def.label), area);
    QWidget* widget = makeField(area, def);
    widget->setObjectName(QString::fromLatin1(def.name));
    label->setBuddy(widget);
    grid->addWidget(label, i % rowsPerColumn, (i / rowsPerColumn) * 2);
    grid->addWidget(widget, i % rowsPerColumn, (i / rowsPerColumn) * 2 + 1);
    fields_.insert(widget->objectName(), widget);
    if (def.column) fieldOfColumn_.insert(QString::fromLatin1(def.column), widget->objectName());
    ++i;
  }
  middle_->addWidget(area, 1);
  if (layout_->indexOf(middle_) < 0) layout_->addLayout(middle_);
}

void RegistryWindow::addGrid(const char* name) {
  grid_ = new QTableView(this);
  grid_->setObjectName(QString::fromLatin1(name));
  grid_->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(grid_);
  layout_->addWidget(grid_, 1);
}

void RegistryWindow::addConfirmCancel() {
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  for (const auto& [name, text] :
       {std::pair{"BBNCONFIRMA", "Confirma"}, std::pair{"BBNCANCELA", "Cancela"}}) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setEnabled(false);
    bottom->addWidget(b);
    buttons_.insert(b->objectName(), b);
  }
  chain_->setEnd(buttons_.value(QStringLiteral("BBNCONFIRMA")));
  // Enter on a focused Confirm or Cancel presses it, as the chain of fields leads there.
  for (const char* name : {"BBNCONFIRMA", "BBNCANCELA"}) {
    QPushButton* b = buttons_.value(QString::fromLatin1(name));
    onFieldKeys(b,
                [b] {
                  if (b->isEnabled()) b->click();
                },
                {});
  }
  layout_->addLayout(bottom);
}

void RegistryWindow::setModel(PagedTableModel* model, int stretch) {
  model_ = model;
  grid_->setModel(model);
  grid_->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { currentRowChanged(); });
}

QLineEdit* RegistryWindow::edit(const QString& name) const {
  return qobject_cast<QLineEdit*>(fields_.value(name));
}

QComboBox* RegistryWindow::list(const QString& name) const {
  return qobject_cast<QComboBox*>(fields_.value(name));
}

std::function<void()> RegistryWindow::settleDate(const QString& name) const {
  QLineEdit* line = edit(name);
  return [line] {
    if (auto* date = line->findChild<DateField*>()) date->settle();
  };
}

void RegistryWindow::setCaption(const QString& caption) {
  setWindowTitle(caption);
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->setWindowTitle(caption);
}

void RegistryWindow::setMode(Mode mode, const QString& caption) {
  mode_ = mode;
  if (!caption.isEmpty()) setCaption(caption);
}

void RegistryWindow::ATIVA_BOTOES() {
  for (const QString& name : toolNames_) buttons_.value(name)->setEnabled(true);
}

void RegistryWindow::DESATIVA_BOTOES() {
  for (const QString& name : toolNames_) buttons_.value(name)->setEnabled(false);
}

void RegistryWindow::setFieldsEnabled(bool enabled) {
  for (QWidget* w : fields_) w->setEnabled(enabled);
}

void RegistryWindow::setConfirmCancel(bool enabled) {
  buttons_.value(QStringLiteral("BBNCONFIRMA"))->setEnabled(enabled);
  buttons_.value(QStringLiteral("BBNCANCELA"))->setEnabled(enabled);
}

int RegistryWindow::currentRow() const {
  const QModelIndex index = grid_ ? grid_->currentIndex() : QModelIndex();
  return index.isValid() ? index.row() : -1;
}

void RegistryWindow::selectRow(int row) {
  if (row < 0 || !model_ || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  grid_->setCurrentIndex(index);
  grid_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void RegistryWindow::refreshKeepingRow() {
  const QVariant key = currentRecord().value(model_->key().first());
  model_->refresh();
  const int row = key.isValid() ? model_->rowOfKey(key) : -1;
  selectRow(row >= 0 ? row : 0);
}

QSqlRecord RegistryWindow::currentRecord() const {
  return model_ ? model_->record(currentRow()) : QSqlRecord();
}

void RegistryWindow::setFieldText(const QString& name, const QString& value) {
  if (QComboBox* box = list(name)) {
    box->setCurrentIndex(qMax(0, box->findText(value)));
    return;
  }
  QLineEdit* line = edit(name);
  if (!line) return;
  // A stored value shows as it is; a date field takes its mask again when the user types.
  if (!line->inputMask().isEmpty() && line->findChild<DateField*>()) line->setInputMask(QString());
  // A field that already shows the value is left alone: moving between members repaints only
  // what differs.
  if (line->text() != value) line->setText(value);
  if (line->cursorPosition() != 0) line->setCursorPosition(0);  // a long text shows its start
}

void RegistryWindow::retypeCode(const QString& name) {
  setFieldText(name, QString());
  field(name)->setEnabled(true);
  field(name)->setFocus();
}

QString RegistryWindow::fieldText(const QString& name) const {
  if (QComboBox* box = list(name)) return box->currentText();
  QLineEdit* line = edit(name);
  return line ? line->text() : QString();
}

void RegistryWindow::showColumns(const ColumnTexts& values) {
  for (auto it = fieldOfColumn_.cbegin(); it != fieldOfColumn_.cend(); ++it)
    setFieldText(it.value(), values.value(it.key()));
}

RegistryWindow::ColumnTexts RegistryWindow::readColumns() const {
  ColumnTexts values;
  for (auto it = fieldOfColumn_.cbegin(); it != fieldOfColumn_.cend(); ++it)
    values.insert(it.key(), fieldText(it.value()));
  return values;
}

QString RegistryWindow::searchTextChanged(const SearchPanel* panel, const QString& text,
                                          const QString& nameColumn,
                                          const std::function<QString(const QString&)>& keyOfTyped,
                                          bool exactKey) {
  const QString keyColumn = model_->key().first();
  if (panel->order() == 0) {
    const QString key = keyOfTyped(text);
    const int row = exactKey ? model_->rowOfKey(key) : model_->rowAtOrAfter(key, true);
    if (row >= 0) selectRow(row);
    return key;
  }
  if (model_->order() != QStringList{nameColumn}) model_->setOrder({nameColumn});
  const int row = model_->rowAtOrAfter(text, true);
  if (row < 0) return QString();
  selectRow(row);
  return currentRecord().value(keyColumn).toString();
}

bool RegistryWindow::lookUpKey(const QString& key) {
  if (model_->order() != model_->key()) model_->setOrder(model_->key());
  const int row = key.isEmpty() ? -1 : model_->rowOfKey(key);
  if (row < 0) return false;
  selectRow(row);
  return true;
}

bool RegistryWindow::showSearchResult(SearchPanel* panel, const QString& key,
                                      const QString& nameColumn) {
  if (!lookUpKey(key)) {
    MENSAGEM(QStringLiteral("!"), Msg::MatriculaNaoCadastrada);
    panel->text()->clear();
    return false;
  }
  const QSqlRecord row = currentRecord();
  panel->showResult(row.value(model_->key().first()).toString() + QStringLiteral(" - ") +
                    row.value(nameColumn).toString());
  return true;
}
