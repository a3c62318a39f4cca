#include "scheduling/assembly_booking_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "data/paged_table_model.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "scheduling/booking_calendar.h"
#include "scheduling/calendar_export.h"
#include "scheduling/booking_questions.h"

namespace {

const QString kMatricula = QStringLiteral("MATRICULA");

}  // namespace

TFRMAGENDARTREINOS::TFRMAGENDARTREINOS(Session& session, QWidget* parent)
    : AgendaDialog(session, "TFRMAGENDARTREINOS", QStringLiteral("Agendar Montagem de Série"),
                   Employment::Current, true, parent) {
  auto* layout = new QHBoxLayout(this);
  // A name typed that begins no member's name leaves Enter the member in view.
  search_ = new MemberSearch(UnmatchedName::KeepCurrent, this, QStringLiteral("Aluno(a) "));
  search_->grid()->setToolTip(QStringLiteral("Clique duplo para Agendar"));
  connect(search_, &MemberSearch::typed, this, &TFRMAGENDARTREINOS::searchTyped);
  connect(search_, &MemberSearch::entered, this, &TFRMAGENDARTREINOS::searchEntered);
  connect(search_->grid(), &QTableView::doubleClicked, this,
          &TFRMAGENDARTREINOS::DBGALUNOSDblClick);
  layout->addWidget(search_, 1);
  auto* side = new QVBoxLayout;
  auto* exportButton = namedButton(this, "BBNEXPORTAR", QStringLiteral("Exportar Agenda"),
                                   QStringLiteral("Exportar Agenda"));
  connect(exportButton, &QPushButton::clicked, this, [this] {
    const QSqlRecord member = search_->current();
    exportMemberCalendar(session_, member.value(kMatricula).toString(),
                         member.value(QStringLiteral("NOME")).toString(), this);
  });
  side->addWidget(exportButton);
  side->addStretch();
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(BBNRETORNA, &QPushButton::clicked, this, &QDialog::reject);
  side->addWidget(BBNRETORNA);
  layout->addLayout(side);
  resize(600, 480);
}

TFRMAGENDARTREINOS::~TFRMAGENDARTREINOS() {
  search_->close();
}

Outcome TFRMAGENDARTREINOS::opened() {
  if (!search_->open(*sources_->peopleConnection, sources_->people.members))
    return peopleTableUnavailable(sources_->people, QStringLiteral("ALUNOS"),
                                  search_->members()->lastError());
  search_->goToRow(0);
  search_->setKey(MemberKey::Matricula);
  return Done{};
}

void TFRMAGENDARTREINOS::searchTyped(const SearchStep& step) {
  if (step.remembered) remembered_ = *step.remembered;
}

void TFRMAGENDARTREINOS::searchEntered(const QString& text) {
  const std::optional<QSqlRecord> member = search_->enter(text, remembered_);
  if (member) search_->showFound(*member);
}

void TFRMAGENDARTREINOS::DBGALUNOSDblClick() {
  const QString matricula = search_->current().value(kMatricula).toString();
  if (matricula.isEmpty()) return;
  const std::optional<PendingAnswer> pending = askAboutPendingBooking(
      session_.workoutDatabase(), matricula, PendingChoices::ChangeOrDelete);
  if (!pending || pending->answer == PendingAnswer::Keep) return;
  CalendarBooking booking;
  booking.kind = CalendarKind::Scheduling;
  booking.matricula = matricula;
  booking.treino = QStringLiteral("A");
  booking.replaces = pending->booking;
  booking.evaluators = evaluatorEntries(sources_->instructors);
  openBookingCalendar(session_, booking, this);
}
