// The private-profile INI file: line-level parsing, the integer rule, and in-place edits written atomically.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inifile.h"

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

// 0, or the errno that stopped the read.
int readWhole(const std::string& path, std::string& content)
{
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return 0;
}

// Writes the content beside the file and renames it over the file, so a crash leaves either the old file
// or the new one, never a mix.
void replaceFile(const std::string& path, const std::string& content, mode_t permissions)
{
    PendingFile pending;
    if (PendingFile::Create(path, pending) != 0 ||
        pending.Output().Write(content.data(), static_cast<std::int64_t>(content.size())) != 0 ||
        pending.Commit(permissions) != 0)
        throw IniWriteError(path);
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

IniWriteError::IniWriteError(const std::string& path) : std::runtime_error("Unable to write to " + path) {}

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
    std::string content;
    if (readWhole(path_, content) != 0)
        return std::nullopt;
    const std::vector<Line> lines = splitLines(content);
    const Location where = locate(lines, section, key);
    if (where.keyLine == npos)
        return std::nullopt;
    return std::string(keyLine(lines[where.keyLine].text)->value);
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

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    std::string content;
    mode_t permissions = 0644;
    const int readError = readWhole(path_, content);
    if (readError == 0) {
        struct stat st
        {
        };
        if (::stat(path_.c_str(), &st) != 0)
            throw IniWriteError(path_);
        permissions = st.st_mode & 07777;
    } else if (readError != ENOENT) {
        // A file that exists but cannot be read must not be replaced by one holding a single key.
        throw IniWriteError(path_);
    }

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
    replaceFile(path_, updated, permissions);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace tazen::platform
