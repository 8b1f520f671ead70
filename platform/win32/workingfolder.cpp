// Claiming the working folder twice over: a lock on the folder itself, which
// also holds across a network file system but needs a folder that may be
// read, and a name in the system's abstract socket space made from the
// folder's identity, which needs no right on the folder at all.
#include "platform/win32/workingfolder.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

struct Claim
{
    int folder = -1; // keeps the folder, and so its identity, from being reused
    int lock = -1;
    int name = -1;
    pid_t holder = 0;
};

void Release(Claim& claim)
{
    for (int handle : {claim.folder, claim.lock, claim.name})
        if (handle >= 0)
            close(handle);
    claim = Claim{};
}

// A socket bound to the folder's name; -1 with errno EADDRINUSE while another
// process holds it.
int BindName(const struct stat& folder)
{
    const int handle = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return -1;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading zero byte puts the name in the abstract space: no file is made.
    const int length =
        std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1,
                      "tamzelon/folder/%llx/%llx", static_cast<unsigned long long>(folder.st_dev),
                      static_cast<unsigned long long>(folder.st_ino));
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(handle, reinterpret_cast<const sockaddr*>(&address), size) != 0)
    {
        const int osError = errno;
        close(handle);
        errno = osError;
        return -1;
    }
    return handle;
}

} // namespace

bool ClaimWorkingFolder()
{
    static Claim held;
    // A claim inherited through fork is the parent's: the child must claim anew.
    if (held.holder != getpid())
        Release(held);

    Claim claim;
    claim.folder = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat wanted;
    if (claim.folder < 0 || fstat(claim.folder, &wanted) != 0)
    {
        Release(claim);
        return true; // a folder that cannot even be looked at is played in unguarded
    }
    struct stat current;
    if (held.holder != 0 && fstat(held.folder, &current) == 0 && wanted.st_dev == current.st_dev &&
        wanted.st_ino == current.st_ino)
    {
        Release(claim);
        return true;
    }

    claim.lock = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (claim.lock >= 0 && flock(claim.lock, LOCK_EX | LOCK_NB) != 0)
    {
        const bool taken = errno == EWOULDBLOCK;
        close(claim.lock);
        claim.lock = -1;
        if (taken)
        {
            Release(claim);
            return false;
        }
    }
    claim.name = BindName(wanted);
    if (claim.name < 0 && errno == EADDRINUSE)
    {
        Release(claim);
        return false;
    }
    Release(held);
    held = claim;
    held.holder = getpid();
    return true;
}
