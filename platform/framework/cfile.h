// The framework's file on a POSIX file descriptor: binary, unbuffered, with the
// open flags the game uses. A backslash in a name is a folder separator
// ("Sounds\Klick.wav" opens "Sounds/Klick.wav"); only regular files open.
// Failures raise CFileException, except Open, which reports through its result.
#pragma once

#include "platform/framework/cfileexception.h"
#include "platform/framework/cstring.h"
#include "platform/win32/win32.h"

#include <cstdint>

class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    CFile() = default;
    virtual ~CFile(); // closes without reporting failures
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate creates a missing file and, without modeNoTruncate, empties an
    // existing one. shareExclusive fails with sharingViolation while another
    // opener holds the file exclusively.
    BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);

    // Returns the number of bytes read; fewer than count only at the end of the file.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Puts everything written onto the medium.
    void Flush();
    void Close();
    // Closes and forgets any failure.
    void Abort();

    std::uint64_t GetLength() const;
    std::uint64_t GetPosition() const;
    CString GetFilePath() const { return m_strFileName; }

protected:
    // Takes over an open descriptor for the file of that name.
    void Attach(int handle, const char* fileName);
    int Handle() const;

private:
    int m_hFile = -1;
    CString m_strFileName;
};
