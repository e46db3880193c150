// Particle emitters: fixed pools described by effect files, advanced in sub-steps so that a
// slow frame moves the particles as far as several fast ones would, and drawn as squares that
// face the camera.
#include "effects/effects.h"
#include "common/common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

ParticleEmitter fireEmitters[NUM_CARS];
ParticleEmitter smokeEmitters[NUM_CARS];
ParticleEmitter dustEmitters[NUM_CARS];

bool ParticleEmitter::load(const char *fileName)
{
    EffectParams p;
    if (!readEffectFile(fileName, &p)) {
        particles.clear();
        return false;
    }
    setUp(p);
    return true;
}

float ParticleEmitter::randomFade() const
{
    return float(std::rand() % params.fadeSpread) / params.fadeDivisor + params.fadeBase;
}

void ParticleEmitter::setUp(const EffectParams &p)
{
    params = p;
    particles.assign(size_t(p.particleCount), Particle{});
    for (Particle &q : particles) {
        q.life = 0;
        q.fade = randomFade();
        q.size = p.startSize;
        q.energy = p.startLife;
    }
    colourR = colourG = colourB = 1.0f;
}

void ParticleEmitter::giveBirth(Particle &p, const float drift[3]) const
{
    p.life = params.startLife;
    p.fade = randomFade();
    p.x = p.y = p.z = 0;
    // One fresh random number each, in the order fade, x, y, z.
    p.vx = float(std::rand() % params.spread[0]) - params.offset[0] + drift[0];
    p.vy = float(std::rand() % params.spread[1]) - params.offset[1] + drift[1];
    p.vz = float(std::rand() % params.spread[2]) - params.offset[2] + drift[2];
    p.size = params.startSize;
    p.energy = 1.0f;
}

void ParticleEmitter::update(float step, const float drift[3])
{
    // One sub-step per 2.5 hundredths beyond the first, at most six: a long frame costs at most
    // six short ones. (Written so that a step that is not a number gives one sub-step.)
    float extra = step * 0.4f;
    int subSteps = 1 + (extra >= 5 ? 5 : extra >= 1 ? int(extra) : 0);
    const EffectParams &e = params;
    for (Particle &p : particles) {
        for (int s = 0; s < subSteps; s++) {
            p.vx += e.gravity[0];
            p.vy += e.gravity[1];
            p.vz += e.gravity[2];
            if (p.energy > 0)
                p.energy -= e.energyDecay;
            p.x += p.vx * e.scale[0] * p.energy;
            p.y += p.vy * e.scale[1] * p.energy;
            p.z += p.vz * e.scale[2] * p.energy;
            p.life -= p.fade * e.fadeScale;
            if (p.size < e.maxSize)
                p.size += e.growth;
            if (p.life < 0 && emitting)
                giveBirth(p, drift);
        }
    }
}

void ParticleEmitter::draw(const float origin[3], const float eye[3], GLuint texture, float reach) const
{
    if (particles.empty())
        return;
    static std::vector<RoundSprite> sprites;
    sprites.clear();
    for (const Particle &p : particles) {
        // Life is the alpha: a dead particle would draw nothing visible, so it is not drawn.
        if (p.life > 0)
            sprites.push_back({{origin[0] + p.x, origin[1] + p.y, origin[2] + p.z}, p.size, {colourR, colourG, colourB, p.life}});
    }
    beginBillboards(texture, blend());
    drawFacingRounds(sprites.data(), int(sprites.size()), eye, reach); // the puff and the flame are round
    endBillboards();
}

int ParticleEmitter::liveCount() const
{
    return int(std::count_if(particles.begin(), particles.end(), [](const Particle &p) { return p.life > 0; }));
}

void loadCarEffects()
{
    static const struct {
        ParticleEmitter *emitters;
        const char *file;
    } kinds[] = {
        {fireEmitters, "base/effects/firepipe.eff"},
        {smokeEmitters, "base/effects/smokepipe.eff"},
        {dustEmitters, "base/effects/dust.eff"},
    };
    for (const auto &kind : kinds)
        for (int car = 0; car < NUM_CARS; car++)
            kind.emitters[car].load(kind.file);
}

void driveCarEffects(int car, float skidLevel, float exhaust, bool nitroBurning)
{
    if (car < 0 || car >= NUM_CARS)
        return;
    ParticleEmitter &dust = dustEmitters[car];
    dust.params.startLife = skidLevel;
    dust.emitting = skidLevel > 0.01f;

    ParticleEmitter &fire = fireEmitters[car];
    fire.colourR = fire.colourB = nitroBurning ? 0.0f : 1.0f;
    fire.colourG = 1.0f;
    fire.params.startLife = exhaust;
    fire.emitting = true;

    ParticleEmitter &smoke = smokeEmitters[car];
    smoke.params.startLife = 1.0f;
    smoke.emitting = true;
}

float markerPhase;

void drawMarker(const float checkpoint[3], const float eye[3], bool shown, GLuint texture)
{
    markerPhase += 1.5f * frameTime;
    if (!shown)
        return;
    float s = std::sin(0.05f * markerPhase);
    const float colour[4] = {0, 0.35f + 0.15f * s, 0.7f + 0.3f * s, 1};
    // Waypoints ride 4 above the road: the beacon stands on the road, wider than it and taller
    // than the cars.
    const float centre[3] = {checkpoint[0], checkpoint[1] - 4.0f, checkpoint[2]};
    const float scale[3] = {22, 18, 22};
    beginBillboards(texture, BILLBOARD_ADD, false); // a beacon: seen from afar, through the fog
    drawFacingSquare(centre, eye, scale, colour);
    endBillboards();
}

void traceEffectFields(TraceLine &line)
{
    static const struct {
        const char *name;
        const ParticleEmitter *emitters;
    } kinds[] = {{"fire", fireEmitters}, {"smoke", smokeEmitters}, {"dust", dustEmitters}};
    std::string list = "[";
    for (int car = 0; car < NUM_CARS; car++) {
        TraceLine one;
        for (const auto &kind : kinds) {
            const ParticleEmitter &e = kind.emitters[car];
            TraceLine fields;
            fields.field("emitting", e.emitting);
            fields.field("startLife", double(e.params.startLife));
            fields.field("live", e.liveCount());
            char colour[64];
            std::snprintf(colour, sizeof colour, "[%.3g,%.3g,%.3g]", e.colourR, e.colourG, e.colourB);
            fields.fieldRaw("colour", colour);
            one.fieldRaw(kind.name, fields.text + "}");
        }
        list += (car ? "," : "") + one.text + "}";
    }
    line.fieldRaw("effects", list + "]");
}
