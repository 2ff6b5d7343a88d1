// The program at the front of every self-extracting executable: finds the encrypted file behind its own
// bytes, asks for the password, and writes the plain file beside itself. The system it does that on is
// behind extractor::System.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/flow.h"

#include "base/ascii.h"
#include "cipher/blowfish.h"
#include "format/digest.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/printable.h"

#include <algorithm>
#include <cerrno>
#include <string>

namespace tazen::extractor {

std::string plainNameOf(const std::string& executableName)
{
    std::string name;
    if (EndsWithIgnoringAsciiCase(executableName, ".tazen.exe"))
        name = executableName.substr(0, executableName.size() - 10);
    else if (EndsWithIgnoringAsciiCase(executableName, ".exe"))
        name = executableName.substr(0, executableName.size() - 4);
    return name.empty() ? executableName + ".out" : name;
}

namespace {

using platform::Printable;

// The encrypted file where it stands in the program's own file: from offset to end.
class AttachedFile : public ByteSource
{
public:
    AttachedFile(System& system, std::int64_t offset, std::int64_t end) : system_(system), offset_(offset), end_(end) {}
    ErrorCode Read(void* buffer, std::int64_t size, std::int64_t& got) override
    {
        got = std::min(size, end_ - offset_);
        std::int64_t read = 0;
        const ErrorCode error = got <= 0 ? ErrorCode(0) : system_.ReadSelfAt(buffer, got, offset_, read);
        if (error != 0 || read != got) {
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
    System& system_;
    std::int64_t offset_;
    std::int64_t end_;
    bool shortened_ = false;
};

struct Options
{
    std::string outputFolder;
    bool passwordFromStdin = false;
    bool list = false;
};

class Flow
{
public:
    Flow(System& system, int argc, char** argv) : system_(system), argc_(argc), argv_(argv) {}
    int Run();

private:
    // Messages begin with the name the program was started under, as a shell's do.
    void say(const std::string& text)
    {
        system_.Write(Stream::Error, Printable(name_) + ": " + Printable(text) + "\n");
    }
    int fail(int code, const std::string& text)
    {
        say(text);
        system_.Tell(true, name_, text);
        return code;
    }
    int interrupted()
    {
        say("interrupted; nothing was written");
        return 128 + system_.Interrupted();
    }
    std::string baseName(const std::string& path) const;
    std::string folderOf(const std::string& path) const;
    void printHelp();
    int parseOptions();
    int locatePayload(std::int64_t& start, std::int64_t& size);
    int readPassword(SecretString& password);
    int mayWrite(const std::string& outputName);
    int mayReplace(const std::string& outputName);
    int prove(NewFile& output, const StreamDigest& plain, std::int64_t plainBytes, const std::string& outputName);
    int extract(AttachedFile& payload, const std::string& outputName, TazenReader& reader);

    System& system_;
    int argc_;
    char** argv_;
    std::string name_ = "extractor";
    Options options_;
};

std::string Flow::baseName(const std::string& path) const
{
    for (std::size_t at = path.size(); at > 0; --at)
        if (system_.IsSeparator(path[at - 1]))
            return path.substr(at);
    return path;
}

std::string Flow::folderOf(const std::string& path) const
{
    for (std::size_t at = path.size(); at > 0; --at)
        if (system_.IsSeparator(path[at - 1]))
            return path.substr(0, at);
    return std::string(".") + system_.Separator();
}

void Flow::printHelp()
{
    const std::string name = Printable(name_);
    const std::string place = system_.AskingPlace();
    system_.Write(Stream::Output,
                  "Usage: " + name + " [--output DIR] [--password-stdin]\n       " + name +
                      " --list\n"
                      "Restores the file that TaZEN encrypted into this self-extracting program.\n"
                      "\n"
                      "Asks for the password on the " +
                      place +
                      " and writes the plain file beside this program,\n"
                      "named after it: report.doc.TaZEN.exe gives report.doc, any other NAME.exe gives NAME,\n"
                      "and a name without .exe gives that name plus .out (letter case does not matter in\n"
                      "these endings). An existing file of that name is replaced only when you answer yes\n"
                      "on the " +
                      place + "; without a " + place +
                      " it is left alone.\n"
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
                      "  2    wrong usage, or no " +
                      place +
                      " to ask for the password on\n"
                      "  3    nothing is attached: this is the bare extractor\n"
                      "  4    the attached data is damaged: shorter than the 32-byte password check\n"
                      "  5    a file of the output name exists and was not replaced\n"
                      "  6    a read or a write failed (the reason is shown)\n"
                      "  130  interrupted by Ctrl+C (128 + the signal's number); nothing is left behind\n"
                      "\n"
                      "The format checks the password against its first 32 bytes and nothing else: data\n"
                      "damaged after them is not detected and is restored as it stands.\n");
}

// -1 when the program should go on, else its exit code.
int Flow::parseOptions()
{
    for (int i = 1; i < argc_; ++i) {
        const std::string argument = argv_[i];
        if (argument == "--help" || argument == "-h") {
            printHelp();
            return kExitDone;
        }
        if (argument == "--version") {
            system_.Write(Stream::Output, std::string("TaZEN extractor ") + TAZEN_VERSION + "\n");
            return kExitDone;
        }
        if (argument == "--password-stdin") {
            options_.passwordFromStdin = true;
        } else if (argument == "--list") {
            options_.list = true;
        } else if (argument == "--output" || argument.rfind("--output=", 0) == 0) {
            if (argument == "--output") {
                if (++i == argc_)
                    return fail(kExitUsage, "--output needs a folder; see --help");
                options_.outputFolder = argv_[i];
            } else {
                options_.outputFolder = argument.substr(9);
            }
            if (options_.outputFolder.empty())
                return fail(kExitUsage, "--output needs a folder; see --help");
        } else {
            return fail(kExitUsage, "unexpected argument '" + argument + "'; see --help");
        }
    }
    return -1;
}

// Where the encrypted file starts within this program's file, and its length.
int Flow::locatePayload(std::int64_t& start, std::int64_t& size)
{
    switch (system_.LocatePayload(start, size)) {
    case PayloadStatus::Found:
        return -1;
    case PayloadStatus::NotImage:
        return fail(kExitDamaged, name_ + " is damaged: its program headers cannot be read");
    case PayloadStatus::Truncated:
        return fail(kExitDamaged, name_ + " is damaged: the file is shorter than its own program part");
    case PayloadStatus::Missing:
        return fail(kExitNoPayload, "no encrypted file is attached to " + name_ +
                                        ": this is the bare extractor, which TaZEN puts in front of an "
                                        "encrypted file to make a self-extracting executable");
    case PayloadStatus::TooShort:
        return fail(kExitDamaged, "the encrypted file attached to " + name_ + " is damaged or cut short: it has " +
                                      std::to_string(size) + " bytes, fewer than the " +
                                      std::to_string(kCheckBlockSize) + "-byte password check it must begin with");
    }
    return -1;
}

int Flow::readPassword(SecretString& password)
{
    ErrorCode error = 0;
    if (options_.passwordFromStdin) {
        error = system_.ReadInputLine(password);
        if (error == ENODATA)
            return fail(kExitUsage, "no password on standard input");
    } else {
        if (!system_.CanAsk())
            return fail(kExitUsage, std::string("no ") + system_.AskingPlace() +
                                        " to ask for the password on; give it on standard input with "
                                        "--password-stdin");
        error = system_.ReadHidden("Password for " + Printable(plainNameOf(name_)), password);
    }
    if (system_.Interrupted() != 0)
        return interrupted();
    if (error == EMSGSIZE)
        return fail(kExitUsage, "the password is longer than 64 KiB");
    if (error == ECANCELED)
        return fail(kExitUsage, "no password was given; nothing was written");
    if (error != 0)
        return fail(kExitFailed, "cannot read the password: " + system_.ErrorText(error));
    return -1;
}

// Without a terminal to ask on, an existing file of the output name stays, and nothing need be decrypted.
int Flow::mayWrite(const std::string& outputName)
{
    if (!system_.Exists(outputName) || system_.CanAsk())
        return -1;
    return fail(kExitNotReplaced, outputName + " already exists and was not replaced (no " + system_.AskingPlace() +
                                      " to ask on); move it away or choose another folder with --output");
}

// A file of the output name, there from the start or come meanwhile, goes only when the user says so on the
// terminal.
int Flow::mayReplace(const std::string& outputName)
{
    if (!system_.CanAsk())
        return fail(kExitNotReplaced, outputName + " already exists and was not replaced (no " + system_.AskingPlace() +
                                          " to ask on); move it away or choose another folder with --output");
    bool yes = false;
    const ErrorCode error = system_.Ask(Printable(outputName) + " already exists. Replace?", yes);
    if (system_.Interrupted() != 0)
        return interrupted();
    if (error != 0 || !yes)
        return fail(kExitNotReplaced, outputName + " was not replaced");
    return -1;
}

// Before it replaces a file, the new one must give back from the device the very bytes decrypted into it.
int Flow::prove(NewFile& output, const StreamDigest& plain, std::int64_t plainBytes, const std::string& outputName)
{
    StreamDigest readBack;
    std::int64_t size = 0;
    const ErrorCode error = output.ReadBack(readBack, size);
    if (error == 0 && size == plainBytes && readBack.Final() == plain.Final())
        return -1;
    const std::string reason = error != 0 ? system_.ErrorText(error) : "it did not read back as it was written";
    return fail(kExitFailed, "could not verify the new " + outputName + " (" + reason +
                                 "); it was removed and the existing file kept");
}

// Ctrl+C stops the decryption; each chunk written starts its way to the device; the plain bytes are digested
// for the proof before a replacement.
class ExtractHooks : public PayloadHooks
{
public:
    ExtractHooks(System& system, NewFile& output) : system_(system), output_(output) {}
    bool CancelAsked() override { return system_.Interrupted() != 0; }
    void PlainChunk(const std::uint8_t* data, std::int64_t size) override
    {
        digest.Update(data, size);
        bytes += size;
    }
    void ChunkWritten(std::int64_t /*size*/) override { output_.ChunkWritten(); }

    StreamDigest digest;
    std::int64_t bytes = 0;

private:
    System& system_;
    NewFile& output_;
};

int Flow::extract(AttachedFile& payload, const std::string& outputName, TazenReader& reader)
{
    std::unique_ptr<NewFile> output;
    if (const ErrorCode error = system_.CreateFile(outputName, output))
        return fail(kExitFailed, "cannot create " + outputName + ": " + system_.ErrorText(error) +
                                     "; --output DIR writes it elsewhere");

    reader.KeyCipher();
    ExtractHooks hooks(system_, *output);
    const StreamOutcome outcome = reader.Decrypt(payload, *output, hooks);
    if (outcome.cancelled || (outcome.failure == StreamFailure::Read && system_.Interrupted() != 0))
        return interrupted();
    if (outcome.failure == StreamFailure::Read)
        return payload.Shortened()
                   ? fail(kExitDamaged, name_ + " became shorter while it was read")
                   : fail(kExitFailed, "cannot read " + name_ + ": " + system_.ErrorText(outcome.error));
    if (outcome.failure == StreamFailure::Write)
        return fail(kExitFailed, "cannot write " + outputName + ": " + system_.ErrorText(outcome.error));
    ErrorCode error = output->Flush();
    if (system_.Interrupted() != 0)
        return interrupted();
    // Never onto a file that is there: the user is asked first, and the new file proven.
    if (error == 0)
        error = output->Commit(false);
    if (error == EEXIST) {
        if (const int code = mayReplace(outputName); code >= 0)
            return code;
        if (const int code = prove(*output, hooks.digest, hooks.bytes, outputName); code >= 0)
            return code;
        error = output->Commit(true);
    }
    if (error != 0)
        return fail(kExitFailed, "cannot write " + outputName + ": " + system_.ErrorText(error));
    return -1;
}

int Flow::Run()
{
    const std::string selfPath = system_.OwnPath();
    name_ = baseName(selfPath.empty() ? std::string(argc_ > 0 ? argv_[0] : "extractor") : selfPath);

    if (const int code = parseOptions(); code >= 0)
        return code;
    if (!options_.passwordFromStdin && !options_.list)
        if (const std::optional<int> code = system_.HandOff(selfPath, argc_, argv_))
            return *code;
    // Without the handlers, Ctrl+C ends the run as it would any program.
    system_.CatchInterrupts();

    if (const ErrorCode error = system_.OpenSelf())
        return fail(kExitFailed, "cannot open the program's own file: " + system_.ErrorText(error));

    std::int64_t start = 0;
    std::int64_t size = 0;
    if (const int code = locatePayload(start, size); code >= 0)
        return code;
    const std::string plainName = plainNameOf(name_);
    if (options_.list) {
        system_.Write(Stream::Output, std::to_string(PayloadSize(size)) + " " + Printable(plainName) + "\n");
        return kExitDone;
    }

    Secret password;
    if (const int code = readPassword(password.value); code >= 0)
        return code;
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    TazenReader reader(cipher, key);
    AttachedFile payload(system_, start, start + size);
    if (const CheckOutcome head = reader.ReadCheckBlock(payload); !head.Matches()) {
        // The attached file holds the check block whole: it was measured before.
        if (head.result == CheckResult::WrongPassword)
            return fail(kExitWrongPassword, "wrong password for " + name_);
        return fail(kExitFailed,
                    "cannot read " + name_ + ": " + system_.ErrorText(payload.Shortened() ? ErrorCode(0) : head.error));
    }

    std::string folder =
        options_.outputFolder.empty() ? folderOf(selfPath.empty() ? "x" : selfPath) : options_.outputFolder;
    if (!system_.IsSeparator(folder.back()))
        folder += system_.Separator();
    const std::string outputName = folder + plainName;
    if (const int code = mayWrite(outputName); code >= 0)
        return code;

    if (const int code = extract(payload, outputName, reader); code >= 0)
        return code;
    system_.Write(Stream::Output, Printable(name_) + ": wrote " + Printable(outputName) + " (" +
                                      std::to_string(PayloadSize(size)) + " bytes)\n");
    system_.Tell(false, name_, "Wrote " + outputName + " (" + std::to_string(PayloadSize(size)) + " bytes).");
    return kExitDone;
}

} // namespace

int Run(System& system, int argc, char** argv)
{
    const int code = Flow(system, argc, argv).Run();
    system.Ending();
    return code;
}

} // namespace tazen::extractor
