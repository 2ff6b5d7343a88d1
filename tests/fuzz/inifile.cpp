// Fuzzes the settings file: any bytes as the file, a few reads, then one write and a read of it back. The
// write must give its value back and keep every line it does not own as it was, in order.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include "platform/inifile.h"

#include <array>
#include <climits>
#include <cstdio>
#include <string_view>

namespace {

using tazen::platform::TIniFile;

// Names the seeds use, in the letter cases and spacing a hand-edited file might have.
constexpr std::array<const char*, 6> kSections = {"Files", "Window", "files", "New Section", "[x]", ""};
constexpr std::array<const char*, 6> kKeys = {"SourceFiles", "Left", "left", "MakeSelfExtracting", "Key Two", "="};
constexpr std::array<const char*, 6> kTexts = {"", "1", "a=b=c", "/home/user/TaZEN.ini", "\xC3\xA4 \xC3\xB6", "0x10"};
constexpr std::array<int, 4> kNumbers = {0, -1, INT_MIN, INT_MAX};

// A line with the line end that follows it; the last line may have none.
std::vector<std::string> linesOf(const std::string& content)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t newline = content.find('\n', start);
        const std::size_t end = newline == std::string::npos ? content.size() : newline + 1;
        lines.push_back(content.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string_view trimmed(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

// A line that sets the key: its name before the first '=' is the key.
bool setsKey(const std::string& line, const std::string& key)
{
    const std::string_view text = trimmed(line);
    const std::size_t equals = text.find('=');
    return equals != std::string_view::npos && sameName(trimmed(text.substr(0, equals)), key);
}

// The lines the write may have added: its key's line, its section's header, a blank separator, or an
// original last line that was given the line end it lacked.
bool addedByWrite(const std::string& line, const std::string& section, const std::string& key,
                  const std::string& lastWithoutEnd)
{
    const std::string_view text = trimmed(line);
    return text.empty() || setsKey(line, key) || text == "[" + section + "]" ||
           (!lastWithoutEnd.empty() && line.size() > lastWithoutEnd.size() &&
            line.compare(0, lastWithoutEnd.size(), lastWithoutEnd) == 0 &&
            trimmed(line.substr(lastWithoutEnd.size())).empty());
}

// The file's text after its byte-order mark, UTF-16 units written as themselves when ASCII and as "\xFF" and
// four hexadecimal digits otherwise: lines and ASCII names compare as in the file, whatever its encoding. An
// odd last byte of UTF-16 counts as a unit padded with zero.
std::string textOf(const std::string& bytes)
{
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF"))
        return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    std::string text;
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        const unsigned unit = little ? second << 8 | first : first << 8 | second;
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\xFF%04X", unit);
            text += hex;
        }
    }
    return text;
}

// The byte-order mark a file begins with, if any.
std::string markOf(const std::string& bytes)
{
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (bytes.starts_with(mark))
            return mark;
    return {};
}

void checkKept(const std::string& beforeBytes, const std::string& afterBytes, const std::string& section,
               const std::string& key)
{
    // The write keeps the file's encoding and its mark.
    FUZZ_CHECK(markOf(afterBytes) == markOf(beforeBytes));
    const std::string before = textOf(beforeBytes);
    const std::string after = textOf(afterBytes);
    const std::vector<std::string> old = linesOf(before);
    const std::vector<std::string> now = linesOf(after);
    // The lines both files begin with and end with are kept as they were; what lies between is the edit.
    std::size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const std::size_t removed = old.size() - prefix - suffix;
    const std::size_t added = now.size() - prefix - suffix;

    // At most one original line changed: the key's own line, or the last line, which only gains a line end.
    FUZZ_CHECK(removed <= 1);
    std::string lastWithoutEnd;
    if (removed == 1) {
        const std::string& line = old[prefix];
        const bool lastLacksEnd = prefix + 1 == old.size() && line.back() != '\n';
        FUZZ_CHECK(setsKey(line, key) || lastLacksEnd);
        if (lastLacksEnd && !setsKey(line, key))
            lastWithoutEnd = line;
    }
    // Rewriting a key with the value it has changes nothing.
    FUZZ_CHECK(added <= 4 && (added >= 1 || removed == 0));
    for (std::size_t i = prefix; i < prefix + added; ++i)
        FUZZ_CHECK(addedByWrite(now[i], section, key, lastWithoutEnd));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string& folder = tazen::fuzz::processFolder();
    const std::string path = folder + "/TaZEN.ini";
    tazen::fuzz::writeBytes(path, content);

    TIniFile ini(path);
    // Every file read opens the file again, so each section is read with two of the keys only.
    for (std::size_t i = 0; i < kSections.size(); ++i) {
        const char* section = kSections[i];
        const auto value = ini.ReadValue(section, kKeys[(i + choice) % kKeys.size()]);
        // UTF-16 text takes up to three bytes a unit as UTF-8; a value keeps blanks inside its quotes.
        FUZZ_CHECK(!value || value->size() < 2 * content.size());
        if (value)
            FUZZ_CHECK(value->find('\n') == std::string::npos);
        ini.ReadInteger(section, kKeys[(i + choice + 1) % kKeys.size()], 7);
        ini.ReadBool(section, kKeys[(i + choice + 2) % kKeys.size()], true);
    }

    // A key ends at the first '=', so "=" cannot be written as a key name; every section name can.
    const std::string section = kSections[choice % kSections.size()];
    const std::string key = kKeys[(choice / kSections.size()) % (kKeys.size() - 1)];
    const bool asInteger = (choice & 0x80) != 0;
    const int number = kNumbers[(choice / 20) % kNumbers.size()];
    const std::string text = asInteger ? std::to_string(number) : kTexts[(choice / 20) % kTexts.size()];
    FUZZ_CHECK((asInteger ? ini.WriteInteger(section, key, number) : ini.WriteString(section, key, text)) == 0);

    FUZZ_CHECK(ini.ReadValue(section, key) == text);
    if (asInteger)
        FUZZ_CHECK(ini.ReadInteger(section, key, number == 0 ? 1 : 0) == number);
    checkKept(content, tazen::fuzz::readBytes(path), section, key);
    // The write went through a temporary file beside the settings file; none may be left.
    FUZZ_CHECK(tazen::fuzz::listFolder(folder) == std::vector<std::string>{"TaZEN.ini"});
    return 0;
}
