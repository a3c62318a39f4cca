#include "prescription/series_builder_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/routines.h"
#include "base/typed_date.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/paged_grid.h"
#include "forms/search_panel.h"
#include "forms/session.h"
#include "forms/video_player.h"
#include "portal/portal_publish.h"
#include "prescription/stretch_strip.h"
#include "prescription/workout_grid.h"
#include "printing/report_output.h"
#include "printouts/series_sheet.h"
#include "registry/person_store.h"
#include "registry/photo_store.h"
#include "series/aerobic_model.h"
#include "series/series_save.h"
#include "series/workout_model.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kSim = QStringLiteral("Sim");
const QString kTempExercicio = QStringLiteral("TempExercicio");

const char* const kDayBoxes[kWeekdayCount] = {"CBDOM", "CBSEG", "CBTER", "CBQUA",
                                              "CBQUI", "CBSEX", "CBSAB"};
const char* const kDayCaptions[kWeekdayCount] = {"Domingo", "Segunda", "Terça", "Quarta",
                                                 "Quinta",  "Sexta",   "Sábado"};

void paintPanel(QPushButton* panel, bool active) {
  panel->setStyleSheet(active ? QStringLiteral("background-color: #2e9d3a; color: white;")
                              : QStringLiteral("background-color: #c62828; color: white;"));
  panel->setProperty("active", active);
}

// The reorder grid calls the first column "Ordem".
class ReorderHeaders : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == WorkoutModel::Seq)
      return QStringLiteral("Ordem");
    return QIdentityProxyModel::headerData(section, orientation, role);
  }
};

QFrame* panel(QWidget* parent, const char* name) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

// Series and view grids: Enter goes to the next column, and from "Intervalo" or "Observação"
// to "Descrição" of the next row.
QModelIndex nextSeriesCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  const QAbstractItemModel* model = from.model();
  if (from.column() >= WorkoutModel::Intervalo) {
    if (from.row() + 1 >= model->rowCount()) return {};
    return model->index(from.row() + 1, WorkoutModel::Descricao);
  }
  return model->index(from.row(), from.column() + 1);
}

// Aerobic grid: Enter goes to the next column, and from the level to the duration of the next
// row.
QModelIndex nextAerobicCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  if (from.column() >= AerobicModel::Nivel) {
    if (from.row() + 1 >= from.model()->rowCount()) return {};
    return from.model()->index(from.row() + 1, AerobicModel::Duracao);
  }
  return from.model()->index(from.row(), from.column() + 1);
}

// Reorder grid: Enter in "Nova Ordem" goes to the next row, elsewhere to "Nova Ordem".
QModelIndex nextReorderCell(const QModelIndex& from) {
  if (!from.isValid()) return {};
  if (from.column() != WorkoutModel::NovaOrdem)
    return from.model()->index(from.row(), WorkoutModel::NovaOrdem);
  if (from.row() + 1 >= from.model()->rowCount()) return {};
  return from.model()->index(from.row() + 1, WorkoutModel::NovaOrdem);
}

}  // namespace

TFRMTIPOEXERCICIO::TFRMTIPOEXERCICIO(Session& session, QWidget* parent)
    : ChildWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMTIPOEXERCICIO"));
  setWindowTitle(QStringLiteral("Tipo de Exercício"));
  workout_ = new WorkoutModel(this);
  aerobic_ = new AerobicModel(this);
  // The member's photo follows the cursor once the keys pause, not at every letter typed.
  photoTimer_.setSingleShot(true);
  photoTimer_.setInterval(kPhotoPause);
  connect(&photoTimer_, &QTimer::timeout, this,
          [this] { MOSTRA_FOTO(memberRecord().value(QStringLiteral("MATRICULA")).toString()); });
  Timer1.setInterval(2000);
  connect(&Timer1, &QTimer::timeout, this, &TFRMTIPOEXERCICIO::videoTick);
  build();
  setPreferredSize(QSize(1200, 680));
}

TFRMTIPOEXERCICIO::~TFRMTIPOEXERCICIO() {
  closeTables();
}

// ---------------------------------------------------------------------------------------------
// Layout

void TFRMTIPOEXERCICIO::build() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* exit = namedButton(this, "SBSAIR", QStringLiteral("Sair"));
  exit->setToolTip(QStringLiteral("Sair"));
  connect(exit, &QPushButton::clicked, this, &ChildWindow::closeWindow);
  top->addStretch();
  top->addWidget(exit);
  layout->addLayout(top);
  buildSearchArea();
  layout->addWidget(searchArea_);
  buildHeader();
  layout->addWidget(PNLCABECALHO);
  PNLFUNDO = panel(this, "PNLFUNDO");
  auto* stack = new QVBoxLayout(PNLFUNDO);
  buildWeekdays();
  buildEditing();
  buildReorder();
  buildView();
  buildAerobic();
  buildStretching();
  for (QFrame* block : blocks()) {
    stack->addWidget(block);
    block->hide();
  }
  layout->addWidget(PNLFUNDO, 1);
  PNLCABECALHO->hide();
  PNLFUNDO->hide();
}

void TFRMTIPOEXERCICIO::buildSearchArea() {
  searchArea_ = new QWidget(this);
  searchArea_->setObjectName(QStringLiteral("PNLPESQUISA"));
  auto* layout = new QGridLayout(searchArea_);
  auto* orders = new QHBoxLayout;
  PNLPROFMATRICULA = namedButton(searchArea_, "PNLPROFMATRICULA", QStringLiteral("Matrícula"));
  PNLPROFNOME = namedButton(searchArea_, "PNLPROFNOME", QStringLiteral("Nome"));
  for (QPushButton* b : {PNLPROFMATRICULA, PNLPROFNOME}) {
    b->setFocusPolicy(Qt::NoFocus);
    orders->addWidget(b);
  }
  connect(PNLPROFMATRICULA, &QPushButton::clicked, this,
          [this] { fillInstructors(QStringLiteral("MATRICULA")); });
  connect(PNLPROFNOME, &QPushButton::clicked, this,
          [this] { fillInstructors(QStringLiteral("NOME")); });
  layout->addWidget(new QLabel(QStringLiteral("Professor"), searchArea_), 0, 0);
  layout->addLayout(orders, 0, 1);
  CBFUNCIONARIOS = new QComboBox(searchArea_);
  CBFUNCIONARIOS->setObjectName(QStringLiteral("CBFUNCIONARIOS"));
  chooseOnlyList(CBFUNCIONARIOS);
  onFieldKeys(CBFUNCIONARIOS, [this] { instructorChosen(); }, {});
  CBFUNCIONARIOS->installEventFilter(this);
  layout->addWidget(CBFUNCIONARIOS, 1, 0, 1, 2);

  SearchPanel::Order byNumber{QStringLiteral("PNLMATRICULA"), QStringLiteral("Matrícula"), 10};
  byNumber.accepts = [](QChar c) { return isDigitKey(c) || c == QLatin1Char(' '); };
  SearchPanel::Order byName{QStringLiteral("PNLNOME"), QStringLiteral("Nome"), 35};
  byName.accepts = [](QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char(' ');
  };
  search_ = new SearchPanel(searchArea_, byNumber, byName);
  search_->findChild<QPushButton*>(QStringLiteral("BBNCANCELAP"))->hide();
  connect(search_, &SearchPanel::orderChosen, this, &TFRMTIPOEXERCICIO::searchOrderChosen);
  connect(search_, &SearchPanel::textEdited, this, &TFRMTIPOEXERCICIO::searchTextEdited);
  connect(search_, &SearchPanel::entered, this, &TFRMTIPOEXERCICIO::searchEntered);
  layout->addWidget(search_, 2, 0, 1, 2);

  DBGALUNOS = new WorkoutGrid(searchArea_);
  DBGALUNOS->setObjectName(QStringLiteral("DBGALUNOS"));
  DBGALUNOS->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  DBGALUNOS->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGALUNOS->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(DBGALUNOS);
  DBGALUNOS->installEventFilter(this);
  connect(DBGALUNOS, &QTableView::doubleClicked, this, &TFRMTIPOEXERCICIO::membersDoubleClicked);
  layout->addWidget(DBGALUNOS, 3, 0, 1, 2);
  Image1 = new QLabel(searchArea_);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setFrameShape(QFrame::Box);
  layout->addWidget(Image1, 0, 2, 4, 1, Qt::AlignTop);
}

// A block's "Confirma" and "Cancela" at the foot of its panel; with `escape`, Esc anywhere in
// the panel cancels too.
void TFRMTIPOEXERCICIO::addConfirmCancel(QFrame* block, const char* confirmName,
                                         void (TFRMTIPOEXERCICIO::*onConfirm)(),
                                         const char* cancelName,
                                         void (TFRMTIPOEXERCICIO::*onCancel)(), bool escape) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* confirm = namedButton(block, confirmName, QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, onConfirm);
  QPushButton* cancel = namedButton(block, cancelName, QStringLiteral("Cancela"));
  connect(cancel, &QPushButton::clicked, this, onCancel);
  if (escape) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), block);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, cancel, &QPushButton::click);
  }
  buttons->addWidget(confirm);
  buttons->addWidget(cancel);
  static_cast<QBoxLayout*>(block->layout())->addLayout(buttons);
}

QPushButton* TFRMTIPOEXERCICIO::headerButton(const char* name, const QString& caption) {
  QPushButton* b = namedButton(PNLCABECALHO, name, caption);
  b->setToolTip(caption);
  b->setMinimumWidth(b->sizeHint().width());  // the captions are read whole, never cut
  headerButtons_ << b;
  return b;
}

void TFRMTIPOEXERCICIO::buildHeader() {
  PNLCABECALHO = panel(this, "PNLCABECALHO");
  auto* layout = new QGridLayout(PNLCABECALHO);
  LBLALUNO = new QLabel(PNLCABECALHO);
  LBLALUNO->setObjectName(QStringLiteral("LBLALUNO"));
  LBLDATA = new QLabel(PNLCABECALHO);
  LBLDATA->setObjectName(QStringLiteral("LBLDATA"));
  CBTREINO = new QComboBox(PNLCABECALHO);
  CBTREINO->setObjectName(QStringLiteral("CBTREINO"));
  CBTREINO->addItems(kWorkoutLetters);
  chooseOnlyList(CBTREINO);
  connect(CBTREINO, &QComboBox::activated, this, &TFRMTIPOEXERCICIO::letterChosen);
  EDTDATATROCA = new QLineEdit(PNLCABECALHO);
  EDTDATATROCA->setObjectName(QStringLiteral("EDTDATATROCA"));
  EDTDATATROCA->setInputMask(QStringLiteral("99/99/9999;_"));
  onFieldKeys(EDTDATATROCA, [this] { changeDateEntered(); }, {});
  LBLPROFESSOR = new QLabel(PNLCABECALHO);
  LBLPROFESSOR->setObjectName(QStringLiteral("LBLPROFESSOR"));
  layout->addWidget(LBLALUNO, 0, 0, 1, 4);
  layout->addWidget(LBLPROFESSOR, 0, 4, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Data"), PNLCABECALHO), 1, 0);
  layout->addWidget(LBLDATA, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Treino"), PNLCABECALHO), 1, 2);
  layout->addWidget(CBTREINO, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("Troca"), PNLCABECALHO), 1, 4);
  layout->addWidget(EDTDATATROCA, 1, 5);
  auto* buttons = new QHBoxLayout;
  connect(headerButton("SBAEROBICA", QStringLiteral("Atividade Aeróbica")), &QPushButton::clicked,
          this, &TFRMTIPOEXERCICIO::SBAEROBICAClick);
  connect(headerButton("SBEXERCICIOS", QStringLiteral("Musculação")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::SBEXERCICIOSClick);
  connect(headerButton("SBALONGAMENTO", QStringLiteral("Alongamento")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::SBALONGAMENTOClick);
  connect(headerButton("SBSAIRCAB", QStringLiteral("Retorna")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::SBSAIRCABClick);
  connect(headerButton("SBIMPRESSORAPAISAGEM", QStringLiteral("Imprime Paisagem")),
          &QPushButton::clicked, this, [this] { ImprimeSerie(QStringLiteral("G")); });
  connect(headerButton("SBNOVA_ORDEM", QStringLiteral("Nova Ordem")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::SBNOVA_ORDEMClick);
  connect(headerButton("SBZERA", QStringLiteral("Zera Musculação")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::SBZERAClick);
  connect(headerButton("SBIMPRESSORA", QStringLiteral("Imprime Retrato")), &QPushButton::clicked,
          this, [this] { ImprimeSerie(QStringLiteral("N")); });
  connect(headerButton("BbnTamsel", QStringLiteral("Avaliação")), &QPushButton::clicked, this,
          &TFRMTIPOEXERCICIO::BbnTamselClick);
  for (QPushButton* b : headerButtons_) buttons->addWidget(b);
  layout->addLayout(buttons, 2, 0, 1, 6);
  Image2 = new QLabel(PNLCABECALHO);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setFixedSize(90, 120);
  Image2->setFrameShape(QFrame::Box);
  layout->addWidget(Image2, 0, 6, 3, 1);
}

void TFRMTIPOEXERCICIO::buildWeekdays() {
  PNLDIAS = panel(PNLFUNDO, "PNLDIAS");
  auto* outer = new QVBoxLayout(PNLDIAS);
  auto* group = new QGroupBox(QStringLiteral(" Dias da Semana "), PNLDIAS);
  auto* row = new QHBoxLayout(group);
  for (int d = 0; d < kWeekdayCount; ++d) {
    auto* box = new QCheckBox(QString::fromUtf8(kDayCaptions[d]), group);
    box->setObjectName(QString::fromLatin1(kDayBoxes[d]));
    days_ << box;
    row->addWidget(box);
  }
  outer->addWidget(group);
  QPushButton* confirm = namedButton(PNLDIAS, "BBNSAIR", QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, &TFRMTIPOEXERCICIO::BBNSAIRClick);
  outer->addWidget(confirm, 0, Qt::AlignRight);
  // Esc leaves the days unchosen and the letter unopened, as a block's Cancela does.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), PNLDIAS);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  connect(escape, &QShortcut::activated, this, &TFRMTIPOEXERCICIO::weekdaysCancelled);
  outer->addStretch();
}

void TFRMTIPOEXERCICIO::buildEditing() {
  PNLFILTRO = panel(PNLFUNDO, "PNLFILTRO");
  auto* layout = new QHBoxLayout(PNLFILTRO);
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Seleção dos Exercícios"), PNLFILTRO));
  LBLGRUPAMENTO = new QLabel(QStringLiteral("Grupamento Muscular"), PNLFILTRO);
  LBLGRUPAMENTO->setObjectName(QStringLiteral("LBLGRUPAMENTO"));
  left->addWidget(LBLGRUPAMENTO);
  CBGRUPAMENTOMUSCULAR = new QComboBox(PNLFILTRO);
  CBGRUPAMENTOMUSCULAR->setObjectName(QStringLiteral("CBGRUPAMENTOMUSCULAR"));
  chooseOnlyList(CBGRUPAMENTOMUSCULAR);
  onFieldKeys(CBGRUPAMENTOMUSCULAR, [this] { EDTFILTRO->setFocus(); }, {});
  CBGRUPAMENTOMUSCULAR->installEventFilter(this);
  connect(CBGRUPAMENTOMUSCULAR, &QComboBox::activated, this, &TFRMTIPOEXERCICIO::groupChosen);
  left->addWidget(CBGRUPAMENTOMUSCULAR);
  EDTFILTRO = new QLineEdit(PNLFILTRO);
  EDTFILTRO->setObjectName(QStringLiteral("EDTFILTRO"));
  upperCaseField(EDTFILTRO);
  EDTFILTRO->setMaxLength(35);
  onFieldKeys(EDTFILTRO, [this] { filterEntered(); }, {});
  EDTFILTRO->installEventFilter(this);
  connect(EDTFILTRO, &QLineEdit::textEdited, this, &TFRMTIPOEXERCICIO::filterEdited);
  left->addWidget(EDTFILTRO);
  DBGEXERCICIO_FILTRADO = new WorkoutGrid(PNLFILTRO);
  DBGEXERCICIO_FILTRADO->setObjectName(QStringLiteral("DBGEXERCICIO_FILTRADO"));
  DBGEXERCICIO_FILTRADO->setToolTip(
      QStringLiteral("Clique Duplo Para Adicionar na Montagem de Série"));
  DBGEXERCICIO_FILTRADO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGEXERCICIO_FILTRADO->setSelectionBehavior(QAbstractItemView::SelectRows);
  makePagedGrid(DBGEXERCICIO_FILTRADO);
  DBGEXERCICIO_FILTRADO->horizontalHeader()->setStretchLastSection(true);
  DBGEXERCICIO_FILTRADO->setEnterMove([this](const QModelIndex&) {
    addExercise();
    return QModelIndex();
  });
  connect(DBGEXERCICIO_FILTRADO, &QTableView::doubleClicked, this, &TFRMTIPOEXERCICIO::addExercise);
  connect(DBGEXERCICIO_FILTRADO, &WorkoutGrid::cursorMoved, this,
          &TFRMTIPOEXERCICIO::pickingCursorMoved);
  left->addWidget(DBGEXERCICIO_FILTRADO, 1);
  // The names to pick from need a quarter of the width; the series being built, with its
  // remarks, takes the rest.
  layout->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("Montagem das Séries"), PNLFILTRO));
  DBGEXERCICIO_SERIE = new WorkoutGrid(PNLFILTRO);
  DBGEXERCICIO_SERIE->setObjectName(QStringLiteral("DBGEXERCICIO_SERIE"));
  DBGEXERCICIO_SERIE->setToolTip(QStringLiteral(
      "Clique e arraste para mudar de ordem \n\rClique duplo para excluir o exercício"));
  DBGEXERCICIO_SERIE->setModel(workout_);
  DBGEXERCICIO_SERIE->fitWorkoutColumns();
  DBGEXERCICIO_SERIE->hideColumn(WorkoutModel::NovaOrdem);
  DBGEXERCICIO_SERIE->setEnterMove(nextSeriesCell);
  DBGEXERCICIO_SERIE->setDragColumns({WorkoutModel::Seq, WorkoutModel::Descricao});
  connect(DBGEXERCICIO_SERIE, &WorkoutGrid::rowDropped, this,
          [this](int from, int onto) { rowDropped(DBGEXERCICIO_SERIE, from, onto); });
  connect(DBGEXERCICIO_SERIE, &QTableView::doubleClicked, this, &TFRMTIPOEXERCICIO::deleteExercise);
  connect(DBGEXERCICIO_SERIE, &WorkoutGrid::cursorMoved, this,
          &TFRMTIPOEXERCICIO::seriesCursorMoved);
  right->addWidget(DBGEXERCICIO_SERIE, 1);
  LBLDESCRICAOVIDEO = new QLabel(PNLFILTRO);
  LBLDESCRICAOVIDEO->setObjectName(QStringLiteral("LBLDESCRICAOVIDEO"));
  right->addWidget(LBLDESCRICAOVIDEO);
  WindowsMediaPlayer = new VideoPlayer(PNLFILTRO);
  WindowsMediaPlayer->setObjectName(QStringLiteral("WindowsMediaPlayer"));
  WindowsMediaPlayer->setMinimumHeight(180);
  right->addWidget(WindowsMediaPlayer);
  connect(WindowsMediaPlayer, &VideoPlayer::failed, this, &TFRMTIPOEXERCICIO::videoTick);
  auto* buttons = new QHBoxLayout;
  QPushButton* video = namedButton(PNLFILTRO, "BBNVIDEO", QStringLiteral("Vídeo"));
  video->setToolTip(QStringLiteral("Vídeo"));
  connect(video, &QPushButton::clicked, this, &TFRMTIPOEXERCICIO::BBNVIDEOClick);
  buttons->addWidget(video);
  buttons->addStretch();
  QPushButton* confirm = namedButton(PNLFILTRO, "BBNCONFIRMA", QStringLiteral("Confirma"));
  connect(confirm, &QPushButton::clicked, this, &TFRMTIPOEXERCICIO::BBNCONFIRMAClick);
  buttons->addWidget(confirm);
  QPushButton* cancel = namedButton(PNLFILTRO, "BBNCANCELA", QStringLiteral("Cancela"));
  connect(cancel, &QPushButton::clicked, this, &TFRMTIPOEXERCICIO::BBNCANCELAClick);
  buttons->addWidget(cancel);
  right->addLayout(buttons);
  layout->addLayout(right, 3);
}

void TFRMTIPOEXERCICIO::buildReorder() {
  PNLNOVA_ORDEM = panel(PNLFUNDO, "PNLNOVA_ORDEM");
  auto* layout = new QVBoxLayout(PNLNOVA_ORDEM);
  layout->addWidget(new QLabel(QStringLiteral("Nova Ordem"), PNLNOVA_ORDEM));
  DBGNOVA_ORDEM = new WorkoutGrid(PNLNOVA_ORDEM);
  DBGNOVA_ORDEM->setObjectName(QStringLiteral("DBGNOVA_ORDEM"));
  DBGNOVA_ORDEM->setToolTip(QStringLiteral("Clique e arraste para mudar de ordem "));
  auto* headers = new ReorderHeaders(this);
  headers->setSourceModel(workout_);
  DBGNOVA_ORDEM->setModel(headers);
  DBGNOVA_ORDEM->fitWorkoutColumns();
  for (int c = WorkoutModel::Series; c <= WorkoutModel::Obs; ++c) DBGNOVA_ORDEM->hideColumn(c);
  DBGNOVA_ORDEM->setEnterMove(nextReorderCell);
  DBGNOVA_ORDEM->setDragColumns({WorkoutModel::Seq, WorkoutModel::Descricao});
  connect(DBGNOVA_ORDEM, &WorkoutGrid::rowDropped, this,
          [this](int from, int onto) { rowDropped(DBGNOVA_ORDEM, from, onto); });
  layout->addWidget(DBGNOVA_ORDEM, 1);
  addConfirmCancel(PNLNOVA_ORDEM, "BBNCONFIRMA_ORDEM", &TFRMTIPOEXERCICIO::BBNCONFIRMA_ORDEMClick,
                   "BBNCANCELA_ORDEM", &TFRMTIPOEXERCICIO::BBNCANCELA_ORDEMClick, false);
}

void TFRMTIPOEXERCICIO::buildView() {
  PNLVISUALIZA = panel(PNLFUNDO, "PNLVISUALIZA");
  auto* layout = new QVBoxLayout(PNLVISUALIZA);
  layout->addWidget(new QLabel(QStringLiteral("Visualiza Treino"), PNLVISUALIZA));
  DBGVISUALIZA = new WorkoutGrid(PNLVISUALIZA);
  DBGVISUALIZA->setObjectName(QStringLiteral("DBGVISUALIZA"));
  DBGVISUALIZA->setModel(workout_);
  DBGVISUALIZA->fitWorkoutColumns();
  DBGVISUALIZA->hideColumn(WorkoutModel::NovaOrdem);
  DBGVISUALIZA->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGVISUALIZA->setEnterMove(nextSeriesCell);
  layout->addWidget(DBGVISUALIZA, 1);
  QPushButton* back = namedButton(PNLVISUALIZA, "BBNRETORNA", QStringLiteral("Retorna"));
  connect(back, &QPushButton::clicked, this, &TFRMTIPOEXERCICIO::BBNRETORNAClick);
  layout->addWidget(back, 0, Qt::AlignRight);
}

void TFRMTIPOEXERCICIO::buildAerobic() {
  PNLAEROBICA = panel(PNLFUNDO, "PNLAEROBICA");
  auto* layout = new QVBoxLayout(PNLAEROBICA);
  layout->addWidget(new QLabel(QStringLiteral("Atividade Aeróbica"), PNLAEROBICA));
  DBGAEROBICA = new WorkoutGrid(PNLAEROBICA);
  DBGAEROBICA->setObjectName(QStringLiteral("DBGAEROBICA"));
  DBGAEROBICA->setModel(aerobic_);
  DBGAEROBICA->setColumnWidth(AerobicModel::Descricao, 300);
  for (int c = AerobicModel::Duracao; c <= AerobicModel::Nivel; ++c)
    DBGAEROBICA->setColumnWidth(c, 150);
  DBGAEROBICA->horizontalHeader()->setStretchLastSection(true);
  auto* decimals = new DecimalCommaDelegate(DBGAEROBICA);
  DBGAEROBICA->setItemDelegateForColumn(AerobicModel::Velocidade, decimals);
  DBGAEROBICA->setItemDelegateForColumn(AerobicModel::Nivel, decimals);
  DBGAEROBICA->setEnterMove(nextAerobicCell);
  connect(DBGAEROBICA, &QTableView::clicked, this, &TFRMTIPOEXERCICIO::aerobicClicked);
  layout->addWidget(DBGAEROBICA, 1);
  addConfirmCancel(PNLAEROBICA, "BBNCONFIRMAAEROBICA", &TFRMTIPOEXERCICIO::BBNCONFIRMAAEROBICAClick,
                   "BBNCANCELAAEROBICA", &TFRMTIPOEXERCICIO::BBNCANCELAAEROBICAClick, true);
}

void TFRMTIPOEXERCICIO::buildStretching() {
  PNLALONGAMENTO = panel(PNLFUNDO, "PNLALONGAMENTO");
  auto* layout = new QVBoxLayout(PNLALONGAMENTO);
  layout->addWidget(new QLabel(QStringLiteral("Alongamento"), PNLALONGAMENTO));
  stretches_ = new StretchStripWidget(PNLALONGAMENTO, 1.5);
  layout->addWidget(stretches_, 0, Qt::AlignHCenter);
  DBMEMOOBS = new QPlainTextEdit(PNLALONGAMENTO);
  DBMEMOOBS->setObjectName(QStringLiteral("DBMEMOOBS"));
  DBMEMOOBS->setTabChangesFocus(true);
  DBMEMOOBS->setFixedHeight(DBMEMOOBS->fontMetrics().lineSpacing() * 5 + 12);
  DBMEMOOBS->installEventFilter(this);
  // Pasted text is cut to what the remark column holds.
  connect(DBMEMOOBS, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = DBMEMOOBS->toPlainText();
    if (text.size() <= kStretchObsLength) return;
    const QSignalBlocker quiet(DBMEMOOBS);
    DBMEMOOBS->setPlainText(text.left(kStretchObsLength));
    DBMEMOOBS->moveCursor(QTextCursor::End);
  });
  layout->addWidget(DBMEMOOBS);
  addConfirmCancel(PNLALONGAMENTO, "BBNCONFIRMAALONGAMENTO",
                   &TFRMTIPOEXERCICIO::BBNCONFIRMAALONGAMENTOClick, "BBNCANCELAALONGAMENTO",
                   &TFRMTIPOEXERCICIO::BBNCANCELAALONGAMENTOClick, true);
  layout->addStretch();
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

bool TFRMTIPOEXERCICIO::openFailed(const QString& text, const QString& detail) {
  MENSAGEM(kInfo, text, detail);
  MENSAGEM(kInfo, Msg::RegistroJaAlocado);
  return false;
}

bool TFRMTIPOEXERCICIO::ABRE_TABELAS() {
  // The workout being edited lives in this window's memory: nothing to create, nothing that
  // another window could collide with.
  const QSqlDatabase workoutDb = session().workout().database();
  const std::optional<Settings> settings = session().rereadSettings();
  if (!settings) return openFailed(Msg::AberturaDeTabela, QStringLiteral("Secvar"));
  series_.settings = *settings;

  const bool alone = series_.settings.membersKeptHere();
  people_ = peopleTables(series_.settings);
  const QString unavailable =
      alone ? Msg::AberturaDeTabela : Msg::BriscaInativo + Msg::AberturaDeTabela;
  peopleConnection_ =
      std::make_unique<Connection>(people_.source, Connection::uniqueName(QStringLiteral("serie")));
  if (!peopleConnection_->open()) return openFailed(unavailable, QStringLiteral("Alunos"));
  const QSqlDatabase peopleDb = peopleConnection_->database();
  members_ = new PagedTableModel(peopleDb, peopleConnection_->dialect(), people_.members,
                                 {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
                                  {QStringLiteral("NOME"), QStringLiteral("Nome")}},
                                 {QStringLiteral("MATRICULA")}, this);
  if (!members_->refresh()) return openFailed(unavailable, QStringLiteral("Alunos"));
  DBGALUNOS->setModel(members_);
  DBGALUNOS->horizontalHeader()->setStretchLastSection(true);
  connect(DBGALUNOS->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { photoTimer_.start(); });

  try {
    userStaff_ = linkedStaffMatricula(workoutDb, session().user());
    if (series_.settings.instructorTiedToUser()) linkedStaff_ = userStaff_;
  } catch (const SqlError&) {
    return openFailed(Msg::AberturaDeTabela, QStringLiteral("Usuarios"));
  }
  try {
    CBFUNCIONARIOS->addItems(
        instructorEntries(peopleDb, people_.staff, instructorOrder_, linkedStaff_));
  } catch (const SqlError&) {
    return openFailed(unavailable,
                      alone ? QStringLiteral("Funcionario") : QStringLiteral(" Funcionario"));
  }
  const bool groups = G().GSTR_GRUPAMENTO_MUSCULAR == kSim;
  try {
    const QStringList entries = muscleGroupEntries(workoutDb);
    if (groups) CBGRUPAMENTOMUSCULAR->addItems(entries);
  } catch (const SqlError&) {
    return openFailed(Msg::AberturaDeTabela, QStringLiteral("GrupamentoMuscular"));
  }
  if (!fillPicking()) return openFailed(Msg::AberturaDeTabela, QStringLiteral("Exercicios"));

  selectPreferredInstructor();
  series_.professor = QString();
  paintOrderPanels();
  LBLGRUPAMENTO->setVisible(groups);
  CBGRUPAMENTOMUSCULAR->setVisible(groups);
  EDTDATATROCA->setEnabled(series_.settings.changeDateEditable());
  ATIVA_BOTOES();
  DBGALUNOS->setCurrentIndex(members_->index(0, 0));
  search_->setOrder(0);
  return true;
}

void TFRMTIPOEXERCICIO::closeTables() {
  Timer1.stop();
  photoTimer_.stop();
  if (WindowsMediaPlayer) WindowsMediaPlayer->stop();
  // The grid lets go of the members before their connection goes.
  if (DBGALUNOS) DBGALUNOS->setModel(nullptr);
  delete members_;
  members_ = nullptr;
  peopleConnection_.reset();
}

// ---------------------------------------------------------------------------------------------
// Instructor and member

void TFRMTIPOEXERCICIO::fillInstructors(const QString& order) {
  instructorOrder_ = order;
  CBFUNCIONARIOS->clear();
  if (peopleConnection_) {
    try {
      CBFUNCIONARIOS->addItems(
          instructorEntries(peopleConnection_->database(), people_.staff, order, linkedStaff_));
    } catch (const SqlError&) {
      reportUnavailable(people_.source, QStringLiteral("Funcionario"));
    }
  }
  selectPreferredInstructor();
  series_.professor = QString();
  paintOrderPanels();
}

void TFRMTIPOEXERCICIO::selectPreferredInstructor() {
  QStringList entries;
  for (int i = 0; i < CBFUNCIONARIOS->count(); ++i) entries << CBFUNCIONARIOS->itemText(i);
  CBFUNCIONARIOS->setCurrentIndex(preferredInstructor(entries, userStaff_));
}

void TFRMTIPOEXERCICIO::paintOrderPanels() {
  paintPanel(PNLPROFMATRICULA, instructorOrder_ == QStringLiteral("MATRICULA"));
  paintPanel(PNLPROFNOME, instructorOrder_ == QStringLiteral("NOME"));
}

void TFRMTIPOEXERCICIO::instructorChosen() {
  series_.professor = CBFUNCIONARIOS->currentText().left(10);
}

void TFRMTIPOEXERCICIO::instructorDoubleClicked() {
  instructorChosen();
  if (CBFUNCIONARIOS->currentText().isEmpty() || search_->text()->text().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::ProfessorOuAlunoNaoInformado);
    CBFUNCIONARIOS->setFocus();
    return;
  }
  memberSelection();
}

bool TFRMTIPOEXERCICIO::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CBFUNCIONARIOS && event->type() == QEvent::MouseButtonDblClick) {
    instructorDoubleClicked();
    return true;
  }
  if (watched == DBGALUNOS && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Insert || key == Qt::Key_Delete) return true;
  }
  if (watched == DBMEMOOBS && event->type() == QEvent::KeyPress)
    return memoKeyRefused(static_cast<QKeyEvent*>(event));
  if (watched == CBGRUPAMENTOMUSCULAR) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      browsingGroups_ = key != Qt::Key_Return && key != Qt::Key_Enter;
    } else if (event->type() == QEvent::MouseButtonPress) {
      browsingGroups_ = false;
    }
  }
  if (watched == EDTFILTRO && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
    DBGEXERCICIO_FILTRADO->setFocus();
    return true;
  }
  return ChildWindow::eventFilter(watched, event);
}

QSqlRecord TFRMTIPOEXERCICIO::memberRecord() const {
  if (!members_) return {};
  const QModelIndex current = DBGALUNOS->currentIndex();
  return current.isValid() ? members_->record(current.row()) : QSqlRecord();
}

void TFRMTIPOEXERCICIO::searchOrderChosen(int order) {
  members_->refresh();
  members_->setOrder({order == 0 ? QStringLiteral("MATRICULA") : QStringLiteral("NOME")});
}

void TFRMTIPOEXERCICIO::searchTextEdited(const QString& text) {
  if (search_->order() == 0) {
    if (text.isEmpty() || text.size() > 10) return;
    const QString padded = padMatricula(text);
    if (members_->order() != members_->key()) members_->setOrder(members_->key());
    const int row = members_->rowAtOrAfter(padded, true);
    if (row >= 0) DBGALUNOS->setCurrentIndex(members_->index(row, 0));
    series_.matricula = padded;
    return;
  }
  if (members_->order() != QStringList{QStringLiteral("NOME")})
    members_->setOrder({QStringLiteral("NOME")});
  const int row = members_->rowAtOrAfter(text, true);
  if (row < 0) {
    series_.matricula = QString();
    return;
  }
  DBGALUNOS->setCurrentIndex(members_->index(row, 0));
  const QSqlRecord member = memberRecord();
  series_.matricula = member.value(QStringLiteral("MATRICULA")).toString().left(10);
  pStrCPF = TIRA_MASCARA(member.value(QStringLiteral("CPF")).toString());
}

bool TFRMTIPOEXERCICIO::locateMember(const QString& matricula) {
  if (members_->order() != members_->key()) members_->setOrder(members_->key());
  const int row = matricula.isEmpty() ? -1 : members_->rowOfKey(matricula);
  if (row < 0) return false;
  DBGALUNOS->setCurrentIndex(members_->index(row, 0));
  return true;
}

void TFRMTIPOEXERCICIO::searchEntered(const QString& text) {
  if (text.isEmpty()) {
    if (search_->order() == 0)
      MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    else
      MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Nome"));
    return;
  }
  const auto notFound = [this] {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    search_->text()->clear();
  };
  if (!locateMember(series_.matricula)) return notFound();
  const QSqlRecord member = memberRecord();
  const QString matricula = member.value(QStringLiteral("MATRICULA")).toString();
  search_->showResult(matricula + QStringLiteral(" - ") +
                      member.value(QStringLiteral("NOME")).toString());
  MOSTRA_FOTO(matricula);
  series_.matricula = matricula;
  pStrCPF = TIRA_MASCARA(member.value(QStringLiteral("CPF")).toString());
  members_->refresh();
  if (!locateMember(matricula)) return notFound();
  memberCheck();
  memberSelection();
}

void TFRMTIPOEXERCICIO::membersDoubleClicked() {
  if (CBFUNCIONARIOS->currentText().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::ProfessorNaoInformado);
    CBFUNCIONARIOS->setFocus();
    return;
  }
  const QSqlRecord member = memberRecord();
  if (member.isEmpty()) return;
  const QString matricula = member.value(QStringLiteral("MATRICULA")).toString();
  series_.matricula = matricula;
  members_->refresh();
  if (!locateMember(matricula)) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    return;
  }
  search_->showResult(matricula + QStringLiteral(" - ") +
                      member.value(QStringLiteral("NOME")).toString());
  pStrCPF = TIRA_MASCARA(member.value(QStringLiteral("CPF")).toString());
  memberCheck();
  memberSelection();
}

void TFRMTIPOEXERCICIO::memberCheck() {
  const QSqlRecord member = memberRecord();
  if (member.value(QStringLiteral("CPF")).toString().trimmed().isEmpty() ||
      member.value(QStringLiteral("EMAIL")).toString().trimmed().isEmpty())
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::CpfOuEmail);
}

void TFRMTIPOEXERCICIO::memberSelection() {
  const QDate today = QDate::currentDate();
  EDTDATATROCA->setText(formatTypedDate(
      defaultChangeDate(today, series_.settings.tempoReavaliacao, series_.settings.trocaSerie)));
  series_.professor = CBFUNCIONARIOS->currentText().left(10);
  const QSqlRecord member = memberRecord();
  LBLALUNO->setText(member.value(QStringLiteral("MATRICULA")).toString() + QStringLiteral(" - ") +
                    member.value(QStringLiteral("NOME")).toString());
  LBLDATA->setText(formatTypedDate(today));
  LBLPROFESSOR->setText(SeriesText::Professor + instructorName(CBFUNCIONARIOS->currentText()));
  searchArea_->hide();
  PNLCABECALHO->show();
  PNLFUNDO->show();
  ATIVA_BOTOES();
  CBTREINO->setFocus();
}

void TFRMTIPOEXERCICIO::MOSTRA_FOTO(const QString& matricula) {
  if (!peopleConnection_ || matricula.isEmpty()) return;
  std::optional<QVariant> photo;
  try {
    photo = loadPhotoRow(peopleConnection_->database(), people_.photos, matricula);
  } catch (const SqlError&) {
    return;
  }
  if (!photo) return;
  QImage picture;
  try {
    if (!LoadJpgFromTable(&*photo, &picture, Image1->size())) picture = QImage();
  } catch (const PhotoError&) {
    picture = QImage();
  }
  for (QLabel* frame : {Image1, Image2}) {
    if (picture.isNull())
      frame->clear();
    else
      frame->setPixmap(QPixmap::fromImage(
          picture.scaled(frame->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  }
}

// ---------------------------------------------------------------------------------------------
// Header

QString TFRMTIPOEXERCICIO::letter() const {
  return CBTREINO->currentText();
}

void TFRMTIPOEXERCICIO::ATIVA_BOTOES() {
  CBTREINO->setEnabled(true);
  for (QPushButton* b : headerButtons_) b->setEnabled(true);
  findChild<QPushButton*>(QStringLiteral("SBAEROBICA"))
      ->setEnabled(letter() == QStringLiteral("A"));
  findChild<QPushButton*>(QStringLiteral("BbnTamsel"))
      ->setEnabled(series_.settings.assessmentIntegration());
  // A block that closed took the focus with it: the keyboard goes back to the header, never
  // to the window's exit button.
  QTimer::singleShot(0, this, [this] {
    if (!PNLCABECALHO->isVisible()) return;
    for (const QFrame* block : blocks())
      if (block->isVisible()) return;
    CBTREINO->setFocus();
  });
}

void TFRMTIPOEXERCICIO::DESATIVA_BOTOES() {
  CBTREINO->setEnabled(false);
  for (QPushButton* b : headerButtons_) b->setEnabled(false);
}

void TFRMTIPOEXERCICIO::letterChosen() {
  findChild<QPushButton*>(QStringLiteral("SBAEROBICA"))
      ->setEnabled(letter() == QStringLiteral("A"));
  findChild<QPushButton*>(QStringLiteral("SBZERA"))->setEnabled(true);
}

WeekdayBoxes TFRMTIPOEXERCICIO::weekdayBoxes() const {
  WeekdayBoxes boxes;
  for (int d = 0; d < kWeekdayCount; ++d) boxes[d] = {days_[d]->isChecked(), days_[d]->isEnabled()};
  return boxes;
}

void TFRMTIPOEXERCICIO::showWeekdays(const WeekdayBoxes& boxes) {
  for (int d = 0; d < kWeekdayCount; ++d) {
    days_[d]->setChecked(boxes[d].checked);
    days_[d]->setEnabled(boxes[d].enabled);
  }
}

void TFRMTIPOEXERCICIO::SBEXERCICIOSClick() {
  const QSqlDatabase db = session().workout().database();
  const QString member = series_.matricula;
  series_.exerciseVideo = QString();
  WeekdayBoxes boxes = freshWeekdays();
  showWeekdays(boxes);
  findChild<QPushButton*>(QStringLiteral("BbnTamsel"))->setEnabled(false);
  QList<WorkoutRow> stored;
  try {
    const std::optional<QString> refusal = applyLetterRules(
        letter(), boxes, [&](const QString& l) { return storedDays(db, member, l); });
    showWeekdays(boxes);
    if (refusal) {
      MENSAGEM(kInfo, Msg::DadoIncorreto, *refusal);
      return;
    }
    if (!zeroed_) stored = currentWorkout(db, member, letter());
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Treino"));
    return;
  }
  workout_->setEditing(true);
  if (allDaysTaken(boxes)) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::TodosOsDias);
    return;
  }
  DESATIVA_BOTOES();
  workout_->clear();
  zeroed_ = false;
  if (!stored.isEmpty()) {
    takeStoredDays(boxes, stored.first().days);
    showWeekdays(boxes);
    for (const WorkoutRow& row : stored) workout_->appendStored(row);
  }
  LIBERA = true;
  strengthDays_ = true;
  showOnly(PNLDIAS);
  if (CBGRUPAMENTOMUSCULAR->isVisible() || G().GSTR_GRUPAMENTO_MUSCULAR == kSim)
    CBGRUPAMENTOMUSCULAR->setCurrentIndex(CBGRUPAMENTOMUSCULAR->count() > 0 ? 0 : -1);
}

void TFRMTIPOEXERCICIO::BBNSAIRClick() {
  if (!anyDayChosen(weekdayBoxes())) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::NenhumDia);
    return;
  }
  if (!strengthDays_) {
    showOnly(PNLAEROBICA);
    DBGAEROBICA->setFocus();
    if (aerobic_->rowCount() > 0)
      DBGAEROBICA->setCurrentIndex(aerobic_->index(0, AerobicModel::Duracao));
    return;
  }
  showOnly(PNLFILTRO);
  fillPicking();
  EDTFILTRO->clear();
  EDTFILTRO->setFocus();
  if (workout_->rowCount() > 0)
    DBGEXERCICIO_SERIE->setCurrentIndex(workout_->index(0, WorkoutModel::Seq));
  findChild<QPushButton*>(QStringLiteral("SBZERA"))->setEnabled(true);
}

void TFRMTIPOEXERCICIO::SBSAIRCABClick() {
  members_->refresh();
  search_->text()->clear();
  DBGALUNOS->setCurrentIndex(members_->index(0, 0));
  MOSTRA_FOTO(memberRecord().value(QStringLiteral("MATRICULA")).toString());
  findChild<QPushButton*>(QStringLiteral("SBSAIR"))->setEnabled(true);
  findChild<QPushButton*>(QStringLiteral("SBZERA"))->setEnabled(true);
  zeroed_ = false;
  pBooVisualiza = false;
  showOnly(nullptr);
  PNLCABECALHO->hide();
  PNLFUNDO->hide();
  searchArea_->show();
  search_->text()->setFocus();
}

void TFRMTIPOEXERCICIO::SBZERAClick() {
  findChild<QPushButton*>(QStringLiteral("SBZERA"))->setEnabled(false);
  zeroed_ = true;
  workout_->clear();
  if (picking_) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(0, 0));
}

void TFRMTIPOEXERCICIO::BbnTamselClick() {
  const std::optional<QString> active = assessmentActiveMembers();
  if (!active) return;
  series_.activeMembers = *active;
  const QSqlRecord member = memberRecord();
  if (series_.matricula.isEmpty() || member.isEmpty()) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    return;
  }
  QDate birth = member.value(QStringLiteral("DATA_NASCIMENTO")).toDate();
  if (!birth.isValid())
    birth = QDate::fromString(member.value(QStringLiteral("DATA_NASCIMENTO")).toString().left(10),
                              Qt::ISODate);
  series_.age = QString::number(CALCULA_IDADE(birth));
  MENSAGEM(kInfo, SeriesText::AvaliacaoIndisponivel);
}

QList<QFrame*> TFRMTIPOEXERCICIO::blocks() const {
  return {PNLDIAS, PNLFILTRO, PNLNOVA_ORDEM, PNLVISUALIZA, PNLAEROBICA, PNLALONGAMENTO};
}

void TFRMTIPOEXERCICIO::showOnly(QFrame* shown) {
  for (QFrame* block : blocks()) block->setVisible(block == shown);
  // The keyboard starts in the block's first field.
  if (shown == PNLDIAS) {
    for (QCheckBox* day : days_)
      if (day->isEnabled()) {
        day->setFocus();
        break;
      }
  } else if (shown == PNLFILTRO) {
    EDTFILTRO->setFocus();
  } else if (shown == PNLNOVA_ORDEM) {
    DBGNOVA_ORDEM->setFocus();
  } else if (shown == PNLVISUALIZA) {
    DBGVISUALIZA->setFocus();
  } else if (shown == PNLAEROBICA) {
    DBGAEROBICA->setFocus();
  } else if (shown == PNLALONGAMENTO) {
    DBMEMOOBS->setFocus();
  }
}

// ---------------------------------------------------------------------------------------------
// Strength editing

bool TFRMTIPOEXERCICIO::fillPicking() {
  std::optional<QString> group;
  if (G().GSTR_GRUPAMENTO_MUSCULAR == kSim && CBGRUPAMENTOMUSCULAR->currentIndex() >= 0)
    group = CBGRUPAMENTOMUSCULAR->currentText().left(2);
  const Connection& workout = session().workout();
  PagedTableModel* fresh = pickingModel(workout.database(), workout.dialect(), group, this);
  const bool read = fresh->refresh();
  // The grid lets go of the old list before it goes.
  DBGEXERCICIO_FILTRADO->setModel(fresh);
  delete picking_;
  picking_ = fresh;
  DBGEXERCICIO_FILTRADO->horizontalHeader()->setStretchLastSection(true);
  if (picking_->rowCount() > 0) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(0, 0));
  return read;
}

// The exercise of the picking list under the cursor: its code, name and equipment.
QSqlRecord TFRMTIPOEXERCICIO::pickedExercise() const {
  const int row = DBGEXERCICIO_FILTRADO->currentIndex().row();
  return picking_ && row >= 0 ? picking_->record(row) : QSqlRecord();
}

void TFRMTIPOEXERCICIO::groupChosen() {
  if (!fillPicking()) MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Exercicios"));
  // A group picked from the list is where the instructor types next; one reached by arrows or
  // letters in the closed list is still being looked for (Enter then moves on).
  if (!browsingGroups_) EDTFILTRO->setFocus();
  browsingGroups_ = false;
}

void TFRMTIPOEXERCICIO::filterEdited(const QString& text) {
  const int row = picking_ ? picking_->rowAtOrAfter(text, true) : -1;
  if (row >= 0) DBGEXERCICIO_FILTRADO->setCurrentIndex(picking_->index(row, 0));
}

void TFRMTIPOEXERCICIO::filterEntered() {
  if (EDTFILTRO->text().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Descrição"));
    return;
  }
  // The cursor stays where the last match left it; with nothing matching, Enter would add an
  // exercise the instructor never asked for.
  if (!picking_ || picking_->rowAtOrAfter(EDTFILTRO->text(), true) < 0) {
    MENSAGEM(kInfo, SeriesText::NenhumExercicioComeca, EDTFILTRO->text());
    EDTFILTRO->setFocus();
    EDTFILTRO->selectAll();
    return;
  }
  addExercise();
}

void TFRMTIPOEXERCICIO::pickingCursorMoved() {
  const QSqlRecord exercise = pickedExercise();
  if (!exercise.isEmpty())
    showExerciseUnderCursor(exercise.value(QStringLiteral("Codigo")).toString(),
                            exercise.value(QStringLiteral("Descricao")).toString());
}

void TFRMTIPOEXERCICIO::seriesCursorMoved() {
  const int row = DBGEXERCICIO_SERIE->currentIndex().row();
  if (row >= 0 && row < workout_->rowCount())
    showExerciseUnderCursor(workout_->rows()[row].code, workout_->rows()[row].descricao);
}

void TFRMTIPOEXERCICIO::showExerciseUnderCursor(const QString& code, const QString& descricao) {
  series_.exerciseVideo = code.left(3);
  LBLDESCRICAOVIDEO->setText(descricao);
}

void TFRMTIPOEXERCICIO::addExercise() {
  const QSqlRecord exercise = pickedExercise();
  if (!exercise.isEmpty()) {
    const QString code = exercise.value(QStringLiteral("Codigo")).toString();
    const QString descricao = exercise.value(QStringLiteral("Descricao")).toString();
    if (workout_->containsCode(code) && !series_.settings.exerciseTwiceInSeries()) {
      MENSAGEM(kInfo, QString(), SeriesText::ExercicioJaSelecionado);
    } else {
      workout_->appendExercise(code, descricao,
                               exercise.value(QStringLiteral("Aparelho")).toString());
      showExerciseUnderCursor(code, descricao);
      playExerciseVideo();
    }
  }
  EDTFILTRO->clear();
  EDTFILTRO->setFocus();
  LIBERA = true;
}

void TFRMTIPOEXERCICIO::deleteExercise() {
  if (workout_->rowCount() == 0) return;
  const QModelIndex current = DBGEXERCICIO_SERIE->currentIndex();
  if (MENSAGEM(QStringLiteral("?"), SeriesText::DesejaApagarSerie) != kAnswerYes) return;
  const int row = current.isValid() ? current.row() : 0;
  workout_->removeAndRenumber(row);
  if (workout_->rowCount() > 0)
    DBGEXERCICIO_SERIE->setCurrentIndex(
        workout_->index(qMin(row, workout_->rowCount() - 1), qMax(current.column(), 0)));
}

void TFRMTIPOEXERCICIO::rowDropped(WorkoutGrid* grid, int from, int onto) {
  const bool reorder = grid == DBGNOVA_ORDEM;
  const int at = workout_->dragRow(from, workout_->ordemAt(onto), reorder);
  grid->setCurrentIndex(grid->model()->index(
      at, reorder ? int(WorkoutModel::NovaOrdem) : qMax(grid->currentIndex().column(), 0)));
}

void TFRMTIPOEXERCICIO::weekdaysCancelled() {
  PNLDIAS->hide();
  ATIVA_BOTOES();
  workout_->setEditing(false);
  CBTREINO->setFocus();
}

void TFRMTIPOEXERCICIO::BBNCANCELAClick() {
  DBGEXERCICIO_SERIE->cancelEdit();
  ATIVA_BOTOES();
  PNLFILTRO->hide();
  workout_->setEditing(false);
}

void TFRMTIPOEXERCICIO::BBNCONFIRMAClick() {
  DBGEXERCICIO_SERIE->commitEdit();
  QPushButton* zera = findChild<QPushButton*>(QStringLiteral("SBZERA"));
  const bool zeraEnabled = zera->isEnabled();
  ATIVA_BOTOES();
  zera->setEnabled(zeraEnabled);
  findChild<QPushButton*>(QStringLiteral("BBNCANCELA"))->setEnabled(true);
  PNLFILTRO->hide();
  const QModelIndex remembered = DBGEXERCICIO_SERIE->currentIndex();

  WorkoutSave save;
  save.letter = letter();
  save.moment = QDateTime::currentDateTime();
  save.changeDate = parseTypedDate(EDTDATATROCA->text()).value_or(QDate());
  save.boxes = weekdayBoxes();
  save.rows = workout_->rows();
  series_.usuario = session().user();
  const std::optional<int> stored = service().saveWorkout(save, memberContact());
  if (!stored) {
    // Nothing was stored: the workout stays on screen as typed, to be saved again.
    DESATIVA_BOTOES();
    zera->setEnabled(zeraEnabled);
    showOnly(PNLFILTRO);
    DBGEXERCICIO_SERIE->setFocus();
    return;
  }
  workout_->setEditing(false);
  if (remembered.isValid() && remembered.row() < workout_->rowCount())
    DBGEXERCICIO_SERIE->setCurrentIndex(remembered);
  if (*stored < 2) return;
  if (MENSAGEM(QStringLiteral("?"), SeriesText::DesejaAlterarOrdem) == kAnswerYes)
    SBNOVA_ORDEMClick();
}

void TFRMTIPOEXERCICIO::changeDateEntered() {
  const std::optional<QDate> date = parseTypedDate(EDTDATATROCA->text());
  if (!date) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::DataTroca);
    EDTDATATROCA->setFocus();
    return;
  }
  EDTDATATROCA->setText(formatTypedDate(*date));
}

// ---------------------------------------------------------------------------------------------
// Video

void TFRMTIPOEXERCICIO::BBNVIDEOClick() {
  if (!playExerciseVideo()) MENSAGEM(kInfo, SeriesText::SemVideo, LBLDESCRICAOVIDEO->text());
}

bool TFRMTIPOEXERCICIO::playExerciseVideo() {
  Timer1.stop();
  WindowsMediaPlayer->stop();
  QString path;
  try {
    path = exerciseVideoPath(session().workout().database(), series_.exerciseVideo);
  } catch (const SqlError&) {
    return false;  // a video that cannot be looked up is a video not shown; the work goes on
  }
  if (path.isEmpty()) return false;
  if (WindowsMediaPlayer->play(path)) Timer1.start();
  return true;
}

// Every two seconds: while the video plays nothing happens; once it ended, or never started,
// the player goes away.
void TFRMTIPOEXERCICIO::videoTick() {
  if (WindowsMediaPlayer->playing()) return;
  Timer1.stop();
  WindowsMediaPlayer->stop();
  for (QWidget* w : QList<QWidget*>{EDTFILTRO, DBGEXERCICIO_FILTRADO, DBGEXERCICIO_SERIE})
    w->setEnabled(true);
  for (const char* name : {"BBNVIDEO", "BBNCONFIRMA", "BBNCANCELA"})
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Aerobic block

void TFRMTIPOEXERCICIO::SBAEROBICAClick() {
  const QSqlDatabase db = session().workout().database();
  QList<AerobicRow> rows;
  try {
    rows = aerobicCatalogue(db);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("TempAerobica"));
    return;
  }
  pBooVisualiza = false;
  showWeekdays(freshWeekdays());
  DESATIVA_BOTOES();
  std::optional<WeekdayFlags> days;
  try {
    days = loadCurrentAerobic(db, series_.matricula, rows);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, QStringLiteral("TempAerobica"));
    ATIVA_BOTOES();
    return;
  }
  if (days)
    for (int d = 0; d < kWeekdayCount; ++d) days_[d]->setChecked((*days)[d]);
  aerobic_->setRows(rows);
  strengthDays_ = false;
  showOnly(PNLDIAS);
}

void TFRMTIPOEXERCICIO::aerobicClicked(const QModelIndex& index) {
  if (index.column() == AerobicModel::Descricao || index.column() == AerobicModel::Duracao)
    DBGAEROBICA->setCurrentIndex(aerobic_->index(index.row(), AerobicModel::Velocidade));
}

void TFRMTIPOEXERCICIO::BBNCONFIRMAAEROBICAClick() {
  DBGAEROBICA->commitEdit();
  ATIVA_BOTOES();
  PNLAEROBICA->hide();
  const QModelIndex remembered = DBGAEROBICA->currentIndex();
  WeekdayFlags days{};
  for (int d = 0; d < kWeekdayCount; ++d) days[d] = days_[d]->isChecked();
  const QDate today = QDate::currentDate();
  if (!service().saveAerobic(today, days, aerobic_->rows(), memberContact())) {
    // Nothing was stored: the block stays on screen as typed.
    DESATIVA_BOTOES();
    showOnly(PNLAEROBICA);
    DBGAEROBICA->setFocus();
    return;
  }
  if (remembered.isValid()) DBGAEROBICA->setCurrentIndex(remembered);
}

void TFRMTIPOEXERCICIO::BBNCANCELAAEROBICAClick() {
  DBGAEROBICA->cancelEdit();
  ATIVA_BOTOES();
  PNLAEROBICA->hide();
}

// ---------------------------------------------------------------------------------------------
// Stretching block

void TFRMTIPOEXERCICIO::SBALONGAMENTOClick() {
  std::optional<std::pair<StretchChoice, QDate>> current;
  try {
    current = currentStretching(session().workout().database(), series_.matricula, letter());
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alongamento"));
    return;
  }
  const StretchChoice choice = current ? current->first : StretchChoice{};
  stretches_->setTicks(choice.stretches);
  DBMEMOOBS->setPlainText(choice.obs);
  pBooVisualiza = false;
  DESATIVA_BOTOES();
  showOnly(PNLALONGAMENTO);
  DBMEMOOBS->setFocus();
  DBMEMOOBS->moveCursor(QTextCursor::End);
}

void TFRMTIPOEXERCICIO::BBNCONFIRMAALONGAMENTOClick() {
  ATIVA_BOTOES();
  PNLALONGAMENTO->hide();
  StretchChoice choice;
  choice.obs = DBMEMOOBS->toPlainText();
  choice.stretches = stretches_->ticks();
  const QDate today = QDate::currentDate();
  if (!service().saveStretching(letter(), today, choice, memberContact())) {
    // Nothing was stored: the choice stays on screen as ticked.
    DESATIVA_BOTOES();
    showOnly(PNLALONGAMENTO);
    DBMEMOOBS->setFocus();
    return;
  }
}

SeriesService TFRMTIPOEXERCICIO::service() const {
  return SeriesService(session().workout().database(), series_);
}

MemberContact TFRMTIPOEXERCICIO::memberContact() const {
  const QSqlRecord member = memberRecord();
  return {pStrCPF, member.value(QStringLiteral("NOME")).toString(),
          member.value(QStringLiteral("EMAIL")).toString()};
}

void TFRMTIPOEXERCICIO::BBNCANCELAALONGAMENTOClick() {
  ATIVA_BOTOES();
  PNLALONGAMENTO->hide();
}

// Once the remark holds its lines, keys that would type are refused and said so; Delete still
// takes text away.
bool TFRMTIPOEXERCICIO::memoKeyRefused(QKeyEvent* event) {
  if (event->text().isEmpty() || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Escape ||
      event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
    return false;
  if (memoTakesKeys(DBMEMOOBS->toPlainText())) return false;
  MENSAGEM(kInfo, SeriesText::AtingiuLimite, SeriesText::QuatroLinhas);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Printing

// "N" portrait, "G" landscape: the member's stored workout of the letter shown, in the preview.
void TFRMTIPOEXERCICIO::ImprimeSerie(const QString& tipo) {
  pBooVisualiza = false;
  QPushButton* portrait = findChild<QPushButton*>(QStringLiteral("SBIMPRESSORA"));
  QPushButton* landscape = findChild<QPushButton*>(QStringLiteral("SBIMPRESSORAPAISAGEM"));
  portrait->setEnabled(false);
  landscape->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Result<SeriesSheet> sheet =
      prepareSeriesSheet(series_.matricula, letter(), tipo == QStringLiteral("G"));
  QApplication::restoreOverrideCursor();
  if (sheet.okOrTell()) previewReport(seriesSheetReport(*sheet), this);
  portrait->setEnabled(true);
  landscape->setEnabled(true);
  findChild<QPushButton*>(QStringLiteral("SBZERA"))->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Reorder and view

void TFRMTIPOEXERCICIO::SBNOVA_ORDEMClick() {
  pBooVisualiza = false;
  LIBERA = false;
  showOnly(PNLNOVA_ORDEM);
  DESATIVA_BOTOES();
  workout_->clear();
  try {
    for (const WorkoutRow& row : workoutOfDay(session().workout().database(), series_.matricula,
                                              letter(), QDate::currentDate()))
      workout_->appendStored(row);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Treino"));
    ATIVA_BOTOES();
    return;
  }
  MLIBERA_ORDEM = true;
  DBGNOVA_ORDEM->setFocus();
  if (workout_->rowCount() > 0)
    DBGNOVA_ORDEM->setCurrentIndex(DBGNOVA_ORDEM->model()->index(0, WorkoutModel::NovaOrdem));
}

void TFRMTIPOEXERCICIO::BBNCONFIRMA_ORDEMClick() {
  DBGNOVA_ORDEM->cancelEdit();
  const NewOrderCheck check = checkNewOrders(workout_->newOrders());
  if (check.outcome == NewOrderCheck::Unfilled) {
    PNLNOVA_ORDEM->hide();
    ATIVA_BOTOES();
    return;
  }
  if (check.outcome == NewOrderCheck::Refused) {
    MENSAGEM(kInfo, check.text);
    return;
  }
  MLIBERA_ORDEM = false;
  const QSqlDatabase db = session().workout().database();
  const QString member = series_.matricula;
  std::optional<int> cliente;
  if (series_.settings.portalOn()) cliente = int(series_.settings.cliente.value_or(0));
  if (!writeNewOrder(db, member, letter(), QDate::currentDate(), workout_->rows(), cliente)) {
    ATIVA_BOTOES();
    return;
  }
  workout_->clear();
  try {
    for (const WorkoutRow& row : currentWorkout(db, member, letter())) workout_->appendStored(row);
  } catch (const SqlError&) {
    MENSAGEM(kInfo, Msg::GravandoNaTabela, kTempExercicio);
  }
  pBooVisualiza = true;
  showOnly(PNLVISUALIZA);
  if (workout_->rowCount() > 0) DBGVISUALIZA->setCurrentIndex(workout_->index(0, 0));
}

void TFRMTIPOEXERCICIO::BBNCANCELA_ORDEMClick() {
  ATIVA_BOTOES();
  MLIBERA_ORDEM = false;
  PNLNOVA_ORDEM->hide();
}

void TFRMTIPOEXERCICIO::BBNRETORNAClick() {
  ATIVA_BOTOES();
  PNLVISUALIZA->hide();
  MLIBERA_ORDEM = false;
}
