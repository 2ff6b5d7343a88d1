// CBC decryption of one stretch on several threads: a block's plain bytes depend only on it and the block
// before it, so separate pieces of a stretch decrypt independently.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/fileformat.h"

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
class ParallelDecryption
{
public:
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
    // Lets the helpers start on data[0, size), which is decrypted in place; the caller's cipher must carry
    // the chain the stretch starts from.
    void Begin(std::uint8_t* data, std::int64_t size);
    // Whether the caller is to decrypt piece index of the stretch with its own cipher. The caller asks for
    // the pieces in order from 0 and gets the first one always; after a false answer the rest is the helpers'.
    bool Claim(std::int64_t index);
    // Waits until the helpers have decrypted every piece the caller did not claim, and sets the caller's
    // cipher chain as if it had decrypted the whole stretch itself. Needed after every Begin, also when the
    // caller stops early, and before the stretch's bytes are used.
    void Finish(TBlockCipher& cipher);
    // All of the above, for a caller with no steps to show between pieces.
    void Decrypt(TBlockCipher& cipher, std::uint8_t* data, std::int64_t size);

private:
    using Block = std::array<std::uint8_t, 8>;
    // Claims are the pieces [front, back) still free, packed into one word: front in the high half.
    static std::uint64_t packed(std::uint64_t front, std::uint64_t back) { return front << 32 | back; }
    void help(std::size_t index);

    std::vector<std::unique_ptr<TBlockCipher>> helpers_;
    std::vector<std::thread> threads_;
    std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
    // The encrypted block before each piece, kept since the piece before may be decrypted first.
    std::vector<Block> before_;
    Block lastBlock_{};
    bool pending_ = false;
    bool shared_ = false;
    std::atomic<std::uint64_t> free_{0};

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    std::uint64_t round_ = 0;
    std::size_t busy_ = 0;
    bool stopping_ = false;
};

} // namespace tazen
