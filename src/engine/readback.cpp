// Reading a new file back from the device and proving it against the bytes meant for it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readback.h"

#include "platform/sysinfo.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace tazen {

namespace {

// The steps in which what is on the device is read back on the thread: the streams' chunks.
constexpr std::int64_t kReadBackStep = kChunkSize;

// The new file from offset to end, each read's pages dropped from the cache first so that it reaches the device.
class DeviceSource : public ByteSource
{
public:
    DeviceSource(platform::File& file, std::int64_t offset, std::int64_t end) : file_(file), offset_(offset), end_(end)
    {
    }
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override
    {
        got = 0;
        size = std::min(size, end_ - offset_);
        if (size <= 0)
            return 0;
        file_.DropCached(offset_, size);
        const ErrorCode error = file_.ReadAt(buffer, size, offset_, got);
        offset_ += got;
        return error;
    }

private:
    platform::File& file_;
    std::int64_t offset_;
    std::int64_t end_;
};

// Digests what it is given and counts it.
class DigestSink : public ByteSink
{
public:
    DigestSink(StreamDigest& digest, std::int64_t& done) : digest_(digest), done_(done) {}
    ErrorCode Write(const void* data, std::int64_t size) override
    {
        digest_.Update(static_cast<const std::uint8_t*>(data), size);
        done_ += size;
        return 0;
    }

private:
    StreamDigest& digest_;
    std::int64_t& done_;
};

} // namespace

ReadBackCheck::ReadBackCheck(TBlockCipher& cipher, const RunKey& key)
    : runCipher_(&cipher), key_(&key), own_(cipher.NewOfSameKind())
{
}

ReadBackCheck::ReadBackCheck() = default;

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

void ReadBackCheck::Start(const platform::PendingFile& output, bool expected)
{
    started_ = true;
    expected_ = expected;
    if ((error_ = output.OpenForReadBack(reader_)) != 0) {
        failed_ = true;
        return;
    }
    if (!expected || (encrypted() && !own_))
        return;
    if (own_)
        key_->KeyCipher(*own_);
    try {
        thread_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
        // Then Finish reads it all back on the caller's thread.
    }
}

void ReadBackCheck::AddPlain(const std::uint8_t* data, std::int64_t size)
{
    plain_.Update(data, size);
    plainBytes_ += size;
}

void ReadBackCheck::Allow(std::int64_t flushed)
{
    // Whole blocks only: the tail rule needs to know the end.
    const std::int64_t payload = (flushed - header()) / 8 * 8;
    {
        const std::lock_guard lock(mutex_);
        if (payload <= allowed_)
            return;
        allowed_ = payload;
    }
    wake_.notify_one();
}

bool ReadBackCheck::readBack(TBlockCipher* cipher, std::int64_t end, int threads)
{
    DeviceSource source(reader_, header() + done_, header() + end);
    DigestSink sink(readBack_, done_);
    if (cipher) {
        // The payload goes as the reader takes any: only its last piece may end in a part block.
        TazenReader payload(*cipher, *key_, buffers_);
        PayloadHooks none;
        const StreamOutcome outcome = payload.Decrypt(source, sink, none, threads);
        if (outcome.failure == StreamFailure::Read)
            error_ = outcome.error;
        return outcome.failure == StreamFailure::None && done_ == end;
    }
    for (std::int64_t got = kReadBackStep; got == kReadBackStep;) {
        std::uint8_t* buffer = buffers_.Chunk(0);
        if ((error_ = source.Read(buffer, kReadBackStep, got)) != 0)
            return false;
        static_cast<void>(sink.Write(buffer, got)); // a digest takes anything
    }
    return done_ == end;
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
        const bool read = readBack(own_.get(), end);
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
    bool proven = true;
    std::int64_t got = 0;
    if (encrypted()) {
        TBlockCipher* cipher = threaded ? own_.get() : runCipher_;
        if (!threaded) {
            // Neither the thread nor its cipher went to work: the caller's cipher, keyed afresh, does it all.
            key_->KeyCipher(*runCipher_);
            done_ = 0;
        }
        DeviceSource head(reader_, 0, kCheckBlockSize);
        const CheckOutcome check = TazenReader(*cipher, *key_).ReadCheckBlock(head);
        error_ = check.error;
        // What is left is waited for: every processor may help with it.
        proven = check.Matches() && readBack(cipher, plainBytes_, platform::UsableProcessors());
        if (!threaded)
            runCipher_->Wipe();
    } else {
        proven = readBack(nullptr, plainBytes_);
    }
    // Nothing may follow what was written.
    std::uint8_t extra = 0;
    proven = proven && (error_ = reader_.ReadAt(&extra, 1, header() + plainBytes_, got)) == 0 && got == 0;
    static_cast<void>(reader_.Close()); // only read
    return proven && plain_.Final() == readBack_.Final();
}

} // namespace tazen
