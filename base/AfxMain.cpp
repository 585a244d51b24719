// The process entry point's common part: it hands the module path and the argument vector to the
// one application object and returns its exit code. An exception that gets this far is told, not
// swallowed.
#include "base/AfxMain.h"
#include "base/CException.h"
#include "base/CWinApp.h"

#include <exception>
#include <utility>

int AfxRunApplication(const CString& modulePath, int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    std::vector<CString> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    try {
        return app->Run(modulePath, std::move(arguments));
    } catch (const std::exception& error) {
        app->ReportException(error.what());
    } catch (...) {
        app->ReportException("an exception of unknown type");
    }
    return 0;
}
