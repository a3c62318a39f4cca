#include "registry/member_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "app/field_chain.h"
#include "app/messages.h"
#include "app/prompter.h"
#include "app/search_panel.h"
#include "app/shell_logic.h"
#include "app/standing_connections.h"
#include "app/users_table.h"
#include "data/paged_table_model.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/member_store.h"
#include "registry/photo_capture_window.h"
#include "registry/photo_store.h"

namespace {

const QString kInfo = QStringLiteral("!");

std::function<QString(QWidget*)>& photoFileChooser() {
  static std::function<QString(QWidget*)> chooser = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("Foto"), QString(),
        QStringLiteral("All (*.jpg *.jpeg);;JPEG Image File (*.jpg);;JPEG Image File (*.jpeg)"));
  };
  return chooser;
}

struct FieldDef {
  const char* name;
  const char* label;
  int maxLength;
  enum Kind { Text, Upper, Lower, Digits, Sex, State, Cep, Date, Blanks } kind;
};

// The fields in the order Enter walks through them.
const FieldDef kFields[] = {
    {"DBEDTMATRICULA", "Matrícula", 10, FieldDef::Digits},
    {"DBEDTNOME", "Nome", 35, FieldDef::Upper},
    {"DBEDTSEXO", "Sexo ( M/F )", 1, FieldDef::Sex},
    {"DBEDTENDERECO", "Endereço", 45, FieldDef::Upper},
    {"DBEDTBAIRRO", "Bairro", 15, FieldDef::Upper},
    {"DBEDTCIDADE", "Cidade", 20, FieldDef::Upper},
    {"DBCBESTADO", "Estado", 2, FieldDef::State},
    {"DBEDTCEP", "CEP", 9, FieldDef::Cep},
    {"DBEDTDATA_NASCIMENTO", "Nascido ", 10, FieldDef::Date},
    {"DBEDTIDENTIDADE", "Identidade", 15, FieldDef::Blanks},
    {"DBEDTCPF", "CPF", 15, FieldDef::Blanks},
    {"DBEDTTELEFONE", "Telefone Res.", 14, FieldDef::Upper},
    {"DBEDTTELEFONECOM", "Telefone Com.", 14, FieldDef::Upper},
    {"DBEDTCELULAR", "Tel.: Celular", 14, FieldDef::Upper},
    {"DBEDTRADIO", "Radio", 20, FieldDef::Upper},
    {"DBEDTPROFISSAO", "Profissão", 20, FieldDef::Upper},
    {"DBEDTRESPONSAVEL", "Responsável", 20, FieldDef::Upper},
    {"DBEDTCADASTRO", "Cadastrado", 10, FieldDef::Date},
    {"DBEDTSAIDA", "Saída", 10, FieldDef::Date},
    {"DBEDTEMAIL", "E-mail", 40, FieldDef::Lower},
    {"DBEDTMEDICA", "Médica", 10, FieldDef::Date},
    {"DBEDTFUNCIONAL", "Funcional", 10, FieldDef::Date},
};

QString dateColumn(const QVariant& value) {
  QDate date = value.toDate();
  if (!date.isValid()) date = QDate::fromString(value.toString().left(10), Qt::ISODate);
  return date.isValid() ? formatTypedDate(date) : QString();
}

}  // namespace

void TFRMALUNOS::setPhotoFileChooser(std::function<QString(QWidget*)> chooser) {
  photoFileChooser() = std::move(chooser);
}

TFRMALUNOS::TFRMALUNOS(QWidget* parent) : ChildWindow(parent) {
  setObjectName(QStringLiteral("TFRMALUNOS"));
  setWindowTitle(QStringLiteral("Alunos"));
  buildWindow();
  resize(820, 600);
}

TFRMALUNOS::~TFRMALUNOS() = default;

QLineEdit* TFRMALUNOS::edit(const char* name) const {
  return qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)));
}

void TFRMALUNOS::buildWindow() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  const struct {
    const char* name;
    const char* text;
    void (TFRMALUNOS::*slot)();
  } tools[] = {{"SBPROCURA", "Procura de Alunos", &TFRMALUNOS::SBPROCURAClick},
               {"SBINCLUIR", "Incluir", &TFRMALUNOS::SBINCLUIRClick},
               {"SBALTERAR", "Alterar", &TFRMALUNOS::SBALTERARClick},
               {"SBEXCLUIR", "Excluir", &TFRMALUNOS::SBEXCLUIRClick},
               {"SBSAIR", "Sair", &ChildWindow::closeWindow}};
  for (const auto& t : tools) {
    auto* button = new QPushButton(QString::fromUtf8(t.text), this);
    button->setObjectName(QString::fromLatin1(t.name));
    button->setToolTip(QString::fromUtf8(t.text));
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, t.slot);
    top->addWidget(button);
    buttons_.insert(button->objectName(), button);
  }
  top->addStretch();
  layout->addLayout(top);

  PNLPROCURA = new SearchPanel(this, {QStringLiteral("PNLMATRICULA"), QStringLiteral("Matrícula"), 10, true},
                               {QStringLiteral("PNLNOME"), QStringLiteral("Nome"), 35, false});
  PNLPROCURA->hide();
  connect(PNLPROCURA, &SearchPanel::orderChosen, this, [this](int order) {
    model_->setOrder({order == 0 ? QStringLiteral("MATRICULA") : QStringLiteral("NOME")});
  });
  connect(PNLPROCURA, &SearchPanel::textEdited, this, &TFRMALUNOS::searchTextEdited);
  connect(PNLPROCURA, &SearchPanel::entered, this, &TFRMALUNOS::searchEntered);
  connect(PNLPROCURA, &SearchPanel::returned, this, &TFRMALUNOS::searchReturned);
  layout->addWidget(PNLPROCURA);

  auto* middle = new QHBoxLayout;
  auto* area = new QWidget(this);
  buildFields(area);
  middle->addWidget(area, 1);
  auto* photoColumn = new QVBoxLayout;
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setFrameShape(QFrame::Box);
  Image1->setAlignment(Qt::AlignCenter);
  photoColumn->addWidget(Image1);
  auto* photoButton = new QPushButton(QStringLiteral("Foto"), this);
  photoButton->setObjectName(QStringLiteral("BBNFOTO"));
  photoButton->setToolTip(QStringLiteral("Importa Foto"));
  connect(photoButton, &QPushButton::clicked, this, &TFRMALUNOS::BBNFOTOClick);
  buttons_.insert(photoButton->objectName(), photoButton);
  photoColumn->addWidget(photoButton);
  PNLLIMPA = new QPushButton(QStringLiteral("Limpa"), this);
  PNLLIMPA->setObjectName(QStringLiteral("PNLLIMPA"));
  connect(PNLLIMPA, &QPushButton::clicked, Image1, &QLabel::hide);
  photoColumn->addWidget(PNLLIMPA);
  photoColumn->addStretch();
  middle->addLayout(photoColumn);
  layout->addLayout(middle);

  DBGALUNOS = new QTableView(this);
  DBGALUNOS->setObjectName(QStringLiteral("DBGALUNOS"));
  DBGALUNOS->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  DBGALUNOS->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGALUNOS->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGALUNOS->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGALUNOS->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  DBGALUNOS->verticalHeader()->hide();
  connect(DBGALUNOS, &QTableView::doubleClicked, this, &TFRMALUNOS::gridDoubleClicked);
  layout->addWidget(DBGALUNOS, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  for (const auto& [name, text] : {std::pair{"BBNCONFIRMA", "Confirma"}, std::pair{"BBNCANCELA", "Cancela"}}) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setEnabled(false);
    bottom->addWidget(button);
    buttons_.insert(button->objectName(), button);
  }
  connect(buttons_.value(QStringLiteral("BBNCONFIRMA")), &QPushButton::clicked, this,
          &TFRMALUNOS::BBNCONFIRMAClick);
  connect(buttons_.value(QStringLiteral("BBNCANCELA")), &QPushButton::clicked, this,
          &TFRMALUNOS::BBNCANCELAClick);
  layout->addLayout(bottom);

  buildChain();
  setFieldsEnabled(false);
  setEditButtons(false, false);
}

void TFRMALUNOS::buildFields(QWidget* area) {
  auto* grid = new QGridLayout(area);
  int i = 0;
  for (const FieldDef& def : kFields) {
    const QString name = QString::fromLatin1(def.name);
    auto* label = new QLabel(QString::fromUtf8(def.label), area);
    QWidget* widget = nullptr;
    if (def.kind == FieldDef::State) {
      auto* list = new QComboBox(area);
      list->addItem(QString());
      list->addItems(brazilianStates());
      chooseOnlyList(list);
      widget = list;
    } else {
      auto* line = new QLineEdit(area);
      line->setMaxLength(def.maxLength);
      switch (def.kind) {
        case FieldDef::Upper: upperCaseField(line); break;
        case FieldDef::Lower: lowerCaseField(line); break;
        case FieldDef::Digits: acceptOnlyKeys(line, isDigitKey); break;
        case FieldDef::Sex:
          upperCaseField(line);
          acceptOnlyKeys(line, [](QChar c) { return QStringLiteral("MFmf ").contains(c); });
          break;
        case FieldDef::Cep:
          line->setInputMask(QStringLiteral("00000-999;_"));
          acceptOnlyKeys(line, [](QChar c) { return isDigitKey(c) || c == QLatin1Char('-') || c == QLatin1Char('/'); });
          clearOnBackspace(line);
          break;
        case FieldDef::Date:
          acceptOnlyKeys(line, [name](QChar c) {
            if (isDigitKey(c)) return true;
            if (name == QLatin1String("DBEDTDATA_NASCIMENTO")) return c == QLatin1Char(' ');
            if (name == QLatin1String("DBEDTCADASTRO")) return c == QLatin1Char(' ') || c == QLatin1Char('/');
            return false;
          });
          new DateField(line);
          break;
        case FieldDef::Blanks:
          upperCaseField(line);
          clearOnBackspace(line);
          break;
        default: break;
      }
      widget = line;
    }
    widget->setObjectName(name);
    label->setBuddy(widget);
    const int row = i % 11, column = (i / 11) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(widget, row, column + 1);
    fields_.insert(name, widget);
    ++i;
  }
}

void TFRMALUNOS::buildChain() {
  chain_ = new FieldChain(this);
  chain_->setEnd(buttons_.value(QStringLiteral("BBNCONFIRMA")));
  auto required = [this](const char* name, const char* label) -> FieldCheck {
    return [this, name, label] {
      return checkRequiredField(edit(name)->text(), QString::fromUtf8(label));
    };
  };
  auto settle = [this](const char* name) -> std::function<void()> {
    QLineEdit* line = edit(name);
    return [line] {
      if (auto* date = line->findChild<DateField*>()) date->settle();
    };
  };
  chain_->add(field(QStringLiteral("DBEDTMATRICULA")),
              [this] { return checkMatriculaField(edit("DBEDTMATRICULA")->text()); });
  chain_->add(field(QStringLiteral("DBEDTNOME")), required("DBEDTNOME", "Nome"));
  chain_->add(field(QStringLiteral("DBEDTSEXO")), required("DBEDTSEXO", "Sexo"));
  chain_->add(field(QStringLiteral("DBEDTENDERECO")), required("DBEDTENDERECO", "Endereço"));
  chain_->add(field(QStringLiteral("DBEDTBAIRRO")), required("DBEDTBAIRRO", "Bairro"));
  chain_->add(field(QStringLiteral("DBEDTCIDADE")), required("DBEDTCIDADE", "Cidade"));
  chain_->add(field(QStringLiteral("DBCBESTADO")), [this] {
    return checkRequiredField(qobject_cast<QComboBox*>(field(QStringLiteral("DBCBESTADO")))->currentText(),
                              QStringLiteral("Estado"));
  });
  chain_->add(field(QStringLiteral("DBEDTCEP")), [this] { return checkCepField(edit("DBEDTCEP")->text()); });
  for (const char* name : {"DBEDTDATA_NASCIMENTO"}) chain_->add(field(QString::fromLatin1(name)), {}, settle(name));
  chain_->add(field(QStringLiteral("DBEDTIDENTIDADE")),
              [this] { return checkBlanksField(edit("DBEDTIDENTIDADE")->text(), QStringLiteral("Identidade")); });
  chain_->add(field(QStringLiteral("DBEDTCPF")),
              [this] { return checkBlanksField(edit("DBEDTCPF")->text(), QStringLiteral("CPF")); });
  for (const char* name : {"DBEDTTELEFONE", "DBEDTTELEFONECOM", "DBEDTCELULAR", "DBEDTRADIO",
                           "DBEDTPROFISSAO", "DBEDTRESPONSAVEL"})
    chain_->add(field(QString::fromLatin1(name)));
  for (const char* name : {"DBEDTCADASTRO", "DBEDTSAIDA"}) chain_->add(field(QString::fromLatin1(name)), {}, settle(name));
  chain_->add(field(QStringLiteral("DBEDTEMAIL")));
  for (const char* name : {"DBEDTMEDICA", "DBEDTFUNCIONAL"}) chain_->add(field(QString::fromLatin1(name)), {}, settle(name));
}

bool TFRMALUNOS::ABRE_TABELAS() {
  photoFollows_ = false;
  const QSqlDatabase db = ADOConnectionVantrel().database();
  if (!sqlRuns(db, QStringLiteral("SELECT CODIGO, C_EXCLUI_ALUNOS FROM Usuarios WHERE 1 = 0"))) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
    return false;
  }
  const std::optional<QVariantMap> settings = readSettings(db);
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  numbering_ = settings->value(QStringLiteral("CODIGOSEQ")).toString();
  capture_ = settings->value(QStringLiteral("CAPTURA_WEB")).toString();
  model_ = new PagedTableModel(
      db, ADOConnectionVantrel().dialect(), QStringLiteral("Alunos"),
      {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
       {QStringLiteral("NOME"), QStringLiteral("Nome")},
       {QStringLiteral("DATA_CADASTRADO"), QStringLiteral("Cadastro"), dateColumn}},
      {QStringLiteral("MATRICULA")}, this);
  if (!model_->refresh()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alunos"));
    return false;
  }
  DBGALUNOS->setModel(model_);
  DBGALUNOS->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  connect(DBGALUNOS->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (photoFollows_) showCurrentMember();
  });
  photoFollows_ = true;
  selectRow(model_->rowCount() > 0 ? 0 : -1);
  showCurrentMember();
  return true;
}

void TFRMALUNOS::ATIVA_BOTOES() {
  for (const char* name : {"SBPROCURA", "SBINCLUIR", "SBALTERAR", "SBEXCLUIR", "SBSAIR"})
    buttons_.value(QString::fromLatin1(name))->setEnabled(true);
  photoFollows_ = true;
}

void TFRMALUNOS::DESATIVA_BOTOES() {
  for (const char* name : {"SBPROCURA", "SBINCLUIR", "SBALTERAR", "SBEXCLUIR", "SBSAIR"})
    buttons_.value(QString::fromLatin1(name))->setEnabled(false);
  photoFollows_ = false;
}

void TFRMALUNOS::setFieldsEnabled(bool enabled) {
  for (QWidget* w : fields_) w->setEnabled(enabled);
}

void TFRMALUNOS::setEditButtons(bool confirmCancel, bool photoButtons) {
  buttons_.value(QStringLiteral("BBNCONFIRMA"))->setEnabled(confirmCancel);
  buttons_.value(QStringLiteral("BBNCANCELA"))->setEnabled(confirmCancel);
  buttons_.value(QStringLiteral("BBNFOTO"))->setEnabled(photoButtons);
  PNLLIMPA->setEnabled(photoButtons);
  PNLLIMPA->setStyleSheet(photoButtons ? QStringLiteral("background-color: #1e63c4; color: white;")
                                       : QString());
}

int TFRMALUNOS::currentRow() const {
  const QModelIndex index = DBGALUNOS->currentIndex();
  return index.isValid() ? index.row() : -1;
}

void TFRMALUNOS::selectRow(int row) {
  if (row < 0 || !model_) return;
  const QModelIndex index = model_->index(row, 0);
  DBGALUNOS->setCurrentIndex(index);
  DBGALUNOS->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFRMALUNOS::showForm(const MemberForm& f) {
  const struct {
    const char* name;
    const QString& value;
  } values[] = {{"DBEDTMATRICULA", f.matricula},     {"DBEDTNOME", f.nome},
                {"DBEDTSEXO", f.sexo},               {"DBEDTENDERECO", f.endereco},
                {"DBEDTBAIRRO", f.bairro},           {"DBEDTCIDADE", f.cidade},
                {"DBEDTCEP", f.cep},                 {"DBEDTDATA_NASCIMENTO", f.nascimento},
                {"DBEDTIDENTIDADE", f.identidade},   {"DBEDTCPF", f.cpf},
                {"DBEDTTELEFONE", f.telefone},       {"DBEDTTELEFONECOM", f.telefoneCom},
                {"DBEDTCELULAR", f.celular},         {"DBEDTRADIO", f.radio},
                {"DBEDTPROFISSAO", f.profissao},     {"DBEDTRESPONSAVEL", f.responsavel},
                {"DBEDTCADASTRO", f.cadastrado},     {"DBEDTSAIDA", f.saida},
                {"DBEDTEMAIL", f.email},             {"DBEDTMEDICA", f.medica},
                {"DBEDTFUNCIONAL", f.funcional}};
  for (const auto& v : values) {
    QLineEdit* line = edit(v.name);
    // A stored value shows as it is; the mask comes back when the user types.
    if (line->findChild<DateField*>()) line->setInputMask(QString());
    line->setText(v.value);
    line->setCursorPosition(0);  // the beginning of a long name shows, not its end
  }
  auto* state = qobject_cast<QComboBox*>(field(QStringLiteral("DBCBESTADO")));
  state->setCurrentIndex(qMax(0, state->findText(f.estado)));
}

MemberForm TFRMALUNOS::readForm() const {
  auto t = [this](const char* name) { return edit(name)->text(); };
  return {t("DBEDTMATRICULA"),   t("DBEDTNOME"),      t("DBEDTSEXO"),
          t("DBEDTENDERECO"),    t("DBEDTBAIRRO"),    t("DBEDTCIDADE"),
          qobject_cast<QComboBox*>(field(QStringLiteral("DBCBESTADO")))->currentText(),
          t("DBEDTCEP"),         t("DBEDTDATA_NASCIMENTO"), t("DBEDTIDENTIDADE"),
          t("DBEDTCPF"),         t("DBEDTTELEFONE"),  t("DBEDTTELEFONECOM"),
          t("DBEDTCELULAR"),     t("DBEDTRADIO"),     t("DBEDTPROFISSAO"),
          t("DBEDTRESPONSAVEL"), t("DBEDTCADASTRO"),  t("DBEDTSAIDA"),
          t("DBEDTEMAIL"),       t("DBEDTMEDICA"),    t("DBEDTFUNCIONAL")};
}

void TFRMALUNOS::showCurrentMember() {
  const QSqlRecord record = model_ ? model_->record(currentRow()) : QSqlRecord();
  showForm(record.isEmpty() ? MemberForm() : memberFromRecord(record));
  MOSTRA_FOTO();
}

void TFRMALUNOS::MOSTRA_FOTO() {
  const QString matricula = model_ ? model_->record(currentRow()).value(QStringLiteral("MATRICULA")).toString()
                                   : QString();
  const QString key = matricula.isEmpty() ? selected_.str() : matricula;
  photo_ = QVariant();
  if (key.isEmpty()) {
    Image1->hide();
    return;
  }
  try {
    const std::optional<QVariant> row = loadPhotoRow(ADOConnectionVantrel().database(), kFotosAlunos, key);
    photo_ = row.value_or(QVariant());
  } catch (const std::exception&) {
    photo_ = QVariant();
  }
  showPicture(photo_);
}

void TFRMALUNOS::showPicture(const QVariant& photo) {
  if (photo.isNull() || photo.toByteArray().isEmpty()) {
    Image1->clear();
    Image1->hide();
    return;
  }
  QImage picture;
  try {
    LoadJpgFromTable(&photo, &picture, Image1->size());
  } catch (const PhotoError&) {
    picture = QImage();  // a blob that does not decode leaves an empty picture
  }
  Image1->setPixmap(picture.isNull() ? QPixmap()
                                     : QPixmap::fromImage(picture.scaled(Image1->size(), Qt::KeepAspectRatio,
                                                                         Qt::SmoothTransformation)));
  Image1->show();
}

void TFRMALUNOS::enterBrowse() {
  mode_ = Mode::Browse;
  PNLPROCURA->hide();
  setEditButtons(false, false);
  setFieldsEnabled(false);
  DBGALUNOS->setEnabled(true);
  ATIVA_BOTOES();
  setWindowTitle(QStringLiteral("Alunos"));
  if (auto* frame = parentWidget()) frame->setWindowTitle(windowTitle());
}

void TFRMALUNOS::SBPROCURAClick() {
  mode_ = Mode::Search;
  PNLPROCURA->open(1);
  model_->setOrder({QStringLiteral("NOME")});
  DESATIVA_BOTOES();
  photoFollows_ = true;
  PNLPROCURA->text()->setFocus();
}

void TFRMALUNOS::searchTextEdited(const QString& text) {
  if (PNLPROCURA->order() == 0) {
    if (text.isEmpty()) return;
    selected_ = padMatricula(text);
    const int row = model_->rowAtOrAfter(selected_, true);
    if (row >= 0) selectRow(row);
    return;
  }
  const int row = model_->rowAtOrAfter(text, true);
  if (row >= 0) selectRow(row);
  selected_ = model_->record(currentRow()).value(QStringLiteral("MATRICULA")).toString();
}

bool TFRMALUNOS::lookUpSelected() {
  model_->setOrder({QStringLiteral("MATRICULA")});
  const int row = model_->rowOfKey(selected_.str());
  if (row < 0) return false;
  selectRow(row);
  return true;
}

void TFRMALUNOS::searchEntered(const QString& text) {
  if (text.isEmpty()) {
    if (PNLPROCURA->order() == 0) MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    else MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Nome"));
    return;
  }
  if (!lookUpSelected()) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    PNLPROCURA->text()->clear();
    return;
  }
  const QSqlRecord record = model_->record(currentRow());
  PNLPROCURA->showResult(record.value(QStringLiteral("MATRICULA")).toString() +
                         QStringLiteral(" - ") + record.value(QStringLiteral("NOME")).toString());
  selected_ = record.value(QStringLiteral("MATRICULA")).toString();
  showCurrentMember();
  ATIVA_BOTOES();
}

void TFRMALUNOS::searchReturned() {
  selected_ = model_->record(currentRow()).value(QStringLiteral("MATRICULA")).toString();
  if (!lookUpSelected()) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    PNLPROCURA->text()->clear();
    return;
  }
  mode_ = Mode::Browse;
  PNLPROCURA->hide();
  ATIVA_BOTOES();
}

void TFRMALUNOS::gridDoubleClicked() {
  if (mode_ != Mode::Browse && mode_ != Mode::Search) return;
  selected_ = model_->record(currentRow()).value(QStringLiteral("MATRICULA")).toString();
  lookUpSelected();
  mode_ = Mode::Browse;
  PNLPROCURA->hide();
  ATIVA_BOTOES();
  showCurrentMember();
}

void TFRMALUNOS::SBINCLUIRClick() {
  Image1->hide();
  PNLPROCURA->hide();
  DESATIVA_BOTOES();
  model_->refresh();  // rows added at other workstations count
  QString state, city;
  if (model_->rowCount() > 0) {
    const QSqlRecord current = model_->record(qMax(0, currentRow()));
    state = current.value(QStringLiteral("ESTADO")).toString();
    city = current.value(QStringLiteral("CIDADE")).toString();
  }
  mode_ = Mode::Insert;
  setWindowTitle(QStringLiteral("INCLUSÃO DE ALUNOS"));
  if (auto* frame = parentWidget()) frame->setWindowTitle(windowTitle());
  MemberForm fresh;
  fresh.estado = state;
  fresh.cidade = city;
  fresh.cadastrado = formatTypedDate(QDate::currentDate());
  showForm(fresh);
  photo_ = QVariant();
  setFieldsEnabled(true);
  DBGALUNOS->setEnabled(false);
  setEditButtons(true, true);
  QLineEdit* number = edit("DBEDTMATRICULA");
  number->setFocus();
  if (numbering_ == QStringLiteral("Sim")) {
    std::optional<QString> next;
    try {
      next = nextMatricula(ADOConnectionVantrel().database(), QStringLiteral("Alunos"));
    } catch (const SqlError&) {
      next.reset();
    }
    if (!next) {
      numberingFailed();
      return;
    }
    selected_ = *next;
    number->setText(*next);
    number->setEnabled(false);
    edit("DBEDTNOME")->setFocus();
  } else {
    selected_ = QString();
  }
}

// No number could be worked out: nothing can be typed, and the window goes back to browsing
// so the user is never left without a way out.
void TFRMALUNOS::numberingFailed() {
  MENSAGEM(kInfo, Msg::RegistroJaAlocado, QStringLiteral("Alunos"));
  setEditButtons(false, false);
  setFieldsEnabled(false);
  DBGALUNOS->setEnabled(true);
  enterBrowse();
  showCurrentMember();
}

void TFRMALUNOS::SBALTERARClick() {
  if (model_->rowCount() == 0 || currentRow() < 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, QStringLiteral("ALUNOS"));
    return;
  }
  PNLPROCURA->hide();
  DESATIVA_BOTOES();
  mode_ = Mode::Change;
  setWindowTitle(QStringLiteral("ALTERAÇÃO DE ALUNOS"));
  if (auto* frame = parentWidget()) frame->setWindowTitle(windowTitle());
  showCurrentMember();
  selected_ = edit("DBEDTMATRICULA")->text();
  setFieldsEnabled(true);
  edit("DBEDTMATRICULA")->setEnabled(false);
  DBGALUNOS->setEnabled(false);
  setEditButtons(true, true);
  edit("DBEDTENDERECO")->setFocus();
}

// The delete right is read afresh; another user may authorise one delete. The status panel
// then names the logged-in user again. (The open-window count is left alone: this window
// stays open.)
bool TFRMALUNOS::TESTA_EXCLUSAO() {
  const Permission permission = checkPermission(QStringLiteral("C_EXCLUI_ALUNOS"));
  if (permission == Permission::UsersUnavailable) return false;
  if (!restoreUserPanel())
    MENSAGEM(kInfo, Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  TBLUSUARIOS().close();
  return permission == Permission::Granted;
}

void TFRMALUNOS::SBEXCLUIRClick() {
  if (!TESTA_EXCLUSAO()) return;
  if (model_->rowCount() == 0 || currentRow() < 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, QStringLiteral("Alunos"));
    return;
  }
  PNLPROCURA->hide();
  mode_ = Mode::Delete;
  setEditButtons(true, false);
  setFieldsEnabled(false);
  DBGALUNOS->setEnabled(false);
  selected_ = edit("DBEDTMATRICULA")->text();
  DESATIVA_BOTOES();
  setWindowTitle(QStringLiteral("EXCLUSÃO DE ALUNOS"));
  if (auto* frame = parentWidget()) frame->setWindowTitle(windowTitle());
  buttons_.value(QStringLiteral("BBNCANCELA"))->setFocus();
}

void TFRMALUNOS::BBNCONFIRMAClick() {
  const QSqlDatabase db = ADOConnectionVantrel().database();
  if (mode_ == Mode::Delete) {
    // Deleting needs only the number: a stored member that would fail today's checks
    // (an old record without a district, say) can still be removed.
    if (!deleteMember(db, selected_.str())) {
      closeWindow();
      return;
    }
    const int row = currentRow();
    model_->refresh();
    enterBrowse();
    selectRow(qMin(row, model_->rowCount() - 1));
    showCurrentMember();
    return;
  }
  MemberForm form = readForm();
  if (const std::optional<FieldRefusal> refusal = checkMemberForConfirm(form)) {
    refuseField(field(refusal->field), refusal->error);
    return;
  }
  edit("DBEDTDATA_NASCIMENTO")->setText(form.nascimento);
  edit("DBEDTMATRICULA")->setText(form.matricula);
  if (!saveMember(db, form, photo_, mode_ == Mode::Insert)) {
    // Nothing half-entered stays on screen after a failed write.
    closeWindow();
    return;
  }
  model_->refresh();
  enterBrowse();
  selectRow(model_->rowOfKey(form.matricula));
  showCurrentMember();
}

void TFRMALUNOS::BBNCANCELAClick() {
  model_->refresh();
  enterBrowse();
  const int row = model_->rowOfKey(selected_.str());
  selectRow(row >= 0 ? row : 0);
  showCurrentMember();
}

void TFRMALUNOS::BBNFOTOClick() {
  QLineEdit* number = edit("DBEDTMATRICULA");
  if (checkMatriculaField(number->text())) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    number->clear();
    return;
  }
  selected_ = padMatricula(number->text());
  if (capture_ == QStringLiteral("Sim")) {
    number->setText(selected_);
    TFRMCAPTURA capture(selected_, &photo_, [this](const QImage&) { showPicture(photo_); }, this);
    capture.exec();
    return;
  }
  CARREGA_FOTO();
}

bool TFRMALUNOS::CARREGA_FOTO() {
  const QString file = photoFileChooser()(this);
  if (file.isEmpty()) return false;
  try {
    AddJpgToTable(file, &photo_);
  } catch (const PhotoError&) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Nome"));
    return false;
  }
  showPicture(photo_);
  return true;
}
