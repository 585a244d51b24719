#include "base/ScriptLock.h"

#include "base/CodePage.h"

#include <string>
#include <utility>

ScriptLock::ScriptLock(ScriptLock&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}

ScriptLock::~ScriptLock() {
    Release();
}

CString ScriptLock::MutexNameFor(const char* name, const CString& fullPath) {
    // Letter case folds exactly as the window matches scripts, so every spelling the window takes
    // for one project takes one lock. Object names may not hold backslashes and are limited in
    // length, so the name carries a hash of the folded path.
    const std::string folded = FoldCaseMbcs(fullPath.View());
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : folded)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    CString mutexName;
    mutexName.Format("%s.%016llx", name, static_cast<unsigned long long>(hash));
    return mutexName;
}
