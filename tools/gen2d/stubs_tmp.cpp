#include "gen2d.h"
bool paintGarage() { return true; }
bool paintLoading() { return true; }
bool paintMaterials() { return true; }
