// Self-extracting executables opened without running them: each extractor's output, with a .TaZEN file attached,
// decrypted and checked by tazen-cli and by the engine's run, and what a wrong password or a failed proof leaves.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "cli/program_fixture.h"
#include "common/reference_format.h"
#include "engine/crypto.h"
#include "engine/messages.h"
#include "engine/scripted_frontend.h"
#include "platform/faults.h"

namespace tazen::test {
namespace {

// Every extractor the build made: the Windows one is built beside the Linux one where its cross compiler is.
std::vector<std::string> extractors()
{
    std::vector<std::string> found = {TAZEN_EXTRACTOR_PATH};
    const std::filesystem::path windows =
        std::filesystem::path(TAZEN_EXTRACTOR_PATH).parent_path() / "extractor-windows.exe";
    if (std::filesystem::exists(windows))
        found.push_back(windows);
    return found;
}

class Executable : public ProgramTest
{
protected:
    ~Executable() override { platform::SetDataHook(nullptr); }

    // An extractor's bytes and then a file made by the independent reference, as the extractor's own build
    // (or the Windows program's) leaves them.
    std::string makeExecutable(const std::string& extractor, const std::string& name, const Bytes& plain)
    {
        Bytes bytes = readFile(extractor);
        const Bytes attached = referenceFile("secret", plain);
        bytes.insert(bytes.end(), attached.begin(), attached.end());
        writeFile(dir / name, bytes);
        return dir / name;
    }
};

TEST_F(Executable, EachExtractorsOutputOpensThroughTazenCli)
{
    for (const std::string& extractor : extractors()) {
        SCOPED_TRACE(extractor);
        const Bytes plain = randomBytes(rng, 70001);
        const std::string executable = makeExecutable(extractor, "report.doc.TaZEN.exe", plain);
        const Bytes before = readFile(executable);

        const Finished checked = runCli({"check", executable});
        EXPECT_EQ(checked.exitCode, 0) << checked.err;
        EXPECT_NE(checked.out.find("the password matches"), std::string::npos) << checked.out;

        const Finished wrong = runCli({"decrypt", executable}, "not the password");
        EXPECT_EQ(wrong.exitCode, 1);
        EXPECT_NE(wrong.err.find("Wrong password for the file: " + executable), std::string::npos) << wrong.err;
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN.exe"});
        EXPECT_EQ(readFile(executable), before);

        const Finished decrypted = runCli({"decrypt", executable});
        EXPECT_EQ(decrypted.exitCode, 0) << decrypted.err;
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc"});
        EXPECT_EQ(readFile(dir / "report.doc"), plain);
        std::filesystem::remove(dir / "report.doc");
    }
}

TEST_F(Executable, EachExtractorsOutputGoesInTheEngineRunOnlyOnceItsPlainFileIsProven)
{
    for (const std::string& extractor : extractors()) {
        SCOPED_TRACE(extractor);
        const Bytes plain = randomBytes(rng, 100003);
        const std::string executable = makeExecutable(extractor, "notes.TaZEN.exe", plain);
        const Bytes before = readFile(executable);
        TBlowfish cipher;
        ScriptedFrontend frontend;
        // The plain file read back from the device differs from what was written in one byte.
        platform::SetDataHook([&](platform::FileOperation operation, const std::string& file, std::uint8_t* data,
                                  std::int64_t size, std::int64_t offset) {
            if (operation == platform::FileOperation::Read && file.starts_with(dir / "notes.tmp-") && offset <= 500 &&
                500 < offset + size)
                data[500 - offset] ^= 0x01;
        });
        const RunOutcome unproven = DecryptFiles(cipher, {executable}, "secret", frontend);
        platform::SetDataHook(nullptr);
        EXPECT_EQ(unproven.failure, Failure::Verify);
        EXPECT_EQ(MessageText(unproven), kDecryptedVerifyFailure + dir / "notes");
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"notes.TaZEN.exe"});
        EXPECT_EQ(readFile(executable), before);

        const RunOutcome proven = DecryptFiles(cipher, {executable}, "secret", frontend);
        EXPECT_TRUE(proven.Completed()) << MessageText(proven);
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"notes"});
        EXPECT_EQ(readFile(dir / "notes"), plain);
        std::filesystem::remove(dir / "notes");
    }
}

} // namespace
} // namespace tazen::test
