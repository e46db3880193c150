#include "pictures.h"
#include "platform/png_write.h"

#include <cmath>
#include <cstdio>

void Canvas::create(int w, int h, int r, int g, int b)
{
    width = w;
    height = h;
    rgb.assign(size_t(w * h * 3), 0);
    depth.assign(size_t(w * h), 1e30f);
    for (int i = 0; i < w * h; i++) {
        rgb[size_t(i * 3)] = uint8_t(r);
        rgb[size_t(i * 3 + 1)] = uint8_t(g);
        rgb[size_t(i * 3 + 2)] = uint8_t(b);
    }
}

void Canvas::pixel(int x, int y, int r, int g, int b)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t *p = &rgb[size_t((y * width + x) * 3)];
    p[0] = uint8_t(r < 0 ? 0 : r > 255 ? 255 : r);
    p[1] = uint8_t(g < 0 ? 0 : g > 255 ? 255 : g);
    p[2] = uint8_t(b < 0 ? 0 : b > 255 ? 255 : b);
}

void Canvas::triangle(float x0, float y0, float x1, float y1, float x2, float y2, int r, int g, int b)
{
    int minX = int(std::floor(std::fmin(x0, std::fmin(x1, x2)))), maxX = int(std::ceil(std::fmax(x0, std::fmax(x1, x2))));
    int minY = int(std::floor(std::fmin(y0, std::fmin(y1, y2)))), maxY = int(std::ceil(std::fmax(y0, std::fmax(y1, y2))));
    minX = minX < 0 ? 0 : minX;
    minY = minY < 0 ? 0 : minY;
    maxX = maxX >= width ? width - 1 : maxX;
    maxY = maxY >= height ? height - 1 : maxY;
    float area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (std::fabs(area) < 1e-6f)
        return;
    for (int y = minY; y <= maxY; y++)
        for (int x = minX; x <= maxX; x++) {
            float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float w0 = ((x1 - px) * (y2 - py) - (x2 - px) * (y1 - py)) / area;
            float w1 = ((x2 - px) * (y0 - py) - (x0 - px) * (y2 - py)) / area;
            float w2 = 1 - w0 - w1;
            if (w0 >= 0 && w1 >= 0 && w2 >= 0)
                pixel(x, y, r, g, b);
        }
}

void Canvas::line(float x0, float y0, float x1, float y1, float w, int r, int g, int b)
{
    float dx = x1 - x0, dy = y1 - y0, l = std::sqrt(dx * dx + dy * dy);
    if (l < 1e-4f)
        return;
    float nx = -dy / l * w * 0.5f, ny = dx / l * w * 0.5f;
    triangle(x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, r, g, b);
    triangle(x0 + nx, y0 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny, r, g, b);
}

void Canvas::disc(float cx, float cy, float radius, int r, int g, int b)
{
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; y++)
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; x++) {
            float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            if (dx * dx + dy * dy <= radius * radius)
                pixel(x, y, r, g, b);
        }
}

void Canvas::blit(const Canvas &src, int x, int y)
{
    for (int j = 0; j < src.height; j++)
        for (int i = 0; i < src.width; i++) {
            const uint8_t *p = &src.rgb[size_t((j * src.width + i) * 3)];
            pixel(x + i, y + j, p[0], p[1], p[2]);
        }
}

bool Canvas::save(const std::string &path) const
{
    size_t slash = path.rfind('/');
    if (slash != std::string::npos)
        makeDirs(path.substr(0, slash));
    return Sys_WritePng(path.c_str(), width, height, 3, rgb.data());
}

// --- 3D -----------------------------------------------------------------------------------------

namespace {
struct ClipVertex {
    Vec3 cam; // x right, y up, z forward
    Vec3 n;
    float s, t;
};
ClipVertex lerpClip(const ClipVertex &a, const ClipVertex &b, float u)
{
    return ClipVertex{a.cam + (b.cam - a.cam) * u, a.n + (b.n - a.n) * u, a.s + (b.s - a.s) * u, a.t + (b.t - a.t) * u};
}
} // namespace

void drawMesh(Canvas &c, const View3 &view, const ModelMesh &mesh, const Placement &pl)
{
    Vec3 fwd = normalize(view.target - view.eye);
    Vec3 right = normalize(cross(fwd, v3(0, 1, 0)));
    Vec3 up = cross(right, fwd);
    float f = 1.0f / std::tan(view.fovDegrees * 3.14159265f / 360.0f);
    Vec3 lightDir = normalize(v3(-0.4f, 0.8f, 0.45f));
    const float nearZ = 0.1f;
    auto toWorld = [&](Vec3 p) {
        return v3(pl.r[0][0] * p.x + pl.r[0][1] * p.y + pl.r[0][2] * p.z + pl.t.x,
                  pl.r[1][0] * p.x + pl.r[1][1] * p.y + pl.r[1][2] * p.z + pl.t.y,
                  pl.r[2][0] * p.x + pl.r[2][1] * p.y + pl.r[2][2] * p.z + pl.t.z);
    };
    auto rotate = [&](Vec3 n) {
        return v3(pl.r[0][0] * n.x + pl.r[0][1] * n.y + pl.r[0][2] * n.z,
                  pl.r[1][0] * n.x + pl.r[1][1] * n.y + pl.r[1][2] * n.z,
                  pl.r[2][0] * n.x + pl.r[2][1] * n.y + pl.r[2][2] * n.z);
    };
    for (const MeshTriangle &t : mesh.triangles) {
        const MeshMaterial &mat = mesh.materials[size_t(t.material)];
        bool glows = mat.emissive[0] + mat.emissive[1] + mat.emissive[2] > 0.5f;
        const Image *img = nullptr;
        if (!mat.texture.empty()) {
            std::string name = mat.texture;
            size_t slash = name.rfind('/');
            size_t dot = name.rfind('.');
            name = name.substr(slash + 1, dot - slash - 1);
            auto it = worldTextures.find(name);
            if (it != worldTextures.end())
                img = &it->second;
        }
        ClipVertex in[3];
        for (int k = 0; k < 3; k++) {
            Vec3 d = toWorld(mesh.vertices[size_t(t.v[k])]) - view.eye;
            in[k] = ClipVertex{v3(dot(d, right), dot(d, up), dot(d, fwd)), normalize(rotate(t.n[k])), t.uv[k].s, t.uv[k].t};
        }
        // Clip against the near plane: what stays is a triangle or a quad.
        ClipVertex poly[4];
        int np = 0;
        for (int k = 0; k < 3; k++) {
            const ClipVertex &a = in[k], &b = in[(k + 1) % 3];
            bool ain = a.cam.z >= nearZ, bin = b.cam.z >= nearZ;
            if (ain)
                poly[np++] = a;
            if (ain != bin)
                poly[np++] = lerpClip(a, b, (nearZ - a.cam.z) / (b.cam.z - a.cam.z));
        }
        for (int tri = 0; tri + 2 < np; tri++) {
            const ClipVertex *v[3] = {&poly[0], &poly[tri + 1], &poly[tri + 2]};
            float sx[3], sy[3], sz[3];
            for (int k = 0; k < 3; k++) {
                sz[k] = v[k]->cam.z;
                sx[k] = float(view.x0) + float(view.w) * 0.5f + v[k]->cam.x / sz[k] * f * float(view.h) * 0.5f;
                sy[k] = float(view.y0) + float(view.h) * 0.5f - v[k]->cam.y / sz[k] * f * float(view.h) * 0.5f;
            }
            float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
            if (std::fabs(area) < 1e-6f)
                continue;
            int minX = int(std::fmax(float(view.x0), std::floor(std::fmin(sx[0], std::fmin(sx[1], sx[2])))));
            int maxX = int(std::fmin(float(view.x0 + view.w - 1), std::ceil(std::fmax(sx[0], std::fmax(sx[1], sx[2])))));
            int minY = int(std::fmax(float(view.y0), std::floor(std::fmin(sy[0], std::fmin(sy[1], sy[2])))));
            int maxY = int(std::fmin(float(view.y0 + view.h - 1), std::ceil(std::fmax(sy[0], std::fmax(sy[1], sy[2])))));
            for (int y = minY; y <= maxY; y++)
                for (int x = minX; x <= maxX; x++) {
                    float px = float(x) + 0.5f, py = float(y) + 0.5f;
                    float w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                    float w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                    float w2 = 1 - w0 - w1;
                    if (w0 < 0 || w1 < 0 || w2 < 0)
                        continue;
                    // Perspective-correct interpolation.
                    float z = 1.0f / (w0 / sz[0] + w1 / sz[1] + w2 / sz[2]);
                    float &dst = c.depth[size_t(y * c.width + x)];
                    if (z >= dst)
                        continue;
                    dst = z;
                    float a0 = w0 / sz[0] * z, a1 = w1 / sz[1] * z, a2 = w2 / sz[2] * z;
                    float col[3] = {mat.diffuse[0] * 200, mat.diffuse[1] * 200, mat.diffuse[2] * 200};
                    if (img) {
                        float s = a0 * v[0]->s + a1 * v[1]->s + a2 * v[2]->s;
                        float tt = a0 * v[0]->t + a1 * v[1]->t + a2 * v[2]->t;
                        int ix = int((s - std::floor(s)) * float(img->width)) % img->width;
                        int iy = int((tt - std::floor(tt)) * float(img->height)) % img->height;
                        const uint8_t *p = img->at(ix, iy);
                        col[0] = p[0];
                        col[1] = p[1];
                        col[2] = p[2];
                    }
                    Vec3 n = normalize(v[0]->n * a0 + v[1]->n * a1 + v[2]->n * a2);
                    // One-sided light, as the game's shader would see a face turned the wrong way.
                    float lit = 0.35f + 0.75f * std::fmax(0.0f, dot(n, lightDir)) + 0.2f * std::fabs(dot(n, lightDir));
                    if (glows)
                        lit = 1.0f; // lamps shine whatever the light
                    c.pixel(x, y, int(col[0] * lit), int(col[1] * lit), int(col[2] * lit));
                }
        }
    }
}

// --- plans ----------------------------------------------------------------------------------------

namespace {
struct Plan {
    float x0, z0, scale;
    float px(float x) const { return (x - x0) * scale; }
    float py(float z) const { return (z - z0) * scale; }
};
} // namespace

void writeTrackPicture(const TrackDef &def, const TrackContent &t, const std::string &dir)
{
    float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
    for (const PathSample &s : t.path.samples) {
        x0 = std::fmin(x0, s.p.x);
        x1 = std::fmax(x1, s.p.x);
        z0 = std::fmin(z0, s.p.z);
        z1 = std::fmax(z1, s.p.z);
    }
    x0 -= 60;
    z0 -= 60;
    x1 += 60;
    z1 += 60;
    float scale = 1000.0f / std::fmax(x1 - x0, z1 - z0);
    Plan pl{x0, z0, scale};
    Canvas c;
    c.create(int((x1 - x0) * scale) + 1, int((z1 - z0) * scale) + 1, 14, 16, 24);
    // The city's other streets, faint.
    for (const Street &st : streets)
        for (size_t i = 0; i + 1 < st.points.size(); i++)
            c.line(pl.px(st.points[i].x), pl.py(st.points[i].z), pl.px(st.points[i + 1].x), pl.py(st.points[i + 1].z),
                   st.halfWidth * 2 * scale, 28, 30, 40);
    for (const auto &b : t.buildings) {
        c.triangle(pl.px(b.c[0].x), pl.py(b.c[0].z), pl.px(b.c[1].x), pl.py(b.c[1].z), pl.px(b.c[2].x), pl.py(b.c[2].z), 45, 52, 80);
        c.triangle(pl.px(b.c[0].x), pl.py(b.c[0].z), pl.px(b.c[2].x), pl.py(b.c[2].z), pl.px(b.c[3].x), pl.py(b.c[3].z), 45, 52, 80);
    }
    // Collision: floor in grey, walls in red (top-down, so walls show by their top faces).
    for (const MeshTriangle &tr : t.collision.triangles) {
        Vec3 a = t.collision.vertices[size_t(tr.v[0])], b = t.collision.vertices[size_t(tr.v[1])],
             d = t.collision.vertices[size_t(tr.v[2])];
        bool wall = a.y > t.start.y - 0.5f && b.y > t.start.y - 0.5f && d.y > t.start.y - 0.5f &&
                    std::fabs(normalize(cross(b - a, d - a)).y) > 0.9f;
        bool floor = std::fabs(normalize(cross(b - a, d - a)).y) > 0.9f && !wall;
        if (floor)
            c.triangle(pl.px(a.x), pl.py(a.z), pl.px(b.x), pl.py(b.z), pl.px(d.x), pl.py(d.z), 80, 80, 86);
    }
    for (const MeshTriangle &tr : t.collision.triangles) {
        Vec3 a = t.collision.vertices[size_t(tr.v[0])], b = t.collision.vertices[size_t(tr.v[1])],
             d = t.collision.vertices[size_t(tr.v[2])];
        float top = groundHeight(a.x, a.z) + 1.5f;
        if (a.y > top && b.y > top && d.y > top)
            c.triangle(pl.px(a.x), pl.py(a.z), pl.px(b.x), pl.py(b.z), pl.px(d.x), pl.py(d.z), 220, 50, 50);
    }
    // Waypoints joined in order, waypoint 0 larger.
    for (size_t i = 0; i < t.waypoints.size(); i++) {
        const Waypoint3 &a = t.waypoints[i], &b = t.waypoints[(i + 1) % t.waypoints.size()];
        c.line(pl.px(float(a.x)), pl.py(float(a.z)), pl.px(float(b.x)), pl.py(float(b.z)), 1.2f, 60, 200, 230);
    }
    for (size_t i = 0; i < t.waypoints.size(); i++)
        c.disc(pl.px(float(t.waypoints[i].x)), pl.py(float(t.waypoints[i].z)), i == 0 ? 5.0f : 2.2f, 60, 220, 255);
    for (size_t i = 0; i < t.lampPositions.size(); i++) {
        Vec3 col = t.lampColours[i];
        c.disc(pl.px(t.lampPositions[i].x), pl.py(t.lampPositions[i].z), 3.0f, int(col.x * 255), int(col.y * 255),
               int(col.z * 255));
    }
    // Grid: four car outlines (6 x 2.6) facing +x.
    for (int k = 0; k < 4; k++) {
        float cx = def.startX, cz = def.startZ + 4.5f * float(k);
        c.line(pl.px(cx - 3), pl.py(cz), pl.px(cx + 3), pl.py(cz), 2.6f * scale, k == 0 ? 80 : 240,
               k == 0 ? 255 : 240, k == 0 ? 80 : 240);
    }
    char name[64];
    std::snprintf(name, sizeof name, "/track_%02d.png", def.number);
    c.save(dir + name);
}

void writeCityPicture(const std::string &dir, const std::vector<TrackPath> &paths)
{
    float x0 = -720, z0 = -480, x1 = 110, z1 = 780;
    float scale = 900.0f / (z1 - z0);
    Plan pl{x0, z0, scale};
    Canvas c;
    c.create(int((x1 - x0) * scale), int((z1 - z0) * scale), 14, 16, 24);
    for (const Street &st : streets)
        for (size_t i = 0; i + 1 < st.points.size(); i++)
            c.line(pl.px(st.points[i].x), pl.py(st.points[i].z), pl.px(st.points[i + 1].x), pl.py(st.points[i + 1].z),
                   st.halfWidth * 2 * scale, 90, 90, 100);
    // Every circuit's centre line, each in its own colour.
    for (size_t i = 0; i < paths.size(); i++) {
        int r = 80 + int(hashNoise(uint32_t(i), 1) * 175), g = 80 + int(hashNoise(uint32_t(i), 2) * 175),
            b = 80 + int(hashNoise(uint32_t(i), 3) * 175);
        const auto &sm = paths[i].samples;
        for (size_t k = 0; k < sm.size(); k++) {
            const PathSample &a = sm[k], &e = sm[(k + 1) % sm.size()];
            float off = (float(i) - 10.0f) * 0.9f; // side by side where they share a street
            c.line(pl.px(a.p.x + rightOf(a.t).x * off), pl.py(a.p.z + rightOf(a.t).z * off),
                   pl.px(e.p.x + rightOf(e.t).x * off), pl.py(e.p.z + rightOf(e.t).z * off), 1.5f, r, g, b);
        }
    }
    for (const TrackDef &d : trackDefs)
        for (int k = 0; k < 4; k++)
            c.disc(pl.px(d.startX), pl.py(d.startZ + 4.5f * float(k)), 2.0f, d.number <= 15 ? 80 : 250, 250, 80);
    c.save(dir + "/city.png");
}

void writeTrackViews(const TrackDef &def, const TrackContent &t, const std::string &dir)
{
    Canvas c;
    const int w = 800, h = 450;
    c.create(w, h * 3, 10, 12, 22);
    View3 v;
    v.fovDegrees = 60;
    v.w = w;
    v.h = h;
    // A chase view behind the first grid slot, as the race camera sees it.
    v.eye = v3(t.start.x - 7, t.start.y + 1.5f, t.start.z);
    v.target = v3(t.start.x + 20, t.start.y + 0.5f, t.start.z + 2);
    drawMesh(c, v, t.visual, Placement{});
    // High above the first corner after the start, looking back at the grid.
    PathSample q = t.path.at(t.path.startLineS + 140);
    v.y0 = h;
    v.eye = v3(q.p.x - q.t.x * 30 + q.t.z * 6, groundHeight(q.p.x, q.p.z) + 5, q.p.z - q.t.z * 30 - q.t.x * 6);
    v.target = v3(q.p.x, groundHeight(q.p.x, q.p.z) + 2, q.p.z);
    drawMesh(c, v, t.visual, Placement{});
    // Into the first closed-off side street, from the far side of the circuit.
    if (!t.path.sideStreets.empty()) {
        const Crossing &x = t.path.sideStreets[t.path.sideStreets.size() / 2];
        float sAt = 0;
        t.path.distanceTo(x.node, &sAt);
        PathSample q = t.path.at(sAt);
        float y = groundHeight(q.p.x, q.p.z);
        v.y0 = 2 * h;
        v.eye = v3(x.node.x - x.dir.x * (q.hw - 2) - q.t.x * 12, y + 2.0f, x.node.z - x.dir.z * (q.hw - 2) - q.t.z * 12);
        v.target = v3(x.node.x + x.dir.x * 30, y + 1.0f, x.node.z + x.dir.z * 30);
        drawMesh(c, v, t.visual, Placement{});
    }
    char name[64];
    std::snprintf(name, sizeof name, "/view_%02d.png", def.number);
    c.save(dir + name);
}
