// Turns a typed password into the bytes that are hashed to make the key: NFC, then Windows-1252 or UTF-8.
// SPDX-License-Identifier: GPL-3.0-or-later

#include "format/password.h"

#include "cipher/cryptbase.h"
#include "format/unicode_tables.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

namespace tazen {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

constexpr char32_t kHangulSBase = 0xAC00;
constexpr char32_t kHangulLBase = 0x1100;
constexpr char32_t kHangulVBase = 0x1161;
constexpr char32_t kHangulTBase = 0x11A7; // one below the first trailing consonant: T index 0 means "none"
constexpr char32_t kHangulLCount = 19;
constexpr char32_t kHangulVCount = 21;
constexpr char32_t kHangulTCount = 28;
constexpr char32_t kHangulNCount = kHangulVCount * kHangulTCount;
constexpr char32_t kHangulSCount = kHangulLCount * kHangulNCount;

// The characters of bytes 0x80-0x9F. The five bytes the code page leaves unassigned stand for the C1 controls of
// the same value, as in Windows' own conversion.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

// Reads the code point at pos and moves pos past it. Strict: overlong forms, surrogates, values above U+10FFFF,
// stray continuation bytes and truncated sequences all give kInvalid.
char32_t nextCodePoint(std::string_view s, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return kInvalid;
    }
    if (s.size() - pos < length) {
        return kInvalid;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(s[pos + i]);
        if ((byte & 0xC0u) != 0x80u) {
            return kInvalid;
        }
        cp = (cp << 6) | (byte & 0x3Fu);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kInvalid;
    }
    pos += length;
    return cp;
}

std::size_t utf8Length(char32_t cp)
{
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

std::string encodeUtf8(std::u32string_view text)
{
    std::size_t size = 0;
    for (char32_t cp : text) {
        size += utf8Length(cp);
    }
    std::string out;
    out.reserve(size);
    for (char32_t cp : text) {
        switch (utf8Length(cp)) {
        case 1:
            out.push_back(static_cast<char>(cp));
            break;
        case 2:
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            break;
        case 3:
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            break;
        default:
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            break;
        }
    }
    return out;
}

unsigned combiningClass(char32_t cp)
{
    if (cp < 0x300) {
        return 0; // nothing below the combining diacritics block combines
    }
    const auto ranges = unicode::CombiningClassRanges();
    auto it = std::upper_bound(ranges.begin(), ranges.end(), cp,
                               [](char32_t c, const unicode::CombiningClassRange& r) { return c < r.first; });
    if (it == ranges.begin()) {
        return 0;
    }
    --it;
    return cp <= it->last ? it->combiningClass : 0;
}

bool isHangulSyllable(char32_t cp)
{
    return cp >= kHangulSBase && cp < kHangulSBase + kHangulSCount;
}

// Appends the full canonical decomposition of cp.
void appendDecomposed(char32_t cp, std::u32string& out)
{
    if (isHangulSyllable(cp)) {
        const char32_t index = cp - kHangulSBase;
        out.push_back(kHangulLBase + index / kHangulNCount);
        out.push_back(kHangulVBase + index % kHangulNCount / kHangulTCount);
        if (index % kHangulTCount != 0) {
            out.push_back(kHangulTBase + index % kHangulTCount);
        }
        return;
    }
    const auto table = unicode::Decompositions();
    const auto it = std::lower_bound(table.begin(), table.end(), cp,
                                     [](const unicode::Decomposition& d, char32_t c) { return d.codePoint < c; });
    if (it == table.end() || it->codePoint != cp) {
        out.push_back(cp);
        return;
    }
    appendDecomposed(it->first, out);
    if (it->second != 0) {
        appendDecomposed(it->second, out);
    }
}

// Stable insertion sort of every run of non-starters by combining class; starters (class 0) never move.
void reorderCanonically(std::u32string& text)
{
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char32_t cp = text[i];
        const unsigned cc = combiningClass(cp);
        if (cc == 0) {
            continue;
        }
        std::size_t j = i;
        while (j > 0 && combiningClass(text[j - 1]) > cc) {
            text[j] = text[j - 1];
            --j;
        }
        text[j] = cp;
    }
}

// The primary composite of the pair, or 0 when there is none.
char32_t composePair(char32_t first, char32_t second)
{
    if (first >= kHangulLBase && first < kHangulLBase + kHangulLCount && second >= kHangulVBase &&
        second < kHangulVBase + kHangulVCount) {
        return kHangulSBase + ((first - kHangulLBase) * kHangulVCount + (second - kHangulVBase)) * kHangulTCount;
    }
    if (isHangulSyllable(first) && (first - kHangulSBase) % kHangulTCount == 0 && second > kHangulTBase &&
        second < kHangulTBase + kHangulTCount) {
        return first + (second - kHangulTBase);
    }
    const auto table = unicode::Compositions();
    const auto key = std::make_pair(first, second);
    const auto it = std::lower_bound(table.begin(), table.end(), key,
                                     [](const unicode::Composition& c, const std::pair<char32_t, char32_t>& k) {
                                         return std::make_pair(c.first, c.second) < k;
                                     });
    if (it == table.end() || it->first != first || it->second != second) {
        return 0;
    }
    return it->composite;
}

// Canonical composition in place over canonically ordered text.
void composeCanonically(std::u32string& text)
{
    constexpr std::size_t kNoStarter = static_cast<std::size_t>(-1);
    std::size_t starter = kNoStarter;
    unsigned lastClass = 0;
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t cp = text[i];
        const unsigned cc = combiningClass(cp);
        if (starter != kNoStarter) {
            // Blocked when something kept since the starter has class 0 or a class not below this one; the text
            // is ordered, so the last one kept is the one to compare with.
            const bool adjacent = out == starter + 1;
            if (adjacent || (lastClass != 0 && lastClass < cc)) {
                if (const char32_t composite = composePair(text[starter], cp); composite != 0) {
                    text[starter] = composite;
                    continue;
                }
            }
        }
        if (cc == 0) {
            starter = out;
        }
        lastClass = cc;
        text[out++] = cp;
    }
    // Shrinking leaves the old tail in the buffer, so clear it now.
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(out), text.end(), char32_t{0});
    text.resize(out);
}

// Decodes utf8 into its NFC form. Returns false, with nothing useful in nfc, when utf8 is not valid UTF-8.
bool toNfc(std::string_view utf8, std::u32string& nfc)
{
    // Reserving the worst case up front means the buffer never reallocates and leaves unwiped copies behind.
    nfc.clear();
    nfc.reserve(utf8.size() * unicode::kMaxDecompositionLength);
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, pos);
        if (cp == kInvalid) {
            return false;
        }
        appendDecomposed(cp, nfc);
    }
    reorderCanonically(nfc);
    composeCanonically(nfc);
    return true;
}

} // namespace

std::string NormalizeNfc(std::string_view utf8)
{
    std::u32string nfc;
    WipeOnExit guard(nfc);
    if (!toNfc(utf8, nfc)) {
        return std::string(utf8);
    }
    return encodeUtf8(nfc);
}

int Windows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    const auto* begin = std::begin(kWindows1252High);
    const auto* end = std::end(kWindows1252High);
    const auto* it = std::find(begin, end, codePoint);
    return it == end ? -1 : 0x80 + static_cast<int>(it - begin);
}

std::string PasswordBytes(std::string_view utf8)
{
    std::u32string nfc;
    WipeOnExit guard(nfc);
    if (!toNfc(utf8, nfc)) {
        return std::string(utf8);
    }
    if (!std::all_of(nfc.begin(), nfc.end(), [](char32_t cp) { return Windows1252Byte(cp) >= 0; })) {
        return encodeUtf8(nfc);
    }
    std::string bytes;
    bytes.reserve(nfc.size());
    for (char32_t cp : nfc) {
        bytes.push_back(static_cast<char>(Windows1252Byte(cp)));
    }
    return bytes;
}

} // namespace tazen
