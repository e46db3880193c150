// Particle emitters: fixed pools described by .eff files. Not loaded yet: no car smokes.
#include "effects/effects.h"

void loadCarEffects() {}

float markerPhase;

void driveCarEffects(int, float, float, bool) {}
