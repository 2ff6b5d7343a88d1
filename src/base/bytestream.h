// A byte source and a byte sink: what the file format reads from and writes to, whether a file, a pipe, the
// bytes attached to an extractor or a read-back.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstdint>

namespace tazen {

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Reads until size bytes are in or the source ends; got tells how many arrived (fewer only at its end).
    virtual ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) = 0;
};

class ByteSink
{
public:
    virtual ~ByteSink() = default;
    // Writes all of it or fails.
    virtual ErrorCode Write(const void* data, std::int64_t size) = 0;
};

} // namespace tazen
