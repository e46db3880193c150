// OpenGL for the whole game: the 1.x headers plus the extension entry points the renderer looks
// up at start-up. The pointers keep the extension's own names (through the macros below) so that
// drawing code reads like any other GL code; until initGraphics has filled them they are null.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

// Multitexturing (filled by isMultitextureSupported).
extern PFNGLMULTITEXCOORD1FARBPROC p_glMultiTexCoord1fARB;
extern PFNGLMULTITEXCOORD2FARBPROC p_glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD3FARBPROC p_glMultiTexCoord3fARB;
extern PFNGLMULTITEXCOORD4FARBPROC p_glMultiTexCoord4fARB;
extern PFNGLACTIVETEXTUREARBPROC p_glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC p_glClientActiveTextureARB;

// ARB shader objects (filled by initGraphics).
extern PFNGLCREATEPROGRAMOBJECTARBPROC p_glCreateProgramObjectARB;
extern PFNGLCREATESHADEROBJECTARBPROC p_glCreateShaderObjectARB;
extern PFNGLCOMPILESHADERARBPROC p_glCompileShaderARB;
extern PFNGLLINKPROGRAMARBPROC p_glLinkProgramARB;
extern PFNGLGETINFOLOGARBPROC p_glGetInfoLogARB;
extern PFNGLDELETEOBJECTARBPROC p_glDeleteObjectARB;
extern PFNGLUSEPROGRAMOBJECTARBPROC p_glUseProgramObjectARB;
extern PFNGLSHADERSOURCEARBPROC p_glShaderSourceARB;
extern PFNGLATTACHOBJECTARBPROC p_glAttachObjectARB;
extern PFNGLGETOBJECTPARAMETERIVARBPROC p_glGetObjectParameterivARB;
extern PFNGLGETUNIFORMLOCATIONARBPROC p_glGetUniformLocationARB;
extern PFNGLUNIFORM4FARBPROC p_glUniform4fARB;
extern PFNGLUNIFORM3FARBPROC p_glUniform3fARB;
extern PFNGLUNIFORM2FARBPROC p_glUniform2fARB;
extern PFNGLUNIFORM1FARBPROC p_glUniform1fARB;
extern PFNGLUNIFORM1IARBPROC p_glUniform1iARB;
extern PFNGLUNIFORMMATRIX4FVARBPROC p_glUniformMatrix4fvARB;

// Frame buffer objects (filled by initGraphics): drawing into textures.
extern PFNGLGENFRAMEBUFFERSEXTPROC p_glGenFramebuffersEXT;
extern PFNGLBINDFRAMEBUFFEREXTPROC p_glBindFramebufferEXT;
extern PFNGLFRAMEBUFFERTEXTURE2DEXTPROC p_glFramebufferTexture2DEXT;
extern PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC p_glCheckFramebufferStatusEXT;
extern PFNGLGENRENDERBUFFERSEXTPROC p_glGenRenderbuffersEXT;
extern PFNGLBINDRENDERBUFFEREXTPROC p_glBindRenderbufferEXT;
extern PFNGLRENDERBUFFERSTORAGEEXTPROC p_glRenderbufferStorageEXT;
extern PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC p_glFramebufferRenderbufferEXT;
extern PFNGLDELETERENDERBUFFERSEXTPROC p_glDeleteRenderbuffersEXT;

// A second colour a corner (filled by initGraphics): the particles' fog, added by the plain
// program's second build.
extern PFNGLSECONDARYCOLORPOINTEREXTPROC p_glSecondaryColorPointerEXT;

// Blending with a second colour from the program (GL_ARB_blend_func_extended with GLSL 1.30),
// which the game uses where it has it: whether the driver offers it, looking up
// glBindFragDataLocationIndexed when it does.
bool dualSourceBlending();
extern PFNGLBINDFRAGDATALOCATIONINDEXEDPROC p_glBindFragDataLocationIndexed;

// Copying the frame's depth into a smaller target and blending colour and alpha apart
// (GL_EXT_framebuffer_blit, GL_EXT_blend_func_separate), which the half-size layer needs: whether
// the driver offers both, looking them up when it does.
bool halfSizeLayerSupport();
extern PFNGLBLITFRAMEBUFFEREXTPROC p_glBlitFramebufferEXT;
extern PFNGLBLENDFUNCSEPARATEEXTPROC p_glBlendFuncSeparateEXT;

#define glMultiTexCoord1fARB p_glMultiTexCoord1fARB
#define glMultiTexCoord2fARB p_glMultiTexCoord2fARB
#define glMultiTexCoord3fARB p_glMultiTexCoord3fARB
#define glMultiTexCoord4fARB p_glMultiTexCoord4fARB
#define glActiveTextureARB p_glActiveTextureARB
#define glClientActiveTextureARB p_glClientActiveTextureARB
#define glCreateProgramObjectARB p_glCreateProgramObjectARB
#define glCreateShaderObjectARB p_glCreateShaderObjectARB
#define glCompileShaderARB p_glCompileShaderARB
#define glLinkProgramARB p_glLinkProgramARB
#define glGetInfoLogARB p_glGetInfoLogARB
#define glDeleteObjectARB p_glDeleteObjectARB
#define glUseProgramObjectARB p_glUseProgramObjectARB
#define glShaderSourceARB p_glShaderSourceARB
#define glAttachObjectARB p_glAttachObjectARB
#define glGetObjectParameterivARB p_glGetObjectParameterivARB
#define glGetUniformLocationARB p_glGetUniformLocationARB
#define glUniform4fARB p_glUniform4fARB
#define glUniform3fARB p_glUniform3fARB
#define glUniform2fARB p_glUniform2fARB
#define glUniform1fARB p_glUniform1fARB
#define glUniform1iARB p_glUniform1iARB
#define glUniformMatrix4fvARB p_glUniformMatrix4fvARB
#define glGenFramebuffersEXT p_glGenFramebuffersEXT
#define glBindFramebufferEXT p_glBindFramebufferEXT
#define glFramebufferTexture2DEXT p_glFramebufferTexture2DEXT
#define glCheckFramebufferStatusEXT p_glCheckFramebufferStatusEXT
#define glGenRenderbuffersEXT p_glGenRenderbuffersEXT
#define glBindRenderbufferEXT p_glBindRenderbufferEXT
#define glRenderbufferStorageEXT p_glRenderbufferStorageEXT
#define glFramebufferRenderbufferEXT p_glFramebufferRenderbufferEXT
#define glDeleteRenderbuffersEXT p_glDeleteRenderbuffersEXT
#define glSecondaryColorPointerEXT p_glSecondaryColorPointerEXT
#define glBindFragDataLocationIndexed p_glBindFragDataLocationIndexed
#define glBlitFramebufferEXT p_glBlitFramebufferEXT
#define glBlendFuncSeparateEXT p_glBlendFuncSeparateEXT
