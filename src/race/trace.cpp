// Race fields of the per-frame trace; empty until a race runs.
#include "shell/automation.h"

void traceRaceFields(TraceLine &line) {}
