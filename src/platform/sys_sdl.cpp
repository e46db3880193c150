// SDL2 implementation of the platform layer.
#include "platform/sys.h"
