#include "framework/CFont.h"

#include <cstring>

BOOL CFont::CreatePointFontForDpi(int pointSizeTenths, const char* faceName, UINT dpi) {
    DeleteObject();
    LOGFONTA font{};
    font.lfHeight = -MulDiv(pointSizeTenths, static_cast<int>(dpi), 720);
    font.lfCharSet = DEFAULT_CHARSET;
    strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    m_font = CreateFontIndirectA(&font);
    return m_font != nullptr;
}

void CFont::DeleteObject() {
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}
