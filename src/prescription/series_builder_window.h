// TFRMTIPOEXERCICIO, "Tipo de Exercício": the series builder. The instructor chooses himself
// and a member, opens a workout letter, ticks its weekdays, and picks, edits and orders its
// exercises. The workout being edited is held in memory by this window alone.
//
// The window puts its parts together: the member search, the header with the letter and its
// weekdays, and the blocks below it (strength, reorder and its view, aerobic, stretching), one
// shown at a time. It opens and closes their tables and saves, publishes and prints for them.
#pragma once

#include <QList>

#include "forms/child_window.h"
#include "prescription/series_block.h"
#include "prescription/series_service.h"

class AerobicBlock;
class AerobicModel;
class MemberPanel;
class QFrame;
class QPushButton;
class QSqlRecord;
class ReorderBlock;
class SeriesHeader;
class StrengthBlock;
class StretchingBlock;
class WorkoutModel;

class TFRMTIPOEXERCICIO : public ChildWindow, public BuilderFlags, private BuilderHost {
  Q_OBJECT

 public:
  explicit TFRMTIPOEXERCICIO(Session& session, QWidget* parent = nullptr);
  ~TFRMTIPOEXERCICIO() override;

  bool hasCloseBox() const override { return false; }
  WorkoutModel* workout() const { return workout_; }
  AerobicModel* aerobic() const { return aerobic_; }
  // The member, instructor and settings the builder works with.
  const SeriesSession& series() const { return series_; }

 protected:
  bool ABRE_TABELAS() override;
  void closeTables() override;

 private:
  void build();
  void buildBlocks(const BuilderContext& context);
  void connectParts();
  bool openFailed(const Failure& failure);

  void memberChosen(const QSqlRecord& member, const QString& instructor);
  void backToMembers();
  void daysChosen(bool strength);
  void ImprimeSerie(bool landscape);
  SeriesService service() const;
  MemberContact memberContact() const;
  QList<SeriesBlock*> blocks() const;

  // BuilderHost
  void headerIdle() override;
  void headerBusy() override;
  bool zeroAllowed() const override;
  void allowZero(bool allowed) override;
  void showOnly(SeriesBlock* shown) override;
  bool blockShown() const override;
  QString letter() const override;
  std::optional<int> saveWorkout() override;
  bool saveAerobic() override;
  bool saveStretching(const StretchChoice& choice) override;
  void openReorder() override;

  SeriesSession series_;
  WorkoutModel* workout_ = nullptr;
  AerobicModel* aerobic_ = nullptr;

  QPushButton* SBSAIR = nullptr;
  MemberPanel* member_ = nullptr;
  SeriesHeader* header_ = nullptr;
  QFrame* PNLFUNDO = nullptr;
  StrengthBlock* strength_ = nullptr;
  ReorderBlock* reorder_ = nullptr;
  AerobicBlock* aerobicBlock_ = nullptr;
  StretchingBlock* stretching_ = nullptr;
};
