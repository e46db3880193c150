// The car table as data, so the race (through fillCarStats) and the car generator, which puts the
// wheels where the race's drawing will, read the same rows.
#pragma once

// One row a car: power, top speed, suspension, front and rear axle distance.
inline constexpr float kCarTable[18][5] = {
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
// A wheel is drawn this far from the body's centre per unit of the table's axle distance.
inline constexpr float kAxleScale = 0.77f / 1.67f;
