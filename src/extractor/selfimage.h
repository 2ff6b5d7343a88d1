// Where a program's own bytes end in its file, and the encrypted file appended to them.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extractor/image.h"

#include <cstdint>

namespace tazen::extractor {

// The length of the ELF image at the start of the open file of fileSize bytes: the furthest end of the
// segments' file contents, the sections' contents, and the program and section header tables.
ImageStatus ElfImageLength(int descriptor, std::int64_t fileSize, std::int64_t& length);

// The encrypted file behind the ELF image of the open file of fileSize bytes: where it starts and how many
// bytes it has, its check block included. start and size are set for Found, TooShort and Missing.
PayloadStatus LocatePayload(int descriptor, std::int64_t fileSize, std::int64_t& start, std::int64_t& size);

} // namespace tazen::extractor
