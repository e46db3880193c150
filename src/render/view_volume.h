// What one picture can show: the space inside the camera's view, cut off at a reach round the
// eye. Drawing code hands it to models so that parts of a large model (a whole track) that
// cannot appear in the picture are not sent at all.
#pragma once

struct ViewVolume {
    float planes[6][4]; // a x + b y + c z + d >= 0 inside, in the space models are drawn in
    float eye[3];
    float reach;        // nothing farther from the eye than this is drawn; 0: no limit
};

// The current projection times the current modelview (column-major): where a point of the
// scene lands in clip space.
void currentClipMatrix(float clip[16]);
// A point through such a matrix: its clip coordinates x, y, z, w.
void toClipSpace(const float clip[16], const float p[3], float out[4]);
// The volume of the current projection and modelview (read back from GL), for objects drawn
// with the modelview as it stands.
ViewVolume currentViewVolume(const float eye[3], float reach);
// Whether any of the box from lo to hi can lie inside the volume.
bool boxMayShow(const ViewVolume &volume, const float lo[3], const float hi[3]);
// Squared distance from `point` to the nearest point of the box from lo to hi (0 inside it).
float boxDistanceSq(const float point[3], const float lo[3], const float hi[3]);
// Grows the box from lo to hi to hold `point` (a box begun at lo 1e30, hi -1e30 holds nothing).
void growBox(const float point[3], float lo[3], float hi[3]);
