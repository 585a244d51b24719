#include "ui/ShellDocuments.h"

#include "framework/AfxMessageBox.h"
#include "framework/LateBound.h"
#include "base/CFile.h"
#include "base/CWinApp.h"
#include "framework/ProgramResources.h"
#include "framework/Win32Text.h"
#include "registry/ProjectRecord.h"
#include "base/PathFunctions.h"
#include "res/resource.h"
#include "stamp/VersionHistory.h"

#include <shellapi.h>

namespace {
constexpr char kHelpFileName[] = "Revtally.chm";
constexpr char kHelpViewer[] = "hh.exe";

void Tell(UINT message) {
    if (message)
        AfxMessageBox(LoadResourceString(message), MB_ICONEXCLAMATION);
}
} // namespace

INT_PTR shell_documents::Open(HWND owner, const CString& file, int show,
                              const CString& parameters) {
    static const auto shellExecute =
        LateBound<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    // Without the shell there is no program to open the document with.
    if (!shellExecute)
        return SE_ERR_NOASSOC;
    return reinterpret_cast<INT_PTR>(shellExecute(owner, "open", file, parameters, "", show));
}

void shell_documents::ShowHelp(HWND owner) {
    if (HWND viewer = FindWindowA(nullptr, kHelpWindowTitle)) {
        ShowWindow(viewer, SW_SHOWNORMAL);
        return;
    }
    // Beside the program, not in the current folder: a window started by a build has the
    // build's folder as its current folder.
    const CString helpFile = ExtractDirectory(AfxGetApp()->GetModulePath()) + kHelpFileName;
    if (!CFile::Exists(helpFile)) {
        Tell(IDS_HELP_NOT_FOUND);
        return;
    }
    // The file holds the help in both languages; the viewer opens it at the first page of the
    // window's own, and its window definition gives the viewer its title.
    const char* page =
        PRIMARYLANGID(WindowLanguage()) == LANG_JAPANESE ? "::/ja/index.html" : "::/en/index.html";
    const INT_PTR result = Open(owner, kHelpViewer, SW_SHOWNORMAL, "\"" + helpFile + page + "\"");
    // No viewer to start is a viewer that is not installed properly.
    Tell(result == SE_ERR_FNF || result == SE_ERR_PNF || result == SE_ERR_NOASSOC
             ? IDS_HELP_NO_VIEWER
             : 0);
}

void shell_documents::CloseHelp() {
    if (HWND help = FindWindowA(nullptr, kHelpWindowTitle))
        PostMessageA(help, WM_CLOSE, 0, 0);
}

void shell_documents::ShowHistory(HWND owner, const ProjectRecord& project) {
    const INT_PTR result = Open(owner, HistoryFilePath(project.directory, project.name), SW_SHOW);
    Tell(result == SE_ERR_FNF || result == SE_ERR_PNF ? IDS_HISTORY_NOT_FOUND
         : result == SE_ERR_ACCESSDENIED              ? IDS_HISTORY_IN_USE
         : result == ERROR_BAD_FORMAT                 ? IDS_HISTORY_DAMAGED
                                                      : 0);
}
