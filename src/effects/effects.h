// Effects: the particle emitters every car carries (exhaust fire, exhaust smoke, wheel dust) and
// the marker at the player's next checkpoint.
#pragma once

// The twelve emitters, fire, smoke and dust for cars 0 to 3, from their .eff files; once, after
// GL set-up.
void loadCarEffects();
