// A fresh temporary working directory for one test (the old one comes back and
// the temporary one is removed afterwards), a file's bytes, and a child
// process, also one run as an ordinary user.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

class ScratchDirectory
{
public:
    ScratchDirectory() : m_Previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tz-test-XXXXXX").string();
        m_Path = mkdtemp(pattern.data());
        std::filesystem::current_path(m_Path);
    }
    ~ScratchDirectory()
    {
        std::filesystem::current_path(m_Previous);
        std::filesystem::remove_all(m_Path);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};

// All of a file, or nothing if it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Runs body in a child process started in the current folder; the child's exit
// status (body's result), or -1.
inline int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The ordinary user root plays as where permissions count.
constexpr uid_t kPlayer = 65534;

// Runs body as an ordinary user (the test's own one when that is no root) in a
// child; its exit status, 100 if the user cannot be taken on, or -1.
inline int AsPlayer(const std::function<int()>& body)
{
    const auto player = [] { return setgroups(0, nullptr) || setgid(kPlayer) || setuid(kPlayer); };
    return InChild([&] { return geteuid() == 0 && player() ? 100 : body(); });
}
