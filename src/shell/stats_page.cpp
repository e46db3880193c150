#include "shell/shell.h"

// Opened in the desktop browser at every orderly exit.
const char *statsPageAddress = "https://cobalt-overdrive.example.org/stats";
