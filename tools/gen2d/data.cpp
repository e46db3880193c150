// Particle effect definitions and the default settings and career files.
#include "gen2d.h"

#include <cstring>
#include <filesystem>

namespace {

// One .eff file: 24 little-endian words, ints and floats in the loader's order.
struct EffectDef {
    const char *file;
    int particleCount;
    float maxSize;
    float gravity[3];
    float scale[3];
    float fadeScale;
    int spread[3];
    float offset[3];
    int fadeSpread;
    float fadeDivisor, fadeBase;
    float growth, startSize, energyDecay, startLife;
    int blendMode; // 1 additive
};

// Tuned against the emitter's sub-step of about 10 ms: the game drifts fire and smoke 120 units
// backwards and dust 100 units along the car's direction of travel, and moves a particle by
// velocity x scale x energy each sub-step.
const EffectDef effects[] = {
    // Exhaust fire: a short, hot additive tongue. Lives 9-16 sub-steps, about 0.8 units long.
    {"firepipe.eff", 40, 0.30f, {0.0f, 0.15f, 0.0f}, {0.0008f, 0.0008f, 0.0008f}, 1.0f, {30, 16, 30},
     {15.0f, 6.0f, 15.0f}, 50, 1000.0f, 0.06f, 0.012f, 0.10f, 0.05f, 1.0f, 1},
    // Exhaust smoke: a slow grey plume that rises and spreads while it thins out over a second.
    {"smokepipe.eff", 60, 1.10f, {0.0f, 0.5f, 0.0f}, {0.0004f, 0.0004f, 0.0004f}, 1.0f, {24, 20, 24},
     {12.0f, 4.0f, 12.0f}, 40, 4000.0f, 0.008f, 0.010f, 0.14f, 0.008f, 1.0f, 0},
    // Wheel dust: a wide pale cloud thrown sideways and up, settling as it slows.
    {"dust.eff", 80, 2.20f, {0.0f, -0.12f, 0.0f}, {0.0009f, 0.0009f, 0.0009f}, 1.0f, {60, 30, 60},
     {30.0f, 2.0f, 30.0f}, 40, 4000.0f, 0.006f, 0.020f, 0.30f, 0.015f, 1.0f, 0},
};

void putInt(std::vector<uint8_t> &v, int32_t x)
{
    uint32_t u = uint32_t(x);
    for (int i = 0; i < 4; i++)
        v.push_back(uint8_t(u >> (8 * i)));
}
void putFloat(std::vector<uint8_t> &v, float f)
{
    int32_t i;
    memcpy(&i, &f, 4);
    putInt(v, i);
}

std::vector<uint8_t> encodeEffect(const EffectDef &e)
{
    std::vector<uint8_t> v;
    putInt(v, e.particleCount);
    putInt(v, e.blendMode); // the loader reads a word here and replaces it with the last one
    putFloat(v, e.maxSize);
    for (float g : e.gravity)
        putFloat(v, g);
    for (float s : e.scale)
        putFloat(v, s);
    putFloat(v, e.fadeScale);
    for (int s : e.spread)
        putInt(v, s);
    for (float o : e.offset)
        putFloat(v, o);
    putInt(v, e.fadeSpread);
    putFloat(v, e.fadeDivisor);
    putFloat(v, e.fadeBase);
    putFloat(v, e.growth);
    putFloat(v, e.startSize);
    putFloat(v, e.energyDecay);
    putFloat(v, e.startLife);
    putInt(v, e.blendMode);
    return v;
}

// The player's own files: written only when absent so a rebuild never resets settings or a career.
bool writeIfMissing(const std::string &path, const std::vector<int32_t> &words)
{
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        return true;
    std::vector<uint8_t> v;
    for (int32_t w : words)
        putInt(v, w);
    return writeFile(path, v);
}

} // namespace

bool writeDataFiles()
{
    bool ok = true;
    for (const EffectDef &e : effects)
        ok = writeFile(gen2dBase + "/effects/" + e.file, encodeEffect(e)) && ok;

    // 800 x 600, 32-bit colour, 24-bit depth, sound and music on, mouse sensitivity 0.
    ok = writeIfMissing(gen2dBase + "/menu.inf", {1, 32, 24, 1, 1, 0}) && ok;

    // A new career: cars 0-2 open, nothing bought, no podiums, race 1 open, 350 cash, started.
    std::vector<int32_t> career(178, 0);
    career[0] = career[1] = career[2] = 1;
    career[174] = 1;   // racesOpen
    career[175] = 0;   // careerPoints
    career[176] = 350; // cash
    career[177] = 1;   // careerStarted
    ok = writeIfMissing(gen2dBase + "/career.inf", career) && ok;
    return ok;
}
