// Fuzzes the hand-over receiver: any bytes, fed in chunks whose sizes the input chooses, split into messages,
// and the text of each copy-data record taken within the bytes that arrived.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include "platform/instance.h"

#include <cstring>
#include <memory>
#include <optional>

namespace {

using tazen::platform::CopyDataText;
using tazen::platform::kLargestMessageData;
using tazen::platform::MessageReader;
using tazen::platform::WindowMessage;

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kChunkChoices = 4;

std::uint32_t uint32At(const std::string& stream, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(stream[offset + static_cast<std::size_t>(i)]);
    return value;
}

// Walks the stream as the reader should have split it, message by message.
class Expectation
{
public:
    explicit Expectation(const std::string& stream) : stream_(stream) {}

    void Check(const WindowMessage& message, std::size_t fed, bool endOfInput)
    {
        FUZZ_CHECK(!stopped_);
        FUZZ_CHECK(offset_ + kHeaderSize <= fed);
        FUZZ_CHECK(message.message == uint32At(stream_, offset_));
        FUZZ_CHECK(message.dwData == uint32At(stream_, offset_ + 4));
        FUZZ_CHECK(message.cbData == uint32At(stream_, offset_ + 8));
        if (message.cbData > kLargestMessageData) {
            FUZZ_CHECK(message.oversized && message.data.empty());
            stopped_ = true;
            return;
        }
        FUZZ_CHECK(!message.oversized);
        const std::size_t arrived = fed - offset_ - kHeaderSize;
        // Short of cbData only at the end of the input, and then refused with none of what arrived.
        if (arrived < message.cbData) {
            FUZZ_CHECK(endOfInput && message.cutShort && message.data.empty());
            stopped_ = true;
            return;
        }
        FUZZ_CHECK(!message.cutShort && message.data.size() == message.cbData);
        FUZZ_CHECK(message.data.compare(0, std::string::npos, stream_, offset_ + kHeaderSize, message.data.size()) ==
                   0);
        offset_ += kHeaderSize + message.data.size();
    }

    bool Stopped() const { return stopped_; }
    std::size_t Offset() const { return offset_; }

private:
    const std::string& stream_;
    std::size_t offset_ = 0;
    bool stopped_ = false;
};

// The record's text from a copy of its bytes that holds nothing more, so an over-read is caught.
void checkText(const WindowMessage& message)
{
    WindowMessage exact = message;
    exact.data.shrink_to_fit();
    const std::string text = CopyDataText(exact);
    FUZZ_CHECK(text.size() <= message.data.size() && text.size() <= message.cbData);
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    FUZZ_CHECK(message.data.compare(0, text.size(), text) == 0);
    // The text ends at the first zero byte, or with the data.
    FUZZ_CHECK(text.size() == message.data.size() || message.data[text.size()] == '\0');
}

void takeMessages(MessageReader& reader, Expectation& expected, std::size_t fed, bool endOfInput)
{
    while (const std::optional<WindowMessage> message = reader.Next(endOfInput)) {
        expected.Check(*message, fed, endOfInput);
        checkText(*message);
    }
    FUZZ_CHECK(reader.Stopped() == expected.Stopped());
    if (!reader.Stopped())
        FUZZ_CHECK(reader.Buffered() == fed - expected.Offset());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kChunkChoices)
        return 0;
    // Chunk sizes from 1 to 64 bytes, used in turn; a zero byte stands for one large chunk.
    std::size_t chunks[kChunkChoices];
    for (std::size_t i = 0; i < kChunkChoices; ++i)
        chunks[i] = data[i] == 0 ? 4096 : (data[i] % 64) + 1;
    const std::string stream(reinterpret_cast<const char*>(data) + kChunkChoices, size - kChunkChoices);

    MessageReader reader;
    Expectation expected(stream);
    std::size_t fed = 0;
    for (std::size_t turn = 0; fed < stream.size(); ++turn) {
        // A heap copy of exactly the chunk, so the reader's reading past it would be caught.
        const std::size_t count = std::min(chunks[turn % kChunkChoices], stream.size() - fed);
        const auto chunk = std::make_unique<char[]>(count);
        std::memcpy(chunk.get(), stream.data() + fed, count);
        reader.Feed(chunk.get(), count);
        if (!expected.Stopped())
            fed += count;
        else
            fed = stream.size();
        takeMessages(reader, expected, fed, false);
    }
    takeMessages(reader, expected, fed, true);
    // At the end only a partial header can be left over, and it is dropped.
    FUZZ_CHECK(reader.Stopped() || reader.Buffered() < kHeaderSize);
    return 0;
}
