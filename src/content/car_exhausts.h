// Where the tail pipes of each car model end, by model number modulo 6, in the car body's frame
// (x forward, y up, z to the right-hand side); the second pipe is the first mirrored across the
// car. The car generator ends the modelled pipes here and the exhaust fire and smoke come out here.
#pragma once

constexpr float carExhausts[6][3] = {{-3.05f, -0.30f, 0.85f},  {-3.10f, -0.33f, 0.68f},  {-3.08f, -0.30f, 0.72f},
                                     {-3.125f, -0.33f, 0.72f}, {-3.18f, -0.285f, 0.73f}, {-3.10f, -0.32f, 0.62f}};
