// What every test shares: the scripted prompter installed by the test main.
#pragma once

#include "base/prompter.h"

ScriptedPrompter& testPrompter();

// Boxes as the desktop program shows them: a message from a worker thread is shown by the
// program's thread while the worker waits for the answer. For tests of windows that work in
// the background.
class WindowPrompter : public ScriptedPrompter {
 public:
  bool boundToProgramThread() const override { return true; }
};
