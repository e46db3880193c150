// The two start-up loading pictures and the soft backdrop: a wet city street at night, ray-cast
// through a simple canyon of lit facades with sodium lamps, reflections and light trails.
// Both loading pictures fill the 800 x 600 screen; they are painted in screen proportions and
// stored square (the game stretches them over the screen).
#include "gen2d.h"

namespace {

const float PI = 3.14159265f;

struct V3 {
    float x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 norm(V3 a) { return a * (1.0f / std::sqrt(dot(a, a))); }

struct Street {
    float roadHalf = 7.0f, wall = 11.0f, lampGap = 26.0f, lampHeight = 7.5f;
    uint32_t seed = 1;
};

struct Camera {
    V3 pos;
    float yaw, pitch, fov; // radians; yaw turns towards +x
    V3 fwd, right, up;
    float tanHalf;
    void setup()
    {
        fwd = norm({std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)});
        right = norm({std::cos(yaw), 0, -std::sin(yaw)});
        up = {fwd.y * right.z - fwd.z * right.y, fwd.z * right.x - fwd.x * right.z, fwd.x * right.y - fwd.y * right.x};
        tanHalf = std::tan(fov * 0.5f);
    }
    // Screen position in 800 x 600 units (y down) of a world point; false when behind.
    bool project(V3 p, float &sx, float &sy, float &depth) const
    {
        V3 d = p - pos;
        depth = dot(d, fwd);
        if (depth < 0.5f)
            return false;
        float x = dot(d, right) / depth / tanHalf, y = dot(d, up) / depth / tanHalf;
        sx = 400 + x * 300;
        sy = 300 - y * 300;
        return true;
    }
    V3 ray(float sx, float sy) const
    {
        float x = (sx - 400) / 300 * tanHalf, y = (300 - sy) / 300 * tanHalf;
        return norm(fwd + right * x + up * y);
    }
};

float buildingHeight(const Street &st, int side, int block)
{
    return 14 + 46 * hash2(block, side, st.seed + 3) * hash2(block, side + 7, st.seed + 4);
}

// Facade colour at a wall point (z along the street, y up).
Color facade(const Street &st, int side, float z, float y)
{
    int block = int(std::floor(z / 22.0f));
    float tone = hash2(block, side, st.seed);
    Color wall = mix(hexColor(0x10141f), hexColor(0x1e2233), tone);
    if (y < 4.2f) {
        // Shop fronts: glass at street level, lit warm, cool or dark.
        float zz = z - block * 22.0f;
        bool pillar = zz < 1.0f || std::fmod(zz, 7.0f) < 0.6f;
        if (pillar || y < 0.4f)
            return scaled(wall, 0.8f);
        float k = hash2(block, side + 11, st.seed);
        Color glass = k < 0.4f ? hexColor(0xffa850) : (k < 0.7f ? hexColor(0xa8c0e8) : hexColor(0x1a2030));
        if (std::fabs(y - 3.1f) < 0.08f)
            return scaled(wall, 0.8f); // transom bar
        // Brighter towards the ceiling lights inside, with shelves as darker bands.
        float shelf = std::fmod(y, 0.9f) < 0.12f ? 0.75f : 1.0f;
        return scaled(glass, (0.3f + 0.3f * (y / 4.2f)) * shelf);
    }
    if (y < 5.2f) {
        // Sign band over the shops, neon on some blocks.
        float k = hash2(block, side + 21, st.seed);
        if (k > 0.55f) {
            float zz = z - block * 22.0f;
            if (zz > 3 && zz < 17)
                return k > 0.8f ? pal::magenta : pal::cyan;
        }
        return scaled(wall, 0.6f);
    }
    // Window rhythm per block: narrow office bays or wider flats.
    bool office = hash2(block, side + 31, st.seed) > 0.5f;
    float cw = office ? 1.6f : 2.2f, ch = office ? 2.6f : 3.0f;
    int col = int(std::floor(z / cw)), row = int(std::floor((y - 5.2f) / ch));
    float fx = z / cw - col, fy = (y - 5.2f) / ch - row;
    float x0 = office ? 0.12f : 0.22f, x1 = office ? 0.88f : 0.78f;
    if (fx > x0 && fx < x1 && fy > 0.22f && fy < 0.8f) {
        float h = hash2(col, row + side * 1000, st.seed + 9);
        if (h < (office ? 0.22f : 0.32f)) {
            float kind = hash2(col, row, st.seed + 10);
            Color c = kind < 0.6f ? pal::sodiumPale : (kind < 0.9f ? pal::lampWhite : hexColor(0x80b0ff));
            // Ceiling lamps inside: brighter towards the top of the window; blinds on some.
            float k = 0.45f + 0.35f * hash2(row, col, st.seed + 12) + 0.25f * (fy - 0.22f);
            if (hash2(col, row, st.seed + 13) > 0.7f && std::fmod(fy * 20.0f, 1.0f) < 0.3f)
                k *= 0.6f;
            return scaled(c, k);
        }
        // Dark glass catches a little of the street.
        return mix(wall, hexColor(0x2a3350), 0.35f + 0.3f * fy);
    }
    // Sills under the windows.
    if (fx > x0 && fx < x1 && fy > 0.16f && fy <= 0.22f)
        return scaled(wall, 1.5f);
    return wall;
}

struct Hit {
    int kind; // 0 sky, 1 road, 2 pavement, 3 wall
    float t;
    V3 p;
    int side;
};

Hit trace(const Street &st, V3 o, V3 d)
{
    Hit h{0, 1e9f, {}, 0};
    if (d.y < -1e-4f) {
        float t = -o.y / d.y;
        h = {1, t, o + d * t, 0};
        h.kind = std::fabs(h.p.x) < st.roadHalf ? 1 : 2;
    }
    for (int side = -1; side <= 1; side += 2) {
        if (d.x * side <= 1e-5f)
            continue;
        float t = (side * st.wall - o.x) / d.x;
        if (t <= 0 || t >= h.t)
            continue;
        V3 p = o + d * t;
        int block = int(std::floor(p.z / 22.0f));
        if (p.y < buildingHeight(st, side, block))
            h = {3, t, p, side};
    }
    return h;
}

Color skyColour(V3 d)
{
    float el = d.y;
    static const Ramp ramp{{{-0.05f, hexColor(0x4a2c30)}, {0.03f, hexColor(0x30253e)}, {0.15f, hexColor(0x141b3a)},
                            {0.4f, hexColor(0x070b1e)}, {1.0f, hexColor(0x02040b)}}};
    Color c = ramp.at(el);
    // Stars.
    float az = std::atan2(d.x, d.z);
    int sx = int(az * 400), sy = int(el * 400);
    if (el > 0.1f && hash2(sx, sy, 71u) > 0.997f)
        c = mix(c, rgb(1, 1, 1), 0.6f * hash2(sx, sy, 72u));
    return c;
}

// Ground lighting by the lamps near a point.
Color lampLight(const Street &st, V3 p)
{
    Color acc{0, 0, 0, 1};
    int k0 = int(std::floor(p.z / st.lampGap));
    for (int k = k0 - 1; k <= k0 + 2; k++)
        for (int side = -1; side <= 1; side += 2) {
            V3 lamp{side * (st.roadHalf + 1.2f), st.lampHeight, k * st.lampGap + (side > 0 ? st.lampGap * 0.5f : 0)};
            V3 dv = p - lamp;
            float d2 = dot(dv, dv);
            float pool = 38.0f / (d2 + 6.0f);
            Color c = (k + side) % 5 == 0 ? pal::lampWhite : pal::sodium;
            acc.r += c.r * pool;
            acc.g += c.g * pool;
            acc.b += c.b * pool;
        }
    return acc;
}

Color groundColour(const Street &st, V3 p)
{
    float n = fbm(p.x * 0.8f, p.z * 0.8f, 0, 0, 3, st.seed + 30);
    Color c;
    if (std::fabs(p.x) < st.roadHalf) {
        c = scaled(hexColor(0x1c1e24), 0.7f + 0.5f * n);
        float ax = std::fabs(p.x);
        bool dash = std::fmod(p.z + 1000.0f, 9.0f) < 4.5f;
        if ((ax < 0.12f && dash) || (std::fabs(ax - st.roadHalf + 0.45f) < 0.1f))
            c = hexColor(0xc8c8c0);
        if (std::fabs(ax - st.roadHalf * 0.5f) < 0.1f && dash)
            c = hexColor(0xa8a8a0);
    } else {
        float tx = std::fmod(std::fabs(p.x) * 1.0f, 1.5f), tz = std::fmod(p.z + 1000.0f, 1.5f);
        c = scaled(hexColor(0x34363c), 0.75f + 0.4f * n);
        if (tx < 0.05f || tz < 0.05f)
            c = scaled(c, 0.7f);
        if (std::fabs(p.x) < st.roadHalf + 0.3f)
            c = hexColor(0x60646c); // kerb
    }
    return c;
}

struct StreetShot {
    Camera cam;
    Street street;
    bool trails;
};

Image renderStreet(StreetShot s, int W, int H)
{
    s.cam.setup();
    Image img = makeImage(W, H, rgb(0, 0, 0));
    std::vector<int> kind(size_t(W) * H, 0);
    const Street &st = s.street;
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float sx = (x + 0.5f) / W * 800, sy = (y + 0.5f) / H * 600;
            V3 d = s.cam.ray(sx, sy);
            Hit h = trace(st, s.cam.pos, d);
            Color c;
            if (h.kind == 0)
                c = skyColour(d);
            else if (h.kind == 3) {
                c = facade(st, h.side, h.p.z, h.p.y);
                Color l = lampLight(st, h.p);
                float lum = std::max(c.r, std::max(c.g, c.b));
                if (lum < 0.3f) // lit windows keep their own light; walls catch the lamps
                    c = rgb(c.r * (0.5f + l.r * 2.0f), c.g * (0.5f + l.g * 2.0f), c.b * (0.5f + l.b * 2.0f));
            } else {
                Color g = groundColour(st, h.p);
                Color l = lampLight(st, h.p);
                c = rgb(g.r * (0.25f + l.r * 1.6f), g.g * (0.25f + l.g * 1.6f), g.b * (0.3f + l.b * 1.6f));
                // Wet asphalt mirrors the facades and sky a little.
                if (h.kind == 1) {
                    V3 r{d.x, -d.y, d.z};
                    Hit rh = trace(st, h.p + V3{0, 0.01f, 0}, r);
                    Color rc = rh.kind == 3 ? facade(st, rh.side, rh.p.z, rh.p.y) : skyColour(r);
                    float fres = 0.25f + 0.35f * (1 - std::min(1.0f, -d.y * 6));
                    c = mix(c, rc, fres * 0.6f);
                }
            }
            // Haze thickens with distance, warm from the streets.
            float fog = 1.0f - std::exp(-std::min(h.t, 2000.0f) / 420.0f);
            c = mix(c, hexColor(0x2a2233), fog * 0.85f);
            img.at(x, y) = c;
            kind[size_t(y) * W + x] = h.kind;
        }
    // Lamp heads and their streaks on the wet road, in screen space.
    float pxPerUnitX = W / 800.0f, pxPerUnitY = H / 600.0f;
    for (int k = 0; k < 40; k++)
        for (int side = -1; side <= 1; side += 2) {
            V3 lamp{side * (st.roadHalf + 1.2f), st.lampHeight, k * st.lampGap + (side > 0 ? st.lampGap * 0.5f : 0)};
            float sx, sy, depth;
            if (!s.cam.project(lamp, sx, sy, depth))
                continue;
            Color c = (k + side) % 5 == 0 ? pal::lampWhite : pal::sodium;
            float r = std::max(2.5f, 340.0f / depth) * pxPerUnitX;
            float fade = std::exp(-depth / 500.0f);
            float cx = sx * pxPerUnitX, cy = sy * pxPerUnitY;
            fillShape(img, cx - r * 3, cy - r * 3, cx + r * 3, cy + r * 3,
                      [&](float x, float y) { return std::hypot(x - cx, y - cy) - r * 3; },
                      [&](float x, float y) {
                          float q = std::hypot(x - cx, y - cy) / r;
                          float g = std::exp(-q * q * 2.5f) * 1.2f + std::exp(-q * 1.6f) * 0.25f;
                          return withAlpha(mix(c, rgb(1, 1, 1), std::exp(-q * q * 8)), g * fade);
                      }, BLEND_ADD);
            // Post down to the kerb.
            float bx, by, bd;
            if (s.cam.project({lamp.x, 0, lamp.z}, bx, by, bd)) {
                float w = std::max(0.6f, 40.0f / depth) * pxPerUnitX;
                fillShape(img, std::min(cx, bx * pxPerUnitX) - w - 2, cy, std::max(cx, bx * pxPerUnitX) + w + 2,
                          by * pxPerUnitY,
                          [&](float x, float y) { return sdSegment(x, y, cx, cy + r * 0.4f, bx * pxPerUnitX, by * pxPerUnitY) - w; },
                          [&](float, float) { return withAlpha(hexColor(0x0c0e14), fade); });
            }
            // Reflection: a vertical streak below the lamp's mirror image, only on the road.
            V3 mirror{lamp.x * 0.8f, -st.lampHeight, lamp.z};
            float mx, my, md;
            if (!s.cam.project(mirror, mx, my, md))
                continue;
            float rx = mx * pxPerUnitX, ry = my * pxPerUnitY, len = (my - sy) * pxPerUnitY * 0.9f;
            fillShape(img, rx - r * 2, ry - len, rx + r * 2, ry + len * 0.4f,
                      [&](float x, float y) { return std::fabs(x - rx) - r * 2; },
                      [&](float x, float y) {
                          int ix = std::clamp(int(x), 0, W - 1), iy = std::clamp(int(y), 0, H - 1);
                          if (kind[size_t(iy) * W + ix] != 1)
                              return rgb(0, 0, 0, 0);
                          float qx = (x - rx) / r, qy = (y - ry) / std::max(1.0f, len);
                          float g = std::exp(-qx * qx * 3.0f) * std::exp(-qy * qy * 3.0f) * 0.55f;
                          return withAlpha(c, g * fade);
                      }, BLEND_ADD);
        }
    // Light trails: long exposures of cars, red tail lights away from us, white heads towards us.
    if (s.trails)
        for (int lane = 0; lane < 4; lane++) {
            float lx = -st.roadHalf * 0.75f + lane * st.roadHalf * 0.5f;
            Color c = lane < 2 ? rgb(1.0f, 0.95f, 0.85f) : rgb(1.0f, 0.12f, 0.08f);
            for (int strand = 0; strand < 2; strand++) {
                float ox = (strand ? 0.55f : -0.55f);
                float prevX = 0, prevY = 0;
                bool havePrev = false;
                for (int i = 0; i <= 160; i++) {
                    float z = 2.0f + i * 2.0f;
                    float wob = std::sin(z * 0.03f + lane) * 0.6f;
                    V3 p{lx + ox + wob, 0.55f + 0.15f * strand, z};
                    float sx, sy, depth;
                    if (!s.cam.project(p, sx, sy, depth)) {
                        havePrev = false;
                        continue;
                    }
                    float x = sx * pxPerUnitX, y = sy * pxPerUnitY;
                    if (havePrev) {
                        float w = std::max(0.5f, 14.0f / depth) * pxPerUnitX;
                        float fade = std::exp(-depth / 260.0f) * (0.6f + 0.4f * hash2(lane * 2 + strand, i / 20, 5u));
                        float ax = prevX, ay = prevY;
                        fillShape(img, std::min(ax, x) - w * 4, std::min(ay, y) - w * 4, std::max(ax, x) + w * 4,
                                  std::max(ay, y) + w * 4,
                                  [&](float px, float py) { return sdSegment(px, py, ax, ay, x, y) - w * 4; },
                                  [&](float px, float py) {
                                      float d = sdSegment(px, py, ax, ay, x, y) / w;
                                      float g = std::exp(-d * d * 1.5f) + 0.25f * std::exp(-d * 0.8f);
                                      return withAlpha(mix(c, rgb(1, 1, 1), std::exp(-d * d * 4) * 0.5f), g * fade * 0.8f);
                                  }, BLEND_ADD);
                    }
                    prevX = x, prevY = y;
                    havePrev = true;
                }
            }
        }
    // Gentle vignette and tone: keep highlights from clipping flat.
    shadeAll(img, [&](float x, float y, Color c) {
        float vx = x / W - 0.5f, vy = y / H - 0.5f;
        float vig = 1.0f - 0.55f * (vx * vx + vy * vy) * 2;
        auto tone = [](float v) { return 1.0f - std::exp(-v * 1.3f); };
        return rgb(tone(c.r * vig), tone(c.g * vig), tone(c.b * vig));
    });
    return img;
}

StreetShot firstScene()
{
    StreetShot s;
    s.cam = {{-1.5f, 2.2f, 0}, 0.06f, 0.02f, 62.0f * PI / 180.0f, {}, {}, {}, 0};
    s.street.seed = 11;
    s.trails = true;
    return s;
}

StreetShot lateScene()
{
    StreetShot s;
    s.cam = {{4.5f, 0.9f, 5}, -0.22f, 0.1f, 70.0f * PI / 180.0f, {}, {}, {}, 0};
    s.street.seed = 23;
    s.street.roadHalf = 8.0f;
    s.street.wall = 12.5f;
    s.trails = true;
    return s;
}

// Places the logo and a tag line on the first picture.
void titleOver(Image &img, float cx, float top, float width, bool tagline)
{
    Image logo = paintLogoImage();
    float h = width * 0.5f * (img.h / 600.0f) / (img.w / 800.0f);
    blitScaled(img, logo, cx - width * 0.5f, top, width, h);
    if (tagline) {
        float size = 16.0f * img.h / 600.0f;
        Mask m = textMaskCentred(img.w, img.h, FONT_SANS_BOLD, size, "NIGHT  STREET  RACING", cx, top + h + size * 0.6f, 4);
        Mask sh = m;
        blurMask(sh, 3);
        paintMaskColor(img, sh, 0, 0, rgb(0, 0, 0, 0.9f), BLEND_OVER, 3);
        paintMaskColor(img, m, 0, 0, pal::lampWhite);
    }
}

} // namespace

bool paintLoading()
{
    const int W = 1024, H = 1024;
    Image first = renderStreet(firstScene(), W, H);
    Image backdrop = first;
    titleOver(first, W * 0.5f, H * 0.06f, W * 0.62f, true);
    bool ok = saveSetBmp(TEX_LOADING_FIRST, first, "loading picture first");

    Image late = renderStreet(lateScene(), W, H);
    titleOver(late, W * 0.25f, H * 0.05f, W * 0.36f, false);
    // Darken the lower right where the game prints "Loading..." (x 520..650, y 24..50 of 600).
    shadeAll(late, [&](float x, float y, Color c) {
        float u = x / W * 800, v = 600 - y / H * 600;
        float k = clamp01((u - 440) / 80.0f) * clamp01((95 - v) / 50.0f);
        return mix(c, rgb(0.01f, 0.015f, 0.04f), k * 0.85f);
    });
    {
        UnitFrame f{W, H, 800, 600};
        fillUnits(late, f, [&](float u, float v) { return sdBox(u, v, 640, 62, 150, 0.7f); },
                  [&](float u, float) { return withAlpha(pal::cyan, clamp01((u - 490) / 120.0f)); });
        fillUnits(late, f, [&](float u, float v) { return sdBox(u, v, 506, 34, 3, 10, 1); },
                  [&](float, float) { return pal::sodium; });
    }
    ok = saveSetBmp(TEX_LOADING_LATE, late, "loading picture late") && ok;

    // Backdrop: the first street, blurred into bokeh and dimmed.
    Image small = makeImage(512, 512, rgb(0, 0, 0));
    blitScaled(small, backdrop, 0, 0, 512, 512);
    blurImage(small, 9.0f);
    for (Color &c : small.px)
        c = rgb(c.r * 0.7f, c.g * 0.7f, c.b * 0.8f);
    ok = saveSetBmp(TEX_BACKDROP, small, "soft city backdrop") && ok;
    return ok;
}
