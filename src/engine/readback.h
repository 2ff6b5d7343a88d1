// Proof that a new file holds what the run meant to write, read back from the device before anything it
// stands for may be destroyed or replaced.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "format/digest.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/files.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace tazen {

// Proof that a new file holds what the run meant to write into it, read back from the device before anything
// it stands for is destroyed or replaced. The digest of the intended bytes is taken as the run passes them;
// the file is read back (its cached pages dropped first, so the read reaches the device), an encrypted file
// decrypted in memory, and the digests compared. What the background flushes have already put on the device
// is read back on a thread of its own while the run goes on; the rest once the file is flushed.
class ReadBackCheck
{
public:
    // For an encrypted file: its payload is decrypted and compared with the plain bytes, behind the check
    // block. cipher: the run's, used on the caller's thread only where no second one of its kind can be had.
    ReadBackCheck(TBlockCipher& cipher, const RunKey& key);
    // For a file that holds the bytes given as they are: a decrypted file, an executable.
    ReadBackCheck();
    ~ReadBackCheck();
    ReadBackCheck(const ReadBackCheck&) = delete;
    ReadBackCheck& operator=(const ReadBackCheck&) = delete;

    // Before anything is written to output. expected: the proof will be wanted, so it is read back along the
    // way; otherwise nothing is read unless Finish is called after all.
    void Start(const platform::PendingFile& output, bool expected = true);
    bool Expected() const { return expected_; }
    // The bytes the file is to give: for an encrypted file the plain ones, in the order they are encrypted.
    void AddPlain(const std::uint8_t* data, std::int64_t size);
    // How much of the new file is on the device by now (platform::File::Flushed).
    void Allow(std::int64_t flushed);
    // Once the file is flushed (platform::PendingFile::Flush): true when all of it read back as bytes of the
    // same digest as the plain ones, an encrypted one behind the right check block, and nothing after them.
    // Ends the thread; called once.
    [[nodiscard]] bool Finish();
    // Why the file could not be read back, when that was why Finish failed; else 0.
    platform::ErrorCode ReadError() const { return error_; }

private:
    // Reads back and digests the bytes after the check block up to end, decrypting them with cipher where
    // there is one, on threads threads.
    bool readBack(TBlockCipher* cipher, std::int64_t end, int threads = 1);
    void work();
    bool encrypted() const { return key_ != nullptr; }
    std::int64_t header() const { return encrypted() ? kCheckBlockSize : 0; }

    TBlockCipher* runCipher_ = nullptr;
    const RunKey* key_ = nullptr;
    std::unique_ptr<TBlockCipher> own_;
    platform::File reader_;
    bool started_ = false;
    bool expected_ = false;
    StreamDigest plain_;
    std::int64_t plainBytes_ = 0;
    StreamDigest readBack_;
    // Bytes after the check block read back so far, on the thread while it runs.
    std::int64_t done_ = 0;
    bool failed_ = false;
    platform::ErrorCode error_ = 0;
    PayloadBuffers buffers_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::int64_t allowed_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tazen
