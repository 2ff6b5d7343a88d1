// What a decrypted copy opened in place needs of the system: a private folder for it on a memory file system,
// a watch that tells when an application saved it, the record that names its encrypted file, the program that
// opens it, and its removal.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/descriptor.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tazen::platform {

// Whether folder lies on a file system kept in memory (tmpfs or ramfs); type gets the file system's name.
ErrorCode IsInMemory(const std::string& folder, bool& inMemory, std::string& type);

// Makes parent/name as a folder only this user may enter (0700), or takes the one there when it is already
// such a folder of this user and no link; EPERM when it belongs to someone else or others may enter it.
ErrorCode MakePrivateFolder(const std::string& parent, const std::string& name, std::string& folder);
// Makes a new folder of a random name below parent, mode 0700, created exclusively: never one already there.
ErrorCode MakeRandomFolder(const std::string& parent, std::string& folder);

// Sets the permission bits of the file name leads to without following a link; a file system without Unix
// permissions refusing it is no failure. With a group, that group is given first, where the system lets it;
// where it does not, the group and others get no bits.
ErrorCode SetPermissionBits(const std::string& name, unsigned int bits, std::optional<unsigned int> group = {});

// Overwrites every file below folder with zeros, removes them and then the folder; links are removed, not
// followed. Goes on past a failure and reports the first.
ErrorCode RemoveOverwriting(const std::string& folder);

// A handle that names the regular file at path without opening it for data (O_PATH): what the desktop portal
// takes to know which file to open, so a name changed meanwhile cannot redirect it. ELOOP when path is a link
// (the portal itself refuses handles opened without following links).
ErrorCode OpenPathHandle(const std::string& path, Descriptor& handle);

// A small file only this user may read, created exclusively, written and flushed, and held with an exclusive
// lock for as long as the object lives: whoever finds it locked knows its writer is still at work.
class HeldRecord
{
public:
    ErrorCode Create(const std::string& path, const std::string& content);
    bool IsHeld() const { return fd_.IsOpen(); }
    void Release() { fd_.Reset(); }

private:
    Descriptor fd_;
};

// Reads a record of at most 64 KiB; inUse (and nothing read) when another process holds its lock.
ErrorCode ReadRecord(const std::string& path, std::string& content, bool& inUse);

// What happened in a watched folder.
struct FolderEvent
{
    enum class Kind
    {
        Written,    // a file opened for writing was closed
        MovedIn,    // a file was renamed into the folder, over whatever had the name
        FolderGone, // the folder itself was removed or moved away: nothing more will come
        Lost        // the system dropped events: anything in the folder may have changed
    };
    Kind kind = Kind::Written;
    std::string name;
};

// A watch on one folder (inotify), which an event loop or a poll waits on through Handle.
class FolderWatch
{
public:
    ErrorCode Start(const std::string& folder);
    // Readable when events are waiting; -1 before Start.
    int Handle() const { return fd_.Get(); }
    // The events that have arrived, without waiting; none when nothing is pending.
    ErrorCode ReadEvents(std::vector<FolderEvent>& events);
    void Stop() { fd_.Reset(); }

private:
    Descriptor fd_;
};

// A program started with its arguments, no shell, the streams this process has; found on PATH.
class ChildProgram
{
public:
    ChildProgram() = default;
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    ErrorCode Start(const std::vector<std::string>& arguments);
    // Readable once the program has ended (a pidfd), or -1 where the system has none: then ask Ended.
    int Handle() const { return pidfd_.Get(); }
    // The exit status once the program has ended (128 + the signal for one a signal ended), without waiting.
    std::optional<int> Ended();
    // Waits for the end.
    int Wait();

private:
    int pid_ = -1;
    std::optional<int> status_;
    Descriptor pidfd_;
};

// Waits until one of the descriptors is readable (or has hung up), a signal comes, or timeout passes (a
// negative one: no limit); ready tells which, in order. EINTR when a signal came.
ErrorCode WaitReadable(const std::vector<int>& descriptors, std::vector<bool>& ready,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));

} // namespace tazen::platform
