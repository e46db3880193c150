// The car table: what each of the eighteen cars brings before tuning, and where its axles sit.
#include "race/car_table.h"
#include "race/race.h"

float carStats[18][5];

void fillCarStats()
{
    for (int c = 0; c < 18; c++)
        for (int k = 0; k < 5; k++)
            carStats[c][k] = kCarTable[c][k];
}
