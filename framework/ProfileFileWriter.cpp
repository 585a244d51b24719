#include "framework/ProfileFileWriter.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"

void ProfileFileWriter::Write(const CString& path, std::string_view bytes) {
    try {
        AtomicFileWriter::ReplaceContents(path, bytes);
    } catch (const CFileException& refused) {
        // A read-only or locked file refuses the second way too; its own reason is then told.
        if (refused.m_cause != CFileException::accessDenied || !CFile::Exists(path) ||
            !WriteInPlace(path, bytes))
            throw;
    }
}

bool ProfileFileWriter::WriteInPlace(const CString& path, std::string_view bytes) {
    CFile file;
    // Not every platform refuses to open a file its owner made read-only for writing.
    if (CFile::IsReadOnly(path) || !file.Open(path, CFile::modeWrite | CFile::modeCreate |
                                                        CFile::shareDenyWrite | CFile::typeBinary))
        return false;
    file.Write(bytes.data(), bytes.size());
    file.Flush();
    return true;
}
