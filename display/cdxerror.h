// The error the display layer raises when an operation needs a platform object
// that does not exist (no DirectDraw object, no surface, no device context).
// The set-up code catches it and shows its own message.
#pragma once

#include <stdexcept>
#include <string>

class CdxError : public std::runtime_error
{
public:
    explicit CdxError(const std::string& what) : std::runtime_error(what) {}
};
