// New files that appear under their name only when complete.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/entry.h"
#include "platform/file.h"

#include <string>

namespace tazen::platform {

// A new file that takes the place of finalName only when Commit succeeds. It is written under
// finalName + ".tmp-" + six random characters in the same folder (the name part shortened where that would
// pass the system's limit on a name), created exclusively with owner-only permission; destroyed without
// Commit, it removes itself and leaves any file of the final name alone. It works relative to its folder,
// so a final name close to the limit on a path's length works too.
//
// Commit gives the new file the group of the file it was made from (and its owner, when running as root)
// before its permission bits; where the group cannot be given, the file gets no group permission bits. A file
// system without Unix permissions that refuses the change (ENOSYS, EPERM, EOPNOTSUPP) leaves the file as it
// makes it, which is not a failure.
class PendingFile
{
public:
    PendingFile() = default;
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // Fails with EACCES when finalName exists with the read-only attribute, EISDIR when it is a folder,
    // ENAMETOOLONG when finalName is too long a path for the system to open.
    static ErrorCode Create(const std::string& finalName, PendingFile& pending);
    static ErrorCode Create(const Entry& finalEntry, PendingFile& pending);

    File& Output() { return file_; }
    // The temporary file opened once more, for reading: it stays the same file after Commit renames it.
    ErrorCode OpenForReadBack(File& reader) const;
    const std::string& FinalName() const { return finalName_; }
    const std::string& TemporaryName() const { return file_.Name(); }

    // The modification time, and with accessToo the access time, of from that the new file is to carry; given
    // when it is flushed, so they are on the device with it, and left alone by the read-back.
    void KeepDates(const FileState& from, bool accessToo = true);

    // Gives back room reserved beyond what was written, gives the file its dates, flushes it, gives it its
    // owner, group and permission bits and closes it: whole on the device under its temporary name, where it can be
    // proven before anything else is touched. madeFrom, when given, is the file whose owner and group the
    // new file takes. On failure the temporary file is removed.
    ErrorCode Flush(mode_t permissions, const FileState* madeFrom = nullptr);
    // Renames the flushed file onto the final name and flushes the folder. Without mayReplace an existing
    // file of the final name is not replaced: EEXIST, and the temporary file stays for another
    // CommitFlushed or Abandon. On any other failure the temporary file is removed.
    ErrorCode CommitFlushed(bool mayReplace);
    // Flush, unless done, then CommitFlushed.
    ErrorCode Commit(mode_t permissions, const FileState* madeFrom = nullptr, bool mayReplace = true);
    // Closes and removes the temporary file.
    void Abandon();

private:
    static ErrorCode create(const Entry& finalEntry, PendingFile& pending);
    ErrorCode prepare(mode_t permissions, const FileState* madeFrom);
    ErrorCode giveDates();
    void release();

    File file_;
    Entry final_;
    bool prepared_ = false;
    bool keepModified_ = false;
    bool keepAccessed_ = false;
    FileState dates_;
    std::string finalName_;
    std::string temporaryBase_;
};

} // namespace tazen::platform
