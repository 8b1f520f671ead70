// Archive failures with a readable message built from cause and file name.
#include "platform/framework/carchiveexception.h"

namespace
{

std::string Describe(int cause, const char* fileName)
{
    std::string message = "archive error ";
    message += std::to_string(cause);
    if (fileName && *fileName)
    {
        message += " on \"";
        message += fileName;
        message += '"';
    }
    return message;
}

} // namespace

CArchiveException::CArchiveException(int cause, const char* fileName)
    : CException(Describe(cause, fileName)), m_cause(cause), m_strFileName(fileName)
{
}
