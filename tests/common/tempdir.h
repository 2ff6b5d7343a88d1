// A private folder per test, removed afterwards, and small helpers to put files in it, read them back and set
// and read their dates.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bytes.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace tazen::test {

class TempDir
{
public:
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path())
    {
        std::string pattern = (base / "tazen-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        // Tests make files read-only; give the owner write access back so everything can go.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            if (!it->is_symlink(ignored))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The full name of an entry in the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void writeFile(const std::string& name, const Bytes& content)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + name);
}

inline void writeFile(const std::string& name, const std::string& content)
{
    writeFile(name, Bytes(content.begin(), content.end()));
}

inline Bytes readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + name);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string& name)
{
    const Bytes bytes = readFile(name);
    return std::string(bytes.begin(), bytes.end());
}

inline bool exists(const std::string& name)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(name, ignored));
}

// The names in a folder, sorted: what a run left behind.
inline std::vector<std::string> listFolder(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using Stamp = std::pair<std::int64_t, long>; // seconds and nanoseconds since 1970
using Dates = std::pair<Stamp, Stamp>;       // accessed, modified
// 2001-02-03 04:05:06 and 2002-03-04 05:06:07 UTC, in whole 100 ns steps as Windows keeps them.
inline constexpr Stamp kFirstDate{981173106, 123456700};
inline constexpr Stamp kSecondDate{1015218367, 765432100};

inline bool SetDates(const std::string& name, const Dates& d)
{
    const timespec times[2] = {{d.first.first, d.first.second}, {d.second.first, d.second.second}};
    return ::utimensat(AT_FDCWD, name.c_str(), times, 0) == 0;
}

inline Dates DatesOf(const std::string& name)
{
    struct stat info = {};
    static_cast<void>(::stat(name.c_str(), &info)); // a missing file has no dates: all zero
    return {{info.st_atim.tv_sec, info.st_atim.tv_nsec}, {info.st_mtim.tv_sec, info.st_mtim.tv_nsec}};
}

} // namespace tazen::test
