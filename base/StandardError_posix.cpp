#include "base/StandardError.h"

#include <cstdio>

void standard_error::WriteLine(const CString& line) {
    std::fputs(line.GetString(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}
