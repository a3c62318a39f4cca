#include "classes/class_booking_window.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/typed_date.h"
#include "classes/attendance_window.h"
#include "classes/class_registry_window.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "forms/session.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kMatricula = QStringLiteral("MATRICULA");

}  // namespace

TFRMFREQUENCIAAULAS::TFRMFREQUENCIAAULAS(Session& session, QWidget* shortcut, QWidget* parent)
    : QDialog(parent), session_(session), shortcut_(shortcut) {
  setObjectName(QStringLiteral("TFRMFREQUENCIAAULAS"));
  setWindowTitle(QStringLiteral("Agendamento de Aula Coletiva"));
  setModal(true);
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  auto* layout = new QGridLayout(this);

  layout->addWidget(new QLabel(QStringLiteral("Data"), this), 0, 0);
  EDTDATA = new QLineEdit(this);
  EDTDATA->setObjectName(QStringLiteral("EDTDATA"));
  EDTDATA->setMaximumWidth(110);
  layout->addWidget(EDTDATA, 0, 1);
  SBCALENDARIOTURMAS =
      namedButton(this, "SBCALENDARIOTURMAS", QStringLiteral("Calendário"), QStringLiteral("Calendário"));
  layout->addWidget(SBCALENDARIOTURMAS, 0, 2);
  SBAULASCOLETIVAS = namedButton(this, "SBAULASCOLETIVAS", QStringLiteral("Aulas"),
                                 QStringLiteral("Cadastro de Aulas Coletivas"));
  BBNCONSULTA = namedButton(this, "BBNCONSULTA", QStringLiteral("Relatório"), QStringLiteral("Relatório"));
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(SBAULASCOLETIVAS);
  buttons->addWidget(BBNCONSULTA);
  buttons->addWidget(BBNRETORNA);
  layout->addLayout(buttons, 0, 3, 1, 3);

  layout->addWidget(new QLabel(QStringLiteral("Aula Coletiva"), this), 1, 0);
  CBAULAS = new QComboBox(this);
  CBAULAS->setObjectName(QStringLiteral("CBAULAS"));
  QFont fixed(QStringLiteral("Monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  CBAULAS->setFont(fixed);
  chooseOnlyList(CBAULAS);
  layout->addWidget(CBAULAS, 1, 1, 1, 5);

  MonthCalendar1 = new QCalendarWidget(this);
  MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
  MonthCalendar1->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  MonthCalendar1->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  MonthCalendar1->hide();
  layout->addWidget(MonthCalendar1, 2, 4, 1, 2, Qt::AlignTop);

  search_ = new MemberSearch(UnmatchedName::KeepCurrent, this, QStringLiteral("Aluno(a) "));
  search_->grid()->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  layout->addWidget(search_, 2, 0, 1, 4);
  layout->setColumnStretch(3, 1);
  layout->setRowStretch(2, 1);

  // The date: digits, "/" and blank; Enter writes it back whole and moves on; leaving it makes
  // it the booking date.
  acceptOnlyKeys(EDTDATA, [](QChar c) {
    return isDigitKey(c) || c == QLatin1Char('/') || c == QLatin1Char(' ');
  });
  auto* chain = new FieldChain(this);
  auto* dateField = new DateField(EDTDATA, true);
  chain->add(
      EDTDATA,
      [this]() -> std::optional<FieldError> {
        const std::optional<QDate> typed = parseTypedDate(EDTDATA->text());
        if (!typed)
          return FieldError{Msg::DadoIncorreto, QStringLiteral("Data de Agendamento"), true};
        EDTDATA->setText(formatTypedDate(*typed));
        chooseDate(*typed);
        return std::nullopt;
      },
      [dateField] { dateField->settle(); });
  chain->setEnd(BBNCONSULTA);

  connect(SBCALENDARIOTURMAS, &QPushButton::clicked, this,
          [this] { MonthCalendar1->setVisible(!MonthCalendar1->isVisible()); });
  connect(MonthCalendar1, &QCalendarWidget::clicked, this, [this](const QDate& date) {
    chooseDate(date);
    search_->grid()->setFocus();
  });
  connect(MonthCalendar1, &QCalendarWidget::activated, this, [this](const QDate& date) {
    chooseDate(date);
    MonthCalendar1->hide();
  });
  connect(search_, &MemberSearch::typed, this, &TFRMFREQUENCIAAULAS::searchTyped);
  connect(search_, &MemberSearch::entered, this, &TFRMFREQUENCIAAULAS::searchEntered);
  connect(search_->grid(), &QTableView::doubleClicked, this,
          &TFRMFREQUENCIAAULAS::bookCurrentMember);
  connect(SBAULASCOLETIVAS, &QPushButton::clicked, this, &TFRMFREQUENCIAAULAS::openRegistry);
  connect(BBNCONSULTA, &QPushButton::clicked, this, &TFRMFREQUENCIAAULAS::openReport);
  connect(BBNRETORNA, &QPushButton::clicked, this, &QDialog::reject);
  resize(820, 560);
}

TFRMFREQUENCIAAULAS::~TFRMFREQUENCIAAULAS() {
  search_->close();
}

void TFRMFREQUENCIAAULAS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const Outcome ready = ABRE_TABELAS();
  QApplication::restoreOverrideCursor();
  if (ready) {
    BBNCONSULTA->setFocus();
    return;
  }
  tell(ready.failure());
  QTimer::singleShot(0, this, &QDialog::reject);
}

Outcome TFRMFREQUENCIAAULAS::ABRE_TABELAS() {
  desk_.gymDb = session_.management().database();
  desk_.cliente = session_.settings().cliente.value_or(0);
  desk_.usuario = session_.user();
  const Result<ClassSettings> settings = readClassSettings(desk_.gymDb);
  if (!settings) return settings.failure();
  desk_.settings = *settings;
  desk_.classDb = desk_.gymDb;
  if (desk_.settings.onPortal) {
    portal_ = Session::newConnection(DataSource::Ondrel, QStringLiteral("aulas-portal"));
    if (!portal_->open())
      return Failure{Msg::AberturaDeTabela, QStringLiteral("AulaColetivas"), portal_->lastError()};
    desk_.classDb = portal_->database();
  }
  if (!search_->open(session_.management(), QStringLiteral("ALUNOSATIVOS")))
    return Failure{Msg::AberturaDeTabela, QStringLiteral("AlunosAtivos"),
                   search_->members()->lastError()};
  const Result<QDate> opening = ::cashOpening(desk_.gymDb);
  if (!opening) return opening.failure();
  cashOpening_ = *opening;
  date_ = cashOpening_;
  EDTDATA->setText(formatTypedDate(date_));
  MonthCalendar1->setSelectedDate(date_);
  const Result<QList<GroupClass>> classes = readClasses(desk_.classDb, desk_.cliente);
  if (!classes) return classes.failure();
  classes_ = *classes;
  rebuildClassList();
  search_->goToRow(0);
  search_->setKey(MemberKey::Matricula);
  return Done{};
}

void TFRMFREQUENCIAAULAS::rebuildClassList() {
  const int chosen = std::max(0, CBAULAS->currentIndex());
  if (const Result<QList<GroupClass>> classes = readClasses(desk_.classDb, desk_.cliente);
      classes.okOrTell())
    classes_ = *classes;
  QStringList lines;
  for (const GroupClass& c : classes_) {
    const Result<int> booked = bookedCount(desk_.classDb, c.codigo, date_, desk_.cliente);
    lines << classListLine(c, freePlaces(c.maximoAlunos, booked.ok() ? *booked : 0));
  }
  CBAULAS->clear();
  CBAULAS->addItems(lines);
  if (!lines.isEmpty()) CBAULAS->setCurrentIndex(std::min(chosen, int(lines.size()) - 1));
}

void TFRMFREQUENCIAAULAS::chooseDate(const QDate& date) {
  if (date < cashOpening_) {
    MENSAGEM(kInfo, Msg::DadoIncorreto,
             QStringLiteral("Data de Agendamento MENOR que Data do Caixa"));
    date_ = cashOpening_;
  } else {
    date_ = date;
  }
  EDTDATA->setText(formatTypedDate(date_));
  {
    const QSignalBlocker quiet(MonthCalendar1);
    MonthCalendar1->setSelectedDate(date_);
  }
  rebuildClassList();
}

void TFRMFREQUENCIAAULAS::searchTyped(const SearchStep& step) {
  if (step.remembered) remembered_ = *step.remembered;
}

void TFRMFREQUENCIAAULAS::searchEntered(const QString& text) {
  const std::optional<QSqlRecord> member = search_->enter(text, remembered_);
  if (member) bookCurrentMember();
}

void TFRMFREQUENCIAAULAS::bookCurrentMember() {
  const QString matricula = search_->current().value(kMatricula).toString();
  const QString code = classCodeOfLine(CBAULAS->currentText());
  const auto chosen = std::find_if(classes_.cbegin(), classes_.cend(),
                                   [&](const GroupClass& c) { return c.codigo == code; });
  if (matricula.isEmpty() || chosen == classes_.cend()) return;
  const BookingEnd end = bookThroughQuestions(desk_, *chosen, date_, matricula);
  if (end == BookingEnd::Failed) {
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  rebuildClassList();
  search_->goToRow(0);
  search_->text()->clear();
  search_->text()->setFocus();
}

void TFRMFREQUENCIAAULAS::openRegistry() {
  TFRMCADASTROAULAS registry(session_, desk_, this);
  registry.exec();
  rebuildClassList();
}

void TFRMFREQUENCIAAULAS::openReport() {
  TFRMRELATORIOFREQUENCIAAULASCOLETIVAS report(desk_, classes_, cashOpening_, this);
  report.exec();
}

void TFRMFREQUENCIAAULAS::done(int result) {
  if (!closed_) {
    closed_ = true;
    search_->close();
    if (shortcut_) shortcut_->setEnabled(true);
  }
  QDialog::done(result);
}
