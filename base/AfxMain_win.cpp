#include "base/AfxMain.h"
#include "base/PathFunctions.h"

#include <cstdlib>

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return AfxRunApplication(ModulePath(), __argc, __argv);
}
