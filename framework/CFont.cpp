#include "framework/CFont.h"

#include <cstring>

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc) {
    DeleteObject();
    HDC screen = dc ? dc : GetDC(nullptr);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(pointSizeTenths, GetDeviceCaps(screen, LOGPIXELSY), 720);
    font.lfCharSet = DEFAULT_CHARSET;
    strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    if (!dc)
        ReleaseDC(nullptr, screen);
    m_font = CreateFontIndirectA(&font);
    return m_font != nullptr;
}

void CFont::DeleteObject() {
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}
