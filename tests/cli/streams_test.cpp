// tazen-cli as a filter in a pipeline, and over several files at a time: their output and progress lines.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "common/reference_format.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

namespace tazen::test {
namespace {

class Streams : public ProgramTest
{
protected:
    Streams()
    {
        writeFile(dir / "pw", "secret\n");
        ::chmod((dir / "pw").c_str(), 0600);
    }

    // A bash command line in the work folder, $CLI standing for the program; the exit status is the first
    // failing one of the pipeline's commands.
    Finished shell(const std::string& command)
    {
        ChildProcess::Setup setup;
        setup.folder = dir.path();
        return RunToEnd("/bin/bash", {"-c", "set -o pipefail; CLI='" + cli() + "'; " + command}, setup);
    }
};

TEST_F(Streams, APipelineWritesTheBytesOfTheFileModeAndGivesTheInputBack)
{
    for (const std::size_t size : {0u, 7u, 8u, 8191u, 8193u, (1u << 20) - 1, (1u << 20) + 9, 3000005u}) {
        SCOPED_TRACE(size);
        const Bytes plain = randomBytes(rng, size);
        writeFile(dir / "in", plain);
        const Finished run =
            shell("cat in | $CLI encrypt --password-file pw - | tee out.TaZEN | $CLI decrypt --password-fd 3 - 3<pw "
                  "| cat > back");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readFile(dir / "out.TaZEN"), referenceFile("secret", plain));
        EXPECT_EQ(readFile(dir / "back"), plain);
    }
}

TEST_F(Streams, AWrongPasswordWritesNothingAndAClosedReaderEndsWithAMessage)
{
    writeFile(dir / "in.TaZEN", referenceFile("other", randomBytes(rng, 100000)));
    Finished run = shell("cat in.TaZEN | $CLI decrypt --password-file pw - > out");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Wrong password for the file: standard input"), std::string::npos) << run.err;
    EXPECT_TRUE(readFile(dir / "out").empty());

    // Four MiB cannot all wait in the pipe once its reader has gone.
    makeFile("large", 4u << 20);
    run = shell("$CLI encrypt --password-file pw - < large | head -c 100 > /dev/null");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write standard output: Broken pipe"), std::string::npos) << run.err;
}

// Standard output opened on a file that is read, under its name or another: refused before a byte is written.
TEST_F(Streams, AnOutputThatIsAFileReadIsRefusedAndTheFileStaysAsItWas)
{
    const Bytes plain = randomBytes(rng, 100000);
    writeFile(dir / "f", plain);
    writeFile(dir / "f.TaZEN", referenceFile("secret", plain));
    ASSERT_EQ(::link((dir / "f").c_str(), (dir / "g").c_str()), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"encrypt --password-file pw - < f 1<> g", "standard input"},
        {"decrypt --password-file pw - < f.TaZEN 1<> f.TaZEN", "standard input"},
        {"check --password-file pw - < f.TaZEN 1<> f.TaZEN", "standard input"},
        {"encrypt --password-file pw - < f >> pw", "pw"},
        {"decrypt --password-fd 3 - < f.TaZEN 3< pw 1<> pw", "file descriptor 3"},
        {"check --password-file pw x.TaZEN f.TaZEN 1<> f.TaZEN", "f.TaZEN"},
    };
    for (const auto& [command, refused] : cases) {
        const Finished run = shell("$CLI " + command);
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, "tazen-cli: " + refused + ": input file is output file\n") << command;
        EXPECT_EQ(readFile(dir / "f"), plain);
        EXPECT_EQ(readFile(dir / "f.TaZEN"), referenceFile("secret", plain));
        EXPECT_EQ(readText(dir / "pw"), "secret\n");
    }
}

// -j 2 names each file as it begins; a filter names standard input, and counts when its length is known.
TEST_F(Streams, ProgressLinesNameEveryFileAndCountWhereTheLengthIsKnown)
{
    for (const char* name : {"a", "b", "c"})
        makeFile(name, 200000);
    makeFile("big", (3u << 20) + 5);
    writeFile(dir / "big.TaZEN", referenceFile("secret", readFile(dir / "big")));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"$CLI encrypt -j 2 a b c", "# Encrypting a\n# Encrypting b\n# Encrypting c\n"},
        {"$CLI encrypt - < big > out", "# Encrypting standard input\n"},
        {"$CLI decrypt - < big.TaZEN > out", "# Decrypting standard input\n"},
        {"cat big | $CLI encrypt - > out", "# Encrypting standard input\n"},
    };
    for (const auto& [command, named] : cases) {
        SCOPED_TRACE(command);
        ASSERT_EQ(shell(command + " --password-file pw --progress-fd 3 3> progress").exitCode, 0);
        std::string names;
        std::vector<int> percentages;
        std::istringstream lines(readText(dir / "progress"));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("# "))
                names += line + "\n";
            else
                percentages.push_back(std::stoi(line));
        EXPECT_EQ(names, named);
        if (command.starts_with("cat")) {
            EXPECT_TRUE(percentages.empty());
        } else {
            EXPECT_TRUE(percentages.size() >= 2 && std::is_sorted(percentages.begin(), percentages.end()));
            EXPECT_EQ(percentages.empty() ? -1 : percentages.back(), 100);
        }
    }
}

// The same list through -j 1 and -j 2: encrypted, then decrypted with a file of another password in the middle.
TEST_F(Streams, SeveralFilesAtATimeWriteAndReportWhatOneAtATimeDoes)
{
    std::vector<Bytes> plains;
    for (const std::size_t size : {300000u, 5u, 1100007u, 0u, 70000u})
        plains.push_back(randomBytes(rng, size));
    struct Outcome
    {
        std::vector<Bytes> encrypted;
        std::vector<std::string> left;
        std::string report;
    };
    const auto runWith = [&](const std::string& jobs) {
        const std::string folder = "j" + jobs;
        const std::string path = dir / folder;
        std::filesystem::create_directory(path);
        std::string names;
        for (std::size_t i = 0; i < plains.size(); ++i) {
            writeFile(path + "/f" + std::to_string(i), plains[i]);
            names += " " + folder + "/f" + std::to_string(i);
        }
        Outcome outcome;
        const Finished encrypted =
            shell("$CLI encrypt --password-file pw --source delete --no-self-extracting -j " + jobs + names);
        EXPECT_EQ(encrypted.exitCode, 0) << encrypted.err;
        for (std::size_t i = 0; i < plains.size(); ++i)
            outcome.encrypted.push_back(readFile(path + "/f" + std::to_string(i) + ".TaZEN"));
        writeFile(path + "/f2.TaZEN", referenceFile("other", plains[2]));
        std::string encryptedNames;
        for (std::size_t i = 0; i < plains.size(); ++i)
            encryptedNames += " " + folder + "/f" + std::to_string(i) + ".TaZEN";
        const Finished decrypted = shell("$CLI decrypt --password-file pw -j " + jobs + encryptedNames);
        EXPECT_EQ(decrypted.exitCode, 1);
        outcome.left = listFolder(path);
        outcome.report = decrypted.err;
        const std::string prefix = folder + "/";
        for (std::size_t at = 0; (at = outcome.report.find(prefix, at)) != std::string::npos;)
            outcome.report.erase(at, prefix.size());
        return outcome;
    };
    const Outcome one = runWith("1");
    const Outcome two = runWith("2");
    for (std::size_t i = 0; i < plains.size(); ++i)
        EXPECT_EQ(one.encrypted[i], referenceFile("secret", plains[i]));
    EXPECT_EQ(two.encrypted, one.encrypted);
    EXPECT_EQ(one.left, (std::vector<std::string>{"f0", "f1", "f2.TaZEN", "f3.TaZEN", "f4.TaZEN"}));
    EXPECT_EQ(two.left, one.left);
    EXPECT_EQ(two.report, one.report);
    EXPECT_NE(one.report.find("Wrong password for the file: f2.TaZEN"), std::string::npos) << one.report;
}

} // namespace
} // namespace tazen::test
