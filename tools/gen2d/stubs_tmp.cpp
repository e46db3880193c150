#include "gen2d.h"
bool paintSky() { return true; }
bool paintHud() { return true; }
bool paintMenus() { return true; }
bool paintGarage() { return true; }
bool paintLoading() { return true; }
bool paintMaterials() { return true; }
