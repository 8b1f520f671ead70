// The framework's string: 8-bit characters in code page 1252, kept byte for byte,
// with the few operations the game uses (names, messages, the comment line).
#pragma once

#include "platform/win32/win32.h"

#include <string>

class CString
{
public:
    CString() = default;
    CString(const char* text);             // nullptr gives an empty string
    CString(const char* text, int length); // exactly length bytes, zeros included
    CString(char ch, int count);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);
    ~CString() = default;

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty() ? TRUE : FALSE; }
    void Empty() { m_str.clear(); }

    // The first count characters (all of them when count is longer, none when negative).
    CString Left(int count) const;

    // Always zero-terminated; valid until the string changes.
    operator const char*() const { return m_str.c_str(); }

    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    // printf-style, replacing the contents. A CString argument must be passed as
    // (const char*)text, as with every variadic call.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b)
    {
        return b ? a.m_str == b : a.m_str.empty();
    }

private:
    std::string m_str;
};
