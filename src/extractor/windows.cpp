// The Windows extractor: the shared flow (extractor/flow.cpp) on the platform layer's Windows calls. Finds the
// encrypted file behind its own PE image, asks for the password on the console, and writes the plain file
// beside itself.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/peimage.h"
#include "extractor/system.h"

#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/secrets.h"
#include "platform/windows/console.h"
#include "platform/windows/files.h"
#include "platform/windows/text.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tazen;
namespace win = platform::windows;

class SelfBytes : public extractor::ImageBytes
{
public:
    explicit SelfBytes(const win::FileHandle& file) : file_(file) {}
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        std::int64_t got = 0;
        return file_.ReadAt(buffer, static_cast<std::int64_t>(size), static_cast<std::int64_t>(offset), got) == 0 &&
               got == static_cast<std::int64_t>(size);
    }

private:
    const win::FileHandle& file_;
};

class PendingPlainFile : public extractor::NewFile
{
public:
    ErrorCode Create(const std::string& finalName, std::uint64_t lastWrite)
    {
        pending_.KeepLastWriteTime(lastWrite);
        return pending_.Create(finalName);
    }
    ErrorCode Write(const void* data, std::int64_t size) override { return pending_.Write(data, size); }
    ErrorCode Flush() override { return pending_.Flush(); }
    ErrorCode ReadBack(StreamDigest& digest, std::int64_t& size) override
    {
        size = 0;
        return pending_.ReadBack([&](const std::uint8_t* data, std::int64_t got) {
            digest.Update(data, got);
            size += got;
        });
    }
    ErrorCode Commit(bool mayReplace) override { return pending_.Commit(mayReplace); }

private:
    win::PendingFile pending_;
};

class WindowsSystem : public extractor::System
{
public:
    const char* AskingPlace() const override { return "console"; }
    std::string OwnPath() override
    {
        std::string path;
        return win::ExecutablePath(path) == 0 ? path : std::string();
    }
    bool IsSeparator(char c) const override { return c == '\\' || c == '/' || c == ':'; }
    char Separator() const override { return '\\'; }

    ErrorCode OpenSelf() override
    {
        std::string path;
        if (const ErrorCode error = win::ExecutablePath(path))
            return error;
        if (const ErrorCode error = self_.OpenForReading(path))
            return error;
        // The program's own last-write time, which is its encrypted file's and so its plain file's.
        if (const ErrorCode error = self_.LastWriteTime(lastWrite_))
            return error;
        return self_.Size(size_);
    }
    extractor::PayloadStatus LocatePayload(std::int64_t& start, std::int64_t& size) override
    {
        SelfBytes bytes(self_);
        std::int64_t length = 0;
        const extractor::ImageStatus image = extractor::PeImageLength(bytes, size_, length);
        return extractor::PayloadBehind(image, length, size_, start, size);
    }
    ErrorCode ReadSelfAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) override
    {
        return self_.ReadAt(buffer, size, offset, got);
    }

    void CatchInterrupts() override { win::CatchInterrupts(); }
    int Interrupted() const override { return win::InterruptSignal(); }

    void Write(extractor::Stream stream, const std::string& text) override
    {
        win::WriteText(stream == extractor::Stream::Error, text);
    }
    ErrorCode ReadInputLine(SecretString& line) override { return win::ReadInputLine(line); }
    bool CanAsk() override
    {
        win::Console console;
        return console.Open() == 0;
    }
    ErrorCode ReadHidden(const std::string& prompt, SecretString& line) override
    {
        win::Console console;
        if (const ErrorCode error = console.Open())
            return error;
        return console.ReadHidden(prompt + ": ", line);
    }
    ErrorCode Ask(const std::string& question, bool& yes) override
    {
        win::Console console;
        if (const ErrorCode error = console.Open())
            return error;
        return console.Ask(question + " [y/N] ", yes);
    }

    bool Exists(const std::string& name) override { return win::Exists(name); }
    ErrorCode CreateFile(const std::string& finalName, std::unique_ptr<extractor::NewFile>& file) override
    {
        auto pending = std::make_unique<PendingPlainFile>();
        if (const ErrorCode error = pending->Create(finalName, lastWrite_))
            return error;
        file = std::move(pending);
        return 0;
    }
    std::string ErrorText(ErrorCode error) override { return win::ErrorText(error); }

    // A double click made the console for this program alone, and it closes when the program ends.
    void Ending() override
    {
        if (win::ConsoleClosing() || !win::OwnsConsole())
            return;
        win::Console console;
        if (console.Open() == 0)
            console.WaitForEnter("Press Enter to close this window.");
    }

private:
    win::FileHandle self_;
    std::int64_t size_ = 0;
    std::uint64_t lastWrite_ = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    GuardSecrets();
    // The flow takes its arguments in UTF-8, as on Linux.
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(win::Utf8(argv[i], std::wcslen(argv[i])));
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    WindowsSystem system;
    return extractor::Run(system, argc, pointers.data());
}
