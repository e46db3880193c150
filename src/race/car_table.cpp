// The car table: what each of the eighteen cars brings before tuning, and where its axles sit.
#include "race/race.h"

float carStats[18][5];

void fillCarStats()
{
    static const float table[18][5] = {
        {0.5f, 0.52f, 0.53f, 4.14f, 4.125f}, {0.52f, 0.54f, 0.55f, 4.0f, 4.18f},
        {0.53f, 0.55f, 0.53f, 4.15f, 4.39f}, {0.55f, 0.52f, 0.55f, 4.17f, 4.2f},
        {0.54f, 0.57f, 0.54f, 4.14f, 4.255f}, {0.56f, 0.54f, 0.58f, 3.62f, 4.3f},
        {0.57f, 0.55f, 0.6f, 4.14f, 4.125f}, {0.59f, 0.6f, 0.58f, 4.0f, 4.18f},
        {0.62f, 0.58f, 0.64f, 4.15f, 4.39f}, {0.63f, 0.6f, 0.63f, 4.17f, 4.2f},
        {0.67f, 0.64f, 0.63f, 4.14f, 4.255f}, {0.66f, 0.67f, 0.68f, 3.62f, 4.3f},
        {0.68f, 0.7f, 0.67f, 3.62f, 4.3f}, {0.72f, 0.69f, 0.7f, 4.14f, 4.255f},
        {0.71f, 0.71f, 0.72f, 4.17f, 4.2f}, {0.73f, 0.76f, 0.72f, 4.15f, 4.39f},
        {0.76f, 0.72f, 0.71f, 4.0f, 4.18f}, {0.75f, 0.74f, 0.76f, 4.14f, 4.125f},
    };
    for (int c = 0; c < 18; c++)
        for (int k = 0; k < 5; k++)
            carStats[c][k] = table[c][k];
}
