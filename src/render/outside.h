// What the renderer reads or sets that belongs to other subsystems.
#pragma once
#include "frontend/frontend.h"
#include "race/race.h"
#include "shell/shell.h"

// Effects: loads the twelve per-car particle emitters (fire, smoke, dust for cars 0 to 3).
// Declared here until the effects subsystem has its own header.
void loadCarEffects();
