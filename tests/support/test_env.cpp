#include "support/test_env.h"

ScriptedPrompter& testPrompter() {
  static ScriptedPrompter prompter;
  return prompter;
}
