// tazen-cli's command line: the commands and options it takes, read without running anything, so that the
// reading can be tested and fuzzed on its own.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "engine/passphrase.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tazen::cli {

enum ExitCode
{
    kExitDone = 0,
    kExitFailed = 1,
    kExitUsage = 2
};

inline constexpr int kDefaultPassphraseWords = kPassphraseWords;
inline constexpr int kMostPassphraseWords = 64;

// The command, read once from its name.
enum class Command
{
    None,
    Encrypt,
    Decrypt,
    Check,
    Shred,
    Passphrase,
    Open
};

struct Options
{
    // As typed, for the texts that quote it.
    std::string command;
    Command verb = Command::None;
    std::vector<std::string> files;
    std::optional<bool> selfExtract;
    // --self-extracting=windows|linux; bare, the settings choose.
    std::optional<RecipientSystem> recipientSystem;
    std::optional<int> source;
    // Each --password-file in the order given; decrypt tries them in that order for each file.
    std::vector<std::string> passwordFiles;
    bool passwordFromStdin = false;
    bool allowEmptyPassword = false;
    bool quiet = false;
    bool force = false;
    // A folder among the files stands for its files; with recursive, for those of its sub-folders too.
    bool recursive = false;
    int progressDescriptor = -1;
    // encrypt refuses a password whose strength estimate is below this step (0 to 4).
    std::optional<int> minStrength;
    // How many words passphrase draws.
    int words = kDefaultPassphraseWords;
    // The password's first line comes from this descriptor, or -1.
    int passwordDescriptor = -1;
    // A source is disposed of without reading its encrypted file back first.
    bool noVerify = false;
    // How many files encrypt and decrypt work on at a time; 0: one for each processor the program may use.
    int jobs = 0;
    // The only file is "-": standard input to standard output.
    bool pipeline = false;
    // -o: the folder new files go into instead of beside their sources; empty: beside them.
    std::string outputFolder;
    // Filled in once folders are walked: with -o and -r, the folder each file found below a named folder goes
    // into; every other file goes into outputFolder itself.
    std::map<std::string, std::string> destinations;
    // decrypt keeps each encrypted file it decrypted.
    bool keep = false;
    // decrypt leaves a file that no password opens as it is and goes on with the next.
    bool keepGoing = false;
    // open: the program that opens the copy, split at blanks, no shell; empty: the desktop's default.
    std::vector<std::string> withCommand;
    // open may put the copy in a runtime folder on a disk.
    bool allowDisk = false;
    // open --left-behind: the copies a crash left behind instead of a file; with saveBack or discard, what to
    // do with each.
    bool leftBehind = false;
    bool saveBack = false;
    bool discard = false;
};

// What the command line asks for: either the command runs with the options, or the program ends at once
// with exitCode after writing out to standard output and err to standard error.
struct ParseResult
{
    bool run = false;
    int exitCode = kExitDone;
    std::string out;
    std::string err;
};

// argv as main receives it, argv[0] being the program, read with getopt_long: short options combine (-qr,
// -rj2) and long ones may be abbreviated. --progress-fd is accepted only for a descriptor that is open in this
// process. May be called again and again: getopt's own state is reset each time.
ParseResult parseOptions(int argc, const char* const* argv, Options& options);

// A usage error's text for standard error: the reason, made printable, and where to find help.
std::string usageText(const std::string& reason);

} // namespace tazen::cli
