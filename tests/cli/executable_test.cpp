// Self-extracting executables opened without running them: each extractor's output, with a .TaZEN file attached,
// through tazen-cli and the engine's run, and what a wrong password or a failed proof leaves.
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

using Executable = ProgramTest;

TEST_F(Executable, EachExtractorsOutputOpensThroughTazenCliAndGoesOnlyOnceItsPlainFileIsProven)
{
    // The Windows extractor is built wherever the build has its cross compiler; the sanitizer builds leave it out.
    std::vector<std::string> extractors = {TAZEN_EXTRACTOR_PATH};
#ifdef TAZEN_WINDOWS_EXTRACTOR_PATH
    extractors.push_back(TAZEN_WINDOWS_EXTRACTOR_PATH);
#endif
    const std::string executable = dir / "notes.TaZEN.exe";
    for (const std::string& extractor : extractors) {
        SCOPED_TRACE(extractor);
        const Bytes plain = randomBytes(rng, 100003);
        writeFile(executable, referenceExecutable(readFile(extractor), "secret", plain));
        const Bytes before = readFile(executable);

        const Finished checked = runCli({"check", executable});
        EXPECT_EQ(checked.exitCode, 0) << checked.err;
        EXPECT_NE(checked.out.find("the password matches"), std::string::npos) << checked.out;
        const Finished wrong = runCli({"decrypt", executable}, "not the password");
        EXPECT_EQ(wrong.exitCode, 1);
        EXPECT_NE(wrong.err.find("Wrong password for the file: " + executable), std::string::npos) << wrong.err;

        // The engine's run, its plain file read back from the device one byte off.
        TBlowfish cipher;
        ScriptedFrontend frontend;
        platform::SetDataHook([&](platform::FileOperation operation, const std::string& file, std::uint8_t* data,
                                  std::int64_t size, std::int64_t offset) {
            if (operation == platform::FileOperation::Read && file.starts_with(dir / "notes.tmp-") && offset <= 500 &&
                500 < offset + size)
                data[500 - offset] ^= 0x01;
        });
        const RunOutcome unproven = DecryptFiles(cipher, {executable}, "secret", frontend);
        platform::SetDataHook(nullptr);
        EXPECT_EQ(MessageText(unproven), "Could not verify the decrypted file: " + dir / "notes");
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"notes.TaZEN.exe"});
        EXPECT_EQ(readFile(executable), before);

        const Finished decrypted = runCli({"decrypt", executable});
        EXPECT_EQ(decrypted.exitCode, 0) << decrypted.err;
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"notes"});
        EXPECT_EQ(readFile(dir / "notes"), plain);
        std::filesystem::remove(dir / "notes");
    }
}

} // namespace
} // namespace tazen::test
