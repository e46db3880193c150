// Functions of this subsystem that are not written yet live here until they are.

void loadCarEffects() {}
