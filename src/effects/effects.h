// Effects: the particle emitters every car carries (exhaust fire, exhaust smoke, wheel dust) and
// the marker at the player's next checkpoint.
#pragma once

// The twelve emitters, fire, smoke and dust for cars 0 to 3, from their .eff files; once, after
// GL set-up.
void loadCarEffects();

// What a car's frame tells its three emitters: the skid level raises dust, the exhaust intensity
// feeds the fire, burning nitro turns the fire green. Car 0 from the player's frame, the others
// from their drivers.
void driveCarEffects(int car, float skidLevel, float exhaust, bool nitroBurning);
// The checkpoint marker's pulse; grows through every race frame. The HUD's bend arrow reads it.
extern float markerPhase;
