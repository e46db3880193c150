// The night city: its streets, the ground height, and the twenty circuits drawn through it as
// filleted centre lines.
#pragma once
#include <string>
#include <vector>

struct V2 {
    float x = 0, z = 0;
};
inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.z + b.z}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.z - b.z}; }
inline V2 operator*(V2 a, float s) { return {a.x * s, a.z * s}; }
float len2(V2 a);
V2 norm2(V2 a);
inline V2 rightOf(V2 t) { return {-t.z, t.x}; } // a driver heading +x has +z on the right

struct Street {
    std::string name;
    float halfWidth;
    int lampStyle; // 0 sodium, 1 cool white
    std::vector<V2> points;
};
extern std::vector<Street> streets;

struct TrackDef {
    int number;
    float startX, startY, startZ; // the first car's place; the others follow every 4.5 along +z
    const char *route;             // corner nodes in driving order, "c8:15" gives a corner radius
};
extern const TrackDef trackDefs[20];

void initCity();
float groundHeight(float x, float z);
V2 cityNode(const std::string &name);

struct PathSample {
    V2 p;
    V2 t;          // unit tangent
    float s;       // arc length from the first sample
    float hw;      // road half width
    float radius;  // corner radius, 0 on straights
    int street;    // street index of the segment (or the corner's incoming street)
};

struct Crossing {       // a street leaving the circuit at one of its nodes
    V2 node;
    V2 dir;             // along the side street, away from the node
    float halfWidth;
    int street;
};

struct TrackPath {
    std::vector<PathSample> samples; // closed loop: the last joins the first
    float length = 0;
    float startLineS = 0; // arc length of the start line
    std::vector<V2> corners;
    std::vector<Crossing> sideStreets;
    std::string error;

    PathSample at(float s) const; // interpolated, s taken modulo the length
    float distanceTo(V2 p, float *sAt = nullptr) const; // to the centre line
};

bool buildTrackPath(const TrackDef &def, TrackPath &out);
float trackStartY(const TrackDef &def);
