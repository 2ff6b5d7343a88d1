// CBC decryption of a file's stretches on several threads.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/parallelcbc.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace tazen {

namespace {

constexpr int kBlock = 8;

// Decrypting an encrypted block sets the chain to it, whatever the chain was; its plain bytes are dropped.
void chainFrom(TBlockCipher& cipher, const std::uint8_t* encryptedBlock)
{
    std::uint8_t scratch[kBlock];
    cipher.CbcDecrypt(encryptedBlock, scratch, kBlock);
    SecureFill(scratch, 0, sizeof scratch);
}

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

bool ParallelDecryption::claimFromBack(Stretch*& stretch, std::int64_t& piece)
{
    for (std::uint64_t n = first_; n < end_; ++n) {
        Stretch& candidate = stretches_[n % kQueued];
        std::uint64_t claims = candidate.free.load(std::memory_order_relaxed);
        for (;;) {
            const std::uint64_t front = claims >> 32;
            const std::uint64_t back = claims & 0xFFFFFFFF;
            if (front >= back)
                break;
            if (candidate.free.compare_exchange_weak(claims, packed(front, back - 1), std::memory_order_relaxed)) {
                stretch = &candidate;
                piece = static_cast<std::int64_t>(back - 1);
                return true;
            }
        }
    }
    return false;
}

void ParallelDecryption::help(std::size_t index)
{
    TBlockCipher& cipher = *helpers_[index];
    std::unique_lock lock(mutex_);
    for (;;) {
        Stretch* stretch = nullptr;
        std::int64_t piece = 0;
        work_.wait(lock, [&] { return stopping_ || claimFromBack(stretch, piece); });
        if (!stretch)
            return;
        ++inFlight_;
        lock.unlock();
        chainFrom(cipher, stretch->before[static_cast<std::size_t>(piece)].data());
        const std::int64_t from = piece * kPieceSize;
        cipher.CbcDecrypt(stretch->data + from, stretch->data + from,
                          std::min<std::int64_t>(kPieceSize, stretch->size - from));
        lock.lock();
        --inFlight_;
        ++stretch->helped;
        done_.notify_one();
    }
}

void ParallelDecryption::Begin(std::uint8_t* data, std::int64_t size)
{
    Stretch& stretch = stretches_[end_ % kQueued];
    stretch.data = data;
    stretch.size = size;
    stretch.pieces = (size + kPieceSize - 1) / kPieceSize;
    stretch.shared = !helpers_.empty() && stretch.pieces >= 2;
    if (stretch.shared) {
        stretch.before.resize(static_cast<std::size_t>(stretch.pieces));
        for (std::int64_t i = 1; i < stretch.pieces; ++i)
            std::memcpy(stretch.before[static_cast<std::size_t>(i)].data(), data + i * kPieceSize - kBlock, kBlock);
        // The chain the caller's cipher must carry on with: the stretch's last whole block, before it changes.
        std::memcpy(stretch.last.data(), data + size / kBlock * kBlock - kBlock, kBlock);
    }
    {
        const std::lock_guard lock(mutex_);
        stretch.helped = 0;
        // The first piece is the caller's: only its cipher knows the chain before it.
        stretch.free.store(stretch.shared ? packed(1, static_cast<std::uint64_t>(stretch.pieces)) : 0,
                           std::memory_order_relaxed);
        ++end_;
    }
    if (stretch.shared)
        work_.notify_all();
}

bool ParallelDecryption::Claim(std::int64_t index)
{
    Stretch& stretch = stretches_[first_ % kQueued];
    if (!stretch.shared || index == 0)
        return true;
    std::uint64_t claims = stretch.free.load(std::memory_order_relaxed);
    for (;;) {
        const std::uint64_t front = claims >> 32;
        const std::uint64_t back = claims & 0xFFFFFFFF;
        if (front >= back || front != static_cast<std::uint64_t>(index))
            return false;
        if (stretch.free.compare_exchange_weak(claims, packed(front + 1, back), std::memory_order_relaxed))
            return true;
    }
}

void ParallelDecryption::Finish(TBlockCipher& cipher)
{
    Stretch& stretch = stretches_[first_ % kQueued];
    std::unique_lock lock(mutex_);
    if (stretch.shared) {
        // The caller claims no more, so every piece from its front on is, or will be, the helpers'.
        const auto front = static_cast<std::int64_t>(stretch.free.load(std::memory_order_relaxed) >> 32);
        // The helpers' bytes are seen through this lock.
        done_.wait(lock, [&] { return stretch.helped == stretch.pieces - front; });
        chainFrom(cipher, stretch.last.data());
    }
    ++first_;
}

void ParallelDecryption::Stop()
{
    std::unique_lock lock(mutex_);
    for (std::uint64_t n = first_; n < end_; ++n)
        stretches_[n % kQueued].free.store(0, std::memory_order_relaxed);
    done_.wait(lock, [this] { return inFlight_ == 0; });
    first_ = end_;
}

} // namespace tazen
