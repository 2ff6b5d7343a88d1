// Self-extracting executables: when they are made, their bytes, and what a failed build leaves.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <cerrno>
#include <filesystem>

namespace tazen::test {
namespace {

using platform::FileOperation;

class SelfExtracting : public EngineTest
{
protected:
    SelfExtracting()
    {
        extractor = randomBytes(rng, 1000);
        writeFile(program / "extractor-windows.exe", extractor);
        frontend.settings.sourceFiles = 0;
    }
    // The Windows extractor, for the recipient's system by default.
    Bytes extractor;
};

TEST_F(SelfExtracting, AppendsTheEncryptedFileToTheExtractorAndRemovesIt)
{
    writeSettings("[Files]\nMakeSelfExtracting=2\nSourceFiles=0\n");
    const std::string source = makeFile("report.doc", 4968);
    ASSERT_EQ(chmod(source.c_str(), 0640), 0);
    const Bytes plain = readFile(source);
    EXPECT_EQ(encrypt({source}), kAllFilesDone);
    EXPECT_TRUE(frontend.messages.empty());
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"report.doc", "report.doc.TaZEN.exe"}));

    const Bytes executable = readFile(source + ".TaZEN.exe");
    ASSERT_EQ(executable.size(), 6000u);
    EXPECT_TRUE(std::equal(extractor.begin(), extractor.end(), executable.begin()));
    EXPECT_EQ(Bytes(executable.begin() + 1000, executable.end()), referenceFile("secret", plain));
    // Runnable by whoever may read it.
    EXPECT_EQ(modeOf(source + ".TaZEN.exe"), 0750u);

    EXPECT_EQ(frontend.shred.caption, "Creating executable file");
    EXPECT_EQ(frontend.shred.lblHead_.caption, "Creating the executable file: ");
    EXPECT_EQ(frontend.shred.lblFileName_.caption, source + ".TaZEN.exe");
    EXPECT_EQ(frontend.shred.gaugePass_.history.front(), 0);
    EXPECT_EQ(frontend.shred.gaugePass_.history.back(), 100);
    EXPECT_FALSE(frontend.shred.visible);
}

TEST_F(SelfExtracting, IsMadeOnlyWhenTheSettingAsksForIt)
{
    const std::string source = makeFile("a", 10);
    writeSettings("[Files]\nMakeSelfExtracting=0\n");
    EXPECT_EQ(MakeSelfExtractingFile(source, frontend), 0);
    writeSettings("[Files]\nMakeSelfExtracting=abc\n");
    EXPECT_EQ(MakeSelfExtractingFile(source, frontend), 0);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a"});

    // Without a settings file the dialog's check box counts, even from a dialog that was cancelled.
    std::filesystem::remove(SettingsFilePath());
    frontend.settings.selfExtract = true;
    EXPECT_EQ(MakeSelfExtractingFile(source, frontend), 0);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a.exe"});
}

TEST_F(SelfExtracting, WithoutAnExtractorEachFileKeepsItsEncryptedFileAndTheRunSaysSo)
{
    frontend.settings.selfExtract = true;
    frontend.settings.sourceFiles = 1;
    // Only the name counts: neither the Linux extractor nor a name in another case stands in for the Windows one.
    std::filesystem::rename(program / "extractor-windows.exe", program / "extractor-windows.EXE");
    writeFile(program / "extractor", std::string("#!linux"));
    const std::string first = makeFile("first", 10);
    const std::string second = makeFile("second", 10);
    EXPECT_EQ(encrypt({first, second}), kAllFilesDone);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{
                  {MessageKind::Error, "An error occured while creating " + first + " executable."},
                  {MessageKind::Error, "An error occured while creating " + second + " executable."}}));
    // The disposal runs all the same: the encrypted files hold the data.
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first.TaZEN", "second.TaZEN"}));
}

TEST_F(SelfExtracting, TheRecipientsSystemChoosesTheExtractorByTheSameRuleAsTheOtherSettings)
{
    const Bytes linuxExtractor = randomBytes(rng, 700);
    writeFile(program / "extractor", linuxExtractor);
    frontend.settings.selfExtract = true;
    struct Case
    {
        const char* settings; // nullptr: no settings file
        RecipientSystem control;
        std::optional<RecipientSystem> chosen;
        bool linuxExpected;
    };
    const Case cases[] = {
        {"[Files]\nMakeSelfExtracting=1\n", RecipientSystem::Linux, {}, false},
        {"[Files]\nMakeSelfExtracting=1\nRecipientSystem=Windows\n", RecipientSystem::Linux, {}, false},
        {"[Files]\nMakeSelfExtracting=1\nRecipientSystem=Linux\n", RecipientSystem::Windows, {}, true},
        {"[files]\r\nmakeselfextracting = 1\r\nrecipientsystem = \"linux\"\r\n", RecipientSystem::Windows, {}, true},
        {"[Files]\nMakeSelfExtracting=1\nRecipientSystem=Mac\n", RecipientSystem::Linux, {}, false},
        {"[Files]\nMakeSelfExtracting=1\nRecipientSystem=Linux\n", RecipientSystem::Linux, RecipientSystem::Windows,
         false},
        {nullptr, RecipientSystem::Linux, {}, true},
        {nullptr, RecipientSystem::Windows, {}, false},
        {nullptr, RecipientSystem::Windows, RecipientSystem::Linux, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings ? c.settings : "no settings file");
        std::filesystem::remove(SettingsFilePath());
        if (c.settings)
            writeSettings(c.settings);
        frontend.settings.recipientSystem = c.control;
        frontend.settings.recipientSystemOverride = c.chosen;
        const std::string encrypted = makeFile("a.TaZEN", 100);
        const Bytes payload = readFile(encrypted);
        EXPECT_EQ(MakeSelfExtractingFile(encrypted, frontend), 0);
        const Bytes& front = c.linuxExpected ? linuxExtractor : extractor;
        Bytes expected = front;
        expected.insert(expected.end(), payload.begin(), payload.end());
        EXPECT_EQ(readFile(encrypted + ".exe"), expected);
        std::filesystem::remove(encrypted + ".exe");
    }

    // A missing chosen extractor makes nothing, even with the other one there.
    std::filesystem::remove(SettingsFilePath());
    frontend.settings.recipientSystemOverride.reset();
    const std::string encrypted = makeFile("b.TaZEN", 100);
    for (const RecipientSystem system : {RecipientSystem::Linux, RecipientSystem::Windows}) {
        std::filesystem::rename(SelfExtractorPath(system), dir / "away");
        frontend.settings.recipientSystem = system;
        EXPECT_EQ(MakeSelfExtractingFile(encrypted, frontend), ExecutableFailed);
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"away", "b.TaZEN"}));
        std::filesystem::rename(dir / "away", SelfExtractorPath(system));
    }
}

TEST_F(SelfExtracting, ReplacesAnExistingExecutableAndLeavesOnlyItWithDeletion)
{
    frontend.settings.selfExtract = true;
    frontend.settings.sourceFiles = 1;
    const std::string source = makeFile("report.doc", 10);
    writeFile(source + ".TaZEN.exe", std::string("older"));
    EXPECT_EQ(encrypt({source}), kAllFilesDone);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});
    EXPECT_EQ(readFile(source + ".TaZEN.exe").size(), 1042u);
}

TEST_F(SelfExtracting, AFailedCopyKeepsTheEncryptedFileAndLeavesNoPartialExecutable)
{
    const std::string encrypted = makeFile("data.TaZEN", 3u << 20);
    const Bytes content = readFile(encrypted);
    writeFile(encrypted + ".exe", std::string("older"));
    int writes = 0;
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Write && name.rfind(encrypted + ".exe.tmp-", 0) == 0 && ++writes == 3
                   ? ENOSPC
                   : 0;
    });
    EXPECT_FALSE(BuildExecutable(encrypted + ".exe", program / "extractor-windows.exe", encrypted, frontend));
    EXPECT_EQ(readFile(encrypted), content);
    EXPECT_EQ(readText(encrypted + ".exe"), "older");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"data.TaZEN", "data.TaZEN.exe"}));
    EXPECT_FALSE(frontend.shred.visible);

    // An encrypted file that cannot be deleted: the build counts as failed and the executable goes.
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Delete && name == encrypted ? EBUSY : 0;
    });
    EXPECT_FALSE(BuildExecutable(dir / "new.exe", program / "extractor-windows.exe", encrypted, frontend));
    EXPECT_EQ(readFile(encrypted), content);
    EXPECT_FALSE(exists(dir / "new.exe"));
}

TEST_F(SelfExtracting, CancelDoesNotStopTheBuild)
{
    const std::string encrypted = makeFile("data.TaZEN", 3u << 20);
    frontend.onMessages = [&](int) { frontend.shred.modalResult = kModalResultCancel; };
    EXPECT_TRUE(BuildExecutable(encrypted + ".exe", program / "extractor-windows.exe", encrypted, frontend));
    EXPECT_EQ(readFile(encrypted + ".exe").size(), 1000u + (3u << 20));
    EXPECT_EQ(frontend.shred.modalResult, kModalResultCancel);
}

TEST(SelfExtractorPath, IsTheProgramFolderAndTheExtractorForTheSystem)
{
    platform::SetExecutableFolderForTesting("/opt/tazen/");
    EXPECT_EQ(SelfExtractorPath(RecipientSystem::Linux), "/opt/tazen/extractor");
    EXPECT_EQ(SelfExtractorPath(RecipientSystem::Windows), "/opt/tazen/extractor-windows.exe");
    // The settings file is beside the program only where the program's folder may be written.
    const TempDir writable;
    platform::SetExecutableFolderForTesting(writable.path());
    EXPECT_EQ(SettingsFilePath(), writable.path() + "/TaZEN.ini");
    platform::SetExecutableFolderForTesting("/");
    EXPECT_EQ(SelfExtractorPath(RecipientSystem::Linux), "/extractor");
    platform::SetExecutableFolderForTesting("");
}

} // namespace
} // namespace tazen::test
