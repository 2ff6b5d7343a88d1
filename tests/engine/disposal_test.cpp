// What becomes of a source after encryption: the setting that decides it, deletion, and 35-pass shredding.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

namespace tazen::test {
namespace {

using platform::FileOperation;

using Disposal = EngineTest;

// What the disposal did to a file: kept, deleted outright, or shredded (the shred dialog was shown).
std::string outcome(DisposalResult result, const std::string& name, const ScriptedFrontend& frontend)
{
    if (result != Done)
        return "failed";
    if (exists(name))
        return "kept";
    return frontend.shred.shows > 0 ? "shredded" : "deleted";
}

TEST_F(Disposal, FollowsTheSourceFilesSettingWithItsReadingRules)
{
    struct Case
    {
        std::string settings;
        std::string expected;
    };
    const Case cases[] = {
        {"[Files]\nSourceFiles=0\n", "kept"},
        {"[Files]\nSourceFiles=1\n", "deleted"},
        {"[Files]\nSourceFiles=2\n", "shredded"},
        {"[Files]\nSourceFiles=7\n", "kept"},
        {"[Files]\nSourceFiles=-1\n", "kept"},
        {"[Files]\nSourceFiles=0x2\n", "shredded"},
        {"[files]\nsourcefiles = 0\r\n", "kept"},
        {"[Files]\nSourceFiles=abc\n", "deleted"}, // unreadable: the default, 1
        {"[Files]\nMakeSelfExtracting=1\n", "deleted"},
        {"", "deleted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        writeSettings(c.settings);
        frontend.shred.shows = 0;
        // The dialog's controls count only while there is no settings file.
        frontend.settings.sourceFiles = 0;
        const std::string source = makeFile("source", 10);
        EXPECT_EQ(outcome(DisposeSourceFile(source, frontend), source, frontend), c.expected);
        std::filesystem::remove(source);
    }
}

TEST_F(Disposal, WithoutASettingsFileFollowsTheDialogsControlsAsTheyStand)
{
    const std::pair<int, std::string> cases[] = {{0, "kept"}, {1, "deleted"}, {2, "shredded"}, {-1, "kept"}};
    for (const auto& [index, expected] : cases) {
        SCOPED_TRACE(index);
        frontend.settings.sourceFiles = index;
        frontend.shred.shows = 0;
        const std::string source = makeFile("source", 10);
        EXPECT_EQ(outcome(DisposeSourceFile(source, frontend), source, frontend), expected);
        std::filesystem::remove(source);
    }
}

TEST_F(Disposal, ASourceThatCannotBeDeletedOrIsALinkIsReportedAndLeftAlone)
{
    const std::string locked = makeFile("locked", 10);
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    EXPECT_EQ(DisposeSourceFile(locked, frontend), NotDeleted);
    EXPECT_TRUE(exists(locked));

    // Removing a link would leave the plain file it points to.
    const std::string target = makeFile("target", 10);
    const Bytes content = readFile(target);
    const std::string link = dir / "link";
    std::filesystem::create_symlink(target, link);
    EXPECT_EQ(DisposeSourceFile(link, frontend), NotDeleted);
    frontend.settings.sourceFiles = 2;
    EXPECT_EQ(DisposeSourceFile(link, frontend), NotShredded);
    EXPECT_TRUE(exists(link));
    EXPECT_EQ(readFile(target), content);
    EXPECT_EQ(frontend.shred.shows, 0);
}

TEST_F(Disposal, TheEncryptionRunWarnsForEachSourceItCouldNotDispose)
{
    frontend.settings.sourceFiles = 1;
    const std::string locked = makeFile("locked", 10);
    const std::string target = makeFile("target", 10);
    const std::string link = dir / "link";
    std::filesystem::create_symlink(target, link);
    // Read-only only once its encryption is under way; the opening would refuse it.
    frontend.onMessages = [&](int round) {
        if (round == 2)
            chmod(locked.c_str(), 0444);
    };
    EXPECT_EQ(EncryptFiles(cipher, {locked, link}, "pw", message, frontend), kAllFilesDone);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, "Source file " + locked + " not deleted."},
                                         {MessageKind::Warning, "Source file " + link + " not deleted."}}));

    frontend.messages.clear();
    frontend.settings.sourceFiles = 2;
    EXPECT_EQ(EncryptFiles(cipher, {link}, "pw", message, frontend), kAllFilesDone);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, "Source file " + link + " not thoroughly shredded."}}));
}

TEST_F(Disposal, AValueChosenForTheRunWinsOverTheSettingsFileKeyByKey)
{
    writeFile(program / "extractor-windows.exe", std::string("#!extractor"));
    writeSettings("[Files]\nSourceFiles=1\nMakeSelfExtracting=1\n");
    frontend.settings.sourceFilesOverride = SourceFiles::Leave;
    const std::string kept = makeFile("kept", 10);
    EXPECT_EQ(encrypt({kept}), kAllFilesDone);
    // The executable was not chosen for the run, so the file still asks for it.
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"kept", "kept.TaZEN.exe"}));

    frontend.settings.selfExtractOverride = false;
    frontend.settings.sourceFilesOverride = SourceFiles::Shred;
    frontend.shred.shows = 0;
    const std::string shredded = makeFile("shredded", 10);
    EXPECT_EQ(encrypt({shredded}), kAllFilesDone);
    EXPECT_EQ(frontend.shred.shows, 1); // shredded; no executable was built
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"kept", "kept.TaZEN.exe", "shredded.TaZEN"}));
    EXPECT_TRUE(frontend.messages.empty());
}

TEST_F(Disposal, TheSettingIsReadAgainForEveryFile)
{
    writeSettings("[Files]\nSourceFiles=1\n");
    const std::string first = makeFile("first", 10);
    const std::string second = makeFile("second", 10);
    // Edited by hand while the run works on the second file.
    frontend.onMessages = [&](int) {
        if (frontend.progress.lblFilename_.caption == second)
            writeSettings("[Files]\nSourceFiles=0\n");
    };
    EXPECT_EQ(EncryptFiles(cipher, {first, second}, "pw", message, frontend), kAllFilesDone);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first.TaZEN", "second", "second.TaZEN"}));
}

// The outcomes the run reports when a source cannot, or cannot safely, be disposed of: another name for its
// data, a file system that keeps earlier copies, and a folder of its path swapped for a link to another
// folder between the read and the disposal.
TEST_F(Disposal, KeepsOrWarnsForSourcesWhoseDisposalWouldNotDoWhatItSays)
{
    enum class Setup
    {
        HardLink,
        CopyOnWrite,
        SwappedFolder
    };
    struct Case
    {
        Setup setup;
        int choice;
        std::string warning; // after "Source file " + name; empty for none
        bool sourceLeft;
    };
    const std::string links = std::string("\n\rOther names (hard links) still lead to its data.");
    const Case cases[] = {
        {Setup::HardLink, 1, " not deleted." + links, true},
        {Setup::HardLink, 2, " not thoroughly shredded." + links, true},
        {Setup::CopyOnWrite, 2,
         " not thoroughly shredded.\n\rThe file system keeps earlier copies of changed data (copy-on-write).", false},
        {Setup::CopyOnWrite, 1, "", false},
        {Setup::SwappedFolder, 1, "", false},
        {Setup::SwappedFolder, 2, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.setup) * 10 + c.choice);
        TempDir scratch;
        const std::filesystem::path work = scratch.path();
        std::filesystem::create_directories(work / "shared" / "sub");
        std::filesystem::create_directories(work / "docs");
        const std::string source = (work / "shared" / "sub" / "notes.txt").string();
        writeFile(source, randomBytes(rng, 5000));
        const Bytes plain = readFile(source);
        // What another name, or a file in the folder a swapped link leads to, holds.
        const std::string other = (work / "docs" / "notes.txt").string();
        writeFile(other, randomBytes(rng, 300));
        const Bytes otherContent = readFile(other);
        if (c.setup == Setup::HardLink) {
            std::filesystem::remove(other);
            std::filesystem::create_hard_link(source, other);
        }
        frontend = ScriptedFrontend();
        frontend.settings.sourceFiles = c.choice;
        platform::SetFaultHook([&](FileOperation operation, const std::string&) {
            return c.setup == Setup::CopyOnWrite && operation == FileOperation::OverwriteInPlace ? EXDEV : 0;
        });
        frontend.onMessages = [&](int) {
            // Once the source is being read, its folder goes and a link to the other folder takes its place.
            if (c.setup == Setup::SwappedFolder && frontend.progress.gaugeFile_.history.size() == 2) {
                std::filesystem::rename(work / "shared" / "sub", work / "shared" / "moved");
                std::filesystem::create_directory_symlink(work / "docs", work / "shared" / "sub");
            }
        };
        EXPECT_EQ(encrypt({source}), kAllFilesDone) << message;
        const std::vector<ShownMessage> expected =
            c.warning.empty() ? std::vector<ShownMessage>{}
                              : std::vector<ShownMessage>{{MessageKind::Warning, "Source file " + source + c.warning}};
        EXPECT_EQ(frontend.messages, expected);
        if (c.setup == Setup::SwappedFolder) {
            // Everything happened in the folder that was read, none of it in the one the link leads to.
            EXPECT_EQ(listFolder((work / "docs").string()), std::vector<std::string>{"notes.txt"});
            EXPECT_EQ(listFolder((work / "shared" / "moved").string()), std::vector<std::string>{"notes.txt.TaZEN"});
            EXPECT_EQ(readFile(other), otherContent);
            continue;
        }
        EXPECT_EQ(exists(source), c.sourceLeft);
        EXPECT_EQ(readFile(other), c.setup == Setup::HardLink ? plain : otherContent);
        EXPECT_TRUE(exists(source + ".TaZEN"));
    }
}

class Shredding : public EngineTest
{
protected:
    // Records the file's length and content at the flush that ends each pass.
    void recordPasses(const std::string& name)
    {
        platform::SetFaultHook([this, name](FileOperation operation, const std::string& file) {
            if (operation == FileOperation::Sync && file == name)
                passes.push_back(readFile(name));
            return 0;
        });
    }
    std::vector<Bytes> passes;
};

TEST_F(Shredding, WritesTheGutmannSequenceInPlaceWithTheLengthsOfEachPass)
{
    const std::string name = makeFile("secret", 10);
    struct stat before;
    ASSERT_EQ(stat(name.c_str(), &before), 0);
    std::set<ino_t> inodes;
    platform::SetFaultHook([&](FileOperation operation, const std::string& file) {
        if (operation == FileOperation::Sync && file == name) {
            passes.push_back(readFile(name));
            struct stat info;
            stat(name.c_str(), &info);
            inodes.insert(info.st_ino);
        }
        return 0;
    });
    const ShredOutcome report = ShredFile(name, frontend);
    EXPECT_TRUE(report);
    EXPECT_TRUE(report.deleted);
    EXPECT_FALSE(exists(name));
    // Every pass wrote into the same file, not a new one under the same name.
    EXPECT_EQ(inodes, std::set<ino_t>{before.st_ino});

    // Gutmann's 35 passes as published; an empty pattern is a random pass, one byte repeated.
    // clang-format off
    const std::vector<Bytes> gutmann = {
        {}, {}, {}, {},                                                             // 1-4
        {0x55}, {0xAA}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49}, // 5-9
        {0x00}, {0x11}, {0x22}, {0x33}, {0x44}, {0x55}, {0x66}, {0x77}, {0x88},     // 10-18
        {0x99}, {0xAA}, {0xBB}, {0xCC}, {0xDD}, {0xEE}, {0xFF},                     // 19-25
        {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49},                 // 26-28
        {0x6D, 0xB6, 0xDB}, {0xB6, 0xDB, 0x6D}, {0xDB, 0x6D, 0xB6},                 // 29-31
        {}, {}, {}, {},                                                             // 32-35
    };
    // clang-format on
    ASSERT_EQ(passes.size(), gutmann.size());
    for (std::size_t pass = 0; pass < gutmann.size(); ++pass) {
        SCOPED_TRACE(pass + 1);
        const Bytes& content = passes[pass];
        const Bytes& pattern = gutmann[pass];
        if (pattern.empty()) {
            ASSERT_EQ(content.size(), 10u);
            EXPECT_EQ(std::count(content.begin(), content.end(), content[0]), 10);
            EXPECT_LE(content[0], 254);
            continue;
        }
        // A three-byte pattern is written in whole units, so the file grows to the next multiple of 3.
        ASSERT_EQ(content.size(), pattern.size() == 3 ? 12u : 10u);
        for (std::size_t i = 0; i < content.size(); ++i)
            EXPECT_EQ(content[i], pattern[i % pattern.size()]) << i;
    }
    EXPECT_EQ(frontend.shred.caption, "File shredding (Gutman pass-35)");
    EXPECT_EQ(frontend.shred.lblHead_.caption, "Shredding file:");
    EXPECT_EQ(frontend.shred.lblFileName_.caption, name);
    ASSERT_EQ(frontend.shred.lblpass_.history.size(), 35u);
    EXPECT_EQ(frontend.shred.lblpass_.history.front(), "Pass 1 of 35");
    EXPECT_EQ(frontend.shred.lblpass_.history.back(), "Pass 35 of 35");
    EXPECT_FALSE(frontend.shred.visible);
}

TEST_F(Shredding, KeepsThreeBytePatternsInStepAcrossLargeWrites)
{
    const std::size_t size = (1u << 20) + 1;
    const std::string name = makeFile("large", size);
    recordPasses(name);
    EXPECT_TRUE(ShredFile(name, frontend));
    ASSERT_EQ(passes.size(), 35u);
    const Bytes& seventh = passes[6];
    ASSERT_EQ(seventh.size(), (size + 2) / 3 * 3);
    const std::uint8_t pattern[3] = {0x92, 0x49, 0x24};
    for (std::size_t i = 0; i < seventh.size(); ++i)
        ASSERT_EQ(seventh[i], pattern[i % 3]) << i;
    EXPECT_EQ(passes[9], Bytes(size, 0x00));
    EXPECT_EQ(frontend.shred.gaugePass_.history.back(), 100);
}

TEST_F(Shredding, AnEmptyFileGoesThroughEveryPassAndIsDeleted)
{
    const std::string name = makeFile("empty", 0);
    recordPasses(name);
    EXPECT_TRUE(ShredFile(name, frontend));
    EXPECT_EQ(passes, std::vector<Bytes>(35));
    EXPECT_FALSE(exists(name));
}

TEST_F(Shredding, CancelEndsThePassDeletesTheFileAndClearsTheFlag)
{
    const std::string name = makeFile("secret", 1000);
    frontend.onMessages = [&](int) {
        if (frontend.shred.lblpass_.caption == "Pass 3 of 35")
            frontend.shred.modalResult = kModalResultCancel;
    };
    recordPasses(name);
    EXPECT_FALSE(ShredFile(name, frontend));
    EXPECT_EQ(passes.size(), 2u);
    EXPECT_FALSE(exists(name));
    EXPECT_EQ(frontend.shred.modalResult, 0);
    EXPECT_FALSE(frontend.shred.visible);
    EXPECT_TRUE(frontend.messages.empty());

    // Through the disposal, a cancelled shredding is reported as not thoroughly shredded.
    frontend.settings.sourceFiles = 2;
    frontend.onMessages = [&](int) { frontend.shred.modalResult = kModalResultCancel; };
    const std::string again = makeFile("again", 10);
    EXPECT_EQ(DisposeSourceFile(again, frontend), NotShredded);
}

TEST_F(Shredding, AFailedWriteLeavesTheFileWithAnAbortBox)
{
    const std::string name = makeFile("secret", 1000);
    int writes = 0;
    platform::SetFaultHook([&](FileOperation operation, const std::string& file) {
        return operation == FileOperation::Write && file == name && ++writes == 6 ? ENOSPC : 0;
    });
    frontend.shred.modalResult = 0;
    EXPECT_FALSE(ShredFile(name, frontend));
    EXPECT_TRUE(exists(name));
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::AbortError, "Could not over-write the file: " + name}}));
    EXPECT_FALSE(frontend.shred.visible);
    EXPECT_EQ(frontend.shred.lblpass_.caption, "Pass 6 of 35");
}

TEST_F(Shredding, NeverGoesThroughASymbolicLink)
{
    const std::string target = makeFile("target", 100);
    const Bytes content = readFile(target);
    const std::string link = dir / "link";
    std::filesystem::create_symlink(target, link);
    EXPECT_FALSE(ShredFile(link, frontend));
    EXPECT_EQ(readFile(target), content);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::AbortError, "Could not over-write the file: " + link}}));
}

TEST_F(Shredding, ANameSwappedForALinkAfterItWasCheckedIsNotFollowed)
{
    frontend.settings.sourceFiles = 2;
    const std::string name = makeFile("swapped", 100);
    const std::string target = makeFile("target", 100);
    const Bytes content = readFile(target);
    // Between the disposal's look at the name and the shredding's opening of it.
    platform::SetFaultHook([&](FileOperation operation, const std::string& file) {
        if (operation == FileOperation::Open && file == name) {
            std::filesystem::rename(name, dir / "moved");
            std::filesystem::create_symlink(target, name);
        }
        return 0;
    });
    EXPECT_EQ(DisposeSourceFile(name, frontend), NotShredded);
    EXPECT_EQ(readFile(target), content);
    EXPECT_TRUE(platform::IsSymbolicLink(name));
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::AbortError, "Could not over-write the file: " + name}}));
}

TEST_F(Shredding, AFailedFinalDeletionIsReportedAsNotDeleted)
{
    frontend.settings.sourceFiles = 2;
    const std::string name = makeFile("stuck", 10);
    platform::SetFaultHook([&](FileOperation operation, const std::string& file) {
        return operation == FileOperation::Delete && file == name ? EBUSY : 0;
    });
    EXPECT_EQ(DisposeSourceFile(name, frontend), NotDeleted);
    // Overwritten by the last random pass: ten equal bytes.
    const Bytes left = readFile(name);
    EXPECT_EQ(std::count(left.begin(), left.end(), left[0]), 10);
}

// A device that garbles one byte of a new file, on its way out or on its way back: whatever the new file was
// to stand for (its source, the encrypted file of an executable, an older file of its name) survives as it
// was, unless verification was turned off.
TEST_F(Disposal, NothingGoesBeforeTheFileThatStandsForItReadsBackAsItsBytes)
{
    struct Case
    {
        const char* what;
        bool decrypting;
        std::size_t size;
        FileOperation garbled;
        int sourceFiles;
        bool selfExtract;
        std::int64_t at; // the garbled byte's offset in the new file
        int threads;
        bool older; // a file of the new file's name exists
        bool verify;
    };
    // Past the 16 MiB step after which flushed parts are read back while the run goes on.
    constexpr std::size_t kLarge = (std::size_t{17} << 20) + 5;
    constexpr std::int64_t kPayload = 32 + 1000;
    constexpr std::int64_t kExtractor = 3000;
    const FileOperation write = FileOperation::Write, read = FileOperation::Read;
    const Case cases[] = {
        {"written, deleted", false, 100003, write, 1, false, kPayload, 0, false, true},
        {"read back, shredded", false, 100003, read, 2, false, kPayload, 0, false, true},
        {"read back early in a large file", false, kLarge, read, 1, false, kPayload, 0, false, true},
        {"written over an older file, source kept", false, 100003, write, 0, false, kPayload, 0, true, true},
        {"the executable's attached part", false, 100003, write, 1, true, kExtractor + kPayload, 0, false, true},
        {"the executable's extractor part, over an older one", false, 100003, write, 0, true, 1000, 0, true, true},
        {"decrypted", true, 100003, write, 0, false, 1000, 1, false, true},
        {"decrypted on 2 threads over an older file", true, kLarge, write, 0, false, (9 << 20) + 3, 2, true, true},
        {"decrypted, read back early on 2 threads", true, kLarge, read, 0, false, (1 << 20) + 7, 2, false, true},
        {"written, verification off", false, 100003, write, 1, false, kPayload, 0, false, false},
        {"decrypted, verification off", true, 100003, write, 0, false, 1000, 1, false, false},
    };
    writeFile(program / "extractor-windows.exe", randomBytes(rng, kExtractor));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string plainName = dir / (std::string("file ") + c.what);
        const std::string encrypted = plainName + ".TaZEN";
        const Bytes plain = randomBytes(rng, c.size);
        const std::string source = c.decrypting ? encrypted : plainName;
        writeFile(source, c.decrypting ? referenceFile("secret", plain) : plain);
        const Bytes content = readFile(source);
        const std::string made = c.decrypting ? plainName : c.selfExtract ? encrypted + ".exe" : encrypted;
        if (c.older)
            writeFile(made, std::string("older"));
        frontend.settings.sourceFilesOverride = SourceFilesOf(c.sourceFiles);
        frontend.settings.selfExtractOverride = c.selfExtract;
        frontend.settings.verify = c.verify;
        frontend.decryptionThreads = c.threads;
        frontend.messages.clear();
        platform::SetDataHook([&](FileOperation operation, const std::string& file, std::uint8_t* data,
                                  std::int64_t size, std::int64_t offset) {
            if (operation == c.garbled && file.rfind(made + ".tmp-", 0) == 0 && offset <= c.at && c.at < offset + size)
                data[c.at - offset] ^= 0x20;
        });
        const int result = c.decrypting ? decrypt({source}) : encrypt({source});
        platform::SetDataHook(nullptr);
        if (c.verify) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(message, std::string(c.decrypting ? "Could not verify the decrypted file: "
                                                        : "Could not verify the encrypted file: ") +
                                   made);
            ASSERT_TRUE(exists(source));
            EXPECT_EQ(readFile(source), content);
            if (c.older) {
                EXPECT_EQ(readText(made), "older");
            } else {
                EXPECT_FALSE(exists(made));
            }
            // An executable's encrypted file stays with the source.
            EXPECT_TRUE(exists(encrypted) || !c.selfExtract);
        } else {
            EXPECT_EQ(result, kAllFilesDone);
            EXPECT_FALSE(exists(source));
        }
        EXPECT_TRUE(frontend.messages.empty());
        EXPECT_TRUE(withTemporaryNames(listFolder(dir.path())).empty());
        for (const std::string& name : {plainName, encrypted, encrypted + ".exe"})
            std::filesystem::remove(name);
    }
}

} // namespace
} // namespace tazen::test
