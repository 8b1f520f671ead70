// The archive's buffering and its byte layout of integers and strings.
#include "platform/framework/carchive.h"

#include "platform/win32/byteorder.h"
#include "platform/win32/codepage.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace
{

constexpr BYTE kByteEscape = 0xFF;
constexpr WORD kWordEscape = 0xFFFF;
constexpr WORD kWideMarker = 0xFFFE;

// UTF-16LE to code page 1252; a lone surrogate becomes '?' like any character
// the code page cannot hold.
std::string Utf16ToCp1252(const std::vector<BYTE>& bytes)
{
    std::string utf8;
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i)
    {
        const char32_t unit = platform::ReadLittleEndian16(&bytes[2 * i]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units)
        {
            const char32_t next = platform::ReadLittleEndian16(&bytes[2 * i + 2]);
            if (next >= 0xDC00 && next < 0xE000)
            {
                platform::AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000)
            utf8 += '?';
        else
            platform::AppendUtf8(utf8, unit);
    }
    return platform::Utf8ToCp1252(utf8);
}

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_pFile(file), m_bLoading((mode & load) != 0),
      m_buffer(static_cast<std::size_t>(std::max(bufferSize, 16)))
{
}

CFile& CArchive::File(bool loading) const
{
    if (!m_pFile)
        throw CArchiveException(CArchiveException::genericException);
    if (loading != m_bLoading)
        throw CArchiveException(loading ? CArchiveException::writeOnly
                                        : CArchiveException::readOnly,
                                m_pFile->GetFilePath());
    return *m_pFile;
}

void CArchive::Close()
{
    if (m_pFile && !m_bLoading && m_nBufferPos > 0)
        m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_nBufferPos));
    m_nBufferPos = 0;
    m_nBufferEnd = 0;
    m_pFile = nullptr;
}

void CArchive::WriteBytes(const void* data, std::size_t count)
{
    CFile& file = File(false);
    const auto* bytes = static_cast<const BYTE*>(data);
    while (count > 0)
    {
        if (m_nBufferPos == m_buffer.size())
        {
            file.Write(m_buffer.data(), static_cast<UINT>(m_nBufferPos));
            m_nBufferPos = 0;
        }
        const std::size_t part = std::min(count, m_buffer.size() - m_nBufferPos);
        std::memcpy(m_buffer.data() + m_nBufferPos, bytes, part);
        m_nBufferPos += part;
        bytes += part;
        count -= part;
    }
}

void CArchive::ReadBytes(void* data, std::size_t count)
{
    CFile& file = File(true);
    auto* bytes = static_cast<BYTE*>(data);
    while (count > 0)
    {
        if (m_nBufferPos == m_nBufferEnd)
        {
            m_nBufferPos = 0;
            m_nBufferEnd = file.Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
            if (m_nBufferEnd == 0)
                throw CArchiveException(CArchiveException::endOfFile, file.GetFilePath());
        }
        const std::size_t part = std::min(count, m_nBufferEnd - m_nBufferPos);
        std::memcpy(bytes, m_buffer.data() + m_nBufferPos, part);
        m_nBufferPos += part;
        bytes += part;
        count -= part;
    }
}

std::uint64_t CArchive::BytesLeft() const
{
    const CFile& file = File(true);
    const std::uint64_t length = file.GetLength();
    const std::uint64_t position = file.GetPosition();
    const std::uint64_t unread = length > position ? length - position : 0;
    return unread + (m_nBufferEnd - m_nBufferPos);
}

WORD CArchive::ReadWord()
{
    BYTE bytes[2];
    ReadBytes(bytes, sizeof bytes);
    return platform::ReadLittleEndian16(bytes);
}

DWORD CArchive::ReadDword()
{
    BYTE bytes[4];
    ReadBytes(bytes, sizeof bytes);
    return platform::ReadLittleEndian32(bytes);
}

std::uint64_t CArchive::ReadLength(bool& wide)
{
    BYTE first;
    ReadBytes(&first, 1);
    if (first < kByteEscape)
        return first;
    WORD word = ReadWord();
    if (word == kWideMarker)
    {
        // The characters are 16 bits wide; the real prefix follows.
        wide = true;
        ReadBytes(&first, 1);
        if (first < kByteEscape)
            return first;
        word = ReadWord();
    }
    if (word < kWordEscape)
        return word;
    return ReadDword();
}

CArchive& CArchive::operator<<(LONG value)
{
    const auto bits = static_cast<DWORD>(value);
    const BYTE bytes[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                           static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    WriteBytes(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(const CString& text)
{
    const auto length = static_cast<DWORD>(text.GetLength());
    if (length < kByteEscape)
    {
        const BYTE prefix = static_cast<BYTE>(length);
        WriteBytes(&prefix, 1);
    }
    else if (length < kWideMarker)
    {
        const BYTE prefix[3] = {kByteEscape, static_cast<BYTE>(length),
                                static_cast<BYTE>(length >> 8)};
        WriteBytes(prefix, sizeof prefix);
    }
    else
    {
        const BYTE prefix[7] = {kByteEscape,
                                0xFF,
                                0xFF,
                                static_cast<BYTE>(length),
                                static_cast<BYTE>(length >> 8),
                                static_cast<BYTE>(length >> 16),
                                static_cast<BYTE>(length >> 24)};
        WriteBytes(prefix, sizeof prefix);
    }
    WriteBytes(static_cast<const char*>(text), length);
    return *this;
}

CArchive& CArchive::operator>>(LONG& value)
{
    value = static_cast<LONG>(ReadDword());
    return *this;
}

CArchive& CArchive::operator>>(CString& text)
{
    bool wide = false;
    const std::uint64_t length = ReadLength(wide);
    const std::uint64_t bytes = wide ? 2 * length : length;
    // A forged length must not allocate more than the file can still hold.
    if (bytes > BytesLeft())
        throw CArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
    if (length > INT_MAX)
        throw CArchiveException(CArchiveException::badIndex, m_pFile->GetFilePath());
    if (wide)
    {
        std::vector<BYTE> units(bytes);
        ReadBytes(units.data(), units.size());
        const std::string converted = Utf16ToCp1252(units);
        text = CString(converted.data(), static_cast<int>(converted.size()));
    }
    else
    {
        std::string narrow(bytes, '\0');
        ReadBytes(narrow.data(), narrow.size());
        text = CString(narrow.data(), static_cast<int>(narrow.size()));
    }
    return *this;
}
