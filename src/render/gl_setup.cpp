// One-time GL set-up: fixed-function state, required extensions, render targets, interface
// textures, fonts and the shader programs; the projection and camera of each frame.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <cstring>
#include <string>
#include <vector>

#include "common/common.h"
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "render/font.h"
#include "render/render.h"

PFNGLMULTITEXCOORD1FARBPROC p_glMultiTexCoord1fARB;
PFNGLMULTITEXCOORD2FARBPROC p_glMultiTexCoord2fARB;
PFNGLMULTITEXCOORD3FARBPROC p_glMultiTexCoord3fARB;
PFNGLMULTITEXCOORD4FARBPROC p_glMultiTexCoord4fARB;
PFNGLACTIVETEXTUREARBPROC p_glActiveTextureARB;
PFNGLCLIENTACTIVETEXTUREARBPROC p_glClientActiveTextureARB;

PFNGLCREATEPROGRAMOBJECTARBPROC p_glCreateProgramObjectARB;
PFNGLCREATESHADEROBJECTARBPROC p_glCreateShaderObjectARB;
PFNGLCOMPILESHADERARBPROC p_glCompileShaderARB;
PFNGLLINKPROGRAMARBPROC p_glLinkProgramARB;
PFNGLGETINFOLOGARBPROC p_glGetInfoLogARB;
PFNGLDELETEOBJECTARBPROC p_glDeleteObjectARB;
PFNGLUSEPROGRAMOBJECTARBPROC p_glUseProgramObjectARB;
PFNGLSHADERSOURCEARBPROC p_glShaderSourceARB;
PFNGLATTACHOBJECTARBPROC p_glAttachObjectARB;
PFNGLGETOBJECTPARAMETERIVARBPROC p_glGetObjectParameterivARB;
PFNGLGETUNIFORMLOCATIONARBPROC p_glGetUniformLocationARB;
PFNGLUNIFORM4FARBPROC p_glUniform4fARB;
PFNGLUNIFORM3FARBPROC p_glUniform3fARB;
PFNGLUNIFORM2FARBPROC p_glUniform2fARB;
PFNGLUNIFORM1FARBPROC p_glUniform1fARB;
PFNGLUNIFORM1IARBPROC p_glUniform1iARB;
PFNGLUNIFORMMATRIX4FVARBPROC p_glUniformMatrix4fvARB;

PFNGLGENFRAMEBUFFERSEXTPROC p_glGenFramebuffersEXT;
PFNGLBINDFRAMEBUFFEREXTPROC p_glBindFramebufferEXT;
PFNGLFRAMEBUFFERTEXTURE2DEXTPROC p_glFramebufferTexture2DEXT;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC p_glCheckFramebufferStatusEXT;
PFNGLGENRENDERBUFFERSEXTPROC p_glGenRenderbuffersEXT;
PFNGLBINDRENDERBUFFEREXTPROC p_glBindRenderbufferEXT;
PFNGLRENDERBUFFERSTORAGEEXTPROC p_glRenderbufferStorageEXT;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC p_glFramebufferRenderbufferEXT;
PFNGLDELETERENDERBUFFERSEXTPROC p_glDeleteRenderbuffersEXT;
PFNGLSECONDARYCOLORPOINTEREXTPROC p_glSecondaryColorPointerEXT;
PFNGLBINDFRAGDATALOCATIONINDEXEDPROC p_glBindFragDataLocationIndexed;
PFNGLBLITFRAMEBUFFEREXTPROC p_glBlitFramebufferEXT;
PFNGLBLENDFUNCSEPARATEEXTPROC p_glBlendFuncSeparateEXT;

GLuint sceneTexture;
GLuint blurTextureA;
GLuint glowHistory;
GLuint reflectionTexture;
GLuint brightTexture;
GLuint blurTargets[2];
int offscreenWidth = 256, offscreenHeight = 256;
int glowWidth = 128, glowHeight = 128;

namespace {

template <typename T> bool lookUp(T *pointer, const char *name)
{
    *pointer = reinterpret_cast<T>(Sys_GL_GetProcAddress(name));
    if (!*pointer)
        Sys_Report("the OpenGL driver has no %s", name);
    return *pointer != nullptr;
}

// An entry point by the name its pointer carries (p_ and the name): each name is written once.
#define LOOK_UP(name) lookUp(&p_##name, #name)

// The shader objects, frame buffer objects and the secondary colour. Every one is looked up, so
// the report names all that the driver lacks, not only the first.
bool lookUpEntryPoints()
{
    const bool found[] = {
        LOOK_UP(glCreateProgramObjectARB),
        LOOK_UP(glCreateShaderObjectARB),
        LOOK_UP(glCompileShaderARB),
        LOOK_UP(glLinkProgramARB),
        LOOK_UP(glGetInfoLogARB),
        LOOK_UP(glDeleteObjectARB),
        LOOK_UP(glUseProgramObjectARB),
        LOOK_UP(glShaderSourceARB),
        LOOK_UP(glAttachObjectARB),
        LOOK_UP(glGetObjectParameterivARB),
        LOOK_UP(glGetUniformLocationARB),
        LOOK_UP(glUniform4fARB),
        LOOK_UP(glUniform3fARB),
        LOOK_UP(glUniform2fARB),
        LOOK_UP(glUniform1fARB),
        LOOK_UP(glUniform1iARB),
        LOOK_UP(glUniformMatrix4fvARB),
        LOOK_UP(glGenFramebuffersEXT),
        LOOK_UP(glBindFramebufferEXT),
        LOOK_UP(glFramebufferTexture2DEXT),
        LOOK_UP(glCheckFramebufferStatusEXT),
        LOOK_UP(glGenRenderbuffersEXT),
        LOOK_UP(glBindRenderbufferEXT),
        LOOK_UP(glRenderbufferStorageEXT),
        LOOK_UP(glFramebufferRenderbufferEXT),
        LOOK_UP(glDeleteRenderbuffersEXT),
        LOOK_UP(glSecondaryColorPointerEXT),
    };
    return std::all_of(std::begin(found), std::end(found), [](bool f) { return f; });
}

void setFixedState()
{
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    static const GLfloat ambient[] = {0.15f, 0.15f, 0.2f, 1.0f};
    static const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat specular[] = {0.0f, 0.0f, 0.0f, 0.0f};
    static const GLfloat position[] = {200.0f, 600.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);

    // Of the material properties the current colour could drive, the specular one is the one
    // the scenes were tuned with.
    glColorMaterial(GL_FRONT, GL_SPECULAR);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
}

void setCullingAndFog()
{
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    static const GLfloat fogColor[] = {0.07f, 0.07f, 0.07f, 0.55f};
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogf(GL_FOG_DENSITY, 0.012f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 20.0f);
    glFogf(GL_FOG_END, 250.0f);
    glEnable(GL_FOG);
}

} // namespace

GLuint createRenderTarget(int width, int height, GLenum format)
{
    GLuint name = 0;
    std::vector<unsigned char> black(size_t(width) * size_t(height) * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &name);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return name;
}

bool extensionListed(const char *extensions, const char *name)
{
    if (!extensions || !name)
        return false;
    const char *line = extensions;
    while (*line) {
        // One line per name: the blank-separated list is read as if each blank were a break.
        const char *end = line;
        while (*end && *end != ' ' && *end != '\n')
            end++;
        const char *want = name;
        for (const char *p = line; p < end && *want; p++)
            if (*p == *want)
                want++;
        if (!*want)
            return true;
        line = *end ? end + 1 : end;
    }
    return false;
}

// The start-up checks say which feature the driver lacks before the game gives up.
static bool requireExtension(bool present, const char *name)
{
    if (!present)
        Sys_Report("the OpenGL driver lacks %s", name);
    return present;
}

bool dualSourceBlending()
{
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    const char *language = reinterpret_cast<const char *>(glGetString(GL_SHADING_LANGUAGE_VERSION));
    int major = 0, minor = 0;
    if (!extensions || !language || std::sscanf(language, "%d.%d", &major, &minor) != 2 ||
        major * 100 + minor < 130 || !extensionListed(extensions, "GL_ARB_blend_func_extended"))
        return false;
    p_glBindFragDataLocationIndexed =
        reinterpret_cast<PFNGLBINDFRAGDATALOCATIONINDEXEDPROC>(Sys_GL_GetProcAddress("glBindFragDataLocationIndexed"));
    return p_glBindFragDataLocationIndexed != nullptr;
}

bool halfSizeLayerSupport()
{
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    if (!extensions || !extensionListed(extensions, "GL_EXT_framebuffer_blit") ||
        !extensionListed(extensions, "GL_EXT_blend_func_separate"))
        return false;
    p_glBlitFramebufferEXT =
        reinterpret_cast<PFNGLBLITFRAMEBUFFEREXTPROC>(Sys_GL_GetProcAddress("glBlitFramebufferEXT"));
    p_glBlendFuncSeparateEXT =
        reinterpret_cast<PFNGLBLENDFUNCSEPARATEEXTPROC>(Sys_GL_GetProcAddress("glBlendFuncSeparateEXT"));
    return p_glBlitFramebufferEXT && p_glBlendFuncSeparateEXT;
}

bool isMultitextureSupported()
{
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    for (const char *name : {"GL_ARB_multitexture", "GL_EXT_texture_env_combine"})
        if (!requireExtension(extensionListed(extensions, name), name))
            return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    bool ok = true;
    ok &= LOOK_UP(glMultiTexCoord1fARB);
    ok &= LOOK_UP(glMultiTexCoord2fARB);
    ok &= LOOK_UP(glMultiTexCoord3fARB);
    ok &= LOOK_UP(glMultiTexCoord4fARB);
    ok &= LOOK_UP(glActiveTextureARB);
    ok &= LOOK_UP(glClientActiveTextureARB);
    // The drawing code switches texture units unconditionally, so a driver that names the
    // extension but lacks an entry point or a second unit cannot run the game.
    if (units < 2)
        Sys_Report("the OpenGL driver has %d texture units, the game needs 2", int(units));
    return ok && units >= 2;
}

bool initGraphics()
{
    // Checked here, acted on below: everything else is set up first so that the failure
    // arrives at the same point as the other missing-feature failures.
    bool multitexture = isMultitextureSupported();
    setFixedState();
    Sys_GL_SwapInterval(0); // no wait for the display: frame time is measured, not assumed
    setCullingAndFog();
    loadUiTextures();

    sceneTexture = createRenderTarget(screenWidth, screenHeight, GL_RGBA);
    brightTexture = createRenderTarget(offscreenWidth, offscreenHeight, GL_RGBA);
    for (GLuint &target : blurTargets)
        target = createRenderTarget(glowWidth, glowHeight, GL_RGBA);
    blurTextureA = blurTargets[0];
    glowHistory = createRenderTarget(glowWidth, glowHeight, GL_RGBA);
    reflectionTexture = createRenderTarget(kReflectionSize, kReflectionSize, GL_RGBA);
    const char *noPostFx = std::getenv("COBALT_NO_POSTFX");
    postProcessingOn = !(noPostFx && *noPostFx && std::strcmp(noPostFx, "0") != 0);

    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    std::string ext = extensions ? extensions : "";
    for (const char *name : {"GL_ARB_shading_language_100", "GL_ARB_shader_objects", "GL_EXT_framebuffer_object",
                             "GL_EXT_secondary_color"})
        if (!requireExtension(ext.find(name) != std::string::npos, name))
            return false;
    if (!multitexture)
        return false;
    if (!lookUpEntryPoints() || !setUpTextureTargets())
        return false;
    return buildShaderPrograms();
}

void resizeScene(int width, int height, double fieldOfView, double farPlane)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double aspect = double(width) / double(height);
    gluPerspective(fieldOfView, aspect, 0.1, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void applyCamera(const float eye[3], const float target[3])
{
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 1, 0);
}

void clearFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    frameHoldsScene = false;
}

void placeFixedLight(float x, float y, float z)
{
    const float position[] = {x, y, z, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, position);
}

void beginUnlit()
{
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
}

void endUnlit() { glEnable(GL_FOG); }
