// The .TaZEN writer and reader: the check block, and the payload through the cipher a chunk at a time, a piece
// at a time inside it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/stream.h"

#include <algorithm>

namespace tazen {

namespace {

struct Pass
{
    std::int64_t passed = 0;
    bool cancelled = false;
    bool ended = false;
};

// The block loop over one chunk. Each step asks the hooks about Cancel, transforms up to kPieceSize bytes
// (unless the helpers have them) and tells the hooks; a short piece ends the file, so a file whose size is a
// multiple of kPieceSize ends with an empty pass, and a Cancel noted in a step still lets that step's piece
// through. All the bytes passed are transformed when it returns.
Pass passChunk(TBlockCipher& cipher, Direction direction, std::uint8_t* chunk, std::int64_t size,
               ParallelDecryption* parallel, std::int64_t& done, PayloadHooks& hooks)
{
    Pass pass;
    bool own = true;
    for (;;) {
        pass.cancelled = hooks.CancelAsked();
        const std::int64_t piece = std::min<std::int64_t>(kPieceSize, size - pass.passed);
        if (own && (!parallel || parallel->Claim(pass.passed / kPieceSize))) {
            TransformPayload(cipher, direction, chunk + pass.passed, piece);
        } else if (own) {
            // The helpers have this piece and the rest; what is left is waiting for them.
            parallel->Finish(cipher);
            own = false;
        }
        pass.passed += piece;
        done += piece;
        hooks.PiecePassed(piece, done);
        pass.ended = piece != kPieceSize;
        if (pass.ended || pass.cancelled || pass.passed == size)
            break;
    }
    if (parallel && own)
        parallel->Finish(cipher);
    return pass;
}

ErrorCode writeChunk(ByteSink& sink, PayloadHooks& hooks, const std::uint8_t* data, std::int64_t size, bool plain)
{
    if (plain)
        hooks.PlainChunk(data, size);
    if (const ErrorCode error = sink.Write(data, size))
        return error;
    hooks.ChunkWritten(size);
    return 0;
}

// Reads a chunk, passes it, writes it, until the source ends.
StreamOutcome streamChunks(TBlockCipher& cipher, Direction direction, ByteSource& source, ByteSink& sink,
                           PayloadHooks& hooks, std::uint8_t* buffer)
{
    StreamOutcome outcome;
    std::int64_t done = 0;
    for (;;) {
        std::int64_t got = 0;
        if ((outcome.error = source.Read(buffer, kChunkSize, got)) != 0) {
            outcome.failure = StreamFailure::Read;
            return outcome;
        }
        outcome.read += got;
        if (direction == Direction::Encrypt)
            hooks.PlainChunk(buffer, got);
        const Pass pass = passChunk(cipher, direction, buffer, got, nullptr, done, hooks);
        if ((outcome.cancelled = pass.cancelled))
            return outcome;
        if ((outcome.error = writeChunk(sink, hooks, buffer, pass.passed, direction == Direction::Decrypt)) != 0) {
            outcome.failure = StreamFailure::Write;
            return outcome;
        }
        if ((outcome.ended = pass.ended))
            return outcome;
    }
}

} // namespace

std::uint8_t* PayloadBuffers::Chunk(std::size_t index)
{
    std::unique_ptr<SecretBuffer>& chunk = chunks_.at(index);
    if (!chunk)
        chunk = std::make_unique<SecretBuffer>(static_cast<std::size_t>(kChunkSize));
    return chunk->data();
}

TazenWriter::TazenWriter(TBlockCipher& cipher, const RunKey& key) : cipher_(cipher), key_(key), buffers_(own_) {}

TazenWriter::TazenWriter(TBlockCipher& cipher, const RunKey& key, PayloadBuffers& buffers)
    : cipher_(cipher), key_(key), buffers_(buffers)
{
}

ErrorCode TazenWriter::Begin(ByteSink& sink)
{
    key_.KeyCipher(cipher_);
    return sink.Write(key_.Check().data(), kCheckBlockSize);
}

StreamOutcome TazenWriter::Encrypt(ByteSource& plain, ByteSink& sink, PayloadHooks& hooks)
{
    return streamChunks(cipher_, Direction::Encrypt, plain, sink, hooks, buffers_.Chunk(0));
}

TazenReader::TazenReader(TBlockCipher& cipher, const RunKey& key) : cipher_(cipher), key_(key), buffers_(own_) {}

TazenReader::TazenReader(TBlockCipher& cipher, const RunKey& key, PayloadBuffers& buffers)
    : cipher_(cipher), key_(key), buffers_(buffers)
{
}

CheckOutcome ReadCheckBlock(ByteSource& source, const CheckBlock& expected)
{
    std::uint8_t head[kCheckBlockSize];
    std::int64_t got = 0;
    if (const ErrorCode error = source.Read(head, kCheckBlockSize, got))
        return {CheckResult::ReadFailed, error};
    if (got != kCheckBlockSize)
        return {CheckResult::TooShort, 0};
    return {CheckBlockMatches(expected, head) ? CheckResult::Matches : CheckResult::WrongPassword, 0};
}

CheckOutcome TazenReader::ReadCheckBlock(ByteSource& source) const
{
    return tazen::ReadCheckBlock(source, key_.Check());
}

void TazenReader::KeyCipher()
{
    key_.KeyCipher(cipher_);
}

StreamOutcome TazenReader::Decrypt(ByteSource& source, ByteSink& sink, PayloadHooks& hooks, int threads)
{
    if (threads > 1) {
        ParallelDecryption parallel(cipher_, key_, threads);
        if (parallel.Helps())
            return decryptAhead(source, sink, hooks, parallel);
    }
    return streamChunks(cipher_, Direction::Decrypt, source, sink, hooks, buffers_.Chunk(0));
}

// The chunks after the one being passed are read and queued for the helpers up to ParallelDecryption::kQueued at
// a time, and the chunk before it is written meanwhile, so the helpers have work while the caller reads and
// writes. What is read, what is written and the steps the hooks see are those of the plain loop; a read that
// failed is reported where that loop would have made it.
StreamOutcome TazenReader::decryptAhead(ByteSource& source, ByteSink& sink, PayloadHooks& hooks,
                                        ParallelDecryption& parallel)
{
    constexpr std::size_t kBuffers = ParallelDecryption::kQueued;
    std::array<std::uint8_t*, kBuffers> chunks{};
    for (std::size_t i = 0; i < kBuffers; ++i)
        chunks[i] = buffers_.Chunk(i);
    std::array<std::int64_t, kBuffers> sizes{};
    StreamOutcome outcome;
    std::int64_t done = 0;
    // Chunks read and queued so far; the last of them ends the file when it has a part piece.
    std::uint64_t queued = 0;
    bool endQueued = false;
    ErrorCode readError = 0;
    const auto readNext = [&] {
        if (endQueued || readError != 0)
            return;
        std::int64_t& got = sizes[queued % kBuffers];
        if ((readError = source.Read(chunks[queued % kBuffers], kChunkSize, got)) != 0)
            return;
        outcome.read += got;
        endQueued = got % kPieceSize != 0 || got == 0;
        parallel.Begin(chunks[queued % kBuffers], got);
        ++queued;
    };
    // Whatever ends the stream, the helpers are off the buffers first.
    const auto stop = [&](StreamFailure failure) {
        parallel.Stop();
        outcome.failure = failure;
        return outcome;
    };
    readNext();
    readNext();
    for (std::uint64_t chunk = 0;; ++chunk) {
        if (chunk == queued) {
            outcome.error = readError;
            return stop(StreamFailure::Read);
        }
        const std::size_t previous = (chunk + kBuffers - 1) % kBuffers;
        if (chunk > 0 && (outcome.error = writeChunk(sink, hooks, chunks[previous], sizes[previous], true)) != 0)
            return stop(StreamFailure::Write);
        readNext();
        const std::size_t current = chunk % kBuffers;
        const Pass pass =
            passChunk(cipher_, Direction::Decrypt, chunks[current], sizes[current], &parallel, done, hooks);
        if ((outcome.cancelled = pass.cancelled))
            return stop(StreamFailure::None);
        if (pass.ended) {
            outcome.error = writeChunk(sink, hooks, chunks[current], pass.passed, true);
            outcome.ended = outcome.error == 0;
            return stop(outcome.error != 0 ? StreamFailure::Write : StreamFailure::None);
        }
    }
}

} // namespace tazen
