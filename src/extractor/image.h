// Where a program's own image ends in its file, and what is attached behind it: the answers both extractors
// give, whatever the kind of image.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/fileformat.h"

#include <cstdint>

namespace tazen::extractor {

enum class ImageStatus
{
    Ok,
    NotImage, // not an executable image of the kind this program is (ELF of this class, PE32+)
    Truncated // the headers describe more bytes than the file has
};

enum class PayloadStatus
{
    Found,
    NotImage,
    Truncated,
    Missing, // nothing follows the image: the bare extractor
    TooShort // less than a password check block follows the image
};

// The encrypted file behind an image of imageLength bytes in a file of fileSize: where it starts and how many
// bytes it has, its check block included. start and size are set for Found, TooShort and Missing.
inline PayloadStatus PayloadBehind(ImageStatus image, std::int64_t imageLength, std::int64_t fileSize,
                                   std::int64_t& start, std::int64_t& size)
{
    if (image != ImageStatus::Ok)
        return image == ImageStatus::NotImage ? PayloadStatus::NotImage : PayloadStatus::Truncated;
    start = imageLength;
    size = fileSize - imageLength;
    if (size == 0)
        return PayloadStatus::Missing;
    return size < kCheckBlockSize ? PayloadStatus::TooShort : PayloadStatus::Found;
}

} // namespace tazen::extractor
