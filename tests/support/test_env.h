// What every test shares: the scripted prompter installed by the test main.
#pragma once

#include "app/prompter.h"

ScriptedPrompter& testPrompter();
