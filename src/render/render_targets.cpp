// Drawing into textures. The post-processing passes and the reflection picture draw straight
// into their targets through one frame buffer object: on a software renderer every pixel drawn
// into the frame only to be copied out again costs as much as a pixel of the picture.
#include "platform/sys_files.h"
#include "render/render.h"

namespace {

GLuint framebuffer;
GLuint depthBuffer; // kReflectionSize square: the reflection is the one target drawn with depth

} // namespace

bool setUpTextureTargets()
{
    glGenFramebuffersEXT(1, &framebuffer);
    glGenRenderbuffersEXT(1, &depthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, kReflectionSize, kReflectionSize);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    // Both kinds of target must be complete, or the passes would draw nowhere and the game
    // would show stale glow and paint without a word.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, blurTextureA, 0);
    GLenum colourOnly = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, reflectionTexture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    GLenum withDepth = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    bool complete = colourOnly == GL_FRAMEBUFFER_COMPLETE_EXT && withDepth == GL_FRAMEBUFFER_COMPLETE_EXT;
    if (!complete)
        Sys_Report("the OpenGL driver cannot draw into textures (status %#x, %#x)", unsigned(colourOnly),
                   unsigned(withDepth));
    return complete;
}

void beginTextureTarget(GLuint texture, int width, int height, bool depth)
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 depth ? depthBuffer : 0);
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, width, height);
}

void endTextureTarget()
{
    glPopAttrib();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

namespace {

GLuint layerTexture, layerDepth;
GLint frameArea[4];        // the frame's viewport: the part of the frame the layer stands for
int layerWidth, layerHeight;
bool layerRefused; // the driver could not give the layer: the sprites stay in the frame

// The layer for the frame's viewport, made on first use and again if the viewport's size changes.
// Its depth buffer takes as many bits as the frame's, which a depth copy between them requires.
bool makeLayer()
{
    glGetIntegerv(GL_VIEWPORT, frameArea);
    const int width = (frameArea[2] + 1) / 2, height = (frameArea[3] + 1) / 2;
    if (layerTexture && width == layerWidth && height == layerHeight)
        return true;
    if (!layerTexture && !halfSizeLayerSupport())
        return false;
    if (layerTexture) {
        glDeleteTextures(1, &layerTexture);
        glDeleteRenderbuffersEXT(1, &layerDepth);
    }
    layerWidth = width;
    layerHeight = height;
    layerTexture = createRenderTarget(layerWidth, layerHeight, GL_RGBA);
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    glGenRenderbuffersEXT(1, &layerDepth);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, layerDepth);
    const GLenum format = bits <= 16 ? GL_DEPTH_COMPONENT16 : bits > 24 ? GL_DEPTH_COMPONENT32 : GL_DEPTH_COMPONENT24;
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, format, layerWidth, layerHeight);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    return true;
}

} // namespace

// Gives up on the layer for good, back in the frame.
static void refuseLayer()
{
    Sys_Report("the OpenGL driver cannot draw the effects at half size; they are drawn in full");
    layerRefused = true;
    endHalfSizeLayer();
}

bool beginHalfSizeLayer()
{
    if (layerRefused)
        return false;
    if (!makeLayer()) {
        layerRefused = true;
        return false;
    }
    // Errors left from before are cleared, so that one read after the copy is the copy's.
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, layerTexture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, layerDepth);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        refuseLayer();
        return false;
    }
    // The frame's depth, one pixel of each two by two: where the scene's edge crosses a texel,
    // the layer takes one side of it.
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, 0);
    glBlitFramebufferEXT(frameArea[0], frameArea[1], frameArea[0] + frameArea[2], frameArea[1] + frameArea[3], 0, 0,
                         layerWidth, layerHeight, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, framebuffer);
    if (glGetError() != GL_NO_ERROR) {
        refuseLayer();
        return false;
    }
    glViewport(0, 0, layerWidth, layerHeight);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    return true;
}

void endHalfSizeLayer()
{
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(frameArea[0], frameArea[1], frameArea[2], frameArea[3]);
}

GLuint halfSizeLayer(int *width, int *height)
{
    *width = layerWidth;
    *height = layerHeight;
    return layerTexture;
}
