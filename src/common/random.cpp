#include "common/common.h"

#include <cstdlib>
#include <ctime>

bool randomSeedSet;
unsigned randomSeed;

void seedRandomGenerator()
{
    std::srand(randomSeedSet ? randomSeed : unsigned(std::time(nullptr)));
}
