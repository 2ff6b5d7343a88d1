// Open files: checked reads and writes that keep the system's reason, flushes behind the writes, and the
// ways a file is opened under Windows' rules (the read-only attribute, regular files only).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "platform/descriptor.h"
#include "platform/entry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tazen::platform {

class BackgroundFlusher;

// An open file descriptor and the name it was opened under; closes itself.
class File : public ByteSource, public ByteSink
{
public:
    File();
    File(int descriptor, std::string name);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() override;

    bool IsOpen() const { return fd_.IsOpen(); }
    int Descriptor() const { return fd_.Get(); }
    const std::string& Name() const { return name_; }

    ErrorCode Size(std::int64_t& size) const;
    ErrorCode State(FileState& state) const;
    // Reads from now on leave the file's access time as it is, where the system lets the caller ask that (its
    // owner, or root): for a look that is not yet the read the user asked for. Advisory.
    void LeaveAccessTime();
    // Reads until size bytes are in or the file ends; got tells how many arrived.
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override;
    // The same from an offset, leaving the file position alone.
    ErrorCode ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got);
    // Drops the clean cached pages of a range, so the next read of it reaches the device where the file
    // system allows it. Advisory.
    void DropCached(std::int64_t offset, std::int64_t length);
    // Writes all of it or fails.
    ErrorCode Write(const void* buffer, std::int64_t size) override;
    ErrorCode WriteAt(const void* buffer, std::int64_t size, std::int64_t offset);
    ErrorCode Truncate(std::int64_t length);
    // Data and size on the device.
    ErrorCode Sync();
    // Starts writing out to the device, without waiting, what Write has written since the last call, and
    // now and then has a background thread flush it: the device then works while the caller computes, and
    // the final Sync has little left to wait for. What goes wrong there is reported by Sync.
    void StartWriteback();
    // How much of what Write wrote the background flushes have put on the device so far; any thread may ask.
    std::int64_t Flushed() const;
    // Reserves room for a file about to be written to this length, so the file system allocates it in one
    // piece now rather than bit by bit while the data is flushed. Advisory: the writes decide.
    void Preallocate(std::int64_t length);
    // Reports what close reports: on some file systems that is where a failed write shows.
    ErrorCode Close();

private:
    friend class PendingFile;
    ErrorCode finishBackgroundFlush();

    ::tazen::platform::Descriptor fd_;
    std::string name_;
    std::int64_t written_ = 0;
    std::int64_t writebackStarted_ = 0;
    std::int64_t flushRequested_ = 0;
    std::int64_t preallocated_ = 0;
    std::unique_ptr<BackgroundFlusher> flusher_;
};

// Whether the file system holding an open file keeps earlier copies of changed data rather than overwriting
// it in place: btrfs (unless the file has the no-copy-on-write attribute), bcachefs, ZFS, f2fs and nilfs2.
// keeps is false when the file system cannot be asked, which is the error.
ErrorCode KeepsEarlierCopies(const File& file, bool& keeps);

// A regular file (symbolic links followed) opened for reading and writing. A file whose owner-write
// permission bit is clear counts as write-protected and fails with EACCES, for root too; anything that is
// not a regular file (folder, FIFO, device, socket) fails without being opened for data. The name is
// reached through its folder; a name that is itself a link is followed only under the rule for links
// above. Never becomes the controlling terminal.
ErrorCode OpenForReadWrite(const std::string& name, File& file);
ErrorCode OpenForReadWrite(const Entry& entry, File& file);
// The same, for reading only: the write-protection rule does not apply.
ErrorCode OpenForReading(const std::string& name, File& file);
ErrorCode OpenForReading(const Entry& entry, File& file);

// How OpenAsIs opens: for reading, or reading and writing; without waiting, a FIFO with no writer or a device
// that is not ready opens at once.
enum class AsIs
{
    Read,
    ReadNoWait,
    ReadWriteNoWait
};
// Whatever the name leads to (a pipe, a device), opened with none of the rules above, never as the controlling
// terminal: for a password read from a pipe, and for asking the system itself why a name was refused.
ErrorCode OpenAsIs(const std::string& name, AsIs how, File& file);
// The program's own executable file (/proc/self/exe), for reading.
ErrorCode OpenExecutable(File& file);
// Its path, from the same link, which names it even when argv[0] does not.
ErrorCode ExecutablePath(std::string& path);
// A descriptor of its own for what descriptor leads to, closed on exec: closing it leaves the original open.
ErrorCode Duplicate(int descriptor, const std::string& name, File& file);
// The length of a file that OpenForReadWrite would open, taken the same way but without keeping it open.
ErrorCode SizeForReadWrite(const std::string& name, std::int64_t& size);
// For shredding: never through a symbolic link, a regular file only, the write-protection rule applies.
ErrorCode OpenForOverwrite(const std::string& name, File& file);
ErrorCode OpenForOverwrite(const Entry& entry, File& file);

} // namespace tazen::platform
