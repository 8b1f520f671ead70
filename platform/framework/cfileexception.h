// A failure of the file class while opening, reading, writing or closing,
// with the framework's cause code and the system's error number.
#pragma once

#include "platform/framework/cexception.h"
#include "platform/framework/cstring.h"

class CFileException : public CException
{
public:
    enum
    {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr);

    // The cause for a system error number (errno).
    static int OsErrorToCause(int osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
