#include "ui/AboutDialog.h"

#include "base/PathFunctions.h"
#include "framework/LateBound.h"
#include "ui/ShellDocuments.h"

#include "res/ProductInfo.h"
#include "res/resource.h"

#include <shellapi.h>

#include <vector>

namespace {
constexpr char kFontFace[] = "Bookman Old Style";
constexpr int kTitlePointTenths = 400;
constexpr int kDetailPointTenths = 80;
constexpr int kDetailControls[] = {IDC_ABOUT_VERSION, IDC_ABOUT_VERSION_LABEL, IDC_ABOUT_BUILD,
                                   IDC_ABOUT_BUILD_LABEL};

// SetDialogControlDpiChangeBehavior with DCDC_DISABLE_FONT_UPDATE (Windows 10 1703 and later,
// looked up at run time): on a move to a monitor of another DPI the dialog manager would give the
// control the dialog's font in place of its own, which OnDpiChanged makes anew.
void KeepOwnFontOnDpiChange(HWND control) {
    constexpr int kDisableFontUpdate = 0x0001;
    static const auto function =
        LateBound<BOOL(WINAPI*)(HWND, int, int)>("user32.dll", "SetDialogControlDpiChangeBehavior");
    if (function && control)
        function(control, kDisableFontUpdate, kDisableFontUpdate);
}
} // namespace

const MessageMapEntry AboutDialog::kMessageEntries[] = {
    OnCommand(IDC_ABOUT_WEB, BN_CLICKED, &AboutDialog::OnWeb),
    OnMessage(WM_DPICHANGED, &AboutDialog::OnDpiChanged),
};
const MessageMap AboutDialog::kMessageMap = {nullptr, kMessageEntries,
                                             sizeof kMessageEntries / sizeof kMessageEntries[0]};

const MessageMap* AboutDialog::GetMessageMap() const {
    return &kMessageMap;
}

AboutDialog::AboutDialog(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

bool AboutDialog::ReadOwnVersion(CString& version, CString& build) {
    const auto sizeOf =
        LateBound<decltype(&GetFileVersionInfoSizeA)>("version.dll", "GetFileVersionInfoSizeA");
    const auto read =
        LateBound<decltype(&GetFileVersionInfoA)>("version.dll", "GetFileVersionInfoA");
    const auto query = LateBound<decltype(&VerQueryValueA)>("version.dll", "VerQueryValueA");
    const CString module = ModulePath();
    DWORD handle = 0;
    const DWORD size = module.IsEmpty() || !sizeOf || !read || !query ? 0 : sizeOf(module, &handle);
    if (size == 0)
        return false;
    std::vector<char> block(size + 2);
    if (!read(module, 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    // The halves are unsigned 16-bit numbers: 65535 shows as such, never as -1.
    version.Format("%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                   HIWORD(fixed->dwFileVersionLS));
    build.Format("%u", LOWORD(fixed->dwFileVersionLS));
    return true;
}

BOOL AboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    CString version;
    CString build;
    if (ReadOwnVersion(version, build)) {
        SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION, version);
        SetDlgItemTextA(m_hWnd, IDC_ABOUT_BUILD, build);
    }

    KeepOwnFontOnDpiChange(GetDlgItem(IDC_ABOUT_TITLE));
    for (int id : kDetailControls)
        KeepOwnFontOnDpiChange(GetDlgItem(id));
    CreateFonts(GetDpi());
    return TRUE;
}

void AboutDialog::CreateFonts(UINT dpi) {
    // Sized for the monitor the box is on: the display DC knows only the system's DPI.
    m_titleFont.CreatePointFontForDpi(kTitlePointTenths, kFontFace, dpi);
    SendDlgItemMessageA(m_hWnd, IDC_ABOUT_TITLE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(static_cast<HFONT>(m_titleFont)), TRUE);
    m_detailFont.CreatePointFontForDpi(kDetailPointTenths, kFontFace, dpi);
    for (int id : kDetailControls)
        SendDlgItemMessageA(m_hWnd, id, WM_SETFONT,
                            reinterpret_cast<WPARAM>(static_cast<HFONT>(m_detailFont)), TRUE);
}

LRESULT AboutDialog::OnDpiChanged(WPARAM wParam, LPARAM) {
    CreateFonts(LOWORD(wParam));
    // The dialog manager still resizes the box and moves its controls.
    Default();
    return 0;
}

void AboutDialog::OnWeb() {
    shell_documents::Open(m_hWnd, REVTALLY_WEB_PAGE, SW_SHOW);
}
