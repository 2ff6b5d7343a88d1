// Test seams of the file layer: faults injected before an operation, data garbled on its way, and the record
// of every change made to the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/descriptor.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tazen::platform {

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

// The seams as the file layer's own units consult them.
namespace seams {
// The fault the hook asks for, or 0.
ErrorCode Injected(FileOperation operation, const std::string& name);
const DataHook& Data();
void Record(FileChange::Kind kind, const std::string& name, std::int64_t offset = 0, std::int64_t length = 0,
            const void* data = nullptr, const std::string& to = {});
} // namespace seams

} // namespace tazen::platform
