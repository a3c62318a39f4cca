// TFRMSELECAO, "Escolha da Avaliação": the member's assessments by date; double-clicking one
// enables the sections it offers, which are then ticked and shown on screen or printed.
#pragma once

#include <QDate>
#include <QDialog>
#include <QMap>
#include <QSet>

#include "assessment/assessment_rules.h"
#include "data/settings_record.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTableWidget;

// What the series builder hands over: the member being edited, the age it worked out, and
// the workout settings (the gym's name, where the members are kept).
struct AssessmentSelection {
  QString matricula;
  QString age;
  Settings settings;
};

class AssessmentSelectionWindow : public QDialog {
  Q_OBJECT

 public:
  AssessmentSelectionWindow(const AssessmentSelection& selection, QWidget* parent);

  // Lists the member's assessments; false (after telling why) when the assessment database or
  // its settings cannot be read, and the window is not to be shown.
  bool load();

  QCheckBox* box(Section section) const { return boxes_.value(section); }

 private:
  void choose(int row);
  void toggleAll();
  void output(bool preview);
  void reset();
  QSet<Section> ticked() const;

  AssessmentSelection selection_;
  QList<QDate> dates_;
  QDate chosen_;
  QTableWidget* list_ = nullptr;
  QGroupBox* printing_ = nullptr;
  QMap<Section, QCheckBox*> boxes_;
  QPushButton* preview_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* all_ = nullptr;
};

// Opens the window modally for the member; nothing when it could not be loaded.
void openAssessmentSelection(const AssessmentSelection& selection, QWidget* parent);
