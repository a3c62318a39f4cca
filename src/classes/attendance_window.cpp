#include "classes/attendance_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "classes/attendance.h"
#include "forms/buttons_off.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "printing/report_output.h"


TFRMRELATORIOFREQUENCIAAULASCOLETIVAS::TFRMRELATORIOFREQUENCIAAULASCOLETIVAS(
    const BookingDesk& desk, const QList<GroupClass>& classes, const QDate& cashOpening,
    QWidget* parent)
    : QDialog(parent), desk_(desk) {
  setObjectName(QStringLiteral("TFRMRELATORIOFREQUENCIAAULASCOLETIVAS"));
  setWindowTitle(QStringLiteral("Relatório de Agenda de Aula Coletiva"));
  setModal(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Aula Coletiva"), this), 0, 0);
  CBAULAS = new QComboBox(this);
  CBAULAS->setObjectName(QStringLiteral("CBAULAS"));
  QFont fixed(QStringLiteral("Monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  CBAULAS->setFont(fixed);
  chooseOnlyList(CBAULAS);
  CBAULAS->addItem(kAllClassesLine);
  for (const GroupClass& c : classes) CBAULAS->addItem(classListLine(c));
  CBAULAS->setCurrentIndex(0);
  layout->addWidget(CBAULAS, 0, 1, 1, 4);

  auto* period = new QGroupBox(QStringLiteral(" Período "), this);
  auto* dates = new QHBoxLayout(period);
  EDTDATAINICIAL = new QLineEdit(formatTypedDate(cashOpening), period);
  EDTDATAINICIAL->setObjectName(QStringLiteral("EDTDATAINICIAL"));
  EDTDATAFINAL = new QLineEdit(formatTypedDate(cashOpening), period);
  EDTDATAFINAL->setObjectName(QStringLiteral("EDTDATAFINAL"));
  dates->addWidget(new QLabel(QStringLiteral("Data Inicial"), period));
  dates->addWidget(EDTDATAINICIAL);
  dates->addWidget(new QLabel(QStringLiteral("Data Final"), period));
  dates->addWidget(EDTDATAFINAL);
  layout->addWidget(period, 1, 0, 1, 3);

  auto* order = new QGroupBox(QStringLiteral(" Ordenado por "), this);
  order->setObjectName(QStringLiteral("RGORDENADO"));
  auto* orderLayout = new QHBoxLayout(order);
  byMatricula_ = new QRadioButton(QStringLiteral("Matrícula"), order);
  byNome_ = new QRadioButton(QStringLiteral("Nome"), order);
  byMatricula_->setChecked(true);
  orderLayout->addWidget(byMatricula_);
  orderLayout->addWidget(byNome_);
  layout->addWidget(order, 1, 3, 1, 2);

  BBNVIDEO = namedButton(this, "BBNVIDEO", QStringLiteral("Vídeo"), QStringLiteral("Vídeo"));
  BBNIMPRIME =
      namedButton(this, "BBNIMPRIME", QStringLiteral("Impressora"), QStringLiteral("Impressora"));
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Retorna"), QStringLiteral("Retorna"));
  layout->addWidget(BBNVIDEO, 2, 2);
  layout->addWidget(BBNIMPRIME, 2, 3);
  layout->addWidget(BBNRETORNA, 2, 4);
  layout->setColumnStretch(1, 1);

  auto* chain = new FieldChain(this);
  for (auto [field, detail] : {std::pair{EDTDATAINICIAL, QStringLiteral("Data Inicial")},
                               std::pair{EDTDATAFINAL, QStringLiteral("Data Final")}}) {
    acceptOnlyKeys(field, [](QChar c) {
      return isDigitKey(c) || c == QLatin1Char('/') || c == QLatin1Char(' ');
    });
    auto* date = new DateField(field, true);
    chain->add(
        field,
        [field, detail]() -> std::optional<FieldError> {
          const std::optional<QDate> typed = parseTypedDate(field->text());
          if (!typed) return FieldError{Msg::DadoIncorreto, detail, true};
          field->setText(formatTypedDate(*typed));
          return std::nullopt;
        },
        [date] { date->settle(); });
  }
  chain->setEnd(BBNVIDEO);
  connect(BBNVIDEO, &QPushButton::clicked, this, [this] { VIDEO_IMPRESSORA(true); });
  connect(BBNIMPRIME, &QPushButton::clicked, this, [this] { VIDEO_IMPRESSORA(false); });
  connect(BBNRETORNA, &QPushButton::clicked, this, &QDialog::reject);
  resize(760, 200);
}

bool TFRMRELATORIOFREQUENCIAAULASCOLETIVAS::VIDEO_IMPRESSORA(bool preview) {
  const auto period = attendancePeriod(EDTDATAINICIAL->text(), EDTDATAFINAL->text());
  if (const auto* refused = std::get_if<PeriodRefused>(&period)) {
    refuseField(refused->endField ? EDTDATAFINAL : EDTDATAINICIAL,
                {Msg::DadoIncorreto, refused->detail, true});
    return false;
  }
  const AttendancePeriod dates = std::get<AttendancePeriod>(period);
  EDTDATAINICIAL->setText(formatTypedDate(dates.from));
  EDTDATAFINAL->setText(formatTypedDate(dates.to));
  ButtonsOff off{BBNVIDEO, BBNIMPRIME};
  const Result<QList<AttendanceRow>> rows = attendance(
      desk_.classDb, {classOfReportLine(CBAULAS->currentText()), dates.from, dates.to, desk_.cliente,
                      byNome_->isChecked()});
  if (!rows.okOrTell()) return true;
  const AttendanceHeading heading{G().GSTR_ACADEMIA.str(), EDTDATAINICIAL->text(),
                                  EDTDATAFINAL->text(), QDateTime::currentDateTime(),
                                  desk_.settings.receptionistControl};
  QApplication::restoreOverrideCursor();
  outputReport(attendanceReport(*rows, heading), preview, this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  return true;
}
