#pragma once

#include "framework/CString.h"

#include <string_view>

// Writes the program's INI file. The file is replaced safely (AtomicFileWriter); where the folder
// allows no new file, so that no temporary file can be made, but the file itself may be written,
// it is written in place, as the platform's profile functions always write it. Throws
// CFileException when neither way works.
class ProfileFileWriter {
public:
    static void Write(const CString& path, std::string_view bytes);

private:
    // False when the file cannot be opened for writing, which leaves it as it was.
    static bool WriteInPlace(const CString& path, std::string_view bytes);
};
