// Reading a new encrypted file back from the device and proving it against the plain bytes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readback.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace tazen {

namespace {

constexpr std::int64_t kReadBackStep = std::int64_t{1} << 20;

} // namespace

ReadBackCheck::ReadBackCheck(TBlockCipher& cipher, const RunKey& key)
    : runCipher_(cipher), key_(key), own_(cipher.NewOfSameKind()), buffer_(static_cast<std::size_t>(kReadBackStep))
{
    plain_.HashInit();
    readBack_.HashInit();
}

ReadBackCheck::~ReadBackCheck()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
    if (own_)
        own_->Wipe();
}

void ReadBackCheck::Start(const platform::PendingFile& output)
{
    started_ = true;
    error_ = output.OpenForReadBack(reader_);
    if (error_ == 0)
        error_ = reader_.State(state_);
    if (error_ != 0) {
        failed_ = true;
        return;
    }
    if (!own_)
        return;
    key_.KeyCipher(*own_);
    try {
        thread_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
        // Then Finish reads it all back on the caller's thread.
    }
}

void ReadBackCheck::AddPlain(const std::uint8_t* data, std::int64_t size)
{
    plain_.HashUpdate(data, size);
    plainBytes_ += size;
}

void ReadBackCheck::Allow(std::int64_t flushed)
{
    // Whole blocks only: the tail rule needs to know the end.
    const std::int64_t payload = (flushed - kCheckBlockSize) / 8 * 8;
    {
        const std::lock_guard lock(mutex_);
        if (payload <= allowed_)
            return;
        allowed_ = payload;
    }
    wake_.notify_one();
}

bool ReadBackCheck::readBack(TBlockCipher& cipher, std::int64_t end, bool final)
{
    while (done_ < end) {
        const std::int64_t size = std::min(kReadBackStep, end - done_);
        const std::int64_t offset = kCheckBlockSize + done_;
        reader_.DropCached(offset, size);
        std::int64_t got = 0;
        if ((error_ = reader_.ReadAt(buffer_.data(), size, offset, got)) != 0 || got != size)
            return false;
        // Only the file's last stretch may end in a part block.
        if (size % 8 != 0 && !(final && done_ + size == end))
            return false;
        cipher.CbcDecrypt(buffer_.data(), buffer_.data(), size);
        readBack_.HashUpdate(buffer_.data(), size);
        done_ += size;
    }
    return true;
}

void ReadBackCheck::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || allowed_ - done_ >= kReadBackStep; });
        if (stopping_)
            return;
        const std::int64_t end = allowed_ / kReadBackStep * kReadBackStep;
        lock.unlock();
        const bool read = readBack(*own_, end, false);
        lock.lock();
        if (!read) {
            failed_ = true;
            return;
        }
    }
}

bool ReadBackCheck::Finish()
{
    if (!started_)
        return false;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    const bool threaded = thread_.joinable();
    if (threaded)
        thread_.join();
    if (failed_)
        return false;
    TBlockCipher* cipher = threaded ? own_.get() : &runCipher_;
    if (!threaded) {
        // Neither the thread nor its cipher went to work: the caller's cipher, keyed afresh, does it all.
        key_.KeyCipher(runCipher_);
        done_ = 0;
    }
    std::array<std::uint8_t, kCheckBlockSize> head{};
    std::int64_t got = 0;
    reader_.DropCached(0, kCheckBlockSize);
    bool proven = (error_ = reader_.ReadAt(head.data(), kCheckBlockSize, 0, got)) == 0 && got == kCheckBlockSize &&
                  CheckBlockMatches(key_.Check(), head.data()) && readBack(*cipher, plainBytes_, true);
    // Nothing may follow what was encrypted.
    std::uint8_t extra = 0;
    proven = proven && (error_ = reader_.ReadAt(&extra, 1, kCheckBlockSize + plainBytes_, got)) == 0 && got == 0;
    if (!threaded)
        runCipher_.Wipe();
    std::array<std::uint8_t, TSha1::kDigestSize> expected{};
    std::array<std::uint8_t, TSha1::kDigestSize> found{};
    plain_.HashFinal(expected.data());
    readBack_.HashFinal(found.data());
    reader_.Close();
    return proven && expected == found;
}

} // namespace tazen
