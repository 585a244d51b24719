#include "base/PathFunctions.h"
#include "base/CodePage.h"

CString ExtractDirectory(const CString& path) {
    const int at = ReverseFindMbcs(path.View(), kPathSeparator);
    return at < 0 ? CString() : path.Left(at + 1);
}

CString ExtractFileName(const CString& path) {
    const int at = ReverseFindMbcs(path.View(), kPathSeparator);
    return at < 0 ? CString() : path.Mid(at + 1);
}

CString ExtractFileTitle(const CString& name) {
    const int at = ReverseFindMbcs(name.View(), '.');
    return at < 0 ? name : name.Left(at);
}
