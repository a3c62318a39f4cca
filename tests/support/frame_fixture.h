// The running program as a user meets it: a fresh installation, the main window started with
// every window wired to its entry, the master user logged in. Tests open windows through the
// menu entries and drive them by objectName.
#pragma once

#include <QString>
#include <memory>

#include "app/main_window.h"
#include "support/shell_fixture.h"

class QWidget;

class FrameFixture : public ShellFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Chooses the entry and returns the window of that class it opened (nullptr when none).
  template <typename T>
  T* openEntry(const char* entry) {
    window_->openEntry(QString::fromLatin1(entry));
    return window_->findChild<T*>();
  }

  std::unique_ptr<TFRMSEPRINCIPAL> window_;
};

// Types `text` into the line edit `name` of `w` and presses Enter (fails when it cannot).
void typeEnter(QWidget* w, const char* name, const QString& text);
// Clicks the push button `name` of `w`.
void clickButton(QWidget* w, const char* name);
