#include "framework/ScriptLock.h"

#include "framework/CodePage.h"

#include <cstdint>
#include <string>

CString ScriptLock::MutexNameFor(const CString& fullPath) {
    // Object names may not hold backslashes and are limited in length, so the name carries a
    // hash of the folded path.
    const std::string folded = FoldCaseMbcs(fullPath.View());
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : folded)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    CString name;
    name.Format("RevtallyStampLock.%016llx", static_cast<unsigned long long>(hash));
    return name;
}
