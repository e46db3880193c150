// The two race maps (450 x 450 on screen at (250, 80)): a night street plan in which every
// race marker of the race-select screen sits on a street. Odd races use the uptown map, even
// races the docklands map.
#include "gen2d.h"

namespace {

struct RacePoint {
    int race;
    float u, v; // map units, v up
};

// The race-select marker places, screen position minus the map's corner (250, 80).
const float racePlaces[15][2] = {{465, 250}, {320, 347}, {510, 425}, {440, 220}, {420, 390},
                                 {585, 347}, {360, 250}, {583, 272}, {450, 200}, {450, 370},
                                 {360, 280}, {610, 260}, {610, 370}, {320, 320}, {530, 300}};

struct Street {
    bool vertical;
    float at, from, to, width;
};

struct MapStyle {
    const char *name;
    uint32_t seed;
    bool waterTop; // docklands: harbour along the top; uptown: river across the lower right
};

// Streets: one through every marker (vertical or horizontal, whichever keeps the grid airy),
// then fillers so no block is wider than 62 units, then a boulevard.
std::vector<Street> layStreets(const std::vector<RacePoint> &pts, uint32_t seed)
{
    std::vector<float> xs = {0, 450}, ys = {0, 450};
    std::vector<Street> out;
    auto nearest = [](const std::vector<float> &v, float a) {
        float d = 1e9f;
        for (float x : v)
            d = std::min(d, std::fabs(x - a));
        return d;
    };
    for (const RacePoint &p : pts) {
        if (nearest(xs, p.u) < 1.0f || nearest(ys, p.v) < 1.0f)
            continue;
        if (nearest(xs, p.u) >= nearest(ys, p.v))
            xs.push_back(p.u);
        else
            ys.push_back(p.v);
    }
    std::vector<float> markerXs(xs.begin() + 2, xs.end()), markerYs(ys.begin() + 2, ys.end());
    auto fill = [&](std::vector<float> &v) {
        std::sort(v.begin(), v.end());
        std::vector<float> add;
        for (size_t i = 1; i < v.size(); i++) {
            float gap = v[i] - v[i - 1];
            int n = int(gap / 62.0f);
            for (int k = 1; k <= n; k++)
                add.push_back(v[i - 1] + gap * k / (n + 1));
        }
        v.insert(v.end(), add.begin(), add.end());
        std::sort(v.begin(), v.end());
    };
    fill(xs);
    fill(ys);
    int idx = 0;
    for (int dir = 0; dir < 2; dir++)
        for (float a : dir ? ys : xs) {
            if (a <= 0 || a >= 450)
                continue;
            const std::vector<float> &mk = dir ? markerYs : markerXs;
            bool carriesMarker = nearest(mk, a) < 0.5f;
            float r = hash2(idx++, 3, seed);
            Street s{dir == 0, a, -10, 460, r > 0.78f ? 5.0f : 3.2f};
            // Some side streets stop at a cross street: the city is not a perfect grid.
            if (!carriesMarker && r < 0.35f) {
                float cut = 80 + hash2(idx, 4, seed) * 290;
                if (hash2(idx, 5, seed) > 0.5f)
                    s.from = cut;
                else
                    s.to = cut;
            }
            out.push_back(s);
        }
    return out;
}

Image raceMap(const MapStyle &style, const std::vector<RacePoint> &pts)
{
    UnitFrame f{512, 512, 450, 450};
    Image img = makeImage(f.w, f.h, hexColor(0x060a16));
    std::vector<Street> streets = layStreets(pts, style.seed);

    // Building footprints: jittered lots in a fine grid, lit by window light in places.
    shadeAll(img, [&](float x, float y, Color c) {
        float u = f.u(x), v = f.v(y);
        int lx = int(u / 14), ly = int(v / 14);
        float fx = u / 14 - lx, fy = v / 14 - ly;
        float h = hash2(lx, ly, style.seed + 5);
        if (fx > 0.12f && fx < 0.88f && fy > 0.12f && fy < 0.88f && h > 0.18f)
            c = mix(hexColor(0x0d1530), hexColor(0x172444), hash2(lx, ly, style.seed + 6));
        return c;
    });
    // Park: a soft green patch where no marker is.
    float parkU = style.waterTop ? 400 : 55, parkV = style.waterTop ? 60 : 395;
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, parkU, parkV, 48, 40, 10); },
              [&](float u, float v) {
                  float n = fbm(u / 12, v / 12, 0, 0, 3, style.seed + 9);
                  return mix(hexColor(0x0b2418), hexColor(0x12382a), n);
              });
    auto park = [&](float u, float v) { return sdBox(u, v, parkU, parkV, 48, 40, 10); };
    // Water.
    auto water = [&](float u, float v) {
        if (style.waterTop)
            return (382 + 10 * std::sin(u / 40.0f)) - v; // harbour along the top
        // A river sweeping across the lower right corner.
        float d = sdSegment(u, v, 470, 150, 260, -20);
        return d - 24 - 6 * std::sin(u / 23.0f);
    };
    fillUnits(img, f, water, [&](float u, float v) {
        float ripple = 0.5f + 0.5f * std::sin(u * 0.9f + v * 0.35f + fbm(u / 20, v / 20, 0, 0, 2, 3u) * 6);
        return mix(hexColor(0x08214a), hexColor(0x0d2c60), ripple * 0.6f);
    });
    if (style.waterTop) // piers into the harbour
        for (int k = 0; k < 6; k++) {
            float u = 30 + k * 72;
            fillUnits(img, f, [&](float uu, float vv) { return sdBox(uu, vv, u, 410, 7, 30, 1); },
                      [&](float, float) { return hexColor(0x2a3450); });
        }

    // Streets: a dark casing, then the asphalt; wide ones are main roads in sodium light.
    for (int pass = 0; pass < 2; pass++)
        for (const Street &s : streets) {
            bool main = s.width > 4;
            float cx = s.vertical ? s.at : (s.from + s.to) * 0.5f, cy = s.vertical ? (s.from + s.to) * 0.5f : s.at;
            float hw = s.vertical ? s.width * 0.5f : (s.to - s.from) * 0.5f;
            float hh = s.vertical ? (s.to - s.from) * 0.5f : s.width * 0.5f;
            float grow = pass == 0 ? 1.6f : 0.0f;
            fillUnitsBox(img, f, cx - hw - 3, cy - hh - 3, cx + hw + 3, cy + hh + 3,
                         [&](float u, float v) {
                             float d = sdBox(u, v, cx, cy, hw + grow, hh + grow);
                             // Minor streets do not cross water; main roads are bridges.
                             if (!main && water(u, v) < 0)
                                 d = std::max(d, -water(u, v));
                             d = std::max(d, -park(u, v) - 2);
                             return d;
                         },
                         [&](float, float) {
                             if (pass == 0)
                                 return hexColor(0x03050b);
                             return main ? hexColor(0xb08850) : hexColor(0x5a6a88);
                         });
        }
    // Boulevard: one diagonal main road.
    float bx0 = 0, by0 = style.waterTop ? 40 : 250, bx1 = 300, by1 = style.waterTop ? 372 : 450;
    for (int pass = 0; pass < 2; pass++)
        fillUnits(img, f, [&](float u, float v) { return sdSegment(u, v, bx0, by0, bx1, by1) - (pass ? 2.6f : 4.2f); },
                  [&](float, float) { return pass ? hexColor(0xc09a60) : hexColor(0x03050b); });

    // Race numbers beside their markers.
    for (const RacePoint &p : pts) {
        std::string n = std::to_string(p.race);
        float tx = p.u + 12, ty = p.v + 8;
        if (tx > 430)
            tx = p.u - 22;
        TextMetrics tm = measureText(FONT_SANS_BOLD, 11 * f.sy(), n);
        fillUnits(img, f, [&](float u, float v) {
            return sdBox(u, v, tx + f.u(tm.width) * 0.5f, ty + 4, f.u(tm.width) * 0.5f + 3, 7, 3);
        }, [&](float, float) { return rgb(0.02f, 0.03f, 0.08f, 0.85f); });
        Mask m = textMask(f.w, f.h, FONT_SANS_BOLD, 11 * f.sy(), n, f.px(tx), f.py(ty));
        paintMaskColor(img, m, 0, 0, pal::sodiumPale);
    }
    // Name plate, compass and frame.
    Mask name = textMask(f.w, f.h, FONT_SANS_BOLD_OBLIQUE, 17 * f.sy(), style.name, f.px(14), f.py(14), 3);
    Mask shadow = name;
    blurMask(shadow, 3);
    paintMaskColor(img, shadow, 0, 0, rgb(0, 0, 0, 0.9f), BLEND_OVER, 3);
    paintMaskColor(img, name, 0, 0, pal::lampWhite);
    std::vector<float> needle = {425, 440, 419, 418, 425, 422, 431, 418};
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, needle); },
              [&](float, float) { return pal::sodium; });
    Mask nMark = textMaskCentred(f.w, f.h, FONT_SANS_BOLD, 10 * f.sy(), "N", f.px(425), f.py(404));
    paintMaskColor(img, nMark, 0, 0, pal::lampWhite);
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, 225, 225, 223, 223, 4)) - 1.0f; },
              [&](float, float) { return pal::cyan; });
    return img;
}

} // namespace

bool paintRaceMaps()
{
    std::vector<RacePoint> odd, even;
    for (int r = 1; r <= 15; r++) {
        RacePoint p{r, racePlaces[r - 1][0] - 250, racePlaces[r - 1][1] - 80};
        (r % 2 ? odd : even).push_back(p);
    }
    bool ok = saveSetBmp(TEX_MENU_MAP_ODD, raceMap({"UPTOWN", 101u, false}, odd), "race map odd races");
    ok = saveSetBmp(TEX_MENU_MAP_EVEN, raceMap({"DOCKLANDS", 202u, true}, even), "race map even races") && ok;
    return ok;
}
