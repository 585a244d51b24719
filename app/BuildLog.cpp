#include "app/BuildLog.h"

CString BuildLogLine(LogForm form, const CString& program, const CString& origin, LogCode code,
                     const CString& reason) {
    CString line;
    // A line about no script in particular comes from the program itself.
    if (form == LogForm::msbuild)
        line.Format("%s : warning RVT%04d: %s", (origin.IsEmpty() ? program : origin).GetString(),
                    static_cast<int>(code), reason.GetString());
    else
        line.Format("%s: %s%swarning: %s [RVT%04d]", program.GetString(), origin.GetString(),
                    origin.IsEmpty() ? "" : ": ", reason.GetString(), static_cast<int>(code));
    return line;
}
