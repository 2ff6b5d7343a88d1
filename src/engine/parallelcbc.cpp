// CBC decryption of one stretch on several threads.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelcbc.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace tazen {

namespace {

constexpr int kBlock = 8;

} // namespace

ParallelDecryption::ParallelDecryption(const TBlockCipher& cipher, const RunKey& key, int threads)
{
    // BlockSize counts bits.
    if (cipher.BlockSize() != kBlock * 8)
        return;
    for (int i = 1; i < threads; ++i) {
        std::unique_ptr<TBlockCipher> helper = cipher.NewOfSameKind();
        if (!helper)
            break;
        key.KeyCipher(*helper);
        helpers_.push_back(std::move(helper));
    }
    for (std::size_t i = 0; i < helpers_.size(); ++i) {
        try {
            threads_.emplace_back([this, i] { help(i); });
        } catch (const std::system_error&) {
            // Fewer helpers then; the caller does what they would have.
            break;
        }
    }
    for (std::size_t i = threads_.size(); i < helpers_.size(); ++i)
        helpers_[i]->Wipe();
    helpers_.resize(threads_.size());
}

ParallelDecryption::~ParallelDecryption()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    for (const std::unique_ptr<TBlockCipher>& helper : helpers_)
        helper->Wipe();
}

void ParallelDecryption::help(std::size_t index)
{
    TBlockCipher& cipher = *helpers_[index];
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [&] { return stopping_ || round_ != seen; });
        if (stopping_)
            return;
        seen = round_;
        lock.unlock();
        std::uint64_t claims = free_.load(std::memory_order_relaxed);
        for (;;) {
            const std::uint64_t front = claims >> 32;
            const std::uint64_t back = claims & 0xFFFFFFFF;
            if (front >= back)
                break;
            if (!free_.compare_exchange_weak(claims, packed(front, back - 1), std::memory_order_relaxed))
                continue;
            // Decrypting the block before the piece sets the chain to it, whatever the chain was.
            const auto from = static_cast<std::int64_t>(back - 1) * kPieceSize;
            Block scratch;
            cipher.CbcDecrypt(before_[back - 1].data(), scratch.data(), kBlock);
            SecureFill(scratch.data(), 0, scratch.size());
            cipher.CbcDecrypt(data_ + from, data_ + from, std::min<std::int64_t>(kPieceSize, size_ - from));
            claims = free_.load(std::memory_order_relaxed);
        }
        lock.lock();
        if (--busy_ == 0)
            done_.notify_one();
    }
}

void ParallelDecryption::Begin(std::uint8_t* data, std::int64_t size)
{
    pending_ = true;
    const std::int64_t pieces = (size + kPieceSize - 1) / kPieceSize;
    shared_ = !helpers_.empty() && pieces >= 2;
    if (!shared_)
        return;
    data_ = data;
    size_ = size;
    before_.resize(static_cast<std::size_t>(pieces));
    for (std::int64_t i = 1; i < pieces; ++i)
        std::memcpy(before_[static_cast<std::size_t>(i)].data(), data + i * kPieceSize - kBlock, kBlock);
    // The chain the caller's cipher must carry on with: the stretch's last whole block, before it changes.
    std::memcpy(lastBlock_.data(), data + size / kBlock * kBlock - kBlock, kBlock);
    {
        const std::lock_guard lock(mutex_);
        // The first piece is the caller's: only its cipher knows the chain before it.
        free_.store(packed(1, static_cast<std::uint64_t>(pieces)), std::memory_order_relaxed);
        busy_ = helpers_.size();
        ++round_;
    }
    work_.notify_all();
}

bool ParallelDecryption::Claim(std::int64_t index)
{
    if (!shared_ || index == 0)
        return true;
    std::uint64_t claims = free_.load(std::memory_order_relaxed);
    for (;;) {
        const std::uint64_t front = claims >> 32;
        const std::uint64_t back = claims & 0xFFFFFFFF;
        if (front >= back || front != static_cast<std::uint64_t>(index))
            return false;
        if (free_.compare_exchange_weak(claims, packed(front + 1, back), std::memory_order_relaxed))
            return true;
    }
}

void ParallelDecryption::Finish(TBlockCipher& cipher)
{
    if (!pending_)
        return;
    pending_ = false;
    if (!shared_)
        return;
    shared_ = false;
    {
        // The helpers' bytes are seen through this lock.
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
    }
    Block scratch;
    cipher.CbcDecrypt(lastBlock_.data(), scratch.data(), kBlock);
    SecureFill(scratch.data(), 0, scratch.size());
}

void ParallelDecryption::Decrypt(TBlockCipher& cipher, std::uint8_t* data, std::int64_t size)
{
    Begin(data, size);
    for (std::int64_t index = 0; index * kPieceSize < size && Claim(index); ++index) {
        const std::int64_t from = index * kPieceSize;
        cipher.CbcDecrypt(data + from, data + from, std::min<std::int64_t>(kPieceSize, size - from));
    }
    Finish(cipher);
}

} // namespace tazen
