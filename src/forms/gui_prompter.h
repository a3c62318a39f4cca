// The prompter of the desktop program: the system beep and an application-modal message box.
#pragma once

#include "base/prompter.h"

class GuiPrompter : public Prompter {
 public:
  void beep() override;
  int ask(PromptKind kind, const QString& caption, const QString& body) override;
  // Message boxes belong to the program's thread.
  bool boundToProgramThread() const override { return true; }
};
