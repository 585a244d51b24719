#pragma once

#include <windows.h>

// A GDI font the object owns: deleted with the object.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Size in tenths of a point on a display of that many dots per inch: a window on a monitor
    // of its own DPI, which the system's display DC does not know.
    BOOL CreatePointFontForDpi(int pointSizeTenths, const char* faceName, UINT dpi);
    void DeleteObject();
    operator HFONT() const { return m_font; }

private:
    HFONT m_font = nullptr;
};
