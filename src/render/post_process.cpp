// Post-processing: the finished frame is copied into sceneTexture, reduced to 256 x 256 through
// the HDR program (what is bright enough to glow) and blurred across and down by the blur
// program; the composite lays the blurred glow over the picture. Each pass draws into a target
// of its own, so the frame keeps the picture throughout.
#include "common/common.h"
#include "render/overlay.h"
#include "render/render.h"

bool postProcessingOn = true;
bool frameHoldsScene;

void copySceneTexture()
{
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, sceneTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, screenWidth, screenHeight);
    frameHoldsScene = true;
}

namespace {

// A target no one reads this pass: neither the picture the pass reads nor the glow history.
GLuint freeBlurTarget()
{
    for (GLuint target : blurTargets)
        if (target != blurTextureA && target != blurTextureB)
            return target;
    return blurTargets[0]; // not reached: three targets, two names
}

} // namespace

void postProcessPass(int mode, int pass)
{
    if (!postProcessingOn)
        return;
    GLuint target = freeBlurTarget();
    beginTextureTarget(target, offscreenWidth, offscreenHeight, false);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, offscreenWidth, 0, offscreenHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    // The quad covers the whole target, which has no depth buffer (so no depth test either):
    // nothing to clear.
    glColor4f(1, 1, 1, 1);

    if (mode == kPassBlur) {
        glUseProgramObjectARB(blurProgram);
        glUniform1iARB(blurUniforms.decal, 0);
        // Even passes blur across, odd ones down; a step is one texel of the small picture.
        bool across = pass % 2 == 0;
        glUniform4fARB(blurUniforms.texOffset, 1.0f / float(offscreenWidth), 1.0f / float(offscreenHeight),
                       across ? 1.0f : 0.0f, across ? 0.0f : 1.0f);
    } else {
        glUseProgramObjectARB(hdrProgram);
        glUniform1iARB(hdrUniforms.decal, 0);
        glUniform1iARB(hdrUniforms.decal2, 1);
        glUniform1fARB(hdrUniforms.exposure, 0.31f);
        glUniform1fARB(hdrUniforms.gamma, 1.4f);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, blurTextureB);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pass == 0 ? sceneTexture : blurTextureA);
    const float size[2] = {float(offscreenWidth), float(offscreenHeight)};
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(size[0], 0);
    glTexCoord2f(1, 1);
    glVertex2f(size[0], size[1]);
    glTexCoord2f(0, 1);
    glVertex2f(0, size[1]);
    glEnd();
    glUseProgramObjectARB(0);

    endTextureTarget();
    blurTextureA = target;
    // The last blur of a frame is the glow history the next frame's HDR passes read.
    if (mode == kPassBlur && pass == 2)
        blurTextureB = target;
    if (mode == kPassHdr) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void postProcessFrame()
{
    copySceneTexture();
    postProcessPass(kPassHdr, 0);
    postProcessPass(kPassBlur, 1);
    postProcessPass(kPassBlur, 2);
}

void drawComposite()
{
    // Straight after the passes the frame still holds the picture: only the glow goes over it.
    if (!frameHoldsScene) {
        OverlayQuad picture;
        picture.texture = sceneTexture;
        picture.x1 = 800;
        picture.y1 = 600;
        picture.blend = OVERLAY_OPAQUE;
        drawOverlayQuad(picture);
    }
    frameHoldsScene = false;
    if (postProcessingOn) {
        OverlayQuad glow;
        glow.texture = blurTextureA;
        glow.x1 = 800;
        glow.y1 = 600;
        glow.blend = OVERLAY_LIGHT;
        drawOverlayQuad(glow);
    }
}
