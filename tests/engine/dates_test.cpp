// What a round trip keeps of a file's dates, which the format does not store, and where the new files go when
// the program names a folder, in one run and in several files at a time, with and without an executable.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelrun.h"

#include "engine/engine_fixture.h"

#include <filesystem>

namespace tazen::test {
namespace {

using NewFiles = EngineTest;

TEST_F(NewFiles, KeepTheirSourcesDatesAndGoWhereTheProgramSays)
{
    writeFile(program / "extractor-windows.exe", randomBytes(rng, 1000));
    const auto run = [&](Direction direction, const std::vector<std::string>& files, bool parallel) {
        Secret password;
        password.value = "secret";
        std::vector<bool> done;
        return parallel ? RunInParallel(direction, cipher, files, password, frontend, 2, done)
                        : RunFiles(direction, cipher, files, RunKey(cipher, password.value), frontend);
    };
    struct Case
    {
        bool parallel, executable, elsewhere, keep;
    };
    const Case cases[] = {
        {false, false, false, false}, {false, true, true, true}, {true, false, true, false}, {true, true, false, true}};
    const mode_t mask = ::umask(027);
    for (const Case& c : cases) {
        const std::string part = std::to_string(&c - cases), folder = dir / part;
        std::filesystem::create_directory(folder);
        SCOPED_TRACE(folder);
        // Missing below the folder the program names, and made with 0777 less the umask.
        const std::string sealed = c.elsewhere ? folder + "/out/sub" : folder;
        const std::string opened = c.elsewhere ? folder + "/back/" : folder;
        const std::string suffix = c.executable ? ".TaZEN.exe" : ".TaZEN";
        frontend.settings.selfExtract = c.executable;
        frontend.settings.keep = c.keep;
        const std::vector<std::string> plain = {makeFile(part + "/a", 9000), makeFile(part + "/b", 9000)};
        const std::vector<std::string> encrypted = {sealed + "/a" + suffix, sealed + "/b" + suffix};
        const Bytes content = readFile(plain[1]); // before the dates are set: a read would move one
        for (const std::string& name : plain)
            ASSERT_TRUE(SetDates(name, {kSecondDate, kFirstDate}));
        frontend.settings.destination = [&](const std::string&) { return c.elsewhere ? sealed : std::string(); };
        ASSERT_TRUE(run(Direction::Encrypt, plain, c.parallel).Completed());
        EXPECT_EQ(listFolder(sealed), (std::vector<std::string>{"a" + suffix, "b" + suffix}));
        for (const std::string& name : encrypted) {
            EXPECT_EQ(DatesOf(name), (Dates{kSecondDate, kFirstDate}));
            ASSERT_TRUE(SetDates(name, {kFirstDate, kSecondDate})); // as a copy from elsewhere may have them
        }
        EXPECT_EQ(modeOf(folder + "/out"), c.elsewhere ? 0750u : 0u);
        frontend.settings.destination = [&](const std::string&) { return c.elsewhere ? opened : std::string(); };
        ASSERT_TRUE(run(Direction::Decrypt, encrypted, c.parallel).Completed());
        EXPECT_EQ(DatesOf(opened + "/b"), (Dates{kFirstDate, kSecondDate}));
        EXPECT_EQ(readFile(opened + "/b"), content);
        EXPECT_EQ(std::filesystem::exists(encrypted[0]), c.keep);
    }
    ::umask(mask);
}

} // namespace
} // namespace tazen::test
