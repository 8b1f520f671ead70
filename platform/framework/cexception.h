// The root of the framework's exceptions, raised by the file and archive classes.
#pragma once

#include <stdexcept>
#include <string>

class CException : public std::runtime_error
{
public:
    explicit CException(const std::string& message) : std::runtime_error(message) {}
    ~CException() override = default;
};
