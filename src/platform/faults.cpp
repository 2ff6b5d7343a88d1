// The file layer's test seams, empty unless a test sets them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/faults.h"

#include <utility>

namespace tazen::platform {

namespace {

FaultHook& faultHook()
{
    static FaultHook hook;
    return hook;
}

DataHook& dataHook()
{
    static DataHook hook;
    return hook;
}

ChangeRecorder& changeRecorder()
{
    static ChangeRecorder recorder;
    return recorder;
}

} // namespace

void SetFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

void SetDataHook(DataHook hook)
{
    dataHook() = std::move(hook);
}

void SetChangeRecorder(ChangeRecorder recorder)
{
    changeRecorder() = std::move(recorder);
}

namespace seams {

ErrorCode Injected(FileOperation operation, const std::string& name)
{
    const FaultHook& hook = faultHook();
    return hook ? hook(operation, name) : ErrorCode();
}

const DataHook& Data()
{
    return dataHook();
}

void Record(FileChange::Kind kind, const std::string& name, std::int64_t offset, std::int64_t length, const void* data,
            const std::string& to)
{
    const ChangeRecorder& recorder = changeRecorder();
    if (!recorder)
        return;
    FileChange change;
    change.kind = kind;
    change.name = name;
    change.to = to;
    change.offset = offset;
    change.length = length;
    if (data != nullptr)
        change.data.assign(static_cast<const char*>(data), static_cast<std::size_t>(length));
    recorder(change);
}

} // namespace seams

} // namespace tazen::platform
