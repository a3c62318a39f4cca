// The agenda windows as the staff use them, on the installation's own database with the
// members and staff kept there: the series review and its booking, the calendar, the
// scheduling window's questions, the day view and the weekly grid editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "scheduling/agenda_day_window.h"
#include "scheduling/assembly_booking_window.h"
#include "scheduling/booking_calendar.h"
#include "scheduling/day_panel.h"
#include "scheduling/scheduling_commands.h"
#include "scheduling/series_review_window.h"
#include "scheduling/weekly_agenda_window.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

// The next date on `weekday` (Qt: Monday 1 … Sunday 7) after today.
QDate next(int weekday) {
  QDate day = QDate::currentDate().addDays(1);
  while (day.dayOfWeek() != weekday) day = day.addDays(1);
  return day;
}

class AgendaWindows : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    db_ = workout();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("Tempo_Reavaliacao"), QStringLiteral("3"));
    for (auto [n, name, job] : {std::tuple{3, "CARLA", "PROF MUSC"}, {4, "ANDRE", "PROF MUSC"},
                                {5, "DORA", "RECEPCAO"}})
      runSql(db_, QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES (?, ?, ?)"),
             {number(n), name, job});
    for (auto [n, name] : {std::pair{12, "ANA LIMA"}, {13, "BETO"}, {123, "CAIO"}})
      runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
             {number(n), name});
    for (const char* hour : {"08:00", "09:00"})
      runSql(db_,
             QStringLiteral("INSERT INTO Agenda (HORA, AVALIADOR_SEGUNDA, AVALIADOR_TERCA, "
                            "AVALIADOR_QUARTA, AVALIADOR_QUINTA, AVALIADOR_SEXTA, AVALIADOR_SABADO) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {hour, number(3), number(4), number(3), number(4), number(3),
              QString::fromLatin1(hour) == QLatin1String("08:00") ? QVariant(number(4))
                                                                  : QVariant(QMetaType(QMetaType::QString))});
    setCalendarOpener([this](Session&, const CalendarBooking& booking, QWidget*) {
      calendars_ << booking;
      return true;
    });
  }
  void TearDown() override {
    setCalendarOpener(nullptr);
    FrameFixture::TearDown();
  }

  void addSeries(int member, const QDate& day, const char* letter, int instructor) {
    runSql(db_,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Professor, Ordem) VALUES (?, ?, '001', ?, ?, ?, 1)"),
           {number(member), letter, day, day.addMonths(3), number(instructor)});
  }
  void addBooking(int member, const QDate& day, const char* hour) {
    runSql(db_,
           QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, AVALIADOR, "
                          "USUARIO) VALUES (?, 'A', ?, ?, ?, '01')"),
           {number(member), day, hour, number(3)});
  }
  int bookings(const QString& where = QStringLiteral("1 = 1")) {
    return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE ") + where).toInt();
  }
  static QStringList cells(QTableWidget* grid, int column) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
      out << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return out;
  }

  QSqlDatabase db_;
  QList<CalendarBooking> calendars_;
};

TEST_F(AgendaWindows, TheReviewListsDueSeriesAndBooksTheMemberChosen) {
  const QDate old = QDate::currentDate().addMonths(-4);
  addSeries(12, old, "A", 3);
  addSeries(13, old, "B", 4);
  addSeries(99, old, "A", 3);                           // no longer in the member table
  addSeries(123, QDate::currentDate(), "A", 3);         // not due
  addBooking(13, QDate::currentDate().addDays(7), "09:00");  // pending next week

  TFRMREVIORDEAVALIACOES review(session_, window_.get());
  review.show();
  QApplication::processEvents();
  ASSERT_EQ(review.rows().size(), 3);
  EXPECT_EQ(review.rows()[0].nome, QStringLiteral("ANA LIMA"));
  EXPECT_EQ(review.findChild<QLabel*>(QStringLiteral("LBLTOTAL"))->text(), QStringLiteral("3"));
  auto* instructors = review.findChild<QComboBox*>(QStringLiteral("CBFUNCIONARIOS"));
  ASSERT_EQ(instructors->count(), 3);  // TODOS and the two instructors
  instructors->setCurrentText(number(4) + QStringLiteral(" - ANDRE"));
  ASSERT_EQ(review.rows().size(), 1);
  EXPECT_EQ(review.rows()[0].matricula, number(13));

  // Next week's booking: No keeps it, Yes opens the calendar to replace it, ANDRE preset.
  testPrompter().answerNext(kAnswerNo);
  review.bookRow(0);
  EXPECT_TRUE(calendars_.isEmpty());
  EXPECT_EQ(testPrompter().messages().last().detail,
            QStringLiteral("\rDeseja alterar DATA ou HORA da Montagem de Serie ?"));
  testPrompter().answerNext(kAnswerYes);
  review.bookRow(0);
  ASSERT_EQ(calendars_.size(), 1);
  EXPECT_EQ(calendars_[0].kind, CalendarKind::SeriesReview);
  EXPECT_EQ(calendars_[0].treino, QStringLiteral("B"));
  ASSERT_TRUE(calendars_[0].replaces);
  EXPECT_EQ(calendars_[0].presetEvaluator, QStringLiteral("ANDRE - ") + number(4));
  EXPECT_EQ(calendars_[0].evaluators, (QStringList{"ANDRE - " + number(4), "CARLA - " + number(3)}));

  instructors->setCurrentIndex(0);
  testPrompter().clear();
  review.bookRow(2);  // the member gone from the table
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::AlunoInativo});
  // A member booked for today is rebooked without a question.
  addBooking(12, QDate::currentDate(), "08:00");
  testPrompter().clear();
  review.bookRow(0);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  ASSERT_EQ(calendars_.size(), 2);
  EXPECT_TRUE(calendars_[1].replaces);
  EXPECT_EQ(calendars_[1].presetEvaluator, QString());
}

TEST_F(AgendaWindows, TheCalendarBooksAFreeHourAndRefusesOneTakenMeanwhile) {
  const QDate monday = next(Qt::Monday);
  addBooking(13, QDate::currentDate().addDays(1), "09:00");
  const std::optional<Booking> old = **pendingBooking(db_, number(13), QDate::currentDate());
  CalendarBooking request{CalendarKind::Scheduling, number(13), "A", old,
                          {"ANDRE - " + number(4), "CARLA - " + number(3)}, QString()};
  BookingCalendar calendar(session_, request, window_.get());
  calendar.show();
  QApplication::processEvents();
  EXPECT_EQ(calendar.objectName(), QStringLiteral("TFRMCALENDARIOAGENDAR"));
  QTableWidget* grid = calendar.day()->slotGrid();

  // A Sunday has nothing to choose; Monday's free hours show their evaluators.
  emit calendar.day()->dateClicked(next(Qt::Sunday));
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Domingo"));
  EXPECT_EQ(cells(grid, 1), (QStringList{"", ""}));
  emit calendar.day()->dateClicked(monday);
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Segunda"));
  EXPECT_EQ(cells(grid, 1), (QStringList{number(3), number(3)}));

  // Confirming without an hour keeps the calendar open.
  testPrompter().clear();
  clickButton(&calendar, "BBNCONFIRMA");
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("\rAluno não foi agendado!"));
  EXPECT_FALSE(calendar.booked());

  // Another workstation books 09:00 once the user chose it.
  emit calendar.day()->hourClicked(1);
  EXPECT_EQ(cells(grid, 1)[1], kChosenCell);
  addBooking(12, monday, "09:00");
  testPrompter().clear();
  clickButton(&calendar, "BBNCONFIRMA");
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::HorarioJaAgendado});
  EXPECT_FALSE(calendar.booked());
  EXPECT_EQ(cells(grid, 1)[1], QStringLiteral(" MT ") + number(12));
  EXPECT_EQ(bookings(), 2);

  emit calendar.day()->hourClicked(0);
  clickButton(&calendar, "BBNCONFIRMA");
  EXPECT_TRUE(calendar.booked());
  // The old booking gave way to the new one, letter "A", the first evaluator.
  const std::optional<Booking> now = **pendingBooking(db_, number(13), QDate::currentDate());
  ASSERT_TRUE(now);
  EXPECT_EQ(now->data, monday);
  EXPECT_EQ(now->hora, QStringLiteral("08:00"));
  EXPECT_EQ(now->avaliador, number(4));
  EXPECT_EQ(now->treino, QStringLiteral("A"));
  EXPECT_EQ(bookings(QStringLiteral("MATRICULA = '%1'").arg(number(13))), 1);
}

TEST_F(AgendaWindows, TheSchedulingWindowAsksToChangeThenToDeleteTodaysBooking) {
  addBooking(12, QDate::currentDate(), "08:00");
  TFRMAGENDARTREINOS scheduling(session_, window_.get());
  scheduling.show();
  QApplication::processEvents();
  // Typing 123 by registration stands on member 0000000123.
  QTest::keyClicks(scheduling.search()->text(), "123");
  EXPECT_EQ(scheduling.remembered(), number(123));
  scheduling.DBGALUNOSDblClick();
  ASSERT_EQ(calendars_.size(), 1);
  EXPECT_EQ(calendars_[0].treino, QStringLiteral("A"));
  EXPECT_FALSE(calendars_[0].replaces);

  ASSERT_TRUE(scheduling.search()->locate(number(12)));
  testPrompter().answerNext(kAnswerNo);
  testPrompter().answerNext(kAnswerNo);
  scheduling.DBGALUNOSDblClick();
  EXPECT_EQ(bookings(), 1);
  testPrompter().answerNext(kAnswerNo);
  testPrompter().answerNext(kAnswerYes);
  scheduling.DBGALUNOSDblClick();
  EXPECT_EQ(bookings(), 0);
  EXPECT_EQ(testPrompter().messages().last().detail,
            QStringLiteral("\rDeseja excluir Data da Montagem de Serie ?"));
  EXPECT_EQ(calendars_.size(), 1);
}

TEST_F(AgendaWindows, TheDayViewNamesTheMembersAndNeedsTheWeeklyGrid) {
  addBooking(12, QDate::currentDate(), "09:00");
  addBooking(77, QDate::currentDate(), "08:00");  // not in the member table
  {
    TFRMCONSULTAAGENDADETREINOS view(session_, window_.get());
    view.show();
    QApplication::processEvents();
    QTableWidget* grid = view.day()->slotGrid();
    if (QDate::currentDate().dayOfWeek() != Qt::Sunday) {
      EXPECT_EQ(cells(grid, 1), (QStringList{" MT " + number(77), " MT " + number(12) + " - ANA LIMA"}));
    }
    testPrompter().clear();
    view.showDay(QDate::currentDate().addDays(-3));
    EXPECT_EQ(view.date(), QDate::currentDate());
    EXPECT_EQ(testPrompter().messages().last().detail,
              QStringLiteral("\rData de agendamento MENOR do que data ATUAL !"));
    view.reject();
  }
  runSql(db_, QStringLiteral("DELETE FROM Agenda"));
  testPrompter().clear();
  TFRMCONSULTAAGENDADETREINOS empty(session_, window_.get());
  empty.show();
  QApplication::processEvents();
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::GradeDaAgendaNaoMontada});
  QApplication::processEvents();
  EXPECT_FALSE(empty.isVisible());
}

TEST_F(AgendaWindows, TheWeeklyGridIsTypedWithEnterAndDeletedWithoutAQuestion) {
  auto* editor = openEntry<TFRMREAGENDA>("MNAgendadeTreinos");
  ASSERT_NE(editor, nullptr);
  QApplication::processEvents();
  QTableView* grid = editor->grid();
  ASSERT_EQ(editor->model()->rowCount(), 2);
  // From Saturday of the last row Enter opens a new row, typed "10.00" and the evaluators.
  grid->setCurrentIndex(editor->model()->index(1, 6));
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_EQ(editor->model()->rowCount(), 3);
  EXPECT_EQ(grid->currentIndex(), editor->model()->index(2, 0));
  // The first key opens the cell's editor; the rest and Enter go to it.
  const auto typeInCell = [grid](const QString& text) {
    QTest::keyClick(grid, text.at(0).toLatin1());
    QWidget* cell = grid->indexWidget(grid->currentIndex());
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, text.mid(1));
    QTest::keyClick(cell, Qt::Key_Return);
  };
  typeInCell(QStringLiteral("10.00"));
  QApplication::processEvents();
  EXPECT_EQ(grid->currentIndex().column(), 1);
  typeInCell(number(4));
  QApplication::processEvents();
  ASSERT_TRUE(editor->postCurrent());
  const QList<AgendaSlot> stored = *readAgenda(db_);
  ASSERT_EQ(stored.size(), 3);
  EXPECT_EQ(stored[2].hora, QStringLiteral("10:00"));
  EXPECT_EQ(stored[2].evaluators[0], number(4));

  // Delete removes the row under the cursor at once; Ctrl+Delete does nothing.
  grid->setCurrentIndex(editor->model()->index(0, 0));
  QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(readAgenda(db_)->size(), 3);
  testPrompter().clear();
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  EXPECT_EQ(readAgenda(db_)->size(), 2);
  EXPECT_EQ(readAgenda(db_)->first().hora, QStringLiteral("09:00"));
  clickButton(editor, "BBNRETORNA");
}

TEST_F(AgendaWindows, TheAgendaCommandListsTheDayInHourOrder) {
  const QDate monday = next(Qt::Monday);
  addBooking(12, monday, "09:00");
  addBooking(77, monday, "08:00");
  runSql(db_, QStringLiteral("UPDATE Agendado SET DATA_FEITA = ? WHERE MATRICULA = ?"),
         {monday, number(12)});
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  FILE* devnull = fopen("/dev/null", "w");
  EXPECT_EQ(runAgendaCommand({formatTypedDate(monday)}, out, devnull), 0);
  fclose(out);
  const QStringList lines = QString::fromUtf8(text, qsizetype(size)).split('\n', Qt::SkipEmptyParts);
  free(text);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("Agenda de %1 (Segunda)").arg(formatTypedDate(monday)));
  EXPECT_EQ(lines[1], "08:00\t" + number(77) + "\t" + number(3) + " - CARLA\tPendente");
  EXPECT_EQ(lines[2], "09:00\t" + number(12) + " - ANA LIMA\t" + number(3) +
                          " - CARLA\tFeita em " + formatTypedDate(monday));
  EXPECT_EQ(lines[3], QStringLiteral("2 montagem(ns) agendada(s)"));
  EXPECT_EQ(runAgendaCommand({QStringLiteral("31/02/2026")}, devnull, devnull), 2);
  EXPECT_EQ(runAgendaCommand({}, devnull, devnull), 2);
  fclose(devnull);
}

}  // namespace
