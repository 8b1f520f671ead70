// File failures with a readable message built from cause, name and system error.
#include "platform/framework/cfileexception.h"

#include <cerrno>
#include <cstring>

namespace
{

std::string Describe(int cause, LONG osError, const char* fileName)
{
    std::string message = "file error ";
    message += std::to_string(cause);
    if (fileName && *fileName)
    {
        message += " on \"";
        message += fileName;
        message += '"';
    }
    if (osError > 0)
    {
        message += ": ";
        message += std::strerror(osError);
    }
    return message;
}

} // namespace

CFileException::CFileException(int cause, LONG osError, const char* fileName)
    : CException(Describe(cause, osError, fileName)), m_cause(cause), m_lOsError(osError),
      m_strFileName(fileName)
{
}

int CFileException::OsErrorToCause(int osError)
{
    switch (osError)
    {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    default:
        return genericException;
    }
}
