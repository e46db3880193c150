#include "cars.h"
#include "pictures.h"
#include "textures.h"
#include "race/car_table.h" // the wheels go where the race draws them

#include <algorithm>
#include <cmath>
#include <cstdio>

// Exhaust pipe ends by model number modulo 6, in the body's frame.
static const float kExhaust[6][3] = {{-3.05f, -0.30f, 0.85f}, {-3.10f, -0.33f, 0.68f}, {-3.08f, -0.30f, 0.72f},
                                     {-3.125f, -0.33f, 0.72f}, {-3.18f, -0.285f, 0.73f}, {-3.10f, -0.32f, 0.62f}};
static const float kLift = 0.15f;     // the body model is drawn this much above the body origin
static const float kHubY = -0.37f;    // wheel centre below the body origin at rest
static const float kWheelRadius = 0.45f;

const CarDesign carDesigns[12] = {
    // kind         paint             trim            liv hood   roof  deck  screen roofF roofB boot  roofHalf spoiler rim
    {"coupe",     {200, 30, 35},   {240, 240, 240}, 1, 0.02f, 0.50f, 0.05f, 1.10f, 0.25f, -0.95f, -1.75f, 0.92f, false, 0},
    {"hatchback", {40, 110, 210},  {250, 250, 250}, 2, 0.05f, 0.62f, 0.20f, 1.30f, 0.50f, -2.20f, -2.65f, 0.98f, false, 1},
    {"saloon",    {30, 34, 40},    {200, 170, 60},  4, 0.05f, 0.60f, 0.10f, 1.35f, 0.55f, -1.05f, -1.90f, 0.98f, false, 2},
    {"muscle",    {240, 160, 20},  {20, 20, 20},    1, 0.15f, 0.58f, 0.10f, 0.75f, -0.05f, -1.20f, -1.85f, 0.95f, true, 3},
    {"sports",    {230, 230, 235}, {30, 80, 220},   5, 0.03f, 0.40f, 0.00f, 0.90f, 0.00f, -0.90f, -1.60f, 0.88f, true, 4},
    {"coupe",     {30, 140, 70},   {230, 200, 60},  2, 0.02f, 0.52f, 0.05f, 1.05f, 0.20f, -1.00f, -1.80f, 0.92f, false, 5},
    {"hatchback", {250, 210, 40},  {30, 30, 30},    3, 0.06f, 0.64f, 0.22f, 1.30f, 0.45f, -2.20f, -2.65f, 0.98f, false, 0},
    {"saloon",    {120, 125, 135}, {200, 40, 40},   2, 0.05f, 0.60f, 0.12f, 1.30f, 0.50f, -1.05f, -1.90f, 1.00f, false, 3},
    {"muscle",    {110, 20, 150},  {250, 250, 250}, 1, 0.16f, 0.60f, 0.12f, 0.80f, -0.05f, -1.25f, -1.90f, 0.96f, true, 1},
    {"sports",    {240, 90, 20},   {20, 20, 20},    4, 0.02f, 0.38f, -0.02f, 0.85f, -0.05f, -0.85f, -1.55f, 0.86f, true, 2},
    {"coupe",     {20, 40, 110},   {90, 200, 255},  5, 0.02f, 0.48f, 0.04f, 1.05f, 0.15f, -0.95f, -1.70f, 0.90f, true, 4},
    {"sports",    {180, 10, 20},   {250, 210, 60},  3, 0.03f, 0.40f, 0.00f, 0.90f, 0.00f, -0.95f, -1.65f, 0.88f, true, 5},
};

static float frontAxle(int m) { return kCarTable[m][3] * kAxleScale; }
static float rearAxle(int m) { return -kCarTable[m][4] * kAxleScale; }

static std::string carTexName(int m)
{
    char b[16];
    std::snprintf(b, sizeof b, "car%02d", m + 1);
    return b;
}
static std::string rimTexName(int m)
{
    char b[16];
    std::snprintf(b, sizeof b, "rim%02d", m + 1);
    return b;
}

// Texture atlas of a car (t down from the top): side paint in the top half, the top view at the
// bottom left, then glass, nose, tail and the dark underside in the bottom right quarters.
static void paintCar(int m)
{
    const CarDesign &d = carDesigns[m];
    Image img;
    img.create(256, 256, 0, 0, 0);
    auto shade = [&](int x, int y, const int *c, float f) {
        float n = hashNoise(uint32_t(x), uint32_t(y), uint32_t(300 + m)) * 0.04f;
        img.set(x, y, int(float(c[0]) * (f + n)), int(float(c[1]) * (f + n)), int(float(c[2]) * (f + n)));
    };
    // Side: y 0..127 maps heights 0.9 (top) .. -0.8 (bottom); x 0..255 maps x = 3 .. -3.
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 256; x++) {
            float h = 0.9f - 1.7f * float(y) / 127.0f;
            float f = 0.85f + 0.25f * (h + 0.8f) / 1.7f;
            const int *c = d.paint;
            if (d.livery == 2 && h > -0.35f && h < -0.2f)
                c = d.trim;
            if (d.livery == 3 && h < -0.3f)
                c = d.trim;
            if (d.livery == 4 && ((h > -0.08f && h < -0.05f) || (h > -0.02f && h < 0.01f)))
                c = d.trim;
            if (d.livery == 5) {
                float cx = 128 - 0.0f, cy = 76;
                float dx = float(x) - cx, dy = (float(y) - cy) * 1.6f;
                if (dx * dx + dy * dy < 18 * 18 && dx * dx + dy * dy > 12 * 12)
                    c = d.trim;
            }
            shade(x, y, c, f);
            if (h < -0.6f)
                shade(x, y, c, 0.5f); // sill shadow
        }
    // Door shut lines.
    for (int y = 40; y < 110; y++) {
        img.set(100, y, 15, 15, 15);
        img.set(150, y, 15, 15, 15);
    }
    // Top view: y 128..255 maps z = 1.3 .. -1.3, x maps x = 3 .. -3 over 0..127.
    for (int y = 128; y < 256; y++)
        for (int x = 0; x < 128; x++) {
            float z = 1.3f - 2.6f * float(y - 128) / 127.0f;
            const int *c = d.paint;
            if (d.livery == 1 && std::fabs(std::fabs(z) - 0.25f) < 0.12f)
                c = d.trim;
            if (d.livery == 5 && std::fabs(z) < 0.18f)
                c = d.trim;
            shade(x, y, c, 1.0f);
        }
    // Glass: dark blue with a pale streak.
    for (int y = 128; y < 192; y++)
        for (int x = 128; x < 192; x++) {
            int g = (y - 128) / 3 + (x - 128) / 8;
            img.set(x, y, 16 + g, 24 + g, 40 + g + (y - 128) / 4);
        }
    // Nose: grille between two headlights; x maps z = -1.2 .. 1.2, y maps height top..bottom.
    for (int y = 128; y < 192; y++)
        for (int x = 192; x < 256; x++) {
            float z = -1.2f + 2.4f * float(x - 192) / 63.0f;
            float h = float(y - 128) / 63.0f; // 0 top .. 1 bottom
            bool lamp = std::fabs(std::fabs(z) - 0.8f) < 0.25f && h > 0.35f && h < 0.6f;
            bool grille = std::fabs(z) < 0.5f && h > 0.45f && h < 0.75f;
            if (lamp)
                img.set(x, y, 250, 250, 225);
            else if (grille)
                img.set(x, y, ((x + y) % 3 == 0) ? 60 : 20, 20, 22);
            else
                shade(x, y, d.paint, 0.9f);
        }
    // Tail: red lamps and a dark number plate.
    for (int y = 192; y < 256; y++)
        for (int x = 192; x < 256; x++) {
            float z = -1.2f + 2.4f * float(x - 192) / 63.0f;
            float h = float(y - 192) / 63.0f;
            bool lamp = std::fabs(z) > 0.55f && std::fabs(z) < 1.1f && h > 0.3f && h < 0.5f;
            bool plate = std::fabs(z) < 0.35f && h > 0.55f && h < 0.75f;
            if (lamp)
                img.set(x, y, 230, 20, 20);
            else if (plate)
                img.set(x, y, 220, 220, 200);
            else
                shade(x, y, d.paint, 0.8f);
        }
    // Underside and wheel wells.
    img.fillRect(128, 192, 192, 256, 14, 14, 16);
    worldTextures[carTexName(m)] = img;

    // Wheel: tread on the left half, the rim face on the right.
    Image w;
    w.create(128, 128, 20, 20, 22);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 64; x++)
            if ((y / 4 + (x / 8)) % 2 == 0)
                w.set(x, y, 34, 34, 36);
    int spokes = 5 + d.rimStyle % 4;
    for (int y = 0; y < 128; y++)
        for (int x = 64; x < 128; x++) {
            float dx = float(x) - 96, dy = float(y) - 64;
            float r = std::sqrt(dx * dx + dy * dy) / 31.0f;
            float a = std::atan2(dy, dx);
            if (r > 1.0f)
                continue;
            if (r > 0.72f) {
                w.set(x, y, 26, 26, 28); // tyre wall
                continue;
            }
            bool spoke = std::fabs(std::sin(a * float(spokes) * 0.5f)) < (d.rimStyle % 2 ? 0.22f : 0.4f);
            bool lip = r > 0.64f;
            bool hub = r < 0.18f;
            int base = d.rimStyle == 3 ? 40 : 170;
            if (lip || hub || spoke)
                w.set(x, y, base + 40, base + 42, base + 48);
            else
                w.set(x, y, 30, 30, 34);
        }
    worldTextures[rimTexName(m)] = w;
}

void paintCarTextures()
{
    for (int m = 0; m < 12; m++)
        paintCar(m);
}

// --- body -----------------------------------------------------------------------------------------

namespace {
struct Station {
    float x, yb, yArch, belt, top, wTop;
    bool cabin;
};
} // namespace

static float lerpProfile(const float (*pts)[2], int n, float x)
{
    // pts ordered by decreasing x
    if (x >= pts[0][0])
        return pts[0][1];
    for (int i = 0; i + 1 < n; i++)
        if (x >= pts[i + 1][0]) {
            float u = (x - pts[i + 1][0]) / (pts[i][0] - pts[i + 1][0]);
            return pts[i + 1][1] + (pts[i][1] - pts[i + 1][1]) * u;
        }
    return pts[n - 1][1];
}

ModelMesh buildCarBody(int m)
{
    const CarDesign &d = carDesigns[m];
    ModelMesh mesh;
    int paint = mesh.material("paint", worldTexturePath(carTexName(m)));
    const float W = 1.2f, yb = -0.72f, wb = 0.74f;
    const float hubModel = kHubY - kLift;
    float xf = frontAxle(m), xr = rearAxle(m);
    float nose = d.hood - 0.28f, tail = d.deck - 0.22f;
    const float topProfile[8][2] = {{3.0f, nose},          {2.8f, d.hood - 0.06f}, {d.screen, d.hood},
                                    {d.roofFront, d.roof}, {d.roofBack, d.roof},   {d.bootStart, d.deck},
                                    {-2.85f, d.deck},      {-3.0f, tail}};
    std::vector<float> xs = {3.0f, 2.8f, 2.5f};
    for (float a : {xf, xr})
        for (float dx : {0.62f, 0.5f, 0.35f, 0.18f, 0.0f, -0.18f, -0.35f, -0.5f, -0.62f})
            xs.push_back(a + dx);
    for (float x : {d.screen, d.roofFront, (d.roofFront + d.roofBack) * 0.5f, d.roofBack, d.bootStart, 0.0f, -2.5f,
                    -2.85f, -3.0f})
        xs.push_back(x);
    std::sort(xs.begin(), xs.end(), [](float a, float b) { return a > b; });
    std::vector<Station> st;
    for (float x : xs) {
        if (!st.empty() && st.back().x - x < 0.03f)
            continue;
        Station s;
        s.x = x;
        float endTaper = std::fmax(0.0f, std::fabs(x) - 2.7f) * 0.6f;
        s.yb = yb + endTaper;
        s.yArch = s.yb;
        for (float a : {xf, xr}) {
            float dx = x - a;
            if (std::fabs(dx) < 0.6f)
                s.yArch = std::fmax(s.yArch, hubModel + std::sqrt(0.6f * 0.6f - dx * dx));
        }
        s.top = lerpProfile(topProfile, 8, x);
        bool cabinX = x < d.screen && x > d.bootStart;
        float beltAt = cabinX ? std::fmin(s.top, d.hood + (d.deck - d.hood) * (d.screen - x) / (d.screen - d.bootStart))
                              : s.top - 0.04f;
        s.yArch = std::fmin(s.yArch, beltAt - 0.07f); // the wing stays a wing above the wheel
        bool cabin = x < d.screen && x > d.bootStart;
        float beltLine = d.hood + (d.deck - d.hood) * (d.screen - x) / (d.screen - d.bootStart);
        s.belt = cabin ? std::fmin(s.top, beltLine) : s.top - 0.04f;
        s.cabin = cabin && s.top > s.belt + 0.05f;
        s.wTop = s.cabin ? d.roofHalf : W - 0.08f;
        st.push_back(s);
    }
    auto sideUv = [](float x, float y) { return Uv{0.02f + 0.96f * (3.0f - x) / 6.0f, 0.02f + 0.46f * (0.9f - y) / 1.7f}; };
    auto topUv = [](float x, float z) { return Uv{0.02f + 0.46f * (3.0f - x) / 6.0f, 0.52f + 0.46f * (1.3f - z) / 2.6f}; };
    auto glassUv = [](float a, float b) { return Uv{0.52f + 0.21f * a, 0.52f + 0.21f * b}; };
    // Section points, right half (z >= 0) from the bottom centre to the top centre.
    auto section = [&](const Station &s, int k, float sign) {
        float z, y;
        float W2 = W - std::fmax(0.0f, std::fabs(s.x) - 2.75f) * 0.5f;
        switch (k) {
        case 0: z = 0; y = s.yb; break;
        case 1: z = wb; y = s.yb; break;
        case 2: z = wb; y = s.yArch; break;
        case 3: z = W2; y = s.yArch + 0.04f; break;
        case 4: z = W2; y = s.belt; break;
        case 5: z = std::fmin(s.wTop, W2 - 0.08f); y = s.top; break;
        default: z = 0; y = s.top + (s.cabin ? 0.03f : 0.02f); break;
        }
        return v3(s.x, y, z * sign);
    };
    for (size_t i = 0; i + 1 < st.size(); i++) {
        const Station &a = st[i], &b = st[i + 1];
        for (float sign : {1.0f, -1.0f})
            for (int k = 0; k < 6; k++) {
                Vec3 p0 = section(a, k, sign), p1 = section(a, k + 1, sign), p2 = section(b, k + 1, sign),
                     p3 = section(b, k, sign);
                Uv t0, t1, t2, t3;
                if (k == 0 || k == 1) {
                    t0 = t1 = t2 = t3 = Uv{0.6f, 0.85f}; // underside, dark
                } else if (k == 2 || k == 3) {
                    t0 = sideUv(p0.x, p0.y);
                    t1 = sideUv(p1.x, p1.y);
                    t2 = sideUv(p2.x, p2.y);
                    t3 = sideUv(p3.x, p3.y);
                } else if (k == 4 && a.cabin && b.cabin) {
                    t0 = glassUv(0.1f, 0.9f);
                    t1 = glassUv(0.1f, 0.1f);
                    t2 = glassUv(0.9f, 0.1f);
                    t3 = glassUv(0.9f, 0.9f);
                } else if (k == 5 && ((a.x <= d.screen + 0.01f && b.x >= d.roofFront - 0.01f) ||
                                      (a.x <= d.roofBack + 0.01f && b.x >= d.bootStart - 0.01f))) {
                    t0 = glassUv(0.2f, 0.8f);
                    t1 = glassUv(0.8f, 0.8f);
                    t2 = glassUv(0.8f, 0.2f);
                    t3 = glassUv(0.2f, 0.2f);
                } else {
                    t0 = topUv(p0.x, p0.z);
                    t1 = topUv(p1.x, p1.z);
                    t2 = topUv(p2.x, p2.z);
                    t3 = topUv(p3.x, p3.z);
                }
                mesh.quad(paint, p0, p1, p2, p3, t0, t1, t2, t3);
            }
    }
    // Nose and tail caps.
    for (int end = 0; end < 2; end++) {
        const Station &s = end == 0 ? st.front() : st.back();
        float h0 = s.top + 0.03f, h1 = s.yb;
        auto capUv = [&](Vec3 p) {
            float u = (p.z + 1.2f) / 2.4f, v = (h0 - p.y) / (h0 - h1);
            return end == 0 ? Uv{0.77f + 0.21f * (1 - u), 0.52f + 0.21f * v} : Uv{0.77f + 0.21f * u, 0.77f + 0.21f * v};
        };
        for (float sign : {1.0f, -1.0f})
            for (int k = 0; k < 6; k++) {
                Vec3 c = v3(s.x, (h0 + h1) * 0.5f, 0);
                Vec3 p0 = section(s, k, sign), p1 = section(s, k + 1, sign);
                mesh.tri(paint, c, p0, p1, capUv(c), capUv(p0), capUv(p1));
            }
    }
    // Muscle cars wear a scoop on the bonnet; saloons and hatchbacks a roof antenna stub.
    std::string kind = d.kind;
    if (kind == "muscle")
        mesh.box(paint, v3(1.55f, d.hood - 0.01f, 0), v3(1, 0, 0), 0.45f, 0.32f, 0.14f, 1.0f);
    if (kind == "saloon" || kind == "hatchback")
        mesh.box(paint, v3(d.roofBack + 0.25f, d.roof + 0.02f, 0), v3(1, 0, 0), 0.12f, 0.05f, 0.1f, 1.0f);
    // Door mirrors.
    for (float sign : {1.0f, -1.0f})
        mesh.box(paint, v3(d.screen - 0.15f, d.hood + 0.12f, sign * 1.16f), v3(1, 0, 0), 0.09f, 0.07f, 0.13f, 1.0f);
    // Rear wing on two struts.
    if (d.spoiler) {
        float x = -2.75f, y = d.deck + 0.28f;
        mesh.box(paint, v3(x, d.deck, 0.6f), v3(1, 0, 0), 0.06f, 0.05f, 0.28f, 1.0f);
        mesh.box(paint, v3(x, d.deck, -0.6f), v3(1, 0, 0), 0.06f, 0.05f, 0.28f, 1.0f);
        Vec3 a = v3(x + 0.25f, y, -1.05f), b = v3(x - 0.2f, y + 0.08f, -1.05f);
        Vec3 c = v3(x - 0.2f, y + 0.08f, 1.05f), e = v3(x + 0.25f, y, 1.05f);
        mesh.quad(paint, a, b, c, e, topUv(a.x, a.z), topUv(b.x, b.z), topUv(c.x, c.z), topUv(e.x, e.z));
        mesh.quad(paint, e, c, b, a, topUv(e.x, e.z), topUv(c.x, c.z), topUv(b.x, b.z), topUv(a.x, a.z));
    }
    // Tail pipes ending at the exhaust points.
    const float *ex = kExhaust[m % 6];
    for (float sign : {1.0f, -1.0f}) {
        float y = ex[1] - kLift, z = ex[2] * sign;
        const int seg = 8;
        for (int k = 0; k < seg; k++) {
            float a0 = float(k) / seg * 6.2831853f, a1 = float(k + 1) / seg * 6.2831853f;
            Vec3 p0 = v3(-2.9f, y + 0.08f * std::cos(a0), z + 0.08f * std::sin(a0));
            Vec3 p1 = v3(-2.9f, y + 0.08f * std::cos(a1), z + 0.08f * std::sin(a1));
            Vec3 q0 = v3(ex[0], p0.y, p0.z), q1 = v3(ex[0], p1.y, p1.z);
            mesh.quad(paint, p0, p1, q1, q0, Uv{0.8f, 0.4f}, Uv{0.8f, 0.4f}, Uv{0.8f, 0.45f}, Uv{0.8f, 0.45f});
            mesh.tri(paint, v3(ex[0] + 0.01f, y, z), q1, q0, Uv{0.6f, 0.85f}, Uv{0.6f, 0.85f}, Uv{0.6f, 0.85f});
        }
    }
    mesh.orientFaces([](Vec3 c, Vec3) { return c - v3(0, -0.1f, 0); });
    mesh.smoothNormals(35);
    return mesh;
}

ModelMesh buildCarWheel(int m)
{
    ModelMesh mesh;
    int mat = mesh.material("wheel", worldTexturePath(rimTexName(m)));
    const int seg = 18;
    const float r = kWheelRadius, rIn = r * 0.72f, halfW = 0.2f;
    for (int k = 0; k < seg; k++) {
        float a0 = float(k) / seg * 6.2831853f, a1 = float(k + 1) / seg * 6.2831853f;
        Vec3 o0 = v3(r * std::cos(a0), r * std::sin(a0), 0), o1 = v3(r * std::cos(a1), r * std::sin(a1), 0);
        Vec3 i0 = v3(rIn * std::cos(a0), rIn * std::sin(a0), 0), i1 = v3(rIn * std::cos(a1), rIn * std::sin(a1), 0);
        Vec3 out = v3(0, 0, halfW), in = v3(0, 0, -halfW);
        float v0 = float(k) / seg, v1 = float(k + 1) / seg;
        // Tread.
        mesh.quad(mat, o0 + in, o1 + in, o1 + out, o0 + out, Uv{0.02f, v0}, Uv{0.02f, v1}, Uv{0.48f, v1}, Uv{0.48f, v0});
        // Outer face: the rim picture, slightly dished.
        auto rimUv = [](Vec3 p) { return Uv{0.75f + p.x / 0.45f * 0.24f, 0.5f - p.y / 0.45f * 0.24f}; };
        Vec3 hub = v3(0, 0, halfW - 0.06f);
        mesh.quad(mat, o0 + out, o1 + out, i1 + out + v3(0, 0, -0.02f), i0 + out + v3(0, 0, -0.02f), rimUv(o0), rimUv(o1),
                  rimUv(i1), rimUv(i0));
        mesh.tri(mat, i0 + out + v3(0, 0, -0.02f), i1 + out + v3(0, 0, -0.02f), hub, rimUv(i0), rimUv(i1), rimUv(v3(0, 0, 0)));
        // Inner face, plain dark.
        mesh.tri(mat, o1 + in, o0 + in, v3(0, 0, -halfW), Uv{0.3f, 0.5f}, Uv{0.3f, 0.5f}, Uv{0.3f, 0.5f});
    }
    mesh.orientFaces([](Vec3 c, Vec3) { return c; });
    return mesh;
}

static void placeWheel(Placement &p, float x, float y, float z, bool mirrored)
{
    p = Placement{};
    if (mirrored) { // a half turn about x, as the game draws the left-hand wheels
        p.r[1][1] = -1;
        p.r[2][2] = -1;
    }
    p.t = v3(x, y, z);
}

bool writeCars(const std::string &baseDir, const std::string &pictureDir)
{
    bool ok = true;
    Canvas sheet;
    const int cw = 480, ch = 300;
    if (!pictureDir.empty())
        sheet.create(cw * 4, ch * 3, 24, 26, 34);
    for (int m = 0; m < 12; m++) {
        ModelMesh body = buildCarBody(m), wheel = buildCarWheel(m);
        std::string dir = baseDir + "/cars/" + std::to_string(m + 1);
        ok = writeMs3d(body, dir + "/car.ms3d") && ok;
        ok = writeMs3d(wheel, dir + "/wheel.ms3d") && ok;
        std::printf("car %2d (%s): %zu body triangles, %zu wheel triangles\n", m + 1, carDesigns[m].kind,
                    body.triangles.size(), wheel.triangles.size());
        if (pictureDir.empty())
            continue;
        // Three-quarter view from the front right, the car placed as the race draws it.
        View3 v;
        v.eye = v3(6.2f, 2.4f, 5.4f);
        v.target = v3(0, -0.2f, 0);
        v.fovDegrees = 38;
        v.x0 = (m % 4) * cw;
        v.y0 = (m / 4) * ch;
        v.w = cw;
        v.h = ch;
        Placement bodyPlace;
        bodyPlace.t = v3(0, kLift, 0);
        drawMesh(sheet, v, body, bodyPlace);
        float hubY = kHubY;
        float fx = frontAxle(m), rx = rearAxle(m);
        for (int k = 0; k < 4; k++) {
            Placement p;
            placeWheel(p, k < 2 ? fx : rx, hubY, (k % 2) ? -1.0f : 1.0f, k % 2 == 1);
            drawMesh(sheet, v, wheel, p);
        }
    }
    if (!pictureDir.empty())
        sheet.save(pictureDir + "/cars.png");
    return ok;
}
