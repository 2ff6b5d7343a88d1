// The end of a PE image, from its DOS stub's pointer, its COFF header, optional header and section table.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/peimage.h"

#include <algorithm>

namespace tazen::extractor {

namespace {

constexpr std::uint32_t kSignatureOffsetAt = 0x3C;
constexpr std::uint32_t kCoffHeaderSize = 20;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kSymbolSize = 18;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kCertificateDirectory = 4;

std::uint32_t le16(const std::uint8_t* p)
{
    return p[0] | (std::uint32_t{p[1]} << 8);
}

std::uint32_t le32(const std::uint8_t* p)
{
    return le16(p) | (le16(p + 2) << 16);
}

} // namespace

ImageStatus PeImageLength(ImageBytes& file, std::int64_t fileSize, std::int64_t& length)
{
    const auto size = static_cast<std::uint64_t>(std::max<std::int64_t>(fileSize, 0));
    // Reads that the file's size cannot hold fail before they are tried.
    const auto read = [&](std::uint64_t offset, void* buffer, std::uint64_t count) {
        return offset <= size && count <= size - offset && file.ReadAt(offset, buffer, count);
    };

    std::uint8_t dos[64];
    if (!read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return ImageStatus::NotImage;
    const std::uint64_t coff = std::uint64_t{le32(dos + kSignatureOffsetAt)} + 4;
    std::uint8_t signature[4 + kCoffHeaderSize];
    if (!read(coff - 4, signature, sizeof signature) || signature[0] != 'P' || signature[1] != 'E' ||
        signature[2] != 0 || signature[3] != 0)
        return ImageStatus::NotImage;
    const std::uint8_t* header = signature + 4;
    const std::uint32_t sectionCount = le16(header + 2);
    const std::uint32_t symbolTable = le32(header + 8);
    const std::uint32_t symbolCount = le32(header + 12);
    const std::uint32_t optionalSize = le16(header + 16);

    // SizeOfHeaders lies at 60 in both kinds; the data directories follow NumberOfRvaAndSizes.
    std::uint8_t optional[240] = {};
    if (optionalSize < 64 || optionalSize > sizeof optional || !read(coff + kCoffHeaderSize, optional, optionalSize))
        return ImageStatus::NotImage;
    const std::uint32_t magic = le16(optional);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus)
        return ImageStatus::NotImage;
    const std::uint32_t countAt = magic == kMagicPe32Plus ? 108 : 92;
    std::uint64_t end = std::max<std::uint64_t>(le32(optional + 60), 64);

    if (countAt + 4 <= optionalSize && le32(optional + countAt) > kCertificateDirectory) {
        const std::uint32_t entry = countAt + 4 + 8 * kCertificateDirectory;
        if (entry + 8 > optionalSize)
            return ImageStatus::NotImage;
        const std::uint32_t offset = le32(optional + entry);
        const std::uint32_t bytes = le32(optional + entry + 4);
        if (offset != 0 && bytes != 0)
            end = std::max(end, std::uint64_t{offset} + bytes);
    }

    const std::uint64_t sections = coff + kCoffHeaderSize + optionalSize;
    end = std::max(end, sections + std::uint64_t{sectionCount} * kSectionHeaderSize);
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        std::uint8_t section[kSectionHeaderSize];
        if (!read(sections + std::uint64_t{i} * kSectionHeaderSize, section, sizeof section))
            return ImageStatus::Truncated;
        const std::uint32_t rawSize = le32(section + 16);
        const std::uint32_t rawOffset = le32(section + 20);
        // Uninitialised data has no raw bytes, whatever its pointer says.
        if (rawSize != 0)
            end = std::max(end, std::uint64_t{rawOffset} + rawSize);
    }

    if (symbolTable != 0) {
        const std::uint64_t strings = symbolTable + std::uint64_t{symbolCount} * kSymbolSize;
        std::uint8_t stringsSize[4];
        if (!read(strings, stringsSize, sizeof stringsSize))
            return ImageStatus::Truncated;
        end = std::max(end, strings + std::max<std::uint32_t>(le32(stringsSize), 4));
    }

    if (end > size)
        return ImageStatus::Truncated;
    length = static_cast<std::int64_t>(end);
    return ImageStatus::Ok;
}

} // namespace tazen::extractor
