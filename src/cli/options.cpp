// tazen-cli's command line: which command, which files, which options; texts as the tool prints them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include "format/fileformat.h"
#include "platform/folders.h"
#include "platform/terminal.h"

#include <getopt.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace tazen::cli {

namespace {

const char* const kHelp =
    R"(Usage: tazen-cli encrypt [--source keep|delete|shred]
                         [--self-extracting[=windows|linux] | --no-self-extracting]
                         [--force] [-r] [--no-verify] [-j N] [-o DIR] [OPTION]... FILE|FOLDER...
       tazen-cli decrypt [--force] [-r] [--no-verify] [-j N] [-o DIR] [-k] [--keep-going]
                         [--password-file F]... [OPTION]... FILE.TaZEN|FILE.TaZEN.exe|FOLDER...
       tazen-cli check [OPTION]... FILE...
       tazen-cli encrypt|decrypt|check --password-file F|--password-fd N -
       tazen-cli shred [--quiet] [--progress-fd N] FILE...
       tazen-cli passphrase [WORDS]
       tazen-cli open [--with COMMAND] [--allow-disk] [--password-file F] FILE.TaZEN
       tazen-cli open --left-behind [--save-back | --discard] [--password-file F]
Encrypts files into .TaZEN files beside them, and back, as the TaZEN window does.

Commands:
  encrypt   write FILE.TaZEN for each FILE, then keep, delete or shred FILE
  decrypt   write FILE for each FILE.TaZEN, then delete FILE.TaZEN (unless --keep); a
            self-extracting FILE.TaZEN.exe, made here or on Windows, is opened
            without being run (a wrong password is known after one pass over it)
  check     tell whether the password opens each file; nothing is written
  shred     overwrite each file 35 times (Gutmann's passes), then delete it
  passphrase [WORDS]
            print a passphrase of WORDS (6) words drawn at random from the
            EFF's long word list: about 12.9 bits a word, 77 bits for six
  open      decrypt FILE.TaZEN (or .TaZEN.exe) into a private folder in memory,
            open the copy with the desktop's application for it (xdg-open),
            and encrypt it back into FILE.TaZEN each time the application
            saves it, until Enter is pressed; then the copy is overwritten and
            removed. FILE.TaZEN is replaced only by a new file proven on the
            disk, and is left as it is when the copy never changes

The file name - alone makes encrypt and decrypt a filter: they read standard input
and write the .TaZEN bytes (or the plain ones) to standard output, which must not
be a terminal; check - reads the first 32 bytes of standard input. The password
then comes from --password-file or --password-fd. A consumer of the output must
check the exit status: after a broken pipe or a failed write the output ends
early, and the status is 1.

Options:
  --source keep|delete|shred  what encrypt does with each source once its .TaZEN
                              file is safely on disk
  --self-extracting[=windows|linux]
                              also make FILE.TaZEN.exe, a program that restores
                              FILE when run on Windows or on Linux; it replaces
                              FILE.TaZEN. Bare, the system the settings file
                              names (RecipientSystem), else Windows
  --no-self-extracting        make no such program
  -o DIR, --output-dir DIR    write the new files into folder DIR instead of beside
                              their sources; with -r, a file found below a FOLDER
                              goes below DIR/NAME, NAME being that folder's own
                              name, as cp -r copies a folder (the sub-folders are
                              made as needed). A DIR that is missing or cannot be
                              written to stops the command before any file is
                              touched
  -k, --keep                  decrypt keeps each FILE.TaZEN (or .TaZEN.exe) it
                              decrypted
  --keep-going                decrypt leaves a file that no password opens as it
                              is ("Wrong password: NAME") and goes on with the
                              next; the exit status is then 1
  -r, --recursive             a FOLDER stands for the files of its sub-folders
                              too, not only its own
  --no-verify                 delete, shred or replace a file without first reading
                              the file written in its stead back from the disk to
                              prove it (the proof is on by default)
  -j N, --jobs N              work on N files at a time, and decrypt a single
                              file on N threads (default: one for each processor);
                              the results and messages are those of -j 1, in the
                              order of the list: a finished file waits, under its
                              temporary name, for the files before it
  --force                     replace existing files of the names encrypt and
                              decrypt write without asking
  --password-file F           read the password from the first line of file F;
                              decrypt takes several and tries each, in the order
                              given, on each file
  --password-stdin            read the password from the first line of standard input
  --password-fd N             read the password from the first line of file
                              descriptor N
  --allow-empty-password      let encrypt use an empty password, which anyone can
                              decrypt; without it an empty password is refused
  --min-strength N             let encrypt refuse (exit status 2) a password whose
                              strength estimate is below step N: 0 very weak,
                              1 weak, 2 fair, 3 good, 4 strong
  --with COMMAND              open: open the copy with COMMAND (split at blanks,
                              no shell; the copy's name comes last) and end
                              when COMMAND ends, instead of waiting for Enter
  --allow-disk                open: put the copy in the runtime folder even when
                              it is on a disk, not in memory (refused without it)
  --left-behind               open: list the copies a crash or power cut left
                              behind, with the encrypted file each belongs to
  --save-back                 with --left-behind: encrypt each copy back into its
                              encrypted file (the password must open that file),
                              then remove it
  --discard                   with --left-behind: overwrite and remove each copy
  -q, --quiet                 show no progress line, and no strength estimate
  --progress-fd N             write progress to file descriptor N: a line "# TEXT"
                              when a file begins, and the overall percentage on a
                              line of its own when it changes (zenity --progress
                              reads this form)
  -h, --help                  show this text
  --version                   show the version

Short options combine: -qr is -q -r, -rj2 is -r -j 2. A long option may be
shortened to any beginning that names it alone (--rec for --recursive).

Without a password option the password is asked for on the terminal, without
echo; encrypt asks twice. When no password opens a file that decrypt is given,
it asks on the terminal "Wrong password for NAME. Another password (empty to
skip):"; a password that opens it is tried on the later files too, and an empty
one leaves the file as it is. Without a terminal (and without --keep-going)
decrypt stops at that file. It is never taken from the command line, where other
users could read it. A password is one line of at most 64 KiB; a byte-order
mark at the start of a password file is not part of it, blanks at its end are.

A FOLDER stands for its files, found as the TaZEN window's /e and /d find them:
every regular file of it for encrypt, its .TaZEN files (that exact extension)
and .TaZEN.exe files for decrypt, each folder's in name order. With -r its sub-folders are walked
too, except hidden or write-protected ones, links to folders, and the kernel's
own file systems; the line that says how many files a FOLDER gave says how
many sub-folders were left out and why. Unless --quiet, that line is said
before the password is asked for; a FOLDER that gives none is named, and when
no file is left to work on, nothing is done (exit status 1).

The key of a .TaZEN file is an unsalted SHA-1 of the password, and a guess also
costs a whole Blowfish key schedule, so one current graphics card tests about
12 million passwords a second. encrypt says how long that card would take to
guess the password (zxcvbn's estimate, which knows the passphrase words) when
it is below strong, for example "Weak: guessed in about 4 months by one current
graphics card." Whatever the time shown, common and dictionary passwords fall
at once: with no salt, one precomputed table of them serves against every
TaZEN file.

Without --source and --self-extracting, the settings file TaZEN.ini beside this
program decides, as it does for the TaZEN window ([Files] SourceFiles: 0 keep,
1 delete, 2 shred; MakeSelfExtracting: 0 or 1; RecipientSystem: Windows or
Linux). Without that file the source is kept and no executable is made. The
executable is the extractor-windows.exe (a Windows console program) or the
extractor (a Linux program) beside this program, followed by FILE.TaZEN. A
TaZEN.ini that is there but cannot be read stops encrypt before any file is
touched, unless --source is given.

An existing FILE.TaZEN or FILE.TaZEN.exe (encrypt), or FILE (decrypt), is
replaced only after a yes to "Replace NAME? [y/N]" on the terminal, or with
--force. No leaves that file as it was and goes on with the next; without a
terminal the file is not replaced and the message names it. Either way the
exit status is then 1.

A source is never deleted or shredded while other names (hard links) lead to
its data, and shredding cannot reach earlier copies of the data on btrfs
(except files with the no-copy-on-write attribute, chattr +C), bcachefs, ZFS,
f2fs and nilfs2: there the passes run and the file is deleted, but the run
warns that it was not thoroughly shredded.

encrypt and decrypt stop at the first file that fails: the files before it are
done, the ones after it are not touched. Ctrl+C stops at once: the new file
being written is removed, and its source is left as it was. While a source is
being shredded, Ctrl+C stops the pass under way: the passes done so far stay
done, the file is deleted, "not thoroughly shredded." follows, and the run
stops before the next file.

open puts the copy in tazen-open/ below $XDG_RUNTIME_DIR, a folder only you
may enter, and refuses a runtime folder that is not a memory file system
(tmpfs or ramfs) unless --allow-disk. A save that fails (a full disk) keeps
both FILE.TaZEN as it was and the copy, and says why; a copy whose last change
could not be saved stays, to be saved back with open --left-behind --save-back.
Ctrl+C and SIGTERM end open as Enter does. What remains possible: memory pages
of the copy can be written to swap unless swap is encrypted, and the application
may keep copies of its own (autosave, backups, recent files).

Exit status:
  0    every file was done
  1    a file failed (the message names it and says why), a wrong password, a
       file left as it was because no password opened it, a step after
       encryption failed (executable, deletion, shredding), a file was not
       replaced, or the two passwords typed did not match
  2    wrong usage: an unknown option, no file, a name without .TaZEN or .TaZEN.exe
       given to decrypt, no terminal to ask for the password on, a password file that
       cannot be read, a settings file that is there but cannot be read, an
       output folder (-o) that is missing or cannot be written to, an empty
       password for encrypt, or one below --min-strength, a runtime folder not in
       memory for open without --allow-disk
  130  interrupted by Ctrl+C (128 + the signal's number for SIGTERM and SIGHUP)
)";

ParseResult finished(int exitCode, std::string out, std::string err)
{
    ParseResult result;
    result.exitCode = exitCode;
    result.out = std::move(out);
    result.err = std::move(err);
    return result;
}

ParseResult usageError(const std::string& text)
{
    return finished(kExitUsage, {}, usageText(text));
}

ParseResult finishedParsing()
{
    ParseResult result;
    result.run = true;
    return result;
}

ParseResult parsePassphrase(int argc, const char* const* argv, Options& options)
{
    options.command = "passphrase";
    options.verb = Command::Passphrase;
    bool counted = false;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h")
            return finished(kExitDone, kHelp, {});
        char* end = nullptr;
        const long words = std::strtol(argument.c_str(), &end, 10);
        if (counted || argument.empty() || *end != '\0' || argument[0] == '-' || words < 1 ||
            words > kMostPassphraseWords)
            return usageError("passphrase takes one number of words, from 1 to 64");
        options.words = static_cast<int>(words);
        counted = true;
    }
    ParseResult result;
    result.run = true;
    return result;
}

// What the command lets through: which options it has.
struct CommandOptions
{
    bool encrypting;
    bool decrypting;
    bool checking;
    bool needsPassword;
    bool opening;
};

// The long options' values past the short ones' letters.
enum LongOnly
{
    kSource = 256,
    kSelfExtracting,
    kNoSelfExtracting,
    kNoVerify,
    kForce,
    kPasswordFile,
    kPasswordStdin,
    kPasswordFd,
    kAllowEmptyPassword,
    kMinStrength,
    kProgressFd,
    kKeepGoing,
    kVersion,
    kWith,
    kAllowDisk,
    kLeftBehind,
    kSaveBack,
    kDiscard
};

// One option a command may have: its long name, whether it takes a value, its short letter or long value.
struct KnownOption
{
    const char* name;
    int hasArgument;
    int value;
    bool (*has)(const CommandOptions&);
};

bool always(const CommandOptions&)
{
    return true;
}
bool encrypts(const CommandOptions& c)
{
    return c.encrypting;
}
bool decrypts(const CommandOptions& c)
{
    return c.decrypting;
}
bool writesFiles(const CommandOptions& c)
{
    return c.encrypting || c.decrypting;
}
bool readsPassword(const CommandOptions& c)
{
    return c.needsPassword;
}
bool opens(const CommandOptions& c)
{
    return c.opening;
}

const KnownOption kKnownOptions[] = {
    {"help", no_argument, 'h', always},
    {"quiet", no_argument, 'q', always},
    {"progress-fd", required_argument, kProgressFd, always},
    {"recursive", no_argument, 'r', writesFiles},
    {"no-verify", no_argument, kNoVerify, writesFiles},
    {"jobs", required_argument, 'j', writesFiles},
    {"force", no_argument, kForce, writesFiles},
    {"output-dir", required_argument, 'o', writesFiles},
    {"password-file", required_argument, kPasswordFile, readsPassword},
    {"password-stdin", no_argument, kPasswordStdin, readsPassword},
    {"password-fd", required_argument, kPasswordFd, readsPassword},
    {"allow-empty-password", no_argument, kAllowEmptyPassword, encrypts},
    {"min-strength", required_argument, kMinStrength, encrypts},
    {"source", required_argument, kSource, encrypts},
    {"self-extracting", optional_argument, kSelfExtracting, encrypts},
    {"no-self-extracting", no_argument, kNoSelfExtracting, encrypts},
    {"keep", no_argument, 'k', decrypts},
    {"keep-going", no_argument, kKeepGoing, decrypts},
    {"with", required_argument, kWith, opens},
    {"allow-disk", no_argument, kAllowDisk, opens},
    {"left-behind", no_argument, kLeftBehind, opens},
    {"save-back", no_argument, kSaveBack, opens},
    {"discard", no_argument, kDiscard, opens},
};

// The command's options as getopt_long reads them: the long table and the short letters ("-:hqrj:o:k").
struct OptionTable
{
    std::vector<option> longOptions;
    std::string shortOptions;
};

OptionTable tableFor(const CommandOptions& command)
{
    // '-' first: files come back in their place among the options (as value 1), whatever POSIXLY_CORRECT says;
    // ':' next: a missing value is told apart from an unknown option, and getopt itself says nothing.
    OptionTable table{{}, "-:"};
    for (const KnownOption& known : kKnownOptions) {
        if (!known.has(command))
            continue;
        table.longOptions.push_back({known.name, known.hasArgument, nullptr, known.value});
        if (known.value < kSource) {
            table.shortOptions += static_cast<char>(known.value);
            if (known.hasArgument == required_argument)
                table.shortOptions += ':';
        }
    }
    table.longOptions.push_back({nullptr, 0, nullptr, 0});
    return table;
}

// The long name an argument abbreviates, when it is the start of several: getopt_long refuses it as it does
// an unknown one.
std::vector<std::string> abbreviated(const std::string& argument, const OptionTable& table)
{
    const std::string typed = argument.substr(2, argument.find('=') - 2);
    std::vector<std::string> names;
    for (const option& o : table.longOptions)
        if (o.name != nullptr && std::string_view(o.name).starts_with(typed)) {
            if (typed == o.name)
                return {};
            names.push_back(std::string("--") + o.name);
        }
    return names.size() > 1 ? names : std::vector<std::string>{};
}

std::string spelled(int value)
{
    for (const KnownOption& known : kKnownOptions)
        if (known.value == value)
            return std::string("--") + known.name;
    return {};
}

// The option's value needs a value that is missing: what to say. typed: the option as given.
std::string missingValue(int value, const std::string& typed)
{
    switch (value) {
    case kSource:
        return "--source needs keep, delete or shred";
    case kPasswordFile:
        return "--password-file needs a file name";
    case kProgressFd:
    case kPasswordFd:
        return spelled(value) + " needs a file descriptor number";
    case 'j':
        return (typed.starts_with("--") ? "--jobs" : "-j") + std::string(" needs a number of files");
    case 'o':
        return (typed.starts_with("--") ? "--output-dir" : "-o") + std::string(" needs a folder");
    case kWith:
        return "--with needs a command";
    case kMinStrength:
        return "--min-strength takes a step from 0 (very weak) to 4 (strong)";
    default:
        return typed + " needs a value";
    }
}

// --progress-fd and --password-fd: a number that names an open descriptor.
std::optional<ParseResult> descriptorValue(const std::string& value, int option, int& descriptor)
{
    const std::string name = spelled(option);
    if (value.empty())
        return usageError(name + " needs a file descriptor number");
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (*end != '\0' || number < 0 || number > 1 << 20 || !platform::IsOpenDescriptor(static_cast<int>(number)))
        return usageError(name + " " + value + " is not an open file descriptor");
    descriptor = static_cast<int>(number);
    return std::nullopt;
}

std::optional<ParseResult> jobsValue(const std::string& value, Options& options)
{
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || number < 1 || number > 1024)
        return usageError("-j takes a number of files from 1 to 1024, not '" + value + "'");
    options.jobs = static_cast<int>(number);
    return std::nullopt;
}

std::optional<ParseResult> sourceValue(const std::string& value, Options& options)
{
    if (value == "keep")
        options.source = 0;
    else if (value == "delete")
        options.source = 1;
    else if (value == "shred")
        options.source = 2;
    else
        return usageError("--source takes keep, delete or shred, not '" + value + "'");
    return std::nullopt;
}

std::optional<ParseResult> recipientValue(const std::string& value, Options& options)
{
    if (value == "windows")
        options.recipientSystem = RecipientSystem::Windows;
    else if (value == "linux")
        options.recipientSystem = RecipientSystem::Linux;
    else
        return usageError("--self-extracting takes windows or linux, not '" + value + "'");
    options.selfExtract = true;
    return std::nullopt;
}

// --with's command, split at blanks: no shell reads it, so nothing in it is expanded.
std::optional<ParseResult> withValue(const std::string& value, Options& options)
{
    options.withCommand.clear();
    std::size_t at = value.find_first_not_of(" \t");
    while (at != std::string::npos) {
        const std::size_t end = value.find_first_of(" \t", at);
        options.withCommand.push_back(value.substr(at, end - at));
        at = value.find_first_not_of(" \t", end);
    }
    if (options.withCommand.empty())
        return usageError("--with needs a command");
    return std::nullopt;
}

// open's files and options together.
ParseResult checkOpen(Options& options)
{
    if ((options.saveBack || options.discard) && !options.leftBehind)
        return usageError(std::string(options.saveBack ? "--save-back" : "--discard") + " goes with --left-behind");
    if (options.saveBack && options.discard)
        return usageError("--save-back and --discard cannot be used together");
    if (options.leftBehind) {
        if (!options.files.empty())
            return usageError("open --left-behind takes no file");
        if (!options.withCommand.empty() || options.allowDisk)
            return usageError("--with and --allow-disk open a file; --left-behind takes neither");
        return finishedParsing();
    }
    if (options.files.size() != 1)
        return usageError("open takes one file");
    if (!IsEncryptedName(options.files[0]))
        return usageError(options.files[0] + " does not end in .TaZEN or .TaZEN.exe; open takes an encrypted file");
    return finishedParsing();
}

// One option getopt_long has read, with its value where it takes one: nothing when parsing goes on, else
// how it ends.
std::optional<ParseResult> takeOption(int value, const char* argument, Options& options)
{
    const std::string text = argument != nullptr ? argument : "";
    switch (value) {
    case 'h':
        return finished(kExitDone, kHelp, {});
    case 'q':
        options.quiet = true;
        break;
    case 'r':
        options.recursive = true;
        break;
    case 'k':
        options.keep = true;
        break;
    case 'j':
        return jobsValue(text, options);
    case 'o':
        if (text.empty())
            return usageError("--output-dir needs a folder");
        options.outputFolder = text;
        break;
    case kNoVerify:
        options.noVerify = true;
        break;
    case kForce:
        options.force = true;
        break;
    case kKeepGoing:
        options.keepGoing = true;
        break;
    case kPasswordStdin:
        options.passwordFromStdin = true;
        break;
    case kAllowEmptyPassword:
        options.allowEmptyPassword = true;
        break;
    case kNoSelfExtracting:
        options.selfExtract = false;
        break;
    case kSelfExtracting:
        // Only with "=": a bare --self-extracting takes no value, and the next argument is a file.
        if (argument == nullptr)
            options.selfExtract = true;
        else
            return recipientValue(text, options);
        break;
    case kPasswordFile:
        if (text.empty())
            return usageError("--password-file needs a file name");
        options.passwordFiles.push_back(text);
        break;
    case kPasswordFd:
        return descriptorValue(text, value, options.passwordDescriptor);
    case kProgressFd:
        return descriptorValue(text, value, options.progressDescriptor);
    case kMinStrength:
        if (text.size() != 1 || text[0] < '0' || text[0] > '4')
            return usageError("--min-strength takes a step from 0 (very weak) to 4 (strong)");
        options.minStrength = text[0] - '0';
        break;
    case kSource:
        return sourceValue(text, options);
    case kWith:
        return withValue(text, options);
    case kAllowDisk:
        options.allowDisk = true;
        break;
    case kLeftBehind:
        options.leftBehind = true;
        break;
    case kSaveBack:
        options.saveBack = true;
        break;
    case kDiscard:
        options.discard = true;
        break;
    default:
        break;
    }
    return std::nullopt;
}

// What the options say together, once all are read.
ParseResult checkTogether(const CommandOptions& command, Options& options)
{
    if (options.files.empty() && !(command.opening && options.leftBehind))
        return usageError(options.command + " needs at least one file");
    if (!options.passwordFiles.empty() && options.passwordFromStdin)
        return usageError("--password-file and --password-stdin cannot be used together");
    if (options.passwordDescriptor >= 0 && (!options.passwordFiles.empty() || options.passwordFromStdin))
        return usageError("--password-fd cannot be used with --password-file or --password-stdin");
    if (options.passwordFiles.size() > 1 && !command.decrypting)
        return usageError("only decrypt tries several passwords; " + options.command + " takes one --password-file");
    if (command.opening)
        return checkOpen(options);
    if (command.needsPassword && std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
        if (options.files.size() != 1)
            return usageError("- (standard input and output) must be the only file");
        if (options.passwordFiles.empty() && options.passwordDescriptor < 0)
            return usageError("with -, standard input carries the data: the password comes from --password-file "
                              "or --password-fd");
        if (options.passwordFiles.size() > 1)
            return usageError("with -, one password: give one --password-file");
        if (!options.outputFolder.empty())
            return usageError("with -, the output is standard output: --output-dir cannot be used");
        options.pipeline = true;
        return finishedParsing();
    }
    if (command.decrypting)
        for (const std::string& name : options.files)
            if (!IsEncryptedName(name) && !platform::ExistsAsFolder(name))
                return usageError(name + " does not end in .TaZEN or .TaZEN.exe; decrypt takes .TaZEN files, "
                                         ".TaZEN.exe files and folders only");
    return finishedParsing();
}

// An argument getopt_long refused: unknown, ambiguous, or given a value it does not take.
ParseResult refused(const std::string& argument, const OptionTable& table, const Options& options)
{
    if (argument.starts_with("--")) {
        if (const std::vector<std::string> names = abbreviated(argument, table); !names.empty()) {
            std::string list;
            for (const std::string& name : names)
                list += (list.empty() ? "" : ", ") + name;
            return usageError("'" + argument + "' is ambiguous: it may be " + list);
        }
        const std::string name = argument.substr(2, argument.find('=') - 2);
        if (name.size() + 2 < argument.size())
            for (const option& o : table.longOptions)
                if (o.name != nullptr && o.has_arg == no_argument && std::string_view(o.name).starts_with(name))
                    return usageError(std::string("--") + o.name + " takes no value");
        return usageError("'" + argument + "' is not an option of " + options.command);
    }
    return usageError("'" + argument + "' is not an option of " + options.command);
}

// Whether the option getopt_long refused as optopt was given in its long form, as last (the argument before
// optind): an unknown long option has optopt 0.
bool longTyped(const std::string& last, int optopt, const OptionTable& table)
{
    if (!last.starts_with("--"))
        return false;
    if (optopt == 0 || optopt >= kSource)
        return true;
    const std::string typed = last.substr(2, last.find('=') - 2);
    for (const option& o : table.longOptions)
        if (o.name != nullptr && o.val == optopt && std::string_view(o.name).starts_with(typed))
            return true;
    return false;
}

} // namespace

std::string usageText(const std::string& reason)
{
    // The reason quotes arguments as given; they must not drive the terminal.
    return "tazen-cli: " + platform::Printable(reason) + "\nTry 'tazen-cli --help'.\n";
}

ParseResult parseOptions(int argc, const char* const* argv, Options& options)
{
    if (argc < 2)
        return usageError("no command given");
    const std::string first = argv[1];
    if (first == "--help" || first == "-h")
        return finished(kExitDone, kHelp, {});
    if (first == "--version")
        return finished(kExitDone, std::string("tazen-cli (TaZEN) ") + TAZEN_VERSION + "\n", {});
    if (first == "passphrase")
        return parsePassphrase(argc, argv, options);
    if (first != "encrypt" && first != "decrypt" && first != "check" && first != "shred" && first != "open")
        return usageError("unknown command '" + first + "'");
    options.command = first;
    options.verb = first == "encrypt"   ? Command::Encrypt
                   : first == "decrypt" ? Command::Decrypt
                   : first == "check"   ? Command::Check
                   : first == "open"    ? Command::Open
                                        : Command::Shred;
    const CommandOptions command{options.verb == Command::Encrypt, options.verb == Command::Decrypt,
                                 options.verb == Command::Check, options.verb != Command::Shred,
                                 options.verb == Command::Open};

    const OptionTable table = tableFor(command);
    // getopt_long works on a copy of the list, with the command as its program name.
    std::vector<char*> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(const_cast<char*>(argv[i]));
    arguments.push_back(nullptr);
    const int count = argc - 1;
    // 0 rather than 1: glibc then forgets what it kept of the list it read last, so parsing starts afresh.
    optind = 0;
    opterr = 0;
    for (;;) {
        const int value =
            getopt_long(count, arguments.data(), table.shortOptions.c_str(), table.longOptions.data(), nullptr);
        if (value == -1)
            break;
        if (value == 1) {
            options.files.emplace_back(optarg);
            continue;
        }
        if (value == '?' || value == ':') {
            // A long option's error leaves optind past it; a letter's may leave it inside its cluster.
            const std::string last = optind > 0 ? arguments[static_cast<std::size_t>(optind - 1)] : "";
            const std::string typed =
                longTyped(last, optopt, table) ? last : "-" + std::string(1, static_cast<char>(optopt));
            if (value == ':')
                return usageError(missingValue(optopt, typed.substr(0, typed.find('='))));
            return refused(typed, table, options);
        }
        if (std::optional<ParseResult> ended = takeOption(value, optarg, options))
            return std::move(*ended);
    }
    // Those after "--".
    for (int i = optind; i < count; ++i)
        options.files.emplace_back(arguments[static_cast<std::size_t>(i)]);
    return checkTogether(command, options);
}

} // namespace tazen::cli
