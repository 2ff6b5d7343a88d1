// The runs against what a hostile or careless neighbour can put in their way: names that are not text or
// come near the system's limits, sources that change under the run, links, and folders that refuse writes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/fileformat.h"

#include "common/reference_format.h"
#include "common/scoped_env.h"
#include "engine/engine_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>

namespace tazen::test {
namespace {

using platform::FileOperation;

bool isFifo(const std::string& name)
{
    struct stat info;
    return ::lstat(name.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Folders nested under root until the innermost one's path is exactly length bytes long.
std::string deepFolder(std::string folder, std::size_t length)
{
    while (folder.size() < length) {
        const std::size_t left = length - folder.size() - 1;
        std::size_t part = std::min<std::size_t>(200, left);
        if (left - part == 1)
            --part; // a last step of one byte would leave no room for a name
        folder += "/" + std::string(part, 'd');
        if (::mkdir(folder.c_str(), 0700) != 0)
            throw std::runtime_error("cannot make " + folder);
    }
    return folder;
}

class HostileNames : public EngineTest
{
protected:
    HostileNames() { frontend.settings.sourceFiles = 1; }
};

TEST_F(HostileNames, NamesThatAreNotTextHoldLineBreaksOrBeginWithADashGoThereAndBack)
{
    const std::vector<std::string> bases = {
        "not \xFF\xFE text", "line\nbreak", "carriage\rreturn", "\n", "-rf", "--", "-"};
    const ScopedWorkingFolder here(dir.path());
    std::vector<Bytes> plains;
    for (std::size_t i = 0; i < bases.size(); ++i) {
        makeFile(bases[i], 100 * i);
        plains.push_back(readFile(dir / bases[i]));
    }
    // As a command line gives them: relative, bare, and nothing between a dash and an option but the caller.
    EXPECT_EQ(encrypt(bases), kAllFilesDone) << message;
    EXPECT_EQ(frontend.progress.lblFilename_.history, bases);
    std::vector<std::string> encrypted;
    for (std::size_t i = 0; i < bases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(exists(dir / bases[i]));
        EXPECT_EQ(referenceDecrypt("secret", readFile(dir / (bases[i] + ".TaZEN"))), plains[i]);
        encrypted.push_back(bases[i] + ".TaZEN");
    }

    EXPECT_EQ(decrypt(encrypted), kAllFilesDone) << message;
    for (std::size_t i = 0; i < bases.size(); ++i)
        EXPECT_EQ(readFile(dir / bases[i]), plains[i]) << i;
    EXPECT_EQ(listFolder(dir.path()).size(), bases.size());
}

TEST_F(HostileNames, NamesThatDifferOnlyInCaseAreDifferentFiles)
{
    const std::string lower = makeFile("a", 10);
    const std::string upper = makeFile("A", 20);
    // Ends in the extension only for one who disregards case: a plain file like any other.
    const std::string lookalike = makeFile("b.tazen", 40);
    const Bytes lowerPlain = readFile(lower), upperPlain = readFile(upper), lookalikePlain = readFile(lookalike);

    EXPECT_EQ(encrypt({lower, upper, lookalike}), kAllFilesDone) << message;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"A.TaZEN", "a.TaZEN", "b.tazen.TaZEN"}));
    EXPECT_EQ(referenceDecrypt("secret", readFile(lower + ".TaZEN")), lowerPlain);
    EXPECT_EQ(referenceDecrypt("secret", readFile(upper + ".TaZEN")), upperPlain);

    EXPECT_EQ(decrypt({upper + ".TaZEN", lower + ".TaZEN", lookalike + ".TaZEN"}), kAllFilesDone) << message;
    EXPECT_EQ(readFile(lower), lowerPlain);
    EXPECT_EQ(readFile(upper), upperPlain);
    EXPECT_EQ(readFile(lookalike), lookalikePlain);
}

TEST_F(HostileNames, PathsUpToTheSystemsLimitGoThereAndBackAndOneBeyondIsRefused)
{
    // The encrypted file's path is 4095 bytes, the longest there is.
    const std::string folder = deepFolder(dir.path(), PATH_MAX - 1 - 6 - 1 - 100);
    const std::string source = folder + "/" + std::string(100, 'n');
    const std::string encrypted = source + ".TaZEN";
    ASSERT_EQ(encrypted.size(), static_cast<std::size_t>(PATH_MAX - 1));
    writeFile(source, randomBytes(rng, 20000));
    const Bytes plain = readFile(source);

    EXPECT_EQ(encrypt({source}), kAllFilesDone) << message;
    EXPECT_EQ(referenceDecrypt("secret", readFile(encrypted)), plain);
    EXPECT_FALSE(exists(source));
    EXPECT_EQ(decrypt({encrypted}), kAllFilesDone) << message;
    EXPECT_EQ(readFile(source), plain);
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{std::string(100, 'n')});

    // One byte longer and the encrypted file's path would pass the limit: refused, not made where no path reaches.
    const std::string longer = folder + "/" + std::string(101, 'n');
    writeFile(longer, plain);
    EXPECT_EQ(encrypt({longer}), 0);
    EXPECT_EQ(message, "Could not create destination file: " + longer + ".TaZEN");
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(readFile(longer), plain);
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{std::string(100, 'n'), std::string(101, 'n')}));

    // Nor an executable whose name passes it: the encrypted file stays, the failure is shown.
    writeFile(program / "extractor-windows.exe", std::string("#!extractor"));
    frontend.settings.selfExtractOverride = true;
    EXPECT_EQ(encrypt({source}), kAllFilesDone) << message;
    EXPECT_EQ(frontend.messages, (std::vector<ShownMessage>{{MessageKind::Error, "An error occured while creating " +
                                                                                     source + " executable."}}));
    EXPECT_EQ(referenceDecrypt("secret", readFile(encrypted)), plain);
    EXPECT_EQ(withTemporaryNames(listFolder(folder)), std::vector<std::string>{});
}

TEST_F(HostileNames, NamesUpToTheLimitOnANameGoThereAndBackAndLongerOnesAreRefusedBeforeAnythingIsTouched)
{
    // The encrypted file's name is 255 bytes, the longest there is; its temporary name is cut to fit.
    const std::string source = makeFile(std::string(NAME_MAX - 6, 'n'), 10000);
    const Bytes plain = readFile(source);
    EXPECT_EQ(encrypt({source}), kAllFilesDone) << message;
    EXPECT_EQ(decrypt({source + ".TaZEN"}), kAllFilesDone) << message;
    EXPECT_EQ(readFile(source), plain);

    // A name that cannot take the extension, or ".TaZEN.exe" when an executable is wanted, is found by the
    // pre-check: the file listed before it is not touched.
    writeFile(program / "extractor-windows.exe", std::string("#!extractor"));
    const std::string first = makeFile("first", 10);
    struct Case
    {
        std::size_t length;
        bool executable;
        const char* extension;
    };
    for (const Case& c : {Case{NAME_MAX - 5, false, ".TaZEN"}, Case{NAME_MAX - 9, true, ".TaZEN.exe"}}) {
        SCOPED_TRACE(c.extension);
        frontend.settings.selfExtractOverride = c.executable;
        const std::string longer = makeFile(std::string(c.length, 'l'), 10000);
        EXPECT_EQ(encrypt({first, longer}), 1);
        EXPECT_EQ(message, "Could not create destination file: " + longer + c.extension + "\n\r" +
                               platform::ErrorText(ENAMETOOLONG));
        EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
        EXPECT_EQ(listFolder(dir.path()),
                  (std::vector<std::string>{"first", std::string(c.length, 'l'), std::string(NAME_MAX - 6, 'n')}));
        std::filesystem::remove(longer);
    }
}

TEST_F(HostileNames, APathBeyondTheSystemsLimitIsRefusedByNameBeforeAnythingIsWritten)
{
    const std::string folder = deepFolder(dir.path(), 4000);
    const std::string base(200, 'n');
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folderDescriptor, 0);
    // The folder's removal cannot reach what no path can name.
    const struct Unlinker
    {
        ~Unlinker()
        {
            ::unlinkat(folder, base.c_str(), 0);
            ::unlinkat(folder, (base + ".TaZEN").c_str(), 0);
            ::close(folder);
        }
        int folder;
        std::string base;
    } unlinker{folderDescriptor, base};
    // Made relative to its folder: the file is there, only its path is too long to name it.
    for (const std::string& name : {base, base + ".TaZEN"}) {
        const int descriptor = ::openat(folderDescriptor, name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(descriptor, 0);
        ASSERT_EQ(::write(descriptor, "0123456789012345678901234567890123456789", 40), 40);
        ::close(descriptor);
    }
    const std::string first = makeFile("first", 10);
    const std::string tooLong = folder + "/" + base;
    ASSERT_GT(tooLong.size(), static_cast<std::size_t>(PATH_MAX));

    EXPECT_EQ(encrypt({first, tooLong}), 1);
    EXPECT_EQ(message, openFailureText(tooLong));
    EXPECT_EQ(frontend.progress.events, std::vector<std::string>{"HideProgress"});
    EXPECT_EQ(decrypt({tooLong + ".TaZEN"}), 0);
    EXPECT_EQ(message, openFailureText(tooLong + ".TaZEN"));
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{base, base + ".TaZEN"}));
    EXPECT_TRUE(exists(first));
}

class HostileFiles : public EngineTest
{
protected:
    HostileFiles() { frontend.settings.sourceFiles = 1; }

    // Calls act once, in the first pass over the named file: its opening and first read are behind it.
    void inFirstPassOf(const std::string& name, std::function<void()> act)
    {
        frontend.onMessages = [this, name, act, namedAt = 0](int round) mutable {
            if (frontend.progress.lblFilename_.caption != name)
                return;
            if (namedAt == 0)
                namedAt = round;
            else if (round == namedAt + 1)
                act();
        };
    }

    // A folder with a plain file and an encrypted one, and a file before it to show the run went that far.
    struct LockedFolder
    {
        std::string folder;
        std::string first;
        std::string inside;
        std::string encrypted;
        Bytes plain;
    };
    LockedFolder lockedFolder()
    {
        LockedFolder locked;
        locked.folder = dir / "locked";
        locked.first = makeFile("first", 10);
        std::filesystem::create_directory(locked.folder);
        locked.inside = makeFile("locked/x", 100);
        locked.plain = readFile(locked.inside);
        locked.encrypted = dir / "locked/y.TaZEN";
        writeFile(locked.encrypted, referenceFile("secret", locked.plain));
        return locked;
    }

    // Both runs stop at the folder's file, naming what they could not create, and leave the folder as it was.
    void expectRefused(const LockedFolder& locked)
    {
        EXPECT_EQ(encrypt({locked.first, locked.inside}), 1);
        EXPECT_EQ(message, "Could not create destination file: " + locked.inside + ".TaZEN");
        EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
        EXPECT_EQ(decrypt({locked.encrypted}), 0);
        EXPECT_EQ(message, "Could not create destination file: " + dir / "locked/y");
        EXPECT_EQ(readFile(locked.inside), locked.plain);
        EXPECT_EQ(listFolder(locked.folder), (std::vector<std::string>{"x", "y.TaZEN"}));
    }

    static void append(const std::string& name, const Bytes& more)
    {
        Bytes content = readFile(name);
        content.insert(content.end(), more.begin(), more.end());
        writeFile(name, content);
    }
};

TEST_F(HostileFiles, ASourceThatGrowsOrShrinksBeforeItsTurnIsEncryptedAsItThenIs)
{
    const std::string first = makeFile("first", 100);
    const std::string grows = makeFile("grows", 20000);
    const std::string shrinks = makeFile("shrinks", 300000);
    Bytes grown, shrunk;
    // While the run names the first file: after the pre-check measured them all.
    frontend.onMessages = [&](int round) {
        if (round != 1)
            return;
        append(grows, randomBytes(rng, 50000));
        ASSERT_EQ(::truncate(shrinks.c_str(), 1000), 0);
        grown = readFile(grows);
        shrunk = readFile(shrinks);
    };
    EXPECT_EQ(encrypt({first, grows, shrinks}), kAllFilesDone) << message;
    EXPECT_EQ(referenceDecrypt("secret", readFile(grows + ".TaZEN")), grown);
    EXPECT_EQ(referenceDecrypt("secret", readFile(shrinks + ".TaZEN")), shrunk);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first.TaZEN", "grows.TaZEN", "shrinks.TaZEN"}));
    EXPECT_TRUE(frontend.messages.empty());
    EXPECT_EQ(frontend.progress.gaugeTotal_.history.back(), 100);
}

// What was read is not what the file holds: its new file goes, it is kept as it now is, and the run stops
// there as for a failed read, whatever the source setting.
TEST_F(HostileFiles, AFileThatGrowsOrShrinksWhileItIsReadStopsTheRunAndIsKept)
{
    struct Case
    {
        const char* what;
        int sourceFiles; // -1: decrypted
        int threads;
        bool grows;
    };
    const Case cases[] = {
        {"kept, grows", 0, 0, true},
        {"deleted, shrinks", 1, 0, false},
        {"shredded, grows", 2, 0, true},
        {"decrypted, grows", -1, 1, true},
        {"decrypted on 2 threads, shrinks", -1, 2, false},
    };
    const Bytes plain = randomBytes(rng, (std::size_t{5} << 19) + 11); // two and a half chunks
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool decrypting = c.sourceFiles < 0;
        frontend.settings.sourceFilesOverride = SourceFilesOf(c.sourceFiles);
        frontend.decryptionThreads = c.threads;
        frontend.messages.clear();
        const std::string listed = decrypting ? ".TaZEN" : "", made = decrypting ? "" : ".TaZEN";
        std::vector<std::string> names;
        for (const char* base : {"first", "changes", "after"}) {
            names.push_back(dir / base + listed);
            writeFile(names.back(), decrypting ? referenceFile("secret", plain) : plain);
        }
        // Before the read of the second chunk: a file still being copied in, or cut by someone else.
        int reads = 0;
        platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
            if (operation == FileOperation::Read && name == names[1] && ++reads == (decrypting ? 3 : 2)) {
                if (c.grows)
                    append(name, randomBytes(rng, 5000));
                else
                    EXPECT_EQ(::truncate(name.c_str(), 100), 0);
            }
            return 0;
        });
        EXPECT_EQ(decrypting ? decrypt(names) : encrypt(names), 1);
        platform::SetFaultHook(nullptr);
        EXPECT_EQ(message, "Source file " + names[1] + " changed while it was read.");
        EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
        EXPECT_TRUE(frontend.messages.empty());
        EXPECT_TRUE(exists(dir / ("first" + made)));
        EXPECT_EQ(exists(names[0]), c.sourceFiles == 0);
        EXPECT_TRUE(exists(names[1]) && exists(names[2]));
        EXPECT_FALSE(exists(dir / ("changes" + made)) || exists(dir / ("after" + made)));
        EXPECT_TRUE(withTemporaryNames(listFolder(dir.path())).empty());
        for (const std::string& name : listFolder(dir.path()))
            std::filesystem::remove(dir / name);
    }
}

// Another file given the source's name while it is read: the encrypted file holds what was read, complete,
// and the other file is not disposed of in its stead.
TEST_F(HostileFiles, ASourceWhoseNameIsTakenWhileItIsReadIsEncryptedAndKeptWithAWarning)
{
    for (const int setting : {1, 2}) {
        SCOPED_TRACE(setting);
        frontend.settings.sourceFiles = setting;
        frontend.messages.clear();
        // The whole file comes in with the first read, so the change misses what the run encrypts.
        const std::string source = makeFile("replaced", 20000);
        const Bytes read = readFile(source);
        inFirstPassOf(source, [&] {
            writeFile(source + ".new", randomBytes(rng, 20000));
            std::filesystem::rename(source + ".new", source);
        });
        EXPECT_EQ(encrypt({source}), kAllFilesDone) << message;
        EXPECT_EQ(referenceDecrypt("secret", readFile(source + ".TaZEN")), read);
        ASSERT_TRUE(exists(source)) << "the file that took the name would be lost";
        const std::string warning = setting == 1 ? "Source file " + source + " not deleted."
                                                 : "Source file " + source + " not thoroughly shredded.";
        EXPECT_EQ(frontend.messages, (std::vector<ShownMessage>{{MessageKind::Warning, warning}}));
        EXPECT_EQ(frontend.shred.shows, 0);
        std::filesystem::remove(source);
        std::filesystem::remove(source + ".TaZEN");
    }

    // Left alone, the same file is disposed of as usual.
    frontend.messages.clear();
    const std::string steady = makeFile("steady", 20000);
    inFirstPassOf(steady, [] {});
    EXPECT_EQ(encrypt({steady}), kAllFilesDone);
    EXPECT_FALSE(exists(steady));
    EXPECT_TRUE(frontend.messages.empty());
}

TEST_F(HostileFiles, ASourceReplacedByAFifoBeforeItsTurnIsNeverOpenedForData)
{
    const std::string first = makeFile("first", 100);
    const std::string second = makeFile("second", 100);
    const auto replaceByFifo = [&](const std::string& name) {
        frontend.onMessages = [&, name](int) {
            if (frontend.progress.lblFilename_.caption == name && !isFifo(name)) {
                std::filesystem::remove(name);
                ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
            }
        };
    };
    replaceByFifo(second);
    // Nobody ever writes into the FIFO: a run that opened it for data would wait here for ever.
    EXPECT_EQ(encrypt({first, second}), 1);
    EXPECT_EQ(message, openFailureText(second));
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first.TaZEN", "second"}));

    const std::string third = dir / "third.TaZEN";
    writeFile(third, referenceFile("secret", randomBytes(rng, 100)));
    replaceByFifo(third);
    EXPECT_EQ(decrypt({first + ".TaZEN", third}), 1);
    EXPECT_EQ(message, "Could not open source file: " + third);
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "second", "third.TaZEN"}));
}

TEST_F(HostileFiles, AnotherFileGivenTheSourcesNameAfterItsEncryptionIsLeftAlone)
{
    const std::string name = makeFile("source", 5000);
    const Bytes plain = readFile(name);
    const std::string other = makeFile("other", 3000);
    const Bytes otherContent = readFile(other);
    const auto swapWhen = [&](FileOperation when, const std::string& on, int nth) {
        platform::SetFaultHook([&, when, on, nth, seen = 0](FileOperation operation, const std::string& file) mutable {
            if (operation == when && file == on && ++seen == nth)
                std::filesystem::rename(other, name);
            return 0;
        });
    };

    // Once the encrypted file is in place, before the source is deleted.
    frontend.settings.sourceFiles = 1;
    swapWhen(FileOperation::Sync, dir.path(), 1);
    EXPECT_EQ(encrypt({name}), kAllFilesDone);
    EXPECT_EQ(readFile(name), otherContent);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, "Source file " + name + " not deleted."}}));

    // Between the shredding's look at the name and its opening of it.
    writeFile(name, plain);
    writeFile(other, otherContent);
    frontend.messages.clear();
    frontend.settings.sourceFiles = 2;
    swapWhen(FileOperation::Open, name, 3);
    EXPECT_EQ(encrypt({name}), kAllFilesDone);
    EXPECT_EQ(readFile(name), otherContent);
    EXPECT_EQ(frontend.messages,
              (std::vector<ShownMessage>{{MessageKind::AbortError, "Could not over-write the file: " + name},
                                         {MessageKind::Warning, "Source file " + name + " not thoroughly shredded."}}));
    EXPECT_EQ(referenceDecrypt("secret", readFile(name + ".TaZEN")), plain);
}

TEST_F(HostileFiles, ADestinationHardLinkedToItsSourceCostsNeitherItsContent)
{
    // Kept: the source's content survives the new encrypted file taking the linked name.
    frontend.settings.sourceFiles = 0;
    const std::string kept = makeFile("kept", 5000);
    const Bytes keptPlain = readFile(kept);
    ASSERT_EQ(::link(kept.c_str(), (kept + ".TaZEN").c_str()), 0);
    EXPECT_EQ(encrypt({kept}), kAllFilesDone) << message;
    EXPECT_EQ(readFile(kept), keptPlain);
    EXPECT_EQ(referenceDecrypt("secret", readFile(kept + ".TaZEN")), keptPlain);

    // Shredded: the passes must not reach the encrypted file through the link.
    frontend.settings.sourceFiles = 2;
    const std::string shredded = makeFile("shredded", 5000);
    const Bytes shreddedPlain = readFile(shredded);
    ASSERT_EQ(::link(shredded.c_str(), (shredded + ".TaZEN").c_str()), 0);
    EXPECT_EQ(encrypt({shredded}), kAllFilesDone) << message;
    EXPECT_FALSE(exists(shredded));
    EXPECT_EQ(referenceDecrypt("secret", readFile(shredded + ".TaZEN")), shreddedPlain);

    // Decrypted: the plain name linked to the encrypted file ends as the plain file.
    const Bytes plain = randomBytes(rng, 5000);
    const std::string encrypted = dir / "linked.TaZEN";
    writeFile(encrypted, referenceFile("secret", plain));
    ASSERT_EQ(::link(encrypted.c_str(), (dir / "linked").c_str()), 0);
    EXPECT_EQ(decrypt({encrypted}), kAllFilesDone) << message;
    EXPECT_EQ(readFile(dir / "linked"), plain);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"kept", "kept.TaZEN", "linked", "shredded.TaZEN"}));
}

// The link is the name the run was given, so it goes once the plain file is complete; the file it points to
// may be in a folder the user never named, so it is not deleted through the link, and keeping it loses
// nothing, since it holds only ciphertext. Nor is the plain file written through a link of its name.
TEST_F(HostileFiles, AnEncryptedFileReachedThroughALinkIsDecryptedBesideTheLinkAndItsTargetKept)
{
    TempDir archive;
    const Bytes plain = randomBytes(rng, 3000);
    const std::string target = archive / "real.TaZEN";
    writeFile(target, referenceFile("secret", plain));
    const Bytes ciphertext = readFile(target);
    writeFile(archive / "victim", std::string("someone else's"));
    const std::string link = dir / "link.TaZEN";
    std::filesystem::create_symlink(target, link);
    std::filesystem::create_symlink(archive / "victim", dir / "link");

    EXPECT_EQ(decrypt({link}), kAllFilesDone) << message;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"link"});
    EXPECT_FALSE(platform::IsSymbolicLink(dir / "link"));
    EXPECT_EQ(readFile(dir / "link"), plain);
    EXPECT_EQ(readFile(target), ciphertext);
    EXPECT_EQ(readText(archive / "victim"), "someone else's");
}

TEST_F(HostileFiles, AFolderThatCannotBeWrittenEndsTheRunNamingTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to a read-only folder";
    const LockedFolder locked = lockedFolder();
    ASSERT_EQ(::chmod(locked.folder.c_str(), 0555), 0);
    expectRefused(locked);
}

TEST_F(HostileFiles, AFolderTheSystemRefusesToWriteInEndsTheRunNamingTheFile)
{
    frontend.settings.sourceFiles = 0;
    const LockedFolder locked = lockedFolder();
    for (const int refusal : {EROFS, EACCES}) {
        SCOPED_TRACE(refusal);
        platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
            return operation == FileOperation::Create && platform::FolderOf(name) == locked.folder ? refusal : 0;
        });
        expectRefused(locked);
        std::filesystem::remove(locked.first + ".TaZEN");
    }
}

} // namespace
} // namespace tazen::test
