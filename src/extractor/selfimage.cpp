// The end of a program's own ELF image, read from its headers.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A self-extracting executable is the extractor's file with the encrypted file appended, and nothing in
// either is marked or patched, so the extractor has to know its own length. The linker places the section
// header table last, so the headers give that length exactly: no build step has to write a size into the
// program, and a later strip, which rewrites the headers, keeps them right.
#include "extractor/selfimage.h"

#include "format/fileformat.h"
#include "platform/descriptor.h"

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tazen::extractor {

namespace {

using Header = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
using SectionHeader = ElfW(Shdr);

#if defined(__LP64__)
constexpr unsigned char kNativeClass = ELFCLASS64;
#else
constexpr unsigned char kNativeClass = ELFCLASS32;
#endif

// Counts and offsets come from the file, so every sum is checked against its size before it is used.
bool readAt(int descriptor, std::int64_t fileSize, std::uint64_t offset, void* buffer, std::uint64_t size)
{
    if (offset > static_cast<std::uint64_t>(fileSize) || size > static_cast<std::uint64_t>(fileSize) - offset)
        return false;
    std::int64_t got = 0;
    return platform::ReadFully(descriptor, buffer, static_cast<std::int64_t>(size), static_cast<std::int64_t>(offset),
                               got, platform::OnInterrupt::StopWhenCaught) == 0 &&
           got == static_cast<std::int64_t>(size);
}

// A table of count entries at offset, read whole.
template <typename Entry>
std::unique_ptr<Entry[]> readTable(int descriptor, std::int64_t fileSize, std::uint64_t offset, std::uint64_t count)
{
    if (count > static_cast<std::uint64_t>(fileSize) / sizeof(Entry))
        return nullptr;
    auto table = std::make_unique<Entry[]>(count);
    if (!readAt(descriptor, fileSize, offset, table.get(), count * sizeof(Entry)))
        return nullptr;
    return table;
}

} // namespace

ImageStatus ElfImageLength(int descriptor, std::int64_t fileSize, std::int64_t& length)
{
    Header header;
    if (!readAt(descriptor, fileSize, 0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeClass)
        return ImageStatus::NotImage;
    if ((header.e_phnum > 0 && header.e_phentsize != sizeof(ProgramHeader)) ||
        (header.e_shoff != 0 && header.e_shentsize != sizeof(SectionHeader)))
        return ImageStatus::NotImage;

    std::uint64_t end = sizeof header;
    const auto reach = [&end](std::uint64_t offset, std::uint64_t size) {
        end = std::max(end, offset + size);
        return offset + size >= offset; // false on overflow
    };

    if (header.e_phnum > 0) {
        const auto segments = readTable<ProgramHeader>(descriptor, fileSize, header.e_phoff, header.e_phnum);
        if (!segments)
            return ImageStatus::Truncated;
        reach(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ProgramHeader));
        for (std::uint64_t i = 0; i < header.e_phnum; ++i)
            if (!reach(segments[i].p_offset, segments[i].p_filesz))
                return ImageStatus::Truncated;
    }

    if (header.e_shoff != 0) {
        // With 0xFF00 sections or more, e_shnum is 0 and the count is the first section's size.
        std::uint64_t count = header.e_shnum;
        if (count == 0) {
            SectionHeader first;
            if (!readAt(descriptor, fileSize, header.e_shoff, &first, sizeof first))
                return ImageStatus::Truncated;
            count = first.sh_size;
        }
        const auto sections = readTable<SectionHeader>(descriptor, fileSize, header.e_shoff, count);
        if (!sections)
            return ImageStatus::Truncated;
        reach(header.e_shoff, count * sizeof(SectionHeader));
        for (std::uint64_t i = 0; i < count; ++i)
            if (sections[i].sh_type != SHT_NULL && sections[i].sh_type != SHT_NOBITS &&
                !reach(sections[i].sh_offset, sections[i].sh_size))
                return ImageStatus::Truncated;
    }

    if (end > static_cast<std::uint64_t>(fileSize))
        return ImageStatus::Truncated;
    length = static_cast<std::int64_t>(end);
    return ImageStatus::Ok;
}

PayloadStatus LocatePayload(int descriptor, std::int64_t fileSize, std::int64_t& start, std::int64_t& size)
{
    std::int64_t length = 0;
    const ImageStatus image = ElfImageLength(descriptor, fileSize, length);
    return PayloadBehind(image, length, fileSize, start, size);
}

} // namespace tazen::extractor
