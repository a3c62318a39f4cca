#include "scheduling/agenda_day_window.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "base/messages.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "scheduling/day_panel.h"

Result<DayGrid> namedDay(const QSqlDatabase& workoutDb, const AgendaSources& sources,
                         const QDate& date) {
  const Result<QList<AgendaSlot>> agenda = readAgenda(workoutDb);
  if (!agenda) return agenda.failure();
  const Result<QList<Booking>> bookings = bookingsOn(workoutDb, date);
  if (!bookings) return bookings.failure();
  QStringList matriculas;
  for (const Booking& b : *bookings) matriculas << b.matricula;
  const Result<QHash<QString, QString>> names =
      memberNames(sources.peopleDatabase(), sources.people, matriculas);
  if (!names) return names.failure();
  return dayGrid(*agenda, *bookings, date, [&](const Booking& b) {
    const auto name = names->constFind(b.matricula);
    return bookedCell(b.matricula,
                      name == names->cend() ? std::nullopt : std::optional<QString>(*name));
  });
}

TFRMCONSULTAAGENDADETREINOS::TFRMCONSULTAAGENDADETREINOS(Session& session, QWidget* parent)
    : AgendaDialog(session, "TFRMCONSULTAAGENDADETREINOS",
                   QStringLiteral("Consulta Agenda Montagem de Séries"), std::nullopt, false, parent),
      date_(QDate::currentDate()) {
  auto* layout = new QVBoxLayout(this);
  day_ = new DayPanel(330, this);
  layout->addWidget(day_, 1);
  BBNCANCELA = namedButton(this, "BBNCANCELA", QStringLiteral("Cancela"), QStringLiteral("Cancela"));
  layout->addWidget(BBNCANCELA, 0, Qt::AlignRight);
  connect(BBNCANCELA, &QPushButton::clicked, this, &QDialog::reject);
  connect(day_, &DayPanel::dateClicked, this, &TFRMCONSULTAAGENDADETREINOS::showDay);
  resize(760, 440);
}

TFRMCONSULTAAGENDADETREINOS::~TFRMCONSULTAAGENDADETREINOS() = default;

Outcome TFRMCONSULTAAGENDADETREINOS::opened() {
  const Result<QList<AgendaSlot>> agenda = readAgenda(session_.workoutDatabase());
  if (agenda && agenda->isEmpty()) return Failure{Msg::GradeDaAgendaNaoMontada, {}, {}};
  return fill();
}

Outcome TFRMCONSULTAAGENDADETREINOS::fill() {
  Result<DayGrid> grid = namedDay(session_.workoutDatabase(), *sources_, date_);
  day_->showDate(date_);
  if (!grid) return grid.failure();
  day_->showGrid(*grid);
  return Done{};
}

void TFRMCONSULTAAGENDADETREINOS::showDay(const QDate& date) {
  const std::optional<Failure> refused = pastDateRefused(date, QDate::currentDate());
  date_ = refused ? QDate::currentDate() : date;
  fill().okOrTell();
  if (refused) tell(*refused);
}
