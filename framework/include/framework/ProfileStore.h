#pragma once

#include "framework/CString.h"

#include <vector>

// Where settings are read and written by section and key, with the rules of the platform's
// private profile (INI) files: names match without regard to letter case and a missing key reads
// as the default.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    virtual int ReadInt(const char* section, const char* key, int defaultValue) const = 0;
    virtual CString ReadString(const char* section, const char* key,
                               const char* defaultValue = "") const = 0;
    virtual void WriteInt(const char* section, const char* key, int value) = 0;
    virtual void WriteString(const char* section, const char* key, const char* value) = 0;
    // The names of the sections there are, in their order, as they are spelled.
    virtual std::vector<CString> SectionNames() const = 0;
};
