// The program at the front of every self-extracting executable: finds the encrypted file behind its own
// bytes, asks for the password, and writes the plain file beside itself.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/selfimage.h"

#include "base/ascii.h"
#include "cipher/blowfish.h"
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
#include <cstring>
#include <string>

namespace {

using namespace tazen;
using platform::ErrorCode;

enum ExitCode
{
    kExitDone = 0,
    kExitWrongPassword = 1,
    kExitUsage = 2,
    kExitNoPayload = 3,
    kExitDamaged = 4,
    kExitNotReplaced = 5,
    kExitFailed = 6
};

// Messages begin with the name the program was started under, as a shell's do.
std::string programName = "extractor";

// Started by a double click with no terminal to be seen, the questions and the outcome go through this dialog
// program; with none, there is no one to ask.
platform::DialogProgram dialogs = platform::DialogProgram::None;

void say(const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", platform::Printable(programName).c_str(), platform::Printable(text).c_str());
}

int fail(int code, const std::string& text)
{
    say(text);
    platform::TellInDialog(dialogs, true, programName, text);
    return code;
}

int interrupted()
{
    say("interrupted; nothing was written");
    return 128 + platform::InterruptSignal();
}

// report.doc.TaZEN.exe -> report.doc, NAME.exe -> NAME, anything else -> itself + ".out"; letter case aside,
// since mail and download tools like to change it.
std::string plainNameOf(const std::string& executableName)
{
    std::string name;
    if (EndsWithIgnoringAsciiCase(executableName, ".tazen.exe"))
        name = executableName.substr(0, executableName.size() - 10);
    else if (EndsWithIgnoringAsciiCase(executableName, ".exe"))
        name = executableName.substr(0, executableName.size() - 4);
    return name.empty() ? executableName + ".out" : name;
}

// The file this process runs from; /proc/self/exe names it even when argv[0] does not.
std::string ownPath()
{
    std::string path;
    if (platform::ExecutablePath(path) != 0)
        return {};
    return path;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool readAt(int descriptor, std::uint8_t* buffer, std::int64_t size, std::int64_t offset, ErrorCode& error)
{
    std::int64_t got = 0;
    error = platform::ReadFully(descriptor, buffer, size, offset, got, platform::OnInterrupt::StopWhenCaught);
    return error == 0 && got == size;
}

// The encrypted file where it stands in this program's file: from offset to end.
class AttachedFile : public ByteSource
{
public:
    AttachedFile(int self, std::int64_t offset, std::int64_t end) : self_(self), offset_(offset), end_(end) {}
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override
    {
        got = std::min(size, end_ - offset_);
        ErrorCode error = 0;
        if (got > 0 && !readAt(self_, static_cast<std::uint8_t*>(buffer), got, offset_, error)) {
            got = 0;
            shortened_ = error == 0;
            return shortened_ ? ErrorCode(EIO) : error;
        }
        offset_ += got;
        return 0;
    }
    // A read failed because the file ended before end.
    bool Shortened() const { return shortened_; }

private:
    int self_;
    std::int64_t offset_;
    std::int64_t end_;
    bool shortened_ = false;
};

// Ctrl+C stops the decryption; each chunk written starts its way to the device.
class ExtractHooks : public PayloadHooks
{
public:
    explicit ExtractHooks(platform::File& output) : output_(output) {}
    bool CancelAsked() override { return platform::InterruptSignal() != 0; }
    void ChunkWritten(std::int64_t /*size*/) override { output_.StartWriteback(); }

private:
    platform::File& output_;
};

void printHelp()
{
    std::printf("Usage: %s [--output DIR] [--password-stdin]\n"
                "       %s --list\n"
                "Restores the file that TaZEN encrypted into this self-extracting program.\n"
                "\n"
                "Asks for the password on the terminal and writes the plain file beside this program,\n"
                "named after it: report.doc.TaZEN.exe gives report.doc, any other NAME.exe gives NAME,\n"
                "and a name without .exe gives that name plus .out (letter case does not matter in\n"
                "these endings). An existing file of that name is replaced only when you answer yes\n"
                "on the terminal; without a terminal it is left alone.\n"
                "\n"
                "  --output DIR       write the file into the folder DIR instead\n"
                "  --password-stdin   read the password from the first line of standard input\n"
                "  --list             show the size in bytes and the name of the file inside;\n"
                "                     no password is needed\n"
                "  --help             show this text\n"
                "  --version          show the version\n"
                "\n"
                "Exit status:\n"
                "  0    the file was written, or listed\n"
                "  1    wrong password\n"
                "  2    wrong usage, or no terminal to ask for the password on\n"
                "  3    nothing is attached: this is the bare extractor\n"
                "  4    the attached data is damaged: shorter than the 32-byte password check\n"
                "  5    a file of the output name exists and was not replaced\n"
                "  6    a read or a write failed (the reason is shown)\n"
                "  130  interrupted by Ctrl+C (128 + the signal's number); nothing is left behind\n"
                "\n"
                "The format checks the password against its first 32 bytes and nothing else: data\n"
                "damaged after them is not detected and is restored as it stands.\n",
                platform::Printable(programName).c_str(), platform::Printable(programName).c_str());
}

struct Options
{
    std::string outputFolder;
    bool passwordFromStdin = false;
    bool list = false;
};

// -1 when the program should go on, else its exit code.
int parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            printHelp();
            return kExitDone;
        }
        if (argument == "--version") {
            std::printf("TaZEN extractor %s\n", TAZEN_VERSION);
            return kExitDone;
        }
        if (argument == "--password-stdin") {
            options.passwordFromStdin = true;
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "--output" || argument.rfind("--output=", 0) == 0) {
            if (argument == "--output") {
                if (++i == argc)
                    return fail(kExitUsage, "--output needs a folder; see --help");
                options.outputFolder = argv[i];
            } else {
                options.outputFolder = argument.substr(9);
            }
            if (options.outputFolder.empty())
                return fail(kExitUsage, "--output needs a folder; see --help");
        } else {
            return fail(kExitUsage, "unexpected argument '" + argument + "'; see --help");
        }
    }
    return -1;
}

// Where the encrypted file starts within this program's file, and its length.
int locatePayload(const platform::File& self, const std::string& selfName, std::int64_t& start, std::int64_t& size)
{
    platform::FileState info;
    if (const ErrorCode error = self.State(info))
        return fail(kExitFailed, "cannot examine " + selfName + ": " + platform::ErrorText(error));
    switch (extractor::LocatePayload(self.Descriptor(), info.size, start, size)) {
    case extractor::PayloadStatus::Found:
        return -1;
    case extractor::PayloadStatus::NotElf:
        return fail(kExitDamaged, selfName + " is damaged: its program headers cannot be read");
    case extractor::PayloadStatus::Truncated:
        return fail(kExitDamaged, selfName + " is damaged: the file is shorter than its own program part");
    case extractor::PayloadStatus::Missing:
        return fail(kExitNoPayload, "no encrypted file is attached to " + selfName +
                                        ": this is the bare extractor, which TaZEN puts in front of an "
                                        "encrypted file to make a self-extracting executable");
    case extractor::PayloadStatus::TooShort:
        return fail(kExitDamaged, "the encrypted file attached to " + selfName + " is damaged or cut short: it has " +
                                      std::to_string(size) + " bytes, fewer than the " +
                                      std::to_string(kCheckBlockSize) + "-byte password check it must begin with");
    }
    return -1;
}

int readPassword(const Options& options, const std::string& plainName, SecretString& password)
{
    ErrorCode error = 0;
    if (options.passwordFromStdin) {
        error = platform::ReadLine(platform::kStandardInput, password);
        if (error == ENODATA)
            return fail(kExitUsage, "no password on standard input");
    } else if (dialogs != platform::DialogProgram::None) {
        error = platform::AskPasswordInDialog(dialogs, "Password for " + plainName, password);
        if (error == ECANCELED)
            return fail(kExitUsage, "no password was given; nothing was written");
    } else {
        platform::Terminal terminal;
        if (terminal.Open() != 0)
            return fail(kExitUsage, "no terminal to ask for the password on; give it on standard input with "
                                    "--password-stdin");
        error = terminal.ReadHidden("Password for " + platform::Printable(plainName) + ": ", password);
    }
    if (platform::InterruptSignal() != 0)
        return interrupted();
    if (error == EMSGSIZE)
        return fail(kExitUsage, "the password is longer than 64 KiB");
    if (error != 0)
        return fail(kExitFailed, "cannot read the password: " + platform::ErrorText(error));
    return -1;
}

// Without a terminal to ask on, an existing file of the output name stays, and nothing need be decrypted.
int mayWrite(const std::string& outputName)
{
    platform::FileState info;
    if (platform::LinkStateOf(outputName, info) != 0 || dialogs != platform::DialogProgram::None)
        return -1;
    platform::Terminal terminal;
    if (terminal.Open() != 0)
        return fail(kExitNotReplaced, outputName + " already exists and was not replaced (no terminal to ask on); "
                                                   "move it away or choose another folder with --output");
    return -1;
}

// A file of the output name, there from the start or come meanwhile, goes only when the user says so on the
// terminal.
int mayReplace(const std::string& outputName)
{
    if (dialogs != platform::DialogProgram::None) {
        bool yes = false;
        if (platform::AskInDialog(dialogs, programName, outputName + " already exists. Replace it?", yes) != 0 || !yes)
            return fail(kExitNotReplaced, outputName + " was not replaced");
        return -1;
    }
    platform::Terminal terminal;
    if (terminal.Open() != 0)
        return fail(kExitNotReplaced, outputName + " already exists and was not replaced (no terminal to ask on); "
                                                   "move it away or choose another folder with --output");
    bool yes = false;
    const ErrorCode error = terminal.Ask(platform::Printable(outputName) + " already exists. Replace? [y/N] ", yes);
    if (platform::InterruptSignal() != 0)
        return interrupted();
    if (error != 0 || !yes)
        return fail(kExitNotReplaced, outputName + " was not replaced");
    return -1;
}

int extract(AttachedFile& payload, const std::string& selfName, std::int64_t size, const std::string& outputName,
            TazenReader& reader, mode_t permissions)
{
    platform::PendingFile output;
    if (const ErrorCode error = platform::PendingFile::Create(outputName, output))
        return fail(kExitFailed, "cannot create " + outputName + ": " + platform::ErrorText(error) +
                                     "; --output DIR writes it elsewhere");
    output.Output().Preallocate(size - kCheckBlockSize);

    reader.KeyCipher();
    ExtractHooks hooks(output.Output());
    const StreamOutcome outcome = reader.Decrypt(payload, output.Output(), hooks);
    if (outcome.cancelled || (outcome.failure == StreamFailure::Read && platform::InterruptSignal() != 0))
        return interrupted();
    if (outcome.failure == StreamFailure::Read)
        return payload.Shortened()
                   ? fail(kExitDamaged, selfName + " became shorter while it was read")
                   : fail(kExitFailed, "cannot read " + selfName + ": " + platform::ErrorText(outcome.error));
    if (outcome.failure == StreamFailure::Write)
        return fail(kExitFailed, "cannot write " + outputName + ": " + platform::ErrorText(outcome.error));
    // Never onto a file that is there: the user is asked first.
    ErrorCode error = output.Commit(permissions, nullptr, false);
    if (error == EEXIST) {
        if (const int code = mayReplace(outputName); code >= 0)
            return code;
        error = output.Commit(permissions, nullptr, true);
    }
    if (error != 0)
        return fail(kExitFailed, "cannot write " + outputName + ": " + platform::ErrorText(error));
    return -1;
}

int run(int argc, char** argv)
{
    const std::string selfPath = ownPath();
    programName = baseName(selfPath.empty() ? std::string(argc > 0 ? argv[0] : "extractor") : selfPath);

    Options options;
    if (const int code = parseOptions(argc, argv, options); code >= 0)
        return code;
    // A double click: the terminal window this program is started again in, or the desktop's dialogs.
    if (!options.passwordFromStdin && !options.list) {
        const platform::DesktopStart desktop = platform::StartFromDesktop(selfPath, argc, argv);
        if (desktop.handedOff)
            return *desktop.handedOff;
        dialogs = desktop.dialogs;
    }
    // Without the handlers, Ctrl+C ends the run as it would any program.
    static_cast<void>(platform::CatchInterrupts());

    platform::File self;
    if (const ErrorCode error = platform::OpenExecutable(self))
        return fail(kExitFailed, "cannot open the program's own file: " + platform::ErrorText(error));

    std::int64_t start = 0;
    std::int64_t size = 0;
    if (const int code = locatePayload(self, programName, start, size); code >= 0)
        return code;
    const std::string plainName = plainNameOf(programName);
    if (options.list) {
        std::printf("%lld %s\n", static_cast<long long>(PayloadSize(size)), platform::Printable(plainName).c_str());
        return kExitDone;
    }

    Secret password;
    if (const int code = readPassword(options, plainName, password.value); code >= 0)
        return code;
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    TazenReader reader(cipher, key);
    AttachedFile payload(self.Descriptor(), start, start + size);
    if (const CheckOutcome head = reader.ReadCheckBlock(payload); !head.Matches()) {
        // The attached file holds the check block whole: it was measured before.
        if (head.result == CheckResult::WrongPassword)
            return fail(kExitWrongPassword, "wrong password for " + programName);
        return fail(kExitFailed, "cannot read " + programName + ": " +
                                     platform::ErrorText(payload.Shortened() ? ErrorCode(0) : head.error));
    }

    const std::string folder =
        options.outputFolder.empty() ? platform::FolderOf(selfPath.empty() ? "./x" : selfPath) : options.outputFolder;
    const std::string outputName = (folder.back() == '/' ? folder : folder + "/") + plainName;
    if (const int code = mayWrite(outputName); code >= 0)
        return code;

    platform::FileState info;
    // The executable's permissions without its run bits: what the encrypted file had.
    const mode_t permissions = self.State(info) == 0 ? (info.PermissionBits() & 0666) : 0600;
    if (const int code = extract(payload, programName, size, outputName, reader, permissions); code >= 0)
        return code;
    std::printf("%s: wrote %s (%lld bytes)\n", platform::Printable(programName).c_str(),
                platform::Printable(outputName).c_str(), static_cast<long long>(PayloadSize(size)));
    platform::TellInDialog(dialogs, false, programName,
                           "Wrote " + outputName + " (" + std::to_string(PayloadSize(size)) + " bytes).");
    return kExitDone;
}

} // namespace

int main(int argc, char** argv)
{
    // A password, a key or plain bytes are in memory for most of the program's life.
    // A refusal leaves the process as dumpable as the system made it; the secrets are still wiped.
    static_cast<void>(platform::NeverDump());
    GuardSecrets();
    return run(argc, argv);
}
