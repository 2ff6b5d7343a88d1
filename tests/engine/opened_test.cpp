// An encrypted file opened in place: its copy saved back only when changed and only once proven, and what a
// crash leaves behind found and handled.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/opened.h"

#include "platform/opencopies.h"

#include "engine/engine_fixture.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace tazen::test {
namespace {

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

class OpenedTest : public EngineTest
{
protected:
    OpenedTest()
    {
        original = randomBytes(rng, 50000);
        writeFile(dir / "notes.txt", original);
        EXPECT_EQ(encrypt({dir / "notes.txt"}), kAllFilesDone);
        std::filesystem::remove(dir / "notes.txt");
        ::chmod(encrypted.c_str(), 0640);
    }

    OpenOutcome open(OpenedFile& file, const std::string& password = "secret", bool allowDisk = true)
    {
        Secret typed;
        typed.value = password;
        return file.Open(typed, frontend, allowDisk, runtime.path());
    }

    // What the encrypted file decrypts to, found without touching it.
    Bytes plainOf(const std::string& name)
    {
        TempDir elsewhere;
        std::filesystem::copy_file(name, elsewhere / "copy.TaZEN");
        EXPECT_EQ(DecryptFiles(cipher, {elsewhere / "copy.TaZEN"}, "secret", message, frontend), kAllFilesDone)
            << message;
        return readFile(elsewhere / "copy");
    }

    std::string place() const { return runtime / kOpenCopiesFolder; }
    OpenPlace openPlace() const
    {
        OpenPlace where;
        where.folder = place();
        return where;
    }

    TempDir runtime;
    const std::string encrypted = dir / "notes.txt.TaZEN";
    Bytes original;
};

TEST_F(OpenedTest, ACopyIsPrivateAndAChangeIsSavedBackOnlyWhenTheBytesDiffer)
{
    OpenedFile file(encrypted);
    const OpenOutcome outcome = open(file);
    ASSERT_TRUE(outcome.Opened()) << OpenFailureText(encrypted, outcome);
    EXPECT_EQ(file.CopyPath(), file.Folder() + "/notes.txt");
    EXPECT_EQ(readFile(file.CopyPath()), original);
    EXPECT_EQ(modeOf(file.CopyPath()), 0600U);
    EXPECT_EQ(modeOf(file.Folder()), 0700U);
    const Bytes before = readFile(encrypted);
    const auto stamp = std::filesystem::last_write_time(encrypted);

    // Written again with the same bytes, as an editor's save without a change does.
    writeFile(file.CopyPath(), original);
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Unchanged);
    EXPECT_EQ(readFile(encrypted), before);
    EXPECT_EQ(std::filesystem::last_write_time(encrypted), stamp);
    EXPECT_EQ(file.Status().state, CopyState::Unchanged);

    int told = 0;
    file.statusChanged = [&told](const OpenedFile&) { ++told; };
    writeFile(file.CopyPath(), std::string("changed"));
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Saved);
    EXPECT_EQ(file.Status().state, CopyState::Saved);
    EXPECT_TRUE(file.Status().savedAt.has_value());
    EXPECT_EQ(told, 1);
    EXPECT_EQ(modeOf(encrypted), 0640U);
    EXPECT_EQ(plainOf(encrypted), bytesOf("changed"));
    EXPECT_TRUE(withTemporaryNames(listFolder(dir.path())).empty());
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Unchanged);
}

TEST_F(OpenedTest, ACopyRenamedOverTheOldOneIsSeenByTheWatchAndDoneRemovesEverything)
{
    OpenedFile file(encrypted);
    ASSERT_TRUE(open(file).Opened());
    std::vector<LeftBehindCopy> found;
    ASSERT_EQ(FindLeftBehind(openPlace(), found), 0);
    EXPECT_TRUE(found.empty()) << "a copy still open is not left behind";

    writeFile(file.Folder() + "/.notes.txt.swp", std::string("editor's own"));
    writeFile(file.Folder() + "/notes.txt~new", std::string("saved by rename"));
    std::filesystem::rename(file.Folder() + "/notes.txt~new", file.CopyPath());
    std::vector<bool> ready;
    ASSERT_EQ(platform::WaitReadable({file.WatchHandle()}, ready, std::chrono::seconds(30)), 0);
    ASSERT_TRUE(ready[0]);
    EXPECT_EQ(file.HandleWatchEvents(frontend), SaveResult::Saved);
    EXPECT_EQ(plainOf(encrypted), bytesOf("saved by rename"));

    writeFile(file.CopyPath(), std::string("last change"));
    const std::string folder = file.Folder();
    EXPECT_EQ(file.Close(frontend), SaveResult::Saved);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(exists(folder));
    EXPECT_TRUE(listFolder(place()).empty());
    EXPECT_EQ(plainOf(encrypted), bytesOf("last change"));
}

// An executable is saved back through the .TaZEN of its name, which may be another file of the user's.
TEST_F(OpenedTest, AnExecutableSavedBackNeverTakesAnotherEncryptedFileOfItsName)
{
    writeFile(program / "extractor-windows.exe", std::string("MZ, a stand-in extractor"));
    frontend.settings.selfExtract = true;
    writeFile(dir / "notes.txt", original);
    ASSERT_EQ(encrypt({dir / "notes.txt"}), kAllFilesDone);
    frontend.settings.selfExtract = false;
    const std::string executable = encrypted + ".exe";
    ASSERT_TRUE(exists(executable));
    writeFile(encrypted, std::string("another file of the same name"));
    const Bytes built = readFile(executable);

    OpenedFile file(executable);
    ASSERT_TRUE(open(file).Opened());
    writeFile(file.CopyPath(), std::string("changed"));
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Failed);
    EXPECT_NE(file.Status().reason.find(encrypted + " beside it"), std::string::npos) << file.Status().reason;
    EXPECT_EQ(readFile(encrypted), bytesOf("another file of the same name"));
    EXPECT_EQ(readFile(executable), built);

    std::filesystem::rename(encrypted, dir / "moved.TaZEN");
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Saved);
    EXPECT_NE(readFile(executable), built);
    EXPECT_FALSE(exists(encrypted));
    EXPECT_EQ(file.Close(frontend), SaveResult::Unchanged);
}

TEST_F(OpenedTest, AFailedSaveKeepsTheOldFileAndTheCopyWhichIsThenFoundLeftBehind)
{
    OpenedFile file(encrypted);
    ASSERT_TRUE(open(file).Opened());
    const Bytes before = readFile(encrypted);
    platform::SetFaultHook([](platform::FileOperation operation, const std::string& name) -> ErrorCode {
        return operation == platform::FileOperation::Write && name.find(".TaZEN.tmp-") != std::string::npos ? ENOSPC
                                                                                                            : 0;
    });
    writeFile(file.CopyPath(), std::string("new words"));
    EXPECT_EQ(file.SaveIfChanged(frontend), SaveResult::Failed);
    EXPECT_EQ(file.Status().state, CopyState::SavingFailed);
    EXPECT_NE(file.Status().reason.find("No space left on device"), std::string::npos) << file.Status().reason;
    EXPECT_EQ(readFile(encrypted), before);
    EXPECT_TRUE(withTemporaryNames(listFolder(dir.path())).empty());

    const std::string copy = file.CopyPath();
    EXPECT_EQ(file.Close(frontend), SaveResult::Failed);
    EXPECT_EQ(readText(copy), "new words");
    platform::SetFaultHook(nullptr);

    std::vector<LeftBehindCopy> found;
    ASSERT_EQ(FindLeftBehind(openPlace(), found), 0);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].encryptedFile, encrypted);
    EXPECT_EQ(found[0].copy, copy);

    Secret wrong;
    wrong.value = "not it";
    std::string why;
    EXPECT_EQ(SaveLeftBehind(found[0], wrong, frontend, why), SaveResult::Failed);
    EXPECT_EQ(why, "Wrong password for the file: " + encrypted);
    EXPECT_EQ(readFile(encrypted), before);

    Secret right;
    right.value = "secret";
    EXPECT_EQ(SaveLeftBehind(found[0], right, frontend, why), SaveResult::Saved) << why;
    EXPECT_TRUE(right.value.empty());
    EXPECT_FALSE(exists(found[0].folder));
    EXPECT_EQ(plainOf(encrypted), bytesOf("new words"));
}

TEST_F(OpenedTest, ASavedFileKeepsTheGroupOfTheOldOne)
{
    // A group the test may give: any as root, else a second one of the user's.
    std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    std::erase(groups, ::getegid());
    const gid_t other = ::geteuid() == 0 ? 4242 : groups.empty() ? ::getegid() : groups.front();
    if (other == ::getegid())
        GTEST_SKIP() << "no group other than the user's own to give";
    ASSERT_EQ(::chown(encrypted.c_str(), static_cast<uid_t>(-1), other), 0);
    OpenedFile file(encrypted);
    ASSERT_TRUE(open(file).Opened());
    writeFile(file.CopyPath(), std::string("changed"));
    ASSERT_EQ(file.SaveIfChanged(frontend), SaveResult::Saved);
    struct stat saved
    {
    };
    ASSERT_EQ(::stat(encrypted.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_gid, other);
    EXPECT_EQ(saved.st_mode & 07777U, 0640U);
}

TEST_F(OpenedTest, ANameTheCopyCannotHaveIsRefusedNamingTheFile)
{
    for (const char* name : {".tazen-open-record.TaZEN", ".TaZEN"}) {
        std::filesystem::copy_file(encrypted, dir / name);
        OpenedFile file(dir / name);
        const OpenOutcome outcome = open(file);
        EXPECT_EQ(outcome.failure, OpenFailure::Name) << name;
        EXPECT_EQ(OpenFailureText(dir / name, outcome).rfind(dir / name + " cannot be opened in place: ", 0), 0U)
            << OpenFailureText(dir / name, outcome);
        EXPECT_TRUE(listFolder(place()).empty()) << name;
    }
}

TEST_F(OpenedTest, APlaceOnADiskIsRefusedUnlessAllowedAndAWrongPasswordLeavesNothing)
{
    bool inMemory = false;
    std::string type;
    ASSERT_EQ(platform::IsInMemory(runtime.path(), inMemory, type), 0);
    if (inMemory)
        GTEST_SKIP() << runtime.path() << " is in memory on this machine";
    OpenedFile file(encrypted);
    const OpenOutcome refused = open(file, "secret", false);
    EXPECT_EQ(refused.failure, OpenFailure::NotInMemory);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(listFolder(place()).empty());
    EXPECT_NE(OpenFailureText(encrypted, refused).find(place() + " is on a disk (" + type + ")"), std::string::npos);

    const OpenOutcome wrong = open(file, "not it");
    EXPECT_EQ(wrong.failure, OpenFailure::Run);
    EXPECT_EQ(OpenFailureText(encrypted, wrong), "Wrong password for the file: " + encrypted);
    EXPECT_TRUE(listFolder(place()).empty());
}

} // namespace
} // namespace tazen::test
