#include "framework/ScriptLock.h"

#include "framework/CodePage.h"

#include <cstdint>
#include <string>

CString ScriptLock::MutexNameFor(const char* name, const CString& fullPath) {
    // Object names may not hold backslashes and are limited in length, so the name carries a
    // hash of the folded path.
    const std::string folded = FoldCaseMbcs(fullPath.View());
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : folded)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    CString mutexName;
    mutexName.Format("%s.%016llx", name, static_cast<unsigned long long>(hash));
    return mutexName;
}
