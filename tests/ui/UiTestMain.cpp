// Test program for the window: it links the program's own resources, so the real dialog
// templates are used, and it has an application object named like the program.
#include "base/CWinApp.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

namespace {
class UiTestApp : public CWinApp {
public:
    UiTestApp() : CWinApp("Revtally") {}
    void ReportException(const char* what) noexcept override {
        uitest::ReportedExceptions().push_back(what);
    }
};
UiTestApp theApp;
} // namespace

std::vector<std::string>& uitest::ReportedExceptions() {
    static std::vector<std::string> reported;
    return reported;
}

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                                       ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
