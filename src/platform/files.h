// Byte-file access with the rules the engine expects of Windows: the read-only attribute, checked reads
// and writes that keep the system's reason, and new files that appear under their name only when complete.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tazen::platform {

// Every operation returns 0 on success or the errno value that says why it failed.
using ErrorCode = tazen::ErrorCode;

// The system's text for an errno value, e.g. "No space left on device".
std::string ErrorText(ErrorCode error);

enum class FileOperation
{
    Open,
    Create,
    Read,
    Write,
    Sync,
    Truncate,
    Rename,
    Delete,
    // Shredding's question whether the file system overwrites a file in place; a fault means it does not.
    OverwriteInPlace
};

// Test seam: when set, consulted before every operation of this layer; a non-zero errno it returns makes
// the operation fail with that reason without touching the file. Tests use it for full disks and the like.
using FaultHook = std::function<ErrorCode(FileOperation operation, const std::string& name)>;
void SetFaultHook(FaultHook hook);

// Test seam: when set, sees the bytes of every Write just before they go out and of every ReadAt just after
// they came in, at their offset in the file, and may change them: a device that garbles data.
using DataHook = std::function<void(FileOperation operation, const std::string& name, std::uint8_t* data,
                                    std::int64_t size, std::int64_t offset)>;
void SetDataHook(DataHook hook);

// Test seam: a change this layer made to the files and names on the device, told once it succeeded, in the
// order they were made: what a power cut could undo where it was not flushed yet.
struct FileChange
{
    enum class Kind
    {
        Create,     // name: a new empty file
        Write,      // name: data at offset
        Truncate,   // name: to length
        SyncFile,   // name: its data and size are on the device
        SyncFolder, // name is a folder: the names in it are on the device
        Rename,     // name onto to, replacing what was there
        Delete      // name
    };
    Kind kind = Kind::Create;
    std::string name;
    std::string to;
    std::int64_t offset = 0;
    std::int64_t length = 0;
    std::string data;
};
using ChangeRecorder = std::function<void(const FileChange& change)>;
void SetChangeRecorder(ChangeRecorder recorder);

class BackgroundFlusher;

// Which file a name or descriptor leads to, its length and when its data last changed: what tells whether
// a file still holds what was read from it. Type, owner, group and link count ride along but do not take
// part in the comparison.
struct FileState
{
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    nlink_t links = 0;
    bool operator==(const FileState& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// The state of the file a name leads to, symbolic links followed.
ErrorCode StateOf(const std::string& name, FileState& state);

class File;

// A name in a folder that was opened once: every step for that file goes through the folder's handle, so
// a folder of the path that is renamed or swapped for a link meanwhile changes nothing. Copies share the
// handle. Links on the folder's path are followed when it is opened, and only links that the caller or
// root made, or that the owner of the folder holding them made where no one else may change that folder:
// another user's link in a folder others may write could be a folder swapped for a link (ELOOP).
class Entry
{
public:
    Entry() = default;
    // Opens the folder of path (FolderOf) and keeps the last part of path as the name.
    static ErrorCode Open(const std::string& path, Entry& entry);
    // Another name in the same folder; with text appended: report.doc -> report.doc.TaZEN.
    Entry Sibling(const std::string& base) const;
    Entry WithSuffix(const std::string& suffix) const { return Sibling(base_ + suffix); }

    bool IsOpen() const { return folder_ != nullptr; }
    int FolderDescriptor() const;
    const std::string& FolderName() const;
    // The full name as given, for messages; the name within the folder.
    const std::string& Path() const { return path_; }
    const std::string& Base() const { return base_; }

private:
    std::shared_ptr<const File> folder_;
    std::string path_;
    std::string base_;
};

// The state of the entry: of the entry itself (a link is a link), or with followLink of what it leads to.
ErrorCode StateOf(const Entry& entry, FileState& state, bool followLink);
bool IsSymbolicLink(const FileState& state);

// Whether the file system holding an open file keeps earlier copies of changed data rather than overwriting
// it in place: btrfs (unless the file has the no-copy-on-write attribute), bcachefs, ZFS, f2fs and nilfs2.
bool KeepsEarlierCopies(const File& file);

// An open file descriptor and the name it was opened under; closes itself.
class File : public ByteSource, public ByteSink
{
public:
    File();
    File(int descriptor, std::string name);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() override;

    bool IsOpen() const { return descriptor_ >= 0; }
    int Descriptor() const { return descriptor_; }
    const std::string& Name() const { return name_; }

    ErrorCode Size(std::int64_t& size) const;
    ErrorCode State(FileState& state) const;
    // Reads until size bytes are in or the file ends; got tells how many arrived.
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override;
    // The same from an offset, leaving the file position alone.
    ErrorCode ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got);
    // Drops the clean cached pages of a range, so the next read of it reaches the device where the file
    // system allows it. Advisory.
    void DropCached(std::int64_t offset, std::int64_t length);
    // Writes all of it or fails.
    ErrorCode Write(const void* buffer, std::int64_t size) override;
    ErrorCode WriteAt(const void* buffer, std::int64_t size, std::int64_t offset);
    ErrorCode Truncate(std::int64_t length);
    // Data and size on the device.
    ErrorCode Sync();
    // Starts writing out to the device, without waiting, what Write has written since the last call, and
    // now and then has a background thread flush it: the device then works while the caller computes, and
    // the final Sync has little left to wait for. What goes wrong there is reported by Sync.
    void StartWriteback();
    // How much of what Write wrote the background flushes have put on the device so far; any thread may ask.
    std::int64_t Flushed() const;
    // Reserves room for a file about to be written to this length, so the file system allocates it in one
    // piece now rather than bit by bit while the data is flushed. Advisory: the writes decide.
    void Preallocate(std::int64_t length);
    // Reports what close reports: on some file systems that is where a failed write shows.
    ErrorCode Close();

private:
    friend class PendingFile;
    ErrorCode finishBackgroundFlush();

    int descriptor_ = -1;
    std::string name_;
    std::int64_t written_ = 0;
    std::int64_t writebackStarted_ = 0;
    std::int64_t flushRequested_ = 0;
    std::int64_t preallocated_ = 0;
    std::unique_ptr<BackgroundFlusher> flusher_;
};

// A regular file (symbolic links followed) opened for reading and writing. A file whose owner-write
// permission bit is clear counts as write-protected and fails with EACCES, for root too; anything that is
// not a regular file (folder, FIFO, device, socket) fails without being opened for data. The name is
// reached through its folder; a name that is itself a link is followed only under the rule for links
// above. Never becomes the controlling terminal.
ErrorCode OpenForReadWrite(const std::string& name, File& file);
ErrorCode OpenForReadWrite(const Entry& entry, File& file);
// The same, for reading only: the write-protection rule does not apply.
ErrorCode OpenForReading(const std::string& name, File& file);
ErrorCode OpenForReading(const Entry& entry, File& file);
// Whatever the name leads to (a pipe, a device), opened with flags (O_RDONLY, O_RDWR, O_NONBLOCK) and none
// of the rules above, never as the controlling terminal: for a password read from a pipe, and for asking
// the system itself why a name was refused.
ErrorCode OpenAsIs(const std::string& name, int flags, File& file);
// The length of a file that OpenForReadWrite would open, taken the same way but without keeping it open.
ErrorCode SizeForReadWrite(const std::string& name, std::int64_t& size);
// For shredding: never through a symbolic link, a regular file only, the write-protection rule applies.
ErrorCode OpenForOverwrite(const std::string& name, File& file);
ErrorCode OpenForOverwrite(const Entry& entry, File& file);

// True when the name is a regular file whose owner-write bit is clear.
bool IsWriteProtected(const std::string& name);
bool IsSymbolicLink(const std::string& name);
// The permission bits of a file (symbolic links followed), or ~0 when it cannot be examined.
mode_t PermissionBits(const std::string& name);

// Windows' DeleteFileA: removes a file or a symbolic link; refuses folders (EISDIR) and files with the
// read-only attribute (EACCES).
ErrorCode DeleteFile(const std::string& name);
// The same through the entry's folder. Given an expected state, a name that no longer leads to that very
// file, by device and inode (followLink: through a link, to the file the link leads to), is left alone with
// ESTALE.
ErrorCode DeleteFile(const Entry& entry, const FileState* expected = nullptr, bool followLink = false);

// The longest name the folder takes (pathconf's _PC_NAME_MAX), or NAME_MAX where the system does not say.
std::size_t LongestNameIn(const std::string& folder);

// Flushes a folder's entries to the device, so a rename in it survives a power cut.
ErrorCode SyncFolder(const std::string& folder);
// The folder part of a path: "/a/b" -> "/a", "b" -> ".", "/b" -> "/".
std::string FolderOf(const std::string& path);

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

    // Gives back room reserved beyond what was written, flushes the data, gives the file its owner, group
    // and permission bits and closes it: whole on the device under its temporary name, where it can be
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
    void release();

    File file_;
    Entry final_;
    bool prepared_ = false;
    std::string finalName_;
    std::string temporaryBase_;
};

} // namespace tazen::platform
