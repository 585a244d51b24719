#pragma once

#include "framework/AfxTypes.h"

#include <windows.h>

// A GDI font the object owns: deleted with the object.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Size in tenths of a point on the screen.
    BOOL CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc = nullptr);
    void DeleteObject();
    operator HFONT() const { return m_font; }

private:
    HFONT m_font = nullptr;
};
