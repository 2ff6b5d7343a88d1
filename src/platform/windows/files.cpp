// Windows files through CreateFileW, ReadFile, WriteFile, FlushFileBuffers and MoveFileExW.
// SPDX-License-Identifier: GPL-3.0-or-later
#define _CRT_RAND_S
#include "platform/windows/files.h"

#include "platform/windows/text.h"

#include "cipher/secret.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace tazen::platform::windows {

namespace {

// The piece an unbuffered read-back moves: a multiple of every sector size.
constexpr DWORD kReadBackPiece = 1 << 20;
// The most one ReadFile or WriteFile call is given.
constexpr std::int64_t kLargestCall = std::int64_t{1} << 30;

HANDLE handleOf(void* handle)
{
    return static_cast<HANDLE>(handle);
}

OVERLAPPED at(std::int64_t offset)
{
    OVERLAPPED position = {};
    position.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return position;
}

} // namespace

ErrorCode ExecutablePath(std::string& path)
{
    std::wstring wide(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
        if (length == 0)
            return LastError();
        if (length < wide.size()) {
            wide.resize(length);
            break;
        }
        if (wide.size() >= 32768)
            return ENAMETOOLONG;
        wide.resize(wide.size() * 2);
    }
    path = Utf8(wide);
    return 0;
}

bool Exists(const std::string& name)
{
    return ::GetFileAttributesW(Wide(name).c_str()) != INVALID_FILE_ATTRIBUTES ||
           ::GetLastError() == ERROR_ACCESS_DENIED || ::GetLastError() == ERROR_SHARING_VIOLATION;
}

FileHandle::FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

FileHandle::~FileHandle()
{
    Close();
}

void FileHandle::Close()
{
    if (handle_)
        ::CloseHandle(handleOf(handle_));
    handle_ = nullptr;
}

ErrorCode FileHandle::OpenForReading(const std::string& name)
{
    Close();
    const HANDLE handle =
        ::CreateFileW(Wide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastError();
    handle_ = handle;
    return 0;
}

ErrorCode FileHandle::Size(std::int64_t& size) const
{
    LARGE_INTEGER length;
    if (!::GetFileSizeEx(handleOf(handle_), &length))
        return LastError();
    size = length.QuadPart;
    return 0;
}

ErrorCode FileHandle::LastWriteTime(std::uint64_t& time) const
{
    FILETIME written;
    if (!::GetFileTime(handleOf(handle_), nullptr, nullptr, &written))
        return LastError();
    time = (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    return 0;
}

ErrorCode FileHandle::ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) const
{
    got = 0;
    while (got < size) {
        OVERLAPPED position = at(offset + got);
        DWORD read = 0;
        if (!::ReadFile(handleOf(handle_), static_cast<std::uint8_t*>(buffer) + got,
                        static_cast<DWORD>(std::min(size - got, kLargestCall)), &read, &position)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                return 0;
            return LastError();
        }
        if (read == 0)
            return 0;
        got += read;
    }
    return 0;
}

ErrorCode FileHandle::Write(const void* data, std::int64_t size) const
{
    for (std::int64_t done = 0; done < size;) {
        DWORD written = 0;
        if (!::WriteFile(handleOf(handle_), static_cast<const std::uint8_t*>(data) + done,
                         static_cast<DWORD>(std::min(size - done, kLargestCall)), &written, nullptr))
            return LastError();
        if (written == 0)
            return EIO;
        done += written;
    }
    return 0;
}

ErrorCode FileHandle::Flush() const
{
    return ::FlushFileBuffers(handleOf(handle_)) ? ErrorCode(0) : LastError();
}

PendingFile::~PendingFile()
{
    remove();
}

void PendingFile::remove()
{
    file_.Close();
    if (!committed_)
        ::DeleteFileW(Wide(temporary_).c_str());
    committed_ = true;
}

ErrorCode PendingFile::Create(const std::string& finalName)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    remove();
    final_ = finalName;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = finalName + ".tmp-";
        for (int i = 0; i < 6; ++i) {
            unsigned int random = 0;
            if (rand_s(&random) != 0)
                return EIO;
            name += kLetters[random % (sizeof kLetters - 1)];
        }
        const HANDLE handle = ::CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            file_.handle_ = handle;
            temporary_ = name;
            committed_ = false;
            return 0;
        }
        if (const ErrorCode error = LastError(); error != EEXIST)
            return error;
    }
    return EEXIST;
}

ErrorCode PendingFile::Write(const void* data, std::int64_t size)
{
    return file_.Write(data, size);
}

ErrorCode PendingFile::Flush()
{
    ErrorCode error = 0;
    if (lastWrite_ != 0) {
        FILETIME written;
        written.dwLowDateTime = static_cast<DWORD>(lastWrite_ & 0xFFFFFFFFu);
        written.dwHighDateTime = static_cast<DWORD>(lastWrite_ >> 32);
        if (!::SetFileTime(handleOf(file_.handle_), nullptr, nullptr, &written))
            error = LastError();
    }
    if (error == 0)
        error = file_.Flush();
    file_.Close();
    if (error != 0)
        remove();
    return error;
}

ErrorCode PendingFile::Commit(bool mayReplace)
{
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (mayReplace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExW(Wide(temporary_).c_str(), Wide(final_).c_str(), flags)) {
        committed_ = true;
        return 0;
    }
    const ErrorCode error = LastError();
    // The name was taken, by a file or a folder: the new file waits for the answer to "replace?".
    if (error == EEXIST || (!mayReplace && error == EACCES && Exists(final_)))
        return EEXIST;
    remove();
    return error;
}

PendingFile::DeviceReader::~DeviceReader()
{
    if (buffer_) {
        // It held plain bytes.
        SecureFill(buffer_, 0, kReadBackPiece);
        ::VirtualFree(buffer_, 0, MEM_RELEASE);
    }
}

ErrorCode PendingFile::DeviceReader::Open(const std::string& name)
{
    const HANDLE handle = ::CreateFileW(Wide(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastError();
    file_.handle_ = handle;
    // Page-aligned, as unbuffered reads need their buffer aligned to the sector size.
    buffer_ =
        static_cast<std::uint8_t*>(::VirtualAlloc(nullptr, kReadBackPiece, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    return buffer_ ? ErrorCode(0) : ErrorCode(ENOMEM);
}

ErrorCode PendingFile::DeviceReader::Next(const std::uint8_t*& data, std::int64_t& got)
{
    data = buffer_;
    got = 0;
    OVERLAPPED position = at(offset_);
    DWORD read = 0;
    // Whole pieces are asked for even at the end; the last read gives what is left.
    if (!::ReadFile(handleOf(file_.handle_), buffer_, kReadBackPiece, &read, &position)) {
        if (::GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        return LastError();
    }
    got = read;
    offset_ += read;
    return 0;
}

} // namespace tazen::platform::windows
