// Stand-in platform layer for machines without a display.
#include "platform/sys.h"
