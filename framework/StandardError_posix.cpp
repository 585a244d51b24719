#include "framework/StandardError.h"

#include <cstdio>

void StandardError::WriteLine(const CString& line) {
    std::fputs(line.GetString(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}
