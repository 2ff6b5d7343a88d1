// UTF-8, which every layer above speaks, and UTF-16, which Windows' wide-character calls take; and the
// system's error numbers as the errno values an ErrorCode holds.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"
#include "cipher/secret.h"

#include <string>

namespace tazen::platform::windows {

// Ill-formed input becomes U+FFFD, as Windows' conversions make it.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* text, std::size_t length);
inline std::string Utf8(const std::wstring& text)
{
    return Utf8(text.data(), text.size());
}
// Into a string that is wiped when it grows or goes: for a password.
void AppendUtf8(const wchar_t* text, std::size_t length, SecretString& utf8);

// The errno value that stands for a Windows error (GetLastError): EEXIST for a file that is there, EACCES,
// ENOSPC, ENOENT and so on; EIO for the rest.
ErrorCode FromSystemError(unsigned long error);
// The last Windows error of this thread, as FromSystemError gives it.
ErrorCode LastError();
// The text for an errno value, e.g. "No space left on device".
std::string ErrorText(ErrorCode error);

} // namespace tazen::platform::windows
