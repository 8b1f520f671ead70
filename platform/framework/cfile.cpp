// The framework's file on POSIX calls. Honours the file faults of the test seams.
#include "platform/framework/cfile.h"

#include "platform/win32/gamepath.h"
#include "platform/win32/testseams.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

[[noreturn]] void Raise(int osError, const CString& fileName)
{
    throw CFileException(CFileException::OsErrorToCause(osError), osError, fileName);
}

} // namespace

namespace platform::testing
{

void FailFileWritesAfter(std::uint64_t bytes)
{
    TestSeams::Get().fileWriteBudget = static_cast<std::int64_t>(bytes);
}

void FailNextFileClose()
{
    TestSeams::Get().failNextFileClose = true;
}

} // namespace platform::testing

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
    Abort();
    m_strFileName = fileName;

    int flags = (openFlags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (openFlags & modeCreate)
        flags |= O_CREAT;
    const int handle = OpenRegularFile(GamePath(fileName), flags);
    int osError = handle < 0 ? errno : 0;
    // Another opener's exclusive hold is checked before anything is truncated.
    if (!osError && (openFlags & shareExclusive) && flock(handle, LOCK_EX | LOCK_NB) != 0)
        osError = errno;
    const bool truncate = (openFlags & modeCreate) && !(openFlags & modeNoTruncate);
    if (!osError && truncate && ftruncate(handle, 0) != 0)
        osError = errno;

    if (osError)
    {
        if (handle >= 0)
            close(handle);
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(osError), osError, fileName);
        return FALSE;
    }
    m_hFile = handle;
    return TRUE;
}

void CFile::Attach(int handle, const char* fileName)
{
    Abort();
    m_hFile = handle;
    m_strFileName = fileName;
}

int CFile::Handle() const
{
    if (m_hFile < 0)
        throw CFileException(CFileException::invalidFile, EBADF, m_strFileName);
    return m_hFile;
}

UINT CFile::Read(void* buffer, UINT count)
{
    const int handle = Handle();
    auto* bytes = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count)
    {
        const ssize_t got = read(handle, bytes + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Raise(errno, m_strFileName);
        if (got == 0)
            break;
        done += static_cast<UINT>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    const int handle = Handle();
    auto& seams = platform::TestSeams::Get();
    UINT allowed = count;
    if (seams.fileWriteBudget >= 0 && static_cast<std::uint64_t>(seams.fileWriteBudget) < count)
        allowed = static_cast<UINT>(seams.fileWriteBudget);

    const auto* bytes = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < allowed)
    {
        const ssize_t put = write(handle, bytes + done, allowed - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            Raise(errno, m_strFileName);
        if (put == 0)
            Raise(ENOSPC, m_strFileName);
        done += static_cast<UINT>(put);
    }
    if (seams.fileWriteBudget >= 0)
    {
        seams.fileWriteBudget -= allowed;
        if (allowed < count)
        {
            seams.fileWriteBudget = -1;
            Raise(ENOSPC, m_strFileName);
        }
    }
}

void CFile::Flush()
{
    if (fsync(Handle()) != 0)
        Raise(errno, m_strFileName);
}

void CFile::Close()
{
    const int handle = Handle();
    m_hFile = -1;
    // The descriptor is gone even when close reports a failure: never retry it.
    const int osError = close(handle) != 0 ? errno : 0;
    auto& seams = platform::TestSeams::Get();
    if (seams.failNextFileClose)
    {
        seams.failNextFileClose = false;
        Raise(EIO, m_strFileName);
    }
    if (osError)
        Raise(osError, m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile >= 0)
        close(m_hFile);
    m_hFile = -1;
}

std::uint64_t CFile::GetLength() const
{
    struct stat info;
    if (fstat(Handle(), &info) != 0)
        Raise(errno, m_strFileName);
    return static_cast<std::uint64_t>(info.st_size);
}

std::uint64_t CFile::GetPosition() const
{
    const off_t position = lseek(Handle(), 0, SEEK_CUR);
    if (position < 0)
        Raise(errno, m_strFileName);
    return static_cast<std::uint64_t>(position);
}
