// Windows files by their UTF-8 names, through the wide-character calls: the program's own file, a new file
// that appears under its name only when complete, and reading one back from the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "base/error.h"

#include <cstdint>
#include <string>

namespace tazen::platform::windows {

// The path of the running program (GetModuleFileNameW), in UTF-8.
ErrorCode ExecutablePath(std::string& path);

// Whether anything (a file, a folder) has the name.
bool Exists(const std::string& name);

// An open file handle; closes itself.
class FileHandle
{
public:
    FileHandle() = default;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    // For reading; others may read it and delete or rename it meanwhile, as a program's own file can be.
    ErrorCode OpenForReading(const std::string& name);
    bool IsOpen() const { return handle_ != nullptr; }
    ErrorCode Size(std::int64_t& size) const;
    // When its data last changed (GetFileTime), in 100-nanosecond steps since 1601.
    ErrorCode LastWriteTime(std::uint64_t& time) const;
    // Reads until size bytes are in or the file ends; got tells how many arrived.
    ErrorCode ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) const;
    ErrorCode Write(const void* data, std::int64_t size) const;
    ErrorCode Flush() const;
    void Close();

private:
    friend class PendingFile;
    void* handle_ = nullptr;
};

// A new file that takes the place of finalName only when Commit succeeds. It is written under
// finalName + ".tmp-" + six random characters in the same folder, created exclusively; gone without Commit,
// it removes itself and leaves any file of the final name alone.
class PendingFile : public ByteSink
{
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() override;

    ErrorCode Create(const std::string& finalName);
    const std::string& TemporaryName() const { return temporary_; }
    ErrorCode Write(const void* data, std::int64_t size) override;
    // The last-write time, as FileHandle::LastWriteTime gives it, that Flush gives the file.
    void KeepLastWriteTime(std::uint64_t time) { lastWrite_ = time; }
    // Gives the file its last-write time if one was kept (SetFileTime), flushes the data to the device
    // (FlushFileBuffers) and closes the file: whole under its temporary name.
    ErrorCode Flush();
    // After Flush: calls take for each piece of the file as read back from the device, bypassing the system's
    // cache (FILE_FLAG_NO_BUFFERING), in order.
    template <typename Take> ErrorCode ReadBack(Take take) const
    {
        DeviceReader reader;
        if (const ErrorCode error = reader.Open(temporary_))
            return error;
        for (;;) {
            const std::uint8_t* data = nullptr;
            std::int64_t got = 0;
            if (const ErrorCode error = reader.Next(data, got))
                return error;
            if (got == 0)
                return 0;
            take(data, got);
        }
    }
    // Renames the flushed file onto the final name (MoveFileExW, written through). Without mayReplace an
    // existing file of the final name is not replaced: EEXIST, and the temporary file stays for another
    // Commit. On any other failure the temporary file is removed.
    ErrorCode Commit(bool mayReplace);

private:
    // Reads a file in aligned pieces past the cache, as unbuffered reads require.
    class DeviceReader
    {
    public:
        DeviceReader() = default;
        DeviceReader(const DeviceReader&) = delete;
        DeviceReader& operator=(const DeviceReader&) = delete;
        ~DeviceReader();
        ErrorCode Open(const std::string& name);
        // The next piece; got is 0 at the end.
        ErrorCode Next(const std::uint8_t*& data, std::int64_t& got);

    private:
        FileHandle file_;
        std::uint8_t* buffer_ = nullptr;
        std::int64_t offset_ = 0;
    };

    void remove();

    FileHandle file_;
    std::string final_;
    std::string temporary_;
    std::uint64_t lastWrite_ = 0;
    bool committed_ = true;
};

} // namespace tazen::platform::windows
