// CBC decryption of a file's stretches on several threads: a block's plain bytes depend only on it and the
// block before it, so separate pieces of a stretch decrypt independently.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "format/fileformat.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tazen {

// The caller takes a stretch's kPieceSize pieces from the front, in order, and the helpers take them from
// the back, until they meet: whoever is held up by other work (reading, writing, drawing) simply does fewer.
// Up to kQueued stretches that follow each other in the file may be begun at once; the helpers work on the
// oldest one with pieces left, so a caller held up by a slow write finds the next stretches partly done.
class ParallelDecryption
{
public:
    static constexpr std::size_t kQueued = 3;

    // threads counts the caller's own; a cipher without a sibling of its kind, or one thread, leaves all
    // the work to the caller. The helpers are keyed from key, and their threads wait for work until the
    // object goes: a thread started for each stretch would often get no processor of its own before the
    // caller had finished its part.
    ParallelDecryption(const TBlockCipher& cipher, const RunKey& key, int threads);
    ~ParallelDecryption();
    ParallelDecryption(const ParallelDecryption&) = delete;
    ParallelDecryption& operator=(const ParallelDecryption&) = delete;

    // Whether any helper thread runs.
    bool Helps() const { return !threads_.empty(); }
    // Queues data[0, size), which is decrypted in place and follows the stretch begun before it, for the
    // helpers. At most kQueued stretches may be begun and not finished.
    void Begin(std::uint8_t* data, std::int64_t size);
    // Whether the caller is to decrypt piece index of the oldest unfinished stretch with its own cipher. The
    // caller asks for the pieces in order from 0 and gets the first one always; after a false answer the
    // rest is the helpers'.
    bool Claim(std::int64_t index);
    // Waits until the helpers have decrypted every piece of the oldest unfinished stretch the caller did not
    // claim, and sets the caller's cipher chain as if it had decrypted that stretch itself, which the caller's
    // cipher must have carried into it. Needed before its bytes are used.
    void Finish(TBlockCipher& cipher);
    // Drops every unfinished stretch, leaving their unclaimed pieces as they are, once no helper is on any.
    void Stop();

private:
    using Block = std::array<std::uint8_t, 8>;
    struct Stretch
    {
        std::uint8_t* data = nullptr;
        std::int64_t size = 0;
        std::int64_t pieces = 0;
        bool shared = false;
        // The encrypted block before each piece, kept since the piece before may be decrypted first.
        std::vector<Block> before;
        Block last{};
        // The pieces [front, back) no one has claimed, packed into one word: front in the high half.
        std::atomic<std::uint64_t> free{0};
        // Pieces the helpers have decrypted; under mutex_.
        std::int64_t helped = 0;
    };
    static std::uint64_t packed(std::uint64_t front, std::uint64_t back) { return front << 32 | back; }
    // Claims the last free piece of the oldest stretch that has one; under mutex_.
    bool claimFromBack(Stretch*& stretch, std::int64_t& piece);
    void help(std::size_t index);

    std::vector<std::unique_ptr<TBlockCipher>> helpers_;
    std::vector<std::thread> threads_;
    std::array<Stretch, kQueued> stretches_;
    // Stretches first_ to end_ - 1 are unfinished, in stretches_[n % kQueued]; changed by the caller under
    // mutex_.
    std::uint64_t first_ = 0;
    std::uint64_t end_ = 0;

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    // Pieces the helpers are decrypting right now.
    int inFlight_ = 0;
    bool stopping_ = false;
};

} // namespace tazen
