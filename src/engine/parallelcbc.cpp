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
            return;
        key.KeyCipher(*helper);
        helpers_.push_back(std::move(helper));
    }
}

ParallelDecryption::~ParallelDecryption()
{
    for (std::thread& thread : running_)
        thread.join();
    for (const std::unique_ptr<TBlockCipher>& helper : helpers_)
        helper->Wipe();
}

void ParallelDecryption::decrypt(TBlockCipher& cipher, Part& part)
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
    parts_.clear();
    const auto shares = static_cast<std::int64_t>(helpers_.size()) + 1;
    const std::int64_t pieces = (size + kPieceSize - 1) / kPieceSize;
    if (shares < 2 || pieces < 2)
        return size;
    const std::int64_t share = std::max<std::int64_t>(1, pieces / shares) * kPieceSize;
    // The chain the caller's cipher must carry on with: the stretch's last whole block, before it changes.
    const std::int64_t wholeBlocks = size / kBlock * kBlock;
    std::memcpy(lastBlock_, data + wholeBlocks - kBlock, kBlock);
    chainKnown_ = true;
    for (std::int64_t from = share; from < size && parts_.size() < helpers_.size(); from += share) {
        Part part;
        part.data = data + from;
        part.size = parts_.size() + 1 == helpers_.size() ? size - from : std::min(share, size - from);
        std::memcpy(part.before, data + from - kBlock, kBlock);
        parts_.push_back(part);
    }
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        try {
            running_.emplace_back([this, i] { decrypt(*helpers_[i], parts_[i]); });
        } catch (const std::system_error&) {
            // No thread to be had: Finish does this part on the caller's thread.
            for (std::size_t j = i; j < parts_.size(); ++j)
                parts_[j].size = -parts_[j].size;
            break;
        }
    }
    return share;
}

void ParallelDecryption::Finish(TBlockCipher& cipher)
{
    if (!pending_)
        return;
    pending_ = false;
    for (std::thread& thread : running_)
        thread.join();
    running_.clear();
    for (std::size_t i = 0; i < parts_.size(); ++i)
        if (parts_[i].size < 0) {
            parts_[i].size = -parts_[i].size;
            decrypt(*helpers_[i], parts_[i]);
        }
    if (chainKnown_) {
        std::uint8_t scratch[kBlock];
        cipher.CbcDecrypt(lastBlock_, scratch, kBlock);
        SecureFill(scratch, 0, sizeof scratch);
        chainKnown_ = false;
    }
}

} // namespace tazen
