#pragma once

#include <string>

namespace testfiles {

// A case of a table of texts; its name names the test.
struct NamedText {
    const char* name;
    std::string text;
};

// For INSTANTIATE_TEST_SUITE_P over cases that have a name.
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

} // namespace testfiles
