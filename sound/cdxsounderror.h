// The error the sound layer raises when an operation needs the sound device or
// a sound buffer that does not exist. The set-up code catches it and shows its
// own message.
#pragma once

#include <stdexcept>
#include <string>

class CdxSoundError : public std::runtime_error
{
public:
    explicit CdxSoundError(const std::string& what) : std::runtime_error(what) {}
};
