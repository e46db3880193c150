// The garage tunnel behind the menus. The wall wraps round a long cylinder (twice around, twice
// along 400 units), so anything that runs along the texture's t axis is stretched about twelve
// times: the wall is built from lines along the tunnel (light strips, cable runs, seams) and
// rings across it (ribs and light bands) that scroll past as the tunnel moves.
#include "gen2d.h"

namespace {

Image tunnelWall()
{
    const int W = 512, H = 512;
    Image img = makeImage(W, H, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        float s = x / W, t = y / H;
        float n = fbm(s * 16, t * 4, 16, 4, 3, 91u);
        Color c = mix(hexColor(0x0d1422), hexColor(0x182236), n);
        // Panel seams along the tunnel every 1/16 turn.
        float seam = std::fabs(std::fmod(s * 16 + 0.5f, 1.0f) - 0.5f);
        if (seam < 0.04f)
            c = scaled(c, 0.55f);
        // Two light strips per half turn: white core, cobalt spill.
        for (float at : {0.12f, 0.62f}) {
            float d = std::fabs(s - at) * W;
            float core = std::exp(-d * d / 6.0f);
            float spill = std::exp(-d / 14.0f) * 0.45f;
            c = rgb(c.r + core * 0.9f + spill * 0.12f, c.g + core * 0.95f + spill * 0.3f, c.b + core + spill * 0.8f);
        }
        // Cable tray: a dark band with sodium marker lamps.
        float tray = std::fabs(s - 0.36f) * W;
        if (tray < 10)
            c = mix(c, hexColor(0x07090f), 0.8f);
        if (tray < 3 && std::fmod(t * 16, 1.0f) < 0.12f)
            c = pal::sodium;
        // Ribs round the tunnel every eighth, a bright ring light every quarter.
        float rib = std::fabs(std::fmod(t * 8 + 0.5f, 1.0f) - 0.5f) * H / 8;
        if (rib < 5)
            c = mix(c, hexColor(0x05070c), 0.7f * (1 - rib / 5));
        float ring = std::fabs(std::fmod(t * 4 + 0.25f, 1.0f) - 0.5f) * H / 4;
        float rl = std::exp(-ring * ring / 3.0f);
        c = rgb(c.r + rl * 0.35f, c.g + rl * 0.75f, c.b + rl * 0.95f);
        return rgb(clamp01(c.r), clamp01(c.g), clamp01(c.b));
    });
    return img;
}

// The lit strip beside the car: glossy floor with guide lights that stream past.
Image floorStrip()
{
    const int W = 256, H = 512;
    Image img = makeImage(W, H, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        float s = x / W, t = y / H;
        // Mirror about s = 0.25 so the half the game shows is symmetric and the rest tiles.
        float m = std::fabs(std::fmod(s + 0.25f, 0.5f) - 0.25f); // 0 at the centre line, 0.25 at the edges
        float n = fbm(s * 8, t * 16, 8, 16, 3, 61u);
        Color c = mix(hexColor(0x0a0d14), hexColor(0x161b26), n);
        // Reflection of the ring lights as soft bands across the floor.
        float band = std::fabs(std::fmod(t * 8 + 0.5f, 1.0f) - 0.5f);
        c = rgb(c.r + 0.05f * std::exp(-band * band * 200), c.g + 0.12f * std::exp(-band * band * 200),
                c.b + 0.2f * std::exp(-band * band * 200));
        // Centre guide lights.
        float dash = std::fmod(t * 32, 1.0f);
        if (m < 0.012f && dash < 0.45f)
            c = mix(c, pal::sodiumPale, 0.9f);
        else if (m < 0.03f && dash < 0.45f)
            c = mix(c, pal::sodium, 0.35f * (1 - m / 0.03f));
        // Edge light lines.
        float e = std::fabs(m - 0.22f) * W;
        float el = std::exp(-e * e / 4.0f);
        c = rgb(c.r + el * 0.15f, c.g + el * 0.4f, c.b + el * 0.55f);
        if (m > 0.235f)
            c = scaled(c, 0.5f);
        return rgb(clamp01(c.r), clamp01(c.g), clamp01(c.b));
    });
    return img;
}

} // namespace

bool paintGarage()
{
    bool ok = saveSetTga(TGA_GARAGE_STRIP, floorStrip(), false, "garage lit strip");
    ok = saveSetTga(TGA_GARAGE_WALL, tunnelWall(), false, "garage tunnel wall") && ok;
    return ok;
}
