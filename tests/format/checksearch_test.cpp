// The search for an executable's attached .TaZEN file: found behind random bytes and decrypted, near misses and
// read boundaries, and every way it ends without a payload.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/checksearch.h"

#include "cipher/blowfish.h"
#include "format/stream.h"

#include "common/bytes.h"
#include "common/memory_stream.h"
#include "common/reference_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>

namespace tazen {
namespace {

using test::Bytes;
using test::MemorySink;
using test::MemorySource;

constexpr std::size_t kRead = PayloadSource::kSearchReadSize;

Bytes randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// The block with one byte changed: 31 of its 32 bytes, its first among them, so the scan compares it whole.
Bytes nearMiss(const CheckBlock& check, std::size_t changed)
{
    Bytes block(check.begin(), check.end());
    block[changed] ^= 0x01;
    return block;
}

class StopAt : public SearchHooks
{
public:
    explicit StopAt(int cancelAt = -1) : cancelAt_(cancelAt) {}
    bool CancelAsked() override { return asked_++ == cancelAt_; }
    void Searched(std::int64_t bytes) override { searched = bytes; }
    std::int64_t searched = 0;

private:
    int cancelAt_;
    int asked_ = 0;
};

TEST(CheckSearch, FindsTheFirstWholeCheckBlockBehindAnyBytesAndDecryptsWhatFollows)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    const Bytes plain = randomBytes(3 * 8192 + 5, 1);
    const Bytes tazen = test::referenceFile("right", plain);
    const CheckBlock& check = key.Check();
    struct
    {
        const char* what;
        std::size_t prefix;
        // Near misses planted in the prefix: where, and which byte of the block differs.
        std::vector<std::pair<std::size_t, std::size_t>> misses;
    } const cases[] = {
        {"a .TaZEN file searched", 0, {}},
        {"behind an extractor's bytes", 900'001, {}},
        {"wholly in the first read", kRead - 32, {}},
        {"straddling the reads by one byte", kRead - 31, {}},
        {"straddling the reads halfway", kRead - 16, {}},
        {"straddling the reads but for one byte", kRead - 1, {}},
        {"at the second read's start", kRead, {}},
        {"after near misses", 70'000, {{100, 31}, {5'000, 15}, {60'000, 1}}},
        {"after near misses at and across the first boundary", kRead + 40, {{kRead - 232, 20}, {kRead - 16, 31}}},
        {"after a near miss from the last byte of a read", 2 * kRead + 40, {{2 * kRead - 1, 31}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = randomBytes(c.prefix, 2);
        for (const auto& [at, changed] : c.misses) {
            const Bytes miss = nearMiss(check, changed);
            std::copy(miss.begin(), miss.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        }
        file.insert(file.end(), tazen.begin(), tazen.end());

        MemorySource source(file);
        PayloadSource payload(source, true);
        const LocateOutcome located = payload.Locate(check);
        ASSERT_EQ(located.result, LocateResult::Found);
        EXPECT_EQ(located.offset, static_cast<std::int64_t>(c.prefix));

        TazenReader reader(cipher, key);
        reader.KeyCipher();
        MemorySink sink;
        PayloadHooks hooks;
        const StreamOutcome stream = reader.Decrypt(payload, sink, hooks);
        EXPECT_TRUE(stream.ended);
        EXPECT_EQ(stream.read, static_cast<std::int64_t>(plain.size()));
        EXPECT_EQ(sink.bytes, plain);
        cipher.Wipe();
    }
}

TEST(CheckSearch, EndsWithoutAPayloadForAnotherPasswordTooFewBytesAFailedReadOrCancel)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    const Bytes other = test::referenceFile("wrong", randomBytes(100, 3));
    Bytes otherBehind = randomBytes(kRead + 7, 4);
    otherBehind.insert(otherBehind.end(), other.begin(), other.end());
    Bytes right = randomBytes(2 * kRead, 5);
    right.insert(right.end(), key.Check().begin(), key.Check().end());
    const Bytes few(key.Check().begin(), key.Check().end() - 1);
    struct
    {
        const char* what;
        const Bytes& file;
        bool search;
        std::size_t failAt;
        int cancelAt;
        LocateResult result;
        int error;
        // What the hooks were last told was searched.
        std::int64_t searched;
    } const cases[] = {
        {"another password's file, searched", otherBehind, true, SIZE_MAX, -1, LocateResult::WrongPassword, 0, kRead},
        {"another password's file at the start", other, false, SIZE_MAX, -1, LocateResult::WrongPassword, 0, 0},
        {"31 bytes, searched", few, true, SIZE_MAX, -1, LocateResult::TooShort, 0, 0},
        {"31 bytes at the start", few, false, SIZE_MAX, -1, LocateResult::TooShort, 0, 0},
        {"a read failing after the first", right, true, kRead + 5, -1, LocateResult::ReadFailed, EIO, kRead},
        {"Cancel before the third read", right, true, SIZE_MAX, 2, LocateResult::Cancelled, 0, 2 * kRead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySource source(c.file, c.failAt, EIO);
        PayloadSource payload(source, c.search);
        StopAt hooks(c.cancelAt);
        const LocateOutcome located = payload.Locate(key.Check(), hooks);
        EXPECT_EQ(located.result, c.result);
        EXPECT_EQ(located.error, c.error);
        EXPECT_EQ(hooks.searched, c.searched);
    }
}

TEST(CheckSearch, SearchesOnlyNamesWithTheExecutableEndingInAnyLetterCase)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    Bytes file = randomBytes(1000, 6);
    file.insert(file.end(), key.Check().begin(), key.Check().end());
    const struct
    {
        const char* name;
        LocateResult result;
    } cases[] = {
        {"a.TaZEN.exe", LocateResult::Found},   {"a.TaZEN.EXE", LocateResult::Found},
        {"a.tazen.exe", LocateResult::Found},   {"a.TaZEN", LocateResult::WrongPassword},
        {"a.exe", LocateResult::WrongPassword},
    };
    for (const auto& c : cases) {
        MemorySource source(file);
        PayloadSource payload(source, std::string_view(c.name));
        EXPECT_EQ(payload.Locate(key.Check()).result, c.result) << c.name;
    }
}

} // namespace
} // namespace tazen
