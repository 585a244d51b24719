#pragma once

#include <exception>

// Root of the framework's exceptions. Every window procedure and every entry point catches it, so
// none ever unwinds through a Win32 callback.
class CException : public std::exception {
public:
    const char* what() const noexcept override { return "framework exception"; }
};
