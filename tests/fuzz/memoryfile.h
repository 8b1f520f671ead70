// The fuzz input as a file, kept in memory: rewriting one on disk is slow.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The path of the one file in memory, now holding exactly these bytes.
inline const char* InMemoryFile(const std::uint8_t* data, std::size_t size)
{
    static const int file = memfd_create("fuzz", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return path.c_str();
}
