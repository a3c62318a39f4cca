#include "followup/absent_members_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "followup/email_address.h"
#include "followup/email_window.h"
#include "forms/field_keys.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "registry/member_search.h"
#include "registry/photo_store.h"

namespace {

// The grid takes no new rows and loses none: Insert and Delete (with or without Ctrl) are
// swallowed.
class NoRowKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Insert || key == Qt::Key_Delete) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

TFRMALUNOSAUSENTES::TFRMALUNOSAUSENTES(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMALUNOSAUSENTES"));
  setWindowTitle(QStringLiteral("Alunos Ausentes"));
  build();
  resize(820, 520);
}

void TFRMALUNOSAUSENTES::build() {
  auto* layout = new QGridLayout(this);
  auto* search = new QGroupBox(QStringLiteral(" Aluno(a) "), this);
  auto* searchLayout = new QHBoxLayout(search);
  EDTMATRICULA = new QLineEdit(search);
  EDTMATRICULA->setObjectName(QStringLiteral("EDTMATRICULA"));
  EDTMATRICULA->setMaxLength(35);
  EDTMATRICULA->setValidator(new UpperCaseValidator(QStringLiteral(".*"), EDTMATRICULA));
  searchLayout->addWidget(EDTMATRICULA);
  layout->addWidget(search, 0, 0);

  model_ = new QStandardItemModel(0, 4, this);
  model_->setHorizontalHeaderLabels({QStringLiteral("Nome"), QStringLiteral("Telefone"),
                                     QStringLiteral("Celular"), QStringLiteral("Professor")});
  DBGALUNOS = new QTableView(this);
  DBGALUNOS->setObjectName(QStringLiteral("DBGALUNOS"));
  DBGALUNOS->setModel(model_);
  DBGALUNOS->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGALUNOS->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGALUNOS->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGALUNOS->verticalHeader()->hide();
  DBGALUNOS->setWordWrap(false);
  DBGALUNOS->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  DBGALUNOS->setColumnWidth(1, 120);
  DBGALUNOS->setColumnWidth(2, 120);
  DBGALUNOS->setColumnWidth(3, 210);
  DBGALUNOS->installEventFilter(new NoRowKeys(DBGALUNOS));
  layout->addWidget(DBGALUNOS, 1, 0, 3, 1);

  auto* photo = new QGroupBox(QStringLiteral("Foto"), this);
  auto* photoLayout = new QVBoxLayout(photo);
  Image1 = new QLabel(photo);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setFrameShape(QFrame::Box);
  photoLayout->addWidget(Image1);
  layout->addWidget(photo, 1, 1);

  CBTODOSALUNOS = new QCheckBox(QStringLiteral("Todos Alunos"), this);
  CBTODOSALUNOS->setObjectName(QStringLiteral("CBTODOSALUNOS"));
  layout->addWidget(CBTODOSALUNOS, 2, 1);
  auto* buttons = new QHBoxLayout;
  SBEMAIL = namedButton(this, "SBEMAIL", QStringLiteral("E-mail"), QStringLiteral("E-mail"));
  BBNSAIR = namedButton(this, "BBNSAIR", QStringLiteral("Sair"), QStringLiteral("Sair"));
  buttons->addWidget(SBEMAIL);
  buttons->addWidget(BBNSAIR);
  layout->addLayout(buttons, 3, 1);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(1, 1);  // the list takes the height, the search line only its own

  connect(EDTMATRICULA, &QLineEdit::textEdited, this, &TFRMALUNOSAUSENTES::searchEdited);
  onFieldKeys(
      EDTMATRICULA, [this] { searchEntered(); }, [this] { reject(); });
  connect(SBEMAIL, &QPushButton::clicked, this, &TFRMALUNOSAUSENTES::SBEMAILClick);
  connect(BBNSAIR, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRMALUNOSAUSENTES::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  if (!ABRE_TABELAS()) QTimer::singleShot(0, this, &QDialog::reject);
}

bool TFRMALUNOSAUSENTES::ABRE_TABELAS() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    QApplication::restoreOverrideCursor();
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  const QString table =
      settings->activeMembersOnly() ? QStringLiteral("ALUNOSATIVOS") : QStringLiteral("ALUNOS");
  const Result<QList<AbsentMember>> found =
      absentMembers(session_.management().database(), session_.workoutDatabase(), table,
                    G().GINT_DIAS_AUSENTES, QDateTime::currentDateTime());
  QApplication::restoreOverrideCursor();
  if (!found.okOrTell()) return false;
  members_ = *found;
  fill();
  connect(DBGALUNOS->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TFRMALUNOSAUSENTES::rowChanged);
  selectRow(0);
  EDTMATRICULA->setFocus();
  return true;
}

void TFRMALUNOSAUSENTES::fill() {
  model_->setRowCount(0);
  for (const AbsentMember& m : members_) {
    QList<QStandardItem*> row;
    for (const QString& value : {m.nome, m.telefone, m.celular, m.professor})
      row << new QStandardItem(value);
    model_->appendRow(row);
  }
}

int TFRMALUNOSAUSENTES::currentRow() const {
  return members_.isEmpty() ? -1 : DBGALUNOS->currentIndex().row();
}

void TFRMALUNOSAUSENTES::selectRow(int row) {
  if (row < 0 || row >= members_.size()) return;
  DBGALUNOS->setCurrentIndex(model_->index(row, 0));
}

void TFRMALUNOSAUSENTES::rowChanged() {
  const int row = currentRow();
  if (row < 0) return;
  // A photo that cannot be read leaves the list usable and the frame as it was.
  showMemberPhoto(Image1, session_.management().database(), kFotosAlunos, members_[row].matricula);
}

void TFRMALUNOSAUSENTES::searchEdited(const QString& text) {
  selectRow(absentRowStarting(members_, text));
}

void TFRMALUNOSAUSENTES::searchEntered() {
  selectRow(absentRowNamed(members_, EDTMATRICULA->text()));
}

void TFRMALUNOSAUSENTES::SBEMAILClick() {
  Globals& g = G();
  g.GBOL_EMAIL_AUSENTES = true;
  const bool all = CBTODOSALUNOS->isChecked();
  if (all) {
    if (members_.isEmpty()) {
      MENSAGEM(QStringLiteral("!"), Msg::NenhumResultadoEncontrado);
      g.GBOL_EMAIL_AUSENTES = false;
      return;
    }
    if (!writeAddressFile(absentAddresses(members_))) {
      MENSAGEM(QStringLiteral("!"), QStringLiteral("Arquivo não pôde ser gravado !"),
               addressFilePath());
      g.GBOL_EMAIL_AUSENTES = false;
      return;
    }
  } else if (currentRow() < 0) {
    MENSAGEM(QStringLiteral("!"), Msg::NenhumResultadoEncontrado);
    g.GBOL_EMAIL_AUSENTES = false;
    return;
  }
  const EmailRecipients recipients =
      all ? EmailRecipients::allAbsentMembers()
          : EmailRecipients::absentMember(members_[currentRow()].email);
  openMailWindow(session_, recipients, this);
  g.GBOL_EMAIL_AUSENTES = false;
  CBTODOSALUNOS->setChecked(false);
}

void TFRMALUNOSAUSENTES::done(int result) {
  if (!closed_) {
    closed_ = true;
    if (!VOLTA_USUARIO(session_))
      MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  }
  QDialog::done(result);
}
