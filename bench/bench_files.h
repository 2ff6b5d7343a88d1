// Files for the benchmarks: a private work folder, incompressible data flushed to the device, and the page
// cache warmed, so the timed runs measure the program rather than the disk.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace tazen::bench {

inline constexpr std::int64_t kIoBuffer = std::int64_t{1} << 20;

// The program's name in its failure messages.
inline std::string& programName()
{
    static std::string name = "bench";
    return name;
}

[[noreturn]] inline void fail(const std::string& what)
{
    std::fprintf(stderr, "%s: %s: %s\n", programName().c_str(), what.c_str(), std::strerror(errno));
    std::exit(1);
}

// Bytes that no file system or disk can compress away.
inline void fillPseudoRandom(std::uint8_t* bytes, std::int64_t size, std::uint64_t& state)
{
    for (std::int64_t i = 0; i + 8 <= size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(bytes + i, &state, 8);
    }
}

inline std::int64_t sizeOf(const std::string& name)
{
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 ? info.st_size : -1;
}

inline void removeFile(const std::string& name)
{
    if (::unlink(name.c_str()) != 0 && errno != ENOENT)
        fail("cannot remove " + name);
}

// Makes the folder's entries durable, so a deletion's journal work does not land in the next timed run.
inline void syncFolder(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0)
        fail("cannot flush " + folder);
    ::close(descriptor);
}

// Written and flushed, so no writeback of it overlaps the timed runs; it stays in the page cache.
inline void writeData(const std::string& name, std::int64_t size)
{
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
        fail("cannot create " + name);
    std::vector<std::uint8_t> buffer(kIoBuffer);
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (std::int64_t done = 0; done < size; done += kIoBuffer) {
        fillPseudoRandom(buffer.data(), kIoBuffer, state);
        const auto piece = static_cast<std::size_t>(std::min(kIoBuffer, size - done));
        if (::write(descriptor, buffer.data(), piece) != static_cast<ssize_t>(piece))
            fail("cannot write " + name);
    }
    if (::fsync(descriptor) != 0 || ::close(descriptor) != 0)
        fail("cannot flush " + name);
}

// Reading a file once brings it into the page cache: the runs then measure the engine, not the disk.
inline void readThrough(const std::string& name)
{
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        fail("cannot open " + name);
    std::vector<std::uint8_t> buffer(kIoBuffer);
    while (::read(descriptor, buffer.data(), buffer.size()) > 0) {
    }
    ::close(descriptor);
}

inline std::string& workFolderToRemove()
{
    static std::string folder;
    return folder;
}

// A fresh folder under TAZEN_BENCH_DIR, else under TMPDIR, else under /tmp; it goes at exit, failures included.
inline std::string makeWorkFolder()
{
    const char* base = std::getenv("TAZEN_BENCH_DIR");
    if (!base || !*base)
        base = std::getenv("TMPDIR");
    if (!base || !*base)
        base = "/tmp";
    std::string pattern = std::string(base) + "/" + programName() + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        fail("cannot make a folder in " + std::string(base));
    workFolderToRemove() = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(workFolderToRemove(), ignored);
    });
    return pattern;
}

} // namespace tazen::bench
