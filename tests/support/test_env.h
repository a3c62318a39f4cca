// What every test shares: the scripted prompter installed by the test main.
#pragma once

#include "base/prompter.h"

ScriptedPrompter& testPrompter();
