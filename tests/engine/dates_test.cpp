// What a round trip keeps of a file's dates, though the format stores none, in one run and in several files at
// a time, with and without an executable; and where new files go when the program names a folder for them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelrun.h"

#include "common/dates.h"
#include "engine/engine_fixture.h"

#include <algorithm>
#include <filesystem>

namespace tazen::test {
namespace {

class NewFiles : public EngineTest
{
protected:
    NewFiles() { writeFile(program / "extractor-windows.exe", randomBytes(rng, 1000)); }

    RunOutcome run(Direction direction, const std::vector<std::string>& files, bool parallel)
    {
        if (!parallel)
            return direction == Direction::Encrypt ? EncryptFiles(cipher, files, "secret", frontend)
                                                   : DecryptFiles(cipher, files, "secret", frontend);
        Secret password;
        password.value = "secret";
        std::vector<bool> done;
        return RunInParallel(direction, cipher, files, password, frontend, 2, done);
    }
};

TEST_F(NewFiles, AnEncryptedFileKeepsItsSourcesDatesAndADecryptedFileItsEncryptedFiles)
{
    struct Case
    {
        bool parallel;
        bool executable;
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "parallel " << c.parallel << ", executable " << c.executable);
        frontend.settings.selfExtract = c.executable;
        const std::string suffix = c.executable ? ".TaZEN.exe" : ".TaZEN";
        std::vector<std::string> plain, encrypted;
        std::vector<Bytes> contents;
        for (const char* name : {"notes.txt", "photo.jpg"}) {
            plain.push_back(makeFile(name, 20000));
            contents.push_back(readFile(plain.back()));
            encrypted.push_back(plain.back() + suffix);
            ASSERT_TRUE(SetDates(plain.back(), {kSecondDate, kFirstDate}));
        }
        const RunOutcome encryption = run(Direction::Encrypt, plain, c.parallel);
        ASSERT_TRUE(encryption.Completed()) << MessageText(encryption);
        for (const std::string& name : encrypted) {
            EXPECT_EQ(DatesOf(name), (Dates{kSecondDate, kFirstDate})) << name;
            // As a copy on another system may have them: the plain file is to come back with these.
            ASSERT_TRUE(SetDates(name, {kFirstDate, kSecondDate}));
        }
        ASSERT_TRUE(run(Direction::Decrypt, encrypted, c.parallel).Completed());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(DatesOf(plain[i]), (Dates{kFirstDate, kSecondDate})) << plain[i];
            EXPECT_EQ(readFile(plain[i]), contents[i]);
        }
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"notes.txt", "photo.jpg"}));
    }
}

TEST_F(NewFiles, NewFilesGoIntoTheNamedFolderMadeWhereMissingAndDecryptionMayKeepItsFiles)
{
    struct Case
    {
        bool parallel;
        bool executable;
        bool keep;
    };
    const Case cases[] = {{false, false, false}, {false, true, true}, {true, false, true}, {true, true, false}};
    const mode_t mask = ::umask(027);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        frontend.settings.selfExtract = c.executable;
        frontend.settings.sourceFiles = 1;
        const std::string case_ = std::to_string(i);
        const std::string folder = dir / case_;
        std::filesystem::create_directories(folder + "/out");
        const std::string sealed = folder + "/out/sub/deeper";
        const std::string opened = folder + "/back";
        std::vector<std::string> plain;
        std::vector<Bytes> contents;
        for (const char* name : {"a", "b", "c"}) {
            plain.push_back(makeFile(case_ + "/" + name, 9000));
            contents.push_back(readFile(plain.back()));
        }
        frontend.settings.destination = [&](const std::string& source) {
            EXPECT_EQ(std::count(plain.begin(), plain.end(), source), 1) << source;
            return sealed;
        };
        ASSERT_TRUE(run(Direction::Encrypt, plain, c.parallel).Completed());
        const std::string suffix = c.executable ? ".TaZEN.exe" : ".TaZEN";
        EXPECT_EQ(listFolder(sealed), (std::vector<std::string>{"a" + suffix, "b" + suffix, "c" + suffix}));
        EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"out"}));
        EXPECT_EQ(modeOf(folder + "/out/sub"), 0750u);
        EXPECT_EQ(modeOf(sealed), 0750u);

        std::vector<std::string> encrypted;
        for (const char* name : {"a", "b", "c"})
            encrypted.push_back(sealed + "/" + name + suffix);
        frontend.settings.destination = [&](const std::string&) { return opened + "/"; };
        frontend.settings.keep = c.keep;
        ASSERT_TRUE(run(Direction::Decrypt, encrypted, c.parallel).Completed());
        EXPECT_EQ(listFolder(opened), (std::vector<std::string>{"a", "b", "c"}));
        for (std::size_t f = 0; f < plain.size(); ++f)
            EXPECT_EQ(readFile(opened + "/" + "abc"[f]), contents[f]);
        EXPECT_EQ(listFolder(sealed).size(), c.keep ? 3u : 0u);
    }
    ::umask(mask);
}

} // namespace
} // namespace tazen::test
