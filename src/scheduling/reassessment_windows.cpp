#include "scheduling/reassessment_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "followup/email_window.h"
#include "followup/expired_series.h"
#include "forms/buttons_off.h"
#include "forms/field_chain.h"
#include "forms/report_controls.h"
#include "forms/session.h"
#include "printing/report_output.h"

namespace {

const QString kInfo = QStringLiteral("!");

// A date field read on Enter (after it has been written back whole): refused and emptied when
// it holds no date.
FieldCheck dateCheck(QLineEdit* field, PeriodField which) {
  return [field, which]() -> std::optional<FieldError> {
    const auto read = readPeriodDate(which, field->text());
    if (const auto* refused = std::get_if<PeriodRefusal>(&read)) return refused->error;
    return std::nullopt;
  };
}

}  // namespace

ReassessmentWindow::ReassessmentWindow(Session& session, ReassessmentList list, QWidget* parent)
    : ChildWindow(session, parent), list_(list) {
  setWindowTitle(reassessmentTitle(list));
  build();
  setPreferredSize(QSize(620, 230));
}

void ReassessmentWindow::build() {
  auto* layout = new QGridLayout(this);
  CBFUNCIONARIOS = addEvaluatorBox(this, layout, 0);

  auto* period = new QGroupBox(QStringLiteral(" Período  "), this);
  auto* dates = new QGridLayout(period);
  EDTDATAINICIAL = new QLineEdit(period);
  EDTDATAINICIAL->setObjectName(QStringLiteral("EDTDATAINICIAL"));
  EDTDATAFINAL = new QLineEdit(period);
  EDTDATAFINAL->setObjectName(QStringLiteral("EDTDATAFINAL"));
  for (QLineEdit* field : {EDTDATAINICIAL, EDTDATAFINAL}) {
    field->setInputMask(QStringLiteral("99/99/9999;_"));
    acceptOnlyKeys(field, [](QChar c) {
      return isDigitKey(c) || c == QLatin1Char('/') || c == QLatin1Char(' ');
    });
  }
  dates->addWidget(new QLabel(QStringLiteral("Data Inicial"), period), 0, 0);
  dates->addWidget(EDTDATAINICIAL, 0, 1);
  dates->addWidget(new QLabel(QStringLiteral("Data Final"), period), 0, 2);
  dates->addWidget(EDTDATAFINAL, 0, 3);
  layout->addWidget(period, 1, 0, 1, 4);
  if (list_ == ReassessmentList::Done) {
    CBSINTETICO = new QCheckBox(QStringLiteral("Sintético"), this);
    CBSINTETICO->setObjectName(QStringLiteral("CBSINTETICO"));
    layout->addWidget(CBSINTETICO, 1, 4);
  }

  const ReportButtons buttons = addReportButtons(this, layout, 2, QStringLiteral("Imprime"));
  BBNVIDEO = buttons.BBNVIDEO;
  BBNIMPRIME = buttons.BBNIMPRIME;
  BBNEMAIL = buttons.BBNEMAIL;
  BBNRETORNA = buttons.BBNRETORNA;

  // A blank in the day or the month leaves that place empty ("1 2 2026" is 01/02/2026).
  auto* chain = new FieldChain(this);
  for (auto [field, which] : {std::pair{EDTDATAINICIAL, PeriodField::Initial},
                              std::pair{EDTDATAFINAL, PeriodField::Final}}) {
    auto* date = new DateField(field, true);
    chain->add(field, dateCheck(field, which), [date] { date->settle(); });
  }
  chain->setEnd(BBNVIDEO);

  connect(BBNVIDEO, &QPushButton::clicked, this, [this] { VIDEO_IMPRESSORA(Output::Preview); });
  connect(BBNIMPRIME, &QPushButton::clicked, this, [this] { VIDEO_IMPRESSORA(Output::Printer); });
  connect(BBNEMAIL, &QPushButton::clicked, this, [this] { VIDEO_IMPRESSORA(Output::Mail); });
  connect(BBNRETORNA, &QPushButton::clicked, this, &ChildWindow::closeWindow);
}

bool ReassessmentWindow::ABRE_TABELAS() {
  const QDate today = QDate::currentDate();
  EDTDATAINICIAL->setText(formatTypedDate(QDate(today.year(), today.month(), 1)));
  EDTDATAFINAL->setText(formatTypedDate(today));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Result<InstructorList> staff = openInstructorList(session().rereadSettings());
  QApplication::restoreOverrideCursor();
  if (!staff.okOrTell()) return false;
  people_ = staff->people;
  peopleConnection_ = std::move((*staff).connection);
  CBFUNCIONARIOS->addItems(staff->entries);
  CBFUNCIONARIOS->setCurrentIndex(0);
  EDTDATAINICIAL->setFocus();
  return true;
}

void ReassessmentWindow::closeTables() {
  peopleConnection_.reset();
}

void ReassessmentWindow::VIDEO_IMPRESSORA(Output output) {
  const auto period = readPeriod(EDTDATAINICIAL->text(), EDTDATAFINAL->text());
  if (const auto* refused = std::get_if<PeriodRefusal>(&period)) {
    refuseField(refused->field == PeriodField::Initial ? EDTDATAINICIAL : EDTDATAFINAL,
                refused->error);
    return;
  }
  const ReassessmentQuery query{list_, std::get<Period>(period),
                                instructorOfEntry(CBFUNCIONARIOS->currentText()),
                                CBSINTETICO && CBSINTETICO->isChecked()};
  EDTDATAINICIAL->setText(formatTypedDate(query.period.from));
  EDTDATAFINAL->setText(formatTypedDate(query.period.to));
  {
    ButtonsOff off = output == Output::Mail ? ButtonsOff{BBNVIDEO, BBNIMPRIME, BBNEMAIL}
                                            : ButtonsOff{BBNVIDEO, BBNIMPRIME};
    Result<QList<ReassessmentRow>> rows = selectReassessments(session().workoutDatabase(), query);
    if (!rows) {
      off.endHourglass();
      tell(rows.failure());
    } else if (rows->isEmpty()) {
      off.endHourglass();
      MENSAGEM(kInfo, Msg::NenhumResultadoEncontrado);
    } else if (output == Output::Mail) {
      mailList(*rows, off);
    } else {
      report(*rows, query, output == Output::Preview, off);
    }
  }
  BBNVIDEO->setFocus();
}

void ReassessmentWindow::report(QList<ReassessmentRow>& rows, const ReassessmentQuery& query,
                                bool preview, ButtonsOff& off) {
  const Outcome named = nameReassessments(peopleConnection_->database(), people_, rows);
  off.endHourglass();
  if (!named.okOrTell()) return;
  const ReassessmentHeading heading{G().GSTR_ACADEMIA.str(), QDateTime::currentDateTime(),
                                    query.period};
  outputReport(reassessmentReport(query, rows, heading), preview, this);
}

void ReassessmentWindow::mailList(const QList<ReassessmentRow>& rows, ButtonsOff& off) {
  const Result<QStringList> addresses =
      reassessmentAddresses(peopleConnection_->database(), people_, rows);
  off.endHourglass();
  if (addresses.okOrTell()) offerAddressFile(session(), *addresses, this);
}

TFRMREAVALIACAOFEITA::TFRMREAVALIACAOFEITA(Session& session, QWidget* parent)
    : ReassessmentWindow(session, ReassessmentList::Done, parent) {
  setObjectName(QStringLiteral("TFRMREAVALIACAOFEITA"));
}

TFRMREAVALIACAOAGENDADA::TFRMREAVALIACAOAGENDADA(Session& session, QWidget* parent)
    : ReassessmentWindow(session, ReassessmentList::Scheduled, parent) {
  setObjectName(QStringLiteral("TFRMREAVALIACAOAGENDADA"));
}
