#include "base/StandardStreams.h"

#include <cstdio>

void standard_streams::WriteErrorLine(const CString& line) {
    std::fputs(line.GetString(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool standard_streams::WriteOutput(const CString& text) {
    std::fputs(text.GetString(), stdout);
    std::fflush(stdout);
    return true;
}
