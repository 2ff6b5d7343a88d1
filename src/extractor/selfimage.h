// Where a program's own bytes end in its file, so that data appended to it can be found.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tazen::extractor {

enum class ImageStatus
{
    Ok,
    NotElf,   // not an ELF file of this machine's class
    Truncated // the headers describe more bytes than the file has
};

// The length of the ELF image at the start of the open file of fileSize bytes: the furthest end of the
// segments' file contents, the sections' contents, and the program and section header tables.
ImageStatus ElfImageLength(int descriptor, std::int64_t fileSize, std::int64_t& length);

} // namespace tazen::extractor
