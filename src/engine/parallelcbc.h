// CBC decryption of one stretch on several threads: a block's plain bytes depend only on it and the block
// before it, so separate parts of a stretch decrypt independently.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/fileformat.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tazen {

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

    // Hands all of data[0, size) but a first part to the helpers and returns the length of that part, a
    // multiple of kPieceSize, which the caller decrypts meanwhile with its own cipher, in place.
    std::int64_t Begin(std::uint8_t* data, std::int64_t size);
    // Waits for the helpers' parts and sets the caller's cipher chain as if it had decrypted the whole
    // stretch itself. Needed after every Begin, also when the caller stops early.
    void Finish(TBlockCipher& cipher);

private:
    struct Part
    {
        std::uint8_t* data = nullptr;
        std::int64_t size = 0;
        std::uint8_t before[8] = {};
    };
    static void decrypt(TBlockCipher& cipher, const Part& part);
    void help(std::size_t index);

    std::vector<std::unique_ptr<TBlockCipher>> helpers_;
    std::vector<Part> parts_;
    std::vector<std::thread> threads_;
    std::uint8_t lastBlock_[8] = {};
    bool pending_ = false;
    bool chainKnown_ = false;

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    std::uint64_t round_ = 0;
    std::size_t outstanding_ = 0;
    bool stopping_ = false;
};

} // namespace tazen
