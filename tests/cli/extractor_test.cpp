// The extractor run as a self-extracting executable: what it restores, what it refuses, and its exit codes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "common/reference_format.h"
#include "engine/crypto.h"
#include "engine/scripted_frontend.h"
#include "engine/selfextract.h"

namespace tazen::test {
namespace {

class Extractor : public ProgramTest
{
protected:
    // The engine's build from the real extractor, around a file made by the independent reference.
    std::string makeExecutable(const std::string& name, const Bytes& plain, const std::string& password = "secret")
    {
        const std::string encrypted = dir / "payload.TaZEN";
        writeFile(encrypted, referenceFile(password, plain));
        ScriptedFrontend frontend;
        EXPECT_TRUE(BuildExecutable(dir / name, extractor(), encrypted, frontend));
        return dir / name;
    }

    Finished extract(const std::string& executable, std::vector<std::string> arguments = {},
                     const std::string& password = "secret")
    {
        arguments.insert(arguments.begin(), "--password-stdin");
        ChildProcess::Setup setup;
        setup.input = password + "\n";
        return RunToEnd(executable, arguments, setup);
    }
};

TEST_F(Extractor, RestoresThePlainFileBesideItselfByteForByte)
{
    for (const std::size_t size : {0u, 5u, 8u, 8193u}) {
        SCOPED_TRACE(size);
        const Bytes plain = randomBytes(rng, size);
        const std::string executable = makeExecutable("report.doc.TaZEN.exe", plain);
        ASSERT_TRUE(SetDates(executable, {kSecondDate, kFirstDate}));
        const Finished run = extract(executable);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readFile(dir / "report.doc"), plain);
        EXPECT_EQ(DatesOf(dir / "report.doc").second, kFirstDate) << "the executable's own";
        // The executable's permissions without its run bits.
        EXPECT_EQ(modeOf(dir / "report.doc"), modeOf(executable) & 0666);
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"report.doc", "report.doc.TaZEN.exe"}));
        std::filesystem::remove(dir / "report.doc");
    }

    TempDir elsewhere;
    const Bytes plain = randomBytes(rng, 100);
    const Finished run = extract(makeExecutable("notes.EXE", plain), {"--output", elsewhere.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(elsewhere / "notes"), plain);
}

TEST_F(Extractor, ListsTheNameItWouldWriteAndTheSizeWithoutAPassword)
{
    const std::pair<std::string, std::string> names[] = {
        {"report.doc.TaZEN.exe", "report.doc"},
        {"report.doc.tazen.exe", "report.doc"},
        {"photo.exe", "photo"},
        {"payload", "payload.out"},
        {".TaZEN.exe", ".TaZEN.exe.out"},
        // Written out, a name can neither break its line nor drive the terminal.
        {"a\nb\x1B[2J.TaZEN.exe", "a\\nb\\x1B[2J"},
    };
    for (const auto& [executable, plainName] : names) {
        SCOPED_TRACE(executable);
        const Finished run = RunToEnd(makeExecutable(executable, Bytes(8193)), {"--list"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "8193 " + plainName + "\n");
    }
}

TEST_F(Extractor, AWrongPasswordEndsWithCodeOneAndWritesNothing)
{
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", randomBytes(rng, 100));
    const Finished run = extract(executable, {}, "Secret");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("wrong password"), std::string::npos) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});
}

TEST_F(Extractor, WithoutATerminalLeavesAnExistingFileAlone)
{
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", randomBytes(rng, 100));
    writeFile(dir / "report.doc", std::string("mine"));
    const Finished run = extract(executable);
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.err.find(dir / "report.doc"), std::string::npos) << run.err;
    EXPECT_EQ(readText(dir / "report.doc"), "mine");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"report.doc", "report.doc.TaZEN.exe"}));
}

TEST_F(Extractor, OnATerminalAsksForThePasswordWithoutEchoAndBeforeReplacing)
{
    const Bytes plain = randomBytes(rng, 100);
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", plain);
    writeFile(dir / "report.doc", std::string("mine"));
    ChildProcess::Setup setup;
    setup.terminal = true;
    for (const char* answer : {"n\n", "y\n"}) {
        ChildProcess child(executable, {}, setup);
        ASSERT_TRUE(child.WaitFor("Password for report.doc: "));
        child.Type("secret\n");
        ASSERT_TRUE(child.WaitFor("Replace? [y/N] "));
        child.Type(answer);
        const Finished run = child.Wait();
        EXPECT_EQ(child.Screen().find("secret"), std::string::npos);
        if (answer[0] == 'n') {
            EXPECT_EQ(run.exitCode, 5);
            EXPECT_EQ(readText(dir / "report.doc"), "mine");
        } else {
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(readFile(dir / "report.doc"), plain);
        }
    }
}

TEST_F(Extractor, TellsAMissingPayloadADamagedOneAndWrongUsageApart)
{
    // Run as itself, nothing appended.
    Finished run = extract(extractor());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("no encrypted file is attached"), std::string::npos) << run.err;

    // Shorter than the check block, which is all the format can verify.
    Bytes image = readFile(extractor());
    image.resize(image.size() + 31, 0xAB);
    writeFile(dir / "short.exe", image);
    ASSERT_EQ(chmod((dir / "short.exe").c_str(), 0700), 0);
    run = extract(dir / "short.exe");
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_NE(run.err.find("31 bytes"), std::string::npos) << run.err;
    EXPECT_EQ(RunToEnd(dir / "short.exe", {"--list"}).exitCode, 4);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"short.exe"});

    const std::string executable = makeExecutable("report.doc.TaZEN.exe", randomBytes(rng, 10));
    EXPECT_EQ(RunToEnd(executable, {"--frobnicate"}).exitCode, 2);
    EXPECT_EQ(RunToEnd(executable, {"--output"}).exitCode, 2);
    // No terminal and no --password-stdin: nowhere to ask.
    run = RunToEnd(executable, {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--password-stdin"), std::string::npos) << run.err;
}

TEST_F(Extractor, StartedWithoutATerminalOnADesktopRunsAgainInATerminalWindow)
{
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", randomBytes(rng, 10));
    // Stands in for the system's terminal: records what it was asked to run, and ends as a terminal that
    // failed would, so its status is seen to come back.
    TempDir bin;
    TempDir empty;
    const std::string record = bin / "record";
    writeFile(bin / "x-terminal-emulator", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >'" + record +
                                               "'\necho \"marker=$TAZEN_IN_TERMINAL_WINDOW\" >>'" + record +
                                               "'\nexit 7\n");
    ASSERT_EQ(chmod((bin / "x-terminal-emulator").c_str(), 0755), 0);
    struct Case
    {
        const char* what;
        std::vector<std::string> environment;
        std::vector<std::string> arguments;
        bool handedOff;
    };
    const std::string onPath = "PATH=" + bin.path();
    const Case cases[] = {
        {"an X display", {onPath, "DISPLAY=:97"}, {"--output", dir.path()}, true},
        {"a Wayland display", {onPath, "WAYLAND_DISPLAY=wayland-97"}, {}, true},
        {"no display", {onPath}, {}, false},
        {"already in the window", {onPath, "DISPLAY=:97", "TAZEN_IN_TERMINAL_WINDOW=1"}, {}, false},
        {"no terminal program", {"PATH=" + empty.path(), "DISPLAY=:97"}, {}, false},
        {"a script's password", {onPath, "DISPLAY=:97"}, {"--password-stdin"}, false},
    };
    const std::string self = std::filesystem::canonical(executable);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(record);
        ChildProcess::Setup setup;
        setup.environment = c.environment;
        const Finished run = RunToEnd(executable, c.arguments, setup);
        if (c.handedOff) {
            EXPECT_EQ(run.exitCode, 7) << run.err;
            std::string expected = "-e\n" + self + "\n";
            for (const std::string& argument : c.arguments)
                expected += argument + "\n";
            EXPECT_EQ(readText(record), expected + "marker=1\n");
            EXPECT_EQ(run.err, "");
        } else {
            // Ends as it always did where no one can be asked.
            EXPECT_FALSE(exists(record));
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_NE(run.err.find(c.arguments.empty() ? "no terminal to ask" : "no password on standard input"),
                      std::string::npos)
                << run.err;
        }
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});
    }
}

TEST_F(Extractor, WithoutATerminalProgramAsksThroughZenityAndReadsThePasswordFromItsOutput)
{
    const Bytes plain = randomBytes(rng, 100);
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", plain);
    // Stands in for zenity: records each call's arguments, types the password into a password dialog.
    TempDir bin;
    const std::string record = bin / "record";
    writeFile(bin / "zenity",
              "#!/bin/sh\necho \"$*\" >>'" + record + "'\ncase \"$1\" in --password) echo secret ;; esac\nexit 0\n");
    ASSERT_EQ(chmod((bin / "zenity").c_str(), 0755), 0);
    ChildProcess::Setup setup;
    setup.environment = {"PATH=" + bin.path(), "DISPLAY=:97"};
    const Finished run = RunToEnd(executable, {}, setup);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(dir / "report.doc"), plain);
    // The password travels on the dialog's output alone, and the outcome is shown.
    EXPECT_EQ(readText(record), "--password --title=Password for report.doc\n--info --no-markup "
                                "--title=report.doc.TaZEN.exe --text=Wrote " +
                                    std::filesystem::canonical(dir / "report.doc").string() + " (100 bytes).\n");
}

} // namespace
} // namespace tazen::test
