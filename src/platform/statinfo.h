// What the file layer's units share about struct stat; for src/platform only.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/entry.h"

#include <sys/stat.h>

#include <string>

namespace tazen::platform::statinfo {

FileState StateFrom(const struct stat& info);
// The owner-write bit stands for the inverse of Windows' read-only attribute.
bool ReadOnlyAttribute(const struct stat& info);
// 0 when the entry base of the folder is no link, or a link the rule for links lets through; ELOOP when it
// is another's.
ErrorCode CheckLinkEntry(int folder, const std::string& base);

} // namespace tazen::platform::statinfo
