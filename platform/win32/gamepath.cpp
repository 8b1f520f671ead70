// Turning the game's file names into paths and opening them.
#include "platform/win32/gamepath.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string GamePath(const char* name)
{
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

int OpenRegularFile(const std::string& path, int flags)
{
    // Opening a FIFO would wait for its other end; without waiting it opens
    // at once, and the check below turns it away.
    int handle;
    do
        handle = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    while (handle < 0 && errno == EINTR);
    if (handle < 0)
        return -1;
    struct stat info;
    int osError = fstat(handle, &info) != 0 ? errno : 0;
    if (!osError && !S_ISREG(info.st_mode))
        osError = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    if (!osError && (flags & O_NONBLOCK) == 0)
    {
        const int status = fcntl(handle, F_GETFL);
        if (status < 0 || fcntl(handle, F_SETFL, status & ~O_NONBLOCK) != 0)
            osError = errno;
    }
    if (osError)
    {
        close(handle);
        errno = osError;
        return -1;
    }
    return handle;
}

std::FILE* OpenGameFile(const char* name)
{
    const int handle = OpenRegularFile(GamePath(name), O_RDONLY);
    if (handle < 0)
        return nullptr;
    std::FILE* file = fdopen(handle, "rb");
    if (!file)
        close(handle);
    return file;
}
