// What every benchmark that shows real windows does first, once its QApplication exists.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench_files.h"

#include "platform/folders.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tazen::bench {

// Makes the work folder and lets it stand for the program's folder too: no settings file is there, so the
// settings dialog's controls apply, which keep the sources and make no executable.
inline std::string startWindowBench(const char* name)
{
    programName() = name;
    std::string folder = makeWorkFolder();
    platform::SetExecutableFolderForTesting(folder);
    benchmark::AddCustomContext("work folder", folder);
    return folder;
}

} // namespace tazen::bench
