// tazen-cli's command line: which command, which files, which options; texts as the tool prints them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include "format/fileformat.h"
#include "platform/folders.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cstdlib>

namespace tazen::cli {

namespace {

const char* const kHelp =
    R"(Usage: tazen-cli encrypt [--source keep|delete|shred]
                         [--self-extracting[=windows|linux] | --no-self-extracting]
                         [--force] [-r] [--no-verify] [-j N] [OPTION]... FILE|FOLDER...
       tazen-cli decrypt [--force] [-r] [--no-verify] [-j N] [OPTION]...
                         FILE.TaZEN|FILE.TaZEN.exe|FOLDER...
       tazen-cli check [OPTION]... FILE...
       tazen-cli encrypt|decrypt|check --password-file F|--password-fd N -
       tazen-cli shred [--quiet] [--progress-fd N] FILE...
       tazen-cli passphrase [WORDS]
Encrypts files into .TaZEN files beside them, and back, as the TaZEN window does.

Commands:
  encrypt   write FILE.TaZEN for each FILE, then keep, delete or shred FILE
  decrypt   write FILE for each FILE.TaZEN, then delete FILE.TaZEN; a
            self-extracting FILE.TaZEN.exe, made here or on Windows, is opened
            without being run (a wrong password is known after one pass over it)
  check     tell whether the password opens each file; nothing is written
  shred     overwrite each file 35 times (Gutmann's passes), then delete it
  passphrase [WORDS]
            print a passphrase of WORDS (6) words drawn at random from the
            EFF's long word list: about 12.9 bits a word, 77 bits for six

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
  --password-file F           read the password from the first line of file F
  --password-stdin            read the password from the first line of standard input
  --password-fd N             read the password from the first line of file
                              descriptor N
  --allow-empty-password      let encrypt use an empty password, which anyone can
                              decrypt; without it an empty password is refused
  --min-strength N             let encrypt refuse (exit status 2) a password whose
                              strength estimate is below step N: 0 very weak,
                              1 weak, 2 fair, 3 good, 4 strong
  --quiet                     show no progress line, and no strength estimate
  --progress-fd N             write progress to file descriptor N: a line "# TEXT"
                              when a file begins, and the overall percentage on a
                              line of its own when it changes (zenity --progress
                              reads this form)
  --help                      show this text
  --version                   show the version

Without a password option the password is asked for on the terminal, without
echo; encrypt asks twice. It is never taken from the command line, where other
users could read it. A password is one line of at most 64 KiB; a byte-order
mark at the start of a password file is not part of it, blanks at its end are.

A FOLDER stands for its files, found as the TaZEN window's /e and /d find them:
every regular file of it for encrypt, its .TaZEN files (that exact extension)
and .TaZEN.exe files for decrypt, each folder's in name order. With -r its sub-folders are walked
too, except hidden or write-protected ones, links to folders, and the kernel's
own file systems. Unless --quiet, how many files each FOLDER gave is said
before the password is asked for; a FOLDER that gives none is named, and when
no file is left to work on, nothing is done (exit status 1).

The key of a .TaZEN file is an unsalted SHA-1 of the password, so one graphics
card tests about 10^10 passwords a second. encrypt says how long that would take
(zxcvbn's estimate) when the password is below strong, for example "Weak:
guessed in about 3 hours by one graphics card."

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

Exit status:
  0    every file was done
  1    a file failed (the message names it and says why), a wrong password, a
       step after encryption failed (executable, deletion, shredding), a file
       was not replaced, or the two passwords typed did not match
  2    wrong usage: an unknown option, no file, a name without .TaZEN or .TaZEN.exe
       given to decrypt, no terminal to ask for the password on, a password file that
       cannot be read, a settings file that is there but cannot be read, an
       empty password for encrypt, or one below --min-strength
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

// The value of an option given as "--name VALUE" or "--name=VALUE"; false when it has none.
bool optionValue(const std::string& argument, const char* name, int argc, const char* const* argv, int& i,
                 std::string& value)
{
    const std::string option = name;
    if (argument == option) {
        if (i + 1 >= argc)
            return false;
        value = argv[++i];
        return true;
    }
    value = argument.substr(option.size() + 1);
    return true;
}

bool isOption(const std::string& argument, const char* name)
{
    const std::string option = name;
    return argument == option || argument.rfind(option + "=", 0) == 0;
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

// The arguments after the command, as the loop over them sees them.
struct Arguments
{
    int argc;
    const char* const* argv;
    int i; // the one at hand; an option that takes the next as its value moves it on
};

// What the command lets through: which options it has.
struct CommandOptions
{
    bool encrypting;
    bool decrypting;
    bool checking;
    bool needsPassword;
};

// --progress-fd and --password-fd: a number that names an open descriptor.
std::optional<ParseResult> descriptorOption(const std::string& argument, const char* name, Arguments& at,
                                            int& descriptor)
{
    std::string value;
    char* end = nullptr;
    if (!optionValue(argument, name, at.argc, at.argv, at.i, value) || value.empty())
        return usageError(std::string(name) + " needs a file descriptor number");
    const long number = std::strtol(value.c_str(), &end, 10);
    if (*end != '\0' || number < 0 || number > 1 << 20 || !platform::IsOpenDescriptor(static_cast<int>(number)))
        return usageError(std::string(name) + " " + value + " is not an open file descriptor");
    descriptor = static_cast<int>(number);
    return std::nullopt;
}

bool isJobsOption(const std::string& argument)
{
    return argument == "-j" || isOption(argument, "--jobs") || (argument.size() > 2 && argument.rfind("-j", 0) == 0);
}

// -j N, -jN, --jobs N and --jobs=N.
std::optional<ParseResult> jobsOption(const std::string& argument, Arguments& at, Options& options)
{
    std::string value;
    if (argument.rfind("--jobs", 0) == 0) {
        if (!optionValue(argument, "--jobs", at.argc, at.argv, at.i, value))
            return usageError("--jobs needs a number of files");
    } else if (argument == "-j") {
        if (at.i + 1 >= at.argc)
            return usageError("-j needs a number of files");
        value = at.argv[++at.i];
    } else {
        value = argument.substr(2);
    }
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || number < 1 || number > 1024)
        return usageError("-j takes a number of files from 1 to 1024, not '" + value + "'");
    options.jobs = static_cast<int>(number);
    return std::nullopt;
}

std::optional<ParseResult> minStrengthOption(const std::string& argument, Arguments& at, Options& options)
{
    std::string value;
    if (!optionValue(argument, "--min-strength", at.argc, at.argv, at.i, value) || value.size() != 1 ||
        value[0] < '0' || value[0] > '4')
        return usageError("--min-strength takes a step from 0 (very weak) to 4 (strong)");
    options.minStrength = value[0] - '0';
    return std::nullopt;
}

std::optional<ParseResult> sourceOption(const std::string& argument, Arguments& at, Options& options)
{
    std::string value;
    if (!optionValue(argument, "--source", at.argc, at.argv, at.i, value))
        return usageError("--source needs keep, delete or shred");
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

std::optional<ParseResult> recipientOption(const std::string& value, Options& options)
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

// The options that take no value; false for any other argument.
bool flagOption(const std::string& argument, const CommandOptions& command, Options& options)
{
    const bool encryptingOrDecrypting = command.encrypting || command.decrypting;
    if (argument == "--quiet" || argument == "-q")
        options.quiet = true;
    else if (encryptingOrDecrypting && argument == "--no-verify")
        options.noVerify = true;
    else if (command.needsPassword && argument == "--password-stdin")
        options.passwordFromStdin = true;
    else if (command.needsPassword && !command.checking && argument == "--force")
        options.force = true;
    else if (encryptingOrDecrypting && (argument == "-r" || argument == "--recursive"))
        options.recursive = true;
    else if (command.encrypting && argument == "--allow-empty-password")
        options.allowEmptyPassword = true;
    else if (command.encrypting && argument == "--self-extracting")
        options.selfExtract = true;
    else if (command.encrypting && argument == "--no-self-extracting")
        options.selfExtract = false;
    else
        return false;
    return true;
}

// One option, with its value where it takes one: nothing when parsing goes on, else how it ends.
std::optional<ParseResult> parseOption(const std::string& argument, const CommandOptions& command, Arguments& at,
                                       Options& options)
{
    if (argument == "--help" || argument == "-h")
        return finished(kExitDone, kHelp, {});
    if (flagOption(argument, command, options))
        return std::nullopt;
    if (isOption(argument, "--progress-fd"))
        return descriptorOption(argument, "--progress-fd", at, options.progressDescriptor);
    if (command.needsPassword && isOption(argument, "--password-file")) {
        std::string value;
        if (!optionValue(argument, "--password-file", at.argc, at.argv, at.i, value) || value.empty())
            return usageError("--password-file needs a file name");
        options.passwordFile = value;
        return std::nullopt;
    }
    if (command.needsPassword && isOption(argument, "--password-fd"))
        return descriptorOption(argument, "--password-fd", at, options.passwordDescriptor);
    if (command.needsPassword && !command.checking && isJobsOption(argument))
        return jobsOption(argument, at, options);
    if (command.encrypting && isOption(argument, "--min-strength"))
        return minStrengthOption(argument, at, options);
    if (command.encrypting && isOption(argument, "--source"))
        return sourceOption(argument, at, options);
    // Only with "=": a bare --self-extracting takes no value, and the next argument is a file.
    if (command.encrypting && argument.rfind("--self-extracting=", 0) == 0)
        return recipientOption(argument.substr(18), options);
    return usageError("'" + argument + "' is not an option of " + options.command);
}

// What the options say together, once all are read.
ParseResult checkTogether(const CommandOptions& command, Options& options)
{
    if (options.files.empty())
        return usageError(options.command + " needs at least one file");
    if (options.passwordFile && options.passwordFromStdin)
        return usageError("--password-file and --password-stdin cannot be used together");
    if (options.passwordDescriptor >= 0 && (options.passwordFile || options.passwordFromStdin))
        return usageError("--password-fd cannot be used with --password-file or --password-stdin");
    if (command.needsPassword && std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
        if (options.files.size() != 1)
            return usageError("- (standard input and output) must be the only file");
        if (!options.passwordFile && options.passwordDescriptor < 0)
            return usageError("with -, standard input carries the data: the password comes from --password-file "
                              "or --password-fd");
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
    if (first != "encrypt" && first != "decrypt" && first != "check" && first != "shred")
        return usageError("unknown command '" + first + "'");
    options.command = first;
    options.verb = first == "encrypt"   ? Command::Encrypt
                   : first == "decrypt" ? Command::Decrypt
                   : first == "check"   ? Command::Check
                                        : Command::Shred;
    const CommandOptions command{options.verb == Command::Encrypt, options.verb == Command::Decrypt,
                                 options.verb == Command::Check, options.verb != Command::Shred};

    bool optionsEnded = false;
    for (Arguments at{argc, argv, 2}; at.i < argc; ++at.i) {
        const std::string argument = argv[at.i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
            options.files.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (std::optional<ParseResult> ended = parseOption(argument, command, at, options))
            return std::move(*ended);
    }
    return checkTogether(command, options);
}

} // namespace tazen::cli
