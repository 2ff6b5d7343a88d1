// What the fuzz targets share: the entry point, the check that turns a broken promise into a crash, and a
// private folder for the files a target works on.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/tempdir.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// An abort, so that libFuzzer keeps the input as a crash and a replay fails on it.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace tazen::fuzz {

// A folder under $TMPDIR for the whole process, removed with all it holds when the process ends normally.
inline const std::string& processFolder()
{
    static const test::TempDir folder;
    return folder.path();
}

using test::listFolder;

// Leaves the folder itself, empty.
inline void emptyFolder(const std::string& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        std::filesystem::remove_all(entry.path());
}

inline void writeBytes(const std::string& name, const std::string& content)
{
    test::writeFile(name, content);
}

inline std::string readBytes(const std::string& name)
{
    return test::readText(name);
}

} // namespace tazen::fuzz
