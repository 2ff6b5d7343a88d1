// The one writer and the one reader of .TaZEN files, over any byte source and sink: a file, a pipe, the bytes
// attached to an extractor, a read-back.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "base/error.h"
#include "cipher/cryptbase.h"
#include "format/fileformat.h"
#include "format/parallelcbc.h"

#include <array>
#include <cstdint>
#include <memory>

namespace tazen {

// Reads and writes move this much at a time; the cipher, the hooks and Cancel still step by kPieceSize inside
// it, so what is written and what is shown is the same as with 8192-byte reads.
inline constexpr std::int64_t kChunkSize = std::int64_t{128} * kPieceSize;

// What the owner of a stream is asked and told while the payload goes through the cipher.
class PayloadHooks
{
public:
    virtual ~PayloadHooks() = default;
    // Before each piece: true stops the stream once this piece has passed.
    virtual bool CancelAsked() { return false; }
    // After each piece: its size and the payload bytes passed so far, this piece's included.
    virtual void PiecePassed(std::int64_t /*piece*/, std::int64_t /*done*/) {}
    // A chunk's plain bytes: encrypting, as read and before they are encrypted; decrypting, as decrypted and
    // before they are written.
    virtual void PlainChunk(const std::uint8_t* /*data*/, std::int64_t /*size*/) {}
    // After each chunk the sink took, with its size: the moment to start its writeback.
    virtual void ChunkWritten(std::int64_t /*size*/) {}
};

enum class StreamFailure
{
    None,
    Read,
    Write
};

// How a stream ended. A cancelled one leaves its last chunk unwritten: the file is thrown away.
struct [[nodiscard]] StreamOutcome
{
    StreamFailure failure = StreamFailure::None;
    // The failed side's reason.
    ErrorCode error;
    bool cancelled = false;
    // The source's end was passed and all of it written.
    bool ended = false;
    // The bytes taken from the source.
    std::int64_t read = 0;
};

enum class CheckResult
{
    Matches,
    ReadFailed,
    TooShort,
    WrongPassword
};

struct [[nodiscard]] CheckOutcome
{
    CheckResult result = CheckResult::Matches;
    // Why the read failed, for ReadFailed.
    ErrorCode error;
    bool Matches() const { return result == CheckResult::Matches; }
};

// Reads the first kCheckBlockSize bytes of source and compares them with expected, in time independent of where
// they differ.
CheckOutcome ReadCheckBlock(ByteSource& source, const CheckBlock& expected);

// The chunks a stream moves its bytes through, made when first needed and kept for the next file of a run.
// They hold plain bytes.
class PayloadBuffers
{
public:
    std::uint8_t* Chunk(std::size_t index);

private:
    std::array<std::unique_ptr<SecretBuffer>, ParallelDecryption::kQueued> chunks_;
};

// Writes the check block and then the payload encrypted, a short piece ending the file: one whose length is a
// multiple of kPieceSize ends with an empty pass.
class TazenWriter
{
public:
    // buffers, when given, are the run's, kept from file to file.
    TazenWriter(TBlockCipher& cipher, const RunKey& key);
    TazenWriter(TBlockCipher& cipher, const RunKey& key, PayloadBuffers& buffers);
    TazenWriter(const TazenWriter&) = delete;
    TazenWriter& operator=(const TazenWriter&) = delete;

    // Keys the cipher for a new file, its chain at the initial vector, and writes the check block.
    ErrorCode Begin(ByteSink& sink);
    // Encrypts plain from where it stands to its end into sink.
    StreamOutcome Encrypt(ByteSource& plain, ByteSink& sink, PayloadHooks& hooks);

private:
    TBlockCipher& cipher_;
    const RunKey& key_;
    PayloadBuffers own_;
    PayloadBuffers& buffers_;
};

// Checks the check block and decrypts the payload behind it.
class TazenReader
{
public:
    TazenReader(TBlockCipher& cipher, const RunKey& key);
    TazenReader(TBlockCipher& cipher, const RunKey& key, PayloadBuffers& buffers);
    TazenReader(const TazenReader&) = delete;
    TazenReader& operator=(const TazenReader&) = delete;

    // Reads the first kCheckBlockSize bytes and compares them with the key's check block, in time independent of
    // where they differ. The cipher is left as it is.
    CheckOutcome ReadCheckBlock(ByteSource& source) const;
    // Keys the cipher for a payload's start, its chain at the initial vector.
    void KeyCipher();
    // Decrypts source from where it stands to its end into sink, carrying on the chain the cipher holds. threads
    // counts the caller's own; with more, helpers decrypt the chunks read ahead while the caller reads and writes.
    StreamOutcome Decrypt(ByteSource& source, ByteSink& sink, PayloadHooks& hooks, int threads = 1);

private:
    StreamOutcome decryptAhead(ByteSource& source, ByteSink& sink, PayloadHooks& hooks, ParallelDecryption& parallel);

    TBlockCipher& cipher_;
    const RunKey& key_;
    PayloadBuffers own_;
    PayloadBuffers& buffers_;
};

} // namespace tazen
