// tazen-cli open as a process, with stand-in applications: saved back when changed, left byte for byte when
// not, nothing left when done, a copy left behind found and saved back, and a runtime folder on a disk refused.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "engine/opened.h"
#include "platform/opencopies.h"

#include <filesystem>

namespace tazen::test {
namespace {

class Open : public ProgramTest
{
protected:
    Open()
    {
        writeFile(dir / "notes.txt", std::string("first words\n"));
        EXPECT_EQ(runCli({"encrypt", "notes.txt"}).exitCode, 0);
        std::filesystem::remove(dir / "notes.txt");
        ::mkdir(runtime.c_str(), 0700);
    }

    // A stand-in application: a shell script given the copy's name as $1.
    std::string application(const std::string& name, const std::string& body)
    {
        const std::string path = program / name;
        writeFile(path, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0700);
        return path;
    }

    Finished open(std::vector<std::string> arguments, const std::string& input = "secret\n")
    {
        arguments.insert(arguments.begin(), {"open", "--password-stdin"});
        ChildProcess::Setup setup;
        setup.input = input;
        setup.folder = dir.path();
        setup.environment = {"XDG_RUNTIME_DIR=" + runtime,
                             "PATH=" + program.path() + ":" + std::string(std::getenv("PATH"))};
        return RunToEnd(cli(), arguments, setup);
    }

    std::string plain()
    {
        TempDir out;
        const Finished decrypted = runCli({"decrypt", "-k", "-o", out.path(), "notes.txt.TaZEN"});
        EXPECT_EQ(decrypted.exitCode, 0) << decrypted.err;
        return readText(out / "notes.txt");
    }

    std::vector<std::string> leftInPlace() { return listFolder(runtime + "/" + kOpenCopiesFolder); }

    const std::string runtime = dir / "run";
};

TEST_F(Open, EachApplicationsChangeIsSavedBackAndNothingIsLeft)
{
    const struct
    {
        const char* body;
        const char* expected;
    } cases[] = {
        {"printf 'more\\n' >> \"$1\"", "first words\nmore\n"},
        // Written beside it, then renamed over it, as many editors save.
        {"printf 'renamed\\n' > \"$1.new\" && mv \"$1.new\" \"$1\"", "renamed\n"},
        {"printf 'one\\n' > \"$1\"; printf 'two\\n' > \"$1\"", "two\n"},
    };
    for (const auto& c : cases) {
        const Finished done = open({"--allow-disk", "--with", application("edit", c.body), "notes.txt.TaZEN"});
        EXPECT_EQ(done.exitCode, 0) << c.body << "\n" << done.err;
        EXPECT_NE(done.out.find("Saved into " + (dir / "notes.txt.TaZEN")), std::string::npos) << done.out;
        EXPECT_EQ(plain(), c.expected) << c.body;
        EXPECT_TRUE(leftInPlace().empty()) << c.body;
    }
}

TEST_F(Open, AnUnchangedCopyLeavesTheEncryptedFileAsItWas)
{
    const Bytes before = readFile(dir / "notes.txt.TaZEN");
    const auto stamp = std::filesystem::last_write_time(dir / "notes.txt.TaZEN");
    const Finished done =
        open({"--allow-disk", "--with", application("look", "cat \"$1\" > \"$1.tmp\" && mv \"$1.tmp\" \"$1\""),
              "notes.txt.TaZEN"});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.out.find("Saved"), std::string::npos) << done.out;
    EXPECT_EQ(readFile(dir / "notes.txt.TaZEN"), before);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "notes.txt.TaZEN"), stamp);
    EXPECT_TRUE(leftInPlace().empty());
}

TEST_F(Open, TheDefaultApplicationIsStartedAndTheEndOfInputEndsTheWait)
{
    application("xdg-open", "printf 'by default\\n' > \"$1\"");
    const Finished done = open({"--allow-disk", "notes.txt.TaZEN"});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_NE(done.out.find("Press Enter when you are done"), std::string::npos) << done.out;
    EXPECT_EQ(plain(), "by default\n");
    EXPECT_TRUE(leftInPlace().empty());
}

TEST_F(Open, ACopyLeftBehindByACrashIsFoundAndSavedBack)
{
    // The application changes the copy, then kills tazen-cli before it can save.
    const Finished killed =
        open({"--allow-disk", "--with", application("crash", "printf 'unsaved\\n' > \"$1\"; kill -9 $PPID"),
              "notes.txt.TaZEN"});
    EXPECT_EQ(killed.exitCode, -1);
    ASSERT_EQ(leftInPlace().size(), 1U);

    const Finished listed = open({"--left-behind"}, "");
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("/notes.txt: a copy of " + (dir / "notes.txt.TaZEN")), std::string::npos) << listed.out;
    EXPECT_EQ(leftInPlace().size(), 1U);

    const Finished wrong = open({"--left-behind", "--save-back"}, "not it\n");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("Wrong password for the file: "), std::string::npos) << wrong.err;
    EXPECT_EQ(plain(), "first words\n");

    const Finished saved = open({"--left-behind", "--save-back"});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(plain(), "unsaved\n");
    EXPECT_TRUE(leftInPlace().empty());
}

TEST_F(Open, ARuntimeFolderOnADiskIsRefusedWithoutTheOption)
{
    // The build tree is on a disk where the machine's temporary folder may not be.
    TempDir disk(std::filesystem::path(TAZEN_CLI_PATH).parent_path());
    bool inMemory = false;
    std::string type;
    ASSERT_EQ(platform::IsInMemory(disk.path(), inMemory, type), 0);
    if (inMemory)
        GTEST_SKIP() << disk.path() << " is in memory on this machine";
    ChildProcess::Setup setup;
    setup.input = "secret\n";
    setup.folder = dir.path();
    setup.environment = {"XDG_RUNTIME_DIR=" + disk.path()};
    const Finished refused = RunToEnd(
        cli(), {"open", "--password-stdin", "--with", application("edit", "echo x >> \"$1\""), "notes.txt.TaZEN"},
        setup);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("The folder " + disk.path() + "/tazen-open is on a disk (" + type + ")"),
              std::string::npos)
        << refused.err;
    EXPECT_TRUE(listFolder(disk / "tazen-open").empty());
    EXPECT_EQ(plain(), "first words\n");
}

} // namespace
} // namespace tazen::test
