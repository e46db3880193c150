// Pictures for people: top-down plans of the circuits and a contact sheet of the cars, drawn by a
// small software rasteriser.
#pragma once
#include "mesh.h"
#include "textures.h"
#include "track.h"

struct Canvas {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    std::vector<float> depth;
    void create(int w, int h, int r, int g, int b);
    void pixel(int x, int y, int r, int g, int b);
    void triangle(float x0, float y0, float x1, float y1, float x2, float y2, int r, int g, int b);
    void line(float x0, float y0, float x1, float y1, float width, int r, int g, int b);
    void disc(float x, float y, float radius, int r, int g, int b);
    void blit(const Canvas &src, int x, int y);
    bool save(const std::string &path) const;
};

// A mesh drawn into a canvas through a simple look-at camera with textures and a head light.
struct View3 {
    Vec3 eye, target;
    float fovDegrees = 30;
    int x0 = 0, y0 = 0, w = 0, h = 0; // viewport inside the canvas
};
// model: column vectors, world = R * p + T, given as 3x3 rotation rows and a translation.
struct Placement {
    float r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t;
};
void drawMesh(Canvas &c, const View3 &view, const ModelMesh &mesh, const Placement &place);

void writeTrackPicture(const TrackDef &def, const TrackContent &t, const std::string &dir);
void writeCityPicture(const std::string &dir, const std::vector<TrackPath> &paths);
// The drawn model seen from behind the grid and from above a corner.
void writeTrackViews(const TrackDef &def, const TrackContent &t, const std::string &dir);
