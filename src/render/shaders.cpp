// Loading and linking the GLSL programs and looking up their uniforms.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "render/render.h"

GLhandleARB lightProgram;
GLhandleARB trackLightPrograms[kTrackLightBuilds];
GLhandleARB plainPrograms[2];
GLhandleARB maskedLightProgram;
GLhandleARB blurProgram;
GLhandleARB hdrProgram;
GLhandleARB skyProgram;
LightUniforms lightUniforms;
LightUniforms trackLightUniforms[kTrackLightBuilds];
BlurUniforms blurUniforms;
HdrUniforms hdrUniforms;

char *readShaderSource(const char *fileName)
{
    std::vector<uint8_t> bytes;
    if (!fileName || !Sys_ReadWholeFile(fileName, bytes))
        return nullptr;
    // Text stops at a NUL byte, as the compiler would see it anyway.
    size_t length = strnlen(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    char *text = new (std::nothrow) char[length + 1];
    if (text) {
        std::memcpy(text, bytes.data(), length);
        text[length] = 0;
    }
    return text;
}

namespace {

// `defines` go in right after the #version line (which must come first), or at the top of a
// source without one.
bool attachShader(GLhandleARB program, GLenum type, const char *fileName, const char *defines)
{
    char *source = readShaderSource(fileName);
    if (!source) {
        Sys_ReportUnusable(fileName);
        return false;
    }
    const char *version = std::strstr(source, "#version");
    const char *rest = source;
    if (version) {
        const char *end = std::strchr(version, '\n');
        rest = end ? end + 1 : version + std::strlen(version);
    }
    std::string head(source, size_t(rest - source));
    if (version && (rest == source || rest[-1] != '\n'))
        head += '\n';
    head += defines ? defines : "";
    GLhandleARB shader = glCreateShaderObjectARB(type);
    const GLcharARB *text[2] = {head.c_str(), rest};
    glShaderSourceARB(shader, 2, text, nullptr);
    glCompileShaderARB(shader);
    // A compile error shows up in the link log, which is what gets reported.
    GLint compiled = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    glAttachObjectARB(program, shader);
    glDeleteObjectARB(shader); // released with the program
    delete[] source;
    return true;
}

} // namespace

bool buildProgram(const char *vertexFile, const char *fragmentFile, GLhandleARB *program, const char *defines,
                  const char *const *outputs)
{
    *program = glCreateProgramObjectARB();
    if (!attachShader(*program, GL_VERTEX_SHADER_ARB, vertexFile, defines) ||
        !attachShader(*program, GL_FRAGMENT_SHADER_ARB, fragmentFile, defines))
        return false;
    if (outputs)
        for (GLuint index = 0; index < 2; index++)
            glBindFragDataLocationIndexed(GLuint(*program), 0, index, outputs[index]);
    glLinkProgramARB(*program);
    GLint linked = 0;
    glGetObjectParameterivARB(*program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        static char log[4096];
        GLsizei length = 0;
        log[0] = 0;
        glGetInfoLogARB(*program, sizeof log, &length, log);
        Sys_Report("%s and %s do not link: %.*s", Sys_NativePath(vertexFile).c_str(),
                   Sys_NativePath(fragmentFile).c_str(), int(std::strcspn(log, "\n")), log);
        Sys_MessageBox(log, "Error linking shaders...", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

namespace {

GLint uniform(GLhandleARB program, const char *name) { return glGetUniformLocationARB(program, name); }

// One build of the light program and its uniforms (-1 for those the build left out).
bool buildLightProgram(const char *defines, GLhandleARB *program, LightUniforms *u)
{
    char all[240];
    std::snprintf(all, sizeof all, "#define LAMP_REACH %.1f\n#define LAMP_FOCUS %d\n#define LAMP_POWER %.2f\n%s",
                  double(kLampReach), kLampFocus, double(kLampPower), defines);
    if (!buildProgram("base/shaders/LightVS.glsl", "base/shaders/LightPS.glsl", program, all))
        return false;
    GLhandleARB p = *program;
    static const char *const slot[4] = {"light", "light2", "light3", "light4"};
    for (int i = 0; i < 4; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "%sPos", slot[i]);
        u->lightPos[i] = uniform(p, name);
        std::snprintf(name, sizeof name, "%sColor", slot[i]);
        u->lightColor[i] = uniform(p, name);
        std::snprintf(name, sizeof name, "%sOri", slot[i]);
        u->lightOri[i] = uniform(p, name);
    }
    static const struct {
        const char *name;
        GLint LightUniforms::*field;
    } named[] = {{"light5Pos", &LightUniforms::light5Pos},     {"light5Color", &LightUniforms::light5Color},
                 {"ambientColor", &LightUniforms::ambientColor}, {"matAmbient", &LightUniforms::matAmbient},
                 {"matDiffuse", &LightUniforms::matDiffuse},     {"emissive", &LightUniforms::emissive},
                 {"cameraPos", &LightUniforms::cameraPos},       {"cameraOri", &LightUniforms::cameraOri},
                 {"decal", &LightUniforms::decal},               {"decal2", &LightUniforms::decal2},
                 {"RefInt", &LightUniforms::refInt}};
    for (const auto &n : named)
        u->*n.field = uniform(p, n.name);
    return true;
}

} // namespace

bool buildShaderPrograms()
{
    if (!buildLightProgram("", &lightProgram, &lightUniforms))
        return false;
    // The track is drawn where it stands (its own axes are the world's) and every street lamp
    // points straight down, so its builds take the cone from the lamp's height alone.
    for (int lamps = 0; lamps < kTrackLightBuilds; lamps++) {
        char defines[120];
        std::snprintf(defines, sizeof defines,
                      "#define NO_PAINT\n#define LAMPS_STRAIGHT_DOWN\n#define LAMP_COUNT %d\n", lamps);
        if (!buildLightProgram(defines, &trackLightPrograms[lamps], &trackLightUniforms[lamps]))
            return false;
    }

    if (!buildProgram("base/shaders/PlainVS.glsl", "base/shaders/PlainPS.glsl", &plainPrograms[0]) ||
        !buildProgram("base/shaders/PlainVS.glsl", "base/shaders/PlainPS.glsl", &plainPrograms[1],
                      "#define FOG_ADDED\n"))
        return false;

    // The HUD's mask-and-light pictures take one pass instead of two where the driver blends with
    // a second colour from the program; elsewhere they keep their two passes.
    maskedLightProgram = 0;
    if (dualSourceBlending()) {
        static const char *const outputs[2] = {"light", "mask"};
        GLhandleARB masked = 0;
        if (buildProgram("base/shaders/MaskedVS.glsl", "base/shaders/MaskedPS.glsl", &masked, "", outputs)) {
            glUseProgramObjectARB(masked);
            glUniform1iARB(uniform(masked, "lightPicture"), 0);
            glUniform1iARB(uniform(masked, "maskPicture"), 1);
            glUseProgramObjectARB(0);
            maskedLightProgram = masked;
        }
    }

    if (!buildProgram("base/shaders/BlurVS.glsl", "base/shaders/BlurPS.glsl", &blurProgram))
        return false;
    blurUniforms.texOffset = uniform(blurProgram, "texOffset");
    blurUniforms.decal = uniform(blurProgram, "decal");

    if (!buildProgram("base/shaders/HDRVS.glsl", "base/shaders/HDRPS.glsl", &hdrProgram))
        return false;
    hdrUniforms.exposure = uniform(hdrProgram, "exposure");
    hdrUniforms.gamma = uniform(hdrProgram, "gamma");
    hdrUniforms.decal = uniform(hdrProgram, "decal");
    hdrUniforms.decal2 = uniform(hdrProgram, "decal2");

    // Both cloud layers read the one picture on unit 0, which is where samplers start.
    return buildProgram("base/shaders/SkyVS.glsl", "base/shaders/SkyPS.glsl", &skyProgram);
}
