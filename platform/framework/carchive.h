// The framework's archive: a buffered stream of 32-bit integers and
// length-prefixed strings on an open CFile, with no header of its own.
// Integers are little-endian. A string of n characters is prefixed by one
// byte n (n < 255), by 0xFF and a 16-bit n (n < 0xFFFE), or by 0xFF, 0xFFFF and
// a 32-bit n. On loading, 0xFF 0xFFFE announces UTF-16 characters, which are
// converted to code page 1252.
#pragma once

#include "platform/framework/carchiveexception.h"
#include "platform/framework/cfile.h"
#include "platform/framework/cstring.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchive
{
public:
    enum Mode : UINT
    {
        store = 0,
        load = 1,
    };

    // The file is borrowed and stays open after Close.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    // Without Close, what is still buffered for storing is dropped.
    ~CArchive() = default;
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_bLoading ? TRUE : FALSE; }
    BOOL IsStoring() const { return m_bLoading ? FALSE : TRUE; }

    // Writes what is buffered for storing and lets go of the file.
    void Close();

    CArchive& operator<<(LONG value);
    CArchive& operator<<(const CString& text);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(CString& text);

private:
    void WriteBytes(const void* data, std::size_t count);
    void ReadBytes(void* data, std::size_t count);
    // A length prefix; wide is set when the UTF-16 marker came first.
    std::uint64_t ReadLength(bool& wide);
    WORD ReadWord();
    DWORD ReadDword();
    std::uint64_t BytesLeft() const;
    CFile& File(bool loading) const;

    CFile* m_pFile;
    bool m_bLoading;
    std::vector<BYTE> m_buffer;
    std::size_t m_nBufferPos = 0;
    std::size_t m_nBufferEnd = 0;
};
