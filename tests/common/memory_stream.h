// A byte source and a byte sink in memory for the format's reader and writer, each able to fail after a given
// number of bytes.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "common/bytes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tazen::test {

class MemorySource : public ByteSource
{
public:
    // A read that would go past failAt fails with failure, having given nothing.
    explicit MemorySource(const Bytes& bytes, std::size_t failAt = std::numeric_limits<std::size_t>::max(),
                          int failure = 0)
        : bytes_(bytes), failAt_(failAt), failure_(failure)
    {
    }
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override
    {
        const std::size_t wanted = std::min(static_cast<std::size_t>(size), bytes_.size() - offset_);
        got = 0;
        if (offset_ + wanted > failAt_)
            return failure_;
        if (wanted > 0) // an empty source has no data pointer to copy from
            std::memcpy(buffer, bytes_.data() + offset_, wanted);
        offset_ += wanted;
        got = static_cast<std::int64_t>(wanted);
        return 0;
    }

private:
    const Bytes& bytes_;
    std::size_t offset_ = 0;
    std::size_t failAt_;
    int failure_;
};

class MemorySink : public ByteSink
{
public:
    // A write that would go past failAt fails with failure, having taken nothing.
    explicit MemorySink(std::size_t failAt = std::numeric_limits<std::size_t>::max(), int failure = 0)
        : failAt_(failAt), failure_(failure)
    {
    }
    ErrorCode Write(const void* data, std::int64_t size) override
    {
        if (bytes.size() + static_cast<std::size_t>(size) > failAt_)
            return failure_;
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), begin, begin + size);
        return 0;
    }
    Bytes bytes;

private:
    std::size_t failAt_;
    int failure_;
};

} // namespace tazen::test
