// The renderer's shared state: GL set-up, render targets, shader programs and their uniform
// locations. Texture sets are in images.h, models in ms3d.h, text in font.h.
#pragma once
#include "render/gl_ext.h"
#include "render/font.h"
#include "render/images.h"

// Post-processing and reflection targets.
extern GLuint sceneTexture;      // screenWidth x screenHeight
extern GLuint blurTextureA;      // offscreenWidth x offscreenHeight
extern GLuint blurTextureB;      // offscreenWidth x offscreenHeight, one frame of glow history
extern GLuint reflectionTexture; // 256 x 256
constexpr int kReflectionSize = 256;

// Runs once when the window and its GL context exist. False when the card lacks what the game
// needs (multitexturing, GLSL) or a shader program cannot be built.
bool initGraphics();
bool isMultitextureSupported();
// Viewport and projection for the current mode: a speed-dependent wide view in a race, a
// narrow one in the menus.
void resizeScene(int width, int height);

// ---- scenes and post-processing ----
void renderReflection(bool inRace);
void drawRaceScene();
void drawCars();
void drawGarageScene();
void copySceneTexture(); // the finished frame into sceneTexture, for post-processing
void postProcessPass(int mode, int pass);

// Extension test of the multitexture check: within one blank-separated name of `extensions`,
// the characters of `name` occur in order. (So "GL_ARB_multitexture" is also satisfied by a
// longer name that starts with it.)
bool extensionListed(const char *extensions, const char *name);

// ---- shader programs ----
extern GLhandleARB lightProgram;
extern GLhandleARB blurProgram;
extern GLhandleARB hdrProgram;

struct LightUniforms {
    GLint lightPos[4];   // "lightPos", "light2Pos", ... object space, w = 1
    GLint lightColor[4];
    GLint lightOri[4];   // spot direction, object space
    GLint lightFocus[4]; // spot exponent (int)
    GLint light5Pos;
    GLint light5Color;
    GLint ambientColor;
    GLint matAmbient;
    GLint matDiffuse;
    GLint matSpecular;
    GLint emissive;
    GLint shininess;
    GLint cameraPos;
    GLint cameraOri; // camera position in object space
    GLint decal;     // unit 0: surface
    GLint decal2;    // unit 1: reflection
    GLint refInt;    // "RefInt": reflection strength
};
struct BlurUniforms {
    GLint texOffset; // (step x, step y, horizontal, vertical)
    GLint decal;
};
struct HdrUniforms {
    GLint exposure;
    GLint gamma;
    GLint decal;  // unit 0: picture
    GLint decal2; // unit 1: last frame's blurred glow, as luminance
};
extern LightUniforms lightUniforms;
extern BlurUniforms blurUniforms;
extern HdrUniforms hdrUniforms;

// Whole text of a shader file (new[]-allocated, NUL-terminated), or null when it cannot be read.
char *readShaderSource(const char *fileName);
// Builds one program from two files. A missing file or a failed link gives false; a link
// failure also shows its info log in a message box.
bool buildProgram(const char *vertexFile, const char *fragmentFile, GLhandleARB *program);
// The three game programs with their uniform locations, in the order light, blur, HDR.
bool buildShaderPrograms();
