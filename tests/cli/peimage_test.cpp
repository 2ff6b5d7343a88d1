// The end of a PE image as the Windows extractor measures it: hand-made headers and the built program.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bytes.h"
#include "extractor/peimage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace tazen::test {
namespace {

using extractor::ImageStatus;

class MemoryImage : public extractor::ImageBytes
{
public:
    explicit MemoryImage(const Bytes& bytes) : bytes_(bytes) {}
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            return false;
        std::memcpy(buffer, bytes_.data() + offset, size);
        return true;
    }

private:
    const Bytes& bytes_;
};

void put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put16(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

struct Section
{
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

struct Layout
{
    std::uint16_t magic = 0x20B;
    std::uint32_t sizeOfHeaders = 0x400;
    std::vector<Section> sections = {};
    std::uint32_t certificateOffset = 0;
    std::uint32_t certificateSize = 0;
    std::uint32_t symbolTable = 0;
    std::uint32_t symbols = 0;
    std::uint32_t stringTableSize = 0;
};

// Headers as a linker writes them, signature at 0x80, the rest of the file zeros up to fileSize.
Bytes image(const Layout& layout, std::size_t fileSize)
{
    Bytes bytes(fileSize, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 0x3C, 0x80);
    std::memcpy(bytes.data() + 0x80, "PE\0\0", 4);
    const std::size_t coff = 0x84;
    put16(bytes, coff, 0x8664);
    put16(bytes, coff + 2, static_cast<std::uint16_t>(layout.sections.size()));
    put32(bytes, coff + 8, layout.symbolTable);
    put32(bytes, coff + 12, layout.symbols);
    const bool plus = layout.magic == 0x20B;
    const std::uint16_t optionalSize = plus ? 240 : 224;
    put16(bytes, coff + 16, optionalSize);
    const std::size_t optional = coff + 20;
    put16(bytes, optional, layout.magic);
    put32(bytes, optional + 60, layout.sizeOfHeaders);
    const std::size_t count = optional + (plus ? 108 : 92);
    put32(bytes, count, 16);
    put32(bytes, count + 4 + 8 * 4, layout.certificateOffset);
    put32(bytes, count + 8 + 8 * 4, layout.certificateSize);
    std::size_t section = optional + optionalSize;
    for (const Section& s : layout.sections) {
        put32(bytes, section + 16, s.rawSize);
        put32(bytes, section + 20, s.rawOffset);
        section += 40;
    }
    const std::size_t strings = layout.symbolTable + 18 * std::size_t{layout.symbols};
    if (layout.symbolTable != 0 && strings + 4 <= fileSize)
        put32(bytes, strings, layout.stringTableSize);
    return bytes;
}

TEST(PeImage, EndsWithTheFurthestOfHeadersSectionsCertificatesAndSymbols)
{
    const std::vector<Section> two = {{0x1000, 0x400}, {0x200, 0x1400}};
    struct Case
    {
        const char* what;
        Layout layout;
        std::size_t fileSize;
        ImageStatus status;
        std::int64_t length;
    };
    const Case cases[] = {
        {"sections", {.sections = two}, 0x2000, ImageStatus::Ok, 0x1600},
        {"PE32 too", {.magic = 0x10B, .sections = two}, 0x2000, ImageStatus::Ok, 0x1600},
        {"uninitialised data has no raw bytes",
         {.sections = {{0x1000, 0x400}, {0, 0x9000}}},
         0x2000,
         ImageStatus::Ok,
         0x1400},
        {"headers only", {.sizeOfHeaders = 0x600}, 0x800, ImageStatus::Ok, 0x600},
        {"a signature behind the sections",
         {.sections = two, .certificateOffset = 0x1600, .certificateSize = 0x310},
         0x2000,
         ImageStatus::Ok,
         0x1910},
        {"a symbol table and its strings",
         {.sections = two, .symbolTable = 0x1600, .symbols = 3, .stringTableSize = 0x20},
         0x2000,
         ImageStatus::Ok,
         0x1600 + 54 + 0x20},
        {"an empty string table still has its size",
         {.sections = two, .symbolTable = 0x1600, .symbols = 1, .stringTableSize = 0},
         0x2000,
         ImageStatus::Ok,
         0x1600 + 18 + 4},
        {"a section past the end", {.sections = two}, 0x1500, ImageStatus::Truncated, 0},
        {"a signature past the end",
         {.sections = two, .certificateOffset = 0x1600, .certificateSize = 0x1000},
         0x2000,
         ImageStatus::Truncated,
         0},
        {"symbols past the end",
         {.sections = two, .symbolTable = 0x1F00, .symbols = 0x100},
         0x2000,
         ImageStatus::Truncated,
         0},
        {"no known optional header", {.magic = 0x107, .sections = two}, 0x2000, ImageStatus::NotImage, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = image(c.layout, c.fileSize);
        MemoryImage memory(bytes);
        std::int64_t length = 0;
        ASSERT_EQ(extractor::PeImageLength(memory, static_cast<std::int64_t>(bytes.size()), length), c.status);
        if (c.status == ImageStatus::Ok) {
            EXPECT_EQ(length, c.length);
        }
    }

    // Not a PE file at all, or cut short inside its headers.
    Bytes elf = {0x7F, 'E', 'L', 'F'};
    elf.resize(4096);
    Bytes noSignature = image({.sections = two}, 0x2000);
    noSignature[0x81] = 'X';
    Bytes cut = image({.sections = two}, 0x2000);
    cut.resize(0xA0);
    for (const Bytes* bytes : std::initializer_list<const Bytes*>{&elf, &noSignature, &cut}) {
        MemoryImage memory(*bytes);
        std::int64_t length = 0;
        EXPECT_EQ(extractor::PeImageLength(memory, static_cast<std::int64_t>(bytes->size()), length),
                  ImageStatus::NotImage);
    }
}

#ifdef TAZEN_WINDOWS_EXTRACTOR_PATH
TEST(PeImage, TheBuiltWindowsExtractorEndsWhereItsFileEnds)
{
    std::ifstream file(TAZEN_WINDOWS_EXTRACTOR_PATH, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 4096u);
    const auto bare = static_cast<std::int64_t>(bytes.size());
    bytes.resize(bytes.size() + 1000, 0x5A);
    MemoryImage memory(bytes);
    std::int64_t length = 0;
    ASSERT_EQ(extractor::PeImageLength(memory, static_cast<std::int64_t>(bytes.size()), length), ImageStatus::Ok);
    EXPECT_EQ(length, bare);
}
#endif

} // namespace
} // namespace tazen::test
