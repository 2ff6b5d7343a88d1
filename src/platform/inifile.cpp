// The private-profile INI file: line-level parsing, the integer rule, and in-place edits written atomically.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inifile.h"

#include "base/texts.h"
#include "platform/files.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tazen::platform {

namespace {

constexpr std::size_t npos = std::string::npos;

// One line of the file as it stands: its text and the line end that followed it ("" for an unterminated
// last line). Keeping both lets a write reproduce every untouched line byte for byte.
struct Line
{
    std::string text;
    std::string eol;
};

std::vector<Line> splitLines(const std::string& content)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t newline = content.find('\n', start);
        if (newline == npos) {
            lines.push_back({content.substr(start), ""});
            break;
        }
        std::size_t textEnd = newline;
        if (textEnd > start && content[textEnd - 1] == '\r')
            --textEnd;
        lines.push_back({content.substr(start, textEnd - start), content.substr(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return lines;
}

// The file keeps the line end it already uses; a file without any gets the Unix one.
std::string lineEndOf(const std::vector<Line>& lines)
{
    for (const Line& line : lines)
        if (!line.eol.empty())
            return line.eol;
    return "\n";
}

std::string_view trim(std::string_view s)
{
    constexpr std::string_view blanks = " \t\r";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == npos)
        return {};
    const std::size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The name of a section header line, or nullopt when the line is something else.
std::optional<std::string_view> sectionName(const std::string& text)
{
    const std::string_view t = trim(text);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.rfind(']');
    if (close == npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

struct KeyLine
{
    std::string_view key;
    std::string_view value;
};

// Comments, blank lines and lines without '=' hold no key. The value is everything after the first '=',
// so a value may itself contain '='.
std::optional<KeyLine> keyLine(const std::string& text)
{
    const std::string_view t = trim(text);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return std::nullopt;
    const std::size_t equals = t.find('=');
    if (equals == npos)
        return std::nullopt;
    const std::string_view key = trim(t.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, trim(t.substr(equals + 1))};
}

// Where a key lives: the header of the first section of that name, the line after that section's last
// line, and the first line of the key in it. Later sections or keys of the same name are never looked at.
struct Location
{
    std::size_t header = npos;
    std::size_t sectionEnd = npos;
    std::size_t keyLine = npos;
};

Location locate(const std::vector<Line>& lines, const std::string& section, const std::string& key)
{
    Location where;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (where.header == npos) {
            if (name && sameName(*name, section))
                where.header = i;
            continue;
        }
        if (name) {
            where.sectionEnd = i;
            return where;
        }
        if (where.keyLine == npos) {
            const auto entry = keyLine(lines[i].text);
            if (entry && sameName(entry->key, key))
                where.keyLine = i;
        }
    }
    if (where.header != npos)
        where.sectionEnd = lines.size();
    return where;
}

// How the file's bytes hold its text. A file with no byte-order mark is taken as it is: 8-bit text, UTF-8
// on this system.
enum class Encoding
{
    Plain,
    Utf8Mark,
    Utf16LittleEndian,
    Utf16BigEndian
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 as UTF-8 text. A surrogate without its partner is carried as its own three-byte sequence and an odd
// last byte as a unit padded with zero, so that text read and written back gives the same units.
std::string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        units.push_back(static_cast<std::uint16_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

// The inverse of fromUtf16; a byte that begins no UTF-8 sequence stands for the unit of its value.
std::string toUtf16(std::string_view text, bool bigEndian)
{
    std::string bytes;
    const auto put = [&](std::uint32_t unit) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        bool valid = length > 0 && i + length <= text.size();
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        if (!valid) {
            put(lead);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
        i += length;
    }
    return bytes;
}

std::string decode(const std::string& bytes, Encoding& encoding)
{
    const std::string_view view = bytes;
    if (view.starts_with(kUtf8Mark)) {
        encoding = Encoding::Utf8Mark;
        return bytes.substr(kUtf8Mark.size());
    }
    if (view.starts_with(kUtf16LittleEndianMark)) {
        encoding = Encoding::Utf16LittleEndian;
        return fromUtf16(view.substr(2), false);
    }
    if (view.starts_with(kUtf16BigEndianMark)) {
        encoding = Encoding::Utf16BigEndian;
        return fromUtf16(view.substr(2), true);
    }
    encoding = Encoding::Plain;
    return bytes;
}

std::string encode(const std::string& text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Mark:
        return std::string(kUtf8Mark) + text;
    case Encoding::Utf16LittleEndian:
        return std::string(kUtf16LittleEndianMark) + toUtf16(text, false);
    case Encoding::Utf16BigEndian:
        return std::string(kUtf16BigEndianMark) + toUtf16(text, true);
    case Encoding::Plain:
        break;
    }
    return text;
}

// One pair of matching double or single quotes around a value goes, as Windows' reader drops them.
std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// 0, or the errno that stopped the read.
ErrorCode readWhole(const std::string& path, std::string& content)
{
    content.clear();
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen())
        return errno;
    char buffer[8192];
    for (;;) {
        std::int64_t got = 0;
        if (const ErrorCode error = ReadFully(fd.Get(), buffer, sizeof buffer, -1, got))
            return error;
        content.append(buffer, static_cast<std::size_t>(got));
        if (got < static_cast<std::int64_t>(sizeof buffer))
            return 0;
    }
}

// Writes the content beside the file and renames it over the file, so a crash leaves either the old file
// or the new one, never a mix.
ErrorCode replaceFile(const std::string& path, const std::string& content, mode_t permissions,
                      const FileState* previous)
{
    PendingFile pending;
    if (const ErrorCode error = PendingFile::Create(path, pending))
        return error;
    if (const ErrorCode error = pending.Output().Write(content.data(), static_cast<std::int64_t>(content.size())))
        return error;
    return pending.Commit(permissions, previous);
}

std::optional<std::uint32_t> parseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<int> parseDecimal(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    // One past INT32_MAX is allowed for the minus side.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

std::string IniWriteErrorText(const std::string& path)
{
    return Text(TAZEN_TEXT("Settings", "Unable to write to %1"), {path});
}

// Hexadecimal is read as the 32 bits it spells, so "$FFFFFFFF" is -1, as Delphi's StrToInt and the values
// Windows stores make it; only more than 32 bits is out of range.
std::optional<int> ParseIniInteger(const std::string& text)
{
    const std::string_view t = text;
    std::optional<std::uint32_t> hex;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        hex = parseHex(t.substr(2));
    else if (!t.empty() && t[0] == '$')
        hex = parseHex(t.substr(1));
    else
        return parseDecimal(t);
    if (!hex)
        return std::nullopt;
    return static_cast<int>(static_cast<std::int32_t>(*hex));
}

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> TIniFile::ReadValue(const std::string& section, const std::string& key) const
{
    std::string bytes;
    if (readWhole(path_, bytes) != 0)
        return std::nullopt;
    Encoding encoding = Encoding::Plain;
    const std::vector<Line> lines = splitLines(decode(bytes, encoding));
    const Location where = locate(lines, section, key);
    if (where.keyLine == npos)
        return std::nullopt;
    return std::string(unquoted(keyLine(lines[where.keyLine].text)->value));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    return ReadValue(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const auto text = ReadValue(section, key);
    if (!text)
        return defaultValue;
    return ParseIniInteger(*text).value_or(defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    const auto text = ReadValue(section, key);
    if (!text)
        return defaultValue;
    const auto number = ParseIniInteger(*text);
    return number ? *number != 0 : defaultValue;
}

ErrorCode TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    std::string bytes;
    mode_t permissions = 0644;
    FileState previous;
    const ErrorCode readError = readWhole(path_, bytes);
    if (readError == 0) {
        if (const ErrorCode error = StateOf(path_, previous))
            return error;
        permissions = previous.mode & 07777;
    } else if (readError != ENOENT) {
        // A file that exists but cannot be read must not be replaced by one holding a single key.
        return readError;
    }

    // Written back in the encoding, and with the mark, it was read in.
    Encoding encoding = Encoding::Plain;
    const std::string content = decode(bytes, encoding);
    std::vector<Line> lines = splitLines(content);
    const std::string eol = lineEndOf(lines);
    const Location where = locate(lines, section, key);

    if (where.keyLine != npos) {
        Line& line = lines[where.keyLine];
        line.text = std::string(keyLine(line.text)->key) + "=" + value;
    } else if (where.header != npos) {
        // After the section's last non-blank line, so blank separators stay between sections.
        std::size_t last = where.header;
        for (std::size_t i = where.header + 1; i < where.sectionEnd; ++i)
            if (!trim(lines[i].text).empty())
                last = i;
        if (lines[last].eol.empty())
            lines[last].eol = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), Line{key + "=" + value, eol});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.empty())
                lines.back().eol = eol;
            if (!trim(lines.back().text).empty())
                lines.push_back({"", eol});
        }
        lines.push_back({"[" + section + "]", eol});
        lines.push_back({key + "=" + value, eol});
    }

    std::string updated;
    updated.reserve(content.size() + key.size() + value.size() + section.size() + 8);
    for (const Line& line : lines)
        updated += line.text + line.eol;
    return replaceFile(path_, encode(updated, encoding), permissions, readError == 0 ? &previous : nullptr);
}

ErrorCode TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

ErrorCode TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

} // namespace tazen::platform
