// Text made safe to print on a terminal or a console: pure, so both extractors and every tool share it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printable.h"

#include <cstddef>

namespace tazen::platform {

namespace {

// The length of the well-formed UTF-8 character at text[at] that is neither a control nor a C1 control
// (U+0080 to U+009F, which many terminals take as CSI and the like), or 0: overlong forms, surrogates,
// code points past U+10FFFF, stray continuation bytes and sequences cut short all count as 0.
std::size_t printableCharacter(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return lead >= 0x20 && lead != 0x7F ? 1 : 0;
    std::size_t length = 0;
    // The range of the second byte, which rules out what the lead byte alone cannot.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        if (lead == 0xC2)
            low = 0xA0;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

std::string Printable(const std::string& text)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t length = printableCharacter(text, at)) {
            printable.append(text, at, length);
            at += length;
            continue;
        }
        // One byte at a time, so that what follows a broken sequence is read afresh.
        const auto byte = static_cast<unsigned char>(text[at++]);
        if (byte == '\n') {
            printable += "\\n";
        } else if (byte == '\r') {
            printable += "\\r";
        } else if (byte == '\t') {
            printable += "\\t";
        } else {
            printable += "\\x";
            printable += kDigits[byte >> 4];
            printable += kDigits[byte & 15];
        }
    }
    return printable;
}

} // namespace tazen::platform
