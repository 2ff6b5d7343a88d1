// tazen-cli as a process: round trips, password checks, where a run stops, Ctrl+C, and the settings.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "common/reference_format.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <sstream>

namespace tazen::test {
namespace {

using Cli = ProgramTest;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(Cli, EncryptsIntoTheFormatAndDecryptsBackByteForByte)
{
    std::vector<std::string> names;
    std::vector<Bytes> plains;
    for (const std::size_t size : {0u, 5u, 8193u, 1u << 20}) {
        names.push_back(makeFile("file" + std::to_string(size), size));
        plains.push_back(readFile(names.back()));
    }
    std::vector<std::string> encrypt{"encrypt"};
    encrypt.insert(encrypt.end(), names.begin(), names.end());
    Finished run = runCli(encrypt);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> decrypt{"decrypt"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        // Without a settings file the sources stay.
        EXPECT_EQ(readFile(names[i]), plains[i]);
        EXPECT_EQ(readFile(names[i] + ".TaZEN"), referenceFile("secret", plains[i]));
        std::filesystem::remove(names[i]);
        decrypt.push_back(names[i] + ".TaZEN");
    }

    run = runCli(decrypt);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(readFile(names[i]), plains[i]);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"file0", "file1048576", "file5", "file8193"}));
}

TEST_F(Cli, ChecksThePasswordOfEachFileAndWritesNothing)
{
    writeFile(dir / "a.TaZEN", referenceFile("secret", randomBytes(rng, 40)));
    writeFile(dir / "b.TaZEN", referenceFile("other", randomBytes(rng, 40)));
    writeFile(dir / "c.TaZEN", Bytes(31));
    Finished run = runCli({"check", "a.TaZEN"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "a.TaZEN: the password matches\n");

    run = runCli({"check", "a.TaZEN", "b.TaZEN", "c.TaZEN"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "Wrong password for the file: b.TaZEN")) << run.err;
    EXPECT_TRUE(contains(run.err, "too short to be a TaZEN encrypted file: c.TaZEN")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.TaZEN", "b.TaZEN", "c.TaZEN"}));
}

TEST_F(Cli, ADecryptionStopsAtTheFirstFileThatFailsAndSaysWhatWasDone)
{
    const Bytes first = randomBytes(rng, 100);
    writeFile(dir / "first.TaZEN", referenceFile("secret", first));
    writeFile(dir / "second.TaZEN", referenceFile("other", randomBytes(rng, 100)));
    writeFile(dir / "third.TaZEN", referenceFile("secret", randomBytes(rng, 100)));
    const Finished run = runCli({"decrypt", "first.TaZEN", "second.TaZEN", "third.TaZEN"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: Wrong password for the file: second.TaZEN\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: done: first.TaZEN\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: not processed: third.TaZEN\n")) << run.err;
    EXPECT_EQ(readFile(dir / "first"), first);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "second.TaZEN", "third.TaZEN"}));
}

TEST_F(Cli, AMissingFileStopsTheRunBeforeAnyFileIsWritten)
{
    makeFile("a", 10);
    makeFile("c", 10);
    const Finished run = runCli({"encrypt", "a", "missing", "c"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: Could not open source file: \"missing\"\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: missing: No such file or directory\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: not processed: a, c\n")) << run.err;
    EXPECT_FALSE(contains(run.err, "done:")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "c"}));

    // The run's result names the first entry equal to the missing one without regard to case; the report
    // goes by the position the run stopped at.
    const Finished cased = runCli({"encrypt", "a", "c", "A"});
    EXPECT_TRUE(contains(cased.err, "tazen-cli: A: No such file or directory\n")) << cased.err;
    EXPECT_TRUE(contains(cased.err, "tazen-cli: not processed: a, c\n")) << cased.err;

    // So does a name too long to take the extension, with jobs too.
    const std::string longer(NAME_MAX - 5, 'l');
    makeFile(longer, 10);
    const Finished jobs = runCli({"encrypt", "-j", "2", "a", "c", longer});
    EXPECT_EQ(jobs.exitCode, 1);
    EXPECT_TRUE(contains(jobs.err, "Could not create destination file: " + longer + ".TaZEN\n")) << jobs.err;
    // Once: the message gives its reason, so no second explanation follows it.
    EXPECT_EQ(jobs.err.find("File name too long"), jobs.err.rfind("File name too long")) << jobs.err;
    EXPECT_TRUE(contains(jobs.err, "File name too long\n")) << jobs.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "c", longer}));
}

TEST_F(Cli, NeverReplacesAFileWithoutAYesOnTheTerminalOrForce)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::string answer; // typed on a terminal; none without one
        bool replaced;
    };
    const Case cases[] = {
        {{"decrypt", "a.TaZEN"}, "", false},
        {{"decrypt", "--force", "a.TaZEN"}, "", true},
        {{"decrypt", "a.TaZEN"}, "n\n", false},
        {{"decrypt", "a.TaZEN"}, "y\n", true},
        {{"encrypt", "--source", "delete", "a"}, "", false},
        {{"encrypt", "--source", "delete", "--force", "a"}, "", true},
    };
    const Bytes plain = randomBytes(rng, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front() + " " + c.answer);
        const bool decrypting = c.arguments.front() == "decrypt";
        // decrypt finds a newer plain file, encrypt an earlier encrypted one.
        const std::string existing = decrypting ? "a" : "a.TaZEN";
        writeFile(dir / existing, std::string("kept"));
        writeFile(dir / (decrypting ? "a.TaZEN" : "a"), decrypting ? referenceFile("secret", plain) : plain);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.begin() + 1, "--password-stdin");
        ChildProcess::Setup setup;
        setup.input = "secret\n";
        setup.folder = dir.path();
        setup.terminal = !c.answer.empty();
        ChildProcess child(cli(), arguments, setup);
        if (setup.terminal) {
            ASSERT_TRUE(child.WaitFor("Replace " + existing + "? [y/N] ")) << child.Screen();
            child.Type(c.answer);
        }
        const Finished run = child.Wait();
        EXPECT_EQ(run.exitCode, c.replaced ? 0 : 1) << run.err;
        if (c.replaced) {
            EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{existing});
            EXPECT_NE(readText(dir / existing), "kept");
        } else {
            EXPECT_EQ(readText(dir / existing), "kept");
            EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "a.TaZEN"}));
            EXPECT_TRUE(
                contains(run.err, "tazen-cli: " + existing + (setup.terminal ? " was not replaced" : " exists")))
                << run.err;
        }
        std::filesystem::remove(dir / "a");
        std::filesystem::remove(dir / "a.TaZEN");
    }
}

TEST_F(Cli, AFileNotReplacedIsNamedAsNotProcessedNeverAsDone)
{
    for (const char* jobs : {"-j1", "-j2"}) {
        SCOPED_TRACE(jobs);
        writeFile(dir / "a", std::string("kept"));
        for (const char* name : {"a.TaZEN", "b.TaZEN"})
            writeFile(dir / name, referenceFile("secret", randomBytes(rng, 100)));
        ChildProcess::Setup setup;
        setup.input = "secret\n";
        setup.folder = dir.path();
        const Finished run =
            ChildProcess(cli(), {"decrypt", "--password-stdin", jobs, "a.TaZEN", "b.TaZEN"}, setup).Wait();
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(contains(run.err, "tazen-cli: done: b.TaZEN\n")) << run.err;
        EXPECT_TRUE(contains(run.err, "tazen-cli: not processed: a.TaZEN\n")) << run.err;
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "a.TaZEN", "b"}));
        for (const char* name : {"a", "a.TaZEN", "b"})
            std::filesystem::remove(dir / name);
    }
}

TEST_F(Cli, ASettingsFileThatCannotBeReadStopsEncryptionUnlessTheSourceIsChosen)
{
    makeFile("a", 10);
    ASSERT_EQ(::mkdir((program / "TaZEN.ini").c_str(), 0700), 0);
    Finished run = runCli({"encrypt", "a"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(contains(run.err, "settings file " + program / "TaZEN.ini" + ": it is a folder")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a"});
    run = runCli({"encrypt", "--source", "keep", "a"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "a.TaZEN"}));
}

TEST_F(Cli, NamesThatLookLikeOptionsOrAreNotTextReachTheEngineAsGiven)
{
    const std::string odd = "not \xFF text\nwith a line break\r";
    const std::vector<std::string> names = {"-dotted", "-name", odd};
    std::vector<Bytes> plains;
    for (const std::string& name : names)
        plains.push_back(readFile(makeFile(name, 100)));
    Finished run = runCli({"encrypt", "--source", "delete", "./-dotted", "--", "-name", odd});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"-dotted.TaZEN", "-name.TaZEN", odd + ".TaZEN"}));
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(referenceDecrypt("secret", readFile(dir / (names[i] + ".TaZEN"))), plains[i]) << i;

    run = runCli({"decrypt", "./-dotted.TaZEN", "--", "-name.TaZEN", odd + ".TaZEN"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(readFile(dir / names[i]), plains[i]) << i;
    EXPECT_EQ(listFolder(dir.path()).size(), names.size());

    // Shown, such a name stays on its line and cannot drive the terminal.
    const std::string hostile = "gone\n\x1B[2J\tx";
    run = runCli({"encrypt", hostile});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: Could not open source file: \"gone\\n\\x1B[2J\\tx\"\n"
                                  "tazen-cli: This could happen if the file is write-protected.\n"))
        << run.err;
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos);
}

TEST_F(Cli, APathBeyondTheSystemsLimitIsRefusedWithTheSystemsReason)
{
    // The system refuses such a name before it looks for the file.
    std::string tooLong = dir.path();
    while (tooLong.size() <= PATH_MAX)
        tooLong += "/" + std::string(200, 'd');
    makeFile("a", 10);
    const Finished run = runCli({"encrypt", "a", tooLong});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: Could not open source file: \"" + tooLong + "\"\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: " + tooLong + ": File name too long\n")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a"});
}

TEST_F(Cli, ADestinationThatCannotBeMadeIsNamedWithTheReason)
{
    makeFile("a", 10);
    writeFile(dir / "a.TaZEN", std::string("kept"));
    ASSERT_EQ(::chmod((dir / "a.TaZEN").c_str(), 0444), 0);
    Finished run = runCli({"encrypt", "a"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: Could not create destination file: a.TaZEN\n"
                                  "tazen-cli: a.TaZEN: it exists and is write-protected: its owner has no write "
                                  "permission\n"))
        << run.err;
    EXPECT_EQ(readText(dir / "a.TaZEN"), "kept");

    makeFile("b", 10);
    ASSERT_EQ(::mkdir((dir / "b.TaZEN").c_str(), 0700), 0);
    run = runCli({"encrypt", "b"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: b.TaZEN: it is a folder\n")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "a.TaZEN", "b", "b.TaZEN"}));
}

TEST_F(Cli, AFifoIsNeverOpenedForDataAndEveryCommandNamesIt)
{
    // Nobody writes into them: a command that opened one for data would wait for ever.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.TaZEN").c_str(), 0600), 0);
    Finished run = runCli({"encrypt", "pipe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: pipe: it is not a regular file\n")) << run.err;
    run = runCli({"decrypt", "pipe.TaZEN"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: pipe.TaZEN: it is not a regular file\n")) << run.err;
    run = runCli({"check", "pipe.TaZEN"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "tazen-cli: cannot read pipe.TaZEN: it is not a regular file\n")) << run.err;
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    run = RunToEnd(cli(), {"shred", "pipe"}, setup);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tazen-cli: cannot shred pipe: it is not a regular file\n");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"pipe", "pipe.TaZEN"}));
}

TEST_F(Cli, CtrlCDuringALargeFileRemovesItsTemporaryFileAndLeavesTheSource)
{
    // Sparse: 64 MiB to encrypt, nearly nothing on disk.
    const std::string big = dir / "big";
    constexpr off_t kSize = off_t{64} << 20;
    writeFile(big, std::string());
    ASSERT_EQ(::truncate(big.c_str(), kSize), 0);
    struct stat before;
    ASSERT_EQ(::stat(big.c_str(), &before), 0);

    ChildProcess::Setup setup;
    setup.input = "secret\n";
    setup.progressPipe = true;
    setup.folder = dir.path();
    ChildProcess child(cli(), {"encrypt", "--password-stdin", "--progress-fd", "3", "big"}, setup);
    EXPECT_EQ(child.ProgressLine(), "# Encrypting big");
    // Interrupted once the run reports that it is under way.
    std::string line;
    while ((line = child.ProgressLine()) == "0")
        ;
    ASSERT_FALSE(line.empty()) << "the run ended before it reported progress";
    child.Signal(SIGINT);
    const Finished run = child.Wait();

    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_TRUE(contains(run.err, "Encryption canceled at big")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"big"});
    struct stat after;
    ASSERT_EQ(::stat(big.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, kSize);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(Cli, TheSourceOptionWinsOverTheSettingsFileAndShredsOnRequest)
{
    writeFile(program / "TaZEN.ini", std::string("[Files]\nSourceFiles=1\n"));
    makeFile("deleted", 10);
    makeFile("kept", 10);
    const Bytes shreddedPlain = readFile(makeFile("shredded", 3000));
    EXPECT_EQ(runCli({"encrypt", "deleted"}).exitCode, 0);
    EXPECT_EQ(runCli({"encrypt", "--source", "keep", "kept"}).exitCode, 0);
    EXPECT_EQ(runCli({"encrypt", "--source=shred", "shredded"}).exitCode, 0);
    EXPECT_EQ(listFolder(dir.path()),
              (std::vector<std::string>{"deleted.TaZEN", "kept", "kept.TaZEN", "shredded.TaZEN"}));
    EXPECT_EQ(referenceDecrypt("secret", readFile(dir / "shredded.TaZEN")), shreddedPlain);
}

TEST_F(Cli, ShredsEachFileItCanAndNamesTheOnesItCannot)
{
    makeFile("one", 5000);
    makeFile("two", 10);
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    const Finished run = RunToEnd(cli(), {"shred", "one", "missing", "two"}, setup);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tazen-cli: cannot shred missing: No such file or directory\n");
    EXPECT_TRUE(listFolder(dir.path()).empty());
}

TEST_F(Cli, MakesASelfExtractingExecutableThatRestoresTheFile)
{
    const Bytes plain = readFile(makeFile("report.doc", 5000));
    // Bare, the option takes the recipient's system from the settings file.
    writeFile(program / "TaZEN.ini", std::string("[Files]\nRecipientSystem=Linux\n"));
    Finished run = runCli({"encrypt", "--self-extracting", "--source", "delete", "report.doc"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});

    ChildProcess::Setup setup;
    setup.input = "secret\n";
    run = RunToEnd(dir / "report.doc.TaZEN.exe", {"--password-stdin"}, setup);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(dir / "report.doc"), plain);
}

TEST_F(Cli, MakesTheExecutableFromTheExtractorOfTheChosenSystem)
{
    makeFile("a", 10);
    // Without the Windows extractor beside the program, the described failure; the encrypted file stays.
    Finished run = runCli({"encrypt", "--self-extracting=windows", "--source", "keep", "a"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("An error occured while creating a executable."), std::string::npos) << run.err;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "a.TaZEN"}));
    std::filesystem::remove(dir / "a.TaZEN");

    // With no settings file, Windows is the default; the option wins over a settings file's choice.
    writeFile(program / "extractor-windows.exe", std::string("MZ stand-in"));
    for (const auto& [settings, option] : {std::pair<const char*, const char*>{nullptr, "--self-extracting"},
                                           {"[Files]\nRecipientSystem=Linux\n", "--self-extracting=windows"}}) {
        SCOPED_TRACE(option);
        if (settings)
            writeFile(program / "TaZEN.ini", std::string(settings));
        run = runCli({"encrypt", option, "--source", "keep", "a"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readText(dir / "a.TaZEN.exe").rfind("MZ stand-in", 0), 0u);
        std::filesystem::remove(dir / "a.TaZEN.exe");
    }
}

TEST_F(Cli, AsksTwiceOnTheTerminalWithoutEchoAndRefusesDifferentPasswords)
{
    makeFile("a", 10);
    ChildProcess::Setup setup;
    setup.terminal = true;
    setup.folder = dir.path();
    ChildProcess child(cli(), {"encrypt", "a"}, setup);
    ASSERT_TRUE(child.WaitFor("Enter password: "));
    child.Type("first\n");
    ASSERT_TRUE(child.WaitFor("Confirm password: "));
    child.Type("First\n");
    const Finished run = child.Wait();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tazen-cli: Passwords do not match.\n");
    EXPECT_FALSE(contains(child.Screen(), "irst")) << child.Screen();
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a"});
}

TEST_F(Cli, EncryptRefusesAnEmptyPasswordUnlessAllowedAndDecryptTakesIt)
{
    const Bytes plain = readFile(makeFile("f", 100));
    Finished run = runCli({"encrypt", "--source", "delete", "f"}, "");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(contains(run.err, "tazen-cli: The password is empty.\n")) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"f"});
    EXPECT_EQ(readFile(dir / "f"), plain);

    run = runCli({"encrypt", "--allow-empty-password", "--source", "delete", "f"}, "");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(dir / "f.TaZEN"), referenceFile("", plain));
    EXPECT_EQ(runCli({"decrypt", "f.TaZEN"}, "").exitCode, 0);
}

TEST_F(Cli, APasswordFileGivesItsFirstLineWithoutAByteOrderMarkAndSaysWhatLooksAmiss)
{
    writeFile(dir / "a.TaZEN", referenceFile("secret", randomBytes(rng, 40)));
    struct Case
    {
        std::string content; // of the password file; none: /dev/zero
        mode_t mode;
        int exitCode;
        std::string err; // all of it when the check succeeds, else a part
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFsecret\r\nsecond line", 0600, 0, ""},
        {"secret\n", 0644, 0,
         "tazen-cli: warning: other users may read the password file pw; chmod 600 keeps it to you\n"},
        {"secret\t\n", 0600, 1, "tazen-cli: note: the password ends in a blank or a tab, which is part of it\n"},
        {std::string(64 * 1024, 'x') + "\r\n", 0600, 1, "Wrong password for the file: a.TaZEN"},
        {std::string(64 * 1024 + 1, 'x'), 0600, 2, "longer than 64 KiB"},
        {"", 0, 2, "longer than 64 KiB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.content.substr(0, 20)));
        writeFile(dir / "pw", c.content);
        ASSERT_EQ(::chmod((dir / "pw").c_str(), c.mode), 0);
        ChildProcess::Setup setup;
        setup.folder = dir.path();
        const std::string file = c.content.empty() ? "/dev/zero" : "pw";
        const Finished run = RunToEnd(cli(), {"check", "--password-file", file, "a.TaZEN"}, setup);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.exitCode == 0)
            EXPECT_EQ(run.err, c.err);
        else
            EXPECT_TRUE(contains(run.err, c.err)) << run.err;
    }
}

TEST_F(Cli, AFolderStandsForTheFilesAFolderAddOfTheWindowFinds)
{
    std::filesystem::create_directories(dir / "top/sub");
    std::filesystem::create_directory(dir / "top/.hidden");
    const Bytes a = readFile(makeFile("top/a", 20));
    const Bytes b = readFile(makeFile("top/sub/b", 30));
    makeFile("top/.hidden/c", 5);

    Finished run = runCli({"encrypt", "-r", "--source", "delete", "top"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: 2 files found for encryption in top; left out: 1 hidden folder\n"))
        << run.err;
    EXPECT_EQ(listFolder(dir / "top"), (std::vector<std::string>{".hidden", "a.TaZEN", "sub"}));
    EXPECT_EQ(listFolder(dir / "top/sub"), std::vector<std::string>{"b.TaZEN"});
    EXPECT_EQ(listFolder(dir / "top/.hidden"), std::vector<std::string>{"c"}) << "hidden folders are not entered";

    // Without -r, the folder's own files alone.
    run = runCli({"decrypt", "top"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "tazen-cli: 1 TaZEN encrypted file found in top/\n")) << run.err;
    EXPECT_EQ(readFile(dir / "top/a"), a);
    EXPECT_TRUE(exists(dir / "top/sub/b.TaZEN"));

    run = runCli({"decrypt", "--recursive", "top"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(dir / "top/sub/b"), b);

    // Each rule that kept a folder out is counted.
    std::filesystem::create_directory_symlink("sub", dir / "top/link");
    std::filesystem::create_directory(dir / "top/kept");
    std::filesystem::permissions(dir / "top/kept",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    run = runCli({"decrypt", "-r", "top"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tazen-cli: No TaZEN encrypted files found in top or its sub directories; left out: 1 hidden "
                       "folder, 1 write-protected folder, 1 link to a folder.\n");
}

TEST_F(Cli, EncryptSaysHowSoonAWeakPasswordIsGuessedAndRefusesOneBelowMinStrength)
{
    makeFile("f", 10);
    std::filesystem::copy_file(TAZEN_WORD_LIST_PATH, program / "eff_large_wordlist.txt");
    const std::string weak = "tazen-cli: Weak: guessed in about 4 months by one current graphics card.\n";
    const std::string strong = "washtub bagpipe unfeeling luridness imprison ploy";
    struct Case
    {
        std::vector<std::string> options;
        std::string password;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {{}, "Tr0ub4dor&3", 0, weak},
        {{"--quiet"}, "Tr0ub4dor&3", 0, ""},
        {{"--min-strength", "1"}, "Tr0ub4dor&3", 0, weak},
        {{"--min-strength", "2"},
         "Tr0ub4dor&3",
         2,
         weak + "tazen-cli: --min-strength 2 asks for Fair or stronger; nothing was encrypted ('tazen-cli "
                "passphrase' makes a strong password)\n"},
        {{"--quiet", "--min-strength=4"},
         "washtub bagpipe unfeeling luridness",
         2,
         "tazen-cli: Fair: guessed in about 4 thousand years by one current graphics card.\n"
         "tazen-cli: --min-strength 4 asks for Strong or stronger; nothing was encrypted ('tazen-cli passphrase' "
         "makes a strong password)\n"},
        {{"--min-strength", "4"}, strong, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password + " " + testing::PrintToString(c.options));
        std::vector<std::string> arguments{"encrypt", "--force"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.push_back("f");
        const Finished run = runCli(arguments, c.password);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(std::filesystem::exists(dir / "f.TaZEN"), c.exitCode == 0);
        std::filesystem::remove(dir / "f.TaZEN");
    }
}

TEST_F(Cli, PassphraseDrawsTheWordsFromTheListBesideTheProgram)
{
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    Finished run = RunToEnd(cli(), {"passphrase"}, setup);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "cannot read the word list")) << run.err;
    // A damaged list would give the same word again, or shorter passphrases than the help promises.
    std::ofstream(program / "eff_large_wordlist.txt") << "11111\tabacus\n";
    run = RunToEnd(cli(), {"passphrase"}, setup);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tazen-cli: the word list " + (program / "eff_large_wordlist.txt") +
                           " holds 1 distinct word, not 7776\n");

    std::filesystem::copy_file(TAZEN_WORD_LIST_PATH, program / "eff_large_wordlist.txt",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string list = readText(program / "eff_large_wordlist.txt");
    std::vector<std::string> seen;
    for (const auto& [arguments, count] : std::vector<std::pair<std::vector<std::string>, std::size_t>>{
             {{"passphrase"}, 6}, {{"passphrase"}, 6}, {{"passphrase", "1"}, 1}, {{"passphrase", "64"}, 64}}) {
        run = RunToEnd(cli(), arguments, setup);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_TRUE(run.out.ends_with("\n"));
        std::istringstream words(run.out);
        std::size_t counted = 0;
        for (std::string word; words >> word; ++counted)
            EXPECT_TRUE(contains(list, "\t" + word + "\n")) << word;
        EXPECT_EQ(counted, count) << run.out;
        seen.push_back(run.out);
    }
    EXPECT_NE(seen[0], seen[1]) << "each passphrase is drawn anew";
    for (const char* wrong : {"0", "65", "six", "-1"})
        EXPECT_EQ(RunToEnd(cli(), {"passphrase", wrong}, setup).exitCode, 2) << wrong;
}

// A name that could drive the terminal is shown escaped in every kind of text the programs print.
TEST_F(Cli, NamesAreEscapedInUsageErrorsRunMessagesProgressLinesAndTheExtractor)
{
    writeFile(dir / "w\xed\xa0\x80.TaZEN", referenceFile("other", randomBytes(rng, 100)));
    makeFile("e\x1b]0;x\x07\xff", 10);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"decrypt", "a\x1b[2Jb"}, "tazen-cli: a\\x1B[2Jb does not end in .TaZEN"},
        {{"encrypt", "--x\ny", "f"}, "tazen-cli: '--x\\ny' is not an option"},
        {{"check", "--password-file", "p\xc2\x85", "f"}, "tazen-cli: cannot read the password file p\\xC2\\x85: "},
        {{"decrypt", "--password-stdin", "w\xed\xa0\x80.TaZEN"}, "Wrong password for the file: w\\xED\\xA0\\x80.TaZEN"},
        {{"encrypt", "--password-stdin", "--progress-fd", "3", "e\x1b]0;x\x07\xff"},
         "# Encrypting e\\x1B]0;x\\x07\\xFF\n"},
        {{"extractor", "\xc2\x9b"
                       "1m"},
         "extractor: unexpected argument '\\xC2\\x9B1m'"},
    };
    for (auto [arguments, shown] : cases) {
        SCOPED_TRACE(shown);
        const bool extracting = arguments[0] == "extractor";
        if (extracting)
            arguments.erase(arguments.begin());
        ChildProcess child(extracting ? extractor() : cli(), arguments, {"secret\n", true, false, dir.path(), {}});
        std::string text;
        for (std::string line; !(line = child.ProgressLine()).empty();)
            text += line + "\n";
        text += child.Wait().err;
        EXPECT_TRUE(contains(text, shown)) << text;
    }
}

TEST_F(Cli, RefusesWrongUsageWithCodeTwoBeforeTouchingAnything)
{
    makeFile("plain", 10);
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"scramble", "plain"},
        {"encrypt"},
        {"encrypt", "--source", "burn", "plain"},
        {"decrypt", "plain"},
        {"decrypt", "plain.tazen"}, // only the exact extension makes an encrypted file
        {"shred", "--password-stdin", "plain"},
        {"encrypt", "--progress-fd", "9", "plain"},
        {"encrypt", "plain"}, // no terminal to ask for the password on
        {"encrypt", "--min-strength", "5", "plain"},
        {"decrypt", "--min-strength", "1", "plain.TaZEN"},
    };
    for (const auto& arguments : wrong) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments[0] + " " + arguments.back());
        ChildProcess::Setup setup;
        setup.folder = dir.path();
        EXPECT_EQ(RunToEnd(cli(), arguments, setup).exitCode, 2);
    }
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"plain"});
}

} // namespace
} // namespace tazen::test
