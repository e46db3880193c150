// Effects: the particle emitters every car carries (exhaust fire, exhaust smoke, wheel dust) and
// the marker at the player's next checkpoint.
#pragma once
#include "common/common.h"
#include "formats/effect_file.h"
#include "render/billboards.h"

#include <vector>

struct TraceLine;

// One particle of a pool. Its position is relative to wherever the emitter is drawn, so a pool
// follows its car.
struct Particle {
    float life;       // also the particle's alpha; below 0 it is dead
    float fade;       // life lost per sub-step (times fadeScale)
    float x, y, z;
    float vx, vy, vz;
    float size;       // half the diagonal of the drawn square, seen from the side
    float energy;     // scales the movement; runs down from 1 after birth
};

// A fixed pool of particles described by an effect file. Dead particles are born again at the
// origin while the emitter is emitting; a switched-off emitter lets the live ones fade out.
class ParticleEmitter {
public:
    EffectParams params{};  // from the file; the car sets params.startLife every frame
    float colourR = 1, colourG = 1, colourB = 1;
    bool emitting = true;
    std::vector<Particle> particles;

    // Reads the file and sets up the pool. A missing or damaged file leaves the pool empty, so
    // the emitter shows nothing.
    bool load(const char *fileName);
    // Every particle dead and at rest: an emitting pool is born in full on the first update.
    // The parameters are as the reader leaves them (every modulus and divisor usable).
    void setUp(const EffectParams &p);
    // Advances every particle by the step (frameTime): one sub-step, one more per 2.5
    // hundredths, at most six. drift is added to the velocity of the particles born now.
    void update(float step, const float drift[3]);
    // Every live particle as a square at origin + its position, facing eye, of a round picture
    // drawn out to `reach` (TgaTexture::reach; 1 draws it all).
    void draw(const float origin[3], const float eye[3], GLuint texture, float reach = 1) const;

    BillboardBlend blend() const { return params.blendMode == 1 ? BILLBOARD_ADD : BILLBOARD_ALPHA; }
    int liveCount() const;

private:
    void giveBirth(Particle &p, const float drift[3]) const;
    float randomFade() const;
};

// The twelve emitters, index = car number (0 is the player's).
extern ParticleEmitter fireEmitters[NUM_CARS];
extern ParticleEmitter smokeEmitters[NUM_CARS];
extern ParticleEmitter dustEmitters[NUM_CARS];

// The twelve emitters, fire, smoke and dust for cars 0 to 3, from their .eff files; once, after
// GL set-up.
void loadCarEffects();

// What a car's frame tells its three emitters: a skid level above 0.01 raises dust (and is its
// intensity), `exhaust` is the fire's intensity, `nitroBurning` turns the fire green; the smoke
// always runs at full intensity. Car 0 from the player's frame, the others from their drivers
// (which report no skid below the level at which their tyres should smoke).
void driveCarEffects(int car, float skidLevel, float exhaust, bool nitroBurning);

// The checkpoint marker's pulse; grows through every race frame. The HUD's bend arrow reads it.
extern float markerPhase;
// Once per race frame: the pulse moves on by frameTime, and while `shown` the marker is drawn
// 4 below `checkpoint`, facing eye, added to the picture in a pulsing blue, unfogged.
void drawMarker(const float checkpoint[3], const float eye[3], bool shown, GLuint texture);

// Each car's three emitters for the per-frame trace: emitting, startLife, live particles, colour.
void traceEffectFields(TraceLine &line);
