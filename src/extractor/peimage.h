// The end of a Windows program's own PE image in its file, read from its headers.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extractor/image.h"

#include <cstddef>
#include <cstdint>

namespace tazen::extractor {

// Bytes of a file by offset, whatever holds them: the program's own file, or memory in a test.
class ImageBytes
{
public:
    virtual ~ImageBytes() = default;
    // All size bytes at offset, or false.
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
};

// The length of the PE32+ (or PE32) image at the start of a file of fileSize bytes: the furthest of the
// headers (SizeOfHeaders and the section table), every section's raw data, the certificate table (its
// directory entry gives a file offset, not an address) and a COFF symbol table with its string table. A
// linker writes the image and nothing marks where the attached file begins, so these are what it ends with.
ImageStatus PeImageLength(ImageBytes& file, std::int64_t fileSize, std::int64_t& length);

} // namespace tazen::extractor
