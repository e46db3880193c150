// Car liveries: each car's texture atlas is painted from its body lines, so windows, pillars,
// doors, grilles and plates fall where the model's faces are; the wheels' rims and the lamp
// lenses have textures of their own.
#include "cars.h"
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

static const float kPi = 3.14159265f;

// "car01".."car12", "rim01".."rim12": texture names by car.
static std::string numberedName(const char *prefix, int m)
{
    char b[16];
    std::snprintf(b, sizeof b, "%s%02d", prefix, m + 1);
    return b;
}
std::string carTextureName(int m) { return numberedName("car", m); }
std::string rimTextureName(int m) { return numberedName("rim", m); }

namespace carAtlas {
static const float kSpan = kYTop - kYBottom;
Uv side(float x, float y) { return Uv{(kX - x) / (2 * kX), (kYTop - y) / kSpan * 0.5f}; }
Uv top(float x, float z) { return Uv{(kX - x) / (2 * kX) * 0.5f, 0.5f + (kZ - z) / (2 * kZ) * 0.5f}; }
Uv front(float z, float y) { return Uv{0.5f + (z + kZ) / (2 * kZ) * 0.25f, 0.5f + (kYTop - y) / kSpan * 0.5f}; }
Uv rear(float z, float y) { return Uv{0.75f + (z + kZ) / (2 * kZ) * 0.25f, 0.5f + (kYTop - y) / kSpan * 0.5f}; }
// The swatches sit side by side in the band under the side view, where no body reaches.
static const float kSwatchTop = -1.05f;
Uv swatch(Swatch s) { return side(kX - (float(s) + 0.5f) * (2 * kX / 4), (kYBottom + kSwatchTop) * 0.5f); }
} // namespace carAtlas

namespace {

struct Rgb {
    float r, g, b;
};
Rgb rgb(const int *c) { return Rgb{float(c[0]), float(c[1]), float(c[2])}; }
Rgb grey(float v) { return Rgb{v, v, v}; }
Rgb scaled(Rgb c, float f) { return Rgb{c.r * f, c.g * f, c.b * f}; }
const Rgb kDark = {16, 16, 18}, kMetal = {200, 202, 210}, kGlass = {18, 26, 44};

// Glass: dark blue with diagonal streaks of reflected light.
Rgb glassAt(int px, int py)
{
    int k = (px + 2 * py) % 53 < 7 ? 28 : 0;
    return Rgb{kGlass.r + float(k), kGlass.g + float(k), kGlass.b + float(k) + float(py % 64) * 0.2f};
}

struct Painter {
    BodyLines L;
    const CarDesign &d;
    const BodyStyle &s;
    explicit Painter(int m) : L(m), d(L.d), s(L.s) {}

    Rgb paint(float f) const { return scaled(rgb(d.paint), f); }
    Rgb trim(float f) const { return scaled(rgb(d.trim), f); }

    float doorFront() const { return s.screen - 0.1f; }
    float rearDoorBack() const { return std::fmax(s.glassEnd, L.rearAxle + s.arch + 0.06f); }

    Rgb sideAt(float x, float y, int px, int py) const
    {
        if (y < carAtlas::kSwatchTop) {
            int k = std::clamp(int((carAtlas::kX - x) / (2 * carAtlas::kX) * 4), 0, 3);
            const Rgb swatches[4] = {paint(0.95f), trim(0.95f), kDark, kMetal};
            return swatches[k];
        }
        float yb = L.bottom(x), b = L.belt(x), t = L.top(x);
        // Side windows, with the pillars between them.
        float margin = x > s.roofFront ? 0.07f : 0.05f;
        if (L.cabin(x) && x < s.screen - 0.06f && x > s.glassEnd && y > b + 0.02f && y < t - margin &&
            std::fabs(x - s.bPillar) > 0.05f)
            return glassAt(px, py);
        // Shut lines and handles.
        float lines[3] = {doorFront(), s.bPillar, d.doors == 4 ? rearDoorBack() : 1e9f};
        for (float lx : lines) {
            if (std::fabs(x - lx) < 0.012f && y > yb + 0.06f && y < b - 0.01f)
                return grey(14);
            if (lx < doorFront() && x > lx + 0.1f && x < lx + 0.24f && std::fabs(y - (b - 0.08f)) < 0.015f)
                return grey(30);
        }
        // Mid-engined cars breathe through intakes ahead of the rear wheels.
        if (d.grille == Grille::Intakes) {
            float x0 = L.rearAxle + s.arch + 0.08f, u = (x - x0) / 0.55f;
            if (u > 0 && u < 1 && y < b - 0.06f && y > yb + 0.18f + 0.3f * u)
                return kDark;
        }
        float rel = (y - yb) / std::fmax(0.1f, b - yb);
        bool trimHere = false;
        switch (d.livery) {
        case Livery::SideBand: trimHere = std::fabs(rel - 0.45f) < 0.09f; break;
        case Livery::TwoTone: trimHere = rel < 0.36f; break;
        case Livery::Pinstripes: trimHere = std::fabs(y - (b - 0.1f)) < 0.012f || std::fabs(y - (b - 0.15f)) < 0.012f; break;
        case Livery::Roundel: {
            float dx = x - (doorFront() + s.bPillar) * 0.5f, dy = y - (yb + 0.5f * (b - yb));
            float r = std::sqrt(dx * dx + dy * dy);
            if (r < 0.12f)
                return grey(235);
            trimHere = r < 0.19f;
            break;
        }
        case Livery::Flash: {
            float u = (L.frontAxle - x) / (L.frontAxle - L.rearAxle);
            trimHere = u > -0.3f && u < 1.1f && std::fabs(rel - (0.15f + 0.55f * u)) < 0.09f;
            break;
        }
        default: break;
        }
        float f = 0.8f + 0.3f * std::clamp(rel, 0.0f, 1.2f);
        if (y < yb + 0.07f)
            f *= 0.55f; // sill in shadow
        return trimHere ? trim(f) : paint(f);
    }

    Rgb topAt(float x, float z, int px, int py) const
    {
        float az = std::fabs(z);
        if (d.open && x < s.rear && x > s.rear - kCockpitLength - 0.05f && az < L.halfWidth(x) - 0.25f) {
            if (x > s.rear - 0.12f)
                return grey(22); // dashboard
            if (std::fabs(az - 0.45f) < 0.2f && x < s.rear - 0.25f)
                return Rgb{48, 46, 52}; // seats
            return grey(14);
        }
        if (x < s.screen - 0.03f && x > s.roofFront + 0.03f && az < L.glassHalf(x) - 0.06f)
            return glassAt(px, py);
        if (!d.open && x < s.roofBack - 0.03f && x > std::fmax(s.rear + 0.03f, s.roofBack - 0.9f) &&
            az < L.glassHalf(x) - 0.07f)
            return glassAt(px, py);
        // Engine cover louvres behind the cabin of a mid-engined car.
        if (d.grille == Grille::Intakes && x < s.rear - 0.08f && x > s.rear - 0.7f && az < 0.45f &&
            int(std::floor(x * 14)) % 2 == 0)
            return kDark;
        bool trimHere = (d.livery == Livery::TwinStripes && std::fabs(az - 0.24f) < 0.09f) ||
                        (d.livery == Livery::Roundel && az < 0.14f);
        return trimHere ? trim(1.0f) : paint(1.0f);
    }

    bool stripeAt(float az) const { return d.livery == Livery::TwinStripes && std::fabs(az - 0.24f) < 0.09f; }

    Rgb frontAt(float z, float y) const
    {
        float az = std::fabs(z), w = L.halfWidth(s.nose);
        if (y > s.noseTop + 0.03f || y < s.noseLow + 0.035f)
            return kDark; // scoop mouths above the nose, the chin below
        auto in = [&](float zMax, float y0, float y1) { return az < zMax && y > y0 && y < y1; };
        float lo = s.noseLow, hi = s.noseTop;
        switch (d.grille) {
        case Grille::Intakes:
            if (in(0.38f, lo + 0.06f, lo + 0.19f) || (az > 0.52f && in(0.85f, lo + 0.06f, lo + 0.16f)))
                return kDark;
            break;
        case Grille::Bar:
            if (in(w - 0.1f, hi - 0.33f, hi - 0.06f))
                return std::fmod(y - hi + 10.0f, 0.06f) < 0.015f ? kMetal : kDark;
            if (in(w, lo + 0.06f, lo + 0.13f))
                return kMetal; // bumper
            break;
        case Grille::Mouth:
            if (in(0.45f, hi - 0.17f, hi - 0.08f) || in(0.65f, lo + 0.06f, lo + 0.22f))
                return kDark;
            break;
        case Grille::Chrome:
            if (in(0.3f, hi - 0.3f, hi - 0.05f)) {
                bool edge = az > 0.275f || y < hi - 0.275f || y > hi - 0.075f;
                return edge || std::fmod(az + 10.0f, 0.05f) < 0.012f ? kMetal : kDark;
            }
            if (in(0.55f, lo + 0.06f, lo + 0.14f))
                return kDark;
            break;
        case Grille::Mesh:
            if (in(0.72f, lo + 0.06f, hi - 0.14f))
                return (int(std::floor(az * 40)) + int(std::floor(y * 40))) % 2 ? grey(40) : kDark;
            break;
        }
        return stripeAt(az) ? trim(0.9f) : paint(0.9f);
    }

    Rgb rearAt(float z, float y, int px, int py) const
    {
        float az = std::fabs(z);
        if (y > std::fmax(s.deck, s.tailTop) + 0.04f)
            return az < s.roofHalf - 0.05f && y < s.roof - 0.02f ? glassAt(px, py) : paint(0.85f);
        if (y < s.tailLow + 0.1f)
            return kDark; // diffuser
        if ((d.grille == Grille::Bar || d.grille == Grille::Chrome) && y < s.tailLow + 0.17f)
            return kMetal; // bumper
        float plateY = std::fmin(s.tailLow + 0.3f, s.tailTop - 0.22f);
        if (az < 0.27f && std::fabs(y - plateY) < 0.07f) {
            bool letter = std::fabs(y - plateY) < 0.035f && az < 0.22f && std::fmod(z + 10.0f, 0.09f) < 0.06f;
            return letter ? grey(30) : Rgb{232, 226, 200};
        }
        return stripeAt(az) ? trim(0.85f) : paint(0.85f);
    }
};

void paintCar(int m)
{
    using namespace carAtlas;
    Painter p(m);
    Image img;
    img.create(kWidth, kHeight, 0, 0, 0);
    for (int py = 0; py < kHeight; py++)
        for (int px = 0; px < kWidth; px++) {
            float u = (float(px) + 0.5f) / kWidth, v = (float(py) + 0.5f) / kHeight;
            Rgb c;
            if (v < 0.5f)
                c = p.sideAt(kX - 2 * kX * u, kYTop - 2 * v * kSpan, px, py);
            else if (u < 0.5f)
                c = p.topAt(kX - 4 * kX * u, kZ - 4 * kZ * (v - 0.5f), px, py);
            else if (u < 0.75f)
                c = p.frontAt((u - 0.5f) * 8 * kZ - kZ, kYTop - 2 * (v - 0.5f) * kSpan);
            else
                c = p.rearAt((u - 0.75f) * 8 * kZ - kZ, kYTop - 2 * (v - 0.5f) * kSpan, px, py);
            float n = 1 + (hashNoise(uint32_t(px), uint32_t(py), uint32_t(300 + m)) - 0.5f) * 0.06f;
            img.set(px, py, int(c.r * n), int(c.g * n), int(c.b * n));
        }
    worldTextures[carTextureName(m)] = img;
}

// Tread on the left half; the outer face of the wheel on the right, a disc of radius 61 texels
// round (192, 64): the rim out to its ratio of the wheel's radius, then the tyre wall.
void paintRim(int m)
{
    const CarDesign &d = carDesigns[m];
    Image w;
    w.create(256, 128, 20, 20, 22);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++) {
            bool groove = (x % 32) < 3 || ((x + y * 2) % 16 < 2 && x % 32 > 6);
            if (groove)
                w.set(x, y, 10, 10, 11);
            else
                w.set(x, y, 30, 30, 32);
        }
    Rgb metal = rgb(d.rimColour);
    for (int y = 0; y < 128; y++)
        for (int x = 128; x < 256; x++) {
            float dx = float(x) + 0.5f - 192, dy = float(y) + 0.5f - 64;
            float rn = std::sqrt(dx * dx + dy * dy) / 61.0f, a = std::atan2(dy, dx);
            Rgb c = grey(24);
            if (rn <= 1 && rn > d.rimRatio) {
                bool letters = rn > 0.86f && rn < 0.92f && int(std::floor(a * 30)) % 3 == 0;
                c = grey(letters ? 44 : 28);
            } else if (rn <= d.rimRatio) {
                float rr = rn / d.rimRatio;
                bool solid = false;
                switch (d.rim) {
                case Rim::FiveSpoke: solid = std::fabs(std::sin(2.5f * a)) < 0.4f; break;
                case Rim::MultiSpoke: solid = std::fabs(std::sin(5 * a)) < 0.3f; break;
                case Rim::SixSpoke: {
                    float sv = std::fabs(std::sin(3 * a));
                    solid = sv < 0.35f && sv > 0.07f;
                    break;
                }
                case Rim::Mesh:
                    solid = std::fabs(std::sin(8 * a + 10 * rr)) < 0.3f || std::fabs(std::sin(8 * a - 10 * rr)) < 0.3f;
                    break;
                case Rim::Turbine: solid = !(rr > 0.35f && rr < 0.85f && std::fabs(std::sin(9 * a + 4 * rr)) < 0.25f); break;
                case Rim::Steel: {
                    float hx = 0, hy = 0, best = 9;
                    for (int k = 0; k < 6; k++) {
                        hx = 0.62f * std::cos(float(k) * kPi / 3) - dx / 61.0f / d.rimRatio;
                        hy = 0.62f * std::sin(float(k) * kPi / 3) - dy / 61.0f / d.rimRatio;
                        best = std::fmin(best, hx * hx + hy * hy);
                    }
                    solid = best > 0.012f;
                    break;
                }
                }
                if (rr > 0.88f || rr < 0.22f)
                    solid = true; // lip and hub
                if (rr < 0.09f)
                    c = grey(60); // centre cap
                else if (rr > 0.9f)
                    c = grey(215 - 40 * (rr - 0.9f) * 10); // polished lip
                else if (solid)
                    c = scaled(metal, 0.85f + 0.2f * (1 - rr));
                else
                    c = grey(42); // brake disc behind the spokes
            }
            w.set(x, y, int(c.r), int(c.g), int(c.b));
        }
    worldTextures[rimTextureName(m)] = w;
}

// Lamp lenses, shared by every car: the headlamp on the left half, the tail lamp on the right,
// both bright all over so the lamps read as lit even where the scene's light does not reach.
void paintLamps()
{
    Image img;
    img.create(128, 64, 0, 0, 0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 128; x++) {
            float a = (float(x % 64) + 0.5f - 32) / 32, b = (float(y) + 0.5f - 32) / 32;
            float r2 = std::fmin(1.0f, a * a + b * b);
            if (x < 64) {
                float f = 1 - 0.12f * r2 - (std::fabs(std::sqrt(r2) - 0.7f) < 0.05f ? 0.06f : 0);
                img.set(x, y, int(255 * f), int(252 * f), int(236 * f));
            } else {
                float f = (1 - 0.15f * r2) * (y % 8 < 1 ? 0.9f : 1.0f);
                img.set(x, y, int(255 * f), int((40 - 25 * r2) * f), int((28 - 18 * r2) * f));
            }
        }
    worldTextures["carlamps"] = img;
}

} // namespace

void paintCarTextures()
{
    for (int m = 0; m < 12; m++) {
        paintCar(m);
        paintRim(m);
    }
    paintLamps();
}
