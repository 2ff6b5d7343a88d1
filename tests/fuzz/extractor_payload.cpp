// Fuzzes how the extractors find the encrypted file behind their own program: any bytes as the executable's
// file, its ELF image (and, as the Windows extractor reads it, its PE image) measured, the attached file
// located and its password check read as the extractor does.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include "cipher/blowfish.h"
#include "extractor/peimage.h"
#include "extractor/selfimage.h"
#include "format/fileformat.h"

#include <cstring>
#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace tazen;
using extractor::ImageStatus;
using extractor::PayloadStatus;

// The input as the Windows extractor's file.
class InputBytes : public extractor::ImageBytes
{
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        FUZZ_CHECK(offset <= size_ && size <= size_ - offset);
        std::memcpy(buffer, data_ + offset, size);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

constexpr const char* kPassword = "fuzz";

// One in-memory file for the whole process, rewritten for each input.
int memoryFile()
{
    static const int descriptor = [] {
        const int fd = ::memfd_create("extractor_payload", MFD_CLOEXEC);
        if (fd < 0)
            std::abort();
        return fd;
    }();
    return descriptor;
}

void fill(int descriptor, const std::uint8_t* data, std::size_t size)
{
    FUZZ_CHECK(::ftruncate(descriptor, 0) == 0);
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
        FUZZ_CHECK(written > 0);
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int self = memoryFile();
    fill(self, data, size);
    const auto fileSize = static_cast<std::int64_t>(size);

    std::int64_t length = -1;
    const ImageStatus image = extractor::ElfImageLength(self, fileSize, length);
    if (image == ImageStatus::Ok)
        FUZZ_CHECK(length >= static_cast<std::int64_t>(sizeof(ElfW(Ehdr))) && length <= fileSize);

    InputBytes bytes(data, size);
    std::int64_t peLength = -1;
    if (extractor::PeImageLength(bytes, fileSize, peLength) == ImageStatus::Ok)
        FUZZ_CHECK(peLength >= 64 && peLength <= fileSize);

    std::int64_t start = -1;
    std::int64_t payload = -1;
    const PayloadStatus found = extractor::LocatePayload(self, fileSize, start, payload);
    switch (found) {
    case PayloadStatus::NotImage:
        FUZZ_CHECK(image == ImageStatus::NotImage);
        return 0;
    case PayloadStatus::Truncated:
        FUZZ_CHECK(image == ImageStatus::Truncated);
        return 0;
    case PayloadStatus::Missing:
        FUZZ_CHECK(image == ImageStatus::Ok && start == length && payload == 0);
        return 0;
    case PayloadStatus::TooShort:
        FUZZ_CHECK(image == ImageStatus::Ok && start == length && payload > 0 && payload < kCheckBlockSize);
        return 0;
    case PayloadStatus::Found:
        FUZZ_CHECK(image == ImageStatus::Ok && start == length && payload >= kCheckBlockSize);
        break;
    }
    FUZZ_CHECK(start + payload == fileSize);

    // What the extractor does next: read the check block, compare, and decrypt the rest.
    std::uint8_t head[kCheckBlockSize];
    FUZZ_CHECK(::pread(self, head, kCheckBlockSize, start) == kCheckBlockSize);
    TBlowfish cipher;
    const CheckBlock expected = KeyCipher(cipher, kPassword);
    if (CheckBlockMatches(expected, head)) {
        std::string plain(reinterpret_cast<const char*>(data) + start + kCheckBlockSize,
                          static_cast<std::size_t>(payload - kCheckBlockSize));
        TransformPayload(cipher, Direction::Decrypt, reinterpret_cast<std::uint8_t*>(plain.data()),
                         static_cast<std::int64_t>(plain.size()));
        FUZZ_CHECK(static_cast<std::int64_t>(plain.size()) == PayloadSize(payload));
    }
    cipher.Wipe();
    return 0;
}
