#include "registry/person_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "forms/search_panel.h"
#include "forms/session.h"
#include "registry/photo_capture_window.h"
#include "registry/photo_store.h"

namespace {

const QString kInfo = QStringLiteral("!");

QString choosePhotoFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(
      parent, QStringLiteral("Foto"), QString(),
      QStringLiteral("All (*.jpg *.jpeg);;JPEG Image File (*.jpg);;JPEG Image File (*.jpeg)"));
}

std::function<QString(QWidget*)>& photoFileChooser() {
  static std::function<QString(QWidget*)> chooser = choosePhotoFile;
  return chooser;
}

// Fields that Enter refuses when empty, with the label the message names.
const QHash<QString, QString>& requiredOnEnter() {
  static const QHash<QString, QString> required{
      {QStringLiteral("DBEDTNOME"), QStringLiteral("Nome")},
      {QStringLiteral("DBEDTSEXO"), QStringLiteral("Sexo")},
      {QStringLiteral("DBEDTENDERECO"), QStringLiteral("Endereço")},
      {QStringLiteral("DBEDTBAIRRO"), QStringLiteral("Bairro")},
      {QStringLiteral("DBEDTCIDADE"), QStringLiteral("Cidade")},
      {QStringLiteral("DBCBESTADO"), QStringLiteral("Estado")}};
  return required;
}

QString dateColumn(const QVariant& value) {
  QDate date = value.toDate();
  if (!date.isValid()) date = QDate::fromString(value.toString().left(10), Qt::ISODate);
  return date.isValid() ? formatTypedDate(date) : value.toString();
}

}  // namespace

const QList<FieldDef>& personFields() {
  static const QList<FieldDef> fields = {
      {"MATRICULA", "DBEDTMATRICULA", "Matrícula", 10, FieldDef::Digits},
      {"NOME", "DBEDTNOME", "Nome", 35, FieldDef::Upper},
      {"SEXO", "DBEDTSEXO", "Sexo ( M/F )", 1, FieldDef::Sex},
      {"ENDERECO", "DBEDTENDERECO", "Endereço", 45, FieldDef::Upper},
      {"BAIRRO", "DBEDTBAIRRO", "Bairro", 15, FieldDef::Upper},
      {"CIDADE", "DBEDTCIDADE", "Cidade", 20, FieldDef::Upper},
      {"ESTADO", "DBCBESTADO", "Estado", 2, FieldDef::State},
      {"CEP", "DBEDTCEP", "CEP", 9, FieldDef::Cep},
      {"DATA_NASCIMENTO", "DBEDTDATA_NASCIMENTO", "Nascido ", 10, FieldDef::Date, " "},
  };
  return fields;
}

void PersonWindow::setPhotoFileChooser(std::function<QString(QWidget*)> chooser) {
  photoFileChooser() = chooser ? std::move(chooser) : choosePhotoFile;
}

PersonWindow::PersonWindow(Session& session, const Texts& texts, const PersonTable& table,
                           QWidget* parent)
    : RegistryWindow(session, parent), texts_(texts), table_(table) {
  setWindowTitle(texts.browse);
  photoTimer_.setSingleShot(true);
  photoTimer_.setInterval(kPhotoPause);
  connect(&photoTimer_, &QTimer::timeout, this, &PersonWindow::MOSTRA_FOTO);
}

void PersonWindow::build(const QList<FieldDef>& fields, const char* gridName,
                         const QList<std::pair<QString, QString>>& gridColumns) {
  addToolButton("SBPROCURA", texts_.searchButton, [this] { SBPROCURAClick(); });
  addToolButton("SBINCLUIR", QStringLiteral("Incluir"), [this] { SBINCLUIRClick(); });
  addToolButton("SBALTERAR", QStringLiteral("Alterar"), [this] { SBALTERARClick(); });
  addToolButton("SBEXCLUIR", QStringLiteral("Excluir"), [this] { SBEXCLUIRClick(); });
  addToolButton("SBSAIR", QStringLiteral("Sair"), [this] { closeWindow(); });

  PNLPROCURA = new SearchPanel(
      this, {QStringLiteral("PNLMATRICULA"), QStringLiteral("Matrícula"), 10, true},
      {QStringLiteral("PNLNOME"), QStringLiteral("Nome"), 35, false, texts_.nameSearchLettersOnly});
  PNLPROCURA->hide();
  connect(PNLPROCURA, &SearchPanel::orderChosen, this, [this](int order) {
    model()->setOrder({order == 0 ? QStringLiteral("MATRICULA") : QStringLiteral("NOME")});
  });
  connect(PNLPROCURA, &SearchPanel::textEdited, this, &PersonWindow::searchTextEdited);
  connect(PNLPROCURA, &SearchPanel::entered, this, &PersonWindow::searchEntered);
  connect(PNLPROCURA, &SearchPanel::returned, this, &PersonWindow::searchReturned);
  mainLayout()->addWidget(PNLPROCURA);

  addFields(fields, 11);
  buildPhotoColumn();
  addGrid(gridName);
  connect(grid(), &QTableView::doubleClicked, this, &PersonWindow::gridDoubleClicked);
  addConfirmCancel();
  connect(button(QStringLiteral("BBNCONFIRMA")), &QPushButton::clicked, this,
          &PersonWindow::BBNCONFIRMAClick);
  connect(button(QStringLiteral("BBNCANCELA")), &QPushButton::clicked, this,
          &PersonWindow::BBNCANCELAClick);
  buildChain(fields);
  setFieldsEnabled(false);
  setPhotoButtons(false);

  QList<PagedTableModel::Column> columns;
  for (const auto& [column, title] : gridColumns) {
    PagedTableModel::Column c{column, title};
    if (column.startsWith(QLatin1String("DATA"))) c.format = dateColumn;
    columns << c;
  }
  const Connection& workout = session().workout();
  setModel(new PagedTableModel(workout.database(), workout.dialect(), table_.table, columns,
                               {QStringLiteral("MATRICULA")}, this));
  setPreferredSize(QSize(840, 620));
}

void PersonWindow::buildPhotoColumn() {
  auto* column = new QVBoxLayout;
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setFrameShape(QFrame::Box);
  Image1->setAlignment(Qt::AlignCenter);
  column->addWidget(Image1);
  auto* photo = new QPushButton(QStringLiteral("Foto"), this);
  photo->setObjectName(QStringLiteral("BBNFOTO"));
  photo->setToolTip(QStringLiteral("Importa Foto"));
  connect(photo, &QPushButton::clicked, this, &PersonWindow::BBNFOTOClick);
  column->addWidget(photo);
  auto* clear = new QPushButton(QStringLiteral("Limpa"), this);
  clear->setObjectName(QStringLiteral("PNLLIMPA"));
  connect(clear, &QPushButton::clicked, Image1, &QLabel::hide);  // the stored photo stays
  column->addWidget(clear);
  column->addStretch();
  middleRow()->addLayout(column);
}

void PersonWindow::buildChain(const QList<FieldDef>& fields) {
  for (const FieldDef& def : fields) {
    const QString name = QString::fromLatin1(def.name);
    FieldCheck check;
    std::function<void()> before;
    if (name == QLatin1String("DBEDTMATRICULA")) {
      check = [this, name] { return checkMatriculaField(fieldText(name)); };
    } else if (requiredOnEnter().contains(name)) {
      const QString label = requiredOnEnter().value(name);
      check = [this, name, label] { return checkRequiredField(fieldText(name), label); };
    } else if (def.kind == FieldDef::Cep) {
      check = [this, name] { return checkCepField(fieldText(name)); };
    } else if (def.kind == FieldDef::Blanks) {
      const QString label = QString::fromUtf8(def.label);
      check = [this, name, label] { return checkBlanksField(fieldText(name), label); };
    } else if (def.kind == FieldDef::Date) {
      before = settleDate(name);
    }
    chain()->add(field(name), check, before);
  }
}

void PersonWindow::setPhotoButtons(bool enabled) {
  findChild<QPushButton*>(QStringLiteral("BBNFOTO"))->setEnabled(enabled);
  QPushButton* clear = findChild<QPushButton*>(QStringLiteral("PNLLIMPA"));
  clear->setEnabled(enabled);
  clear->setStyleSheet(enabled ? QStringLiteral("background-color: #1e63c4; color: white;")
                               : QString());
}

bool PersonWindow::ABRE_TABELAS() {
  holdPhoto();
  if (!openOwnTables()) return false;
  const std::optional<Settings> settings = session().rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  settings_ = *settings;
  if (!model()->refresh()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, texts_.tableDetail);
    return false;
  }
  photoFollows_ = true;
  selectRow(0);
  showCurrentPerson();
  return true;
}

void PersonWindow::currentRowChanged() {
  if (!photoFollows_) return;
  showCurrentFields();
  // A search typed key by key moves the cursor at every key: only the row it stops on has its
  // photo read and decoded.
  photoTimer_.start();
}

void PersonWindow::showCurrentPerson() {
  showCurrentFields();
  photoTimer_.stop();
  MOSTRA_FOTO();
}

void PersonWindow::showCurrentFields() {
  const QSqlRecord record = currentRecord();
  const PersonForm form = record.isEmpty() ? PersonForm() : personFromRecord(table_, record);
  showColumns(form);
  showUnbound(form);
}

void PersonWindow::holdPhoto() {
  if (photoTimer_.isActive()) {
    photoTimer_.stop();
    MOSTRA_FOTO();
  }
  photoFollows_ = false;
}

void PersonWindow::MOSTRA_FOTO() {
  const QString onScreen = currentRecord().value(QStringLiteral("MATRICULA")).toString();
  const QString key = onScreen.isEmpty() ? selected_.str() : onScreen;
  photo_ = QVariant();
  if (!key.isEmpty()) {
    try {
      photo_ =
          loadPhotoRow(session().workout().database(), table_.photoTable, key).value_or(QVariant());
    } catch (const std::exception&) {
      photo_ = QVariant();
    }
  }
  showPicture(photo_);
}

void PersonWindow::showPicture(const QVariant& photo) {
  QImage picture;
  bool decoded = false;
  try {
    decoded = LoadJpgFromTable(&photo, &picture, Image1->size());
  } catch (const PhotoError&) {
    decoded = true;  // a blob that does not decode leaves an empty picture
    picture = QImage();
  }
  if (!decoded) {
    Image1->clear();
    Image1->hide();
    return;
  }
  Image1->setPixmap(picture.isNull()
                        ? QPixmap()
                        : QPixmap::fromImage(picture.scaled(Image1->size(), Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation)));
  Image1->show();
}

void PersonWindow::enterBrowse(const QString& caption) {
  setMode(Mode::Browse, caption);
  PNLPROCURA->hide();
  setConfirmCancel(false);
  setPhotoButtons(false);
  setFieldsEnabled(false);
  grid()->setEnabled(true);
  ATIVA_BOTOES();
  photoFollows_ = true;
}

void PersonWindow::SBPROCURAClick() {
  setMode(Mode::Search, QString());
  PNLPROCURA->open(1);
  model()->setOrder({QStringLiteral("NOME")});
  DESATIVA_BOTOES();
  photoFollows_ = true;
  PNLPROCURA->text()->setFocus();
}

void PersonWindow::searchTextEdited(const QString& text) {
  if (PNLPROCURA->order() == 0 && text.isEmpty()) return;
  selected_ = searchTextChanged(
      PNLPROCURA, text, QStringLiteral("NOME"),
      [this](const QString& typed) { return searchNumber(typed); }, searchNumberExactly());
}

bool PersonWindow::lookUpSelected() {
  return lookUpKey(selected_.str());
}

void PersonWindow::searchEntered(const QString& text) {
  if (text.isEmpty()) {
    if (PNLPROCURA->order() == 0)
      MENSAGEM(kInfo, texts_.emptyNumberSearch);
    else
      MENSAGEM(kInfo, texts_.emptyNameSearch, texts_.emptyNameSearchDetail);
    return;
  }
  if (!showSearchResult(PNLPROCURA, selected_, QStringLiteral("NOME"))) return;
  selected_ = currentRecord().value(QStringLiteral("MATRICULA")).toString();
  showCurrentPerson();
  ATIVA_BOTOES();
  searchFound();
}

void PersonWindow::searchReturned() {
  selected_ = currentRecord().value(QStringLiteral("MATRICULA")).toString();
  if (!lookUpSelected()) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    PNLPROCURA->text()->clear();
    return;
  }
  setMode(Mode::Browse, QString());
  PNLPROCURA->hide();
  ATIVA_BOTOES();
}

void PersonWindow::gridDoubleClicked() {
  if (mode() != Mode::Browse && mode() != Mode::Search) return;
  selected_ = currentRecord().value(QStringLiteral("MATRICULA")).toString();
  lookUpSelected();
  setMode(Mode::Browse, QString());
  PNLPROCURA->hide();
  ATIVA_BOTOES();
  showCurrentPerson();
}

void PersonWindow::SBINCLUIRClick() {
  Image1->hide();
  PNLPROCURA->hide();
  DESATIVA_BOTOES();
  holdPhoto();
  const QSqlRecord onScreen = currentRecord();
  model()->refresh();  // rows added at other workstations count
  setMode(Mode::Insert, texts_.insert);
  PersonForm fresh;
  newPersonDefaults(fresh, onScreen);
  showColumns(fresh);
  showUnbound(fresh);
  photo_ = QVariant();
  setFieldsEnabled(true);
  grid()->setEnabled(false);
  setConfirmCancel(true);
  setPhotoButtons(true);
  QLineEdit* number = edit(QStringLiteral("DBEDTMATRICULA"));
  number->setFocus();
  std::optional<QString> proposed;
  try {
    proposed = numberForNewPerson(model()->rowCount());
  } catch (const SqlError&) {
    proposed.reset();
  }
  if (!proposed) {
    numberingFailed();
    return;
  }
  selected_ = *proposed;
  numberProposed_ = !proposed->isEmpty();
  if (numberProposed_) {
    number->setText(padMatricula(*proposed));
    number->setEnabled(false);
    edit(QStringLiteral("DBEDTNOME"))->setFocus();
  }
}

// No number could be worked out: the window goes back to browsing, so the user is never left
// with nothing to press.
void PersonWindow::numberingFailed() {
  MENSAGEM(kInfo, Msg::RegistroJaAlocado, texts_.tableDetail);
  enterBrowse(texts_.browse);
  showCurrentPerson();
}

void PersonWindow::SBALTERARClick() {
  if (model()->rowCount() == 0 || currentRow() < 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, texts_.emptyOnChange);
    return;
  }
  PNLPROCURA->hide();
  DESATIVA_BOTOES();
  holdPhoto();
  setMode(Mode::Change, texts_.change);
  showCurrentPerson();
  selected_ = fieldText(QStringLiteral("DBEDTMATRICULA"));
  setFieldsEnabled(true);
  edit(QStringLiteral("DBEDTMATRICULA"))->setEnabled(false);
  grid()->setEnabled(false);
  setConfirmCancel(true);
  setPhotoButtons(true);
  edit(QStringLiteral("DBEDTENDERECO"))->setFocus();
}

void PersonWindow::SBEXCLUIRClick() {
  if (!TESTA_EXCLUSAO()) return;
  if (model()->rowCount() == 0 || currentRow() < 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, texts_.emptyOnDelete);
    return;
  }
  PNLPROCURA->hide();
  DESATIVA_BOTOES();
  holdPhoto();
  setMode(Mode::Delete, texts_.remove);
  setConfirmCancel(true);
  setPhotoButtons(false);
  setFieldsEnabled(false);
  grid()->setEnabled(false);
  selected_ = fieldText(QStringLiteral("DBEDTMATRICULA"));
  button(QStringLiteral("BBNCANCELA"))->setFocus();
}

void PersonWindow::BBNCONFIRMAClick() {
  const QSqlDatabase db = session().workout().database();
  if (mode() == Mode::Delete) {
    // Deleting needs only the number: a stored person that would fail today's checks (an
    // old record without a district, say) can still be removed.
    if (!deletePerson(db, table_, selected_.str()).okOrTell()) {
      closeWindow();
      return;
    }
    const int row = currentRow();
    model()->refresh();
    enterBrowse(texts_.browse);
    selectRow(qMin(row, model()->rowCount() - 1));
    showCurrentPerson();
    return;
  }
  PersonForm form = readColumns();
  readUnbound(form);
  if (const std::optional<FieldRefusal> refusal = confirmChecks(form)) {
    refuseField(field(refusal->field), refusal->error);
    return;
  }
  showColumns(form);  // dates and the number as they are stored
  const PersonSave saved =
      savePerson(db, table_, form, photo_, mode() == Mode::Insert,
                 numberProposed_ ? TakenNumber::TakeNext : TakenNumber::Refuse);
  if (saved.outcome != PersonSave::Saved) tell(saved.failure);
  if (saved.outcome == PersonSave::NumberTaken) {
    // The typed number was stored meanwhile: the form stays for another number.
    QWidget* number = field(QStringLiteral("DBEDTMATRICULA"));
    number->setEnabled(true);
    number->setFocus();
    return;
  }
  if (saved.outcome == PersonSave::Failed) {
    // Nothing half-entered stays on screen after a failed write.
    closeWindow();
    return;
  }
  selected_ = saved.matricula;
  model()->refresh();
  enterBrowse(texts_.browse);
  selectRow(model()->rowOfKey(selected_.str()));
  showCurrentPerson();
}

void PersonWindow::BBNCANCELAClick() {
  model()->refresh();
  enterBrowse(texts_.browse);
  afterCancel();
  showCurrentPerson();
}

void PersonWindow::afterCancel() {
  const int row = model()->rowOfKey(selected_.str());
  selectRow(row >= 0 ? row : 0);
}

void PersonWindow::BBNFOTOClick() {
  QLineEdit* number = edit(QStringLiteral("DBEDTMATRICULA"));
  if (checkMatriculaField(number->text())) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    number->clear();
    return;
  }
  selected_ = padMatricula(number->text());
  if (settings().webCapture()) {
    number->setText(selected_);
    const bool staff = table_.photoTable == kFotosFuncionarios;
    auto show = [this](const QImage&) { showPicture(photo_); };
    if (staff)
      TFRMCAPTURAFUNC(selected_, &photo_, show, this).exec();
    else
      TFRMCAPTURA(selected_, &photo_, show, this).exec();
    return;
  }
  CARREGA_FOTO();
}

bool PersonWindow::CARREGA_FOTO() {
  const QString file = photoFileChooser()(this);
  if (file.isEmpty()) return false;
  try {
    AddJpgToTable(file, &photo_);
  } catch (const PhotoTooLarge&) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, kFotoGrandeDemais);
    return false;
  } catch (const PhotoError&) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Nome"));
    return false;
  }
  showPicture(photo_);
  return true;
}
