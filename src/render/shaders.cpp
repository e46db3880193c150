// Loading and linking the three GLSL programs and looking up their uniforms.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "render/render.h"

GLhandleARB lightProgram;
GLhandleARB blurProgram;
GLhandleARB hdrProgram;
LightUniforms lightUniforms;
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

bool attachShader(GLhandleARB program, GLenum type, const char *fileName)
{
    char *source = readShaderSource(fileName);
    if (!source) {
        Sys_ReportUnusable(fileName);
        return false;
    }
    GLhandleARB shader = glCreateShaderObjectARB(type);
    const GLcharARB *text = source;
    glShaderSourceARB(shader, 1, &text, nullptr);
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

bool buildProgram(const char *vertexFile, const char *fragmentFile, GLhandleARB *program)
{
    *program = glCreateProgramObjectARB();
    if (!attachShader(*program, GL_VERTEX_SHADER_ARB, vertexFile) ||
        !attachShader(*program, GL_FRAGMENT_SHADER_ARB, fragmentFile))
        return false;
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

} // namespace

bool buildShaderPrograms()
{
    if (!buildProgram("base/shaders/LightVS.glsl", "base/shaders/LightPS.glsl", &lightProgram))
        return false;
    static const char *const slot[4] = {"light", "light2", "light3", "light4"};
    for (int i = 0; i < 4; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "%sPos", slot[i]);
        lightUniforms.lightPos[i] = uniform(lightProgram, name);
        std::snprintf(name, sizeof name, "%sColor", slot[i]);
        lightUniforms.lightColor[i] = uniform(lightProgram, name);
        std::snprintf(name, sizeof name, "%sOri", slot[i]);
        lightUniforms.lightOri[i] = uniform(lightProgram, name);
        std::snprintf(name, sizeof name, "%sFocus", slot[i]);
        lightUniforms.lightFocus[i] = uniform(lightProgram, name);
    }
    lightUniforms.light5Pos = uniform(lightProgram, "light5Pos");
    lightUniforms.light5Color = uniform(lightProgram, "light5Color");
    lightUniforms.ambientColor = uniform(lightProgram, "ambientColor");
    lightUniforms.matAmbient = uniform(lightProgram, "matAmbient");
    lightUniforms.matDiffuse = uniform(lightProgram, "matDiffuse");
    lightUniforms.matSpecular = uniform(lightProgram, "matSpecular");
    lightUniforms.emissive = uniform(lightProgram, "emissive");
    lightUniforms.shininess = uniform(lightProgram, "shininess");
    lightUniforms.cameraPos = uniform(lightProgram, "cameraPos");
    lightUniforms.cameraOri = uniform(lightProgram, "cameraOri");
    lightUniforms.decal = uniform(lightProgram, "decal");
    lightUniforms.decal2 = uniform(lightProgram, "decal2");
    lightUniforms.refInt = uniform(lightProgram, "RefInt");

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
    return true;
}
