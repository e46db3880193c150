// Mock-ups of the game's screens, composed from the written files the way the game draws them
// (virtual 800 x 600 screen, y up, the same quads, blend modes and glyph cells). They let people
// judge the pictures in place before the renderer exists, and read the files back as a check.
#include "gen2d.h"
#include "platform/png_write.h"
#include "platform/sys_files.h"

#include <cstdarg>
#include <cstdio>

namespace {

// ---- reading back what was written (top row first in memory) ----

uint32_t le(const uint8_t *p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; i--)
        v = (v << 8) | p[i];
    return v;
}

Image readBack(const std::string &path)
{
    Image img;
    std::vector<uint8_t> d;
    if (!Sys_ReadWholeFile(path.c_str(), d))
        return img;
    bool bmp = d.size() > 54 && d[0] == 'B' && d[1] == 'M';
    int w, h, ch, off;
    if (bmp) {
        w = int(le(&d[18], 4));
        h = int(le(&d[22], 4));
        ch = 3;
        off = int(le(&d[10], 4));
    } else {
        if (d.size() < 18)
            return img;
        w = int(le(&d[12], 2));
        h = int(le(&d[14], 2));
        ch = d[16] / 8;
        off = 18;
    }
    int stride = bmp ? (w * 3 + 3) & ~3 : w * ch;
    if (w <= 0 || h <= 0 || d.size() < size_t(off) + size_t(stride) * h)
        return img;
    img = makeImage(w, h, rgb(0, 0, 0));
    for (int row = 0; row < h; row++) // both files store the bottom row first
        for (int x = 0; x < w; x++) {
            const uint8_t *p = &d[off + size_t(row) * stride + size_t(x) * ch];
            img.at(x, h - 1 - row) = rgb(p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, ch == 4 ? p[3] / 255.0f : 1.0f);
        }
    return img;
}

Image setTex(int entry, bool tga)
{
    char name[64];
    snprintf(name, sizeof name, "/textures/tex%02d.%s", entry, tga ? "tga" : "bmp");
    return readBack(gen2dBase + name);
}

// ---- the screen and its drawing operations ----

enum Blend { OPAQUE, ALPHA, ADD_ALPHA, ADD, MULTIPLY };

struct Screen {
    Image img = makeImage(800, 600, rgb(0, 0, 0));
};

// t runs bottom (0) to top (1) of the picture as in GL with bottom-up files.
Color sample(const Image &t, float s, float tt, bool repeat)
{
    float x = s * t.w - 0.5f, y = (1.0f - tt) * t.h - 0.5f;
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    Color acc{0, 0, 0, 0};
    for (int k = 0; k < 4; k++) {
        int cx = ix + (k & 1), cy = iy + (k >> 1);
        if (repeat) {
            cx = ((cx % t.w) + t.w) % t.w;
            cy = ((cy % t.h) + t.h) % t.h;
        } else {
            cx = std::clamp(cx, 0, t.w - 1);
            cy = std::clamp(cy, 0, t.h - 1);
        }
        float w = ((k & 1) ? fx : 1 - fx) * ((k >> 1) ? fy : 1 - fy);
        const Color &c = t.at(cx, cy);
        acc = {acc.r + c.r * w, acc.g + c.g * w, acc.b + c.b * w, acc.a + c.a * w};
    }
    return acc;
}

struct Quad {
    float x0, y0, x1, y1;              // local corners
    float s0 = 0, t0 = 0, s1 = 1, t1 = 1;
    float tx = 0, ty = 0, angleDeg = 0; // translate then rotate, as glTranslate; glRotate
};

void draw(Screen &sc, const Image &tex, const Quad &q, Blend b, Color col = rgb(1, 1, 1), bool repeat = false)
{
    if (tex.w == 0)
        return;
    float a = q.angleDeg * 3.14159265f / 180.0f, ca = std::cos(a), sa = std::sin(a);
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        float lx = (k & 1) ? q.x1 : q.x0, ly = (k & 2) ? q.y1 : q.y0;
        float X = q.tx + lx * ca - ly * sa, Y = q.ty + lx * sa + ly * ca;
        minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
    }
    for (int py = std::max(0, int(minY)); py < std::min(600, int(std::ceil(maxY)) + 1); py++)
        for (int px = std::max(0, int(minX)); px < std::min(800, int(std::ceil(maxX)) + 1); px++) {
            float X = px + 0.5f - q.tx, Y = py + 0.5f - q.ty;
            float lx = X * ca + Y * sa, ly = -X * sa + Y * ca;
            if (lx < std::min(q.x0, q.x1) || lx > std::max(q.x0, q.x1) || ly < std::min(q.y0, q.y1) ||
                ly > std::max(q.y0, q.y1))
                continue;
            float u = (lx - q.x0) / (q.x1 - q.x0), v = (ly - q.y0) / (q.y1 - q.y0);
            Color t = sample(tex, lerp(q.s0, q.s1, u), lerp(q.t0, q.t1, v), repeat);
            Color s{t.r * col.r, t.g * col.g, t.b * col.b, t.a * col.a};
            Color &d = sc.img.at(px, 599 - py);
            switch (b) {
            case OPAQUE: d = {s.r, s.g, s.b, 1}; break;
            case ALPHA: d = {lerp(d.r, s.r, s.a), lerp(d.g, s.g, s.a), lerp(d.b, s.b, s.a), 1}; break;
            case ADD_ALPHA: d = {d.r + s.r * s.a, d.g + s.g * s.a, d.b + s.b * s.a, 1}; break;
            case ADD: d = {d.r + s.r, d.g + s.g, d.b + s.b, 1}; break;
            case MULTIPLY: d = {d.r * s.r, d.g * s.g, d.b * s.b, 1}; break;
            }
            d = {clamp01(d.r), clamp01(d.g), clamp01(d.b), 1};
        }
}

const Image *fontTex;

// The printers: cell g = set x 128 + c - 32; small 19 x 20 quads every 10 units drawn 3 lower,
// large 25 x 27 every 13.
void print(Screen &sc, bool large, int x, int y, int set, Color col, const char *fmt, ...)
{
    char buf[256];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    if (set > 1)
        set = 1;
    float w = large ? 25 : 19, h = large ? 27 : 20, step = large ? 13 : 10;
    float bx = float(x), by = float(large ? y : y - 3);
    for (const char *p = buf; *p; p++, bx += step) {
        int g = set * 128 + (unsigned char)*p - 32;
        if (g < 0 || g > 255)
            continue;
        float s0 = (g % 16) / 16.0f, t1 = 1.0f - (g / 16) / 16.0f;
        draw(sc, *fontTex, {0, 0, w, h, s0, t1 - 0.0625f, s0 + 0.0625f, t1, bx, by, 0}, ALPHA, col);
    }
}

void fullScreen(Screen &sc, const Image &t, Blend b, Color c = rgb(1, 1, 1))
{
    draw(sc, t, {0, 0, 800, 600}, b, c);
}

bool save(const Screen &sc, const std::string &path)
{
    std::vector<uint8_t> rgbBytes;
    toBytes(sc.img, 3, rgbBytes, false);
    return Sys_WritePng(path.c_str(), 800, 600, 3, rgbBytes.data());
}

// The garage as the menus draw it: menu projection (35 degrees, 4:3), the tunnel cylinder of
// radius 5.5 round an axis through the car's place turned 25 degrees, its wall texture repeated
// twice round and twice along, and the floor strip under the car; both unlit.
void garageBackground(Screen &sc)
{
    Image wall = setTex(TGA_GARAGE_WALL, true), strip = setTex(TGA_GARAGE_STRIP, true);
    const float PI = 3.14159265f, menuClock = 40.0f;
    const float gx = 0.15f, gy = -0.25f, gz = -8.0f;
    auto rotY = [&](float a, float v[3]) {
        float c = std::cos(a), s = std::sin(a), x = v[0] * c + v[2] * s, z = -v[0] * s + v[2] * c;
        v[0] = x, v[2] = z;
    };
    auto rotZ = [&](float a, float v[3]) {
        float c = std::cos(a), s = std::sin(a), x = v[0] * c - v[1] * s, y = v[0] * s + v[1] * c;
        v[0] = x, v[1] = y;
    };
    // Local axes of the tunnel frame (rotate y 25, z 90, then the extra -15 about z).
    float ax[3] = {1, 0, 0}, ay[3] = {0, 1, 0}, az[3] = {0, 0, 1};
    for (float *v : {ax, ay, az}) {
        rotZ((90.0f - 15.0f) * PI / 180.0f, v);
        rotY(25.0f * PI / 180.0f, v);
    }
    float th = std::tan(17.5f * PI / 180.0f);
    for (int py = 0; py < 600; py++)
        for (int px = 0; px < 800; px++) {
            float d[3] = {((px + 0.5f) / 400 - 1) * th * 4 / 3, (1 - (py + 0.5f) / 300) * th, -1};
            float n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            for (float &c : d)
                c /= n;
            // Ray from the eye in the tunnel frame.
            float o[3] = {-gx, -gy, -gz};
            auto local = [&](const float v[3], float out[3]) {
                out[0] = v[0] * ax[0] + v[1] * ax[1] + v[2] * ax[2];
                out[1] = v[0] * ay[0] + v[1] * ay[1] + v[2] * ay[2];
                out[2] = v[0] * az[0] + v[1] * az[1] + v[2] * az[2];
            };
            float lo[3], ld[3];
            local(o, lo);
            local(d, ld);
            // Cylinder x^2 + y^2 = 5.5^2 from inside: the far root.
            float A = ld[0] * ld[0] + ld[1] * ld[1], B = 2 * (lo[0] * ld[0] + lo[1] * ld[1]),
                  C = lo[0] * lo[0] + lo[1] * lo[1] - 5.5f * 5.5f;
            float t = (-B + std::sqrt(std::max(0.0f, B * B - 4 * A * C))) / (2 * A);
            float hx = lo[0] + ld[0] * t, hy = lo[1] + ld[1] * t, hz = lo[2] + ld[2] * t;
            float ang = std::atan2(hx, hy);
            Color c = sample(wall, 2 * (ang / (2 * PI) + 0.5f), 2 * (hz + 200) / 400 + menuClock * 0.035f, true);
            if (hz < -200 || hz > 200)
                c = rgb(0, 0, 0);
            // Floor strip: plane x = -0.91 in the frame before the extra turn.
            float fx[3] = {1, 0, 0}, fy[3] = {0, 1, 0};
            rotZ(90.0f * PI / 180.0f, fx), rotY(25.0f * PI / 180.0f, fx);
            rotZ(90.0f * PI / 180.0f, fy), rotY(25.0f * PI / 180.0f, fy);
            float on = o[0] * fx[0] + o[1] * fx[1] + o[2] * fx[2], dn = d[0] * fx[0] + d[1] * fx[1] + d[2] * fx[2];
            if (std::fabs(dn) > 1e-5f) {
                float tf = (-0.91f - on) / dn;
                if (tf > 0 && tf < t) {
                    float p[3] = {o[0] + d[0] * tf, o[1] + d[1] * tf, o[2] + d[2] * tf};
                    float yy = p[0] * fy[0] + p[1] * fy[1] + p[2] * fy[2];
                    float zz = p[0] * az[0] + p[1] * az[1] + p[2] * az[2] + 200; // the quad's z, 10..210
                    if (yy > -5 && yy < 8.7f && zz > 10 && zz < 210)
                        c = sample(strip, 0.5f * (yy + 5) / 13.7f, 0.5f * ((zz - 10) / 200 * 4 - menuClock * 0.07f), true);
                }
            }
            sc.img.at(px, py) = {c.r, c.g, c.b, 1};
        }
    // The bloom pass the menus composite over it, roughly.
    Image glow = sc.img;
    blurImage(glow, 12.0f);
    for (size_t i = 0; i < sc.img.px.size(); i++) {
        Color &p = sc.img.px[i];
        const Color &g = glow.px[i];
        p = {clamp01(p.r + g.r * 0.35f), clamp01(p.g + g.g * 0.35f), clamp01(p.b + g.b * 0.35f), 1};
    }
}

void menuButtons(Screen &sc, float bounce)
{
    Image back = setTex(TGA_MENU_ARROW_BACK, true), front = setTex(TGA_MENU_ARROW_FRONT, true);
    Image bar = setTex(TGA_MENU_SELECT_BAR, true);
    draw(sc, back, {-50, -25, 50, 25, 0, 0, 1, 1, 80, 470 + bounce}, ALPHA);
    draw(sc, front, {-50, -25, 50, 25, 0, 0, 1, 1, 80, 470}, ALPHA);
    draw(sc, back, {-50, -25, 50, 25, 0, 1, 1, 0, 80, 130 - bounce}, ALPHA);
    draw(sc, front, {-50, -25, 50, 25, 0, 1, 1, 0, 80, 130}, ALPHA);
    draw(sc, bar, {-80, -20, 80, 20, 0, 0, 1, 1, 85, 304}, ALPHA, rgb(0.35f, 0.6f, 1.0f));
}

void menuList(Screen &sc, const std::vector<const char *> &items, int sel)
{
    for (int i = 0; i < int(items.size()); i++) {
        float y = 300 - 60.0f * (i - sel);
        float d = std::fabs(100.0f * (i - sel));
        float alpha = std::min(1.0f, std::max(0.0f, (240 - std::min(d, 240.0f)) * 0.02f));
        Color c = i == sel ? rgb(1, 1, 1, alpha) : rgb(0.6f, 0.6f, 0.6f, alpha);
        print(sc, false, 20, int(y), 1, c, "%s", items[i]);
    }
}

void cursorAt(Screen &sc, float x, float yDown)
{
    draw(sc, setTex(TGA_MENU_CURSOR, true), {0, -20, 20, 0, 0, 0, 1, 1, x, 600 - yDown}, ALPHA);
}

void valueBars(Screen &sc)
{
    Image frame = setTex(TGA_MENU_BAR_FRAME, true), fill = setTex(TGA_MENU_BAR_FILL, true);
    const char *labels[3] = {"Power", "Max speed", "Suspension"};
    float values[3] = {0.62f, 0.58f, 0.74f};
    for (int k = 0; k < 3; k++) {
        float x = 190, y = 79 - 25.0f * k;
        print(sc, false, 190, int(y + 13), 1, rgb(1, 1, 1), "%s", labels[k]);
        draw(sc, fill, {1, 5, (values[k] - 0.4f) * 416, 10, 0, 0, (values[k] - 0.4f) * 1.65f, 1, x, y}, ALPHA);
        draw(sc, frame, {0, 4, 250, 11, 0, 0, 1, 1, x, y}, ALPHA);
    }
}

} // namespace

bool writeMockups(const std::string &dir)
{
    Image font = setTex(TGA_FONT, true);
    fontTex = &font;
    bool ok = true;
    Image panel = setTex(TGA_MENU_PANEL, true);

    { // Loading screen, second picture, with its caption.
        Screen sc;
        fullScreen(sc, setTex(TEX_LOADING_LATE, false), OPAQUE);
        print(sc, false, 520, 24, 1, rgb(1, 1, 1), "Loading...");
        ok = save(sc, dir + "/loading.png") && ok;
    }
    { // Both glyph sets at both sizes.
        Screen sc;
        fullScreen(sc, setTex(TEX_BACKDROP, false), OPAQUE);
        const char *line1 = "The quick brown fox jumps over", *line2 = "the lazy dog. 0123456789 !?%&()";
        int y = 540;
        for (int set = 1; set >= 0; set--)
            for (int large = 0; large < 2; large++) {
                print(sc, large, 20, y, 1, pal::sodiumPale, "%s font, set %d:", large ? "large" : "small", set);
                y -= large ? 34 : 26;
                print(sc, large, 20, y, set, rgb(1, 1, 1), "%s", line1);
                y -= large ? 30 : 22;
                print(sc, large, 20, y, set, rgb(1, 1, 1), "%s", line2);
                y -= large ? 44 : 36;
            }
        print(sc, true, 500, 40, 0, rgb(1, 0, 0), "Place 2/ 4");
        ok = save(sc, dir + "/text.png") && ok;
    }
    { // HUD over a street, with the needle at 5600 rpm, 60% nitro and a gentle left bend.
        Screen sc;
        fullScreen(sc, setTex(TEX_LOADING_LATE, false), OPAQUE);
        draw(sc, setTex(TEX_HUD_DIAL_MASK, false), {600, 0, 800, 200, 0, 0, 1, 1, 6, -6}, MULTIPLY);
        draw(sc, setTex(TEX_HUD_DIAL_LIGHT, false), {600, 0, 800, 200, 0, 0, 1, 1, 6, -6}, ADD);
        float a = std::clamp((5600 - 1000) * 0.035f, 0.0f, 243.0f);
        Quad needle{-11, -6, 11, 104, 0, 0, 1, 1, 706, 94, 152.5f - a};
        draw(sc, setTex(TEX_HUD_NEEDLE_MASK, false), needle, MULTIPLY);
        draw(sc, setTex(TEX_HUD_NEEDLE_LIGHT, false), needle, ADD);
        float turn = 0.35f, alpha = 0.85f;
        Color arrowCol = rgb(std::fabs(turn * 0.637f), alpha - std::fabs(turn * 0.637f), 0, alpha);
        draw(sc, setTex(TEX_HUD_BEND_ARROW, false), {-45, -45, 45, 45, 0, 0, 1, 1, 400, 542, turn * 57.3f},
             ADD_ALPHA, arrowCol);
        draw(sc, setTex(TEX_HUD_BAND_MASK, false), {0, 474, 800, 602}, MULTIPLY);
        draw(sc, setTex(TEX_HUD_BAND_LIGHT, false), {0, 474, 800, 602}, ADD);
        float f = 0.6f;
        draw(sc, setTex(TGA_HUD_NITRO_FILL, true), {0, 0, 200, 200 * f, 0, 0, 1, f, -5, 0}, ALPHA);
        draw(sc, setTex(TGA_HUD_NITRO_FRAME, true), {0, 0, 200, 200, 0, 0, 1, 1, -5, 0}, ALPHA);
        print(sc, true, 737, 32, 1, rgb(1, 1, 1), "%2i", 142);
        print(sc, false, 742, 12, 1, rgb(1, 1, 1), "km/h");
        print(sc, true, 60, 566, 1, rgb(1, 1, 1), "Lap   /");
        print(sc, true, 60, 566, 0, rgb(1, 1, 1), "    %2i", 2);
        print(sc, true, 60, 566, 0, rgb(1, 1, 1), "      %2i", 4);
        print(sc, true, 610, 566, 1, rgb(1, 1, 1), "Place  /");
        print(sc, true, 610, 566, 0, rgb(1, 1, 1), "     %2i", 1);
        print(sc, true, 610, 566, 0, rgb(1, 1, 1), "       %2i", 4);
        ok = save(sc, dir + "/hud.png") && ok;
    }
    { // Countdown "2" over the race.
        Screen sc;
        fullScreen(sc, setTex(TEX_LOADING_FIRST, false), OPAQUE);
        draw(sc, setTex(TEX_COUNT_2, false), {336, 336, 464, 464}, ADD_ALPHA, rgb(1, 1, 1, 0.9f));
        draw(sc, setTex(TEX_COUNT_GO, false), {272, 150, 528, 278}, ADD_ALPHA, rgb(1, 1, 1, 0.9f));
        ok = save(sc, dir + "/countdown.png") && ok;
    }
    { // Main menu.
        Screen sc;
        garageBackground(sc);
        fullScreen(sc, panel, ALPHA);
        draw(sc, setTex(TGA_MENU_LOGO, true), {250, 390, 750, 640}, ALPHA);
        print(sc, false, 20, 368, 1, rgb(0.6f, 0.6f, 0.6f), "Street Racing ");
        print(sc, false, 20, 352, 1, rgb(0.6f, 0.6f, 0.6f), "Career");
        menuList(sc, {"", "Quick Race", "Options", "Quit"}, 1);
        menuButtons(sc, 6);
        cursorAt(sc, 95, 300);
        ok = save(sc, dir + "/menu_main.png") && ok;
    }
    { // Car select with the value bars.
        Screen sc;
        garageBackground(sc);
        fullScreen(sc, panel, ALPHA);
        print(sc, false, 210, 565, 1, rgb(1, 1, 1), "           Career");
        menuList(sc, {"Car >>", "<< Car", "Tuning", "Select race", "Back"}, 0);
        menuButtons(sc, 0);
        valueBars(sc);
        ok = save(sc, dir + "/menu_car.png") && ok;
    }
    { // Race select: map of the odd races with race 5 chosen.
        Screen sc;
        garageBackground(sc);
        fullScreen(sc, panel, ALPHA);
        print(sc, false, 210, 565, 1, rgb(1, 1, 1), "           Race");
        menuList(sc, {"Race  1", "Race  2", "Race  3", "Race  4", "Race  5", "Back"}, 4);
        menuButtons(sc, 0);
        draw(sc, setTex(TEX_MENU_MAP_ODD, false), {250, 80, 700, 530}, ALPHA);
        draw(sc, setTex(TGA_MENU_MARKER_PLAIN, true), {-12, -12, 12, 12, 0, 0, 1, 1, 420, 390}, ALPHA);
        draw(sc, setTex(TGA_MENU_MARKER_PODIUM, true), {-10, -10, 10, 10, 0, 0, 1, 1, 465, 250}, ALPHA);
        ok = save(sc, dir + "/menu_race.png") && ok;
    }
    { // Tuning: packet 1 bought, 2 and 3 on offer, the rest locked.
        Screen sc;
        garageBackground(sc);
        fullScreen(sc, panel, ALPHA);
        print(sc, false, 210, 565, 1, rgb(1, 1, 1), "               Tuning");
        menuList(sc, {"Back"}, 0);
        menuButtons(sc, 0);
        Image pk = setTex(TGA_MENU_PACKET, true), locked = setTex(TGA_MENU_PACKET_LOCKED, true),
              bought = setTex(TGA_MENU_PACKET_BOUGHT, true);
        const float pos[6][2] = {{330, 420}, {465, 420}, {600, 420}, {330, 270}, {465, 270}, {600, 270}};
        const float lab[6][2] = {{275, 340}, {410, 340}, {545, 340}, {275, 190}, {410, 190}, {545, 190}};
        for (int k = 0; k < 6; k++) {
            int state = k == 0 ? 2 : (k < 3 ? 1 : 0);
            Color c = state == 0 ? rgb(0.5f, 0.1f, 0.1f) : (state == 2 ? rgb(0.5f, 0.5f, 0.5f) : rgb(1, 1, 1));
            float sc1 = k == 1 ? 1.1f : 1.0f;
            draw(sc, pk, {-50 * sc1, -50 * sc1, 50 * sc1, 50 * sc1, 0, 0, 1, 1, pos[k][0], pos[k][1]}, ALPHA, c);
            if (state != 1)
                draw(sc, state == 0 ? locked : bought, {-20, -20, 20, 20, 0, 0, 1, 1, pos[k][0] + 30, pos[k][1] + 30}, ALPHA);
            print(sc, false, int(lab[k][0]), int(lab[k][1]) + 15, 1, rgb(1, 1, 1), "Tuning");
            print(sc, false, int(lab[k][0]), int(lab[k][1]), 1, rgb(1, 1, 1), "packet %d", k + 1);
        }
        valueBars(sc);
        ok = save(sc, dir + "/menu_tuning.png") && ok;
    }
    { // Options.
        Screen sc;
        garageBackground(sc);
        fullScreen(sc, panel, ALPHA);
        draw(sc, setTex(TGA_MENU_OPTIONS, true), {200, 50, 667, 550}, ALPHA);
        menuList(sc, {"Accept", "Back"}, 0);
        menuButtons(sc, 0);
        print(sc, false, 210, 565, 1, rgb(1, 1, 1), "              Options");
        const char *rows[5][2] = {{"Display resolution", "1024x768"}, {"Color depth", "32 bit"},
                                  {"Depth buffer", "24 bit"}, {"Sound", "Yes"}, {"Music", "No"}};
        const int ys[5] = {450, 400, 350, 250, 200};
        for (int k = 0; k < 5; k++) {
            print(sc, false, 300, ys[k], 1, rgb(1, 1, 1), "%s", rows[k][0]);
            print(sc, false, 505, ys[k], 1, rgb(1, 1, 1), "%s", rows[k][1]);
        }
        print(sc, false, 175, 70, 1, rgb(1, 1, 1, 0.8f), "Changes will be applied ");
        print(sc, false, 175, 45, 1, rgb(1, 1, 1, 0.8f), "after reload the game.");
        ok = save(sc, dir + "/menu_options.png") && ok;
    }
    { // Every marker place on both maps, to check they sit on streets.
        for (int odd = 1; odd >= 0; odd--) {
            Screen sc;
            draw(sc, setTex(odd ? TEX_MENU_MAP_ODD : TEX_MENU_MAP_EVEN, false), {250, 80, 700, 530}, OPAQUE);
            const float places[15][2] = {{465, 250}, {320, 347}, {510, 425}, {440, 220}, {420, 390},
                                         {585, 347}, {360, 250}, {583, 272}, {450, 200}, {450, 370},
                                         {360, 280}, {610, 260}, {610, 370}, {320, 320}, {530, 300}};
            for (int r = odd ? 1 : 2; r <= 15; r += 2)
                draw(sc, setTex(r < 4 ? TGA_MENU_MARKER_PODIUM : TGA_MENU_MARKER_PLAIN, true),
                     {-10, -10, 10, 10, 0, 0, 1, 1, places[r - 1][0], places[r - 1][1]}, ALPHA);
            ok = save(sc, dir + (odd ? "/map_odd_markers.png" : "/map_even_markers.png")) && ok;
        }
    }
    return ok;
}
