// The Linux extractor: the shared flow (extractor/flow.cpp) on the platform layer's POSIX calls. Finds the
// encrypted file behind its own ELF image, asks for the password on the terminal, and writes the plain file
// beside itself.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/selfimage.h"
#include "extractor/system.h"

#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/desktopstart.h"
#include "platform/files.h"
#include "platform/secretmemory.h"
#include "platform/secrets.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

using namespace tazen;
using platform::ErrorCode;

class PendingPlainFile : public extractor::NewFile
{
public:
    PendingPlainFile(platform::PendingFile pending, mode_t permissions)
        : pending_(std::move(pending)), permissions_(permissions)
    {
        // Opened now: Flush closes the file it writes through.
        readBackError_ = pending_.OpenForReadBack(reader_);
    }
    ErrorCode Write(const void* data, std::int64_t size) override { return pending_.Output().Write(data, size); }
    void ChunkWritten() override { pending_.Output().StartWriteback(); }
    ErrorCode Flush() override { return pending_.Flush(permissions_); }
    ErrorCode ReadBack(StreamDigest& digest, std::int64_t& size) override
    {
        if (readBackError_ != 0)
            return readBackError_;
        SecretBuffer buffer(kChunkSize);
        size = 0;
        for (std::int64_t got = kChunkSize; got == kChunkSize; size += got) {
            reader_.DropCached(size, kChunkSize);
            if (const ErrorCode error = reader_.ReadAt(buffer.data(), kChunkSize, size, got))
                return error;
            digest.Update(buffer.data(), got);
        }
        return 0;
    }
    ErrorCode Commit(bool mayReplace) override { return pending_.CommitFlushed(mayReplace); }

private:
    platform::PendingFile pending_;
    mode_t permissions_;
    platform::File reader_;
    ErrorCode readBackError_ = 0;
};

class LinuxSystem : public extractor::System
{
public:
    const char* AskingPlace() const override { return "terminal"; }
    std::string OwnPath() override
    {
        // /proc/self/exe names the file even when argv[0] does not.
        std::string path;
        return platform::ExecutablePath(path) == 0 ? path : std::string();
    }
    bool IsSeparator(char c) const override { return c == '/'; }
    char Separator() const override { return '/'; }

    ErrorCode OpenSelf() override
    {
        if (const ErrorCode error = platform::OpenExecutable(self_))
            return error;
        if (const ErrorCode error = self_.State(selfState_))
            return error;
        size_ = selfState_.size;
        // The executable's permissions without its run bits: what the encrypted file had.
        permissions_ = selfState_.PermissionBits() & 0666;
        return 0;
    }
    extractor::PayloadStatus LocatePayload(std::int64_t& start, std::int64_t& size) override
    {
        const extractor::PayloadStatus status = extractor::LocatePayload(self_.Descriptor(), size_, start, size);
        plainSize_ = size - kCheckBlockSize;
        return status;
    }
    ErrorCode ReadSelfAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) override
    {
        return platform::ReadFully(self_.Descriptor(), buffer, size, offset, got,
                                   platform::OnInterrupt::StopWhenCaught);
    }

    void CatchInterrupts() override { static_cast<void>(platform::CatchInterrupts()); }
    int Interrupted() const override { return platform::InterruptSignal(); }

    void Write(extractor::Stream stream, const std::string& text) override
    {
        std::fputs(text.c_str(), stream == extractor::Stream::Output ? stdout : stderr);
    }
    ErrorCode ReadInputLine(SecretString& line) override { return platform::ReadLine(platform::kStandardInput, line); }

    // A double click: the terminal window this program is started again in, or the desktop's dialogs.
    std::optional<int> HandOff(const std::string& selfPath, int argc, char** argv) override
    {
        const platform::DesktopStart desktop = platform::StartFromDesktop(selfPath, argc, argv);
        dialogs_ = desktop.dialogs;
        if (!selfPath.empty())
            title_ = selfPath.substr(selfPath.rfind('/') + 1);
        return desktop.handedOff;
    }
    void Tell(bool failure, const std::string& title, const std::string& text) override
    {
        platform::TellInDialog(dialogs_, failure, title, text);
    }
    bool CanAsk() override
    {
        platform::Terminal terminal;
        return dialogs_ != platform::DialogProgram::None || terminal.Open() == 0;
    }
    ErrorCode ReadHidden(const std::string& prompt, SecretString& line) override
    {
        if (dialogs_ != platform::DialogProgram::None)
            return platform::AskPasswordInDialog(dialogs_, prompt, line);
        platform::Terminal terminal;
        if (const ErrorCode error = terminal.Open())
            return error;
        return terminal.ReadHidden(prompt + ": ", line);
    }
    ErrorCode Ask(const std::string& question, bool& yes) override
    {
        if (dialogs_ != platform::DialogProgram::None)
            return platform::AskInDialog(dialogs_, title_, question, yes);
        platform::Terminal terminal;
        if (const ErrorCode error = terminal.Open())
            return error;
        return terminal.Ask(question + " [y/N] ", yes);
    }

    bool Exists(const std::string& name) override
    {
        platform::FileState info;
        return platform::LinkStateOf(name, info) == 0;
    }
    ErrorCode CreateFile(const std::string& finalName, std::unique_ptr<extractor::NewFile>& file) override
    {
        platform::PendingFile pending;
        if (const ErrorCode error = platform::PendingFile::Create(finalName, pending))
            return error;
        pending.Output().Preallocate(plainSize_);
        // The program's own modification time, which is its encrypted file's and so its plain file's; its access
        // time is that of running it.
        pending.KeepDates(selfState_, false);
        file = std::make_unique<PendingPlainFile>(std::move(pending), permissions_);
        return 0;
    }
    std::string ErrorText(ErrorCode error) override { return platform::ErrorText(error); }

private:
    platform::File self_;
    platform::FileState selfState_;
    std::int64_t size_ = 0;
    std::int64_t plainSize_ = 0;
    mode_t permissions_ = 0600;
    // Started by a double click with no terminal window to be had: the questions and the outcome go through
    // this dialog program.
    platform::DialogProgram dialogs_ = platform::DialogProgram::None;
    std::string title_ = "extractor";
};

} // namespace

int main(int argc, char** argv)
{
    // A password, a key or plain bytes are in memory for most of the program's life.
    // A refusal leaves the process as dumpable as the system made it; the secrets are still wiped.
    static_cast<void>(platform::NeverDump());
    GuardSecrets();
    LinuxSystem system;
    return extractor::Run(system, argc, argv);
}
