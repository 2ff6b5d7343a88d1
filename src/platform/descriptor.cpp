// Open file descriptors over POSIX read, write, pread, pwrite and close.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/descriptor.h"

#include "platform/terminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tazen::platform {

namespace {

bool resumes(OnInterrupt interrupt)
{
    return interrupt == OnInterrupt::Resume || InterruptSignal() == 0;
}

} // namespace

std::string ErrorText(ErrorCode error)
{
    return std::strerror(error);
}

void Descriptor::Reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

ErrorCode Descriptor::Close()
{
    if (fd_ < 0)
        return 0;
    // Linux releases the descriptor even when close reports an error; retrying could close another one.
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

ErrorCode ReadFully(int descriptor, void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got,
                    OnInterrupt interrupt)
{
    auto* bytes = static_cast<char*>(buffer);
    got = 0;
    while (got < size) {
        const auto count = static_cast<std::size_t>(size - got);
        const ssize_t n =
            offset < 0 ? ::read(descriptor, bytes + got, count) : ::pread(descriptor, bytes + got, count, offset + got);
        if (n < 0) {
            if (errno == EINTR && resumes(interrupt))
                continue;
            return errno;
        }
        if (n == 0)
            break;
        got += n;
    }
    return 0;
}

ErrorCode WriteFully(int descriptor, const void* buffer, std::int64_t size, std::int64_t offset, OnInterrupt interrupt)
{
    const auto* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        const auto count = static_cast<std::size_t>(size);
        const ssize_t n = offset < 0 ? ::write(descriptor, bytes, count) : ::pwrite(descriptor, bytes, count, offset);
        if (n < 0) {
            if (errno == EINTR && resumes(interrupt))
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        bytes += n;
        size -= n;
        if (offset >= 0)
            offset += n;
    }
    return 0;
}

ErrorCode WriteFully(int descriptor, const std::string& text, OnInterrupt interrupt)
{
    return WriteFully(descriptor, text.data(), static_cast<std::int64_t>(text.size()), -1, interrupt);
}

bool IsOpenDescriptor(int descriptor)
{
    return ::fcntl(descriptor, F_GETFD) >= 0;
}

bool IsTerminal(int descriptor)
{
    return ::isatty(descriptor) == 1;
}

ErrorCode TerminalColumns(int descriptor, int& columns)
{
    struct winsize size;
    if (::ioctl(descriptor, TIOCGWINSZ, &size) != 0)
        return errno;
    columns = size.ws_col;
    return 0;
}

ErrorCode StreamOffset(int descriptor, std::int64_t& offset)
{
    const off_t position = ::lseek(descriptor, 0, SEEK_CUR);
    if (position < 0)
        return errno;
    offset = position;
    return 0;
}

} // namespace tazen::platform
