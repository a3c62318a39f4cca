#include "prescription/member_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "assessment/assessment_selection_window.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "base/routines.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "prescription/series_service.h"
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

}  // namespace

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
  search_ = new MemberSearch(UnmatchedName::Forget, this);
  connect(search_, &MemberSearch::typed, this, &MemberPanel::searchTyped);
  connect(search_, &MemberSearch::entered, this, &MemberPanel::searchEntered);
  connect(search_->grid(), &QTableView::doubleClicked, this, &MemberPanel::membersDoubleClicked);
  connect(search_, &MemberSearch::currentRowChanged, this, [this] { photoTimer_.start(); });
  layout->addWidget(search_, 2, 0, 2, 2);
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

// ---------------------------------------------------------------------------------------------
// Opening and closing

std::optional<Failure> MemberPanel::open() {
  const Settings& settings = ctx_.series.settings;
  const bool alone = settings.membersKeptHere();
  people_ = peopleTables(settings);
  peopleConnection_ =
      std::make_unique<Connection>(people_.source, Connection::uniqueName(QStringLiteral("serie")));
  if (!peopleConnection_->open() || !search_->open(*peopleConnection_, people_.members))
    return peopleTableUnavailable(people_, QStringLiteral("Alunos"));
  const QSqlDatabase peopleDb = peopleConnection_->database();

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
    return peopleTableUnavailable(
        people_, alone ? QStringLiteral("Funcionario") : QStringLiteral(" Funcionario"));
  }
  return std::nullopt;
}

void MemberPanel::ready() {
  selectPreferredInstructor();
  ctx_.series.professor = QString();
  paintOrderPanels();
  search_->goToRow(0);
  search_->setKey(MemberKey::Matricula);
}

void MemberPanel::close() {
  photoTimer_.stop();
  search_->close();
  peopleConnection_.reset();
}

void MemberPanel::startOver() {
  search_->members()->refresh();
  search_->text()->clear();
  search_->goToRow(0);
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
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Member

QSqlRecord MemberPanel::memberRecord() const {
  return search_->current();
}

void MemberPanel::takeCpf(const QSqlRecord& member) {
  ctx_.flags.pStrCPF = TIRA_MASCARA(member.value(QStringLiteral("CPF")).toString());
}

void MemberPanel::searchTyped(const SearchStep& step) {
  if (!step.remembered) return;
  ctx_.series.matricula = *step.remembered;
  if (search_->key() == MemberKey::Nome && !step.remembered->isEmpty()) takeCpf(memberRecord());
}

void MemberPanel::searchEntered(const QString& text) {
  const std::optional<QSqlRecord> member = search_->enter(text, ctx_.series.matricula);
  if (!member) return;
  const QString matricula = member->value(kMatricula).toString();
  search_->showFound(*member);
  MOSTRA_FOTO(matricula);
  ctx_.series.matricula = matricula;
  takeCpf(*member);
  search_->members()->refresh();
  if (!search_->locate(matricula)) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    search_->text()->clear();
    return;
  }
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
  search_->members()->refresh();
  if (!search_->locate(matricula)) {
    MENSAGEM(kInfo, Msg::MatriculaNaoCadastrada);
    return;
  }
  search_->showFound(member);
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
  if (!peopleConnection_) return;
  const std::optional<QImage> picture =
      showMemberPhoto(Image1, peopleConnection_->database(), people_.photos, matricula);
  if (picture) emit photoRead(*picture);
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
  openAssessmentSelection({ctx_.series.matricula, ctx_.series.age, ctx_.series.settings}, this);
}
