// The private-profile INI file, read and written the way Windows' GetPrivateProfileString and
// WritePrivateProfileString do it, so a settings file edited by hand or written on Windows reads the same.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <optional>
#include <string>

namespace tazen::platform {

// What the user is told of a failed write: "Unable to write to " + the file's path.
std::string IniWriteErrorText(const std::string& path);

// One settings file, opened for the few keys an operation needs. Every read looks at the file as it is on
// disk at that moment; every write replaces the file atomically, changing only the one line it owns.
class TIniFile
{
public:
    explicit TIniFile(std::string path);

    const std::string& FileName() const { return path_; }

    // Section and key names match without regard to case; surrounding blanks and a trailing carriage
    // return are trimmed. nullopt when the file, the section or the key is missing.
    std::optional<std::string> ReadValue(const std::string& section, const std::string& key) const;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Decimal with an optional minus sign; "0x"/"0X" hexadecimal when longer than two characters; "$"
    // hexadecimal. Anything else, or a number outside 32 bits, gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Read as an integer; any non-zero number is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // Changes the key's line in place, or appends the key at the end of its section, or appends the section
    // at the end of the file; every other line stays as it was. A file that exists but cannot be read is left
    // alone, with the reason.
    tazen::ErrorCode WriteString(const std::string& section, const std::string& key, const std::string& value);
    tazen::ErrorCode WriteInteger(const std::string& section, const std::string& key, int value);
    tazen::ErrorCode WriteBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

// The integer rule above, on its own, for the readers and their tests.
std::optional<int> ParseIniInteger(const std::string& text);

} // namespace tazen::platform
