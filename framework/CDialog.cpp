#include "framework/CDialog.h"

#include "framework/CDataExchange.h"
#include "base/CException.h"
#include "framework/CUserException.h"
#include "framework/FrameworkIds.h"
#include "framework/ProgramResources.h"
#include "base/CWinApp.h"

#include <cstring>
#include <exception>
#include <vector>

namespace {
HWND MainWindow() {
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

// Offsets of the style in the two template layouts.
constexpr size_t kExtendedStyleOffset =
    12;                                 // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style
constexpr size_t kPlainStyleOffset = 0; // DLGTEMPLATE: style first

// Messages whose answer is the dialog procedure's own return value, not DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    if (m_hWnd) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
}

HWND CDialog::CreateFromTemplate(HWND owner) {
    const ProgramResource found = FindProgramResource(RT_DIALOG, m_templateId);
    if (!found.data)
        return nullptr;
    // The window is made hidden and shown when the caller wants it, not by the dialog manager.
    const auto* data = static_cast<const unsigned char*>(found.data);
    std::vector<unsigned char> copy(data, data + found.size);
    WORD signature = 0;
    std::memcpy(&signature, copy.data() + 2, sizeof signature);
    const size_t styleAt = signature == 0xFFFF ? kExtendedStyleOffset : kPlainStyleOffset;
    DWORD style = 0;
    std::memcpy(&style, copy.data() + styleAt, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(copy.data() + styleAt, &style, sizeof style);
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), owner,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create() {
    return CreateFromTemplate(m_parent ? m_parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal() {
    // Without a parent the main window owns the dialog, so it stays above it and the main
    // window waits while it is open.
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd && app->m_pMainWnd != this)
            owner = app->m_pMainWnd->m_hWnd;
    }
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    m_modalResult = -1;
    m_inModalLoop = true;
    // A modal dialog is shown once the queue runs empty whatever its template says, as the
    // system's own modal dialogs are.
    if (CreateFromTemplate(owner) && m_inModalLoop)
        RunModalLoop();
    m_inModalLoop = false;
    if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (disableOwner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (m_hWnd)
        DestroyWindow();
    return m_modalResult;
}

void CDialog::RunModalLoop() {
    // The window is shown once, when the queue first runs empty: by then initialisation and
    // whatever it posted have run, and a window that hid itself meanwhile stays hidden.
    bool pendingShow = true;
    MSG message;
    while (m_inModalLoop && m_hWnd) {
        if (pendingShow && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            pendingShow = false;
            ShowWindow(SW_SHOWNORMAL);
            UpdateWindow(m_hWnd);
            continue;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!m_hWnd || !IsDialogMessageA(m_hWnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void CDialog::EndDialog(int result) {
    m_modalResult = result;
    m_inModalLoop = false;
    if (m_hWnd)
        PostMessageA(m_hWnd, WM_NULL, 0, 0); // wake the loop so it sees the end
}

BOOL CDialog::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    const bool wasExchanging = m_exchanging;
    m_exchanging = true;
    BOOL ok = TRUE;
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        ok = FALSE;
    }
    m_exchanging = wasExchanging;
    return ok;
}

bool CDialog::CallHandler(const MessageMapEntry& entry, WPARAM wParam, LPARAM lParam,
                          LRESULT& result) {
    const AnyHandler& handler = entry.handler;
    switch (entry.shape) {
    case HandlerShape::command:
        (this->*handler.command)();
        result = 0;
        return true;
    case HandlerShape::commandId:
        (this->*handler.commandId)(LOWORD(wParam));
        result = 0;
        return true;
    case HandlerShape::notify:
        result = 0;
        (this->*handler.notify)(reinterpret_cast<NMHDR*>(lParam), &result);
        return true;
    case HandlerShape::message:
        result = (this->*handler.message)(wParam, lParam);
        return !m_wantsDefault;
    // The dialog manager's own processing of these still follows.
    case HandlerShape::size:
        (this->*handler.size)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam)));
        return false;
    case HandlerShape::move:
        (this->*handler.move)(static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam)));
        return false;
    case HandlerShape::showWindow:
        (this->*handler.showWindow)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return false;
    case HandlerShape::timer:
        (this->*handler.timer)(static_cast<UINT_PTR>(wParam));
        break;
    case HandlerShape::sysCommand:
        (this->*handler.sysCommand)(static_cast<UINT>(wParam), lParam);
        break;
    case HandlerShape::paint:
        (this->*handler.paint)();
        break;
    case HandlerShape::copyData: {
        CWnd sender;
        sender.m_hWnd = reinterpret_cast<HWND>(wParam);
        result = (this->*handler.copyData)(&sender, reinterpret_cast<COPYDATASTRUCT*>(lParam));
        sender.m_hWnd = nullptr;
        return true;
    }
    }
    return !m_wantsDefault;
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    UINT id = 0;
    UINT code = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
        // Controls talking while the fields are being exchanged are not the user.
        if (m_exchanging && lParam != 0)
            return true;
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (m_exchanging)
            return true;
        id = static_cast<UINT>(header->idFrom);
        code = header->code;
    }
    if (const MessageMapEntry* entry = FindMessageEntry(GetMessageMap(), message, id, code)) {
        m_wantsDefault = false;
        return CallHandler(*entry, wParam, lParam, result);
    }
    if (message == WM_COMMAND && code == BN_CLICKED) {
        if (id == IDOK) {
            OnOK();
            return true;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    if (message == WM_HELP) {
        // F1 alone asks for help: it becomes the help command of the main window.
        const bool modified =
            GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
        if (HWND main = MainWindow(); main && !modified)
            ::SendMessageA(main, WM_COMMAND, ID_HELP, 0);
        result = TRUE;
        return true;
    }
    // The framework's own commands (help, exit) that another dialog does not handle, such as the
    // about box's Help button, are the main window's.
    HWND main = MainWindow();
    if (message == WM_COMMAND && (id == ID_HELP || id == ID_APP_EXIT) &&
        (code == BN_CLICKED || lParam == 0) && main && main != m_hWnd) {
        ::SendMessageA(main, WM_COMMAND, id, 0);
        return true;
    }
    return false;
}

namespace {
// An exception must not cross the platform's call into the window procedure; it is told once and
// the message counts as handled. While its message box is up, the box's own messages could throw
// again: those are not told a second time.
bool ReportUncaught(const char* what) noexcept {
    static bool reporting = false;
    if (!reporting) {
        reporting = true;
        if (CWinApp* app = AfxGetApp())
            app->ReportException(what);
        reporting = false;
    }
    return true;
}
} // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->m_hWnd = window;
    } else {
        dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!dialog)
        return FALSE;

    LRESULT result = 0;
    bool handled = false;
    try {
        if (message == WM_INITDIALOG) {
            result = dialog->OnInitDialog();
            handled = true;
        } else {
            handled = dialog->Dispatch(message, wParam, lParam, result);
        }
    } catch (const std::exception& error) {
        handled = ReportUncaught(error.what());
    } catch (...) {
        handled = ReportUncaught("an exception of unknown type");
    }

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        dialog->m_inModalLoop = false;
    }
    if (!handled)
        return FALSE;
    if (AnswersDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
