// Open file descriptors: the one type that owns one, the standard streams, and whole reads and writes that
// go on after an interrupted call.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstdint>
#include <string>
#include <utility>

namespace tazen::platform {

// Every operation returns 0 on success or the errno value that says why it failed.
using ErrorCode = tazen::ErrorCode;

// The system's text for an errno value, e.g. "No space left on device".
std::string ErrorText(ErrorCode error);

// The standard streams' descriptors.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// An owning file descriptor: closed when its owner goes, moved rather than copied.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Reset(); }

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes what is held, whatever close says, and takes fd.
    void Reset(int fd = -1);
    // Closes what is held and reports what close reports: on some file systems that is where a failed
    // write shows. The descriptor is given up either way.
    ErrorCode Close();

private:
    int fd_ = -1;
};

// What a whole read or write does when a signal interrupts one of its calls.
enum class OnInterrupt
{
    Resume,        // goes on
    StopWhenCaught // fails with EINTR once CatchInterrupts has noted a signal, else goes on
};

// Reads until size bytes are in or the input ends; got tells how many arrived. From offset, leaving the
// position alone; at the position where offset is negative.
ErrorCode ReadFully(int descriptor, void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got,
                    OnInterrupt interrupt = OnInterrupt::Resume);
// Writes all of it or fails: at the offset, or at the position where the offset is negative.
ErrorCode WriteFully(int descriptor, const void* buffer, std::int64_t size, std::int64_t offset = -1,
                     OnInterrupt interrupt = OnInterrupt::Resume);
ErrorCode WriteFully(int descriptor, const std::string& text, OnInterrupt interrupt = OnInterrupt::Resume);

// Whether a number names a descriptor this process has open.
bool IsOpenDescriptor(int descriptor);
// Whether the descriptor is a terminal.
bool IsTerminal(int descriptor);
// The width of the terminal a descriptor is, in columns.
ErrorCode TerminalColumns(int descriptor, int& columns);
// The offset at which a descriptor reads or writes next; ESPIPE for one without (a pipe, a terminal, a
// socket).
ErrorCode StreamOffset(int descriptor, std::int64_t& offset);

} // namespace tazen::platform
