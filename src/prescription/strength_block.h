// The strength workout being built: exercises picked from the catalogue (by muscle group when
// the gym groups them, then by the start of the name) into the workout grid, where they are
// typed, dragged, deleted and saved; the exercise under the cursor plays its video.
#pragma once

#include <QSqlRecord>
#include <QTimer>
#include <optional>

#include "prescription/series_block.h"

class PagedTableModel;
class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class VideoPlayer;
class WorkoutGrid;

class StrengthBlock : public SeriesBlock {
  Q_OBJECT

 public:
  // Brings the current workout of `letter` of the member `matricula` into the letter edited
  // ("Copiar de", once the member and the letter are chosen).
  void copyWorkout(const QString& matricula, const QString& letter);
  StrengthBlock(const BuilderContext& context, QWidget* parent);

  // Reads the muscle groups and the picking list; what failed otherwise.
  std::optional<Failure> open();
  // The weekdays chosen: the picking list read again, the keyboard in the name filter.
  void enter();
  // A letter opened: the muscle groups start from the first.
  void startLetter();
  // The workout zeroed: the picking list from its first exercise.
  void pickFromTop();
  void stopVideo();
  void focusFirstField() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildPicking(QBoxLayout* layout);
  void buildSeries(QBoxLayout* layout);
  bool groupsOn() const;

  bool fillPicking();
  QSqlRecord pickedExercise() const;
  void groupChosen();
  void filterEdited(const QString& text);
  void filterEntered();
  void pickingCursorMoved();
  void addExercise();
  void seriesCursorMoved();
  void showExerciseUnderCursor(const QString& code, const QString& descricao);
  void deleteExercise();
  void rowDropped(int from, int onto);
  // Moves the exercise under the cursor one place up (-1) or down (1), renumbering as a drag.
  void moveExercise(int step);
  void SBCOPIARDEClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();

  // The video of the exercise under the cursor: the button says when there is none; after an
  // exercise is added it plays only when there is one.
  void BBNVIDEOClick();
  bool playExerciseVideo();
  void videoTick();

  PagedTableModel* picking_ = nullptr;
  bool browsingGroups_ = false;  // the group list moved by keys in it, not chosen
  QTimer Timer1;

  QLabel* LBLGRUPAMENTO = nullptr;
  QComboBox* CBGRUPAMENTOMUSCULAR = nullptr;
  QLineEdit* EDTFILTRO = nullptr;
  WorkoutGrid* DBGEXERCICIO_FILTRADO = nullptr;
  WorkoutGrid* DBGEXERCICIO_SERIE = nullptr;
  QLabel* LBLDESCRICAOVIDEO = nullptr;
  VideoPlayer* WindowsMediaPlayer = nullptr;
};
