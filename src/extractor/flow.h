// The extractor's flow, shared by the Linux and the Windows program: its options, texts, names and exit codes.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extractor/system.h"

#include <string>

namespace tazen::extractor {

enum ExitCode
{
    kExitDone = 0,
    kExitWrongPassword = 1,
    kExitUsage = 2,
    kExitNoPayload = 3,
    kExitDamaged = 4,
    kExitNotReplaced = 5,
    kExitFailed = 6
};

// report.doc.TaZEN.exe -> report.doc, NAME.exe -> NAME, anything else -> itself + ".out"; letter case aside,
// since mail and download tools like to change it.
std::string plainNameOf(const std::string& executableName);

} // namespace tazen::extractor
