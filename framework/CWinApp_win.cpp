#include "framework/CWinApp.h"
#include "framework/CWnd.h"

#include <windows.h>

void CWinApp::OnHelp() {
    if (m_pMainWnd)
        m_pMainWnd->WinHelp(0, HELP_CONTEXT);
}

BOOL CWinApp::OnCmdMsg(unsigned id) {
    // The framework's exit command closes the main window, which ends the program.
    if (id == kAppExitCommand && m_pMainWnd && m_pMainWnd->m_hWnd) {
        SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}
