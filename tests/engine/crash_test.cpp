// A run killed outright (SIGKILL, nothing gets to clean up) at twenty moments spread over encrypting with
// deletion and decrypting back: every file survives whole, as itself or as its encrypted file, and the one
// thing that may be left over is a temporary file that says what it is by its name.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bounded_wait.h"
#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <stdexcept>

namespace tazen::test {
namespace {

class Crash : public EngineTest
{
protected:
    // Encrypts the three files deleting each source, then decrypts them back. When killAt is set, the
    // process kills itself on that request to the file layer, before the request is carried out.
    static void runBothWays(const std::vector<std::string>& names, std::size_t killAt, std::size_t& requests)
    {
        platform::SetFaultHook([&](platform::FileOperation, const std::string&) {
            if (++requests == killAt)
                ::kill(::getpid(), SIGKILL);
            return 0;
        });
        ScriptedFrontend frontend;
        frontend.settings.sourceFilesOverride = SourceFiles::Delete;
        TBlowfish cipher;
        std::string message;
        std::vector<std::string> encrypted;
        for (const std::string& name : names)
            encrypted.push_back(name + ".TaZEN");
        const bool done = EncryptFiles(cipher, names, "secret", message, frontend) == kAllFilesDone &&
                          DecryptFiles(cipher, encrypted, "secret", message, frontend) == kAllFilesDone;
        platform::SetFaultHook(nullptr);
        if (!done)
            throw std::runtime_error("the run failed: " + message);
    }

    std::vector<std::string> makeFiles(const std::string& folder)
    {
        std::filesystem::create_directory(folder);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            names.push_back(folder + "/" + kBaseNames[i]);
            writeFile(names.back(), plain[i]);
        }
        return names;
    }

    static std::size_t failures()
    {
        return static_cast<std::size_t>(
            ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count());
    }

    static constexpr const char* kBaseNames[] = {"photos.tar", "thesis.odt", "notes"};
    // Several reads and writes each, and a tail that is no whole block.
    std::vector<Bytes> plain{randomBytes(rng, 4 << 20), randomBytes(rng, (3 << 20) + 5), randomBytes(rng, 700001)};
};

TEST_F(Crash, KilledAtTwentyMomentsLeavesEveryFileWholeAndAtMostATemporaryFile)
{
    std::size_t total = 0;
    const std::vector<std::string> clean = makeFiles(dir / "clean");
    runBothWays(clean, 0, total);
    for (std::size_t i = 0; i < clean.size(); ++i)
        ASSERT_EQ(readFile(clean[i]), plain[i]);
    ASSERT_GT(total, 40u);

    const std::regex temporary(R"((.+)\.tmp-[A-Za-z0-9]{6})");
    constexpr std::size_t kMoments = 20;
    std::size_t cleanMoments = 0;
    std::size_t leftovers = 0;
    for (std::size_t moment = 0; moment < kMoments; ++moment) {
        // From the first request to the last, evenly.
        const std::size_t killAt = 1 + moment * (total - 1) / (kMoments - 1);
        SCOPED_TRACE("killed at request " + std::to_string(killAt) + " of " + std::to_string(total));
        const std::string folder = dir / ("moment" + std::to_string(moment));
        const std::vector<std::string> names = makeFiles(folder);
        const mode_t sourceMode = modeOf(names[0]);

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::size_t requests = 0;
            try {
                runBothWays(names, killAt, requests);
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        const int status = test::ReapChild(child, "the run to be killed");
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child was not killed: " << status;

        const std::size_t failuresBefore = failures();
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i]);
            const std::string encryptedName = names[i] + ".TaZEN";
            const bool plainThere = exists(names[i]);
            const bool encryptedThere = exists(encryptedName);
            EXPECT_TRUE(plainThere || encryptedThere) << "the file is lost";
            if (plainThere) {
                EXPECT_EQ(readFile(names[i]), plain[i]);
                expected.push_back(kBaseNames[i]);
            }
            if (encryptedThere) {
                EXPECT_EQ(readFile(encryptedName), referenceFile("secret", plain[i]));
                expected.push_back(std::string(kBaseNames[i]) + ".TaZEN");
            }
        }
        std::vector<std::string> found;
        for (const std::string& name : listFolder(folder)) {
            std::smatch match;
            if (!std::regex_match(name, match, temporary)) {
                found.push_back(name);
                continue;
            }
            // A leftover carries the name of the file it was going to become.
            ++leftovers;
            const std::string becoming = match[1];
            EXPECT_TRUE(std::any_of(std::begin(kBaseNames), std::end(kBaseNames), [&](const std::string& base) {
                return becoming == base || becoming == base + ".TaZEN";
            })) << name;
            // Owner-only until its last moments, when it takes the permissions of the file it was made from.
            const mode_t mode = modeOf(folder + "/" + name);
            EXPECT_TRUE(mode == 0600u || mode == sourceMode) << "a leftover with mode " << std::oct << mode;
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        EXPECT_LE(listFolder(folder).size(), expected.size() + 1) << "more than one leftover";
        std::filesystem::remove_all(folder);
        if (failures() == failuresBefore)
            ++cleanMoments;
    }
    std::printf("[ crash ] %zu of %zu moments clean over %zu requests; %zu temporary files left in all\n", cleanMoments,
                kMoments, total, leftovers);
    EXPECT_EQ(cleanMoments, kMoments);
}

} // namespace
} // namespace tazen::test
