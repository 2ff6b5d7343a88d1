// A program folder of each test's own holding copies of tazen-cli and the extractor, so the settings file
// beside them and the extractor they copy are the test's, and a folder of files to work on.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/child_process.h"
#include "common/bytes.h"
#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tazen::test {

class ProgramTest : public testing::Test
{
protected:
    ProgramTest()
    {
        std::filesystem::copy_file(TAZEN_CLI_PATH, program / "tazen-cli");
        std::filesystem::copy_file(TAZEN_EXTRACTOR_PATH, program / "extractor");
    }

    std::string cli() const { return program / "tazen-cli"; }
    std::string extractor() const { return program / "extractor"; }

    // tazen-cli with the password on standard input, in the work folder.
    Finished runCli(std::vector<std::string> arguments, const std::string& password = "secret")
    {
        arguments.insert(arguments.begin() + 1, "--password-stdin");
        ChildProcess::Setup setup;
        setup.input = password + "\n";
        setup.folder = dir.path();
        return RunToEnd(cli(), arguments, setup);
    }

    std::string makeFile(const std::string& name, std::size_t size)
    {
        const std::string full = dir / name;
        writeFile(full, randomBytes(rng, size));
        return full;
    }

    static mode_t modeOf(const std::string& name)
    {
        struct stat info;
        return ::stat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

    TempDir dir;
    TempDir program;
    std::mt19937 rng{11};
};

} // namespace tazen::test
