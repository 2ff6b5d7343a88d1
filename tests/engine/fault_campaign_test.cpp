// Every file operation of a run made to fail, one at a time and, separately, from some point on: whatever
// fails, each file's content survives whole under its own name or in a complete encrypted file, nothing
// half-written or temporary is left, the cipher is wiped, and the run names the file, the reason and the
// right position.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

#include <unistd.h>

namespace tazen::test {
namespace {

using platform::FileOperation;

const char* operationName(FileOperation operation)
{
    switch (operation) {
    case FileOperation::Open:
        return "open";
    case FileOperation::Create:
        return "create";
    case FileOperation::Read:
        return "read";
    case FileOperation::Write:
        return "write";
    case FileOperation::Sync:
        return "flush";
    case FileOperation::Truncate:
        return "truncate";
    case FileOperation::Rename:
        return "rename";
    case FileOperation::Delete:
        return "delete";
    case FileOperation::OverwriteInPlace:
        return "in-place check";
    }
    return "?";
}

// Failures that the run reports with the system's reason; the others keep their described texts.
bool reportedWithReason(FileOperation operation)
{
    return operation == FileOperation::Read || operation == FileOperation::Write || operation == FileOperation::Sync ||
           operation == FileOperation::Truncate || operation == FileOperation::Rename;
}

enum class Scenario
{
    EncryptAndDelete,
    EncryptAndShred,
    EncryptSelfExtracting,
    Decrypt
};

enum class FaultMode
{
    Once,      // only the chosen operation fails
    FromThenOn // the chosen one and every one after it: a disk that has gone away
};

struct Fault
{
    std::size_t at = 0; // 1-based position among the run's requests; 0 for none
    FaultMode mode = FaultMode::Once;
};

// What one run did: the first and the last request that failed, and which file the run was at then.
struct Attempt
{
    int result = 0;
    std::string message;
    std::optional<FileOperation> failed;
    std::string failedName;
    std::size_t fileAtFirstFault = 0;
    FileOperation lastFailed = FileOperation::Open;
    std::size_t fileAtLastFault = 0;
    std::size_t requests = 0;
    ScriptedFrontend frontend;
    bool cipherLeftKeyed = false;
};

class FaultCampaign : public EngineTest
{
protected:
    FaultCampaign()
    {
        extractor = randomBytes(rng, 3000);
        writeFile(program / "extractor-windows.exe", extractor);
    }

    // Three files: one of two reads, an empty one, and one of exactly one piece. Shredding each costs 35
    // flushes, so that scenario keeps to small files.
    void prepare(Scenario scenario)
    {
        const bool large = scenario != Scenario::EncryptAndShred;
        plain = {randomBytes(rng, large ? 1100003 : 9001), Bytes{}, randomBytes(rng, 8192)};
        encrypted.clear();
        for (const Bytes& content : plain)
            encrypted.push_back(referenceFile("secret", content));
    }

    // Runs the scenario in a folder of its own, failing as the fault says.
    Attempt run(Scenario scenario, Fault fault, const std::string& folder)
    {
        std::filesystem::create_directory(folder);
        names.clear();
        for (std::size_t i = 0; i < plain.size(); ++i) {
            names.push_back(folder + "/" + kBaseNames[i]);
            if (scenario == Scenario::Decrypt)
                writeFile(names.back() + ".TaZEN", encrypted[i]);
            else
                writeFile(names.back(), plain[i]);
        }
        std::vector<std::string> listed = names;
        if (scenario == Scenario::Decrypt)
            for (std::string& name : listed)
                name += ".TaZEN";

        Attempt attempt;
        attempt.frontend.settings.sourceFilesOverride = scenario == Scenario::EncryptAndShred ? SourceFiles::Shred
                                                        : scenario == Scenario::Decrypt       ? SourceFiles::Leave
                                                                                              : SourceFiles::Delete;
        attempt.frontend.settings.selfExtractOverride = scenario == Scenario::EncryptSelfExtracting;
        std::size_t current = 0;
        platform::SetFaultHook([&](FileOperation operation, const std::string& name) -> platform::ErrorCode {
            ++attempt.requests;
            for (std::size_t i = 0; i < names.size(); ++i)
                if (name.rfind(names[i], 0) == 0)
                    current = i;
            const bool failing =
                fault.at != 0 &&
                (attempt.requests == fault.at || (fault.mode == FaultMode::FromThenOn && attempt.requests > fault.at));
            if (!failing)
                return 0;
            if (!attempt.failed) {
                attempt.failed = operation;
                attempt.failedName = name;
                attempt.fileAtFirstFault = current;
            }
            attempt.lastFailed = operation;
            attempt.fileAtLastFault = current;
            return EIO;
        });
        TBlowfish runCipher;
        attempt.message = "untouched";
        attempt.result = scenario == Scenario::Decrypt
                             ? DecryptFiles(runCipher, listed, "secret", attempt.message, attempt.frontend)
                             : EncryptFiles(runCipher, listed, "secret", attempt.message, attempt.frontend);
        platform::SetFaultHook(nullptr);
        attempt.cipherLeftKeyed = runCipher.Initialized();
        return attempt;
    }

    // The promises, checked on what one run left in its folder.
    void check(Scenario scenario, const Attempt& attempt, const std::string& folder)
    {
        EXPECT_FALSE(attempt.cipherLeftKeyed);
        const bool stopped = attempt.result != kAllFilesDone;
        // A run stopped in its pre-check has done nothing.
        const std::vector<std::string>& events = attempt.frontend.progress.events;
        const bool begun = std::any_of(events.begin(), events.end(),
                                       [](const std::string& event) { return event.rfind("StartProgress", 0) == 0; });
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i]);
            const std::string& name = names[i];
            const std::string encryptedName = name + ".TaZEN";
            const std::string executableName = encryptedName + ".exe";
            const std::optional<Bytes> source = contentOf(name);
            const std::optional<Bytes> encryptedFile = contentOf(encryptedName);
            const std::optional<Bytes> executable = contentOf(executableName);
            for (const auto& [present, entry] : {std::pair{source, name}, std::pair{encryptedFile, encryptedName},
                                                 std::pair{executable, executableName}})
                if (present)
                    expected.push_back(entry.substr(folder.size() + 1));

            // Whatever exists under a final name is complete.
            if (encryptedFile) {
                EXPECT_EQ(*encryptedFile, encrypted[i]) << "a partial encrypted file";
            }
            if (executable) {
                Bytes whole = extractor;
                whole.insert(whole.end(), encrypted[i].begin(), encrypted[i].end());
                EXPECT_EQ(*executable, whole) << "a partial executable";
            }
            const bool keptEncrypted = encryptedFile || executable;
            // The content survives somewhere.
            EXPECT_TRUE((source && *source == plain[i]) || keptEncrypted) << "the file's content is lost";
            // A source is changed only by the shredding it was given to, after it was safely encrypted.
            if (source && *source != plain[i]) {
                EXPECT_EQ(scenario, Scenario::EncryptAndShred) << "the source was changed";
                EXPECT_TRUE(keptEncrypted);
                EXPECT_TRUE(shown(attempt, "Source file " + name + " not"));
            }
            if (scenario == Scenario::Decrypt) {
                EXPECT_FALSE(executable);
                // Files after the one the run stopped at are untouched.
                if (stopped && i > static_cast<std::size_t>(attempt.result)) {
                    EXPECT_TRUE(!source && encryptedFile);
                }
                continue;
            }
            if (scenario != Scenario::EncryptSelfExtracting) {
                EXPECT_FALSE(executable);
            }
            // Both kept only when the executable's build reported a failure, or it could not be proven and
            // then not removed.
            if (encryptedFile && executable) {
                EXPECT_TRUE(shown(attempt, "An error occured while creating " + name + " executable.") ||
                            attempt.message.rfind("Could not verify the encrypted file: " + executableName, 0) == 0);
            }
            if (!stopped || (begun && i < static_cast<std::size_t>(attempt.result))) {
                EXPECT_TRUE(keptEncrypted) << "a file the run passed was not encrypted";
            }
            if (stopped && i > static_cast<std::size_t>(attempt.result)) {
                EXPECT_TRUE(source && !keptEncrypted);
            }
        }
        std::sort(expected.begin(), expected.end());
        // Nothing else: no temporary file, no stray output.
        EXPECT_EQ(listFolder(folder), expected);

        if (!attempt.failed) {
            EXPECT_EQ(attempt.result, kAllFilesDone);
            EXPECT_TRUE(attempt.frontend.messages.empty());
            return;
        }
        // A failure is never passed over in silence: a step after a file's encryption that fails lets the run
        // go on but says so for that file; any other failure stops the run there.
        const std::string& firstFaultFile = names[attempt.fileAtFirstFault];
        if (!stopped || attempt.fileAtFirstFault != attempt.fileAtLastFault) {
            EXPECT_NE(scenario, Scenario::Decrypt);
            EXPECT_TRUE(shown(attempt, firstFaultFile)) << "a failure reported as success";
        }
        if (stopped) {
            const std::string& stopFile = names[attempt.fileAtLastFault];
            EXPECT_EQ(static_cast<std::size_t>(attempt.result), attempt.fileAtLastFault) << "the wrong position";
            EXPECT_NE(attempt.message.find(stopFile), std::string::npos) << attempt.message;
            if (reportedWithReason(attempt.lastFailed)) {
                EXPECT_NE(attempt.message.find(platform::ErrorText(EIO)), std::string::npos) << attempt.message;
            }
            EXPECT_EQ(attempt.frontend.progress.events.back(), "HideProgress");
        }
    }

    static bool shown(const Attempt& attempt, const std::string& text)
    {
        for (const ShownMessage& message : attempt.frontend.messages)
            if (message.text.find(text) != std::string::npos)
                return true;
        return false;
    }

    static std::optional<Bytes> contentOf(const std::string& name)
    {
        if (!exists(name))
            return std::nullopt;
        return readFile(name);
    }

    // Fails every request of the scenario's run in turn, in both modes; returns how many runs were made.
    std::size_t campaign(Scenario scenario)
    {
        prepare(scenario);
        const std::string clean = work / "clean";
        const Attempt reference = run(scenario, {}, clean);
        check(scenario, reference, clean);
        EXPECT_GT(reference.requests, 10u);
        std::filesystem::remove_all(clean);

        std::size_t runs = 0;
        for (const FaultMode mode : {FaultMode::Once, FaultMode::FromThenOn}) {
            for (std::size_t at = 1; at <= reference.requests; ++at) {
                const std::string folder = work / ("fault" + std::to_string(at));
                const Attempt attempt = run(scenario, {at, mode}, folder);
                SCOPED_TRACE(std::string(mode == FaultMode::Once ? "only " : "from ") + "request " +
                             std::to_string(at) + ": " + (attempt.failed ? operationName(*attempt.failed) : "none") +
                             " " + attempt.failedName);
                EXPECT_TRUE(attempt.failed);
                check(scenario, attempt, folder);
                std::filesystem::remove_all(folder);
                ++runs;
                if (HasFailure())
                    return runs;
            }
        }
        std::printf("[ campaign ] %zu requests in a clean run, %zu runs with faults\n", reference.requests, runs);
        return runs;
    }

    static std::filesystem::path memoryBacked()
    {
        std::error_code error;
        return std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                   ? "/dev/shm"
                   : std::filesystem::temp_directory_path();
    }

    static constexpr const char* kBaseNames[] = {"alpha.txt", "beta", "gamma.bin"};
    // Thousands of runs, each flushing what it writes: on a memory file system the flushes cost nothing.
    TempDir work{memoryBacked()};
    Bytes extractor;
    std::vector<Bytes> plain;
    std::vector<Bytes> encrypted;
    std::vector<std::string> names;
};

TEST_F(FaultCampaign, EncryptingWithDeletionLosesNothingWhereverItFails)
{
    EXPECT_GT(campaign(Scenario::EncryptAndDelete), 0u);
}

TEST_F(FaultCampaign, EncryptingWithShreddingLosesNothingWhereverItFails)
{
    EXPECT_GT(campaign(Scenario::EncryptAndShred), 0u);
}

TEST_F(FaultCampaign, MakingExecutablesLosesNothingWhereverItFails)
{
    EXPECT_GT(campaign(Scenario::EncryptSelfExtracting), 0u);
}

TEST_F(FaultCampaign, DecryptingLosesNothingWhereverItFails)
{
    EXPECT_GT(campaign(Scenario::Decrypt), 0u);
}

} // namespace
} // namespace tazen::test
