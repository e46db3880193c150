// Rendering: GL set-up, images and texture sets, models, shader programs, scenes, sky, font.
#pragma once

bool initGraphics();
bool isMultitextureSupported();
void resizeScene(int width, int height);
void deleteFonts();
void loadTextureSet();
void renderReflection(bool inRace);
void drawRaceScene();
void drawGarageScene();
void copySceneTexture(); // the finished frame into sceneTexture, for post-processing
void postProcessPass(int mode, int pass);
void printSmall(int x, int y, int set, const char *format, ...);
void printLarge(int x, int y, int set, const char *format, ...);
void drawStartCountdown();
