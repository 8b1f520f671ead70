// The framework's file on POSIX calls. Honours the file faults of the test seams.
#include "platform/framework/cfile.h"

#include "platform/win32/testseams.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string PosixPath(const char* name)
{
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

[[noreturn]] void Raise(int osError, const CString& fileName)
{
    throw CFileException(CFileException::OsErrorToCause(osError), osError, fileName);
}

// A read-only file must not be replaced even by a user the system lets write
// anywhere, so the permission bits count on their own as well.
bool IsWriteProtected(const std::string& path, const struct stat& info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0;
}

// Makes a rename durable: the folder's entry reaches the medium too.
void SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    fsync(handle);
    close(handle);
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
    const std::string path = PosixPath(fileName);

    int flags = O_CLOEXEC | ((openFlags & modeWrite) ? O_WRONLY : O_RDONLY);
    if (openFlags & modeCreate)
        flags |= O_CREAT;
    int handle;
    do
        handle = open(path.c_str(), flags, 0666);
    while (handle < 0 && errno == EINTR);

    int osError = handle < 0 ? errno : 0;
    struct stat info;
    if (!osError && fstat(handle, &info) != 0)
        osError = errno;
    else if (!osError && S_ISDIR(info.st_mode))
        osError = EISDIR;
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

void CFile::Rename(const char* oldName, const char* newName)
{
    const std::string from = PosixPath(oldName);
    const std::string to = PosixPath(newName);
    struct stat info;
    if (stat(to.c_str(), &info) == 0 && IsWriteProtected(to, info))
        throw CFileException(CFileException::accessDenied, EACCES, newName);
    if (std::rename(from.c_str(), to.c_str()) != 0)
        Raise(errno, newName);
    SyncFolderOf(to);
}

void CFile::Remove(const char* fileName)
{
    if (unlink(PosixPath(fileName).c_str()) != 0)
        Raise(errno, fileName);
}
