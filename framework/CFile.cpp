#include "framework/CFile.h"
#include "framework/CFileException.h"

CFile::CFile(const CString& path, unsigned flags) {
    CFileException error(CFileException::none, 0, path);
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile() {
    Close();
}

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(LastError(), m_path);
}
