// The Windows extractor as a self-extracting executable under Wine: names and passwords beyond ASCII, a wrong
// password, an existing file. The Wine prefix and its one server are the CTest fixture's (WINEPREFIX).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_fixture.h"
#include "common/reference_format.h"
#include "engine/scripted_frontend.h"
#include "engine/selfextract.h"

namespace tazen::test {
namespace {

class WindowsExtractor : public ProgramTest
{
protected:
    // The fixture's prefix and server, which every Wine child inherits.
    WindowsExtractor()
    {
        ::setenv("WINEPREFIX", TAZEN_WINE_PREFIX, 1);
        ::setenv("WINEDEBUG", "-all", 1);
    }

    // The engine's build from the Windows extractor, around a file the independent reference made from the
    // password's bytes as the original Windows program hashes them.
    std::string makeExecutable(const std::string& name, const Bytes& plain, const std::string& passwordBytes)
    {
        const std::string encrypted = dir / "payload.TaZEN";
        writeFile(encrypted, referenceFile(passwordBytes, plain));
        ScriptedFrontend frontend;
        EXPECT_TRUE(BuildExecutable(dir / name, TAZEN_WINDOWS_EXTRACTOR_PATH, encrypted, frontend));
        std::filesystem::remove(encrypted);
        return dir / name;
    }

    // The password typed as UTF-8 on standard input, as a script gives it on either system.
    static Finished extract(const std::string& executable, const std::string& password)
    {
        ChildProcess::Setup setup;
        setup.input = password + "\n";
        return RunToEnd(TAZEN_WINE64_PATH, {executable, "--password-stdin"}, setup);
    }
};

TEST_F(WindowsExtractor, RestoresNamesAndPasswordsBeyondAsciiByteForByte)
{
    struct Case
    {
        const char* executable;
        const char* plainName;
        const char* password;      // as typed, UTF-8
        const char* passwordBytes; // what the key is made from
    };
    const Case cases[] = {
        // Every character has a Windows-1252 byte: those bytes, as on Windows.
        {"Bericht ö.txt.TaZEN.exe", "Bericht ö.txt", "Grüße",
         "Gr\xFC\xDF"
         "e"},
        // Not all have one: the UTF-8 bytes.
        {"日本.TaZEN.EXE", "日本", "пароль", "пароль"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        // Past one chunk, with a short last piece.
        const Bytes plain = randomBytes(rng, 300'001);
        const std::string executable = makeExecutable(c.executable, plain, c.passwordBytes);
        ASSERT_TRUE(SetDates(executable, {kSecondDate, kFirstDate}));
        const Finished run = extract(executable, c.password);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(DatesOf(dir / c.plainName).second, kFirstDate) << "the executable's own last-write time";
        EXPECT_EQ(readFile(dir / c.plainName), plain);
        // No temporary name stays behind.
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{c.plainName, c.executable}));
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
    }
}

TEST_F(WindowsExtractor, AWrongPasswordOrAnExistingFileLeavesTheFolderAsItWas)
{
    const Bytes plain = randomBytes(rng, 1000);
    const std::string executable = makeExecutable("report.doc.TaZEN.exe", plain,
                                                  "Gr\xFC\xDF"
                                                  "e");

    Finished run = extract(executable, "Grüsse");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("wrong password"), std::string::npos) << run.err;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});

    // Nobody to say yes: the file stays as it is, byte for byte.
    const Bytes mine = randomBytes(rng, 70'000);
    writeFile(dir / "report.doc", mine);
    run = extract(executable, "Grüße");
    EXPECT_EQ(run.exitCode, 5) << run.err;
    EXPECT_NE(run.err.find("report.doc already exists and was not replaced"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir / "report.doc"), mine);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"report.doc", "report.doc.TaZEN.exe"}));
}

} // namespace
} // namespace tazen::test
