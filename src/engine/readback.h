// Proof that a new encrypted file holds what was encrypted, read back from the device before its source may
// be destroyed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/fileformat.h"
#include "engine/parallelcbc.h"
#include "platform/files.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace tazen {

// A 64-bit digest of a byte stream fed in pieces of any size, in four independent lanes of multiply-rotate
// rounds, so it runs at memory speed: a hundred times the cipher's. It proves that bytes came back
// unchanged from a device, where no adversary chooses them; it is no cryptographic hash.
class StreamDigest
{
public:
    StreamDigest();
    void Update(const std::uint8_t* data, std::int64_t size);
    std::uint64_t Final() const;

private:
    void stripe(const std::uint8_t* data);

    std::uint64_t lanes_[4];
    std::uint8_t pending_[32] = {};
    int pendingSize_ = 0;
    std::uint64_t length_ = 0;
};

// Takes the digest of the plain bytes as the run reads them, reads the new file back (its cached pages
// dropped first, so the read reaches the device), decrypts it in memory and compares. What the background
// flushes have already put on the device is read back on a thread of its own while encryption goes on; the
// rest once the file and its folder are flushed.
class ReadBackCheck
{
public:
    // cipher: the run's, used on the caller's thread only where no second one of its kind can be had.
    ReadBackCheck(TBlockCipher& cipher, const RunKey& key);
    ~ReadBackCheck();
    ReadBackCheck(const ReadBackCheck&) = delete;
    ReadBackCheck& operator=(const ReadBackCheck&) = delete;

    // Before anything is written to output.
    void Start(const platform::PendingFile& output);
    // Plain bytes in the order they are encrypted.
    void AddPlain(const std::uint8_t* data, std::int64_t size);
    // How much of the new file is on the device by now (platform::File::Flushed).
    void Allow(std::int64_t flushed);
    // Once the file and its folder are flushed: true when the whole file read back decrypts to bytes of the
    // same digest as the plain ones, behind the right check block. Ends the thread.
    bool Finish();
    // The new file as it was read back, to remove it when it failed.
    const platform::FileState& ReadState() const { return state_; }
    // Why the file could not be read back, when that was why Finish failed; else 0.
    platform::ErrorCode ReadError() const { return error_; }

private:
    // Reads back, decrypts and digests the payload up to end; final: end is the end of the file. parallel,
    // when given, shares the decryption out.
    bool readBack(TBlockCipher& cipher, std::int64_t end, bool final, ParallelDecryption* parallel = nullptr);
    void work();

    TBlockCipher& runCipher_;
    const RunKey& key_;
    std::unique_ptr<TBlockCipher> own_;
    platform::File reader_;
    platform::FileState state_;
    bool started_ = false;
    StreamDigest plain_;
    std::int64_t plainBytes_ = 0;
    StreamDigest readBack_;
    // Payload bytes read back so far, on the thread while it runs.
    std::int64_t done_ = 0;
    bool failed_ = false;
    platform::ErrorCode error_ = 0;
    SecretBuffer buffer_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::int64_t allowed_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tazen
