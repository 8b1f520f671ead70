// A failure of the archive: above all a file that ends before the data it
// announces, with the framework's cause code.
#pragma once

#include "platform/framework/cexception.h"
#include "platform/framework/cstring.h"

class CArchiveException : public CException
{
public:
    enum
    {
        none = 0,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
    };

    explicit CArchiveException(int cause = none, const char* fileName = nullptr);

    int m_cause;
    CString m_strFileName;
};
