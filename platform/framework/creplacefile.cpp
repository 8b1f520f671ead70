// Replacing a file whole, on POSIX calls.
#include "platform/framework/creplacefile.h"

#include "platform/present/display.h"
#include "platform/win32/gamepath.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int kMaxLinks = 40; // the system's own limit for one path
// Old bytes kept in memory for a write in place; a bigger file is no table.
constexpr off_t kMaxOldSize = off_t{64} << 20;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return path.substr(0, slash == 0 ? 1 : slash);
}

// Where a chain of symbolic links ends; that file need not exist yet.
bool FollowLinks(std::string& path)
{
    for (int hop = 0; hop < kMaxLinks; ++hop)
    {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) == target.size())
        {
            errno = ENAMETOOLONG;
            return false;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + '/' + target;
    }
    errno = ELOOP;
    return false;
}

// A read-only file must not be replaced even by a user the system lets write
// anywhere, so the permission bits count on their own as well.
bool IsWriteProtected(const std::string& path, const struct stat& info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0;
}

bool WriteAllAt(int handle, const std::vector<char>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t put =
            pwrite(handle, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool ReadAllAt(int handle, std::vector<char>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t got =
            pread(handle, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

// Makes a rename durable: the folder's entry reaches the medium too.
void SyncFolder(const std::string& folder)
{
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    fsync(handle);
    close(handle);
}

} // namespace

CReplaceFile::~CReplaceFile()
{
    Rollback();
}

BOOL CReplaceFile::Open(const char* fileName, CFileException* error)
{
    return OpenPath(GamePath(fileName), error);
}

BOOL CReplaceFile::OpenPath(const std::string& path, CFileException* error)
{
    Rollback();
    m_target = path;
    int osError = FollowLinks(m_target) ? 0 : errno;
    struct stat old = {};
    bool existed = false;
    if (!osError && lstat(m_target.c_str(), &old) == 0)
    {
        existed = true;
        if (S_ISDIR(old.st_mode))
            osError = EISDIR;
        else if (!S_ISREG(old.st_mode) || IsWriteProtected(m_target, old))
            osError = EACCES;
    }
    else if (!osError && errno != ENOENT)
    {
        osError = errno;
    }

    int handle = -1;
    if (!osError)
    {
        // A file with several names stays one file only when written where it is.
        if (existed && old.st_nlink > 1)
        {
            handle = OpenInPlace();
        }
        else
        {
            handle = OpenBeside(existed, old.st_uid, old.st_gid, old.st_mode);
            // A folder the player may not write to still lets a file that may
            // be written be rewritten where it is.
            if (handle < 0 && existed && (errno == EACCES || errno == EPERM))
                handle = OpenInPlace();
        }
        osError = handle < 0 ? errno : 0;
    }
    if (osError)
    {
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(osError), osError, path.c_str());
        return FALSE;
    }
    Attach(handle, path.c_str());
    return TRUE;
}

int CReplaceFile::OpenBeside(bool existed, uid_t owner, gid_t group, mode_t mode)
{
    // A fresh name that nothing planted can take: the file is made here or not at all.
    std::string temp = m_target + ".XXXXXX";
    const int handle = mkostemp(temp.data(), O_CLOEXEC);
    if (handle < 0)
        return -1;
    if (!existed)
    {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    // The new file keeps the old one's permissions and, where this process may
    // give a file away, its owner.
    const bool owned = !existed || fchown(handle, owner, group) == 0 || errno == EPERM;
    if (!owned || fchmod(handle, mode & 07777) != 0)
    {
        const int osError = errno;
        close(handle);
        unlink(temp.c_str());
        errno = osError;
        return -1;
    }
    m_way = Way::beside;
    m_temp = temp;
    return handle;
}

int CReplaceFile::OpenInPlace()
{
    const int handle = OpenRegularFile(m_target, O_RDWR | O_NOFOLLOW);
    if (handle < 0)
        return -1;
    struct stat info;
    int osError = fstat(handle, &info) != 0 ? errno : 0;
    if (!osError && info.st_size > kMaxOldSize)
        osError = EFBIG;
    if (!osError)
    {
        m_old.resize(static_cast<std::size_t>(info.st_size));
        if (!ReadAllAt(handle, m_old))
            osError = errno;
    }
    if (osError)
    {
        close(handle);
        m_old.clear();
        errno = osError;
        return -1;
    }
    m_way = Way::inPlace;
    return handle;
}

void CReplaceFile::Commit()
{
    if (m_way == Way::beside && !RenameIntoPlace())
        MoveWrittenInPlace();
    if (m_way == Way::inPlace)
    {
        // The new bytes went over the old ones; only a complete write cuts
        // what is left of the old file behind them.
        if (ftruncate(Handle(), static_cast<off_t>(GetPosition())) != 0)
            Raise(errno);
        Flush();
        Close();
    }
    Forget();
    // Where the back end keeps files elsewhere too, they go there now.
    if (!platform::Display::Instance().KeepFile(m_target.c_str()))
        Raise(EIO);
}

bool CReplaceFile::RenameIntoPlace()
{
    Flush();
    Close();
    if (std::rename(m_temp.c_str(), m_target.c_str()) != 0)
    {
        // A sticky shared folder lets only the owner of a file replace it,
        // though others may be allowed to write it.
        if (errno == EPERM || errno == EACCES)
            return false;
        Raise(errno);
    }
    SyncFolder(FolderOf(m_target));
    return true;
}

void CReplaceFile::MoveWrittenInPlace()
{
    std::vector<char> written;
    const int temp = OpenRegularFile(m_temp, O_RDONLY | O_NOFOLLOW);
    struct stat info;
    int osError = temp < 0 || fstat(temp, &info) != 0 ? errno : 0;
    if (!osError)
    {
        written.resize(static_cast<std::size_t>(info.st_size));
        osError = ReadAllAt(temp, written) ? 0 : errno;
    }
    if (temp >= 0)
        close(temp);
    if (osError)
        Raise(osError);
    const int handle = OpenInPlace();
    if (handle < 0)
        Raise(errno);
    unlink(m_temp.c_str());
    m_temp.clear();
    Attach(handle, GetFilePath());
    Write(written.data(), static_cast<UINT>(written.size()));
}

void CReplaceFile::Forget()
{
    m_way = Way::none;
    m_temp.clear();
    m_old.clear();
}

void CReplaceFile::Raise(int osError) const
{
    throw CFileException(CFileException::OsErrorToCause(osError), osError, GetFilePath());
}

void CReplaceFile::Rollback()
{
    Abort();
    if (m_way == Way::inPlace)
        PutOldBytesBack();
    else if (m_way == Way::beside)
        unlink(m_temp.c_str());
    Forget();
}

void CReplaceFile::PutOldBytesBack()
{
    const int handle = OpenRegularFile(m_target, O_WRONLY | O_NOFOLLOW);
    if (handle < 0)
        return;
    if (WriteAllAt(handle, m_old) && ftruncate(handle, static_cast<off_t>(m_old.size())) == 0)
        fsync(handle);
    close(handle);
}
