// tazen-cli's output folder and its batches under several passwords, as a process.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "common/reference_format.h"

namespace tazen::test {
namespace {

using Habits = ProgramTest;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(Habits, OutputFolderTakesTheTreeBelowANamedFolderUnderItsName)
{
    std::filesystem::create_directories(dir / "photos/a/b");
    const Bytes deep = randomBytes(rng, 300);
    writeFile(dir / "photos/a/b/x", deep);
    makeFile("photos/y", 20);
    makeFile("loose", 20);
    std::filesystem::create_directory(dir / "out");
    const Finished run = runCli({"encrypt", "-qr", "-o", "out", "photos", "loose"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(dir / "out/photos/a/b/x.TaZEN"), referenceFile("secret", deep));
    EXPECT_TRUE(std::filesystem::exists(dir / "out/photos/y.TaZEN"));
    EXPECT_TRUE(std::filesystem::exists(dir / "out/loose.TaZEN"));
    // Nothing beside the sources.
    EXPECT_EQ(listFolder(dir / "photos/a/b"), std::vector<std::string>{"x"});

    std::filesystem::remove(dir / "photos/a/b/x");
    const Finished back = runCli({"decrypt", "--output-dir=" + dir / "photos/a/b", "-k", "out/photos/a/b/x.TaZEN"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(readFile(dir / "photos/a/b/x"), deep);
    EXPECT_TRUE(std::filesystem::exists(dir / "out/photos/a/b/x.TaZEN"));
}

TEST_F(Habits, AnOutputFolderThatCannotTakeFilesStopsBeforeAnyFileIsTouched)
{
    makeFile("a", 10);
    writeFile(dir / "plain", std::string("x"));
    std::filesystem::create_directory(dir / "locked");
    std::filesystem::permissions(dir / "locked",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const struct
    {
        std::string folder;
        std::string reason;
    } cases[] = {
        {"missing", "No such file or directory"},
        {"plain", "it is not a folder"},
        // root may write anywhere; then the case says nothing.
        {"locked", ::geteuid() == 0 ? "" : "Permission denied"},
    };
    for (const auto& c : cases) {
        if (c.reason.empty())
            continue;
        SCOPED_TRACE(c.folder);
        const Finished run = runCli({"encrypt", "--source", "delete", "-o", c.folder, "a"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, "tazen-cli: cannot write into the output folder " + c.folder + ": " + c.reason +
                               "\ntazen-cli: nothing was done\n");
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "locked", "plain"}));
    }
}

// Four files under four passwords, the first three in password files.
class Passwords : public ProgramTest
{
protected:
    Passwords()
    {
        for (std::size_t i = 0; i < 4; ++i) {
            plains.push_back(randomBytes(rng, 100 + i * 9000));
            restore(i);
        }
        for (std::size_t i = 0; i < 3; ++i) {
            writeFile(dir / ("p" + std::to_string(i)), passwords[i] + "\n");
            std::filesystem::permissions(dir / ("p" + std::to_string(i)), std::filesystem::perms::owner_read);
        }
    }

    Finished decrypt(std::vector<std::string> options, std::vector<std::string> files)
    {
        std::vector<std::string> arguments{"decrypt", "--password-file", "p0", "--password-file",
                                           "p1",      "--password-file", "p2"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.insert(arguments.end(), files.begin(), files.end());
        ChildProcess::Setup setup;
        setup.folder = dir.path();
        return RunToEnd(cli(), arguments, setup);
    }

    bool decrypted(std::size_t i) { return std::filesystem::exists(dir / plainNames[i]); }

    // b is a self-extracting executable, searched once for every password's check block.
    void restore(std::size_t i)
    {
        Bytes bytes = i == 1 ? readFile(extractor()) : Bytes();
        const Bytes encrypted = referenceFile(passwords[i], plains[i]);
        bytes.insert(bytes.end(), encrypted.begin(), encrypted.end());
        writeFile(dir / names[i], bytes);
    }

    const std::vector<std::string> passwords{"one", "two", "three", "four"};
    const std::vector<std::string> names{"a.TaZEN", "b.TaZEN.exe", "c.TaZEN", "d.TaZEN"};
    const std::vector<std::string> plainNames{"a", "b", "c", "d"};
    std::vector<Bytes> plains;
};

TEST_F(Passwords, EachFileIsOpenedByTheFirstPasswordThatMatchesAndKeepGoingLeavesTheRest)
{
    const struct
    {
        std::vector<std::string> options;
        std::vector<std::string> files;
        int exitCode;
        std::vector<std::string> said;
        std::vector<bool> done;
    } cases[] = {
        {{}, {"c.TaZEN", "a.TaZEN", "b.TaZEN.exe"}, 0, {}, {true, true, true, false}},
        {{"-j2"}, {"c.TaZEN", "a.TaZEN", "b.TaZEN.exe"}, 0, {}, {true, true, true, false}},
        // Without a terminal a file no password opens stops the run, as with one password.
        {{},
         {"a.TaZEN", "d.TaZEN", "b.TaZEN.exe"},
         1,
         {"Wrong password for the file: d.TaZEN", "done: a.TaZEN", "not processed: b.TaZEN.exe"},
         {true, false, false, false}},
        {{"--keep-going"},
         {"a.TaZEN", "d.TaZEN", "b.TaZEN.exe", "c.TaZEN"},
         1,
         {"Wrong password: d.TaZEN", "done: a.TaZEN, b.TaZEN.exe, c.TaZEN", "not processed: d.TaZEN"},
         {true, true, true, false}},
        {{"--keep-going", "-j", "3"},
         {"d.TaZEN", "a.TaZEN", "b.TaZEN.exe", "c.TaZEN"},
         1,
         {"Wrong password: d.TaZEN", "done: a.TaZEN, b.TaZEN.exe, c.TaZEN", "not processed: d.TaZEN"},
         {true, true, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options) + testing::PrintToString(c.files));
        const Finished run = decrypt(c.options, c.files);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        for (const std::string& line : c.said)
            EXPECT_TRUE(contains(run.err, "tazen-cli: " + line + "\n")) << run.err;
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(decrypted(i), c.done[i]) << names[i];
            if (c.done[i])
                EXPECT_EQ(readFile(dir / plainNames[i]), plains[i]);
            else
                EXPECT_TRUE(std::filesystem::exists(dir / names[i])) << names[i];
            std::filesystem::remove(dir / plainNames[i]);
            restore(i);
        }
    }
}

TEST_F(Passwords, OnATerminalTheToolAsksForAnotherPasswordOnceAndAnEmptyAnswerSkips)
{
    // e is under the fourth password too: the one typed for d opens it without a question.
    writeFile(dir / "e.TaZEN", referenceFile("four", plains[0]));
    for (const int run : {0, 1, 2, 3}) {
        const bool typed = run % 2 == 0;
        // One file at a time, and three: the question comes from the run's own thread either way.
        const std::string jobs = run < 2 ? "-j1" : "-j3";
        SCOPED_TRACE(jobs + (typed ? " typed" : " skipped"));
        ChildProcess::Setup setup;
        setup.folder = dir.path();
        setup.terminal = true;
        ChildProcess child(cli(),
                           {"decrypt", "--password-file", "p0", "--password-file", "p1", "--password-file", "p2", jobs,
                            "d.TaZEN", "a.TaZEN", "e.TaZEN"},
                           setup);
        const std::string question = "Wrong password for d.TaZEN. Another password (empty to skip): ";
        ASSERT_TRUE(child.WaitFor(question)) << child.Screen();
        if (typed) {
            child.Type("wrong\n");
            ASSERT_TRUE(child.WaitFor(question)) << child.Screen();
            child.Type("four\n");
        } else {
            child.Type("\n");
            // Nothing opened d, so nothing opens e either.
            ASSERT_TRUE(child.WaitFor("Wrong password for e.TaZEN. Another")) << child.Screen();
            child.Type("\n");
        }
        const Finished ended = child.Wait();
        EXPECT_EQ(ended.exitCode, typed ? 0 : 1) << ended.err;
        EXPECT_EQ(decrypted(3), typed);
        EXPECT_TRUE(decrypted(0));
        EXPECT_EQ(std::filesystem::exists(dir / "e"), typed);
        if (!typed) {
            EXPECT_TRUE(contains(ended.err, "tazen-cli: Wrong password: d.TaZEN\n")) << ended.err;
            EXPECT_TRUE(contains(ended.err, "tazen-cli: not processed: d.TaZEN, e.TaZEN\n")) << ended.err;
        }
        if (typed) {
            EXPECT_FALSE(contains(child.Screen(), "Wrong password for e.TaZEN")) << child.Screen();
        }
        for (const char* name : {"a", "d", "e"})
            std::filesystem::remove(dir / name);
        writeFile(dir / "a.TaZEN", referenceFile("one", plains[0]));
        writeFile(dir / "d.TaZEN", referenceFile("four", plains[3]));
        writeFile(dir / "e.TaZEN", referenceFile("four", plains[0]));
    }
}

} // namespace
} // namespace tazen::test
