#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

LevelLight levelLights[kMaxLevelLights];
int numLevelLights;

static LightSlots slots;

static struct {
    float position[5][4];
    float direction[4][3];
    float camera[3];
} objectSpace;

void extractLights(const Model &model)
{
    int n = std::min(int(model.baked.size()), kMaxLevelLights);
    for (int i = 0; i < n; i++) {
        const BakedTriangle &t = model.baked[i];
        LevelLight &l = levelLights[i];
        l = {};
        for (int k = 0; k < 3; k++)
            l.position[k] = (t.corners[0].position[k] + t.corners[1].position[k] + t.corners[2].position[k]) * 0.33333f;
        bool hasMaterial = t.materialIndex >= 0 && t.materialIndex < model.numMaterials;
        for (int k = 0; k < 3; k++)
            l.color[k] = hasMaterial ? model.materials[t.materialIndex].emissive[k] : 1.0f;
        l.direction[1] = -1;
        l.focus = kLampFocus;
    }
    numLevelLights = n;
}

static float heading(float x, float z)
{
    float len = std::sqrt(x * x + z * z);
    if (len == 0)
        return 0;
    float a = std::acos(std::fmax(-1.0f, std::fmin(1.0f, x / len)));
    return z < 0 ? -a : a;
}

void chooseLights(LevelLight *lights, int count, const float viewPoint[3], const float viewDir[3], bool paused,
                  LightSlots *chosen)
{
    std::memcpy(chosen->viewPoint, viewPoint, sizeof chosen->viewPoint);
    float view = heading(viewDir[0], viewDir[2]);
    for (int i = 0; i < count; i++) {
        LevelLight &l = lights[i];
        float dx = l.position[0] - viewPoint[0], dz = l.position[2] - viewPoint[2];
        l.distanceSq = dx * dx + dz * dz;
        float a = heading(dx, dz) - view;
        while (a > float(M_PI))
            a -= 2 * float(M_PI);
        while (a < -float(M_PI))
            a += 2 * float(M_PI);
        l.viewAngle = std::fabs(a);
    }
    for (int i = 0; i < count; i++)
        for (int j = i + 1; j < count; j++)
            if (lights[j].distanceSq < lights[i].distanceSq) {
                LevelLight t = lights[i];
                lights[i] = lights[j];
                lights[j] = t;
            }
    int filled = 0;
    for (int i = 0; i < count && filled < 4; i++) {
        const LevelLight &l = lights[i];
        if (l.viewAngle > 1.7f && l.distanceSq > 1600.0f)
            continue;
        std::memcpy(chosen->position[filled], l.position, sizeof l.position);
        chosen->position[filled][3] = 1;
        std::memcpy(chosen->color[filled], l.color, sizeof l.color);
        std::memcpy(chosen->direction[filled], l.direction, sizeof l.direction);
        filled++;
    }
    // Unused slots are parked far below the world.
    for (int i = filled; i < 4; i++) {
        const float parked[4] = {0, -10000, 0, 1};
        std::memcpy(chosen->position[i], parked, sizeof parked);
    }
    const float fifth[4] = {paused ? 0.0f : 600.0f, paused ? 10.0f : 600.0f, 0, 1};
    const float fifthColor[3] = {paused ? 0.0f : 0.25f, paused ? 0.0f : 0.25f, paused ? 1.0f : 0.25f};
    std::memcpy(chosen->position[4], fifth, sizeof fifth);
    std::memcpy(chosen->color[4], fifthColor, sizeof fifthColor);
}

namespace {

// Uniforms belong to their program: what every build of the light program shares in a frame is
// sent to each, and the whole build is left in use.
void forEachLightBuild(void (*send)(const LightUniforms &u))
{
    for (int i = 0; i < kTrackLightBuilds; i++) {
        glUseProgramObjectARB(trackLightPrograms[i]);
        send(trackLightUniforms[i]);
    }
    glUseProgramObjectARB(lightProgram);
    send(lightUniforms);
}

} // namespace

void selectLights(const float viewPoint[3], const float viewDir[3], bool paused)
{
    chooseLights(levelLights, numLevelLights, viewPoint, viewDir, paused, &slots);
    forEachLightBuild([](const LightUniforms &u) {
        glUniform1iARB(u.decal, 0);
        glUniform1iARB(u.decal2, 1);
        for (int i = 0; i < 4; i++)
            glUniform4fARB(u.lightColor[i], slots.color[i][0], slots.color[i][1], slots.color[i][2], 1);
        glUniform4fARB(u.light5Color, slots.color[4][0], slots.color[4][1], slots.color[4][2], 1);
    });
}

void setLightMaterial()
{
    forEachLightBuild([](const LightUniforms &u) {
        glUniform4fARB(u.ambientColor, 0.2f, 0.2f, 0.2f, 1);
        glUniform4fARB(u.matAmbient, 0.5f, 0.5f, 0.5f, 1);
        glUniform4fARB(u.matDiffuse, 1, 1, 1, 1);
        glUniform4fARB(u.emissive, 0, 0, 0, 1);
    });
}

// Inverse of a 4x4 column-major matrix by Gauss-Jordan elimination with partial pivoting.
static bool invert(const float in[16], float out[16])
{
    double a[4][8];
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) {
            a[r][c] = in[c * 4 + r];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; c++) {
        int pivot = c;
        for (int r = c + 1; r < 4; r++)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (std::fabs(a[pivot][c]) < 1e-12)
            return false;
        for (int k = 0; k < 8; k++)
            std::swap(a[c][k], a[pivot][k]);
        double scale = 1.0 / a[c][c];
        for (int k = 0; k < 8; k++)
            a[c][k] *= scale;
        for (int r = 0; r < 4; r++) {
            if (r == c)
                continue;
            double f = a[r][c];
            for (int k = 0; k < 8; k++)
                a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
            out[c * 4 + r] = float(a[r][c + 4]);
    return true;
}

static void transform(const float m[16], const float in[3], float w, float out[3])
{
    for (int r = 0; r < 3; r++)
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * w;
}

void prepareObjectLights(const float *placement)
{
    static const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float inverse[16];
    if (!placement || !invert(placement, inverse))
        std::memcpy(inverse, identity, sizeof inverse);
    for (int i = 0; i < 5; i++) {
        transform(inverse, slots.position[i], 1, objectSpace.position[i]);
        objectSpace.position[i][3] = 1;
    }
    for (int i = 0; i < 4; i++)
        transform(inverse, slots.direction[i], 0, objectSpace.direction[i]);
    transform(inverse, slots.viewPoint, 1, objectSpace.camera);
}

void sendObjectLights()
{
    const LightUniforms &u = lightUniforms;
    for (int i = 0; i < 4; i++) {
        const float *p = objectSpace.position[i];
        glUniform4fARB(u.lightPos[i], p[0], p[1], p[2], 1);
        const float *d = objectSpace.direction[i];
        glUniform3fARB(u.lightOri[i], d[0], d[1], d[2]);
    }
    const float *p5 = objectSpace.position[4];
    glUniform4fARB(u.light5Pos, p5[0], p5[1], p5[2], 1);
    glUniform3fARB(u.cameraOri, objectSpace.camera[0], objectSpace.camera[1], objectSpace.camera[2]);
}

void beginLitScene()
{
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glUseProgramObjectARB(lightProgram);
}

void endLitScene()
{
    glUseProgramObjectARB(0);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}

void drawLitModel(Model *model, const Mat4 *placement)
{
    if (!model)
        return;
    prepareObjectLights(placement ? placement->m : nullptr);
    sendObjectLights();
    if (!placement) {
        model->draw(lightUniforms.emissive);
        return;
    }
    glPushMatrix();
    glMultMatrixf(placement->m);
    model->draw(lightUniforms.emissive);
    glPopMatrix();
}

namespace {

// Whether chosen street lamp `i` adds anything a pixel shows to the box (world space). Its light
// fades out at kLampReach; and as every lamp points straight down, a point h below it and d away
// gets at most (h / d) to the power kLampFocus of it, and one level with it or above nothing at
// all. A lamp whose most, with the whole diffuse factor and a white texel, stays under half a
// level of the frame's 8-bit colour changes no pixel but by a rounding.
bool lampReaches(int i, const float lo[3], const float hi[3])
{
    const float *lamp = slots.position[i];
    float d2 = 0;
    for (int axis = 0; axis < 3; axis++) {
        float p = lamp[axis];
        float out = p < lo[axis] ? lo[axis] - p : p > hi[axis] ? p - hi[axis] : 0.0f;
        d2 += out * out;
    }
    float below = lamp[1] - lo[1]; // the most any point of the box lies under the lamp
    if (d2 >= kLampReach * kLampReach || below <= 0)
        return false;
    float fade = 1 - d2 / (kLampReach * kLampReach);
    float cone = d2 > below * below ? std::pow(below * below / d2, 0.5f * kLampFocus) : 1.0f;
    return kLampPower * cone * fade * fade >= 0.5f / 255;
}

GLhandleARB inUse;                 // the track build in use while the track is drawn
int lampsSent[kTrackLightBuilds]; // per build, which lamps its slots hold (a bit each); -1: none yet

// The track's cells: the build with as many lamps as reach the cell, those lamps in its slots in
// their own order (so the sum of their light is the same as with all four, where the others add
// exactly nothing).
int trackCellShading(const float lo[3], const float hi[3], GLint *emissiveUniform)
{
    int lamps[4], count = 0, mask = 0;
    for (int i = 0; i < 4; i++)
        if (lampReaches(i, lo, hi)) {
            lamps[count++] = i;
            mask |= 1 << i;
        }
    if (inUse != trackLightPrograms[count])
        glUseProgramObjectARB(inUse = trackLightPrograms[count]);
    const LightUniforms &u = trackLightUniforms[count];
    if (lampsSent[count] != mask) {
        if (lampsSent[count] < 0) { // the build's first cell of this draw: the far light and the eye
            const float *p5 = objectSpace.position[4];
            glUniform4fARB(u.light5Pos, p5[0], p5[1], p5[2], 1);
            glUniform3fARB(u.cameraOri, objectSpace.camera[0], objectSpace.camera[1], objectSpace.camera[2]);
        }
        lampsSent[count] = mask;
        for (int k = 0; k < count; k++) {
            int i = lamps[k];
            const float *p = objectSpace.position[i];
            glUniform4fARB(u.lightPos[k], p[0], p[1], p[2], 1);
            // (No direction: the track's builds take the cone from the lamp's height.)
            glUniform4fARB(u.lightColor[k], slots.color[i][0], slots.color[i][1], slots.color[i][2], 1);
        }
    }
    *emissiveUniform = u.emissive;
    return count;
}

} // namespace

void drawLitModelInside(Model *model, const ViewVolume &volume, const HidingPicture *hiding)
{
    if (!model)
        return;
    prepareObjectLights(nullptr);
    // Each build gets the lights of this draw when its first cell comes.
    for (int &sent : lampsSent)
        sent = -1;
    inUse = 0;
    model->drawInside(volume, trackCellShading, hiding);
    glUseProgramObjectARB(lightProgram);
}

void setPaintReflection(bool on, GLuint picture)
{
    glActiveTextureARB(GL_TEXTURE1_ARB);
    if (on) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, picture ? picture : reflectionTexture);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glUniform1fARB(lightUniforms.refInt, on ? 1.0f : 0.0f);
}
