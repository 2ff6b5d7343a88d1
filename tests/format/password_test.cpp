// Tests for turning passwords into key bytes: NFC normalisation, Windows-1252 and the UTF-8 fallback.
// SPDX-License-Identifier: GPL-3.0-or-later

#include "format/password.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#ifndef TAZEN_TEST_DATA_DIR
#error "TAZEN_TEST_DATA_DIR must be defined as the path of the tests/data directory"
#endif

namespace tazen {
namespace {

using namespace std::string_literals;

// Independent of the encoder under test, so a shared mistake cannot hide.
std::string utf8(std::u32string_view text)
{
    std::string out;
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string nfc(std::u32string_view text)
{
    return NormalizeNfc(utf8(text));
}

TEST(NormalizeNfc, DecomposedAndPrecomposedAreOnePassword)
{
    EXPECT_EQ(nfc(U"o\u0308"), utf8(U"\u00F6"));
    EXPECT_EQ(nfc(U"\u00F6"), utf8(U"\u00F6"));
    EXPECT_EQ(PasswordBytes(utf8(U"o\u0308")), "\xF6"s);
    EXPECT_EQ(PasswordBytes(utf8(U"\u00F6")), "\xF6"s);
    EXPECT_EQ(PasswordBytes(utf8(U"M\u00FCnchen o\u0308l")), "M\xFCnchen \xF6l"s);
    // Two marks composing one after the other: o + diaeresis + macron is U+022B.
    EXPECT_EQ(nfc(U"o\u0308\u0304"), utf8(U"\u022B"));
}

TEST(NormalizeNfc, CombiningMarksAreOrderedByClass)
{
    // Dot below (class 220) sorts before acute (230), whichever was typed first.
    EXPECT_EQ(nfc(U"a\u0323\u0301"), utf8(U"\u1EA1\u0301"));
    EXPECT_EQ(nfc(U"a\u0301\u0323"), utf8(U"\u1EA1\u0301"));
    // Both orders compose fully once ordered.
    EXPECT_EQ(nfc(U"a\u0302\u0323"), utf8(U"\u1EAD"));
    EXPECT_EQ(nfc(U"a\u0323\u0302"), utf8(U"\u1EAD"));
    // Marks of equal class keep their order: the first one wins the composition.
    EXPECT_EQ(nfc(U"a\u0301\u0300"), utf8(U"\u00E1\u0300"));
    EXPECT_EQ(nfc(U"a\u0300\u0301"), utf8(U"\u00E0\u0301"));
    // The dot below has to reach past both marks of U+01D6 (u + diaeresis + macron), so the letter comes apart.
    EXPECT_EQ(nfc(U"\u01D6\u0323"), utf8(U"\u1EE5\u0308\u0304"));
    // A mark with nothing before it stays where it is.
    EXPECT_EQ(nfc(U"\u0301a"), utf8(U"\u0301a"));
}

TEST(NormalizeNfc, BlockedMarksDoNotCompose)
{
    // The overline (class 230, no composite with a) blocks the acute of the same class.
    EXPECT_EQ(nfc(U"a\u0305\u0301"), utf8(U"a\u0305\u0301"));
    // A second acute has nothing left to compose with.
    EXPECT_EQ(nfc(U"a\u0301\u0301"), utf8(U"\u00E1\u0301"));
    // Two starters compose only when adjacent.
    EXPECT_EQ(nfc(U"\u0B47\u0B3E"), utf8(U"\u0B4B"));
    EXPECT_EQ(nfc(U"\u0B47\u0301\u0B3E"), utf8(U"\u0B47\u0301\u0B3E"));
}

TEST(NormalizeNfc, HangulIsComposedAlgorithmically)
{
    EXPECT_EQ(nfc(U"\u1100\u1161\u11A8"), utf8(U"\uAC01"));
    EXPECT_EQ(nfc(U"\u1100\u1161"), utf8(U"\uAC00"));
    EXPECT_EQ(nfc(U"\uAC00\u11A8"), utf8(U"\uAC01"));
    // Precomposed syllables come through unchanged.
    EXPECT_EQ(nfc(U"\uAC01"), utf8(U"\uAC01"));
    EXPECT_EQ(nfc(U"\uD7A3\uAC00"), utf8(U"\uD7A3\uAC00"));
    // A syllable that already has a final consonant takes no other.
    EXPECT_EQ(nfc(U"\uAC01\u11A8"), utf8(U"\uAC01\u11A8"));
    // U+11A7 sits just below the final consonants and does not compose.
    EXPECT_EQ(nfc(U"\u1100\u1161\u11A7"), utf8(U"\uAC00\u11A7"));
    // Jamo outside the composing ranges stay apart.
    EXPECT_EQ(nfc(U"\u1113\u1161"), utf8(U"\u1113\u1161"));
}

TEST(NormalizeNfc, ExclusionsAndSingletonsStayDecomposed)
{
    // DEVANAGARI LETTER QA is excluded from composition.
    EXPECT_EQ(nfc(U"\u0958"), utf8(U"\u0915\u093C"));
    EXPECT_EQ(nfc(U"\u0915\u093C"), utf8(U"\u0915\u093C"));
    // ANGSTROM SIGN is a singleton for A with ring above, which then fits Windows-1252.
    EXPECT_EQ(nfc(U"\u212B"), utf8(U"\u00C5"));
    EXPECT_EQ(PasswordBytes(utf8(U"\u212B")), "\xC5"s);
    EXPECT_EQ(PasswordBytes(utf8(U"A\u030A")), "\xC5"s);
    // A non-starter decomposition: U+0344 is diaeresis + acute and never recomposes.
    EXPECT_EQ(nfc(U"\u0344"), utf8(U"\u0308\u0301"));
    // Recursive decomposition, four code points deep, composes back to itself.
    EXPECT_EQ(nfc(U"\u1F82"), utf8(U"\u1F82"));
    EXPECT_EQ(nfc(U"\u03B1\u0345\u0313\u0300"), utf8(U"\u1F82"));
}

TEST(NormalizeNfc, TrivialTextIsUnchanged)
{
    EXPECT_EQ(NormalizeNfc(""), "");
    EXPECT_EQ(PasswordBytes(""), "");
    const std::string ascii = "correct horse battery staple 0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
    EXPECT_EQ(NormalizeNfc(ascii), ascii);
    EXPECT_EQ(PasswordBytes(ascii), ascii);
    // An embedded NUL is a character like any other.
    EXPECT_EQ(PasswordBytes("a\0b"s), "a\0b"s);
}

TEST(Windows1252, SpecialCharactersHaveTheirBytes)
{
    EXPECT_EQ(Windows1252Byte(U'\u20AC'), 0x80);
    EXPECT_EQ(Windows1252Byte(U'\u0178'), 0x9F);
    EXPECT_EQ(PasswordBytes("€"), "\x80"s);
    EXPECT_EQ(PasswordBytes("Ÿ"), "\x9F"s);
    // The 27 characters of bytes 0x80-0x9F, typed as text, in byte order.
    EXPECT_EQ(PasswordBytes("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C"
              "\x9E\x9F"s);
}

TEST(Windows1252, UnassignedBytesStandForTheirC1Controls)
{
    for (char32_t cp : {U'\u0081', U'\u008D', U'\u008F', U'\u0090', U'\u009D'}) {
        EXPECT_EQ(Windows1252Byte(cp), static_cast<int>(cp)) << std::hex << static_cast<unsigned>(cp);
    }
    EXPECT_EQ(PasswordBytes(utf8(U"\u0081")), "\x81"s);
    for (char32_t cp : {U'\u0080', U'\u0082', U'\u008E', U'\u0091', U'\u009F'}) {
        EXPECT_EQ(Windows1252Byte(cp), -1) << std::hex << static_cast<unsigned>(cp);
    }
    // Without a byte for U+0080 the whole password falls back to UTF-8.
    EXPECT_EQ(PasswordBytes(utf8(U"\u0080")), "\xC2\x80"s);
}

TEST(Windows1252, LatinOneRangesMapToThemselves)
{
    EXPECT_EQ(Windows1252Byte(U'\0'), 0x00);
    EXPECT_EQ(Windows1252Byte(U'\x7F'), 0x7F);
    EXPECT_EQ(Windows1252Byte(U'\u00A0'), 0xA0);
    EXPECT_EQ(Windows1252Byte(U'\u00FF'), 0xFF);
    EXPECT_EQ(Windows1252Byte(U'\u0100'), -1);
    EXPECT_EQ(Windows1252Byte(U'\U0010FFFF'), -1);
}

TEST(Windows1252, EveryByteHasExactlyOneCodePoint)
{
    std::vector<int> owners(256, 0);
    int mapped = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        const int byte = Windows1252Byte(cp);
        if (byte >= 0) {
            ASSERT_LT(byte, 256) << std::hex << static_cast<unsigned>(cp);
            ++owners[static_cast<std::size_t>(byte)];
            ++mapped;
        }
    }
    EXPECT_EQ(mapped, 256);
    for (std::size_t byte = 0; byte < owners.size(); ++byte) {
        EXPECT_EQ(owners[byte], 1) << "byte " << byte;
    }
}

TEST(PasswordBytes, CharactersOutsideWindows1252GiveUtf8)
{
    EXPECT_EQ(PasswordBytes(utf8(U"\u0151")), "\xC5\x91"s);  // ő
    EXPECT_EQ(PasswordBytes(utf8(U"o\u030B")), "\xC5\x91"s); // ő typed decomposed
    EXPECT_EQ(PasswordBytes(utf8(U"\u0416")), "\xD0\x96"s);  // Ж
    EXPECT_EQ(PasswordBytes(utf8(U"\U0001F600")), "\xF0\x9F\x98\x80"s);
    // One such character turns the whole password into UTF-8, including its Windows-1252 characters.
    EXPECT_EQ(PasswordBytes(utf8(U"o\u0308\u20AC\u0151")), "\xC3\xB6\xE2\x82\xAC\xC5\x91"s);
    // The UTF-8 is of the NFC form.
    EXPECT_EQ(PasswordBytes(utf8(U"\u0416a\u0323\u0302")), "\xD0\x96\xE1\xBA\xAD"s);
}

TEST(Utf8Validation, InvalidTextIsUsedUnchanged)
{
    const std::vector<std::string> invalid = {
        "\xF6"s,                     // a Windows-1252 byte on its own
        "pass\xF6rd"s,               // the same inside a word
        "\xC0\xAF"s,                 // overlong '/'
        "\xC1\xBF"s,                 // overlong U+007F
        "\xE0\x80\xAF"s,             // overlong '/' in three bytes
        "\xE0\x9F\xBF"s,             // overlong U+07FF
        "\xF0\x80\x80\xAF"s,         // overlong '/' in four bytes
        "\xF0\x8F\xBF\xBF"s,         // overlong U+FFFF
        "\xED\xA0\x80"s,             // high surrogate
        "\xED\xBF\xBF"s,             // low surrogate
        "\xED\xA0\xBD\xED\xB8\x80"s, // a surrogate pair spelt out
        "\xF4\x90\x80\x80"s,         // above U+10FFFF
        "\xF5\x80\x80\x80"s,         // a lead byte for beyond U+10FFFF
        "\xFF"s,                     // never appears in UTF-8
        "\x80"s,                     // continuation byte with no lead
        "\xC3"s,                     // truncated
        "a\xE2\x82"s,                // truncated at the end
        "\xE2\x28\xA1"s,             // bad continuation
        "\xC3\xC3"s,                 // a lead byte where a continuation byte belongs
        "o\xCC\x88\xF6"s,            // decomposable text is left decomposed too
        "\xE2\x84\xAB\xC0\x80"s,     // likewise a singleton
    };
    for (const std::string& sample : invalid) {
        // Wrapped in decomposed o-umlauts, which would show if the sample were wrongly accepted and re-encoded.
        for (const std::string& text : {sample, "o\xCC\x88"s + sample + "o\xCC\x88"s}) {
            EXPECT_EQ(NormalizeNfc(text), text) << testing::PrintToString(text);
            EXPECT_EQ(PasswordBytes(text), text) << testing::PrintToString(text);
        }
    }
}

TEST(Utf8Validation, ViewEndsTheText)
{
    // The view stops inside the euro sign; the byte that would complete it lies beyond and must not be read.
    const std::string buffer = "a\xE2\x82\xAC";
    const std::string_view truncated(buffer.data(), 3);
    EXPECT_EQ(NormalizeNfc(truncated), truncated);
    EXPECT_EQ(PasswordBytes(truncated), truncated);
    EXPECT_EQ(PasswordBytes(std::string_view(buffer.data(), 1)), "a");
}

TEST(Utf8Validation, BoundaryCodePointsAreAccepted)
{
    // Each boundary sits next to a decomposed o-umlaut, which is only normalised if the text was accepted.
    const std::vector<std::string> boundaries = {
        "\x7F"s,
        "\xC2\x80"s,         // U+0080
        "\xDF\xBF"s,         // U+07FF
        "\xE0\xA0\x80"s,     // U+0800
        "\xED\x9F\xBF"s,     // U+D7FF
        "\xEE\x80\x80"s,     // U+E000
        "\xEF\xBF\xBF"s,     // U+FFFF
        "\xF0\x90\x80\x80"s, // U+10000
        "\xF4\x8F\xBF\xBF"s, // U+10FFFF
    };
    for (const std::string& text : boundaries) {
        EXPECT_EQ(NormalizeNfc("o\xCC\x88"s + text), "\xC3\xB6"s + text) << testing::PrintToString(text);
    }
}

std::u32string parseCodePoints(const std::string& hex)
{
    std::u32string out;
    std::istringstream in(hex);
    std::string token;
    while (in >> token) {
        out.push_back(static_cast<char32_t>(std::stoul(token, nullptr, 16)));
    }
    return out;
}

TEST(NormalizeNfc, AgreesWithReferenceData)
{
    const std::string path = TAZEN_TEST_DATA_DIR "/nfc.txt";
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot open " << path;
    std::string line;
    int lineNumber = 0;
    int cases = 0;
    int changed = 0;
    std::set<std::u32string> inputs;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto separator = line.find(';');
        ASSERT_NE(separator, std::string::npos) << path << ":" << lineNumber;
        const std::u32string input = parseCodePoints(line.substr(0, separator));
        const std::u32string expected = parseCodePoints(line.substr(separator + 1));
        ASSERT_FALSE(input.empty()) << path << ":" << lineNumber;
        EXPECT_EQ(NormalizeNfc(utf8(input)), utf8(expected)) << path << ":" << lineNumber;
        EXPECT_EQ(NormalizeNfc(utf8(expected)), utf8(expected)) << path << ":" << lineNumber << " (NFC of NFC)";
        ++cases;
        changed += input != expected ? 1 : 0;
        inputs.insert(input);
    }
    // Guards against a truncated or trivial data file passing vacuously.
    EXPECT_GE(cases, 300);
    EXPECT_GE(changed, 100);
    EXPECT_EQ(inputs.size(), static_cast<std::size_t>(cases));
}

} // namespace
} // namespace tazen
