#pragma once

#include "base/CException.h"

// Thrown when the user has already been told what is wrong (a field that failed validation):
// whoever catches it only stops what it was doing.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "validation failed"; }
};
