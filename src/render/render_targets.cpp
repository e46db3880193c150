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
