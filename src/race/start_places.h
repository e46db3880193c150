// Where each raced circuit's grid begins: the first car's place, the others follow every 4.5 along
// +z. The race sets its cars down here and the city generator lays a level start straight under
// each place, so both read this one table.
#pragma once

inline constexpr float kStartPlaces[7][3] = {
    {-369, -6.2f, 552}, {-436, -7.2f, 193}, {-235, -8, -273}, {-195, -7.6f, 493},
    {-59, -6.5f, 305}, {-514, -7, -247}, {-223, -6.9f, 95},
};
// Tracks that share a start place share its start straight.
//                                     track: 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15
inline constexpr int kStartOfTrack[15] = {0, 1, 2, 3, 4, 2, 5, 3, 1, 6, 2, 5, 1, 6, 4};
