// tazen-cli's command line, read in the process: what runs, and the texts and exit codes of what does not.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tazen::test {
namespace {

using cli::Options;
using cli::ParseResult;

ParseResult parse(std::vector<std::string> arguments, Options& options)
{
    arguments.insert(arguments.begin(), "tazen-cli");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    return cli::parseOptions(static_cast<int>(arguments.size()), argv.data(), options);
}

ParseResult parse(const std::vector<std::string>& arguments)
{
    Options options;
    return parse(arguments, options);
}

TEST(CliOptions, ReadsEveryOptionOfEncryptAndTakesWhatFollowsTwoDashesAsFiles)
{
    Options options;
    const ParseResult result = parse({"encrypt", "--source=shred", "--self-extracting", "-q", "--progress-fd", "2",
                                      "--password-file", "pw", "a", "--", "-b", "--quiet"},
                                     options);
    ASSERT_TRUE(result.run) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(options.command, "encrypt");
    EXPECT_EQ(options.files, (std::vector<std::string>{"a", "-b", "--quiet"}));
    EXPECT_EQ(options.source, 2);
    EXPECT_EQ(options.selfExtract, true);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.progressDescriptor, 2);
    EXPECT_EQ(options.passwordFiles, std::vector<std::string>{"pw"});
    EXPECT_FALSE(options.passwordFromStdin);
}

TEST(CliOptions, OpenSplitsItsCommandAtBlanksWithoutAShell)
{
    Options options;
    const ParseResult result =
        parse({"open", "--with", " gedit  --wait\t'$HOME' ", "--allow-disk", "--password-stdin", "a.TaZEN"}, options);
    ASSERT_TRUE(result.run) << result.err;
    EXPECT_EQ(options.verb, cli::Command::Open);
    EXPECT_EQ(options.withCommand, (std::vector<std::string>{"gedit", "--wait", "'$HOME'"}));
    EXPECT_TRUE(options.allowDisk);
    EXPECT_EQ(options.files, std::vector<std::string>{"a.TaZEN"});
}

TEST(CliOptions, SelfExtractingNamesTheRecipientsSystemOnlyAfterAnEqualsSign)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::optional<RecipientSystem> system;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {{"encrypt", "--self-extracting=linux", "a"}, RecipientSystem::Linux, {"a"}},
        {{"encrypt", "--self-extracting=windows", "a"}, RecipientSystem::Windows, {"a"}},
        // Bare, the settings choose; what follows is a file even when it reads like a system.
        {{"encrypt", "--self-extracting", "linux"}, std::nullopt, {"linux"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        Options options;
        const ParseResult result = parse(c.arguments, options);
        ASSERT_TRUE(result.run) << result.err;
        EXPECT_EQ(options.selfExtract, true);
        EXPECT_EQ(options.recipientSystem, c.system);
        EXPECT_EQ(options.files, c.files);
    }
}

TEST(CliOptions, HelpAndVersionGoToStandardOutputAndEndWithCodeZero)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"decrypt", "--help"}}) {
        const ParseResult result = parse(arguments);
        EXPECT_FALSE(result.run);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.rfind("Usage: tazen-cli encrypt [--source keep|delete|shred]", 0), 0u) << result.out;
        EXPECT_NE(result.out.find("  130  interrupted by Ctrl+C"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
    const ParseResult version = parse({"--version"});
    EXPECT_FALSE(version.run);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tazen-cli (TaZEN) ", 0), 0u) << version.out;
    EXPECT_EQ(version.out.back(), '\n');
}

TEST(CliOptions, WrongUsageEndsWithCodeTwoAndSaysWhyOnStandardError)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"scramble"}, "unknown command 'scramble'"},
        {{"encrypt"}, "encrypt needs at least one file"},
        {{"encrypt", "--source", "burn", "a"}, "--source takes keep, delete or shred, not 'burn'"},
        {{"encrypt", "a", "--source"}, "--source needs keep, delete or shred"},
        {{"encrypt", "--password-file=", "a"}, "--password-file needs a file name"},
        {{"encrypt", "--password-file", "p", "--password-stdin", "a"},
         "--password-file and --password-stdin cannot be used together"},
        {{"encrypt", "--progress-fd", "x", "a"}, "--progress-fd x is not an open file descriptor"},
        {{"shred", "--password-stdin", "a"}, "'--password-stdin' is not an option of shred"},
        {{"decrypt", "--self-extracting", "a.TaZEN"}, "'--self-extracting' is not an option of decrypt"},
        {{"encrypt", "--self-extracting=Linux", "a"}, "--self-extracting takes windows or linux, not 'Linux'"},
        {{"encrypt", "--self-extracting=", "a"}, "--self-extracting takes windows or linux, not ''"},
        {{"check", "-r", "a.TaZEN"}, "'-r' is not an option of check"},
        {{"decrypt", "a.TaZEN", "b.tazen"},
         "b.tazen does not end in .TaZEN or .TaZEN.exe; decrypt takes .TaZEN files, .TaZEN.exe files and folders "
         "only"},
        {{"open", "a.TaZEN", "b.TaZEN"}, "open takes one file"},
        {{"open", "notes.txt"}, "notes.txt does not end in .TaZEN or .TaZEN.exe; open takes an encrypted file"},
        {{"open", "--with", " ", "a.TaZEN"}, "--with needs a command"},
        {{"open", "--discard", "a.TaZEN"}, "--discard goes with --left-behind"},
        {{"open", "--left-behind", "--save-back", "--discard"}, "--save-back and --discard cannot be used together"},
        {{"open", "--left-behind", "a.TaZEN"}, "open --left-behind takes no file"},
        {{"open", "--left-behind", "--password-file", "p", "--password-stdin"},
         "--password-file and --password-stdin cannot be used together"},
        {{"decrypt", "--allow-disk", "a.TaZEN"}, "'--allow-disk' is not an option of decrypt"},
    };
    for (const auto& [arguments, reason] : cases) {
        SCOPED_TRACE(reason);
        const ParseResult result = parse(arguments);
        EXPECT_FALSE(result.run);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "tazen-cli: " + reason + "\nTry 'tazen-cli --help'.\n");
    }
}

TEST(CliOptions, ShortOptionsCombineAndLongOnesMayBeAbbreviated)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool quiet, recursive, keep, keepGoing;
        int jobs;
        std::string outputFolder;
        std::vector<std::string> passwordFiles;
    };
    const Case cases[] = {
        {{"encrypt", "-qr", "a"}, true, true, false, false, 0, "", {}},
        {{"encrypt", "-rj2", "a"}, false, true, false, false, 2, "", {}},
        {{"encrypt", "a", "-j", "3", "-oout"}, false, false, false, false, 3, "out", {}},
        {{"decrypt", "-kqo", "out", "--keep-going", "a.TaZEN"}, true, false, true, true, 0, "out", {}},
        {{"decrypt", "--output-dir=o", "--rec", "--password-file", "p", "--password-file=q", "a.TaZEN"},
         false,
         true,
         false,
         false,
         0,
         "o",
         {"p", "q"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        Options options;
        const ParseResult result = parse(c.arguments, options);
        ASSERT_TRUE(result.run) << result.err;
        EXPECT_EQ(options.quiet, c.quiet);
        EXPECT_EQ(options.recursive, c.recursive);
        EXPECT_EQ(options.keep, c.keep);
        EXPECT_EQ(options.keepGoing, c.keepGoing);
        EXPECT_EQ(options.jobs, c.jobs);
        EXPECT_EQ(options.outputFolder, c.outputFolder);
        EXPECT_EQ(options.passwordFiles, c.passwordFiles);
        EXPECT_EQ(options.files.size(), 1u);
    }
}

TEST(CliOptions, ACombinationThatDoesNotHoldIsRefusedAndTheNextReadingStartsAfresh)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        // The reading stops inside a cluster of letters; the next must not go on from there.
        {{"encrypt", "-qxr", "a"}, "'-x' is not an option of encrypt"},
        {{"encrypt", "-k", "a"}, "'-k' is not an option of encrypt"},
        {{"encrypt", "-rj", "a"}, "-j takes a number of files from 1 to 1024, not 'a'"},
        {{"encrypt", "a", "-rj"}, "-j needs a number of files"},
        {{"encrypt", "a", "-o"}, "-o needs a folder"},
        {{"decrypt", "a.TaZEN", "--output-dir"}, "--output-dir needs a folder"},
        {{"encrypt", "--quiet=yes", "a"}, "--quiet takes no value"},
        {{"decrypt", "--keep-going", "--keep=1", "a.TaZEN"}, "--keep takes no value"},
        {{"decrypt", "--password", "p", "a.TaZEN"},
         "'--password' is ambiguous: it may be --password-file, --password-stdin, --password-fd"},
        {{"encrypt", "--password-file", "p", "--password-file", "q", "a"},
         "only decrypt tries several passwords; encrypt takes one --password-file"},
        {{"check", "--keep-going", "a.TaZEN"}, "'--keep-going' is not an option of check"},
        {{"decrypt", "--password-file", "p", "-o", "out", "-"},
         "with -, the output is standard output: --output-dir cannot be used"},
    };
    for (const auto& [arguments, reason] : cases) {
        SCOPED_TRACE(reason);
        const ParseResult result = parse(arguments);
        EXPECT_FALSE(result.run);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "tazen-cli: " + reason + "\nTry 'tazen-cli --help'.\n");
        Options options;
        const ParseResult next = parse({"encrypt", "-q", "b"}, options);
        EXPECT_TRUE(next.run) << next.err;
        EXPECT_EQ(options.files, std::vector<std::string>{"b"});
        EXPECT_FALSE(options.recursive);
    }
}

} // namespace
} // namespace tazen::test
