// Deleting a file the way Windows does: never a folder, never a file with the read-only attribute.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/entry.h"

#include <string>

namespace tazen::platform {

// Windows' DeleteFileA: removes a file or a symbolic link; refuses folders (EISDIR) and files with the
// read-only attribute (EACCES).
ErrorCode DeleteFile(const std::string& name);
// The same through the entry's folder. Given an expected state, a name that no longer leads to that very
// file, by device and inode (followLink: through a link, to the file the link leads to), is left alone with
// ESTALE.
ErrorCode DeleteFile(const Entry& entry, const FileState* expected = nullptr, bool followLink = false);

} // namespace tazen::platform
