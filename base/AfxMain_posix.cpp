#include "base/AfxMain.h"
#include "base/PathFunctions.h"

int main(int argc, char** argv) {
    const CString modulePath = ModulePath();
    return AfxRunApplication(modulePath.IsEmpty() && argc > 0 ? CString(argv[0]) : modulePath, argc,
                             argv);
}
