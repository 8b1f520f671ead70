// The framework's string on a std::string of code page 1252 bytes.
#include "platform/framework/cstring.h"

#include <cstdarg>
#include <cstdio>

CString::CString(const char* text)
{
    if (text)
        m_str = text;
}

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        m_str.assign(text, static_cast<std::size_t>(length));
}

CString::CString(char ch, int count)
{
    if (count > 0)
        m_str.assign(static_cast<std::size_t>(count), ch);
}

CString& CString::operator=(const char* text)
{
    if (text)
        m_str = text;
    else
        m_str.clear();
    return *this;
}

CString CString::Left(int count) const
{
    if (count <= 0)
        return CString();
    return CString(m_str.data(), count < GetLength() ? count : GetLength());
}

CString& CString::operator+=(const CString& text)
{
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text)
        m_str += text;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
    {
        m_str.clear();
        va_end(args);
        return;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    // The string's own terminator takes the zero that vsnprintf writes.
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    m_str = std::move(text);
}
