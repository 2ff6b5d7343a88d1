// Where a .TaZEN payload starts: behind the check block at the start of a .TaZEN file, or behind the first
// occurrence of the check block in a self-extracting executable, whose extractor records nothing of its length.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "base/error.h"
#include "format/fileformat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace tazen {

// What a search asks and tells its owner.
class SearchHooks
{
public:
    virtual ~SearchHooks() = default;
    // Before each read: true stops the search.
    virtual bool CancelAsked() { return false; }
    // After each read that found nothing: the bytes of the file searched so far.
    virtual void Searched(std::int64_t /*bytes*/) {}
};

// The offset of the first place in data where all of check stands, or -1. Candidates are the places of
// check's first byte; each is compared whole in time independent of where it differs, so what a search takes
// tells nothing of the block beyond that one byte's frequency in the data.
std::int64_t FindCheckBlock(const std::uint8_t* data, std::int64_t size, const CheckBlock& check);

enum class LocateResult
{
    Found,
    ReadFailed,
    // Shorter than a check block.
    TooShort,
    // No check block of this password where one was looked for.
    WrongPassword,
    Cancelled
};

struct [[nodiscard]] LocateOutcome
{
    LocateResult result = LocateResult::Found;
    // Why the read failed, for ReadFailed.
    ErrorCode error;
    // Where the check block starts in the file, for Found.
    std::int64_t offset = 0;
    bool Found() const { return result == LocateResult::Found; }
};

// A file's payload as a source: Locate finds its check block, then Read gives the bytes behind it, those the
// search already took first. A .TaZEN file is the case whose check block is at offset 0.
class PayloadSource : public ByteSource
{
public:
    // Reads taken by a search: large enough that the calls cost nothing beside the copying, small enough that
    // the scan finds the bytes still in the cache. The last check block's size less one byte is carried from
    // read to read, so a block across their boundary is found.
    static constexpr std::int64_t kSearchReadSize = std::int64_t{1} << 20;

    // search: look for the check block through the whole file rather than at its start.
    PayloadSource(ByteSource& file, bool search);
    // Searched when the name is an executable's.
    PayloadSource(ByteSource& file, std::string_view name);
    ~PayloadSource() override;
    PayloadSource(const PayloadSource&) = delete;
    PayloadSource& operator=(const PayloadSource&) = delete;

    // One pass from where the file stands; hooks are asked between the search's reads.
    LocateOutcome Locate(const CheckBlock& check, SearchHooks& hooks);
    LocateOutcome Locate(const CheckBlock& check);
    // The same for several passwords' check blocks in one pass: at a .TaZEN file's start the first of them that
    // stands there, in an executable the one that stands first. which: its place among checks, for Found.
    LocateOutcome Locate(std::span<const CheckBlock* const> checks, SearchHooks& hooks, std::size_t& which);
    // After Found: the payload, until the file ends.
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override;

private:
    LocateOutcome atStart(std::span<const CheckBlock* const> checks, std::size_t& which);
    LocateOutcome searched(std::span<const CheckBlock* const> checks, SearchHooks& hooks, std::size_t& which);

    ByteSource& file_;
    const bool search_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    // The bytes of buffer_ the search read past the check block, not yet handed on.
    std::int64_t restBegin_ = 0;
    std::int64_t restEnd_ = 0;
};

} // namespace tazen
