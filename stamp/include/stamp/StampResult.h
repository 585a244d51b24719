#pragma once

#include "framework/CString.h"
#include "stamp/VersionNumber.h"

#include <optional>

// What came of reading, rewriting or recording a script, or of a whole stamping run: done; left
// alone, because the file is not one the program may change (a macro where a number should be, no
// version block); or failed, because a file could not be read or written. Reasons are short
// English phrases for a line of the build log.
class StampResult {
public:
    enum class Outcome { done, leftAlone, failed };

    static StampResult Done() { return StampResult(Outcome::done, CString()); }
    static StampResult LeftAlone(const CString& reason) {
        return StampResult(Outcome::leftAlone, reason);
    }
    static StampResult Failed(const CString& reason) {
        return StampResult(Outcome::failed, reason);
    }

    Outcome GetOutcome() const { return m_outcome; }
    bool IsDone() const { return m_outcome == Outcome::done; }
    explicit operator bool() const { return IsDone(); }

    // Why it was not done; for a done run, what the build log must still be told (empty when
    // nothing).
    const CString& Reason() const { return m_reason; }

    // A stamping run: the numbers the script held when it was read, which the build used and the
    // history records. Empty when the script could not be read.
    const std::optional<VersionNumber>& Used() const { return m_used; }
    StampResult& WithUsed(const VersionNumber& used) {
        m_used = used;
        return *this;
    }
    StampResult& WithReason(const CString& reason) {
        m_reason = reason;
        return *this;
    }

private:
    StampResult(Outcome outcome, const CString& reason) : m_outcome(outcome), m_reason(reason) {}

    Outcome m_outcome;
    CString m_reason;
    std::optional<VersionNumber> m_used;
};
