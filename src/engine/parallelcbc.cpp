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
    if (cipher.BlockSize() != kBlock)
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
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [&] { return stopping_ || round_ != seen; });
        if (stopping_)
            return;
        seen = round_;
        if (index >= parts_.size())
            continue;
        const Part part = parts_[index];
        lock.unlock();
        decrypt(*helpers_[index], part);
        lock.lock();
        if (--outstanding_ == 0)
            done_.notify_one();
    }
}

void ParallelDecryption::decrypt(TBlockCipher& cipher, const Part& part)
{
    // Decrypting the block before the part sets the chain to it, whatever the chain was.
    std::uint8_t scratch[kBlock];
    cipher.CbcDecrypt(part.before, scratch, kBlock);
    SecureFill(scratch, 0, sizeof scratch);
    cipher.CbcDecrypt(part.data, part.data, part.size);
}

std::int64_t ParallelDecryption::Begin(std::uint8_t* data, std::int64_t size)
{
    pending_ = true;
    const auto shares = static_cast<std::int64_t>(helpers_.size()) + 1;
    const std::int64_t pieces = (size + kPieceSize - 1) / kPieceSize;
    if (shares < 2 || pieces < 2)
        return size;
    const std::int64_t share = std::max<std::int64_t>(1, pieces / shares) * kPieceSize;
    // The chain the caller's cipher must carry on with: the stretch's last whole block, before it changes.
    const std::int64_t wholeBlocks = size / kBlock * kBlock;
    std::memcpy(lastBlock_, data + wholeBlocks - kBlock, kBlock);
    chainKnown_ = true;
    {
        const std::lock_guard lock(mutex_);
        parts_.clear();
        for (std::int64_t from = share; from < size && parts_.size() < helpers_.size(); from += share) {
            Part part;
            part.data = data + from;
            part.size = parts_.size() + 1 == helpers_.size() ? size - from : std::min(share, size - from);
            std::memcpy(part.before, data + from - kBlock, kBlock);
            parts_.push_back(part);
        }
        outstanding_ = parts_.size();
        ++round_;
    }
    work_.notify_all();
    return share;
}

void ParallelDecryption::Finish(TBlockCipher& cipher)
{
    if (!pending_)
        return;
    pending_ = false;
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return outstanding_ == 0; });
    }
    if (chainKnown_) {
        std::uint8_t scratch[kBlock];
        cipher.CbcDecrypt(lastBlock_, scratch, kBlock);
        SecureFill(scratch, 0, sizeof scratch);
        chainKnown_ = false;
    }
}

} // namespace tazen
