#pragma once

#include "framework/CString.h"

#include <string_view>

// Replaces a file's whole content so that readers see either the old bytes or the new ones, never
// a mixture or a shortened file: the new bytes go to a temporary file in the same folder, which
// takes the old file's name only once it is complete. Any failure throws CFileException and leaves
// the old file as it was, with no temporary file behind.
class AtomicFileWriter {
public:
    static void ReplaceContents(const CString& path, std::string_view bytes);

    // How often and how long a replace waits for another process to let go of the file.
    static constexpr int kShareRetries = 20;
    static constexpr int kShareRetryMilliseconds = 25;
};
