// The shape the agenda's modal windows share: what they read is opened once, when the window is
// first shown, under the hourglass; a window that cannot open it says why and closes itself.
#pragma once

#include <QDialog>
#include <optional>

#include "base/failure.h"
#include "scheduling/agenda_sources.h"

class Session;

class AgendaDialog : public QDialog {
  Q_OBJECT

 public:
  // `sayAllocated`: a failure to open is followed by "Registro já alocado", as the booking
  // windows say it.
  AgendaDialog(Session& session, const char* objectName, const QString& caption,
               InstructorsWanted instructors, bool sayAllocated, QWidget* parent);

 protected:
  // The window's own opening once the sources are open; a failure closes the window.
  virtual Outcome opened() { return Done{}; }
  void showEvent(QShowEvent* event) override;

  Session& session_;
  std::optional<AgendaSources> sources_;

 private:
  InstructorsWanted instructors_;
  bool sayAllocated_ = false;
  bool shown_ = false;
};
