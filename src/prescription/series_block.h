// What the parts of the series builder share: the window's flags, what a part asks of the
// window, and the frame of the blocks shown one at a time below the header.
#pragma once

#include <QFrame>
#include <QModelIndex>
#include <QString>
#include <functional>
#include <optional>

#include "series/series_save.h"

class AerobicModel;
class QAbstractItemModel;
class Session;
class WorkoutGrid;
class WorkoutModel;
struct SeriesSession;

// What the builder has been through, for whoever drives the window.
struct BuilderFlags {
  bool LIBERA = false;         // a strength workout was opened or added to
  bool MLIBERA_ORDEM = false;  // the reorder panel holds orders not yet written
  bool pBooVisualiza = false;  // the reordered workout was last shown
  QString pStrCPF;             // the chosen member's CPF, without its mask
};

class SeriesBlock;

// What a part of the builder asks of the window it sits in.
class BuilderHost {
 public:
  // The header's letter and buttons: free once no block is open, held while one is.
  virtual void headerIdle() = 0;
  virtual void headerBusy() = 0;
  // "Zera Musculação": whether the workout may still be zeroed.
  virtual bool zeroAllowed() const = 0;
  virtual void allowZero(bool allowed) = 0;
  // `block` alone below the header (none: no block), the keyboard in its first field.
  virtual void showOnly(SeriesBlock* block) = 0;
  virtual bool blockShown() const = 0;
  // The workout letter chosen in the header.
  virtual QString letter() const = 0;
  // Each block saved with what the header and the weekdays hold, then published; nothing
  // (the user told why) when nothing was stored.
  virtual std::optional<int> saveWorkout() = 0;
  virtual bool saveAerobic() = 0;
  virtual bool saveStretching(const StretchChoice& choice) = 0;
  virtual void openReorder() = 0;

 protected:
  ~BuilderHost() = default;
};

// Everything a part of the builder works over.
struct BuilderContext {
  Session& session;
  SeriesSession& series;  // the member, instructor and settings chosen
  BuilderFlags& flags;
  BuilderHost& host;
  WorkoutModel* workout;  // the strength workout being edited
  AerobicModel* aerobic;  // the aerobic block being edited
};

// A block below the builder's header; the window shows one at a time.
class SeriesBlock : public QFrame {
  Q_OBJECT

 public:
  SeriesBlock(const BuilderContext& context, QWidget* parent, const char* name);

  // Where the keyboard starts when the block is shown.
  virtual void focusFirstField() = 0;

 protected:
  // Lays the block out as a column: `title`, then a grid named `gridName` over `model` taking
  // the block's height.
  WorkoutGrid* addTitledGrid(const QString& title, const char* gridName, QAbstractItemModel* model);
  // "Confirma" and "Cancela" at the foot of the block; with `escape`, Esc anywhere in the
  // block cancels too.
  void addConfirmCancel(const char* confirmName, std::function<void()> onConfirm,
                        const char* cancelName, std::function<void()> onCancel, bool escape);

  BuilderContext ctx_;
};

// Strength and view grids: Enter goes to the next column, and from "Intervalo" or "Observação"
// to "Descrição" of the next row.
QModelIndex nextSeriesCell(const QModelIndex& from);
