// The race frame's 3D scene: the chase camera, the four cars with their wheels, and the track,
// lit per pixel by the nearest street lights.
#include "content/level.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"

// Runs a placement twice: once alone for the light transform, once on the camera for drawing.
template <typename Place>
static void drawPlaced(Model *model, Place place)
{
    if (!model)
        return;
    float placement[16];
    glPushMatrix();
    glLoadIdentity();
    place();
    glGetFloatv(GL_MODELVIEW_MATRIX, placement);
    glPopMatrix();
    prepareObjectLights(placement);
    sendObjectLights();
    glPushMatrix();
    place();
    model->draw();
    glPopMatrix();
}

void drawCars()
{
    for (const Car &car : cars) {
        if (!car.body)
            continue;
        int model = car.model >= 0 && car.model < kCarModels ? car.model : 0;
        float m[16];
        bodyTransform(car.body, m); // rotation in the upper 3x3, position in the last column
        float front = carStats[model][3] * 0.77f / 1.67f;
        float rear = carStats[model][4] * 0.77f / 1.67f;
        glColor4f(1, 1, 1, 1);
        for (int wheel = 0; wheel < 4; wheel++) {
            bool isFront = wheel >= 2;
            float side = wheel % 2 == 0 ? 1.0f : -1.0f;
            float drop = car.wheelCompression[isFront ? 0 : 2] - 0.45f;
            float spin = car.wheelSpin[isFront ? 0 : 2];
            drawPlaced(carWheelModels[model], [&] {
                glMultMatrixf(m);
                glTranslatef(isFront ? front : -rear, -drop, side);
                if (isFront)
                    glRotatef(car.steer * 57.324f, 0, 1, 0);
                glRotatef(spin, 0, 0, 1);
                if (side < 0)
                    glRotatef(-180, 1, 0, 0);
            });
        }
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, reflectionTexture);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(GL_TEXTURE_2D);
        glUniform1fARB(lightUniforms.refInt, 1.0f);
        drawPlaced(carBodyModels[model], [&] {
            glMultMatrixf(m);
            glTranslatef(0, 0.15f, 0);
        });
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(GL_TEXTURE_2D);
        glUniform1fARB(lightUniforms.refInt, 0.0f);
    }
}

void drawRaceScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);

    glUseProgramObjectARB(lightProgram);
    updateChaseCamera();
    const float light1[4] = {200, 600, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, light1);
    selectLights();
    setLightMaterial();
    drawCars();
    if (visualModel) {
        prepareObjectLights(nullptr);
        sendObjectLights();
        visualModel->draw();
    }
    glUseProgramObjectARB(0);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}
