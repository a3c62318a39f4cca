// The builder's header once a member is chosen: who and when, the workout letter and its
// change date, the buttons that open each block, and the weekdays a block is opened with.
#pragma once

#include <QDate>
#include <QFrame>
#include <QList>

#include "prescription/series_block.h"
#include "series/series_rules.h"

class QComboBox;
class QGridLayout;
class QImage;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlRecord;
class WeekdayBlock;

class SeriesHeader : public QFrame {
  Q_OBJECT

 public:
  // The weekday block goes into `blocksParent`, with the other blocks.
  SeriesHeader(const BuilderContext& context, QWidget* parent, QWidget* blocksParent);

  WeekdayBlock* days() const { return days_; }
  QString letter() const;
  // The change date typed; a null date when it is not one.
  QDate changeDate() const;

  // The settings read as the window opened.
  void applySettings();
  // The member and the instructor entry chosen, with today's date and the proposed change.
  void showMember(const QSqlRecord& member, const QString& instructor);
  void showPhoto(const QImage& picture);
  void focusLetter();

  // ATIVA_BOTOES: the letter and the buttons free again once no block is open.
  void setIdle();
  // DESATIVA_BOTOES: held while a block is open.
  void setBusy();
  bool zeroAllowed() const;
  void allowZero(bool allowed);
  void setPrintButtonsEnabled(bool enabled);
  // Back to the member search: the next workout opened is the stored one.
  void startOver();

 signals:
  void membersAsked();
  void printAsked(bool landscape);
  void reorderAsked();
  void stretchingAsked();
  void assessmentAsked();
  // The weekdays confirmed, for the strength workout or for the aerobic block.
  void daysChosen(bool strength);
  // A strength letter opened its weekdays.
  void strengthOpened();
  // "Zera Musculação": the workout emptied.
  void workoutZeroed();

 private:
  void build();
  void buildButtons(QGridLayout* layout);
  QPushButton* headerButton(const char* name, const QString& caption);
  QPushButton* button(const char* name) const;

  void letterChosen();
  void changeDateEntered();
  std::optional<QList<WorkoutRow>> readLetter(WeekdayBoxes& boxes);
  void SBEXERCICIOSClick();
  void SBAEROBICAClick();
  void SBZERAClick();
  void SBENVIAREMAILClick();
  void daysCancelled();

  BuilderContext ctx_;
  bool zeroed_ = false;
  bool strengthDays_ = false;

  QLabel* LBLALUNO = nullptr;
  QLabel* LBLDATA = nullptr;
  QLabel* LBLPROFESSOR = nullptr;
  QComboBox* CBTREINO = nullptr;
  QLineEdit* EDTDATATROCA = nullptr;
  QLabel* Image2 = nullptr;
  QList<QPushButton*> headerButtons_;
  WeekdayBlock* days_ = nullptr;
};
