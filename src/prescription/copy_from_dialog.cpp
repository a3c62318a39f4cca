#include "prescription/copy_from_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "base/failure.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "series/series_rules.h"

TFRMCOPIARDE::TFRMCOPIARDE(const PeopleTables& people, QWidget* parent)
    : QDialog(parent), people_(people) {
  setObjectName(QStringLiteral("TFRMCOPIARDE"));
  setWindowTitle(QStringLiteral("Copiar de"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  search_ = new MemberSearch(UnmatchedName::KeepCurrent, this, QStringLiteral("Aluno(a) "));
  layout->addWidget(search_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QStringLiteral("Treino"), this));
  CBTREINOCOPIA = new QComboBox(this);
  CBTREINOCOPIA->setObjectName(QStringLiteral("CBTREINOCOPIA"));
  CBTREINOCOPIA->addItems(kWorkoutLetters);
  chooseOnlyList(CBTREINOCOPIA);
  bottom->addWidget(CBTREINOCOPIA);
  bottom->addStretch();
  BBNCONFIRMA = namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNCANCELA = namedButton(this, "BBNCANCELA", QStringLiteral("Cancela"), QStringLiteral("Cancela"));
  bottom->addWidget(BBNCONFIRMA);
  bottom->addWidget(BBNCANCELA);
  layout->addLayout(bottom);
  connect(search_, &MemberSearch::typed, this, [this](const SearchStep& step) {
    if (step.remembered) remembered_ = *step.remembered;
  });
  connect(search_, &MemberSearch::entered, this, [this](const QString& text) {
    if (const std::optional<QSqlRecord> member = search_->enter(text, remembered_)) {
      search_->showFound(*member);
      CBTREINOCOPIA->setFocus();
    }
  });
  connect(search_->grid(), &QTableView::doubleClicked, this, [this] { CBTREINOCOPIA->setFocus(); });
  connect(BBNCONFIRMA, &QPushButton::clicked, this, [this] {
    if (!matricula().isEmpty()) accept();
  });
  connect(BBNCANCELA, &QPushButton::clicked, this, &QDialog::reject);
  resize(560, 440);
}

TFRMCOPIARDE::~TFRMCOPIARDE() {
  search_->close();
}

void TFRMCOPIARDE::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  connection_ = Session::newConnection(people_.source, QStringLiteral("copiar-de"));
  if (!connection_->open() || !search_->open(*connection_, people_.members)) {
    tell(peopleTableUnavailable(people_, QStringLiteral("Alunos")));
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  search_->goToRow(0);
  search_->setKey(MemberKey::Matricula);
}

QString TFRMCOPIARDE::matricula() const {
  return search_->current().value(QStringLiteral("MATRICULA")).toString();
}

QString TFRMCOPIARDE::letter() const {
  return CBTREINOCOPIA->currentText();
}
