#include "prescription/member_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/routines.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/paged_grid.h"
#include "forms/search_panel.h"
#include "forms/session.h"
#include "prescription/series_service.h"
#include "prescription/workout_grid.h"
#include "registry/person_store.h"
#include "registry/photo_store.h"
#include "series/series_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kMatricula = QStringLiteral("MATRICULA");
const QString kNome = QStringLiteral("NOME");

void paintPanel(QPushButton* panel, bool active) {
  panel->setStyleSheet(active ? QStringLiteral("background-color: #2e9d3a; color: white;")
                              : QStringLiteral("background-color: #c62828; color: white;"));
  panel->setProperty("active", active);
}

QString numberAndName(const QSqlRecord& member) {
  return member.value(kMatricula).toString() + QStringLiteral(" - ") +
         member.value(kNome).toString();
}

}  // namespace

void showPhoto(QLabel* frame, const QImage& picture) {
  if (picture.isNull())
    frame->clear();
  else
    frame->setPixmap(QPixmap::fromImage(
        picture.scaled(frame->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

MemberPanel::MemberPanel(const BuilderContext& context, QWidget* parent)
    : QWidget(parent), ctx_(context) {
  setObjectName(QStringLiteral("PNLPESQUISA"));
  // The member's photo follows the cursor once the keys pause, not at every letter typed.
  photoTimer_.setSingleShot(true);
  photoTimer_.setInterval(kPhotoPause);
  connect(&photoTimer_, &QTimer::timeout, this,
          [this] { MOSTRA_FOTO(memberRecord().value(kMatricula).toString()); });
  auto* layout = new QGridLayout(this);
  buildInstructors(layout);
  buildSearch(layout);
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setFrameShape(QFrame::Box);
  layout->addWidget(Image1, 0, 2, 4, 1, Qt::AlignTop);
}

MemberPanel::~MemberPanel() {
  close();
}

void MemberPanel::buildInstructors(QGridLayout* layout) {
  auto* orders = new QHBoxLayout;
  PNLPROFMATRICULA = namedButton(this, "PNLPROFMATRICULA", QStringLiteral("Matrícula"));
  PNLPROFNOME = namedButton(this, "PNLPROFNOME", QStringLiteral("Nome"));
  for (QPushButton* b : {PNLPROFMATRICULA, PNLPROFNOME}) {
    b->setFocusPolicy(Qt::NoFocus);
    orders->addWidget(b);
  }
  connect(PNLPROFMATRICULA, &QPushButton::clicked, this, [this] { fillInstructors(kMatricula); });
  connect(PNLPROFNOME, &QPushButton::clicked, this, [this] { fillInstructors(kNome); });
  layout->addWidget(new QLabel(QStringLiteral("Professor"), this), 0, 0);
  layout->addLayout(orders, 0, 1);
  CBFUNCIONARIOS = new QComboBox(this);
  CBFUNCIONARIOS->setObjectName(QStringLiteral("CBFUNCIONARIOS"));
  chooseOnlyList(CBFUNCIONARIOS);
  onFieldKeys(CBFUNCIONARIOS, [this] { instructorChosen(); }, {});
  CBFUNCIONARIOS->installEventFilter(this);
  layout->addWidget(CBFUNCIONARIOS, 1, 0, 1, 2);
}

void MemberPanel::buildSearch(QGridLayout* layout) {
  SearchPanel::Order byNumber{QStringLiteral("PNLMATRICULA"), QStringLiteral("Matrícula"), 10};
  byNumber.accepts = [](QChar c) { return isDigitKey(c) || c == QLatin1Char(' '); };
  SearchPanel::Order byName{QStringLiteral("PNLNOME"), QStringLiteral("Nome"), 35};
  byName.accepts = [](QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char(' ');
  };
  search_ = new SearchPanel(this, byNumber, byName);
  search_->findChild<QPushButton*>(QStringLiteral("BBNCANCELAP"))->hide();
  connect(search_, &SearchPanel::orderChosen, this, &MemberPanel::searchOrderChosen);
  connect(search_, &SearchPanel::textEdited, this, &MemberPanel::searchTextEdited);
  connect(search_, &SearchPanel::entered, this, &MemberPanel::searchEntered);
  layout->addWidget(search_, 2, 0, 1, 2);

  DBGALUNOS = new WorkoutGrid(this);
  DBGALUNOS->setObjectName(QStringLiteral("DBGALUNOS"));
  DBGALUNOS->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  DBGALUNOS->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGALUNOS->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(DBGALUNOS);
  DBGALUNOS->installEventFilter(this);
  connect(DBGALUNOS, &QTableView::doubleClicked, this, &MemberPanel::membersDoubleClicked);
  layout->addWidget(DBGALUNOS, 3, 0, 1, 2);
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

std::optional<Failure> MemberPanel::open() {
  const Settings& settings = ctx_.series.settings;
  const bool alone = settings.membersKeptHere();
  people_ = peopleTables(settings);
  const QString unavailable =
      alone ? Msg::AberturaDeTabela : Msg::BriscaInativo + Msg::AberturaDeTabela;
  peopleConnection_ =
      std::make_unique<Connection>(people_.source, Connection::uniqueName(QStringLiteral("serie")));
  if (!peopleConnection_->open()) return Failure{unavailable, QStringLiteral("Alunos"), {}};
  const QSqlDatabase peopleDb = peopleConnection_->database();
  members_ = new PagedTableModel(
      peopleDb, peopleConnection_->dialect(), people_.members,
      {{kMatricula, QStringLiteral("Matrícula")}, {kNome, QStringLiteral("Nome")}}, {kMatricula},
      this);
  if (!members_->refresh()) return Failure{unavailable, QStringLiteral("Alunos"), {}};
  DBGALUNOS->setModel(members_);
  DBGALUNOS->horizontalHeader()->setStretchLastSection(true);
  connect(DBGALUNOS->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { photoTimer_.start(); });

  try {
    userStaff_ = linkedStaffMatricula(ctx_.session.workout().database(), ctx_.session.user());
    if (settings.instructorTiedToUser()) linkedStaff_ = userStaff_;
  } catch (const SqlError&) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Usuarios"), {}};
  }
  try {
    CBFUNCIONARIOS->addItems(
        instructorEntries(peopleDb, people_.staff, instructorOrder_, linkedStaff_));
  } catch (const SqlError&) {
    return Failure{unavailable,
                   alone ? QStringLiteral("Funcionario") : QStringLiteral(" Funcionario")};
  }
  return std::nullopt;
}

void MemberPanel::ready() {
  selectPreferredInstructor();
  ctx_.series.professor = QString();
  paintOrderPanels();
  DBGALUNOS->setCurrentIndex(members_->index(0, 0));
  search_->setOrder(0);
}

void MemberPanel::close() {
  photoTimer_.stop();
  // The grid lets go of the members before their connection goes.
  DBGALUNOS->setModel(nullptr);
  delete members_;
  members_ = nullptr;
  peopleConnection_.reset();
}

void MemberPanel::startOver() {
  members_->refresh();
  search_->text()->clear();
  DBGALUNOS->setCurrentIndex(members_->index(0, 0));
  MOSTRA_FOTO(memberRecord().value(kMatricula).toString());
}

void MemberPanel::focusSearch() {
  search_->text()->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Instructor

void MemberPanel::fillInstructors(const QString& order) {
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
  ctx_.series.professor = QString();
  paintOrderPanels();
}

void MemberPanel::selectPreferredInstructor() {
  QStringList entries;
  for (int i = 0; i < CBFUNCIONARIOS->count(); ++i) entries << CBFUNCIONARIOS->itemText(i);
  CBFUNCIONARIOS->setCurrentIndex(preferredInstructor(entries, userStaff_));
}

void MemberPanel::paintOrderPanels() {
  paintPanel(PNLPROFMATRICULA, instructorOrder_ == kMatricula);
  paintPanel(PNLPROFNOME, instructorOrder_ == kNome);
}

void MemberPanel::instructorChosen() {
  ctx_.series.professor = CBFUNCIONARIOS->currentText().left(10);
}

void MemberPanel::instructorDoubleClicked() {
  instructorChosen();
  if (CBFUNCIONARIOS->currentText().isEmpty() || search_->text()->text().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::ProfessorOuAlunoNaoInformado);
    CBFUNCIONARIOS->setFocus();
    return;
  }
  memberSelection();
}

bool MemberPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CBFUNCIONARIOS && event->type() == QEvent::MouseButtonDblClick) {
    instructorDoubleClicked();
    return true;
  }
  if (watched == DBGALUNOS && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Insert || key == Qt::Key_Delete) return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Member

QSqlRecord MemberPanel::memberRecord() const {
  if (!members_) return {};
  const QModelIndex current = DBGALUNOS->currentIndex();
  return current.isValid() ? members_->record(current.row()) : QSqlRecord();
}

void MemberPanel::takeCpf(const QSqlRecord& member) {
  ctx_.flags.pStrCPF = TIRA_MASCARA(member.value(QStringLiteral("CPF")).toString());
}

void MemberPanel::searchOrderChosen(int order) {
  members_->refresh();
  members_->setOrder({order == 0 ? kMatricula : kNome});
}

void MemberPanel::searchTextEdited(const QString& text) {
  if (search_->order() == 0) {
    if (text.isEmpty() || text.size() > 10) return;
    const QString padded = padMatricula(text);
    if (members_->order() != members_->key()) members_->setOrder(members_->key());
    const int row = members_->rowAtOrAfter(padded, true);
    if (row >= 0) DBGALUNOS->setCurrentIndex(members_->index(row, 0));
    ctx_.series.matricula = padded;
    return;
  }
  if (members_->order() != QStringList{kNome}) members_->setOrder({kNome});
  const int row = members_->rowAtOrAfter(text, true);
  if (row < 0) {
    ctx_.series.matricula = QString();
    return;
  }
  DBGALUNOS->setCurrentIndex(members_->index(row, 0));
  const QSqlRecord member = memberRecord();
  ctx_.series.matricula = member.value(kMatricula).toString().left(10);
  takeCpf(member);
}

bool MemberPanel::locateMember(const QString& matricula) {
  if (members_->order() != members_->key()) members_->setOrder(members_->key());
  const int row = matricula.isEmpty() ? -1 : members_->rowOfKey(matricula);
  if (row < 0) return false;
  DBGALUNOS->setCurrentIndex(members_->index(row, 0));
  return true;
}

void MemberPanel::searchEntered(const QString& text) {
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
  if (!locateMember(ctx_.series.matricula)) return notFound();
  const QSqlRecord member = memberRecord();
  const QString matricula = member.value(kMatricula).toString();
  search_->showResult(numberAndName(member));
  MOSTRA_FOTO(matricula);
  ctx_.series.matricula = matricula;
  takeCpf(member);
  members_->refresh();
  if (!locateMember(matricula)) return notFound();
  memberCheck();
  memberSelection();
}

void MemberPanel::membersDoubleClicked() {
  if (CBFUNCIONARIOS->currentText().isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::ProfessorNaoInformado);
    CBFUNCIONARIOS->setFocus();
    return;
  }
  const QSqlRecord member = memberRecord();
  if (member.isEmpty()) return;
  const QString matricula = member.value(kMatricula).toString();
  ctx_.series.matricula = matricula;
  members_->refresh();
  if (!locateMember(matricula)) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    return;
  }
  search_->showResult(numberAndName(member));
  takeCpf(member);
  memberCheck();
  memberSelection();
}

void MemberPanel::memberCheck() {
  const QSqlRecord member = memberRecord();
  if (member.value(QStringLiteral("CPF")).toString().trimmed().isEmpty() ||
      member.value(QStringLiteral("EMAIL")).toString().trimmed().isEmpty())
    MENSAGEM(kInfo, Msg::DadoIncorreto, SeriesText::CpfOuEmail);
}

void MemberPanel::memberSelection() {
  ctx_.series.professor = CBFUNCIONARIOS->currentText().left(10);
  emit memberChosen(memberRecord(), CBFUNCIONARIOS->currentText());
}

void MemberPanel::MOSTRA_FOTO(const QString& matricula) {
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
  showPhoto(Image1, picture);
  emit photoRead(picture);
}

void MemberPanel::startAssessment() {
  const Result<QString> active = assessmentActiveMembers();
  if (!active.okOrTell()) return;
  ctx_.series.activeMembers = *active;
  const QSqlRecord member = memberRecord();
  if (ctx_.series.matricula.isEmpty() || member.isEmpty()) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    return;
  }
  QDate birth = member.value(QStringLiteral("DATA_NASCIMENTO")).toDate();
  if (!birth.isValid())
    birth = QDate::fromString(member.value(QStringLiteral("DATA_NASCIMENTO")).toString().left(10),
                              Qt::ISODate);
  ctx_.series.age = QString::number(CALCULA_IDADE(birth));
  MENSAGEM(kInfo, SeriesText::AvaliacaoIndisponivel);
}
