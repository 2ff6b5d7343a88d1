// tazen-cli: the encryption engine from a terminal. Encrypts, decrypts, checks passwords and shreds files.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/folders.h"
#include "cli/open.h"
#include "cli/options.h"
#include "cli/passphrase.h"
#include "cli/passwordstrength.h"
#include "cli/pipeline.h"
#include "cli/terminalfrontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/messages.h"
#include "engine/parallelrun.h"
#include "engine/settings.h"
#include "engine/shred.h"
#include "format/checksearch.h"
#include "format/fileformat.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/secretmemory.h"
#include "platform/secrets.h"
#include "platform/signals.h"
#include "platform/sysinfo.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tazen;
using platform::ErrorCode;

using cli::kExitDone;
using cli::kExitFailed;
using cli::kExitUsage;
using cli::Options;

int usageError(const std::string& text)
{
    std::fputs(cli::usageText(text).c_str(), stderr);
    return kExitUsage;
}

int interruptedCode()
{
    return 128 + platform::InterruptSignal();
}

// Warnings about a password file or line that is read all the same.
void warn(const std::string& text)
{
    std::fputs(("tazen-cli: " + platform::Printable(text) + "\n").c_str(), stderr);
}

// -1 when a password line was read, else the exit code. source names where it was read from, empty what
// to say when it held nothing.
int lineError(ErrorCode error, const std::string& source, const std::string& empty)
{
    if (platform::InterruptSignal() != 0)
        return interruptedCode();
    if (error == ENODATA)
        return usageError(empty);
    if (error == EMSGSIZE)
        return usageError("the first line of " + source + " is longer than 64 KiB, too long for a password");
    if (error != 0)
        return usageError("cannot read " + source + ": " + platform::ErrorText(error));
    return -1;
}

// The first line of a password file, without a byte-order mark an editor put before it.
int readPasswordFile(const std::string& name, Secret& password)
{
    platform::File file;
    if (const ErrorCode error = platform::OpenAsIs(name, platform::AsIs::Read, file))
        return lineError(error, "the password file " + name, {});
    platform::FileState info;
    if (file.State(info) == 0 && info.IsRegular() && info.OthersMayRead())
        warn("warning: other users may read the password file " + name + "; chmod 600 keeps it to you");
    const ErrorCode error = platform::ReadLine(file.Descriptor(), password.value);
    static_cast<void>(file.Close()); // only read
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (error == 0 && password.value.starts_with(kByteOrderMark))
        password.value.erase(0, kByteOrderMark.size());
    return lineError(error, "the password file " + name, "the password file " + name + " is empty");
}

int readPassword(const Options& options, Secret& password)
{
    const bool encrypting = options.verb == cli::Command::Encrypt;
    const auto refusedAsEmpty = [&] { return encrypting && !options.allowEmptyPassword && password.value.empty(); };
    const auto emptyRefusal = [] {
        std::fputs("tazen-cli: The password is empty.\nNothing was encrypted: anyone could decrypt the file. "
                   "--allow-empty-password allows it all the same.\n",
                   stderr);
        return kExitUsage;
    };
    if (!options.passwordFiles.empty() || options.passwordFromStdin || options.passwordDescriptor >= 0) {
        const std::string descriptor = "file descriptor " + std::to_string(options.passwordDescriptor);
        const int code = !options.passwordFiles.empty() ? readPasswordFile(options.passwordFiles[0], password)
                         : options.passwordFromStdin
                             ? lineError(platform::ReadLine(platform::kStandardInput, password.value),
                                         "the password from standard input", "no password on standard input")
                             : lineError(platform::ReadLine(options.passwordDescriptor, password.value),
                                         "the password from " + descriptor, "no password on " + descriptor);
        if (code >= 0)
            return code;
        if (refusedAsEmpty())
            return emptyRefusal();
        // Kept, as it always was; but a blank at the end is seldom meant.
        if (!password.value.empty() && (password.value.back() == ' ' || password.value.back() == '\t'))
            warn("note: the password ends in a blank or a tab, which is part of it");
        return -1;
    }

    platform::Terminal terminal;
    if (terminal.Open() != 0)
        return usageError("no terminal to ask for the password on; use --password-file or --password-stdin");
    ErrorCode error = terminal.ReadHidden("Enter password: ", password.value);
    if (error == 0 && refusedAsEmpty())
        return emptyRefusal();
    Secret confirmation;
    if (error == 0 && encrypting)
        error = terminal.ReadHidden("Confirm password: ", confirmation.value);
    if (platform::InterruptSignal() != 0)
        return interruptedCode();
    if (error == ENODATA) {
        std::fputs("tazen-cli: no password entered; nothing was done\n", stderr);
        return kExitFailed;
    }
    if (error != 0)
        return usageError("cannot read the password from the terminal: " + platform::ErrorText(error));
    if (encrypting && password.value != confirmation.value) {
        std::fputs("tazen-cli: Passwords do not match.\n", stderr);
        return kExitFailed;
    }
    return -1;
}

std::string joined(const std::vector<std::string>& files, std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        text += (i > from ? ", " : "") + files[i];
    return text;
}

// Which files a stopped command had done and which it never reached; the one it stopped at is named by
// the message before. A run that stops in its pre-check has done none; one over several files at a time
// tells which it did, else they are those before the one it stopped at, less those no password opened. A run
// that went through its list with files left out stopped nowhere: stoppedAt is the list's end.
void reportStop(cli::TerminalFrontend& frontend, const std::vector<std::string>& files, std::size_t stoppedAt,
                bool begun, const std::vector<bool>& doneInParallel, const std::vector<std::size_t>& skipped)
{
    if (files.size() < 2)
        return;
    std::string done;
    std::string rest;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i == stoppedAt)
            continue;
        const bool left = std::find(skipped.begin(), skipped.end(), i) != skipped.end();
        const bool wasDone = begun && !left && (doneInParallel.empty() ? i < stoppedAt : doneInParallel[i]);
        std::string& list = wasDone ? done : rest;
        list += (list.empty() ? "" : ", ") + files[i];
    }
    if (!done.empty())
        frontend.Say("done: " + done);
    if (!rest.empty())
        frontend.Say("not processed: " + rest);
}

// The engine's text for a file it cannot open keeps to the window's wording, which gives no reason; the
// outcome tells why.
std::string openFailureReason(const RunOutcome& outcome)
{
    if (outcome.error == EISDIR)
        return "it is a folder";
    if (outcome.error == EINVAL)
        return "it is not a regular file";
    if (outcome.writeProtected)
        return "it is write-protected: its owner has no write permission";
    if (outcome.error == ELOOP)
        return "a symbolic link on its way was made by another user who may change the folder that holds it, "
               "so it is not followed";
    return outcome.error != 0 ? platform::ErrorText(outcome.error) : std::string();
}

// Why a new file could not be made where the engine's text, which gives no reason, says it could not.
std::string createFailureReason(const RunOutcome& outcome)
{
    if (outcome.error == EACCES && outcome.writeProtected)
        return "it exists and is write-protected: its owner has no write permission";
    if (outcome.error == EISDIR)
        return "it is a folder";
    return outcome.error != 0 ? platform::ErrorText(outcome.error) : std::string();
}

std::string failureReason(const RunOutcome& outcome)
{
    switch (outcome.failure) {
    case Failure::CannotOpen:
        return openFailureReason(outcome);
    case Failure::CannotCreate:
        return createFailureReason(outcome);
    default:
        return {};
    }
}

// passwords: the second and later --password-file of a decryption, tried after the first on each file.
int runEngine(const Options& options, Secret& password, std::deque<Secret>& passwords, cli::TerminalFrontend& frontend)
{
    const Direction direction = options.verb == cli::Command::Encrypt ? Direction::Encrypt : Direction::Decrypt;
    TBlowfish cipher;
    const int jobs = options.jobs > 0 ? options.jobs : platform::UsableProcessors();
    std::vector<bool> done;
    // Either way the passwords are wiped once the run's keys are made from them.
    RunKeys keys;
    if (direction == Direction::Decrypt) {
        keys.Add(cipher, password);
        for (Secret& another : passwords)
            keys.Add(cipher, another);
    }
    const RunOutcome outcome = direction == Direction::Decrypt
                                   ? (jobs > 1 && options.files.size() > 1
                                          ? RunInParallel(direction, cipher, options.files, keys, frontend, jobs, done)
                                          : RunFiles(direction, cipher, options.files, keys, frontend))
                               : jobs > 1 && options.files.size() > 1
                                   ? RunInParallel(direction, cipher, options.files, password, frontend, jobs, done)
                                   : EncryptFiles(cipher, options.files, password, frontend);
    const bool begun = frontend.RunBegun();
    if (outcome.Completed()) {
        if (platform::InterruptSignal() != 0)
            return interruptedCode();
        if (!outcome.skipped.empty()) {
            reportStop(frontend, options.files, options.files.size(), begun,
                       done.empty() ? std::vector<bool>(options.files.size(), true) : done, outcome.skipped);
            return kExitFailed;
        }
        return frontend.MessagesShown() > 0 || !frontend.NotReplaced().empty() ? kExitFailed : kExitDone;
    }

    // The message names the first entry equal to the stopping file with letter case disregarded; the
    // outcome tells the position itself.
    const std::size_t stoppedAt = outcome.index;
    const std::string message = MessageText(outcome);
    if (platform::InterruptSignal() != 0) {
        frontend.Say(message + " at " + options.files[stoppedAt] +
                     ": its unfinished output was removed and the file is unchanged");
        reportStop(frontend, options.files, stoppedAt, begun, done, outcome.skipped);
        return interruptedCode();
    }
    frontend.Say(message);
    if (const std::string reason = failureReason(outcome); !reason.empty())
        frontend.Say(outcome.file + ": " + reason);
    reportStop(frontend, options.files, stoppedAt, begun, done, outcome.skipped);
    return kExitFailed;
}

int checkFiles(const Options& options, Secret& password, cli::TerminalFrontend& frontend)
{
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    // Ctrl+C ends a search through a large executable too.
    class Interrupt : public SearchHooks
    {
    public:
        bool CancelAsked() override { return platform::InterruptSignal() != 0; }
    } interrupt;
    int code = kExitDone;
    for (const std::string& name : options.files) {
        if (platform::InterruptSignal() != 0)
            return interruptedCode();
        platform::File file;
        PayloadSource payload(file, name);
        LocateOutcome head{LocateResult::ReadFailed, platform::OpenForReading(name, file)};
        if (head.error == 0)
            head = payload.Locate(key.Check(), interrupt);
        if (head.result == LocateResult::Cancelled)
            return interruptedCode();
        if (const ErrorCode error = head.error; head.result == LocateResult::ReadFailed) {
            // The file layer refuses anything but a regular file before reading it.
            const std::string reason = error == EISDIR   ? "it is a folder"
                                       : error == EINVAL ? "it is not a regular file"
                                                         : platform::ErrorText(error);
            frontend.Say("cannot read " + name + ": " + reason);
            code = kExitFailed;
        } else if (head.result == LocateResult::TooShort) {
            frontend.Say("The file is too short to be a TaZEN encrypted file: " + name);
            code = kExitFailed;
        } else if (head.result == LocateResult::WrongPassword) {
            frontend.Say("Wrong password for the file: " + name);
            code = kExitFailed;
        } else {
            std::printf("%s: the password matches\n", platform::Printable(name).c_str());
        }
    }
    return code;
}

const std::string kOtherLinksRefusal = ": other names (hard links) lead to its data, which shredding would destroy";

// Why a name cannot be shredded, before the engine's own, reasonless message would say so.
std::string unshreddable(const std::string& name)
{
    platform::FileState info;
    if (const ErrorCode error = platform::LinkStateOf(name, info))
        return "cannot shred " + name + ": " + platform::ErrorText(error);
    if (info.IsLink())
        return "cannot shred " + name + ": it is a symbolic link; name the file it points to";
    if (!info.IsRegular())
        return "cannot shred " + name + ": it is not a regular file";
    if (info.links > 1)
        return "cannot shred " + name + kOtherLinksRefusal;
    return {};
}

// Goes on past a file that fails, as rm and shred do; each failure is reported.
int shredFiles(const Options& options, cli::TerminalFrontend& frontend)
{
    int code = kExitDone;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& name = options.files[i];
        if (const std::string reason = unshreddable(name); !reason.empty()) {
            frontend.Say(reason);
            code = kExitFailed;
            continue;
        }
        frontend.BeginFile(i);
        const ShredOutcome report = ShredFile(name, frontend);
        const bool overwritten = report.overwritten;
        if (platform::InterruptSignal() != 0) {
            if (report.cancelled && report.deleted)
                frontend.Say("Shredding canceled at " + name + "; it was deleted after the passes done so far");
            else if (report.cancelled)
                frontend.Say("Shredding canceled at " + name +
                             "; it was overwritten by the passes done so far, but could not be deleted");
            if (i + 1 < options.files.size())
                frontend.Say("not processed: " + joined(options.files, i + 1, options.files.size()));
            return interruptedCode();
        }
        if (report.otherLinks)
            frontend.Say("cannot shred " + name + kOtherLinksRefusal);
        if (overwritten && !report.deleted)
            frontend.Say(name + " was overwritten but could not be deleted");
        else if (overwritten && report.copyOnWrite)
            frontend.Say(name + " was overwritten and deleted, but not thoroughly shredded.\n\r" +
                         Text(kCopyOnWriteReason));
        if (!overwritten || !report.deleted || report.copyOnWrite)
            code = kExitFailed;
    }
    return code;
}

// A settings file that is there but cannot be read would have the engine fall back to deleting sources.
// -1 when encryption may go on, else the exit code.
int checkSettingsFile(const Options& options)
{
    if (options.verb != cli::Command::Encrypt || options.source || options.pipeline)
        return -1;
    const std::string path = SettingsFilePath();
    platform::FileState info;
    std::string reason;
    if (const ErrorCode error = platform::StateOf(path, info)) {
        if (error == ENOENT)
            return -1;
        reason = platform::ErrorText(error);
    } else if (info.IsFolder()) {
        reason = "it is a folder";
    } else if (!info.IsRegular()) {
        reason = "it is not a regular file";
    } else if (platform::File file;
               const ErrorCode error = platform::OpenAsIs(path, platform::AsIs::ReadNoWait, file)) {
        reason = platform::ErrorText(error);
    } else {
        return -1;
    }
    std::fputs(("tazen-cli: cannot read the settings file " + platform::Printable(path) + ": " + reason +
                "\ntazen-cli: nothing was done; --source keep|delete|shred chooses what happens to the sources "
                "without it\n")
                   .c_str(),
               stderr);
    return kExitUsage;
}

// -o's folder must take new files before anything is touched.
int checkOutputFolder(const Options& options)
{
    if (options.outputFolder.empty())
        return -1;
    const ErrorCode error = platform::MayCreateIn(options.outputFolder);
    if (error == 0)
        return -1;
    const std::string reason = error == ENOTDIR ? "it is not a folder" : platform::ErrorText(error);
    std::fputs(("tazen-cli: cannot write into the output folder " + platform::Printable(options.outputFolder) + ": " +
                reason + "\ntazen-cli: nothing was done\n")
                   .c_str(),
               stderr);
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    // A password or key is in memory for most of the program's life.
    // A refusal leaves the process as dumpable as the system made it; the secrets are still wiped.
    static_cast<void>(platform::NeverDump());
    GuardSecrets();
    Options options;
    const cli::ParseResult parsed = cli::parseOptions(argc, argv, options);
    if (!parsed.run) {
        std::fputs(parsed.out.c_str(), stdout);
        std::fputs(parsed.err.c_str(), stderr);
        return parsed.exitCode;
    }
    if (options.verb == cli::Command::Passphrase)
        return cli::RunPassphrase(options.words);
    // A progress reader that goes away must not end the work half-way.
    static_cast<void>(platform::IgnoreBrokenPipe()); // the system takes SIG_IGN for SIGPIPE always
    // Without the handlers, Ctrl+C ends the run as it would any program.
    static_cast<void>(platform::CatchInterrupts());

    if (options.verb == cli::Command::Open) {
        Secret password;
        // Listing or discarding what was left behind takes no password.
        if (!options.leftBehind || options.saveBack)
            if (const int code = readPassword(options, password); code >= 0)
                return code;
        return cli::RunOpen(options, password);
    }
    if (const int code = checkSettingsFile(options); code >= 0)
        return code;
    if (const int code = checkOutputFolder(options); code >= 0)
        return code;
    // With -, standard input is the one file: no folder stands in for it.
    if (!options.pipeline)
        if (const int code = cli::ExpandFolders(options); code >= 0)
            return code;
    if (const int code = cli::RefuseOutputIntoInput(options); code >= 0)
        return code;
    Secret password;
    if (options.verb != cli::Command::Shred)
        if (const int code = readPassword(options, password); code >= 0)
            return code;
    // Only decrypt takes more than one.
    std::deque<Secret> passwords;
    for (std::size_t i = 1; i < options.passwordFiles.size(); ++i)
        if (const int code = readPasswordFile(options.passwordFiles[i], passwords.emplace_back()); code >= 0)
            return code;
    if (options.verb == cli::Command::Encrypt)
        if (const int code = cli::CheckPasswordStrength(password.value.c_str(), options.minStrength, options.quiet);
            code >= 0)
            return code;
    if (options.pipeline)
        return cli::RunPipeline(options, password);

    cli::DisplayOptions display;
    display.progressLine = !options.quiet && platform::IsTerminal(platform::kStandardError);
    display.progressDescriptor = options.progressDescriptor;
    cli::TerminalFrontend frontend(options.files, display);
    frontend.settings.selfExtract = options.selfExtract;
    frontend.settings.recipientSystem = options.recipientSystem;
    if (options.source)
        frontend.settings.sourceFiles = SourceFilesOf(*options.source);
    frontend.settings.verify = !options.noVerify;
    frontend.decryptionThreads = options.jobs;
    frontend.force = options.force;
    frontend.keepGoing = options.keepGoing;
    frontend.settings.keepEncrypted = options.keep;
    frontend.settings.destinations = options.destinations;
    frontend.settings.outputFolder = options.outputFolder;
    while (frontend.settings.outputFolder.size() > 1 && frontend.settings.outputFolder.back() == '/')
        frontend.settings.outputFolder.pop_back();

    if (options.verb == cli::Command::Check)
        return checkFiles(options, password, frontend);
    if (options.verb == cli::Command::Shred)
        return shredFiles(options, frontend);
    return runEngine(options, password, passwords, frontend);
}
