// Turns a typed password into the bytes that are hashed to make the key.
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace tazen {

// Returns the NFC form of UTF-8 text; text that is not valid UTF-8 comes back unchanged.
std::string NormalizeNfc(std::string_view utf8);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int Windows1252Byte(char32_t codePoint);

// The bytes a password contributes to the key: its NFC form encoded as Windows-1252 when every character has a
// Windows-1252 byte (so files made by the original Windows program open with the same password), otherwise the
// UTF-8 of its NFC form. Text that is not valid UTF-8 is used byte for byte as it stands.
std::string PasswordBytes(std::string_view utf8);

} // namespace tazen
