// The format's reader and writer: each way a stream stops, read failure, write failure and Cancel, on one thread
// and with the decryption's read-ahead, and the three ways a check block is refused.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/stream.h"

#include "cipher/blowfish.h"

#include "common/bytes.h"
#include "common/memory_stream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <limits>
#include <random>

namespace tazen {
namespace {

using test::Bytes;
using test::MemorySink;
using test::MemorySource;

constexpr std::size_t kChunk = 128 * 8192;
constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

// Asks for Cancel before piece cancelAt (counted from 0) and counts the pieces.
class CountingHooks : public PayloadHooks
{
public:
    explicit CountingHooks(int cancelAt = -1) : cancelAt_(cancelAt) {}
    bool CancelAsked() override { return asked_++ == cancelAt_; }
    void PiecePassed(std::int64_t, std::int64_t) override { ++passed; }
    int passed = 0;

private:
    int cancelAt_;
    int asked_ = 0;
};

struct Case
{
    const char* what;
    bool decrypting;
    int threads;
    // Payload bytes at which the source or the sink fails; kNever for none.
    std::size_t readFailsAt;
    std::size_t writeFailsAt;
    int cancelAt;
    StreamFailure failure;
    int error;
    // The payload bytes the sink has taken when the stream stops.
    std::size_t written;
};

TEST(FormatStream, StopsWhereTheSourceOrTheSinkFailsOrCancelIsAsked)
{
    const Case cases[] = {
        {"encrypting, a read fails", false, 1, kChunk + 100, kNever, -1, StreamFailure::Read, EIO, kChunk},
        {"encrypting, a write fails", false, 1, kNever, kChunk + 10, -1, StreamFailure::Write, ENOSPC, kChunk},
        {"encrypting, cancelled", false, 1, kNever, kNever, 130, StreamFailure::None, 0, kChunk},
        {"decrypting, a read fails", true, 1, kChunk + 100, kNever, -1, StreamFailure::Read, EIO, kChunk},
        // The chunk before the failed read's is not written: the new file is thrown away.
        {"decrypting ahead, a read fails", true, 3, 2 * kChunk + 100, kNever, -1, StreamFailure::Read, EIO, kChunk},
        {"decrypting, a write fails", true, 1, kNever, kChunk + 10, -1, StreamFailure::Write, ENOSPC, kChunk},
        {"decrypting ahead, a write fails", true, 3, kNever, 2 * kChunk + 10, -1, StreamFailure::Write, ENOSPC,
         2 * kChunk},
        {"decrypting ahead, cancelled", true, 3, kNever, kNever, 300, StreamFailure::None, 0, 2 * kChunk},
    };
    std::mt19937 rng(5);
    const Bytes plain = test::randomBytes(rng, 4 * kChunk + 77);
    TBlowfish cipher;
    const RunKey key(cipher, "streams");
    Bytes file;
    {
        TazenWriter writer(cipher, key);
        MemorySource source(plain);
        MemorySink sink;
        PayloadHooks none;
        ASSERT_EQ(writer.Begin(sink), 0);
        ASSERT_TRUE(writer.Encrypt(source, sink, none).ended);
        file = sink.bytes;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t header = c.decrypting ? kCheckBlockSize : 0;
        MemorySource source(c.decrypting ? file : plain, c.readFailsAt == kNever ? kNever : header + c.readFailsAt,
                            EIO);
        MemorySink sink(c.writeFailsAt, ENOSPC);
        CountingHooks hooks(c.cancelAt);
        StreamOutcome outcome;
        if (c.decrypting) {
            TazenReader reader(cipher, key);
            ASSERT_TRUE(reader.ReadCheckBlock(source).Matches());
            reader.KeyCipher();
            outcome = reader.Decrypt(source, sink, hooks, c.threads);
        } else {
            TazenWriter writer(cipher, key);
            MemorySink header;
            ASSERT_EQ(writer.Begin(header), 0);
            outcome = writer.Encrypt(source, sink, hooks);
        }
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(outcome.cancelled, c.cancelAt >= 0);
        EXPECT_FALSE(outcome.ended);
        ASSERT_EQ(sink.bytes.size(), c.written);
        const Bytes& expected = c.decrypting ? plain : file;
        EXPECT_TRUE(std::equal(sink.bytes.begin(), sink.bytes.end(), expected.begin() + (c.decrypting ? 0 : 32)));
        // The piece during which Cancel was asked still passes.
        if (c.cancelAt >= 0) {
            EXPECT_EQ(hooks.passed, c.cancelAt + 1);
        }
        cipher.Wipe();
    }
}

TEST(FormatStream, RefusesACheckBlockThatIsShortWrongOrUnreadable)
{
    TBlowfish cipher;
    const RunKey key(cipher, "right");
    const RunKey other(cipher, "wrong");
    const Bytes right(key.Check().begin(), key.Check().end());
    const Bytes wrong(other.Check().begin(), other.Check().end());
    const Bytes cut(right.begin(), right.end() - 1);
    const TazenReader reader(cipher, key);
    struct
    {
        const Bytes& file;
        std::size_t failAt;
        CheckResult result;
        int error;
    } const cases[] = {
        {right, kNever, CheckResult::Matches, 0},
        {cut, kNever, CheckResult::TooShort, 0},
        {wrong, kNever, CheckResult::WrongPassword, 0},
        {right, 16, CheckResult::ReadFailed, EACCES},
    };
    for (const auto& c : cases) {
        MemorySource source(c.file, c.failAt, EACCES);
        const CheckOutcome outcome = reader.ReadCheckBlock(source);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.error, c.error);
    }
    EXPECT_FALSE(cipher.Initialized());
}

} // namespace
} // namespace tazen
