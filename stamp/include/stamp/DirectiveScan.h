#pragma once

#include "base/CodePage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One preprocessor line of a script or header, as following version macros needs it. Places are
// byte indices in the scanned text.
struct Directive {
    enum class Kind : std::uint8_t { define, undef, include, condition, other };

    Kind kind = Kind::other;
    int at = 0; // the '#'
    // define, undef: the macro's name; include: what stands after the keyword, quotes or angle
    // brackets included; condition: the line after the '#' ("ifdef _DEBUG").
    int nameBegin = 0;
    int nameEnd = 0;
    // define: what follows the name (or the parameter list) up to the end of the line.
    int bodyBegin = 0;
    int bodyEnd = 0;
    bool functionLike = false;
    bool continued = false; // a backslash at the line's end joins the next line to it
    // The innermost #if, #ifdef or #ifndef open around the line (its index), -1 outside all; a
    // file's include guard does not count.
    int condition = -1;
};

// A text's directives. code is the text with every comment blanked (line ends kept, every other
// byte where it was), comments the comments' own text.
struct DirectiveScan {
    std::string code;
    std::string comments;
    std::vector<Directive> directives;
};

DirectiveScan ScanDirectives(std::string_view text, const CodePage& rule);
