// Car bodies and wheels. A body is a loft of cross-sections taken along x from its lines (the
// outline, the belt, the plan and the wheel openings), closed by a front and a rear face, with
// the details that tell one car from another added as small closed solids: lamps, mirrors,
// wings, scoops, pipes.
#include "cars.h"
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <vector>

static const float kPi = 3.14159265f;
static const float kHubModelY = kCarHubY - kCarLift;
static const float kArchWall = 0.7f;   // inner wall of the wheel openings (the tyres start at 0.75)

// --- lines ------------------------------------------------------------------------------------

BodyLines::BodyLines(int m)
    : d(carDesigns[m]), s(carDesigns[m].body), frontAxle(carAxleX(m, true)), rearAxle(carAxleX(m, false))
{
}

// Piecewise linear through points ordered by decreasing x.
static float alongOutline(const float (*pts)[2], int n, float x)
{
    if (x >= pts[0][0])
        return pts[0][1];
    for (int i = 0; i + 1 < n; i++)
        if (x >= pts[i + 1][0]) {
            float u = (x - pts[i + 1][0]) / (pts[i][0] - pts[i + 1][0]);
            return pts[i + 1][1] + (pts[i][1] - pts[i + 1][1]) * u;
        }
    return pts[n - 1][1];
}

float BodyLines::top(float x) const
{
    const float pts[8][2] = {{s.nose, s.noseTop},  {s.nose - 0.14f, s.bonnetFront}, {s.screen, s.bonnet},
                             {s.roofFront, s.roof}, {s.roofBack, s.roof},           {s.rear, s.deck},
                             {s.tail + 0.14f, s.deckEnd}, {s.tail, s.tailTop}};
    float y = alongOutline(pts, 8, x);
    if (x < s.roofFront && x > s.roofBack) // a slight crown along the roof
        y += 0.025f * std::sin(kPi * (s.roofFront - x) / (s.roofFront - s.roofBack));
    return y;
}

float BodyLines::bottom(float x) const
{
    float y = s.bottom;
    float f = std::clamp((x - (s.nose - 0.5f)) / 0.5f, 0.0f, 1.0f);
    float r = std::clamp(((s.tail + 0.55f) - x) / 0.55f, 0.0f, 1.0f);
    return y + (s.noseLow - s.bottom) * f + (s.tailLow - s.bottom) * r;
}

float BodyLines::halfWidth(float x) const
{
    auto bump = [](float dx, float reach) {
        float u = dx / reach;
        return std::fabs(u) < 1 ? 0.5f * (1 + std::cos(kPi * u)) : 0.0f;
    };
    float w = s.halfWidth + s.flare * (0.6f * bump(x - frontAxle, 0.75f) + bump(x - rearAxle, 0.8f));
    // Rounded corners in plan.
    float uf = std::clamp((x - (s.nose - 0.4f)) / 0.4f, 0.0f, 1.0f);
    float ur = std::clamp(((s.tail + 0.35f) - x) / 0.35f, 0.0f, 1.0f);
    return w - 0.22f * (1 - std::sqrt(1 - uf * uf)) - 0.15f * (1 - std::sqrt(1 - ur * ur));
}

bool BodyLines::cabin(float x) const { return x < s.screen && x > s.rear; }

float BodyLines::belt(float x) const
{
    float chord = cabin(x) ? s.bonnet + (s.deck - s.bonnet) * (s.screen - x) / (s.screen - s.rear) : top(x);
    float b = chord - 0.05f;
    // The wings stand clear above the wheels, even where the bonnet between them is lower.
    for (float a : {frontAxle, rearAxle}) {
        float dx = x - a;
        if (std::fabs(dx) < s.arch)
            b = std::fmax(b, kHubModelY + std::sqrt(s.arch * s.arch - dx * dx) + 0.05f);
    }
    return b;
}

float BodyLines::archTop(float x) const
{
    float y = bottom(x);
    for (float a : {frontAxle, rearAxle}) {
        float dx = x - a;
        if (std::fabs(dx) < s.arch)
            y = std::fmax(y, kHubModelY + std::sqrt(s.arch * s.arch - dx * dx));
    }
    return std::fmin(y, belt(x) - 0.06f);
}

float BodyLines::glassHalf(float x) const
{
    float chord = belt(x) + 0.05f;
    float t = std::clamp((top(x) - chord) / std::fmax(0.05f, s.roof - chord), 0.0f, 1.0f);
    return halfWidth(x) - 0.14f + (s.roofHalf - (halfWidth(x) - 0.14f)) * t;
}

// --- building ---------------------------------------------------------------------------------

namespace {

Vec3 newellNormal(const std::vector<Vec3> &poly)
{
    Vec3 n{0, 0, 0};
    for (size_t i = 0; i < poly.size(); i++) {
        const Vec3 &a = poly[i], &b = poly[(i + 1) % poly.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

struct Builder {
    ModelMesh &mesh;
    int paint;

    // A convex polygon turned to face `outward`, split into a fan.
    void emit(int mat, std::vector<Vec3> poly, std::vector<Uv> uv, Vec3 outward)
    {
        Vec3 n = newellNormal(poly);
        if (length(n) < 1e-9f)
            return;
        if (dot(n, outward) < 0) {
            std::reverse(poly.begin(), poly.end());
            std::reverse(uv.begin(), uv.end());
        }
        for (size_t i = 1; i + 1 < poly.size(); i++)
            mesh.tri(mat, poly[0], poly[i], poly[i + 1], uv[0], uv[i], uv[i + 1]);
    }

    // Paint: texture coordinates from the view the face is seen in best (faces turned down are
    // underside), from the side view when `side` is set, or one swatch for the whole face.
    void face(const std::vector<Vec3> &poly, Vec3 outward, int swatch = -1, bool side = false)
    {
        Vec3 n = newellNormal(poly);
        if (dot(n, outward) < 0)
            n = n * -1.0f;
        n = normalize(n);
        std::vector<Uv> uv;
        for (const Vec3 &p : poly) {
            if (swatch >= 0)
                uv.push_back(carAtlas::swatch(carAtlas::Swatch(swatch)));
            else if (side)
                uv.push_back(carAtlas::side(p.x, p.y));
            else if (n.y < -0.5f)
                uv.push_back(carAtlas::swatch(carAtlas::Dark));
            else if (std::fabs(n.y) >= std::fabs(n.x) && std::fabs(n.y) >= std::fabs(n.z))
                uv.push_back(carAtlas::top(p.x, p.z));
            else if (std::fabs(n.z) >= std::fabs(n.x))
                uv.push_back(carAtlas::side(p.x, p.y));
            else
                uv.push_back(n.x > 0 ? carAtlas::front(p.z, p.y) : carAtlas::rear(p.z, p.y));
        }
        emit(paint, poly, uv, outward);
    }

    // Axis-aligned box; the face towards +x may take its own swatch (an intake's mouth). Faces
    // that would lie inside the body or against another part are left out.
    enum { NoBottom = 1, NoTop = 2, NoEnds = 4, NoFront = 8 };
    void box(Vec3 lo, Vec3 hi, int swatch = -1, int frontSwatch = -1, int leaveOut = 0)
    {
        Vec3 c[8];
        for (int i = 0; i < 8; i++)
            c[i] = v3(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
        if (!(leaveOut & NoFront))
            face({c[1], c[3], c[7], c[5]}, v3(1, 0, 0), frontSwatch >= 0 ? frontSwatch : swatch);
        face({c[0], c[4], c[6], c[2]}, v3(-1, 0, 0), swatch);
        if (!(leaveOut & NoTop))
            face({c[2], c[6], c[7], c[3]}, v3(0, 1, 0), swatch);
        if (!(leaveOut & NoBottom))
            face({c[0], c[1], c[5], c[4]}, v3(0, -1, 0), swatch);
        if (!(leaveOut & NoEnds)) {
            face({c[4], c[5], c[7], c[6]}, v3(0, 0, 1), swatch);
            face({c[0], c[2], c[3], c[1]}, v3(0, 0, -1), swatch);
        }
    }

    // A lamp lens standing a little proud of a face at x = face (dir +1 at the front, -1 at the
    // rear): a closed prism over an outline in (z, y). Its texture is the lit half of the lamp
    // sheet, brightest in the middle.
    void lamp(int mat, const std::vector<std::pair<float, float>> &outline, float xFace, float dir, float sheetU)
    {
        float z0 = 1e9f, z1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (auto [z, y] : outline) {
            z0 = std::fmin(z0, z);
            z1 = std::fmax(z1, z);
            y0 = std::fmin(y0, y);
            y1 = std::fmax(y1, y);
        }
        float zc = (z0 + z1) * 0.5f, yc = (y0 + y1) * 0.5f;
        auto uvAt = [&](float z, float y) {
            return Uv{sheetU + 0.22f * (z - zc) / std::fmax(0.01f, z1 - zc), 0.5f - 0.44f * (y - yc) / std::fmax(0.01f, y1 - yc)};
        };
        float xBack = xFace + dir * 0.003f, xFront = xFace + dir * 0.025f;
        std::vector<Vec3> front, back;
        std::vector<Uv> uv;
        for (auto [z, y] : outline) {
            front.push_back(v3(xFront, y, z));
            back.push_back(v3(xBack, y, z));
            uv.push_back(uvAt(z, y));
        }
        emit(mat, front, uv, v3(dir, 0, 0));
        emit(mat, back, uv, v3(-dir, 0, 0));
        for (size_t i = 0; i < outline.size(); i++) {
            size_t j = (i + 1) % outline.size();
            Vec3 mid = (front[i] + front[j]) * 0.5f;
            Vec3 out = v3(0, mid.y - yc, mid.z - zc);
            Uv e = uvAt(z0, yc);
            emit(mat, {back[i], back[j], front[j], front[i]}, {e, e, e, e}, out);
        }
    }
};

struct Section {
    float x;
    Vec3 p[8]; // right half, from the bottom centre round to the top centre
};

Section sectionAt(const BodyLines &L, float x)
{
    float w = L.halfWidth(x), yb = L.bottom(x), ya = L.archTop(x), b = L.belt(x), t = L.top(x);
    bool cab = L.cabin(x);
    float waist = std::fmin(std::fmax(ya + 0.07f, yb + 0.55f * (b - yb)), b - 0.02f);
    Section s;
    s.x = x;
    s.p[0] = v3(x, yb, 0);
    s.p[1] = v3(x, yb, kArchWall);
    s.p[2] = v3(x, ya, kArchWall);
    s.p[3] = v3(x, ya + 0.03f, w - 0.04f);
    s.p[4] = v3(x, waist, w);
    s.p[5] = v3(x, b, w - 0.05f);
    s.p[6] = v3(x, std::fmax(t, b + 0.01f), cab ? L.glassHalf(x) : w - 0.2f);
    s.p[7] = v3(x, t + (cab ? 0.03f : 0.015f), 0);
    return s;
}

// Outward direction of the section edge k..k+1 (right half): the section runs anticlockwise
// seen from the front, so outward is the edge turned a quarter to the right.
Vec3 edgeOut(const Section &s, int k)
{
    float dz = s.p[k + 1].z - s.p[k].z, dy = s.p[k + 1].y - s.p[k].y;
    return v3(0, -dz, dy);
}

Vec3 mirrorZ(Vec3 p) { return v3(p.x, p.y, -p.z); }

std::vector<float> stationXs(const BodyLines &L)
{
    const BodyStyle &s = L.s;
    std::vector<float> xs = {s.nose,     s.nose - 0.06f, s.nose - 0.14f, s.nose - 0.3f, s.screen,
                             s.roofFront, s.roofBack,    s.rear,         s.tail + 0.3f, s.tail + 0.14f,
                             s.tail + 0.06f, s.tail,     (s.screen + s.roofFront) * 0.5f,
                             (s.roofBack + s.rear) * 0.5f};
    for (float u : {0.25f, 0.5f, 0.75f})
        xs.push_back(s.roofFront + (s.roofBack - s.roofFront) * u);
    if (L.d.open)
        xs.push_back(s.rear - kCockpitLength);
    for (float a : {L.frontAxle, L.rearAxle})
        for (float f : {1.08f, 1.0f, 0.92f, 0.75f, 0.5f, 0.25f, 0.0f, -0.25f, -0.5f, -0.75f, -0.92f, -1.0f, -1.08f})
            xs.push_back(a + f * s.arch);
    std::sort(xs.begin(), xs.end(), [](float a, float b) { return a > b; });
    std::vector<float> out;
    for (float x : xs) {
        if (x > s.nose || x < s.tail)
            continue;
        if (!out.empty() && out.back() - x < 0.015f)
            continue;
        // No gap wider than 0.3, so the outline's slopes are followed.
        while (!out.empty() && out.back() - x > 0.3f)
            out.push_back(out.back() - (out.back() - x) / std::ceil((out.back() - x) / 0.3f));
        out.push_back(x);
    }
    return out;
}

using Outline = std::vector<std::pair<float, float>>;

Outline rectOutline(float z0, float z1, float y0, float y1) { return {{z0, y0}, {z1, y0}, {z1, y1}, {z0, y1}}; }

Outline discOutline(float zc, float yc, float r)
{
    Outline o;
    for (int k = 0; k < 10; k++) {
        float a = float(k) * 2 * kPi / 10;
        o.push_back({zc + r * std::cos(a), yc + r * std::sin(a)});
    }
    return o;
}

// The lamps of one end, right-hand side first; a bar is one lamp across the middle.
std::vector<Outline> lampOutlines(Lamp kind, float w, float yTop)
{
    float zo = w - 0.1f; // outer edge
    std::vector<Outline> right;
    switch (kind) {
    case Lamp::Rect: right.push_back(rectOutline(zo - 0.36f, zo, yTop - 0.13f, yTop)); break;
    case Lamp::Round: right.push_back(discOutline(zo - 0.16f, yTop - 0.11f, 0.11f)); break;
    case Lamp::TwinRound:
        right.push_back(discOutline(zo - 0.09f, yTop - 0.085f, 0.085f));
        right.push_back(discOutline(zo - 0.3f, yTop - 0.085f, 0.085f));
        break;
    case Lamp::Slim: right.push_back(rectOutline(zo - 0.46f, zo, yTop - 0.06f, yTop)); break;
    case Lamp::Tall: right.push_back(rectOutline(zo - 0.14f, zo, yTop - 0.3f, yTop)); break;
    case Lamp::Bar: return {rectOutline(-zo, zo, yTop - 0.07f, yTop)};
    }
    std::vector<Outline> all = right;
    for (const Outline &o : right) {
        Outline m;
        for (auto [z, y] : o)
            m.push_back({-z, y});
        all.push_back(m);
    }
    return all;
}

int lampMaterial(ModelMesh &mesh, const char *name, float r, float g, float b)
{
    int m = mesh.material(name, worldTexturePath("carlamps"));
    MeshMaterial &mat = mesh.materials[size_t(m)];
    float c[3] = {r, g, b};
    for (int k = 0; k < 3; k++) {
        mat.emissive[k] = c[k];
        mat.diffuse[k] = c[k];
    }
    return m;
}

} // namespace

ModelMesh buildCarBody(int m)
{
    BodyLines L(m);
    const CarDesign &d = L.d;
    const BodyStyle &s = L.s;
    ModelMesh mesh;
    Builder B{mesh, mesh.material("paint", worldTexturePath(carTextureName(m)))};

    // Skin: seven strips a side between neighbouring sections.
    std::vector<Section> st;
    for (float x : stationXs(L))
        st.push_back(sectionAt(L, x));
    for (size_t i = 0; i + 1 < st.size(); i++) {
        const Section &a = st[i], &b = st[i + 1];
        for (int k = 0; k < 7; k++) {
            Vec3 out = edgeOut(a, k) + edgeOut(b, k);
            int swatch = k < 2 ? carAtlas::Dark : -1; // underside and the inner wall of the wheel opening
            bool sideGlass = k == 5 && L.cabin(a.x) && L.cabin(b.x); // however far the cabin leans in
            B.face({a.p[k], a.p[k + 1], b.p[k + 1], b.p[k]}, out, swatch, sideGlass);
            B.face({mirrorZ(a.p[k]), mirrorZ(a.p[k + 1]), mirrorZ(b.p[k + 1]), mirrorZ(b.p[k])}, mirrorZ(out), swatch,
                   sideGlass);
        }
    }
    // Front and rear faces, fans from their middle.
    for (const Section *e : {&st.front(), &st.back()}) {
        float dir = e == &st.front() ? 1.0f : -1.0f;
        Vec3 c = v3(e->x, (e->p[0].y + e->p[7].y) * 0.5f, 0);
        for (int k = 0; k < 7; k++) {
            B.face({c, e->p[k], e->p[k + 1]}, v3(dir, 0, 0));
            B.face({c, mirrorZ(e->p[k]), mirrorZ(e->p[k + 1])}, v3(dir, 0, 0));
        }
    }

    // Lamps on the front and rear faces.
    int head = lampMaterial(mesh, "headlamp", 1.0f, 0.97f, 0.88f);
    int tail = lampMaterial(mesh, "taillamp", 1.0f, 0.1f, 0.06f);
    for (const Outline &o : lampOutlines(d.head, L.halfWidth(s.nose), s.noseTop - 0.05f))
        B.lamp(head, o, s.nose, 1, 0.25f);
    for (const Outline &o : lampOutlines(d.tail, L.halfWidth(s.tail), s.tailTop - 0.05f))
        B.lamp(tail, o, s.tail, -1, 0.75f);

    // Door mirrors at the foot of the windscreen.
    for (float side : {1.0f, -1.0f}) {
        float x = s.screen - 0.1f, w = L.halfWidth(x), y = L.belt(x);
        Vec3 lo = v3(x - 0.14f, y + 0.04f, w - 0.1f), hi = v3(x, y + 0.14f, w + 0.1f);
        if (side < 0)
            std::swap(lo.z, hi.z), lo.z = -lo.z, hi.z = -hi.z;
        B.box(lo, hi, carAtlas::Paint, carAtlas::Dark);
    }
    // Scoop: on the bonnet of a front-engined car, on the roof of one with its engine behind.
    if (d.scoop) {
        bool mid = d.grille == Grille::Intakes;
        float x0 = mid ? s.roofBack - 0.35f : s.screen + 0.4f, x1 = mid ? s.roofBack + 0.1f : s.screen + 1.0f;
        float y0 = std::fmin(L.top(x0), L.top(x1)) - 0.03f, y1 = std::fmax(L.top(x0), L.top(x1)) + 0.11f;
        float hw = mid ? 0.22f : 0.3f;
        B.box(v3(x0, y0, -hw), v3(x1, y1, hw), -1, carAtlas::Dark, Builder::NoBottom);
    }
    // Rear wings: a blade on two struts with end plates, or a lip over the rear screen.
    if (d.wing == Wing::Struts || d.wing == Wing::Tall) {
        bool tall = d.wing == Wing::Tall;
        float x = s.tail + 0.34f, deck = L.top(x), yw = deck + (tall ? 0.4f : 0.26f);
        float chord = tall ? 0.24f : 0.18f, hw = L.halfWidth(x) - 0.06f;
        for (float z : {0.55f, -0.55f})
            B.box(v3(x - 0.05f, deck - 0.03f, z - 0.025f), v3(x + 0.05f, yw, z + 0.025f), carAtlas::Dark, -1,
                  Builder::NoBottom | Builder::NoTop);
        B.box(v3(x - chord, yw, -hw), v3(x + chord * 0.8f, yw + 0.05f, hw), carAtlas::Paint, -1, Builder::NoEnds);
        for (float side : {1.0f, -1.0f}) {
            Vec3 lo = v3(x - chord - 0.04f, yw - 0.1f, hw), hi = v3(x + chord * 0.8f + 0.02f, yw + 0.1f, hw + 0.03f);
            if (side < 0)
                lo.z = -hw - 0.03f, hi.z = -hw;
            B.box(lo, hi, carAtlas::Trim);
        }
    } else if (d.wing == Wing::Roof) {
        float hw = s.roofHalf - 0.02f;
        B.box(v3(s.roofBack - 0.2f, s.roof - 0.005f, -hw), v3(s.roofBack + 0.02f, s.roof + 0.06f, hw), carAtlas::Paint, -1,
              Builder::NoFront);
    }
    // Roof rails.
    if (d.rails)
        for (float z : {s.roofHalf - 0.12f, -(s.roofHalf - 0.12f)})
            B.box(v3(s.roofBack + 0.3f, s.roof - 0.01f, z - 0.03f), v3(s.roofFront - 0.15f, s.roof + 0.07f, z + 0.03f),
                  carAtlas::Metal, -1, Builder::NoBottom);
    // Open cars: headrests behind the seats.
    if (d.open) {
        float x = s.rear - kCockpitLength, y = L.top(x);
        for (float z : {0.45f, -0.45f})
            B.box(v3(x - 0.02f, y - 0.02f, z - 0.17f), v3(x + 0.22f, y + 0.24f, z + 0.17f), carAtlas::Paint, -1,
                  Builder::NoBottom);
    }
    // A splitter lip under the nose of the low cars.
    if (d.grille == Grille::Intakes || d.grille == Grille::Mesh) {
        float hw = L.halfWidth(s.nose) - 0.02f;
        B.box(v3(s.nose - 0.02f, s.noseLow - 0.04f, -hw), v3(s.nose + 0.07f, s.noseLow, hw), carAtlas::Dark);
    }

    // Tail pipes from the rear face to the points the exhaust fire and smoke come from.
    const float *ex = carExhausts[m % 6];
    float r = d.grille == Grille::Bar || d.grille == Grille::Mesh ? 0.085f : 0.07f;
    for (float side : {1.0f, -1.0f}) {
        float y = ex[1] - kCarLift, z = ex[2] * side;
        const int seg = 8;
        std::vector<Vec3> rim;
        for (int k = 0; k < seg; k++) {
            float a0 = float(k) / seg * 2 * kPi, a1 = float(k + 1) / seg * 2 * kPi;
            Vec3 p0 = v3(s.tail + 0.01f, y + r * std::cos(a0), z + r * std::sin(a0));
            Vec3 p1 = v3(s.tail + 0.01f, y + r * std::cos(a1), z + r * std::sin(a1));
            Vec3 q0 = v3(ex[0], p0.y, p0.z), q1 = v3(ex[0], p1.y, p1.z);
            B.face({p0, p1, q1, q0}, (p0 + p1) * 0.5f - v3(p0.x, y, z), carAtlas::Metal);
            // The dark end sits a little inside, inset from the wall by a metal lip: the pipe is
            // closed, so it looks whole from behind with its inside faces left undrawn.
            float end = ex[0] + 0.01f;
            Vec3 i0 = v3(end, p0.y * 0.8f + y * 0.2f, p0.z * 0.8f + z * 0.2f);
            Vec3 i1 = v3(end, p1.y * 0.8f + y * 0.2f, p1.z * 0.8f + z * 0.2f);
            B.face({v3(end, p0.y, p0.z), v3(end, p1.y, p1.z), i1, i0}, v3(-1, 0, 0), carAtlas::Metal);
            rim.push_back(i0);
        }
        B.face(rim, v3(-1, 0, 0), carAtlas::Dark);
    }

    mesh.smoothNormals(35);
    return mesh;
}

// --- wheels -----------------------------------------------------------------------------------

// A wheel turned about z from a profile (radius, z) running from the hub on the outer face round
// the tyre to the middle of the inner face. The outer face carries the rim picture, seen flat;
// the tread its pattern; the inner face is dark.
ModelMesh buildCarWheel(int m)
{
    const CarDesign &d = carDesigns[m];
    ModelMesh mesh;
    int mat = mesh.material("wheel", worldTexturePath(rimTextureName(m)));
    const float r = kWheelRadius, rr = r * d.rimRatio, hw = d.tyreHalf;
    const float profile[7][2] = {{0, hw - 0.07f},        {rr, hw - 0.01f},     {r - 0.035f, hw},
                                 {r, hw - 0.035f},       {r, -hw + 0.035f},    {r - 0.035f, -hw},
                                 {0, -hw}};
    enum { Face, Tread, Inner };
    const int kind[6] = {Face, Face, Face, Tread, Inner, Inner};
    const int seg = 18;
    auto faceUv = [&](Vec3 p) { return Uv{0.75f + p.x / r * 0.24f, 0.5f - p.y / r * 0.48f}; };
    for (int k = 0; k < seg; k++) {
        float a0 = float(k) / seg * 2 * kPi, a1 = float(k + 1) / seg * 2 * kPi;
        for (int j = 0; j < 6; j++) {
            auto at = [&](int i, float a) { return v3(profile[i][0] * std::cos(a), profile[i][0] * std::sin(a), profile[i][1]); };
            Vec3 p[4] = {at(j, a0), at(j, a1), at(j + 1, a1), at(j + 1, a0)};
            Uv t[4];
            for (int c = 0; c < 4; c++) {
                if (kind[j] == Face)
                    t[c] = faceUv(p[c]);
                else if (kind[j] == Tread)
                    t[c] = Uv{p[c].z > 0 ? 0.02f : 0.48f, (c == 1 || c == 2 ? float(k + 1) : float(k)) / seg};
                else
                    t[c] = Uv{0.25f, 0.02f};
            }
            Vec3 mid = (p[0] + p[1] + p[2] + p[3]) * 0.25f;
            Vec3 out = kind[j] == Face ? v3(0, 0, 1) : kind[j] == Inner && j == 5 ? v3(0, 0, -1) : v3(mid.x, mid.y, 0);
            Vec3 n = cross(p[2] - p[0], p[3] - p[1]);
            if (dot(n, out) < 0) {
                std::swap(p[1], p[3]);
                std::swap(t[1], t[3]);
            }
            mesh.tri(mat, p[0], p[1], p[2], t[0], t[1], t[2]);
            mesh.tri(mat, p[0], p[2], p[3], t[0], t[2], t[3]);
        }
    }
    mesh.smoothNormals(40);
    return mesh;
}
