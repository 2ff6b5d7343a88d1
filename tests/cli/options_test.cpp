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

} // namespace
} // namespace tazen::test
