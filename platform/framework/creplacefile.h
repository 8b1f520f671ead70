// A file that takes a whole new content or keeps its old one. The content is
// written to a new file beside the old one and put in its place at the end;
// where that cannot be done but the file itself may be written (a folder the
// player may not write, a sticky shared folder, a file with hard links), it is
// written in place, and the old bytes are kept to be put back if the write
// fails. A symbolic link stays a link, a hard link stays a link.
#pragma once

#include "platform/framework/cfile.h"

#include <string>
#include <sys/types.h>
#include <vector>

class CReplaceFile : public CFile
{
public:
    CReplaceFile() = default;
    ~CReplaceFile() override; // rolls back what was not committed

    // Fails with accessDenied for a write-protected file or anything but a
    // regular file in its place.
    BOOL Open(const char* fileName, CFileException* error = nullptr);
    // The same for a path taken as it is, not as one of the game's names.
    BOOL OpenPath(const std::string& path, CFileException* error = nullptr);
    // The file now holds exactly what was written, on the medium, and the
    // back end keeps it. Raises CFileException; the caller then rolls back.
    void Commit();
    // The file is as it was before Open. Never raises.
    void Rollback();

private:
    enum class Way
    {
        none,
        beside,
        inPlace,
    };

    int OpenBeside(bool existed, uid_t owner, gid_t group, mode_t mode);
    int OpenInPlace();
    // False (nothing changed) when the folder refuses the rename.
    bool RenameIntoPlace();
    // The bytes written beside go over the file itself instead.
    void MoveWrittenInPlace();
    void Forget();
    void PutOldBytesBack();
    [[noreturn]] void Raise(int osError) const;

    Way m_way = Way::none;
    std::string m_target; // the file itself, after following links
    std::string m_temp;
    std::vector<char> m_old;
};
