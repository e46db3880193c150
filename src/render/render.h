// The renderer's shared state: GL set-up, render targets, shader programs and their uniform
// locations. Texture sets are in images.h, models in ms3d.h, text in font.h.
#pragma once
#include "render/gl_ext.h"
#include "render/font.h"
#include "render/images.h"

// Post-processing and reflection targets.
extern int offscreenWidth, offscreenHeight; // size of the blur targets
extern GLuint sceneTexture;      // screenWidth x screenHeight
extern GLuint blurTextureA;      // offscreenWidth x offscreenHeight
extern GLuint blurTextureB;      // offscreenWidth x offscreenHeight, one frame of glow history
extern GLuint reflectionTexture; // 256 x 256
constexpr int kReflectionSize = 256;

// Runs once when the window and its GL context exist. False when the card lacks what the game
// needs (multitexturing, GLSL) or a shader program cannot be built.
bool initGraphics();
bool isMultitextureSupported();
// Viewport and perspective projection (degrees of vertical view, far clipping distance); the
// modelview is left at the identity.
void resizeScene(int width, int height, double fieldOfView, double farPlane);
// Multiplies the modelview by the look from eye at target, y up.
void applyCamera(const float eye[3], const float target[3]);
// Clears colour and depth and resets the modelview: the start of every frame's drawing.
void clearFrame();
// The fixed-function light, placed through the current modelview (0, 0, 0: at the eye).
void placeFixedLight(float x, float y, float z);
// The start-up loading screen: picture 0, or picture 1 with "Loading...".
void drawLoadingScreen(int image);
// Saves the back buffer, as the player is about to see it, as a PNG; false when it cannot.
bool saveScreenshot(const char *path);

// ---- sky ----
extern float skyScroll; // the clouds' drift; grows through every race frame
void drawSkyDome();     // with the camera on the modelview, colour white, texturing on
// Boxes by centre x, bottom y, centre z and width (x), height (y), length (z).
void drawHorizonBand(float x, float y, float z, float width, float height, float length);
void drawSkyBox(float x, float y, float z, float width, float height, float length);

// ---- post-processing ----
void copySceneTexture(); // the finished frame into sceneTexture, for post-processing
void postProcessPass(int mode, int pass);
// The finished picture on the 2D screen: sceneTexture opaque, the blurred glow added over it.
// The HUD and the menus draw it first.
void drawComposite();

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
