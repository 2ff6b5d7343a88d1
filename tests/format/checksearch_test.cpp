// The search for an executable's attached .TaZEN file: found behind random bytes and decrypted, near misses and
// read boundaries, and the ways it ends without a payload (Cancel is the run's test).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/checksearch.h"

#include "cipher/blowfish.h"
#include "format/stream.h"

#include "common/memory_stream.h"
#include "common/reference_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>

namespace tazen {
namespace {

using test::Bytes;

constexpr std::size_t kRead = PayloadSource::kSearchReadSize;

TEST(CheckSearch, FindsTheFirstWholeCheckBlockBehindAnyBytesAndDecryptsWhatFollows)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    std::mt19937 rng(1);
    const Bytes plain = test::randomBytes(rng, 3 * 8192 + 5);
    // Near misses are planted in the bytes before: where, and which byte of the block differs (never its first,
    // so the scan compares each whole).
    const struct
    {
        std::size_t before;
        std::vector<std::pair<std::size_t, std::size_t>> misses;
    } cases[] = {
        {0, {}},
        {900'001, {}},
        {kRead - 32, {}},
        {kRead - 31, {}},
        {kRead - 16, {}},
        {kRead - 1, {}},
        {kRead, {}},
        {70'000, {{100, 31}, {5'000, 15}, {60'000, 1}}},
        {kRead + 40, {{kRead - 232, 20}, {kRead - 16, 31}}},
        {2 * kRead + 40, {{2 * kRead - 1, 31}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        Bytes file = test::referenceExecutable(test::randomBytes(rng, c.before), "right", plain);
        for (const auto& [at, changed] : c.misses) {
            std::copy(key.Check().begin(), key.Check().end(), file.begin() + static_cast<std::ptrdiff_t>(at));
            file[at + changed] ^= 0x01;
        }
        test::MemorySource source(file);
        PayloadSource payload(source, true);
        const LocateOutcome located = payload.Locate(key.Check());
        ASSERT_EQ(located.result, LocateResult::Found);
        EXPECT_EQ(located.offset, static_cast<std::int64_t>(c.before));

        TazenReader reader(cipher, key);
        reader.KeyCipher();
        test::MemorySink sink;
        PayloadHooks hooks;
        const StreamOutcome stream = reader.Decrypt(payload, sink, hooks);
        EXPECT_TRUE(stream.ended);
        EXPECT_EQ(sink.bytes, plain);
    }
}

TEST(CheckSearch, EndsWithoutAPayloadForAnotherPasswordTooFewBytesOrAFailedRead)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    std::mt19937 rng(2);
    const Bytes other = test::referenceExecutable(test::randomBytes(rng, kRead + 7), "wrong", Bytes(100, 1));
    const Bytes right = test::referenceExecutable(test::randomBytes(rng, 2 * kRead), "right", {});
    const Bytes few(key.Check().begin(), key.Check().end() - 1);
    const struct
    {
        const Bytes& file;
        std::size_t failAt;
        LocateResult result;
        int error;
    } cases[] = {
        {other, SIZE_MAX, LocateResult::WrongPassword, 0},
        {few, SIZE_MAX, LocateResult::TooShort, 0},
        {right, kRead + 5, LocateResult::ReadFailed, EIO},
    };
    for (const auto& c : cases) {
        test::MemorySource source(c.file, c.failAt, EIO);
        PayloadSource payload(source, true);
        const LocateOutcome located = payload.Locate(key.Check());
        EXPECT_EQ(located.result, c.result) << &c - cases;
        EXPECT_EQ(located.error, c.error) << &c - cases;
    }
}

} // namespace
} // namespace tazen
