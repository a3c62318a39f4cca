#include "scheduling/series_review_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "scheduling/booking_calendar.h"
#include "scheduling/calendar_export.h"
#include "scheduling/booking_questions.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

TFRMREVIORDEAVALIACOES::TFRMREVIORDEAVALIACOES(Session& session, QWidget* parent)
    : AgendaDialog(session, "TFRMREVIORDEAVALIACOES", QStringLiteral("Revisor de Treinos Vencidos"),
                   Employment::Any, true, parent) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Professor"), this), 0, 0);
  CBFUNCIONARIOS = new QComboBox(this);
  CBFUNCIONARIOS->setObjectName(QStringLiteral("CBFUNCIONARIOS"));
  chooseOnlyList(CBFUNCIONARIOS);  // chosen from the list, never typed
  layout->addWidget(CBFUNCIONARIOS, 0, 1, 1, 3);
  DBGAVALIACOES = new QTableWidget(0, 4, this);
  DBGAVALIACOES->setObjectName(QStringLiteral("DBGAVALIACOES"));
  DBGAVALIACOES->setHorizontalHeaderLabels({QStringLiteral("Matrícula"), QStringLiteral("Nome"),
                                            QStringLiteral("Treino"),
                                            QStringLiteral("Próxima Reavaliação")});
  DBGAVALIACOES->setToolTip(QStringLiteral("Clique duplo para Agendar"));
  DBGAVALIACOES->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGAVALIACOES->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGAVALIACOES->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGAVALIACOES->verticalHeader()->hide();
  DBGAVALIACOES->setColumnWidth(0, 100);
  DBGAVALIACOES->setColumnWidth(1, 280);
  DBGAVALIACOES->setColumnWidth(2, 60);
  DBGAVALIACOES->horizontalHeader()->setStretchLastSection(true);
  DBGAVALIACOES->installEventFilter(this);
  layout->addWidget(DBGAVALIACOES, 1, 0, 1, 4);
  layout->addWidget(new QLabel(QStringLiteral("Total de Treinos Vencidos "), this), 2, 0, 1, 2);
  LBLTOTAL = new QLabel(QStringLiteral("0"), this);
  LBLTOTAL->setObjectName(QStringLiteral("LBLTOTAL"));
  layout->addWidget(LBLTOTAL, 2, 2);
  auto* exportButton = namedButton(this, "BBNEXPORTAR", QStringLiteral("Exportar Agenda"),
                                   QStringLiteral("Exportar Agenda"));
  connect(exportButton, &QPushButton::clicked, this, [this] {
    const int row = DBGAVALIACOES->currentRow();
    if (row >= 0 && row < rows_.size())
      exportMemberCalendar(session_, rows_[row].matricula, rows_[row].nome, this);
  });
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(exportButton);
  buttons->addWidget(BBNRETORNA);
  layout->addLayout(buttons, 2, 3);
  layout->setColumnStretch(1, 1);
  connect(BBNRETORNA, &QPushButton::clicked, this, &QDialog::reject);
  connect(DBGAVALIACOES, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { bookRow(row); });
  resize(720, 480);
}

TFRMREVIORDEAVALIACOES::~TFRMREVIORDEAVALIACOES() = default;

Outcome TFRMREVIORDEAVALIACOES::opened() {
  {
    const QSignalBlocker quiet(CBFUNCIONARIOS);
    CBFUNCIONARIOS->addItems(reviewInstructorEntries(sources_->instructors));
    CBFUNCIONARIOS->setCurrentIndex(0);
  }
  connect(CBFUNCIONARIOS, &QComboBox::currentIndexChanged, this,
          &TFRMREVIORDEAVALIACOES::buildList);
  buildList();
  // The keyboard starts on the list: Enter books the member under the cursor.
  DBGAVALIACOES->setFocus();
  return Done{};
}

void TFRMREVIORDEAVALIACOES::buildList() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QDate cutOff = expiryCutOff(QDate::currentDate(),
                                    sources_->settings.tempoReavaliacao.trimmed().toInt());
  Result<QList<ExpiredRow>> rows = expiredRows(session_.workoutDatabase(), cutOff,
                                               instructorOfEntry(CBFUNCIONARIOS->currentText()));
  Result<QHash<QString, QString>> names = QHash<QString, QString>{};
  if (rows) {
    QStringList matriculas;
    for (const ExpiredRow& r : *rows) matriculas << r.matricula;
    names = memberNames(sources_->peopleDatabase(), sources_->people, matriculas);
  }
  QApplication::restoreOverrideCursor();
  rows_.clear();
  if (rows.okOrTell() && names.okOrTell()) {
    rows_ = *rows;
    for (ExpiredRow& r : rows_) r.nome = names->value(r.matricula);
  }
  DBGAVALIACOES->setRowCount(int(rows_.size()));
  for (int i = 0; i < rows_.size(); ++i) {
    const ExpiredRow& r = rows_[i];
    const QStringList cells{r.matricula, r.nome, r.treino,
                            r.dataReavaliacao.toString(QStringLiteral("dd/MM/yyyy"))};
    for (int c = 0; c < cells.size(); ++c) DBGAVALIACOES->setItem(i, c, new QTableWidgetItem(cells[c]));
  }
  LBLTOTAL->setText(QString::number(rows_.size()));
  if (!rows_.isEmpty()) DBGAVALIACOES->setCurrentCell(0, 0);
}

bool TFRMREVIORDEAVALIACOES::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DBGAVALIACOES && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete) return true;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        DBGAVALIACOES->currentRow() >= 0) {
      bookRow(DBGAVALIACOES->currentRow());
      return true;
    }
  }
  return AgendaDialog::eventFilter(watched, event);
}

void TFRMREVIORDEAVALIACOES::bookRow(int row) {
  if (row < 0 || row >= rows_.size()) return;
  const ExpiredRow& due = rows_[row];
  if (due.nome.isEmpty()) {
    MENSAGEM(kInfo, Msg::AlunoInativo);
    return;
  }
  const std::optional<PendingAnswer> pending =
      askAboutPendingBooking(session_.workoutDatabase(), due.matricula, PendingChoices::ChangeOnly);
  if (!pending || pending->answer == PendingAnswer::Keep) return;
  CalendarBooking booking;
  booking.kind = CalendarKind::SeriesReview;
  booking.matricula = due.matricula;
  booking.treino = due.treino;
  booking.replaces = pending->booking;
  booking.evaluators = evaluatorEntries(sources_->instructors);
  booking.presetEvaluator = evaluatorEntryFor(CBFUNCIONARIOS->currentText()).value_or(QString());
  openBookingCalendar(session_, booking, this);
}
