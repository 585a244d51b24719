#pragma once

#include "framework/CDialog.h"
#include "framework/CFont.h"

// The program's name, its own version and build from its version resource, and the way to its
// web page.
class AboutDialog : public CDialog {
public:
    explicit AboutDialog(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // Version and build texts of the module's own version resource ("1.2.3", "45"); false when it
    // carries none.
    static bool ReadOwnVersion(CString& version, CString& build);

protected:
    const MessageMap* GetMessageMap() const override;
    void OnWeb();
    // Moved to a monitor of another DPI: the two fonts are made again for it.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

private:
    // The title and detail fonts at that DPI, given to their controls.
    void CreateFonts(UINT dpi);

    CFont m_titleFont;
    CFont m_detailFont;

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};
