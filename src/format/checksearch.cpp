// The payload's start: the check block at offset 0, or searched for through an executable in large reads.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/checksearch.h"

#include "format/stream.h"

#include <algorithm>
#include <cstring>

namespace tazen {

namespace {

// The bytes a read keeps from the one before: a check block that began in them ends in the new read.
constexpr std::int64_t kCarried = kCheckBlockSize - 1;

} // namespace

std::int64_t FindCheckBlock(const std::uint8_t* data, std::int64_t size, const CheckBlock& check)
{
    if (size < kCheckBlockSize)
        return -1;
    // memchr skips ahead at memory speed; a plain memcmp at each candidate would tell, by when it returns,
    // how many leading bytes of the block the file's bytes share, and so give the block away byte by byte to
    // whoever made the file.
    const std::uint8_t* const lastStart = data + (size - kCheckBlockSize);
    for (const std::uint8_t* at = data; at <= lastStart; ++at) {
        at = static_cast<const std::uint8_t*>(std::memchr(at, check[0], static_cast<std::size_t>(lastStart - at + 1)));
        if (at == nullptr)
            return -1;
        if (CheckBlockMatches(check, at))
            return at - data;
    }
    return -1;
}

PayloadSource::PayloadSource(ByteSource& file, bool search) : file_(file), search_(search) {}

PayloadSource::PayloadSource(ByteSource& file, std::string_view name) : PayloadSource(file, IsExecutableName(name)) {}

PayloadSource::~PayloadSource() = default;

LocateOutcome PayloadSource::Locate(const CheckBlock& check, SearchHooks& hooks)
{
    const CheckBlock* const checks[] = {&check};
    std::size_t which = 0;
    return Locate(checks, hooks, which);
}

LocateOutcome PayloadSource::Locate(const CheckBlock& check)
{
    SearchHooks none;
    return Locate(check, none);
}

LocateOutcome PayloadSource::Locate(std::span<const CheckBlock* const> checks, SearchHooks& hooks, std::size_t& which)
{
    restBegin_ = restEnd_ = 0;
    which = 0;
    return search_ ? searched(checks, hooks, which) : atStart(checks, which);
}

LocateOutcome PayloadSource::atStart(std::span<const CheckBlock* const> checks, std::size_t& which)
{
    std::uint8_t head[kCheckBlockSize];
    std::int64_t got = 0;
    if (const ErrorCode error = file_.Read(head, kCheckBlockSize, got))
        return {LocateResult::ReadFailed, error};
    if (got != kCheckBlockSize)
        return {LocateResult::TooShort, 0};
    for (which = 0; which < checks.size(); ++which)
        if (CheckBlockMatches(*checks[which], head))
            return {LocateResult::Found, 0};
    return {LocateResult::WrongPassword, 0};
}

LocateOutcome PayloadSource::searched(std::span<const CheckBlock* const> checks, SearchHooks& hooks, std::size_t& which)
{
    if (!buffer_)
        buffer_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(kCarried + kSearchReadSize));
    std::uint8_t* const buffer = buffer_.get();
    // buffer holds the file's bytes from offset read - held on.
    std::int64_t read = 0;
    std::int64_t held = 0;
    for (;;) {
        if (hooks.CancelAsked())
            return {LocateResult::Cancelled, 0};
        std::int64_t got = 0;
        if (const ErrorCode error = file_.Read(buffer + held, kSearchReadSize, got))
            return {LocateResult::ReadFailed, error};
        read += got;
        const std::int64_t size = held + got;
        // Each block is looked for in what is still in the cache, so the file is read once for all of them.
        std::int64_t first = -1;
        for (std::size_t i = 0; i < checks.size(); ++i) {
            const std::int64_t at = FindCheckBlock(buffer, first >= 0 ? first + kCheckBlockSize - 1 : size, *checks[i]);
            if (at >= 0 && (first < 0 || at < first)) {
                first = at;
                which = i;
            }
        }
        if (first >= 0) {
            restBegin_ = first + kCheckBlockSize;
            restEnd_ = size;
            return {LocateResult::Found, 0, read - size + first};
        }
        if (got < kSearchReadSize)
            return {read < kCheckBlockSize ? LocateResult::TooShort : LocateResult::WrongPassword, 0};
        hooks.Searched(read);
        held = std::min(kCarried, size);
        std::memmove(buffer, buffer + size - held, static_cast<std::size_t>(held));
    }
}

ErrorCode PayloadSource::Read(void* buffer, std::int64_t size, std::int64_t& got)
{
    const std::int64_t rest = std::min(size, restEnd_ - restBegin_);
    if (rest > 0) {
        std::memcpy(buffer, buffer_.get() + restBegin_, static_cast<std::size_t>(rest));
        restBegin_ += rest;
    }
    std::int64_t more = 0;
    ErrorCode error;
    if (rest < size)
        error = file_.Read(static_cast<std::uint8_t*>(buffer) + rest, size - rest, more);
    got = rest + more;
    return error;
}

} // namespace tazen
