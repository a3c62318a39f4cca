// TFRMFREQUENCIAAULAS, "Agendamento de Aula Coletiva": books active members into the gym's
// group classes for a date (never before the cash register's current opening), cancels a
// booking, and shows the places each class has left that day. Opened modally from the
// "Agendamento de Aula Coletiva" shortcut, which stays off while it is up; it opens the class
// registry and the attendance report.
#pragma once

#include <QDate>
#include <QDialog>
#include <QPointer>
#include <memory>

#include "base/globals.h"
#include "classes/class_booking_flow.h"
#include "registry/member_search.h"

class Connection;
class QCalendarWidget;
class QComboBox;
class QLineEdit;
class QPushButton;
class Session;

class TFRMFREQUENCIAAULAS : public QDialog {
  Q_OBJECT

 public:
  TFRMFREQUENCIAAULAS(Session& session, QWidget* shortcut, QWidget* parent = nullptr);
  ~TFRMFREQUENCIAAULAS() override;

  const QDate& bookingDate() const { return date_; }
  const QList<GroupClass>& classes() const { return classes_; }
  QComboBox* classList() const { return CBAULAS; }
  MemberSearch* search() const { return search_; }
  const BookingDesk& desk() const { return desk_; }
  const QDate& cashOpening() const { return cashOpening_; }
  // A new booking date, as leaving the date field or clicking the calendar: refused before the
  // cash register's opening.
  void chooseDate(const QDate& date);
  // Books the member under the cursor into the chosen class, as a double click does.
  void bookCurrentMember();
  // Reads the classes again and rebuilds the list, keeping the line chosen.
  void rebuildClassList();

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Outcome ABRE_TABELAS();
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);
  void openRegistry();
  void openReport();

  Session& session_;
  QPointer<QWidget> shortcut_;
  std::unique_ptr<Connection> portal_;  // the classes' database when they are booked there
  BookingDesk desk_;
  QList<GroupClass> classes_;
  QDate cashOpening_;
  QDate date_;
  FixedText<10> remembered_;
  bool opened_ = false;
  bool closed_ = false;
  QLineEdit* EDTDATA = nullptr;
  QCalendarWidget* MonthCalendar1 = nullptr;
  QComboBox* CBAULAS = nullptr;
  MemberSearch* search_ = nullptr;
  QPushButton* SBAULASCOLETIVAS = nullptr;
  QPushButton* SBCALENDARIOTURMAS = nullptr;
  QPushButton* BBNCONSULTA = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

