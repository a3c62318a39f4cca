#include "registry/exercise_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "forms/field_keys.h"
#include "forms/paged_grid.h"
#include "forms/search_panel.h"
#include "forms/session.h"
#include "forms/video_player.h"
#include "registry/catalogue_reports.h"
#include "registry/exercise_store.h"
#include "registry/muscle_group_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kCaption = QStringLiteral("Exercícios");

const QList<FieldDef> kFields = {
    {"Codigo", "DBEDTCODIGO", "Código", kExerciseCodeWidth, FieldDef::Digits},
    {"Aparelho", "DBEDTAPARELHO", "Aparelho", kMachineWidth, FieldDef::Digits},
    {"Descricao", "DBEDTDESCRICAO", "Descrição", kExerciseDescriptionWidth, FieldDef::Upper},
    {"DESCRICAOABREVIADA", "DBEDTDESCRICAOABREVIADA", "Descrição 40 colunas",
     kShortDescriptionWidth, FieldDef::Upper},
    {nullptr, "DBEDTTIPOAEROBICO", "Aeróbica", 0, FieldDef::List},
    {"Caminho_Video", "DBEDTCAMINHO_VIDEO", "Caminho de Video", 500, FieldDef::Text},
    {"CODIGO_G", "DBEDTCODIGO_G", "Gp. Muscular", kGroupCodeWidth, FieldDef::Digits},
};

QString chooseVideoFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(
      parent, QStringLiteral("Caminho do Video"), QString(),
      QStringLiteral(
          "Vídeos (*.mpg *.mpeg *.vro *.avi *.wav *.asf *.wmv *.vob *.mp4 *.mkv *.webm)"));
}

std::function<QString(QWidget*)>& videoFileChooser() {
  static std::function<QString(QWidget*)> chooser = chooseVideoFile;
  return chooser;
}

EditMode editModeOf(RegistryWindow::Mode mode) {
  return mode == RegistryWindow::Mode::Insert   ? EditMode::Insert
         : mode == RegistryWindow::Mode::Change ? EditMode::Change
                                                : EditMode::Delete;
}

}  // namespace

void TFRMCADASTROEXERCICIOS::setVideoFileChooser(std::function<QString(QWidget*)> chooser) {
  videoFileChooser() = chooser ? std::move(chooser) : chooseVideoFile;
}

TFRMCADASTROEXERCICIOS::TFRMCADASTROEXERCICIOS(Session& session, QWidget* parent)
    : RegistryWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMCADASTROEXERCICIOS"));
  setWindowTitle(kCaption);
  addToolButton("SBPROCURA", QStringLiteral("Procura de Exercícios"), [this] { SBPROCURAClick(); });
  addToolButton("SBINCLUIR", QStringLiteral("Incluir"), [this] { SBINCLUIRClick(); });
  addToolButton("SBALTERAR", QStringLiteral("Alterar"), [this] { SBALTERARClick(); });
  addToolButton("SBEXCLUIR", QStringLiteral("Excluir"), [this] { SBEXCLUIRClick(); });
  addToolButton("SBCONSULTAR", QStringLiteral("Consultar"), [this] { SBCONSULTARClick(); });
  addToolButton("SBSAIR", QStringLiteral("Sair"), [this] { closeWindow(); });

  PNLPROCURA =
      new SearchPanel(this, {QStringLiteral("PNLCODIGO"), QStringLiteral("Código"), 3, true},
                      {QStringLiteral("PNLDESCRICAO"), QStringLiteral("Descrição"), 35, false},
                      QStringLiteral("EDTCODIGO"), QStringLiteral("Retorna"));
  PNLPROCURA->hide();
  connect(PNLPROCURA, &SearchPanel::orderChosen, this, [this](int order) {
    model()->setOrder({order == 0 ? QStringLiteral("Codigo") : QStringLiteral("Descricao")});
  });
  connect(PNLPROCURA, &SearchPanel::textEdited, this, &TFRMCADASTROEXERCICIOS::searchTextEdited);
  connect(PNLPROCURA, &SearchPanel::entered, this, &TFRMCADASTROEXERCICIOS::searchEntered);
  connect(PNLPROCURA, &SearchPanel::returned, this, &TFRMCADASTROEXERCICIOS::searchReturned);
  mainLayout()->addWidget(PNLPROCURA);

  addFields(kFields, 7);
  list(QStringLiteral("DBEDTTIPOAEROBICO"))->addItems({kTipoSim, kTipoNao});
  buildSide();
  addGrid("DBGEXERCICIOS");
  buildGroupPanel();
  addConfirmCancel();
  connect(button(QStringLiteral("BBNCONFIRMA")), &QPushButton::clicked, this,
          &TFRMCADASTROEXERCICIOS::BBNCONFIRMAClick);
  connect(button(QStringLiteral("BBNCANCELA")), &QPushButton::clicked, this,
          &TFRMCADASTROEXERCICIOS::BBNCANCELAClick);
  buildChain();
  setEditControls(false);

  Timer1.setInterval(2000);
  connect(&Timer1, &QTimer::timeout, this, &TFRMCADASTROEXERCICIOS::videoTick);

  const Connection& workout = session.workout();
  setModel(
      new PagedTableModel(workout.database(), workout.dialect(), kExerciseTable,
                          {{QStringLiteral("Codigo"), QStringLiteral("Código")},
                           {QStringLiteral("Aparelho"), QStringLiteral("Aparelho")},
                           {QStringLiteral("Descricao"), QStringLiteral("Descrição")},
                           {QStringLiteral("DESCRICAOABREVIADA"), QStringLiteral("40 Colunas")}},
                          {QStringLiteral("Codigo")}, this),
      2);
  setPreferredSize(QSize(860, 640));
}

TFRMCADASTROEXERCICIOS::~TFRMCADASTROEXERCICIOS() {
  Timer1.stop();
}

void TFRMCADASTROEXERCICIOS::buildSide() {
  auto* side = new QVBoxLayout;
  LBLDESCRICAOMUSCULAR = new QLabel(this);
  LBLDESCRICAOMUSCULAR->setObjectName(QStringLiteral("LBLDESCRICAOMUSCULAR"));
  side->addWidget(LBLDESCRICAOMUSCULAR);
  const struct {
    const char* name;
    const char* text;
    void (TFRMCADASTROEXERCICIOS::*slot)();
  } buttons[] = {{"SBGRUPAMENTOMUSCULAR", "Grupamento Muscular", nullptr},
                 {"SBVIDEO", "Caminho do Video", &TFRMCADASTROEXERCICIOS::SBVIDEOClick},
                 {"BBNVIDEO", "Vídeo", &TFRMCADASTROEXERCICIOS::BBNVIDEOClick},
                 {"SBAJUDAATIV", "Ajuda", nullptr}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setToolTip(QString::fromUtf8(b.text));
    button->setAutoDefault(false);
    if (b.slot) connect(button, &QPushButton::clicked, this, b.slot);
    side->addWidget(button);
  }
  connect(findChild<QPushButton*>(QStringLiteral("SBGRUPAMENTOMUSCULAR")), &QPushButton::clicked,
          this, [this] {
            groups_->refresh();
            PNLMUSCULAR->show();
            groupGrid_->setFocus();
          });
  connect(findChild<QPushButton*>(QStringLiteral("SBAJUDAATIV")), &QPushButton::clicked, this,
          [this] {
            TFRMAJUDAEXERCICIOS help(this);
            help.exec();
          });
  video_ = new VideoPlayer(this);
  video_->setObjectName(QStringLiteral("MEDIAPLAYER"));
  video_->setMinimumSize(240, 180);
  side->addWidget(video_);
  side->addStretch();
  middleRow()->addLayout(side);
}

void TFRMCADASTROEXERCICIOS::buildGroupPanel() {
  PNLMUSCULAR = new QFrame(this);
  PNLMUSCULAR->setObjectName(QStringLiteral("PNLMUSCULAR"));
  PNLMUSCULAR->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(PNLMUSCULAR);
  layout->addWidget(new QLabel(QStringLiteral("Grupamento Muscular"), PNLMUSCULAR));
  groupGrid_ = new QTableView(PNLMUSCULAR);
  groupGrid_->setObjectName(QStringLiteral("DBGGRUPAMENTOMUSCULAR"));
  groupGrid_->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  groupGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  groupGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(groupGrid_);
  const Connection& workout = session().workout();
  groups_ = new PagedTableModel(workout.database(), workout.dialect(), kMuscleGroupTable,
                                {{QStringLiteral("CODIGO"), QStringLiteral("Código")},
                                 {QStringLiteral("DESCRICAO"), QStringLiteral("Descrição")}},
                                {QStringLiteral("CODIGO")}, this);
  groupGrid_->setModel(groups_);
  groupGrid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  layout->addWidget(groupGrid_);
  connect(groupGrid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    const QSqlRecord group = groups_->record(index.row());
    setFieldText(QStringLiteral("DBEDTCODIGO_G"), group.value(QStringLiteral("CODIGO")).toString());
    LBLDESCRICAOMUSCULAR->setText(group.value(QStringLiteral("DESCRICAO")).toString());
    PNLMUSCULAR->hide();
  });
  PNLMUSCULAR->hide();
  mainLayout()->insertWidget(mainLayout()->count() - 1, PNLMUSCULAR);
}

void TFRMCADASTROEXERCICIOS::buildChain() {
  const QSqlDatabase db = session().workout().database();
  auto text = [this](const char* name) { return fieldText(QString::fromLatin1(name)); };
  chain()->add(field(QStringLiteral("DBEDTCODIGO")),
               [this, db, text]() -> std::optional<FieldError> {
                 if (auto error = checkExerciseCodeField(db, text("DBEDTCODIGO"))) return error;
                 setFieldText(QStringLiteral("DBEDTCODIGO"), padExerciseCode(text("DBEDTCODIGO")));
                 field(QStringLiteral("DBEDTCODIGO"))->setEnabled(false);  // the code is now fixed
                 return std::nullopt;
               });
  chain()->add(field(QStringLiteral("DBEDTAPARELHO")), [this, text]() -> std::optional<FieldError> {
    if (auto error = checkMachineField(text("DBEDTAPARELHO"))) return error;
    setFieldText(QStringLiteral("DBEDTAPARELHO"),
                 machineText(text("DBEDTAPARELHO")).value_or(QString()));
    return std::nullopt;
  });
  chain()->add(field(QStringLiteral("DBEDTDESCRICAO")),
               [text] { return checkExerciseDescriptionField(text("DBEDTDESCRICAO")); });
  // The short name moves on only while the description itself is there.
  auto descriptionAgain = [this, text]() -> std::optional<FieldError> {
    if (auto error = checkExerciseDescriptionField(text("DBEDTDESCRICAO"))) {
      refuseField(field(QStringLiteral("DBEDTDESCRICAO")), *error);
      error->shown = true;  // the focus stays on the description
      return error;
    }
    return std::nullopt;
  };
  chain()->add(field(QStringLiteral("DBEDTDESCRICAOABREVIADA")), descriptionAgain);
  chain()->add(field(QStringLiteral("DBEDTTIPOAEROBICO")));
  chain()->add(field(QStringLiteral("DBEDTCAMINHO_VIDEO")), descriptionAgain);
  chain()->add(field(QStringLiteral("DBEDTCODIGO_G")),
               [this, db, text]() -> std::optional<FieldError> {
                 QString description;
                 if (auto error = checkExerciseGroupField(db, text("DBEDTCODIGO_G"), &description))
                   return error;
                 setFieldText(QStringLiteral("DBEDTCODIGO_G"), padGroupCode(text("DBEDTCODIGO_G")));
                 LBLDESCRICAOMUSCULAR->setText(description);
                 return std::nullopt;
               });
}

bool TFRMCADASTROEXERCICIOS::groupsOn() const {
  return muscleGroupsOn(G().GSTR_GRUPAMENTO_MUSCULAR);
}

bool TFRMCADASTROEXERCICIOS::ABRE_TABELAS() {
  const QSqlDatabase db = session().workout().database();
  if (!exerciseTablesUsable(db, G().GSTR_GRUPAMENTO_MUSCULAR).okOrTell() || !model()->refresh())
    return false;
  // Without muscle groups the group label, field and button are not there at all.
  for (QWidget* w :
       {field(QStringLiteral("DBEDTCODIGO_G")), static_cast<QWidget*>(LBLDESCRICAOMUSCULAR),
        static_cast<QWidget*>(findChild<QPushButton*>(QStringLiteral("SBGRUPAMENTOMUSCULAR")))})
    w->setVisible(groupsOn());
  for (QLabel* label : findChildren<QLabel*>())
    if (label->buddy() == field(QStringLiteral("DBEDTCODIGO_G"))) label->setVisible(groupsOn());
  LBLDESCRICAOMUSCULAR->clear();
  selectRow(0);
  showCurrentExercise();
  return true;
}

void TFRMCADASTROEXERCICIOS::currentRowChanged() {
  if (mode() == Mode::Browse || mode() == Mode::Search) showCurrentExercise();
}

void TFRMCADASTROEXERCICIOS::showCurrentExercise() {
  const QSqlRecord row = currentRecord();
  RegistryWindow::ColumnTexts values;
  for (const QString& column : {QStringLiteral("Codigo"), QStringLiteral("Aparelho"),
                                QStringLiteral("Descricao"), QStringLiteral("DESCRICAOABREVIADA"),
                                QStringLiteral("Caminho_Video"), QStringLiteral("CODIGO_G")})
    values.insert(column, row.value(column).toString());
  showColumns(values);
  list(QStringLiteral("DBEDTTIPOAEROBICO"))
      ->setCurrentText(tipoShown(row.value(QStringLiteral("Tipo")).toString()));
  showGroupLabel();
}

void TFRMCADASTROEXERCICIOS::showGroupLabel() {
  if (!groupsOn()) return;
  std::optional<QString> description;
  try {
    description = muscleGroupDescription(session().workout().database(),
                                         fieldText(QStringLiteral("DBEDTCODIGO_G")));
  } catch (const std::exception&) {
    description.reset();
  }
  LBLDESCRICAOMUSCULAR->setText(description.value_or(QString()));
}

void TFRMCADASTROEXERCICIOS::setEditControls(bool enabled) {
  setFieldsEnabled(enabled);
  for (const char* name : {"SBVIDEO", "BBNVIDEO", "SBGRUPAMENTOMUSCULAR"})
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(enabled);
}

void TFRMCADASTROEXERCICIOS::SBPROCURAClick() {
  setMode(Mode::Search, QString());
  PNLPROCURA->open(1);
  model()->setOrder({QStringLiteral("Descricao")});
  DESATIVA_BOTOES();
}

void TFRMCADASTROEXERCICIOS::searchTextEdited(const QString& text) {
  if (PNLPROCURA->order() == 0 && text.isEmpty()) return;
  selected_ =
      searchTextChanged(PNLPROCURA, text, QStringLiteral("Descricao"), padExerciseCode, false);
}

void TFRMCADASTROEXERCICIOS::searchEntered(const QString& text) {
  if (text.isEmpty()) {
    if (PNLPROCURA->order() == 0)
      MENSAGEM(kInfo, Msg::CodigoIncorreto);
    else
      MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Descrição"));
    return;
  }
  if (!showSearchResult(PNLPROCURA, selected_, QStringLiteral("Descricao"))) return;
  showCurrentExercise();
  ATIVA_BOTOES();
}

void TFRMCADASTROEXERCICIOS::searchReturned() {
  PNLPROCURA->hide();
  ATIVA_BOTOES();
  setMode(Mode::Browse, QString());
  selected_ = currentRecord().value(QStringLiteral("Codigo")).toString();
  if (!lookUpKey(selected_)) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    PNLPROCURA->text()->clear();
  }
}

void TFRMCADASTROEXERCICIOS::SBINCLUIRClick() {
  model()->refresh();
  PNLPROCURA->hide();
  setMode(Mode::Insert, QStringLiteral("INCLUSÃO DE EXERCÍCIOS"));
  setConfirmCancel(true);
  setEditControls(true);
  grid()->setEnabled(false);
  DESATIVA_BOTOES();
  showColumns({});
  list(QStringLiteral("DBEDTTIPOAEROBICO"))->setCurrentText(tipoShown(QString()));
  LBLDESCRICAOMUSCULAR->clear();
  storedCode_.clear();
  field(QStringLiteral("DBEDTCODIGO"))->setFocus();
}

void TFRMCADASTROEXERCICIOS::SBALTERARClick() {
  refreshKeepingRow();
  if (model()->rowCount() == 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, QStringLiteral("Exercicios"));
    return;
  }
  showCurrentExercise();
  storedCode_ = fieldText(QStringLiteral("DBEDTCODIGO"));
  PNLPROCURA->hide();
  setMode(Mode::Change, QStringLiteral("ALTERAÇÃO DE EXERCÍCIOS"));
  setConfirmCancel(true);
  setEditControls(true);
  field(QStringLiteral("DBEDTCODIGO"))->setEnabled(false);
  grid()->setEnabled(false);
  DESATIVA_BOTOES();
  field(QStringLiteral("DBEDTAPARELHO"))->setFocus();
}

void TFRMCADASTROEXERCICIOS::SBEXCLUIRClick() {
  refreshKeepingRow();
  if (model()->rowCount() == 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, QStringLiteral("EXERCÍCIOS"));
    return;
  }
  showCurrentExercise();
  storedCode_ = fieldText(QStringLiteral("DBEDTCODIGO"));
  PNLPROCURA->hide();
  setMode(Mode::Delete, QStringLiteral("EXCLUSÃO DE EXERCÍCIOS"));
  setConfirmCancel(true);
  setEditControls(false);
  grid()->setEnabled(false);
  DESATIVA_BOTOES();
  button(QStringLiteral("BBNCANCELA"))->setFocus();
}

void TFRMCADASTROEXERCICIOS::SBCONSULTARClick() {
  refreshKeepingRow();
  setCaption(QStringLiteral("CONSULTA DE EXERCICIOS"));
  TFRMCONSULTAEXERCICIOS listing(this);
  listing.exec();
  setCaption(kCaption);
}

void TFRMCADASTROEXERCICIOS::BBNCONFIRMAClick() {
  const QSqlDatabase db = session().workout().database();
  const EditMode editMode = editModeOf(mode());
  auto text = [this](const char* name) { return fieldText(QString::fromLatin1(name)); };
  Exercise form{text("DBEDTCODIGO"),
                text("DBEDTAPARELHO"),
                text("DBEDTDESCRICAO"),
                text("DBEDTDESCRICAOABREVIADA"),
                tipoStored(text("DBEDTTIPOAEROBICO")),
                text("DBEDTCAMINHO_VIDEO"),
                text("DBEDTCODIGO_G")};
  QString groupDescription;
  if (const std::optional<ConfirmRefusal> refusal =
          checkExerciseForConfirm(db, editMode, form, groupsOn(), &groupDescription)) {
    refuseField(field(refusal->field), refusal->error);
    return;
  }
  if (groupsOn()) LBLDESCRICAOMUSCULAR->setText(groupDescription);
  switch (told(saveExercise(db, editMode, storedCode_, form, groupsOn()))) {
    case ConfirmResult::Written:
      backToBrowse();
      selectRow(model()->rowOfKey(form.code));
      showCurrentExercise();
      break;
    case ConfirmResult::Duplicate:
      retypeCode(QStringLiteral("DBEDTCODIGO"));
      break;
    case ConfirmResult::Failed:
      // Nothing half-entered stays on screen after a failed write.
      closeWindow();
      break;
  }
}

void TFRMCADASTROEXERCICIOS::BBNCANCELAClick() {
  backToBrowse();
  if (!ABRE_TABELAS()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    closeWindow();
  }
}

void TFRMCADASTROEXERCICIOS::backToBrowse() {
  PNLMUSCULAR->hide();
  PNLPROCURA->hide();
  setMode(Mode::Browse, kCaption);
  setConfirmCancel(false);
  setEditControls(false);
  grid()->setEnabled(true);
  model()->refresh();
  ATIVA_BOTOES();
}

void TFRMCADASTROEXERCICIOS::SBVIDEOClick() {
  const QString file = videoFileChooser()(this);
  if (!file.isEmpty()) setFieldText(QStringLiteral("DBEDTCAMINHO_VIDEO"), file);
}

void TFRMCADASTROEXERCICIOS::stopVideo() {
  video_->stop();
}

void TFRMCADASTROEXERCICIOS::BBNVIDEOClick() {
  stopVideo();
  const QString path = fieldText(QStringLiteral("DBEDTCAMINHO_VIDEO"));
  if (path.trimmed().isEmpty()) {
    MENSAGEM(kInfo, Msg::NenhumResultadoEncontrado, QStringLiteral("Exercício sem Vídeo"));
    return;
  }
  if (!video_->play(path)) return;
  for (const char* name : {"BBNVIDEO", "BBNCONFIRMA", "BBNCANCELA"})
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(false);
  Timer1.start();
}

// Every two seconds: while the video plays nothing happens; once it ended, or never started
// (a missing file or one that is not a video), the player goes away and the buttons come back.
void TFRMCADASTROEXERCICIOS::videoTick() {
  if (video_->playing()) return;
  Timer1.stop();
  stopVideo();
  const bool editing = mode() == Mode::Insert || mode() == Mode::Change;
  findChild<QPushButton*>(QStringLiteral("BBNVIDEO"))->setEnabled(editing);
  setConfirmCancel(editing || mode() == Mode::Delete);
}

TFRMCONSULTAEXERCICIOS::TFRMCONSULTAEXERCICIOS(QWidget* parent)
    : RangeListingWindow(
          QStringLiteral("Consulta de Exercícios"), exerciseCatalogue(), kExerciseCodeWidth,
          [this](const QSqlDatabase& db, const CodeRange& range) {
            return exerciseListing(db, currentHeading(range),
                                   byDescription_ && byDescription_->isChecked()
                                       ? ListingOrder::Description
                                       : ListingOrder::Code);
          },
          parent) {
  setObjectName(QStringLiteral("TFRMCONSULTAEXERCICIOS"));
  auto* order = new QGroupBox(QStringLiteral("Ordenado por "), this);
  order->setObjectName(QStringLiteral("RGORDENADO"));
  auto* layout = new QHBoxLayout(order);
  auto* byCode = new QRadioButton(QStringLiteral("Código"), order);
  byCode->setObjectName(QStringLiteral("RBCODIGO"));
  byCode->setChecked(true);
  byDescription_ = new QRadioButton(QStringLiteral("Descrição"), order);
  byDescription_->setObjectName(QStringLiteral("RBDESCRICAO"));
  layout->addWidget(byCode);
  layout->addWidget(byDescription_);
  layout->addStretch();
  extraArea()->addWidget(order);
}

TFRMAJUDAEXERCICIOS::TFRMAJUDAEXERCICIOS(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRMAJUDAEXERCICIOS"));
  setWindowTitle(QStringLiteral("Ajuda de Exercícios"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("Ajuda de Exercícios"), this);
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  title->setFont(big);
  layout->addWidget(title);
  layout->addWidget(new QLabel(
      QStringLiteral("Neste formulário são cadastrados todos os EXERCÍCIOS de sua  academia:"),
      this));
  const struct {
    const char* term;
    const char* meaning;
    const char* example;
  } items[] = {{"Código ", " - Determina um código para cada EXERCÍCIO.", "Ex.: 01...99"},
               {"Descrição", " - Determina um nome para cada EXERCÍCIO.",
                "Ex.: ABDOMINAL INVERTIDO, MESA FLEXORA"},
               {"Aeróbico", " - Determina se o EXERCÍCIO é do tipo aeróbico ou não.", nullptr}};
  for (const auto& item : items) {
    auto* row = new QLabel(QStringLiteral("<b>%1</b>%2")
                               .arg(QString::fromUtf8(item.term).toHtmlEscaped(),
                                    QString::fromUtf8(item.meaning).toHtmlEscaped()),
                           this);
    layout->addWidget(row);
    if (item.example) layout->addWidget(new QLabel(QString::fromUtf8(item.example), this));
  }
  auto* close = new QPushButton(QStringLiteral("Retorna"), this);
  close->setObjectName(QStringLiteral("BBNRETORNA"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(close, 0, Qt::AlignRight);
}
